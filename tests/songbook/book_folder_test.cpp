// The folder the explorer starts in and the default folder setting.
#include "songbook/book_folder.h"
#include "songbook/explorer_globals.h"

#include "platform/config/settings_store.h"
#include "tests/platform/config/config_fixture.h"

#include <QDir>

namespace {

namespace fs = std::filesystem;

class StartFolderTest : public ConfigFolderTest {
protected:
    void SetUp() override {
        ConfigFolderTest::SetUp();
        fs::create_directories(root_ / "Books");
        WriteFile(RootPath("file.txt"), "a file, not a folder");
        songbook::CurrentFolder.clear();
    }
    void TearDown() override {
        songbook::CurrentFolder.clear();
        ConfigFolderTest::TearDown();
    }
    std::string Store() const { return fs::exists(fw::SettingsFilePath()) ? ReadFile(fw::SettingsFilePath()) : ""; }
};

TEST_F(StartFolderTest, SavedFolderOrTheFallback) {
    const std::string books = (root_ / "Books").string();
    struct Case {
        std::string saved;
        std::string start;
    } cases[] = {
        {"", "FALLBACK"},
        {"   ", "FALLBACK"},
        {RootPath("Gone"), "FALLBACK"},
        {RootPath("file.txt"), "FALLBACK"},
        {books, books},
        {books + "/  ", books},                    // trailing separator and blanks
        {root_.string() + "\\BOOKS", books},       // another case, a backslash: as spelt on disk
        {books + "/../Books/.", books},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("saved \"" + c.saved + "\"");
        EXPECT_EQ(songbook::ChooseStartFolder(c.saved, "FALLBACK"), c.start);
    }
}

TEST_F(StartFolderTest, MissingOrVanishedSettingStartsAtHomeAndStaysUnchanged) {
    const std::string home = QDir::homePath().toStdString();
    EXPECT_EQ(songbook::HomeFolder(), home);

    EXPECT_EQ(songbook::SavedDefaultFolder(), "");
    EXPECT_EQ(songbook::StartFolder(), home);
    EXPECT_EQ(Store(), "");  // nothing written

    const std::string gone = RootPath("Gone");
    songbook::SaveDefaultFolder(gone);
    const std::string stored = Store();
    EXPECT_EQ(songbook::SavedDefaultFolder(), gone);
    EXPECT_EQ(songbook::StartFolder(), home);
    EXPECT_EQ(Store(), stored);

    const std::string books = (root_ / "Books").string();
    songbook::SaveDefaultFolder(books);
    EXPECT_EQ(songbook::StartFolder(), books);
}

TEST_F(StartFolderTest, WithoutADefaultTheFolderListedLastIsListedAgain) {
    const std::string home = QDir::homePath().toStdString();
    const std::string books = (root_ / "Books").string();
    songbook::CurrentFolder = books;
    EXPECT_EQ(songbook::StartFolder(), books);
    songbook::CurrentFolder = RootPath("Gone");
    EXPECT_EQ(songbook::StartFolder(), home);
    // A saved default comes first.
    fs::create_directories(root_ / "Default");
    songbook::SaveDefaultFolder(RootPath("Default"));
    songbook::CurrentFolder = books;
    EXPECT_EQ(songbook::StartFolder(), RootPath("Default"));
}

}  // namespace
