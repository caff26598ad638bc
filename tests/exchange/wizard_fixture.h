#pragma once
// The AutoUpdate wizard over a temporary install folder: a small generated
// Main SongBase and a stand-in program file there, a fresh settings store
// whose update server is a loopback server, a release key of the test's
// own, and the test driver.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "exchange/autoupdate_wizard.h"
#include "exchange/download_file.h"
#include "exchange/install_journal.h"
#include "exchange/program_revision.h"
#include "platform/os/release_signature.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_layer.h"
#include "shell/program_startup.h"
#include "shell/registry.h"
#include "shell/window_runtime.h"
#include "tests/exchange/loopback_server.h"
#include "tests/platform/config/config_fixture.h"
#include "tools/release_tool/channel_builder.h"
#include "tools/songbase_gen/generator/data_file_sink.h"
#include "tools/songbase_gen/generator/songbase_generator.h"

namespace wizard_test {

namespace fs = std::filesystem;

inline const char* const kSongBaseFiles[] = {"MAIN.TPS", "DISCS.TPS", "DMAKE.TPS", "SARTIST.TPS", "STITLE.TPS"};
inline constexpr const char* kOldProgram = "#!/bin/sh\necho the old program\n";

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A generated song base of that many tracks, written into folder.
inline void MakeSongBase(const std::string& folder, int tracks, std::uint64_t seed) {
    fs::create_directories(folder);
    songbase_gen::Options options;
    options.tracks = tracks;
    options.seed = seed;
    songbase_gen::DataFileSongBase files(folder);
    songbase_gen::Generate(options, files);
    ASSERT_EQ(files.Finish(), "");
}

class WizardTest : public ConfigFolderTest {
protected:
    void SetUp() override {
        ConfigFolderTest::SetUp();
        shell::InitialiseSharedGlobals();
        shell::ConnectWindowRuntime();
        shell::ConnectDataLayer();
        install_ = RootPath("Karaoke");
        ResetInstall();
        shell::InstallFolder = install_;
        shell::SetSongBaseFileNames(install_);
        shell::OsVersionInfo = fw::OsVersionInfo{};
        fw::GetVersionEx(shell::OsVersionInfo);
        shell::OsName = "XP";
        shell::PutRegistryValue(0, shell::kBasicKeyPath, "UpdateServer", exchange::kUpdateSection, server.Url(""));
        fw::MakeSigningKeys(publicKey_, secretKey_);
        exchange::SetReleasePublicKeyForTests(publicKey_);
        MakeSongBase(RootPath("new"), kNewTracks, 2);
        driver = std::make_unique<fw::testing::Driver>(fw::testing::GTestFailures());
    }
    void TearDown() override {
        driver.reset();
        exchange::SetReleasePublicKeyForTests({});
        exchange::SetInstalledProgramForTests({});
        exchange::SetSwapHook({});
        exchange::SetInstallStepHook({});
        shell::DisconnectDataLayer();
        shell::DisconnectWindowRuntime();
        shell::InitialiseSharedGlobals();
        ConfigFolderTest::TearDown();
    }

    fw::testing::Driver& d() { return *driver; }

    // The install folder as installed: the old song base and program. The
    // program itself is a scratch one (a revision must never replace the
    // test), installed in a program folder of its own and started by the
    // usual command, a link in bin/.
    void ResetInstall() {
        fs::remove_all(install_);
        MakeSongBase(install_, kOldTracks, 1);
        WriteFile(install_ + "/DIDAZAVUZEZ2O.EXE", kOldProgram);
        WriteFile(install_ + "/help/index.htm", "<html></html>");
        fs::remove_all(RootPath("program"));
        fs::remove_all(RootPath("bin"));
        WriteFile(ProgramFile(), kOldProgram);
        fs::permissions(ProgramFile(), fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
        fs::create_directories(RootPath("bin"));
        fs::create_symlink("../program/cantorvale", ProgramCommand());
        exchange::SetInstalledProgramForTests(ProgramCommand());
    }
    std::string ProgramFile() const { return RootPath("program") + "/cantorvale"; }
    std::string ProgramCommand() const { return RootPath("bin") + "/cantorvale"; }

    // The new song base's files as the channel's data records, MAIN.TPS first.
    std::vector<release::DataFile> NewData(int files = 5) const {
        std::vector<release::DataFile> data;
        for (int i = 0; i < files; ++i) {
            std::string name = kSongBaseFiles[i];
            data.push_back({name, name.substr(0, name.find('.')) + ".Z", Slurp(RootPath("new") + "/" + name)});
        }
        return data;
    }
    // The program's own file as a revision (an ELF program of this machine).
    static release::ProgramRevision Revision(const std::string& version = "2.6.2300") {
        return {version, "DIDAZAVUZEZ2O.EXE", "DIDAZAVUZEZ2O.PGM", Slurp("/proc/self/exe")};
    }
    // Serves a channel, with its revision signed by the test's release key
    // (or by another key; an empty one: unsigned).
    std::map<std::string, std::string> Publish(const release::Channel& channel) {
        return PublishSignedWith(channel, secretKey_);
    }
    std::map<std::string, std::string> PublishSignedWith(const release::Channel& channel, const std::string& key) {
        auto files = release::BuildChannel(channel, key);
        for (const auto& [path, bytes] : files) server.Serve(path, bytes);
        return files;
    }
    release::Channel DataChannel(const std::string& version = std::to_string(kNewTracks)) const {
        release::Channel c;
        c.dataVersion = version;
        c.data = NewData();
        return c;
    }

    // Every file of the install folder (not the downloads) with its bytes.
    std::map<std::string, std::string> Installed() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(install_)) {
            const std::string name = e.path().filename().string();
            if (!e.is_regular_file() || name.ends_with(".Z") || name.ends_with(".PGM") || name == "autoupdate.lst")
                continue;
            files[name] = Slurp(e.path().string());
        }
        return files;
    }
    std::string Live(const std::string& name) const { return Slurp(install_ + "/" + name); }
    bool Has(const std::string& name) const { return fs::exists(install_ + "/" + name); }
    std::string Registry(const std::string& value) const {
        return shell::GetRegistryValue(0, shell::kBasicKeyPath, "(none)", value, shell::kVersionSection);
    }
    // The wizard started and Next pressed.
    void RunNext() {
        d().Start(exchange::AutoUpdateWizard);
        ASSERT_TRUE(d().IsOpen("P1$AUTOUPDATEWIZARD"));
        d().Press("?NEXT");
    }
    void ExpectNoLeftovers() const {
        for (const auto& e : fs::directory_iterator(RootPath("program")))
            EXPECT_FALSE(e.path().filename().string().ends_with(".new")) << e.path();
        for (const auto& e : fs::directory_iterator(install_)) {
            const std::string name = e.path().filename().string();
            EXPECT_FALSE(name.ends_with(".new") || name.ends_with(".prev") || name == exchange::kInstallJournalFile ||
                         name.ends_with("-journal"))
                << name;
        }
    }

    static constexpr int kOldTracks = 60;
    static constexpr int kNewTracks = 75;
    LoopbackServer server;
    std::string install_;
    std::string publicKey_, secretKey_;
    std::unique_ptr<fw::testing::Driver> driver;
};

}  // namespace wizard_test
