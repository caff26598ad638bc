// Every number picture of every window layout (entries, spins, strings and
// list columns) shows the largest and the smallest value the program puts
// there whole, never as a row of "#".
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/text/picture.h"
#include "platform/ui/layout.h"
#include "platform/ui/widgets/list_format.h"

namespace {

struct NumberPicture {
    const char* window;
    const char* equate;  // a list's columns: each of its number columns
    double smallest, largest;
};

constexpr double kSongBaseTracks = 10'000'000;  // the largest song base the program serves
constexpr double kTrackNumber = 4294967295.0;   // a listing's track number (32 bits)
constexpr double kSongBaseTrack = 65535;        // a song-base track number (16 bits)

const NumberPicture kPictures[] = {
    {"DisplayLayoutWindow", "?PAGESACROSS", 1, 10},
    {"DisplayLayoutWindow", "?PAGESDOWN", 1, 10},
    // The track-adding worker's counts: up to every track of the song base.
    {"P1$ADDDISCTRACKS", "?TRACKSADDED", 0, kSongBaseTracks},
    {"P1$ADDDISCTRACKS", "?DUPTRACKS", 0, kSongBaseTracks},
    {"P1$ADDDISCTRACKS", "?DISCSNOTADDED", 0, kSongBaseTracks},
    {"P1$ADDMFRDISCS", "?LIST:3", 0, kSongBaseTrack},
    {"P1$ADDSONGTRACKS", "?SBK:DISKTRACKNO", 0, 999999},
    {"P1$ADDSONGTRACKS", "?SBK:DISKTRACKNO:2", 0, 999999},
    // The song book's three lists: a listing's track number.
    {"P1$BROWSEWINDOW", "?LISTTITLE", 0, kTrackNumber},
    {"P1$BROWSEWINDOW", "?LISTARTIST", 0, kTrackNumber},
    {"P1$BROWSEWINDOW", "?LISTDISCID", 0, kTrackNumber},
    {"P1$CORRECTIMPORTCONFLICT", "?BAD:DISKTRACKNO", 0, kTrackNumber},
    {"P1$DESIGNER", "?STARTINGPAGENUMBER", 0, 65535},
    {"P1$DESIGNER", "?OFFSET", 0, 500},
    {"P1$DESIGNER", "?GLO:PAGEBREAKOFFSET", -5, 5},
    {"P1$DISCTRACKS", "?LIST", 0, kTrackNumber},
    {"P1$EXPORTSONGLISTINGS", "?LIST:2", 0, kTrackNumber},
    {"P1$IMPORTSONGLISTINGS", "?LIST", 0, kTrackNumber},
    {"P1$LISTINGFORM", "?SBK:DISKTRACKNO", 0, kTrackNumber},
    // The AutoNumber proposal: up to the largest number it hands out.
    {"P1$MULTITAGOPTIONS", "?BATCHSTARTINGNUMBER", 0, 999'999'999},
    {"P1$PAGEBREAKOFFSET", "?GLO:PAGEBREAKOFFSET", -5, 5},
    {"P1$REQUESTCARDSETUP", "?NUMBEROFSLIPS", 1, 999},
    // Song-base tracks and the count of a disc's tracks the book has too.
    {"P1$SONGBASEBROWSE", "?LIST", 0, kSongBaseTrack},
    {"P1$SONGBASEDISCTRACKS", "?LIST", 0, kSongBaseTrack},
    {"P1$SONGBASESEARCH", "?LIST:2", 0, kSongBaseTrack},
    {"P1$SONGBASESEARCH", "?LIST:4", 0, kSongBaseTrack},
    {"P1$SONGBASETRACKFORM", "?KAR:DISKTRACKNO", 0, kSongBaseTrack},
};

bool IsNumberPicture(const std::string& p) { return fw::IsNumberPicture(p); }

// The control's number pictures: its own, or its list columns'.
std::vector<std::string> NumberPicturesOf(const fw::ControlLayout& c) {
    std::vector<std::string> pictures;
    if (IsNumberPicture(c.picture)) pictures.push_back(c.picture);
    if (!c.format.empty()) {
        std::string error;
        const auto format = fw::ui::ListFormat::Parse(c.format, &error);
        EXPECT_TRUE(format.has_value()) << c.equate << ": " << error << " in " << c.format;
        if (format)
            for (const fw::ui::ListColumn& col : format->columns)
                if (IsNumberPicture(col.picture)) pictures.push_back(col.picture);
    }
    return pictures;
}

class NumberPictures : public ::testing::Test {
protected:
    void SetUp() override { fw::SetLayoutFolder(CV_SOURCE_DIR "/resources/layouts"); }
    void TearDown() override { fw::SetLayoutFolder({}); }
};

TEST_F(NumberPictures, EachShowsTheLargestValueItIsGivenWhole) {
    std::set<std::string> listed, found;
    for (const NumberPicture& p : kPictures) listed.insert(std::string(p.window) + " " + p.equate);
    for (const std::string& label : fw::LayoutLabels()) {
        const fw::WindowLayout w = fw::LoadLayout(label);
        for (const fw::ControlLayout& c : w.controls)
            if (!NumberPicturesOf(c).empty()) found.insert(w.label + " " + c.equate);
    }
    EXPECT_EQ(found, listed) << "every number picture has its largest value in the table";

    for (const NumberPicture& p : kPictures) {
        const fw::WindowLayout real = fw::LoadLayout(p.window);
        const fw::ControlLayout* c = real.Find(p.equate);
        ASSERT_NE(c, nullptr) << p.window << " " << p.equate;
        for (const std::string& picture : NumberPicturesOf(*c)) {
            for (double v : {p.smallest, p.largest}) {
                const std::string shown = fw::FORMAT(v, picture);
                EXPECT_EQ(shown.find('#'), std::string::npos)
                    << p.window << " " << p.equate << " " << picture << " shows " << v << " as \"" << shown << "\"";
            }
        }
    }
}

}  // namespace
