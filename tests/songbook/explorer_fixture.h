#pragma once
// The explorer's window tests: a folder of books, the settings and
// songbook.ini in a temporary configuration folder, beeps counted, and a
// window placement that tests can read back.

#include "tests/songbook/book_fixture.h"

#include "platform/config/config_folder.h"
#include "platform/os/beep.h"
#include "platform/ui/testing/gtest_driver.h"
#include "shell/data_dictionary_globals.h"
#include "shell/window_placement.h"
#include "songbook/book_folder.h"
#include "songbook/book_paths.h"
#include "songbook/explorer_globals.h"
#include "songbook/song_book_file_explorer.h"

#include <filesystem>
#include <string>
#include <vector>

namespace book_test {

// Stands in for the window runtime's placement of the target window.
class FakePlacement : public shell::PlacementWindow {
public:
    bool Maximized() const override { return false; }
    bool Minimized() const override { return false; }
    bool Resizable() const override { return false; }
    shell::WindowGeometry NormalGeometry() const override { return geometry; }
    void SetNormalGeometry(const shell::WindowGeometry& g) override { geometry = g; }
    void SetMaximized(bool) override {}
    shell::WindowGeometry geometry{12, 34, 200, 100};
};

class ExplorerTest : public BookFolderTest {
protected:
    void SetUp() override {
        BookFolderTest::SetUp();
        cwd_ = fs::current_path();
        fw::SetConfigFolder((root() / "config").string());
        songbook::SaveDefaultFolder(Program(books()));
        fw::SetBeepHandler([this](unsigned sound) { beeps.push_back(sound); });
        shell::SetPlacementWindowProvider([this]() -> shell::PlacementWindow* { return &placement; });
        shell::SongBookName.Clear();
        songbook::CurrentFolder.clear();
        MakeBook(books(), "a.2bk", "a.2bd");
        MakeBook(books(), "B.SBK", "B.SBD");
        MakeBook(books(), "my.book.2bk", "my.book.2bd");
    }
    void TearDown() override {
        shell::SetPlacementWindowProvider(nullptr);
        fw::SetBeepHandler({});
        fw::SetConfigFolder("");
        fs::current_path(cwd_);
    }

    static std::string Program(const fs::path& p) { return songbook::ProgramPath(p.string()); }

    // Starts the explorer; `ended` and `result` tell how it ended.
    void StartExplorer() {
        d.Start([this] {
            songbook::SongBookFileExplorer();
            result = shell::SongBookName.Str();
            ended = true;
        });
        ASSERT_TRUE(d.IsOpen(kExplorer));
    }

    static constexpr const char* kExplorer = "P1$SONGBOOKEXPLORER";
    fw::testing::Driver d{fw::testing::GTestFailures()};
    std::vector<unsigned> beeps;
    FakePlacement placement;
    std::string result = "(still open)";
    bool ended = false;

private:
    fs::path cwd_;
};

}  // namespace book_test
