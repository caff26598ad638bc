// The AutoUpdate wizard as hosts' machines meet it: another copy of the
// program on the same song base, a program installed where this user may
// not write, and a server whose list may have been cut short.
#include "tests/exchange/wizard_fixture.h"

#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/data/file_ops.h"
#include "platform/data/file_use.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary.h"
#include "shell/data_dictionary_files.h"

using namespace wizard_test;

namespace {

constexpr const char* kIncluded = "This Update includes a New Cantorvale V2";
constexpr const char* kRetry = "Do you wish to Retry?";

// Another copy of the program: a process that opens MAIN.TPS through the
// data layer and keeps it open until it is killed.
class OtherCopy {
public:
    explicit OtherCopy(const std::string& file) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            fw::FileDecl decl = shell::FileDeclOf(shell::KaraokeFile());
            decl.name = fw::FixedName(file);
            fw::File held(decl);
            fw::OPEN(held, fw::ReadWrite | fw::DenyNone);
            const char c = fw::ERRORCODE() == 0 ? 'y' : 'n';
            if (::write(ready[1], &c, 1) != 1) ::_exit(1);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        char c = 0;
        opened_ = pid_ > 0 && ::read(ready[0], &c, 1) == 1 && c == 'y';
        ::close(ready[0]);
    }
    ~OtherCopy() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    bool Opened() const { return opened_; }

private:
    pid_t pid_ = -1;
    bool opened_ = false;
};

// Whether another process could take a hold on the file now.
bool AnotherProcessCanHold(const std::string& file) {
    const pid_t child = ::fork();
    if (child == 0) {
        fw::data::FileUse use;
        ::_exit(use.Take(file, fw::data::FileUse::Shared) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST_F(WizardTest, ASongBaseAnotherCopyHasOpenIsNotReplaced) {
    Publish(DataChannel());
    const auto before = Installed();
    OtherCopy other(install_ + "/MAIN.TPS");
    ASSERT_TRUE(other.Opened());
    d().AnswerMessage("MAIN.TPS is in use.||Please close the SongBook and Main SongBase windows", fw::Button::Ok);
    RunNext();
    EXPECT_TRUE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
    EXPECT_EQ(Installed(), before);
    EXPECT_EQ(d().UnusedAnswers(), 0u);
    ExpectNoLeftovers();
}

TEST_F(WizardTest, NoOtherCopyCanOpenAFileWhileTheSwapRuns) {
    Publish(DataChannel());
    bool discsHeld = false, mainHeldAfter = true;
    exchange::SetSwapHook([&](int swaps) {
        // MAIN.TPS is in; DISCS.TPS, next, is held against every other process.
        if (swaps == 1) discsHeld = !AnotherProcessCanHold(install_ + "/DISCS.TPS");
        return true;
    });
    RunNext();
    ASSERT_TRUE(d().IsOpen("P1$SUCCESSWINDOW"));
    d().Press("?FINISHED");
    mainHeldAfter = !AnotherProcessCanHold(install_ + "/MAIN.TPS");
    EXPECT_TRUE(discsHeld);
    EXPECT_FALSE(mainHeldAfter);  // released once the swap is over
}

TEST_F(WizardTest, AProgramThatCannotBeReplacedLeavesEverythingAsItWas) {
    // Root writes anywhere, so there the program lives on a disk mounted
    // read-only; any other user meets a folder it may not write.
    const std::string folder = RootPath("program");
    bool mounted = false;
    if (::geteuid() == 0) {
        ASSERT_EQ(::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64m"), 0) << std::strerror(errno);
        mounted = true;
        WriteFile(ProgramFile(), kOldProgram);
        ASSERT_EQ(::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0) << std::strerror(errno);
    } else {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    }
    release::Channel c = DataChannel();
    c.program = Revision();
    Publish(c);
    const auto before = Installed();
    const int requests = server.Requests();
    d().AnswerMessage(kIncluded, fw::Button::Yes);
    d().AnswerMessage("cannot be replaced, because", fw::Button::Ok);
    RunNext();
    const std::string said = d().Messages().empty() ? "" : d().Messages().back();
    const std::string program = Slurp(ProgramFile());
    if (mounted) ::umount2(folder.c_str(), MNT_DETACH);
    else fs::permissions(folder, fs::perms::owner_all);
    EXPECT_TRUE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
    EXPECT_EQ(Installed(), before);
    EXPECT_EQ(program, kOldProgram);
    EXPECT_NE(said.find(ProgramFile()), std::string::npos) << said;
    EXPECT_NE(said.find("Nothing has been changed."), std::string::npos) << said;
    EXPECT_EQ(server.Requests(), requests + 2);  // the list and the signature, no update file
    EXPECT_EQ(d().UnusedAnswers(), 0u);
}

TEST_F(WizardTest, AListThatMayHaveBeenCutIsAFailedDownload) {
    auto files = release::BuildChannel(DataChannel());
    const std::string list = files.at("/update/01/autoupdate2b.inf");
    // The connection dropped at the end of the list's first line, and the
    // server had said nothing of its length: a list of one record, or cut?
    RawHttpServer cut("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + list.substr(0, list.find('\n') + 1));
    shell::PutRegistryValue(0, shell::kBasicKeyPath, "UpdateServer", exchange::kUpdateSection, cut.Url(""));
    const auto before = Installed();
    d().AnswerMessage("did not say how long autoupdate2b.inf is", fw::Button::Ok);
    d().AnswerMessage(kRetry, 2);
    RunNext();
    EXPECT_FALSE(d().IsOpen("P1$AUTOUPDATEWIZARD"));  // No to the list's retry ends the wizard
    EXPECT_EQ(cut.Requests(), 1);                     // no file the cut list names was fetched
    EXPECT_EQ(Installed(), before);
    EXPECT_FALSE(Has("autoupdate.lst"));
    EXPECT_EQ(d().UnusedAnswers(), 0u);
}
