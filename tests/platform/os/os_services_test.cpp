#include "platform/os/beep.h"
#include "platform/os/desktop_opener.h"
#include "platform/os/help.h"
#include "platform/os/os_version.h"
#include "platform/os/program_font.h"
#include "platform/os/web_address.h"

#include <QFontDatabase>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Records what would be opened instead of starting a browser.
class OpenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::SetDesktopOpener([this](const QUrl& url) { opened_.push_back(url.toString().toStdString()); });
        std::string pattern = (fs::temp_directory_path() / "cv-os-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        fw::SetDesktopOpener(nullptr);
        fs::remove_all(root_);
    }
    void Touch(const fs::path& p) {
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "<html></html>";
    }

    std::vector<std::string> opened_;
    fs::path root_;
};

using Help = OpenerTest;

TEST_F(Help, OpensTopicPagesOfTheHelpFolder) {
    Touch(root_ / "help" / "WorkingWithSongBook.htm");
    Touch(root_ / "help" / "index.htm");
    Touch(root_ / "help" / "AddingManufacturedDisc(s).htm");
    const std::string install = root_.string();
    const std::string url = "file://" + install + "/help/";
    struct Case { std::string folder; const char* topic; std::string want; };
    const Case cases[] = {
        {install, "WorkingWithSongBook.htm", url + "WorkingWithSongBook.htm"},
        {install, "::/AddingManufacturedDisc(s).htm", url + "AddingManufacturedDisc(s).htm"},
        {install, "::/::/WorkingWithSongBook.htm", url + "WorkingWithSongBook.htm"},  // doubled "::/"
        {install, "workingwithsongbook.HTM", url + "WorkingWithSongBook.htm"},        // any case
        {install, "", url + "index.htm"},                                             // no topic: the index
        {install + "\\", "WorkingWithSongBook.htm", url + "WorkingWithSongBook.htm"},
        {install, "NoSuchPage.htm", ""},
        {install, "../help/index.htm", ""},
        {install, "..", ""},
        {"", "index.htm", ""},
        {(root_ / "elsewhere").string(), "index.htm", ""},
    };
    for (const auto& c : cases) {
        opened_.clear();
        EXPECT_EQ(fw::ShowHelpTopic(c.folder, c.topic) == fw::OpenResult::Opened, !c.want.empty()) << c.topic;
        if (c.want.empty()) EXPECT_TRUE(opened_.empty()) << c.topic;
        else EXPECT_EQ(opened_, std::vector<std::string>{c.want}) << c.topic;
    }
}

using WebAddress = OpenerTest;

TEST_F(WebAddress, OpensHttpAndHttpsOnly) {
    struct Case { std::string text; const char* want; };
    const Case cases[] = {
        {"http://www.example.com/", "http://www.example.com/"},
        {"https://example.com/songs?x=1", "https://example.com/songs?x=1"},
        {"  www.example.com  ", "http://www.example.com"},
        {"HTTP://EXAMPLE.COM", "http://example.com"},
        {"file:///etc/passwd", nullptr},
        {"/etc/passwd", nullptr},
        {"mailto:host@example.com", nullptr},
        {"javascript:alert(1)", nullptr},
        {"ftp://example.com", nullptr},
        {"", nullptr},
        {"   ", nullptr},
        {"http://", nullptr},
    };
    for (const auto& c : cases) {
        opened_.clear();
        EXPECT_EQ(fw::OpenWebAddress(c.text) == fw::OpenResult::Opened, c.want != nullptr) << c.text;
        if (c.want) EXPECT_EQ(opened_, std::vector<std::string>{c.want}) << c.text;
        else EXPECT_TRUE(opened_.empty()) << c.text;
    }
    // Only the first 255 characters are taken.
    opened_.clear();
    const std::string longAddress = "http://example.com/" + std::string(300, 'a');
    EXPECT_EQ(fw::OpenWebAddress(longAddress), fw::OpenResult::Opened);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], longAddress.substr(0, 255));
}

TEST(OsVersion, ReportsWindowsNt51) {
    fw::OsVersionInfo info;
    ASSERT_TRUE(fw::GetVersionEx(info));
    EXPECT_EQ(info.size, 148u);
    EXPECT_EQ(info.platformId, 2u);
    EXPECT_EQ(info.majorVersion, 5u);
    EXPECT_EQ(info.minorVersion, 1u);

    fw::OsVersionInfo nine;
    nine.platformId = 1;
    nine.majorVersion = 4;
    nine.minorVersion = 10;
    fw::SetOsVersionForTests(nine);
    ASSERT_TRUE(fw::GetVersionEx(info));
    EXPECT_EQ(info.majorVersion, 4u);
    fw::SetOsVersionForTests(std::nullopt, true);
    EXPECT_FALSE(fw::GetVersionEx(info));
    fw::SetOsVersionForTests(std::nullopt);
    ASSERT_TRUE(fw::GetVersionEx(info));
    EXPECT_EQ(info.majorVersion, 5u);
}

TEST(Beep, GoesThroughTheHandler) {
    std::vector<unsigned> sounds;
    fw::SetBeepHandler([&](unsigned s) { sounds.push_back(s); });
    fw::BEEP();
    fw::BEEP(fw::BeepSystemExclamation);
    EXPECT_EQ(sounds, (std::vector<unsigned>{fw::BeepSystemDefault, fw::BeepSystemExclamation}));
    fw::SetBeepHandler(nullptr);
    fw::BEEP();  // the desktop's sound; nothing to see offscreen, but it must not fail
}

TEST(ProgramFont, AddAndRemoveByName) {
    const fs::path source = "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf";
    if (!fs::exists(source)) GTEST_SKIP() << "fonts-liberation2 is not installed";
    std::string pattern = (fs::temp_directory_path() / "cv-font-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path install = pattern;
    fs::copy_file(source, install / "slash_0.ttf");

    EXPECT_FALSE(fw::AddFontResource("SLASH_0.TTF"));           // not in the current folder
    EXPECT_FALSE(fw::RemoveFontResource("SLASH_0.TTF"));        // nothing added yet
    EXPECT_TRUE(fw::AddFontResource("SLASH_0.TTF", install.string()));  // found whatever its case
    EXPECT_TRUE(QFontDatabase::families().contains("Liberation Mono"));
    EXPECT_TRUE(fw::AddFontResource("slash_0.ttf", install.string()));  // already added
    EXPECT_TRUE(fw::RemoveFontResource("Slash_0.ttf"));
    EXPECT_FALSE(fw::RemoveFontResource("SLASH_0.TTF"));
    EXPECT_FALSE(fw::AddFontResource("", install.string()));
    EXPECT_FALSE(fw::AddFontResource("missing.ttf", install.string()));
    fs::remove_all(install);
}

}  // namespace
