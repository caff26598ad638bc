#include "shell/process_window.h"

#include "platform/data/bind.h"
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/layout.h"
#include "platform/ui/testing/gtest_driver.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/data_dictionary_prefixes.h"
#include "shell/data_dictionary_queues.h"
#include "platform/data/file_instance.h"
#include "platform/data/queue/queue.h"
#include "platform/ui/window.h"

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
            shell::ProgressPlan desc(view);
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
    // Runs a process of the test's own on the program thread, the song book
    // open: run returns the pass's state.
    void StartProcess(std::function<shell::PassState()> run) {
        d.Start([this, run] {
            fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
            state = run();
            outcome = shell::ActionOutcome();
            fw::CLOSE(shell::SongBook());
        });
    }
    bool Open() const { return d.IsOpen("P1$PROGRESSWINDOW"); }
    std::string PctText() const { return d.Text("?PROGRESS:PCTTEXT"); }
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

// The import's kind of pass: the entries of an in-memory queue, its own
// caption, suffix and completed text, and what it does before the window
// closes.
TEST_F(ProcessTest, AQueueSourceVisitsEveryEntryInOrderWithTheProcesssOwnTexts) {
    fw::QueueOf<shell::ImportQueRec> rows(shell::ImportQueRec::Decl());
    for (int i = 1; i <= 30; ++i) {
        rows->TITLE = "Row " + std::to_string(i);
        fw::ADD(rows);
    }
    std::vector<std::string> seen;
    std::string atEndText, afterShowText;
    StartProcess([&] {
        shell::ProgressPlan desc(shell::QueueSource(rows, "ImportQue"));
        desc.action = [&] { seen.emplace_back(rows->TITLE.Clip()); };
        desc.estimate = [&] { return fw::RECORDS(rows); };
        desc.texts.caption = "Importing Listings";
        desc.texts.percentSuffix = "% completed";
        desc.texts.completed = "Building New Index";
        desc.atEnd = [&](shell::ProgressWindow& w) {
            atEndText = PctText();
            w.ShowText("Rebuilding Indexes...");
            afterShowText = PctText();
        };
        return shell::RunProgressProcess(desc);
    });
    ASSERT_TRUE(Open());
    EXPECT_EQ(d.Caption("P1$PROGRESSWINDOW"), "Importing Listings");
    EXPECT_EQ(d.Text("?PROGRESS:USERSTRING"), "");
    EXPECT_EQ(PctText(), "  3% completed") << "the first entry is read on opening";
    d.Tick();
    EXPECT_EQ(seen.size(), 25u);
    EXPECT_EQ(PctText(), " 86% completed");
    d.Tick();
    EXPECT_FALSE(Open());
    ASSERT_EQ(seen.size(), 30u);
    for (int i = 1; i <= 30; ++i) EXPECT_EQ(seen[i - 1], "Row " + std::to_string(i));
    EXPECT_EQ(atEndText, "Building New Index");
    EXPECT_EQ(afterShowText, "Rebuilding Indexes...");
    EXPECT_EQ(state, shell::PassState::Completed);
    EXPECT_EQ(outcome, shell::outcome::Completed);
    EXPECT_EQ(fw::RECORDS(rows), 30) << "the pass reads the queue; emptying it is the caller's";
}

// Work around each slice: started before its first action, ended after
// its last, also the slice that ends the pass; a failed end stops the pass.
TEST_F(ProcessTest, SliceHooksFrameEachSliceAndAFailedEndStopsThePass) {
    fw::QueueOf<shell::ImportQueRec> rows(shell::ImportQueRec::Decl());
    for (int i = 1; i <= 60; ++i) fw::ADD(rows);
    std::vector<std::string> log;
    int actions = 0;
    bool failSecondEnd = false;
    auto run = [&] {
        StartProcess([&] {
            shell::ProgressPlan desc(shell::QueueSource(rows, "ImportQue"));
            desc.action = [&] { ++actions; };
            desc.sliceStart = [&] {
                log.push_back("start " + std::to_string(actions));
                return shell::PassState::Running;
            };
            desc.sliceEnd = [&] {
                log.push_back("end " + std::to_string(actions));
                return failSecondEnd && log.size() == 4 ? shell::PassState::Failed : shell::PassState::Running;
            };
            return shell::RunProgressProcess(desc);
        });
        d.TickUntil([&] { return !Open(); });
    };
    run();
    EXPECT_EQ(log, (std::vector<std::string>{"start 0", "end 25", "start 25", "end 50", "start 50", "end 60"}));
    EXPECT_EQ(state, shell::PassState::Completed);

    log.clear();
    actions = 0;
    failSecondEnd = true;
    run();
    EXPECT_EQ(log, (std::vector<std::string>{"start 0", "end 25", "start 25", "end 50"}));
    EXPECT_EQ(state, shell::PassState::Failed);
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
}

TEST_F(ProcessTest, AnEmptyQueueClosesAtOnceAndACancelKeepsTheRowsDone) {
    fw::QueueOf<shell::ImportQueRec> rows(shell::ImportQueRec::Decl());
    int done = 0;
    auto run = [&] {
        shell::ProgressPlan desc(shell::QueueSource(rows, "ImportQue"));
        desc.action = [&] { ++done; };
        desc.estimate = [&] { return fw::RECORDS(rows); };
        return shell::RunProgressProcess(desc);
    };
    StartProcess(run);
    EXPECT_FALSE(Open());
    EXPECT_EQ(state, shell::PassState::NothingToDo);
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    EXPECT_EQ(done, 0);

    for (int i = 0; i < 60; ++i) fw::ADD(rows);
    StartProcess(run);
    d.Tick();
    d.Press("?PROGRESS:CANCEL");
    EXPECT_FALSE(Open());
    EXPECT_EQ(done, 25);
    EXPECT_EQ(state, shell::PassState::Cancelled);
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
}

// The reports' kind of pass: the caller's own reading, prepared at the
// start; a reading failure shows warning 35 with the source's label.
TEST_F(ProcessTest, AStepSourceReadsThroughTheCallersStepUntilItsEndOrFailure) {
    struct Case {
        const char* name;
        int failAt;  // the step that fails (0: none); the step on opening is 1
        int actions;
        shell::PassState state;
    };
    const std::vector<Case> cases = {{"to the end", 0, 40, shell::PassState::Completed},
                                     {"failing in a later slice", 31, 30, shell::PassState::Failed},
                                     {"failing on opening", 1, 0, shell::PassState::Failed}};
    ScriptedMessages messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        std::vector<std::string> calls;
        int row = 0;
        actions = 0;
        StartProcess([&] {
            shell::StepSource step(
                [&] {
                    calls.push_back("next");
                    if (++row == c.failAt) return int(fw::FileSystemErr);
                    return row > 40 ? int(fw::RecordNotAvailable) : 0;
                },
                "SongBook");
            step.start = [&] { calls.push_back("start"); };
            shell::ProgressPlan desc(step);
            desc.action = [&] { ++actions; };
            desc.estimate = [] { return 40L; };
            desc.texts.caption = "Generating SongBook";
            return shell::RunProgressProcess(desc);
        });
        EXPECT_TRUE(d.TickUntil([this] { return !Open(); }, 10));
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls[0], "start");
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "start"), 1);
        EXPECT_EQ(actions, c.actions);
        EXPECT_EQ(state, c.state);
        if (c.state == shell::PassState::Failed) {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].caption, "Record Retrieval Error");
            EXPECT_NE(messages.shown[0].text.find("the SongBook file"), std::string::npos);
        } else {
            EXPECT_TRUE(messages.shown.empty());
        }
    }
}

// A step source's start makes what the estimate counts (a report lays out
// its rows first): the estimate is taken after it.
TEST(ProgressPassAlone, AStepSourcesEstimateIsTakenAfterItsStart) {
    long rows = 0, read = 0;
    shell::StepSource step([&] { return ++read > rows ? int(fw::RecordNotAvailable) : 0; }, "SongBook");
    step.start = [&] { rows = 8; };
    shell::ProgressPlan desc(step);
    desc.estimate = [&] { return rows; };
    shell::ProgressPass pass(desc);
    std::vector<int> shown;
    pass.OnPercent([&](int p) { shown.push_back(p); });
    pass.RunToEnd();
    EXPECT_EQ(pass.State(), shell::PassState::Completed);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), 12);  // 1 of 8
    EXPECT_EQ(shown.back(), 100);
}

// The batch edits stop on a failed write and end as completed; an action
// may also end its pass as cancelled or failed.
TEST_F(ProcessTest, AnActionEndsThePassWithTheOutcomeItGives) {
    struct Case {
        shell::PassState stop;
        int outcome;
        const char* lastText;
    };
    const std::vector<Case> cases = {{shell::PassState::Completed, shell::outcome::Completed, "Process Completed"},
                                     {shell::PassState::Cancelled, shell::outcome::Cancelled, " 72% Completed"},
                                     {shell::PassState::Failed, shell::outcome::Cancelled, " 72% Completed"}};
    Fill("Alpha", 40);
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.stop));
        actions = 0;
        std::string lastText;
        StartProcess([&] {
            shell::ViewSource view(shell::SongBook(), shell::SongBook().FindKey("SBK:KUnqDiskID"),
                                   shell::ActionMovesKey::No);
            shell::ProgressPlan desc(view);
            desc.action = [&]() -> shell::PassState {
                if (++actions == 29) return c.stop;  // the write that fails
                SBK.PRINT = "X";
                fw::PUT(shell::SongBook());
                return shell::PassState::Running;
            };
            desc.estimate = [] { return 40L; };
            desc.atEnd = [&](shell::ProgressWindow&) { lastText = PctText(); };
            return shell::RunProgressProcess(desc);
        });
        EXPECT_TRUE(d.TickUntil([this] { return !Open(); }, 10));
        EXPECT_EQ(actions, 29) << "nothing after the action that ended the pass";
        EXPECT_EQ(state, c.stop);
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(lastText, c.lastText);
        fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
        int marked = 0;
        fw::SET(shell::SongBook());
        while (fw::NEXT(shell::SongBook()), fw::ERRORCODE() == 0) {
            if (SBK.PRINT == "X") ++marked;
            SBK.PRINT = "";
            fw::PUT(shell::SongBook());
        }
        fw::CLOSE(shell::SongBook());
        EXPECT_EQ(marked, 28) << "the listings handled before it stay changed";
    }
}

// The .sbk conversion's kind of pass: the estimate is the file's size, each
// read counts the record's bytes, and a slice ends once 1000 bytes are read.
TEST_F(ProcessTest, ProgressByBytesEndsASliceOnceItsBytesAreRead) {
    Fill("Alpha", 40);
    fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
    const long fileBytes = fw::BYTES(shell::SongBook());
    fw::SET(shell::SongBook());
    fw::NEXT(shell::SongBook());
    const long recordBytes = fw::BYTES(shell::SongBook());
    fw::CLOSE(shell::SongBook());
    ASSERT_GT(recordBytes, 100);
    ASSERT_LT(recordBytes, 1000);
    ASSERT_GT(fileBytes, 41 * recordBytes);
    const long perSlice = (1000 + recordBytes - 1) / recordBytes;  // until the slice has 1000 bytes

    StartProcess([&] {
        shell::ProgressPlan desc(shell::ViewSource(shell::SongBook(), {}, shell::ActionMovesKey::No));
        desc.action = [&] { ++actions; };
        desc.measure = shell::ByBytes(shell::SongBook(), 1000);
        desc.estimate = [] { return fw::BYTES(shell::SongBook()); };
        desc.texts.caption = "Converting SongBook";
        return shell::RunProgressProcess(desc);
    });
    auto textAfter = [&](long reads) {
        const int percent = shell::ProgressPass::Percent(reads * recordBytes, fileBytes);
        return percent == 0 ? std::string("0% Completed") : shell::ProgressPass::PercentText(percent);
    };
    EXPECT_EQ(PctText(), textAfter(1));
    d.Tick();
    EXPECT_EQ(actions, perSlice);
    EXPECT_EQ(PctText(), textAfter(perSlice + 1));
    d.Tick();
    EXPECT_EQ(actions, 2 * perSlice);
    EXPECT_TRUE(d.TickUntil([this] { return !Open(); }, 20));
    EXPECT_EQ(actions, 41);
    EXPECT_EQ(state, shell::PassState::Completed);
}

TEST_F(ProcessTest, QuickScanIsOnForEveryNamedFileDuringThePassAndOffAfterIt) {
    Fill("Alpha", 3);
    struct Case {
        const char* name;
        bool both;
    };
    for (const Case c : {Case{"both files named", true}, Case{"the view's file by default", false}}) {
        SCOPED_TRACE(c.name);
        std::vector<std::pair<bool, bool>> during;
        StartProcess([&] {
            shell::ProgressPlan desc(shell::ViewSource(shell::SongBook(), {}, shell::ActionMovesKey::No));
            if (c.both) desc.quickScan = {&shell::SongBook(), &shell::SBDiscs()};
            desc.action = [&] {
                during.emplace_back(shell::SongBook().Instance().quickScan, shell::SBDiscs().Instance().quickScan);
            };
            return shell::RunProgressProcess(desc);
        });
        d.Tick();
        EXPECT_FALSE(Open());
        ASSERT_EQ(during.size(), 4u);
        for (const auto& [book, discs] : during) {
            EXPECT_TRUE(book);
            EXPECT_EQ(discs, c.both);
        }
        EXPECT_FALSE(shell::SongBook().Instance().quickScan);
        EXPECT_FALSE(shell::SBDiscs().Instance().quickScan);
    }
}

TEST_F(ProcessTest, TheProcesssLinesStandAboveTheOthersInAWindowGrownToHoldThem) {
    Fill("Alpha", 3);
    const std::vector<std::string> lines = {"To be compatible with this revision, your SongBook",
                                            "data files must be converted.",
                                            "Depending on the number of listings, this process",
                                            "may take a few minutes."};
    int plainHeight = 0, plainWidth = 0, plainUserY = 0;
    {
        const fw::WindowLayout plain = fw::LoadLayout("P1$PROGRESSWINDOW");
        plainHeight = plain.at.h;
        plainWidth = plain.at.w;
        plainUserY = plain.Find("?PROGRESS:USERSTRING")->at.y;
    }
    StartProcess([&] {
        shell::ProgressPlan desc(shell::ViewSource(shell::SongBook(), {}, shell::ActionMovesKey::No));
        desc.texts.caption = "SongBook Datafile Conversion";
        desc.texts.user = "SongBook File Conversion";
        desc.texts.lines = lines;
        return shell::RunProgressProcess(desc);
    });
    ASSERT_TRUE(Open());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(d.Text("?PROGRESS:TEXT" + std::to_string(i + 1)), lines[i]);
    EXPECT_TRUE(d.Hidden("?PROGRESS:TEXT"));
    EXPECT_EQ(d.Text("?PROGRESS:USERSTRING"), "SongBook File Conversion");
    const fw::WindowLayout& shown = d.FindWindow("P1$PROGRESSWINDOW")->Layout();
    const int lineHeight = shown.Find("?PROGRESS:TEXT")->at.h;
    EXPECT_EQ(shown.at.h, plainHeight + 4 * lineHeight);
    EXPECT_EQ(shown.Find("?PROGRESS:USERSTRING")->at.y, plainUserY + 4 * lineHeight);
    EXPECT_EQ(shown.Find("?PROGRESS:TEXT4")->at.y, plainUserY + 3 * lineHeight);
    EXPECT_GE(shown.at.w, 4 * static_cast<int>(lines[0].size())) << "wide enough for the longest line";
    EXPECT_GT(shown.at.w, plainWidth);
    EXPECT_EQ(shown.Find("?PROGRESS:TEXT1")->at.w, shown.Find("?PROGRESS:PCTTEXT")->at.w);
    if (const char* shot = std::getenv("CV_SCREENSHOT_DIR"))
        d.Screenshot("P1$PROGRESSWINDOW", std::string(shot) + "/progress_lines.png");
    d.Tick();
    EXPECT_FALSE(Open());
}

// The track-adding worker's kind of pass: its whole queue before its own
// loop, the percentage counted by the action, the window left open for the
// user to close.
TEST_F(ProcessTest, ACallersOwnLoopCanRunTheWholePassBeforeItAndKeepTheWindowOpen) {
    fw::QueueOf<shell::DiscTagQueueRec> discs(shell::DiscTagQueueRec::Decl());
    for (int i = 0; i < 4; ++i) fw::ADD(discs);
    std::vector<std::string> textBefore;
    int timerAfter = -1;
    StartProcess([&] {
        shell::ProgressPlan desc(shell::QueueSource(discs, "DiscTagQueue"));
        desc.measure.perRead = [] { return 0L; };
        desc.action = [&](shell::ProgressPass& pass) {
            textBefore.push_back(PctText());
            pass.Advance(1);  // a disc done
        };
        desc.estimate = [&] { return fw::RECORDS(discs); };
        desc.texts.caption = "Adding Selected Disc Tracks to Open SongBook";
        desc.texts.completed = "";  // the percentage stays
        shell::ProgressWindow progress(desc);
        progress.Open();
        progress.RunToEnd();
        timerAfter = static_cast<int>(progress.Window().Get(fw::Prop::Timer).Int());
        while (progress.Window().Accept()) progress.TakeEvent();
        return progress.End();
    });
    ASSERT_TRUE(Open());
    EXPECT_EQ(textBefore, (std::vector<std::string>{"0% Completed", " 25% Completed", " 50% Completed", " 75% Completed"}));
    EXPECT_EQ(PctText(), "100% Completed");
    EXPECT_EQ(timerAfter, 0);
    d.Tick(3);
    EXPECT_TRUE(Open()) << "the window waits for the user";
    EXPECT_EQ(textBefore.size(), 4u);
    d.Press("?PROGRESS:CANCEL");
    EXPECT_FALSE(Open());
    EXPECT_EQ(state, shell::PassState::Completed);
    EXPECT_EQ(outcome, shell::outcome::Completed);
}

}  // namespace
