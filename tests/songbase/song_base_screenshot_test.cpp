// Pictures of the song-base windows on a generated song base, when
// CV_SCREENSHOT_DIR names a folder.
#include "song_base_fixture.h"

#include "platform/ui/events.h"
#include "songbase/browse_song_base.h"
#include "songbase/search_song_base.h"
#include "tools/songbase_gen/generator/data_file_sink.h"
#include "tools/songbase_gen/generator/songbase_generator.h"

#include <cstdlib>

using namespace song_base_test;

namespace {

TEST_F(SongBaseTest, ScreenshotWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    songbase_gen::MemorySongBase base;
    songbase_gen::Options o;
    o.tracks = 4000;
    songbase_gen::Generate(o, base);
    {
        songbase_gen::DataFileSongBase files(Folder());
        for (const auto& r : base.brands) files.AddBrand(r);
        for (const auto& r : base.tracks) files.AddTrack(r);
        for (const auto& r : base.titles) files.AddTitle(r);
        for (const auto& r : base.artists) files.AddArtist(r);
        ASSERT_EQ(files.Finish(), "");
    }
    // A book with every other track of the first discs.
    std::vector<song_book_test::Listing> listings;
    for (std::size_t i = 0; i < 1500; i += 2)
        listings.push_back({base.tracks[i].Title.Str(), base.tracks[i].Artist.Str(), base.tracks[i].UnqDiskID.Str(),
                            base.tracks[i].DiskTrackNo});
    MakeBook("Party", {}, listings);
    Open();

    d.Press("?VIEWMAIN", song_book_test::kSongBookWindow);
    d.Choose("?CURRENTTAB", 2, kBrowseWindow);
    d.Choose("?LIST", 3, kBrowseWindow);
    EXPECT_TRUE(d.Screenshot(kBrowseWindow, std::string(dir) + "/" + kBrowseWindow + ".png"));
    d.Press("?CLOSE", kBrowseWindow);

    d.Press("?SEARCHMAIN", song_book_test::kSongBookWindow);
    d.Choose("?SEARCHBY", 2, kSearchWindow);
    d.Type("?SEARCHFIELD", base.tracks[10].Artist.Str().substr(0, 4), kSearchWindow);
    d.Press("?BUTTON6", kSearchWindow);
    d.Choose("?LIST:4", 2, kSearchWindow);
    EXPECT_TRUE(d.Screenshot(kSearchWindow, std::string(dir) + "/" + kSearchWindow + ".png"));
    d.Press("?CHANGE:2", kSearchWindow);
    EXPECT_TRUE(d.Screenshot(kDiscTracksWindow, std::string(dir) + "/" + kDiscTracksWindow + ".png"));
    d.Press("?CLOSE", kDiscTracksWindow);
    d.Choose("?SEARCHBY", 1, kSearchWindow);
    d.Type("?SEARCHFIELD", "love", kSearchWindow);
    d.Press("?BUTTON6", kSearchWindow);
    EXPECT_TRUE(d.Screenshot(kSearchWindow, std::string(dir) + "/" + kSearchWindow + "-titles.png"));
}

}  // namespace
