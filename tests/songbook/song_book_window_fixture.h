#pragma once
// The song-book window on the book "Party" of a temporary folder, driven
// through the test driver, with messages and warnings shown as the program
// shows them.

#include "songbook/browse_song_book.h"

#include "platform/ui/testing/gtest_driver.h"
#include "shell/window_runtime.h"

#include "song_book_fixture.h"

namespace song_book_test {

inline constexpr const char* kSongBookWindow = "P1$BROWSEWINDOW";

class SongBookWindowTest : public SongBookFolder {
protected:
    void SetUp() override {
        SongBookFolder::SetUp();
        shell::ConnectWindowRuntime();
        songbook::SetBookChooser([this] { return Path("Party.2bk"); });
        songbook::SetGettingStarted([] {});
    }
    void TearDown() override {
        if (d.IsOpen(kSongBookWindow)) d.Press("?CLOSE", kSongBookWindow);
        songbook::SetBookChooser(nullptr);
        songbook::SetGettingStarted(nullptr);
        shell::DisconnectWindowRuntime();
        SongBookFolder::TearDown();
    }
    void Open() {
        d.Start([] { songbook::BrowseSongBook(); });
        ASSERT_TRUE(d.IsOpen(kSongBookWindow));
    }

    fw::testing::Driver d{fw::testing::GTestFailures()};
};

}  // namespace song_book_test
