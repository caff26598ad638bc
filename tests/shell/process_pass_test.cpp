#include "shell/process_window.h"

#include "platform/data/bind.h"
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/layout.h"
#include "platform/ui/testing/gtest_driver.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/data_dictionary_prefixes.h"

#include "scripted_messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using fw::testing::Driver;
using fw::testing::GTestFailures;

TEST(ProgressPercent, IsCutAtOneHundredShownInThreePlacesAndSafeForAnEstimateOfZero) {
    struct Case {
        long read, estimate;
        int percent;
        const char* text;
    };
    const std::vector<Case> cases = {{1, 20, 5, "  5% Completed"},  {5, 20, 25, " 25% Completed"},
                                     {20, 20, 100, "100% Completed"}, {50, 20, 100, "100% Completed"},
                                     {7, 0, 0, "  0% Completed"},     {2, 3, 66, " 66% Completed"}};
    for (const auto& c : cases) {
        const int p = shell::ProgressPass::Percent(c.read, c.estimate);
        EXPECT_EQ(p, c.percent) << c.read << "/" << c.estimate;
        EXPECT_EQ(shell::ProgressPass::PercentText(p), c.text);
    }
}

fw::FString<40> SavedTitle;

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/cv_process_XXXXXX";
        dir = mkdtemp(tmpl);
        shell::SongBookName = dir + "/Party.2bk";
        fw::CREATE(shell::SongBook());
        fw::SetLayoutFolder(CV_SOURCE_DIR "/resources/layouts");
    }
    void TearDown() override {
        fw::SetLayoutFolder({});
        std::filesystem::remove_all(dir);
    }
    // count listings titled title (tracks 1..count) and one other.
    void Fill(const std::string& title, int count) {
        fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
        for (int i = 0; i <= count; ++i) {
            fw::ClearRecord(&SBK, *shell::SongBookFile().record);
            SBK.Title = i == count ? "Other" : title;
            SBK.UnqDiskID = "SB1";
            SBK.DISKTRACKNO = static_cast<std::uint32_t>(i + 1);
            fw::ADD(shell::SongBook());
            ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        }
        fw::CLOSE(shell::SongBook());
    }
    std::vector<std::string> AllTitles() {
        fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
        std::vector<std::string> titles;
        fw::SET(shell::SongBook().FindKey("SBK:KUnqDiskID"));
        while (fw::NEXT(shell::SongBook()), fw::ERRORCODE() == 0) titles.emplace_back(SBK.Title.Clip());
        fw::CLOSE(shell::SongBook());
        return titles;
    }
    // The batch title edit: every listing titled SavedTitle gets newTitle.
    void StartRename(const std::string& from, const std::string& to, long estimate) {
        d.Start([this, from, to, estimate] {
            fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
            fw::PUSHBIND();
            SavedTitle = from;
            fw::BIND("SavedTitle", SavedTitle);
            fw::BIND(shell::SongBook());
            shell::ViewSource view(shell::SongBook(), shell::SongBook().FindKey("SBK:KTITLE"),
                                   shell::ActionMovesKey::Yes);
            view.filter = "UPPER(SBK:Title) = UPPER(SavedTitle)";
            shell::ProgressSpec desc(view);
            desc.estimate = [estimate] { return estimate; };
            desc.texts.user = "Performing Batch Operation";
            desc.readCode = readCode;
            desc.action = [this, to] {
                ++actions;
                SBK.Title = to;
                fw::PUT(shell::SongBook());
                EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
            };
            state = shell::RunProgressProcess(desc);
            outcome = shell::ActionOutcome();
            fw::POPBIND();
            fw::CLOSE(shell::SongBook());
        });
    }
    bool Open() const { return d.IsOpen("P1$PROGRESSWINDOW"); }
    // The pass's read number failAt gets code instead of its own result.
    void FailRead(long failAt, int code) {
        readCode = [failAt, code](long read, int own) { return read == failAt ? code : own; };
    }

    std::string dir;
    Driver d{GTestFailures()};
    int actions = 0;
    shell::PassState state = shell::PassState::Running;
    int outcome = -1;
    std::function<int(long, int)> readCode;
};

TEST_F(ProcessTest, NoMatchingRecordClosesAtOnceWithNothingChanged) {
    Fill("Danny Boy", 3);
    StartRename("Nothing Like This", "Changed", 20);
    EXPECT_FALSE(Open());
    EXPECT_EQ(state, shell::PassState::NothingToDo);
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    EXPECT_EQ(actions, 0);
}

TEST_F(ProcessTest, AnActionThatMovesTheKeyVisitsEachMatchOnceAndTheEstimateStopsAtOneHundred) {
    Fill("Alpha", 50);  // each renamed listing sorts after the ones still to come
    StartRename("Alpha", "Zulu", 20);
    ASSERT_TRUE(Open());
    EXPECT_EQ(d.Text("?PROGRESS:PCTTEXT"), "  5% Completed") << "the first record is read on opening";
    EXPECT_EQ(d.Text("?PROGRESS:USERSTRING"), "Performing Batch Operation");
    EXPECT_EQ(d.Caption("P1$PROGRESSWINDOW"), "Processing Records");
    d.Tick();
    EXPECT_EQ(actions, 25);
    EXPECT_EQ(d.Text("?PROGRESS:PCTTEXT"), "100% Completed");
    EXPECT_EQ(d.Text("?PROGRESS:THERMOMETER"), "100");
    EXPECT_TRUE(d.TickUntil([this] { return !Open(); }, 10));
    EXPECT_EQ(actions, 50) << "every match once, none met again";
    EXPECT_EQ(state, shell::PassState::Completed);
    EXPECT_EQ(outcome, shell::outcome::Completed);
    const auto titles = AllTitles();
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "Zulu"), 50);
    EXPECT_EQ(titles.back(), "Other");
}

TEST_F(ProcessTest, CancelBetweenSlicesKeepsTheFinishedSlicesAndReportsCancelled) {
    Fill("Alpha", 60);
    StartRename("Alpha", "Beta", 60);
    d.Tick();
    EXPECT_EQ(actions, 25);
    d.Press("?PROGRESS:CANCEL");
    EXPECT_FALSE(Open());
    EXPECT_EQ(actions, 25);
    EXPECT_EQ(state, shell::PassState::Cancelled);
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    const auto titles = AllTitles();
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "Beta"), 25);
}

TEST_F(ProcessTest, ExactlyOneSliceOfRecordsMeetsTheEndInThatSlice) {
    Fill("Alpha", 25);
    StartRename("Alpha", "Beta", 0);
    EXPECT_EQ(d.Text("?PROGRESS:PCTTEXT"), "0% Completed") << "an estimate of 0 shows 0%";
    d.Tick();
    EXPECT_EQ(actions, 25);
    EXPECT_FALSE(Open());
    EXPECT_EQ(state, shell::PassState::Completed);
}

TEST_F(ProcessTest, AReadErrorEndsThePassAsFailedNotCompleted) {
    struct Case {
        const char* name;
        long failAt;  // the read that fails; 1 is the read on opening
        int code;
        int actions;  // done before the failure
    };
    const std::vector<Case> cases = {{"on opening", 1, fw::NoAccessErr, 0},
                                     {"within the first slice", 10, fw::FileSystemErr, 9},
                                     {"in a later slice", 30, fw::NoAccessErr, 29}};
    Fill("Alpha", 40);
    ScriptedMessages messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        actions = 0;
        state = shell::PassState::Running;
        FailRead(c.failAt, c.code);
        messages.shown.clear();
        StartRename("Alpha", "Alpha", 40);
        EXPECT_TRUE(d.TickUntil([this] { return !Open(); }, 10));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].caption, "Record Retrieval Error");
        EXPECT_NE(messages.shown[0].text.find("the SongBook file"), std::string::npos);
        EXPECT_EQ(actions, c.actions);
        EXPECT_EQ(state, shell::PassState::Failed);
        EXPECT_EQ(outcome, shell::outcome::Cancelled) << "ActionOutcome 2";
    }
}

}  // namespace
