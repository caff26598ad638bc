#pragma once
// The shell's windows under the test driver: a fresh settings store and
// install folder (with a help index), the seams on the window runtime, the
// desktop opener recorded instead of a browser.

#include "shell/data_dictionary_globals.h"
#include "shell/program_procedures.h"
#include "shell/program_startup.h"
#include "shell/registry.h"
#include "shell/window_runtime.h"
#include "tests/platform/config/config_fixture.h"

#include "platform/os/desktop_opener.h"
#include "platform/ui/layout.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window_api.h"

#include <QUrl>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class ShellWindowTest : public ConfigFolderTest {
protected:
    void SetUp() override {
        ConfigFolderTest::SetUp();
        shell::InitialiseSharedGlobals();
        shell::ConnectWindowRuntime();
        install_ = RootPath("Karaoke");
        WriteFile(install_ + "/help/index.htm", "<html></html>");
        fw::SetDesktopOpener([this](const QUrl& url) {
            opened.push_back(url.toString().toStdString());
            return openerWorks;
        });
        driver = std::make_unique<fw::testing::Driver>(fw::testing::GTestFailures());
    }
    void TearDown() override {
        driver.reset();
        fw::SetNoTips(false);
        fw::SetDesktopOpener(nullptr);
        shell::SetBrowseSongBook(nullptr);
        shell::SetAutoUpdateWizard(nullptr);
        shell::SetMainFrame(nullptr);
        shell::DisconnectWindowRuntime();
        shell::InitialiseSharedGlobals();
        ConfigFolderTest::TearDown();
    }

    void SetInstallDir(const std::string& value) {
        shell::PutRegistryValue(0, shell::kBasicKeyPath, "InstallDir", shell::kInstallSection, value);
    }
    // The program as main() runs it, on an installed folder.
    void StartProgram() {
        SetInstallDir(install_);
        driver->Start(shell::ProgramStartup);
    }
    fw::testing::Driver& d() { return *driver; }

    std::string install_;
    std::vector<std::string> opened;  // URLs handed to the desktop
    bool openerWorks = true;          // false: the desktop has no browser
    std::unique_ptr<fw::testing::Driver> driver;
};

// A stand-in window for a procedure of a later part: opens, serves until
// closed. Its layout is made here, not shipped.
inline void ServeStandInWindow(const char* label) {
    fw::Window window(fw::ParseLayout(std::string("window ") + label +
                                          "\nat 10 10 100 40\ncontrol ?STANDINCLOSE button\n  text \"Close\"\n"
                                          "  at 4 4 40 14\n  std close\n",
                                      label));
    window.Open();
    while (fw::ACCEPT()) {
    }
}
