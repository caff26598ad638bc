// An install killed at every step it takes, and the start's recovery of
// it killed at every step of its own: whatever pair of moments the two
// die at, the start after leaves the whole old or the whole new song base
// and says which.
#include "tests/exchange/wizard_fixture.h"

#include <gmock/gmock.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "exchange/autoupdate_files.h"
#include "exchange/exchange_procedures.h"
#include "shell/program_procedures.h"

using namespace wizard_test;
using ::testing::HasSubstr;

namespace {

// Runs `work` in a child process that is killed just before its n-th step
// (a journal write, a rename or a removal); true when it was killed, false
// when the work ended with fewer steps.
bool KilledAtStep(int n, const std::function<void()>& work) {
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        int steps = 0;
        exchange::SetInstallStepHook([&] {
            if (++steps == n) ::kill(::getpid(), SIGKILL);
        });
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace

class InstallRecoveryTest : public WizardTest {
protected:
    // Every file of the install folder, journals and staged files too.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(install_))
            if (e.is_regular_file()) files[e.path().filename().string()] = Slurp(e.path().string());
        return files;
    }
    void Restore(const std::map<std::string, std::string>& files) const {
        for (const auto& e : fs::directory_iterator(install_))
            if (e.is_regular_file()) fs::remove(e.path());
        for (const auto& [name, bytes] : files) WriteFile(install_ + "/" + name, bytes);
    }
    void MoveInstallToMemory() {
        std::string pattern = "/dev/shm/cv-install-XXXXXX";
        if (!fs::is_directory("/dev/shm") || !::mkdtemp(pattern.data())) return;
        memory_ = pattern;
        fs::copy(install_, memory_, fs::copy_options::recursive);
        install_ = memory_;
        shell::InstallFolder = install_;
        shell::SetSongBaseFileNames(install_);
    }
    void TearDown() override {
        WizardTest::TearDown();
        if (!memory_.empty()) fs::remove_all(memory_);
    }
    static void ForgetNotice() {
        shell::PutRegistryValue(0, shell::kBasicKeyPath, "InterruptedUpdate", exchange::kUpdateSection, "");
    }
    // The five song-base files staged beside the old ones.
    std::vector<exchange::InstallTarget> StageNewSongBase() {
        std::vector<exchange::InstallTarget> targets;
        for (const char* name : kSongBaseFiles) {
            const std::string base = std::string(name).substr(0, std::string(name).find('.'));
            WriteFile(install_ + "/" + name + ".new", Slurp(RootPath("new") + "/" + name));
            targets.push_back({name, std::string(name) + ".new", base + ".BAK"});
        }
        return targets;
    }
    std::string memory_;
};

TEST_F(InstallRecoveryTest, ASwapAndItsRecoveryKilledAtEveryStepLeaveOneWholeSongBase) {
    // Hundreds of runs, each syncing the folder at every step: where a
    // memory file system is at hand the install folder moves there.
    MoveInstallToMemory();
    WriteFile(install_ + "/DISCS.BAK", "an older backup of DISCS.TPS");
    const auto oldBase = Installed();
    auto newBase = oldBase;
    for (const char* name : kSongBaseFiles) {
        const std::string base = std::string(name).substr(0, std::string(name).find('.'));
        newBase[name] = Slurp(RootPath("new") + "/" + name);
        newBase[base + ".BAK"] = oldBase.at(name);
    }
    const auto targets = StageNewSongBase();
    ASSERT_TRUE(exchange::NoteStaging(install_, targets));  // as the wizard notes them before staging
    const auto staged = Snapshot();

    int swapSteps = 0;
    for (int i = 1;; ++i) {
        Restore(staged);
        ForgetNotice();
        if (!KilledAtStep(i, [&] { exchange::SwapInStagedFiles(install_, targets); })) break;
        swapSteps = i;
        const auto afterSwap = Snapshot();
        for (int j = 1;; ++j) {
            SCOPED_TRACE("swap killed before its step " + std::to_string(i) + ", recovery before its step " +
                         std::to_string(j));
            Restore(afterSwap);
            ForgetNotice();
            const bool killed = KilledAtStep(j, [] { exchange::RecoverAutoUpdate(); });
            // The start after.
            exchange::RecoverAutoUpdate();
            const std::string notice = exchange::AutoUpdateNotice();
            const auto now = Installed();
            if (now == oldBase) {
                EXPECT_THAT(notice, HasSubstr("as they were before it"));
            } else if (now == newBase) {
                EXPECT_THAT(notice, HasSubstr("The new files are in place"));
            } else {
                std::string names;
                for (const auto& [name, bytes] : now) names += " " + name;
                ADD_FAILURE() << "neither the old nor the new song base:" << names << "; notice: " << notice;
            }
            EXPECT_THAT(notice, HasSubstr("MAIN.TPS, DISCS.TPS, DMAKE.TPS, SARTIST.TPS, STITLE.TPS"));
            if (HasFailure()) return;
            if (!killed) break;
        }
    }
    // Every file took at least its two renames, each after a journal write.
    EXPECT_GE(swapSteps, 4 * static_cast<int>(std::size(kSongBaseFiles)));
}

TEST_F(InstallRecoveryTest, TheFrameSaysWhatTheStartRestored) {
    const auto before = Installed();
    const auto targets = StageNewSongBase();
    ASSERT_TRUE(KilledAtStep(9, [&] { exchange::SwapInStagedFiles(install_, targets); }));
    exchange::RegisterExchangeProcedures();
    shell::PutRegistryValue(0, shell::kBasicKeyPath, "InstallDir", shell::kInstallSection, install_);
    d().AnswerMessage("are back as they were before it", fw::Button::Ok);
    d().Start(shell::ProgramStartup);
    EXPECT_TRUE(d().IsOpen("P1$APPFRAME"));
    EXPECT_EQ(Installed(), before);
    EXPECT_EQ(exchange::AutoUpdateNotice(), "");  // said once
    EXPECT_EQ(d().UnusedAnswers(), 0u);
    shell::SetAutoUpdateWizard(nullptr);
    shell::SetProgramProcedure("RecoverAutoUpdate", nullptr);
    shell::SetProgramProcedure("AutoUpdateNotice", nullptr);
}

TEST_F(InstallRecoveryTest, AJournalTheFilesDoNotMatchIsReportedAndNothingIsRemoved) {
    const auto targets = StageNewSongBase();
    ASSERT_TRUE(KilledAtStep(9, [&] { exchange::SwapInStagedFiles(install_, targets); }));
    // Someone removed a file the journal counts on.
    fs::remove(install_ + "/MAIN.BAK");
    const auto left = Snapshot();
    exchange::RecoverAutoUpdate();
    EXPECT_EQ(Snapshot(), left);
    EXPECT_THAT(exchange::AutoUpdateNotice(), HasSubstr("could not be undone"));
    EXPECT_THAT(exchange::AutoUpdateNotice(), HasSubstr("MAIN.TPS"));
}

TEST_F(InstallRecoveryTest, StagedFilesNoJournalClaimsAreRemovedAtStart) {
    const auto before = Installed();
    struct Case {
        const char* name;
        bool note;  // the staging note was written
    } cases[] = {{"an update killed while staging", true}, {"staged files with no journal at all", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ForgetNotice();
        const auto targets = StageNewSongBase();
        if (c.note) {
            ASSERT_TRUE(exchange::NoteStaging(install_, targets));
        }
        WriteFile(install_ + "/MAIN.TPS.new.tps-original", "what a check leaves");
        exchange::RecoverAutoUpdate();
        EXPECT_EQ(Installed(), before);
        if (c.note) EXPECT_THAT(exchange::AutoUpdateNotice(), HasSubstr("before it had replaced any file"));
        else EXPECT_EQ(exchange::AutoUpdateNotice(), "");  // nothing to say of files nobody claims
    }
}

TEST_F(InstallRecoveryTest, StagingIsNotedBeforeTheFirstStagedFileIsMade) {
    Publish(DataChannel());
    bool stagedWithoutJournal = false, sawSteps = false;
    exchange::SetInstallStepHook([&] {
        sawSteps = true;
        bool anyStaged = false;
        for (const char* name : kSongBaseFiles) anyStaged = anyStaged || Has(std::string(name) + ".new");
        if (anyStaged && !Has(exchange::kInstallJournalFile)) stagedWithoutJournal = true;
    });
    RunNext();
    exchange::SetInstallStepHook({});
    ASSERT_TRUE(d().IsOpen("P1$SUCCESSWINDOW"));
    d().Press("?FINISHED");
    EXPECT_TRUE(sawSteps);
    EXPECT_FALSE(stagedWithoutJournal);
    ExpectNoLeftovers();
}
