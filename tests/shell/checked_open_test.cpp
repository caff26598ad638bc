#include "shell/checked_open.h"

#include "scripted_messages.h"
#include "shell/data_dictionary.h"

#include "platform/runtime/error_state.h"
#include "platform/runtime/thread_context.h"

#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

using shell::button::No;
using shell::button::Yes;

// Answers each call with the next scripted error code (0 when none is
// left) and records the calls as "open,recover,open".
class FakeDriver final : public shell::CheckedFileDriver {
public:
    std::map<std::string, std::deque<int>> codes;  // by operation
    std::string calls;

    void Open(const shell::FileEntry& f) override { Do("open", f); }
    void Recover(const shell::FileEntry& f) override { Do("recover", f); }
    void Create(const shell::FileEntry& f) override { Do("create", f); }
    void Build(const shell::FileEntry& f) override { Do("build", f); }
    void Close(const shell::FileEntry& f) override { Do("close", f); }

private:
    void Do(const std::string& op, const shell::FileEntry& f) {
        if (!calls.empty()) calls += ",";
        calls += op;
        if (f.label != shell::KaraokeFile().label) calls += "(" + f.label + ")";
        auto& q = codes[op];
        const int code = q.empty() ? 0 : q.front();
        if (!q.empty()) q.pop_front();
        if (code == fw::FileSystemErr) fw::SetFileError(code, "10", "disk I/O error");
        else fw::SetError(code);
    }
};

class CheckedOpenTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell::InitialiseSharedGlobals();
        shell::SetSongBaseFileNames("/songs");
        shell::SetCheckedFileDriver(&driver);
        shell::Calling() = {};
    }
    void TearDown() override {
        shell::SetCheckedFileDriver(nullptr);
        shell::Calling() = {};
        shell::InitialiseSharedGlobals();
        fw::ClearError();
    }

    FakeDriver driver;
    ScriptedMessages messages;
};

struct OpenCase {
    const char* name;
    const shell::FileEntry& (*file)();
    bool create;
    std::map<std::string, std::deque<int>> codes;
    std::deque<int> answers;
    const char* calls;
    const char* captions;  // the warnings shown, "|" between them
    const char* halt;      // nullptr: returned with the file open
};

TEST_F(CheckedOpenTest, EveryWayAnOpenEnds) {
    const OpenCase cases[] = {
        {"opened", shell::KaraokeFile, true, {}, {}, "open", "", nullptr},
        {"already open", shell::KaraokeFile, true, {{"open", {52}}}, {}, "open", "", nullptr},
        {"missing is created", shell::KaraokeFile, true, {{"open", {2}}}, {}, "open,create,open", "", nullptr},
        {"missing, not to be created", shell::MakeIdFile, false, {{"open", {2}}}, {}, "open(MAKEID)",
         "File Creation Error", "File Creation Error!"},
        {"creation fails", shell::KaraokeFile, true, {{"open", {2}}, {"create", {5}}}, {}, "open,create",
         "File Creation Error", "File Creation Error!"},
        {"created file does not open", shell::KaraokeFile, true, {{"open", {2, 5}}}, {}, "open,create,open",
         "File Creation Error", "File Creation Error!"},
        {"locked, recovered", shell::KaraokeFile, true, {{"open", {32, 0}}}, {}, "open,recover,open", "", nullptr},
        {"locked, still locked", shell::KaraokeFile, true, {{"open", {32, 32}}}, {}, "open,recover,open",
         "File Access Error", "Disk Error"},
        {"locked, then missing", shell::KaraokeFile, true, {{"open", {32, 2}}}, {}, "open,recover,open,create,open",
         "", nullptr},
        {"wrong layout", shell::KaraokeFile, true, {{"open", {47}}}, {}, "open", "Invalid File", "Invalid File!"},
        {"keys rebuilt", shell::KaraokeFile, true, {{"open", {46}}}, {Yes}, "open,build,open", "Invalid Key", nullptr},
        {"rebuild declined", shell::KaraokeFile, true, {{"open", {46}}}, {No}, "open", "Invalid Key", "Invalid Key!"},
        {"rebuild fails", shell::KaraokeFile, true, {{"open", {46}}, {"build", {90}}}, {Yes}, "open,build",
         "Invalid Key|Key Rebuild Error", "Error Rebuilding Key!"},
        {"rebuilt file does not open", shell::KaraokeFile, true, {{"open", {46, 33}}}, {Yes}, "open,build,open",
         "Invalid Key|File Access Error", "Disk Error"},
        {"any other error", shell::KaraokeFile, true, {{"open", {5}}}, {}, "open", "File Access Error", "Disk Error"},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        driver.codes = c.codes;
        driver.calls.clear();
        messages.answers = c.answers;
        messages.shown.clear();
        std::optional<std::string> halt;
        try {
            shell::OpenFileChecked(c.file(), c.create);
        } catch (const HaltCaught& h) {
            halt = h.text;
        }
        EXPECT_EQ(driver.calls, c.calls);
        std::string captions;
        for (const auto& m : messages.shown) captions += (captions.empty() ? "" : "|") + m.caption;
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(halt, c.halt ? std::optional<std::string>(c.halt) : std::nullopt);
    }
}

TEST_F(CheckedOpenTest, WarningsNameTheFullPathAndTheError) {
    driver.codes = {{"open", {5}}};
    EXPECT_THROW(shell::OpenFileChecked(shell::DiscsFile(), true), HaltCaught);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "File (/songs/DISCS.TPS) could not be opened.  Error: Access Denied (5).");

    messages.shown.clear();
    driver.codes = {{"open", {2}}};
    EXPECT_THROW(shell::OpenFileChecked(shell::MakeIdFile(), false), HaltCaught);
    EXPECT_EQ(messages.shown.at(0).text,
              "Error: (File Not Found (2)) creating /songs/MAKEID.TPS.  Press OK to end this application.");
}

TEST_F(CheckedOpenTest, NestedUsesOpenOnceAndTheLastClosesEvenOnAnException) {
    {
        shell::FileUse outer(shell::SongBookFile());
        {
            shell::FileUse inner(shell::SongBookFile());
            EXPECT_EQ(shell::Calling().SongBookOpenCount, 2);
        }
        EXPECT_EQ(driver.calls, "open(SongBook)");
        try {
            shell::FileUse failing(shell::SongBookFile());
            throw std::runtime_error("early exit");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(shell::Calling().SongBookOpenCount, 1);
        EXPECT_EQ(driver.calls, "open(SongBook)");
    }
    EXPECT_EQ(shell::Calling().SongBookOpenCount, 0);
    EXPECT_EQ(driver.calls, "open(SongBook),close(SongBook)");

    // A failed open halts before the use is counted.
    driver.codes = {{"open", {47}}};
    EXPECT_THROW(shell::FileUse use(shell::SongBookFile()), HaltCaught);
    EXPECT_EQ(shell::Calling().SongBookOpenCount, 0);
}

TEST_F(CheckedOpenTest, EachThreadKeepsItsOwnCounter) {
    fw::ThreadContext other(2);
    shell::FileUse mine(shell::KaraokeFile());
    fw::SetCurrentContext(&other);
    {
        shell::FileUse theirs(shell::KaraokeFile());  // opened again for this thread
        EXPECT_EQ(shell::Calling().KaraokeOpenCount, 1);
    }
    fw::SetCurrentContext(nullptr);
    EXPECT_EQ(shell::Calling().KaraokeOpenCount, 1);  // the other thread's close left this one open
    EXPECT_EQ(driver.calls, "open,open,close");
}

}  // namespace
