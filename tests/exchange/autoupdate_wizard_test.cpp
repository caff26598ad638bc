// The AutoUpdate wizard through the test driver, over a temporary install
// folder and a loopback update server.
#include "tests/exchange/wizard_fixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "exchange/exchange_procedures.h"
#include "shell/program_procedures.h"
#include "shell/data_dictionary.h"
#include "shell/data_dictionary_files.h"
#include "tests/platform/data/tps/tps_fixtures.h"

using namespace wizard_test;

namespace {

constexpr const char* kIncluded = "This Update includes a New Cantorvale V2";
constexpr const char* kExists = "However a New Cantorvale V2";
constexpr const char* kNotNecessary = "Your Data Files are Current and|No Program Revision Exists.";
constexpr const char* kRetry = "Do you wish to Retry?";
constexpr const char* kRestored = "AutoUpdate Error, original files have been restored";

long RecordsIn(const std::string& path) {
    fw::FileDecl decl = shell::FileDeclOf(shell::KaraokeFile());
    decl.name = fw::FixedName(path);
    fw::File file(decl);
    fw::OPEN(file, fw::ReadOnly | fw::DenyNone);
    long n = fw::RECORDS(file);
    fw::CLOSE(file);
    return n;
}

}  // namespace

TEST_F(WizardTest, DataOnlyInstallsTheListedFilesWithBackups) {
    const auto before = Installed();
    Publish(DataChannel());
    RunNext();
    ASSERT_TRUE(d().IsOpen("P1$SUCCESSWINDOW"));
    EXPECT_TRUE(d().Hidden("?RESTART1"));
    d().Press("?FINISHED");
    EXPECT_FALSE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
    for (const char* name : kSongBaseFiles) {
        const std::string base = std::string(name).substr(0, std::string(name).find('.'));
        EXPECT_EQ(Live(name), Slurp(RootPath("new") + "/" + name)) << name;
        EXPECT_EQ(Live(base + ".BAK"), before.at(name)) << name;
        EXPECT_TRUE(Has(base + ".Z"));  // the downloads stay
    }
    // Files the list does not name are not touched.
    EXPECT_EQ(Live("GENRE.TPS"), before.at("GENRE.TPS"));
    EXPECT_EQ(Live("MAKEID.TPS"), before.at("MAKEID.TPS"));
    EXPECT_EQ(Live("DIDAZAVUZEZ2O.EXE"), kOldProgram);
    EXPECT_EQ(Registry("DataFile"), std::to_string(kNewTracks));
    EXPECT_EQ(Registry("MainApp"), "(none)");
    EXPECT_EQ(RecordsIn(install_ + "/MAIN.TPS"), kNewTracks);
    ExpectNoLeftovers();
    EXPECT_TRUE(d().Messages().empty());
}

TEST_F(WizardTest, CurrentDataAsksWhetherToReinstall) {
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        const auto before = Installed();
        release::Channel c = DataChannel(std::to_string(kOldTracks));  // the count MAIN.TPS has now
        Publish(c);
        const int requests = server.Requests();
        d().AnswerMessage(kNotNecessary, yes ? fw::Button::Yes : fw::Button::No);
        RunNext();
        if (yes) {
            ASSERT_TRUE(d().IsOpen("P1$SUCCESSWINDOW"));
            d().Press("?FINISHED");
            EXPECT_EQ(Live("MAIN.TPS"), Slurp(RootPath("new") + "/MAIN.TPS"));
        } else {
            EXPECT_TRUE(d().IsOpen("P1$AUTOUPDATEWIZARD"));  // back on the welcome page
            EXPECT_EQ(server.Requests(), requests + 1);      // the list only
            EXPECT_EQ(Installed(), before);
            d().Press("?CANCEL");
        }
        EXPECT_FALSE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
    }
}

TEST_F(WizardTest, ALowerDataVersionIsStillAnUpdate) {
    Publish(DataChannel("3"));
    RunNext();
    EXPECT_TRUE(d().IsOpen("P1$SUCCESSWINDOW"));
    EXPECT_EQ(Live("MAIN.TPS"), Slurp(RootPath("new") + "/MAIN.TPS"));
}

TEST_F(WizardTest, ProgramAndDataWithTheProgramAnsweredBothWays) {
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        ResetInstall();
        release::Channel c = DataChannel();
        c.program = Revision();
        Publish(c);
        d().AnswerMessage(kIncluded, yes ? fw::Button::Yes : fw::Button::No);
        RunNext();
        ASSERT_TRUE(d().IsOpen("P1$SUCCESSWINDOW"));
        EXPECT_EQ(d().Hidden("?RESTART1"), !yes);
        EXPECT_EQ(d().Hidden("?RESTART2"), !yes);
        d().Press("?FINISHED");
        EXPECT_EQ(Live("MAIN.TPS"), Slurp(RootPath("new") + "/MAIN.TPS"));
        if (yes) {
            // The installed program, started by its usual command, is the revision.
            EXPECT_EQ(Slurp(ProgramCommand()), Slurp("/proc/self/exe"));
            EXPECT_EQ(Slurp(ProgramFile()), Slurp("/proc/self/exe"));
            EXPECT_EQ(Slurp(RootPath("program") + "/cantorvale.BAK"), kOldProgram);
            EXPECT_EQ(fs::status(ProgramFile()).permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
            EXPECT_TRUE(fs::is_symlink(ProgramCommand()));
            EXPECT_EQ(Live("DIDAZAVUZEZ2O.EXE"), kOldProgram);  // the list's name is not a file to write
            EXPECT_FALSE(Has("DIDAZAVUZEZ2O.BAK"));
            EXPECT_EQ(Registry("MainApp"), "2.6.2300");
        } else {
            EXPECT_EQ(Slurp(ProgramFile()), kOldProgram);
            EXPECT_EQ(Live("DIDAZAVUZEZ2O.EXE"), kOldProgram);
            EXPECT_FALSE(Has("DIDAZAVUZEZ2O.PGM"));  // never downloaded
            EXPECT_EQ(Registry("MainApp"), "(none)");
        }
        ExpectNoLeftovers();
    }
}

TEST_F(WizardTest, ProgramOnlyWhenTheDataIsCurrent) {
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        const auto before = Installed();
        release::Channel c = DataChannel(std::to_string(kOldTracks));
        c.program = Revision();
        Publish(c);
        d().AnswerMessage(kExists, yes ? fw::Button::Yes : fw::Button::No);
        RunNext();
        if (!yes) {
            EXPECT_TRUE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
            EXPECT_EQ(Installed(), before);
            d().Press("?CANCEL");
            continue;
        }
        ASSERT_TRUE(d().IsOpen("P1$SUCCESSWINDOW"));
        EXPECT_FALSE(d().Hidden("?RESTART1"));
        d().Press("?FINISHED");
        EXPECT_EQ(Slurp(ProgramCommand()), Slurp("/proc/self/exe"));
        EXPECT_EQ(Slurp(RootPath("program") + "/cantorvale.BAK"), kOldProgram);
        EXPECT_EQ(Live("MAIN.TPS"), before.at("MAIN.TPS"));  // data not reinstalled
        EXPECT_EQ(Registry("DataFile"), std::to_string(kOldTracks));
        EXPECT_EQ(Registry("MainApp"), "2.6.2300");
    }
}

TEST_F(WizardTest, ARevisionWithoutAGoodSignatureIsNotOffered) {
    std::string otherPublic, otherSecret;
    fw::MakeSigningKeys(otherPublic, otherSecret);
    struct Case {
        const char* name;
        std::string key;
        std::string version;
    } cases[] = {
        {"unsigned", "", "2.6.2300"},
        {"signed by another key", otherSecret, "2.6.2300"},
        {"older than the running program", secretKey_, "2.6.2100"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const auto before = Installed();
        release::Channel c = DataChannel(std::to_string(kOldTracks));
        c.program = Revision(k.version);
        PublishSignedWith(c, k.key);
        // Not offered: the data is current and no revision exists.
        d().AnswerMessage(kNotNecessary, fw::Button::No);
        RunNext();
        EXPECT_TRUE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
        EXPECT_EQ(Installed(), before);
        d().Press("?CANCEL");
    }
}

TEST_F(WizardTest, ARevisionThatDiffersFromItsSignatureIsNotInstalled) {
    release::Channel c = DataChannel();
    c.program = Revision();
    auto files = release::BuildChannel(c, secretKey_);
    std::string& pgm = files["/update/01/DIDAZAVUZEZ2O.PGM"];
    pgm[pgm.size() / 2] ^= 1;  // same size, other bytes
    for (const auto& [path, bytes] : files) server.Serve(path, bytes);
    const auto before = Installed();
    d().AnswerMessage(kIncluded, fw::Button::Yes);
    d().AnswerMessage(kRetry, 2);
    RunNext();
    EXPECT_TRUE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
    EXPECT_EQ(Installed(), before);
}

TEST_F(WizardTest, AForeignProgramFileIsNeverInstalled) {
    release::Channel c = DataChannel();
    c.program = Revision();
    c.program->content = "MZ\x90\x00 a program for another system";
    Publish(c);
    const auto before = Installed();
    d().AnswerMessage(kIncluded, fw::Button::Yes);
    d().AnswerMessage("does not hold a usable DIDAZAVUZEZ2O.EXE", fw::Button::Ok);
    d().AnswerMessage(kRestored, fw::Button::Ok);
    RunNext();
    EXPECT_EQ(Installed(), before);
    ExpectNoLeftovers();
}

TEST_F(WizardTest, ADamagedThirdFileOfFiveLeavesEveryFileAsItWas) {
    const auto before = Installed();
    release::Channel c = DataChannel();
    auto files = release::BuildChannel(c);
    std::string& third = files["/update/01/SARTIST.Z"];
    third[40] ^= 0x5A;  // inside the first block's zlib stream
    for (const auto& [path, bytes] : files) server.Serve(path, bytes);
    d().AnswerMessage("Input Data Corrupted", fw::Button::Ok);
    d().AnswerMessage("Error uncompressing ", fw::Button::Ok);
    d().AnswerMessage(kRestored, fw::Button::Ok);
    RunNext();
    EXPECT_TRUE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
    EXPECT_EQ(Installed(), before);
    EXPECT_EQ(Registry("DataFile"), "(none)");
    ExpectNoLeftovers();
    EXPECT_EQ(d().Messages().back(), std::string("AutoUpdate Unsuccessful: ") + kRestored);
}

TEST_F(WizardTest, ASwapFailingAtTheThirdFileRestoresEveryFile) {
    WriteFile(install_ + "/MAIN.BAK", "an older backup");
    const auto before = Installed();
    Publish(DataChannel());
    exchange::SetSwapHook([](int swaps) { return swaps < 2; });
    d().AnswerMessage(kRestored, fw::Button::Ok);
    RunNext();
    EXPECT_EQ(Installed(), before);
    EXPECT_EQ(Registry("DataFile"), "(none)");
    ExpectNoLeftovers();
}

TEST_F(WizardTest, AStagedFileThatIsNoSongBaseFileIsRefused) {
    release::Channel c = DataChannel();
    c.data[1].content = "not a database at all";
    Publish(c);
    const auto before = Installed();
    d().AnswerMessage("does not hold a usable DISCS.TPS", fw::Button::Ok);
    d().AnswerMessage(kRestored, fw::Button::Ok);
    RunNext();
    EXPECT_EQ(Installed(), before);
    ExpectNoLeftovers();
}

TEST_F(WizardTest, FilesHeldOpenAreNotReplaced) {
    Publish(DataChannel());
    const auto before = Installed();
    fw::FileDecl decl = shell::FileDeclOf(shell::KaraokeFile());
    decl.name = fw::FixedName(install_ + "/MAIN.TPS");
    fw::File held(decl);
    fw::OPEN(held, fw::ReadOnly | fw::DenyNone);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    d().AnswerMessage("MAIN.TPS is in use.", fw::Button::Ok);
    RunNext();
    fw::CLOSE(held);
    EXPECT_EQ(Installed(), before);
    EXPECT_TRUE(Has("MAIN.Z"));  // the downloads stay for the next try
    ExpectNoLeftovers();
}

TEST_F(WizardTest, ADownloadOfTheWrongSizeAsksToRetry) {
    auto files = release::BuildChannel(DataChannel());
    files["/update/01/DMAKE.Z"] += "extra";
    for (const auto& [path, bytes] : files) server.Serve(path, bytes);
    const auto before = Installed();
    d().AnswerMessage(kRetry, 2);
    RunNext();
    EXPECT_TRUE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
    EXPECT_EQ(Installed(), before);
}

TEST_F(WizardTest, HostileListsAreRefusedBeforeAnyDownload) {
    const char* lists[] = {
        "\"DATA\",\"75\",\"../../x\",\"MAIN.Z\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"/etc/passwd\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"C:MAIN.Z\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"sub\\\\MAIN.Z\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"..\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"DISCS.TPS\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"MAIN.TPS\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"MAIN.Z\",10\n\"DATA\",\"\",\"main.tps\",\"M2.Z\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"MAIN.BAK\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"autoupdate.lst\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"MAIN.Z\",0\n",
        "\"DATA\",\"75\",\"SLASH_0.TTF\",\"FONT.Z\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"MAIN.Z\",10\n\"PGM\",\"9.9\",\"DISCS.TPS\",\"X.PGM\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"MAIN Z\",10\n",
        "\"DATA\",\"75\",\"MAIN.TPS\",\"MAIN.Z\",10\n\"DATA\",\"\",\"DISCS.TPS\",\"DIS",  // cut short
        "",
    };
    const auto before = Installed();
    int n = 0;
    for (const char* list : lists) {
        SCOPED_TRACE(list);
        LoopbackServer hostile;
        hostile.Serve("/update/01/autoupdate2b.inf", list);
        shell::PutRegistryValue(0, shell::kBasicKeyPath, "UpdateServer", exchange::kUpdateSection, hostile.Url(""));
        if (*list) d().AnswerMessage("cannot be used", fw::Button::Ok);
        d().AnswerMessage(kRetry, 2);
        d().Start(exchange::AutoUpdateWizard);
        d().Press("?NEXT");
        EXPECT_FALSE(d().IsOpen("P1$AUTOUPDATEWIZARD"));  // No to the list's retry ends the wizard
        EXPECT_EQ(hostile.Requests(), 1);                 // nothing but the list
        EXPECT_EQ(Installed(), before);
        EXPECT_EQ(d().UnusedAnswers(), 0u);
        ++n;
    }
    EXPECT_EQ(n, static_cast<int>(std::size(lists)));
}

TEST_F(WizardTest, ACrashBetweenTwoSwapsIsRolledBackAtTheNextStart) {
    const auto before = Installed();
    std::vector<exchange::InstallTarget> targets;
    for (const char* name : kSongBaseFiles) {
        const std::string base = std::string(name).substr(0, std::string(name).find('.'));
        WriteFile(install_ + "/" + name + ".new", Slurp(RootPath("new") + "/" + name));
        targets.push_back({name, std::string(name) + ".new", base + ".BAK"});
    }
    WriteFile(install_ + "/DISCS.BAK", "an older backup of DISCS.TPS");
    const auto withBackup = Installed();
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The install, killed between its second and third swap.
        exchange::SetSwapHook([](int swaps) {
            if (swaps == 2) ::kill(::getpid(), SIGKILL);
            return true;
        });
        exchange::SwapInStagedFiles(install_, targets);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(Has(exchange::kInstallJournalFile));
    EXPECT_NE(Live("MAIN.TPS"), before.at("MAIN.TPS"));  // the crash left a half-done install

    // The next start: the recovery runs before the frame opens.
    shell::PutRegistryValue(0, shell::kBasicKeyPath, "InstallDir", shell::kInstallSection, install_);
    shell::SetProgramProcedure("RecoverAutoUpdate", exchange::RecoverAutoUpdate);
    bool frameRan = false;
    shell::SetMainFrame([&] { frameRan = true; });
    d().Start(shell::ProgramStartup);
    shell::SetMainFrame(nullptr);
    shell::SetProgramProcedure("RecoverAutoUpdate", nullptr);
    EXPECT_TRUE(frameRan);
    for (const char* name : kSongBaseFiles) EXPECT_TRUE(Has(std::string(name) + ".new") == false) << name;
    auto after = Installed();
    EXPECT_EQ(after, [&] {
        auto expected = withBackup;
        for (const char* name : kSongBaseFiles) expected.erase(std::string(name) + ".new");
        return expected;
    }());
    ExpectNoLeftovers();
}

TEST_F(WizardTest, AnInstallMarkedDoneIsOnlyClearedUp) {
    WriteFile(install_ + "/MAIN.BAK.prev", "the backup before last");
    WriteFile(install_ + "/MAIN.BAK", "the old MAIN.TPS");
    WriteFile(install_ + "/" + exchange::kInstallJournalFile,
              "AUTOUPDATE-JOURNAL 1\ndone\n1 1 MAIN.TPS MAIN.TPS.new MAIN.BAK\n");
    const std::string live = Live("MAIN.TPS");
    std::string problem;
    EXPECT_TRUE(exchange::RecoverInterruptedInstall(install_, &problem)) << problem;
    EXPECT_EQ(Live("MAIN.TPS"), live);
    EXPECT_EQ(Live("MAIN.BAK"), "the old MAIN.TPS");
    ExpectNoLeftovers();
}

TEST_F(WizardTest, TheWelcomePageAndItsButtons) {
    std::int32_t outcome = -1;
    d().Start([&] {
        exchange::AutoUpdateWizard();
        outcome = shell::ActionOutcome();
    });
    EXPECT_EQ(d().Caption("P1$AUTOUPDATEWIZARD"), "AutoUpdate by Pellomar    (Cantorvale V2 Main SongBase Update)");
    EXPECT_FALSE(d().Enabled("?BACK"));
    d().Press("?CANCEL");
    EXPECT_FALSE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
}

TEST_F(WizardTest, Screenshots) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir) GTEST_SKIP() << "set CV_SCREENSHOT_DIR to save the pictures";
    {
        release::Channel c = DataChannel();
        c.program = Revision();
        LoopbackServer full;
        for (const auto& [path, bytes] : release::BuildChannel(c, secretKey_)) full.Serve(path, bytes);
        shell::PutRegistryValue(0, shell::kBasicKeyPath, "UpdateServer", exchange::kUpdateSection, full.Url(""));
        d().AnswerMessage(kIncluded, fw::Button::Yes);
        RunNext();
        EXPECT_TRUE(d().Screenshot("P1$SUCCESSWINDOW", std::string(dir) + "/autoupdate_success.png"));
        d().Press("?FINISHED");
        shell::PutRegistryValue(0, shell::kBasicKeyPath, "UpdateServer", exchange::kUpdateSection, server.Url(""));
    }
    server.ServeTrickle("/update/01/autoupdate2b.inf", 30);
    d().SetOutsideWaitLimit(0);
    d().Start(exchange::AutoUpdateWizard);
    EXPECT_TRUE(d().Screenshot("P1$AUTOUPDATEWIZARD", std::string(dir) + "/autoupdate_wizard.png"));
    d().Press("?NEXT");
    ASSERT_TRUE(d().PumpUntil([&] { return d().Text("?BYTESRECEIVEDSTRING").find("            0 of") != 0; }, 10000));
    d().PumpUntil([] { return false; }, 600);
    EXPECT_TRUE(d().Screenshot("P8$PROGRESSWINDOW", std::string(dir) + "/autoupdate_download.png"));
    d().AnswerMessage(kRetry, 2);
    d().Press("?CANCEL", "P8$PROGRESSWINDOW");
}

TEST_F(WizardTest, TheFrameAndQuickStartRunTheWizardAndHoldTheirItemsMeanwhile) {
    exchange::RegisterExchangeProcedures();
    shell::PutRegistryValue(0, shell::kBasicKeyPath, "InstallDir", shell::kInstallSection, install_);
    d().Start(shell::ProgramStartup);
    ASSERT_TRUE(d().IsOpen("P1$APPFRAME"));
    for (auto [button, window] : {std::pair{"?BUTTON1:3", "P1$QUICKSTARTWINDOW"}, {"?FILEUPDATEDATAFILES", "P1$APPFRAME"}}) {
        SCOPED_TRACE(button);
        ASSERT_TRUE(d().Enabled(button, window));
        ASSERT_TRUE(d().Press(button, window));
        ASSERT_TRUE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
        EXPECT_FALSE(d().Enabled("?FILEOPENSONGBOOK", "P1$APPFRAME"));
        EXPECT_FALSE(d().Enabled("?FILEUPDATEDATAFILES", "P1$APPFRAME"));
        d().Press("?CANCEL", "P1$AUTOUPDATEWIZARD");
        EXPECT_FALSE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
        EXPECT_TRUE(d().Enabled("?FILEUPDATEDATAFILES", "P1$APPFRAME"));
        EXPECT_TRUE(d().Enabled("?BUTTON1:3", "P1$QUICKSTARTWINDOW"));
    }
    shell::SetAutoUpdateWizard(nullptr);
    shell::SetProgramProcedure("RecoverAutoUpdate", nullptr);
}

TEST_F(WizardTest, ATopSpeedFileFromTheServerIsConvertedWhileStaged) {
    tps_fixture::TablePlan t = tps_fixture::TrackTable(1, "UNNAMED");
    for (std::uint32_t n = 1; n <= 40; ++n)
        t.rows.emplace_back(n, tps_fixture::TrackRow("Song " + std::to_string(n), "Artist", "SC101", n, 1, "SC8101"));
    release::Channel c = DataChannel("40");
    c.data.resize(1);
    c.data[0].content = tps_fixture::Write({t});
    Publish(c);
    RunNext();
    ASSERT_TRUE(d().IsOpen("P1$SUCCESSWINDOW"));
    d().Press("?FINISHED");
    EXPECT_EQ(RecordsIn(install_ + "/MAIN.TPS"), 40);
    EXPECT_EQ(Live("MAIN.TPS").substr(0, 15), "SQLite format 3");
    EXPECT_EQ(Registry("DataFile"), "40");
    EXPECT_FALSE(Has("MAIN.TPS.new.tps-original"));
    ExpectNoLeftovers();
}

TEST_F(WizardTest, ACancelledListIsNoListAtAll) {
    LoopbackServer slow;
    slow.ServeTrickle("/update/01/autoupdate2b.inf", 20);
    shell::PutRegistryValue(0, shell::kBasicKeyPath, "UpdateServer", exchange::kUpdateSection, slow.Url(""));
    const auto before = Installed();
    d().SetOutsideWaitLimit(0);
    d().Start(exchange::AutoUpdateWizard);
    d().Press("?NEXT");
    ASSERT_TRUE(d().PumpUntil([&] { return d().Text("?BYTESRECEIVEDSTRING").find("            0 of") != 0; }, 10000));
    d().AnswerMessage(kRetry, 2);
    d().SetOutsideWaitLimit(30000);
    d().Press("?CANCEL", "P8$PROGRESSWINDOW");
    EXPECT_FALSE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
    EXPECT_EQ(Installed(), before);
    EXPECT_FALSE(Has("autoupdate.lst"));
    EXPECT_EQ(slow.Requests(), 1);
}

TEST_F(WizardTest, NextAgainAfterAFailureStartsOverWithTheRightCount) {
    const auto before = Installed();
    auto files = release::BuildChannel(DataChannel());
    files["/update/01/STITLE.Z"][45] ^= 0x21;
    LoopbackServer broken;
    for (const auto& [path, bytes] : files) broken.Serve(path, bytes);
    shell::PutRegistryValue(0, shell::kBasicKeyPath, "UpdateServer", exchange::kUpdateSection, broken.Url(""));
    d().AnswerMessage("Input Data Corrupted", fw::Button::Ok);
    d().AnswerMessage("Error uncompressing ", fw::Button::Ok);
    d().AnswerMessage(kRestored, fw::Button::Ok);
    RunNext();
    ASSERT_TRUE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
    EXPECT_EQ(Installed(), before);
    // The server is mended; Next again in the same wizard installs.
    Publish(DataChannel());
    shell::PutRegistryValue(0, shell::kBasicKeyPath, "UpdateServer", exchange::kUpdateSection, server.Url(""));
    d().Press("?NEXT");
    ASSERT_TRUE(d().IsOpen("P1$SUCCESSWINDOW"));
    d().Press("?FINISHED");
    EXPECT_EQ(Live("STITLE.TPS"), Slurp(RootPath("new") + "/STITLE.TPS"));
    EXPECT_EQ(Registry("DataFile"), std::to_string(kNewTracks));
}
