#include "shell/program_startup.h"

#include "scripted_messages.h"
#include "shell/data_dictionary_globals.h"
#include "shell/os_name.h"
#include "shell/registry.h"
#include "tests/platform/config/config_fixture.h"

#include "platform/os/program_font.h"

#include <filesystem>

namespace {

TEST(OsName, TableOfPlatformsAndVersions) {
    struct Case { bool queried; unsigned long platform, major, minor; const char* name; };
    const Case cases[] = {
        {true, 1, 4, 0, "95"},      {true, 1, 4, 10, "98"},    {true, 1, 4, 90, "ME"},
        {true, 1, 4, 3, "UnKnown"}, {true, 2, 3, 51, "WIN 3.X"}, {true, 2, 4, 0, "NT 4.X"},
        {true, 2, 5, 0, "XP"},      {true, 2, 5, 1, "XP"},     {true, 2, 6, 1, "Vista"},
        {true, 2, 7, 0, "UnKnown"}, {true, 2, 10, 0, "UnKnown"}, {true, 0, 5, 1, ""},
        {true, 3, 5, 1, "UnKnown"}, {false, 2, 5, 1, "UnKnown"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shell::OsNameFor(c.queried, c.platform, c.major, c.minor), c.name)
            << c.platform << " " << c.major << "." << c.minor;
}

TEST(HelpFiles, CompiledHelpAboveMajorVersionFourElseOldStyle) {
    const auto modern = shell::ChooseHelpFiles("/opt/karaoke", 5);
    EXPECT_EQ(modern.helpFilePath, "/opt/karaoke/help/Mardo2.chm");
    EXPECT_EQ(modern.winHelpFilePath, "");
    const auto old = shell::ChooseHelpFiles("/opt/karaoke", 4);
    EXPECT_EQ(old.helpFilePath, "/opt/karaoke/help/Mardo2.hlp");
    EXPECT_EQ(old.winHelpFilePath, "/opt/karaoke/help/Mardo2.hlp");
}

class ProgramStartupTest : public ConfigFolderTest {
protected:
    void SetUp() override {
        ConfigFolderTest::SetUp();
        shell::InitialiseSharedGlobals();
        install_ = RootPath("Karaoke");
        std::filesystem::create_directories(install_);
        // Any font file serves as the program font.
        std::filesystem::copy_file("/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf",
                                   install_ + "/" + std::string(shell::kProgramFontFile));
    }
    void TearDown() override {
        shell::SetMainFrame(nullptr);
        fw::SetOsVersionForTests(std::nullopt);
        fw::RemoveFontResource(shell::kProgramFontFile);
        shell::InitialiseSharedGlobals();
        ConfigFolderTest::TearDown();
    }
    static void SetInstallDir(const std::string& value) {
        shell::PutRegistryValue(0, shell::kBasicKeyPath, "InstallDir", shell::kInstallSection, value);
    }

    std::string install_;
    ScriptedMessages messages;
};

TEST_F(ProgramStartupTest, NotInstalledShowsOnlyTheReinstallMessage) {
    struct Case { const char* name; std::optional<std::string> value; };
    const Case cases[] = {
        {"missing", std::nullopt}, {"zero", "0"}, {"zero and blanks", "0   "}, {"empty", ""}, {"blanks", "   "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(fw::SettingsFilePath());
        if (c.value) SetInstallDir(*c.value);
        messages.shown.clear();
        int frames = 0;
        shell::SetMainFrame([&] { ++frames; });
        shell::ProgramStartup();
        EXPECT_EQ(frames, 0);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "Incorrect Program Installation, Please Reinstall");
        EXPECT_EQ(messages.shown[0].caption, "Progam Halt");
        EXPECT_EQ(messages.shown[0].icon, shell::MessageIcon::Stop);
        EXPECT_EQ(messages.shown[0].buttons, shell::button::OK);
        EXPECT_FALSE(fw::RemoveFontResource(shell::kProgramFontFile)) << "the font was added";
        EXPECT_TRUE(shell::OsName.Blank());
        EXPECT_TRUE(shell::HelpFilePath.Blank());
    }
}

TEST_F(ProgramStartupTest, InstalledFolderStartsTheFrameWithTheFontAndEndsWithout) {
    SetInstallDir(install_ + "  ");
    bool fontDuringFrame = false;
    int frames = 0;
    shell::SetMainFrame([&] {
        ++frames;
        EXPECT_EQ(shell::InstallFolder.Str(), install_);
        EXPECT_EQ(shell::OsName.Str(), "XP");
        EXPECT_EQ(shell::HelpFilePath.Str(), install_ + "/help/Mardo2.chm");
        EXPECT_EQ(shell::WinHelpFilePath.Str(), "");
        EXPECT_EQ(shell::OsVersionInfo.majorVersion, 5u);
        // Adding again reports the font as present already.
        fontDuringFrame = fw::AddFontResource(shell::kProgramFontFile);
    });
    shell::ProgramStartup();
    EXPECT_EQ(frames, 1);
    EXPECT_TRUE(fontDuringFrame);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(fw::RemoveFontResource(shell::kProgramFontFile)) << "the font was not removed at the end";
}

TEST_F(ProgramStartupTest, OldOrUnknownSystemsGetTheOldStyleHelpFile) {
    SetInstallDir(install_);
    fw::OsVersionInfo nt4;
    nt4.platformId = 2;
    nt4.majorVersion = 4;
    fw::SetOsVersionForTests(nt4);
    ASSERT_TRUE(shell::StartProgram());
    EXPECT_EQ(shell::OsName.Str(), "NT 4.X");
    EXPECT_EQ(shell::WinHelpFilePath.Str(), install_ + "/help/Mardo2.hlp");

    fw::SetOsVersionForTests(std::nullopt, true);
    shell::InitialiseSharedGlobals();
    ASSERT_TRUE(shell::StartProgram());
    EXPECT_EQ(shell::OsName.Str(), "UnKnown");
    EXPECT_EQ(shell::OsVersionInfo.majorVersion, 0u);
    EXPECT_EQ(shell::HelpFilePath.Str(), install_ + "/help/Mardo2.hlp");
    EXPECT_EQ(shell::WinHelpFilePath.Str(), install_ + "/help/Mardo2.hlp");
    shell::EndProgram();
}

}  // namespace
