#pragma once
// A Main SongBase of a few tracks in the test folder, beside the books of
// song_book_fixture.h, for the song-base windows on the test driver.

#include "song_book_window_fixture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace song_base_test {

struct Track {
    std::string title;
    std::string artist;
    std::string unq;  // unique disc ID
    std::uint16_t track = 1;
    std::int32_t makeId = 1;
    std::string diskId;  // Mfg. disc ID as printed; the unique one when empty
};
struct Brand {
    std::int32_t id;
    std::string name;
};
struct MfrDisc {
    std::int32_t makeId;
    std::string unq;
    std::string diskId;
};

inline constexpr const char* kBrowseWindow = "P1$SONGBASEBROWSE";
inline constexpr const char* kTrackForm = "P1$SONGBASETRACKFORM";
inline constexpr const char* kDiscTracksWindow = "P1$SONGBASEDISCTRACKS";
inline constexpr const char* kSearchWindow = "P1$SONGBASESEARCH";

class SongBaseTest : public song_book_test::SongBookWindowTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // KARAOKE with these tracks (in this record order), DMake with these
    // brands, and the search lists: every distinct title, and every
    // distinct artist cut to 25 characters.
    void MakeSongBase(const std::vector<Track>& tracks, const std::vector<Brand>& brands);
    // The song base's discs (DISCS.TPS), in this record order.
    void MakeDiscs(const std::vector<MfrDisc>& discs);
    // Another station changes the first track titled `title`: a program
    // thread of its own reads and writes it through its own instance.
    void ChangeTitleElsewhere(const std::string& title, const std::string& changed);
    // The stored tracks as "title/artist/unq/track", in record order.
    std::vector<std::string> StoredTracks() const;

    // A list's cell colours as "fg,bg,selectedFg,selectedBg" (Windows
    // colour values, hex), row and column from 1.
    std::string CellColors(const char* list, int row, int column, const char* window) const;
    std::string ListFormat(const char* list, const char* window) const;

    int beeps = 0;
};

}  // namespace song_base_test
