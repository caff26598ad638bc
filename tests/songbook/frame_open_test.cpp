// The frame's Open runs the song-book window, which chooses its book in
// the SongBook File Explorer; Open stays off until that window has ended.
#include "tests/shell/window_fixture.h"

#include "shell/program_procedures.h"
#include "songbook/browse_song_book.h"

namespace {

constexpr const char* kFrame = "P1$APPFRAME";
constexpr const char* kExplorer = "P1$SONGBOOKEXPLORER";

class FrameOpenTest : public ShellWindowTest {
protected:
    void SetUp() override {
        ShellWindowTest::SetUp();
        shell::SetBrowseSongBook(songbook::BrowseSongBook);
    }
    void TearDown() override {
        shell::SetBrowseSongBook(nullptr);
        ShellWindowTest::TearDown();
    }
};

TEST_F(FrameOpenTest, OpenReachesTheExplorerAndCancelGivesOpenBack) {
    StartProgram();
    ASSERT_TRUE(d().Enabled("?FILEOPENSONGBOOK", kFrame));
    d().Press("?FILEOPENSONGBOOK", kFrame);
    ASSERT_TRUE(d().IsOpen(kExplorer));
    EXPECT_FALSE(d().Enabled("?FILEOPENSONGBOOK", kFrame));

    d().Press("?BUTTON11", kExplorer);  // Cancel: no book chosen
    EXPECT_FALSE(d().IsOpen(kExplorer));
    EXPECT_FALSE(d().IsOpen("P1$BROWSEWINDOW"));
    EXPECT_TRUE(d().Enabled("?FILEOPENSONGBOOK", kFrame));
}

}  // namespace
