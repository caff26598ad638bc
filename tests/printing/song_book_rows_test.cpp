// The printed rows of the ten song-book layouts: one line per band placed
// (its fields, the rule and the band box) and one per page start, for a
// small book at six lines a column, compared with the golden logs in
// tests/printing/golden. Run with CV_UPDATE_GOLDEN=1 to rewrite them after
// a deliberate change, and review the diff.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/text/codepage.h"
#include "platform/report/display_list.h"
#include "printing/song_book_print.h"

namespace printing {
namespace {

struct Disc {
    const char *unq, *alt;
};
const Disc kDiscs[] = {{"SC8125", "SC8125"}, {"CB90012", "CB12"}, {"PHM0401", "PH401"}, {"SF100", "SF-100"}};

// Title, artist, disc, track, omitted.
struct Listing {
    const char *title, *artist, *disc;
    unsigned track;
    bool omitted = false;
};
const Listing kBook[] = {
    {"Yesterday", "The Beatles", "SC8125", 5},
    {"Let It Be", "The Beatles", "SC8125", 6},
    {"Hey Jude", "The Beatles", "CB90012", 1},
    {"Help!", "The Beatles", "CB90012", 2},
    {"Something", "The Beatles", "CB90012", 3},
    {"Come Together", "The Beatles", "SF100", 12},
    {"Yesterday", "The Beatles", "CB90012", 4},  // a duplicate of the first
    {"Danny Boy", "Traditional", "PHM0401", 0},
    {"Bridge Over Troubled Water Again", "Simon & Garfunkel", "PHM0401", 2},
    {"The Sound Of Silence", "Simon & Garfunkel", "PHM0401", 3},
    {"Mrs. Robinson", "Simon & Garfunkel", "PHM0401", 4},
    {"Supercalifragilisticexpialidocious", "Julie Andrews", "SF100", 7},
    {"Rolling In The Deep", "Adele", "SF100", 1},
    {"Someone Like You", "Adele", "SF100", 2},
    {"Hello", "Adele", "*", 7},
    {"Set Fire To The Rain", "Adele", "SF100", 3},
    {"Skyfall", "Adele", "SF100", 4},
    {"Chasing Pavements", "Adele", "SF100", 5},
    {"Make You Feel My Love", "Adele", "SF100", 6},
    {"Islands In The Stream", "Kenny Rogers and Dolly Parton Duet", "CB90012", 9},
    {"Jolene", "Dolly Parton", "CB90012", 10},
    {"9 To 5", "Dolly Parton", "CB90012", 11},
    {"Omitted Song", "Nobody", "SC8125", 9, true},
    {"Bohemian Rhapsody", "Queen", "SC8125", 1},
    {"We Will Rock You", "Queen", "SC8125", 2},
    {"Don't Stop Me Now", "Queen", "SC8125", 3},
    {"Under Pressure", "Queen and David Bowie", "SC8125", 4},
    {"Walking On Sunshine", "Katrina and the Waves", "", 3},  // no disc record
    {"Africa", "Toto", "PHM0401", 6},
    {"Hold The Line", "Toto", "PHM0401", 7},
    {"Crazy", "Patsy Cline", "SF100", 8},
    {"Crazy", "Gnarls Barkley", "SF100", 9},
};

// The book in the report's key order (artist or title, then the other, then track).
std::vector<SongListing> InKeyOrder(ReportSort sort) {
    std::vector<SongListing> out;
    for (const Listing& l : kBook) {
        SongListing s;
        s.title = l.title;
        s.artist = l.artist;
        s.unqDiskId = l.disc;
        s.makeId = std::string(l.disc).substr(0, 2);
        s.track = l.track;
        s.omitted = l.omitted;
        out.push_back(s);
    }
    std::stable_sort(out.begin(), out.end(), [sort](const SongListing& a, const SongListing& b) {
        const bool byArtist = sort == ReportSort::Artist;
        if (int c = fw::CompareFolded(byArtist ? a.artist : a.title, byArtist ? b.artist : b.title)) return c < 0;
        if (int c = fw::CompareFolded(byArtist ? a.title : a.artist, byArtist ? b.title : b.artist)) return c < 0;
        return a.track < b.track;
    });
    return out;
}

// The book and its discs into a run, laid out.
void LayTheBook(SongBookPrint& run, ReportSort sort) {
    for (const SongListing& l : InKeyOrder(sort)) run.Add(l);
    for (const Disc& d : kDiscs) run.AddDisc(d.unq, d.alt);
    run.Lay(static_cast<long>(std::size(kBook)));
}

// The whole run of a layout: its log lines and the pages made.
std::string RunLog(SongBookLayout layout, const PrintSetup& settings, unsigned char plainRows, int lines, int* pages = nullptr) {
    SongBookPrint run(layout, settings, plainRows, lines);
    std::ostringstream log;
    run.SetRowLog([&log](const std::string& line) { log << line << "\n"; });
    LayTheBook(run, TraitsOf(layout).sort);
    while (run.Next() == 0) run.PrintRow();
    run.PrintTrailingRows();
    fw::report::PageList made = run.Finish();
    if (pages) *pages = made.Count();
    log << "END pages=" << made.Count() << "\n";
    return log.str();
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

constexpr SongBookLayout kLayouts[] = {
    SongBookLayout::TitleBanded,         SongBookLayout::ArtistBanded,         SongBookLayout::TitleShortLong,
    SongBookLayout::ArtistShortLong,     SongBookLayout::TitleGrouped,         SongBookLayout::ArtistGrouped,
    SongBookLayout::TitleTwoColumn,      SongBookLayout::ArtistTwoColumn,      SongBookLayout::TitleTwoColumnGrouped,
    SongBookLayout::ArtistTwoColumnGrouped};

// Medium print (wrapping at 30/20 in one column, 20/14 or 20/16 in two),
// the Mfr. column, duplicates left out; then the
// paper saver (the flat layouts), All Caps, duplicates kept, binding
// offsets and plain rows.
TEST(SongBookRows, EveryLayoutPrintsItsGoldenRows) {
    const std::filesystem::path folder = std::filesystem::path(CV_SOURCE_DIR) / "tests/printing/golden";
    const bool update = std::getenv("CV_UPDATE_GOLDEN") != nullptr;
    for (SongBookLayout layout : kLayouts) {
        const LayoutTraits traits = TraitsOf(layout);
        SCOPED_TRACE(std::string(traits.name));
        PrintSetup s;
        s.SetFonts = 2;
        s.ShowMake = 1;
        s.RemoveDuplicates = 1;
        s.StartingPageNumber = 3;
        std::string log = "# line queue, medium, Mfr., no duplicates, shaded\n" + RunLog(layout, s, 0, 6);
        s.WordWrap = 1;
        s.OffsetPages = 1;
        s.Offset = 80;
        s.CaseStyle = 2;
        s.ShowMake = 0;
        s.RemoveDuplicates = 0;
        log += "# song queue (flat layouts), all caps, duplicates kept, binding offsets, plain\n" + RunLog(layout, s, 1, 6);
        const std::filesystem::path golden = folder / (std::string(traits.name) + ".log");
        if (update) {
            std::filesystem::create_directories(folder);
            std::ofstream(golden, std::ios::binary | std::ios::trunc) << log;
            continue;
        }
        ASSERT_TRUE(std::filesystem::exists(golden)) << golden << ": run with CV_UPDATE_GOLDEN=1 to make it";
        EXPECT_EQ(log, ReadText(golden)) << "rows of " << traits.name << " differ from " << golden;
    }
}

// The settings are read as the rows print: a change made in the designer
// during a run reaches the rows printed after it.
TEST(SongBookRows, SettingsChangedDuringARunReachTheRowsPrintedAfterIt) {
    PrintSetup s;
    s.SetFonts = 2;
    s.WordWrap = 1;
    std::vector<std::string> lines;
    SongBookPrint run(SongBookLayout::ArtistShortLong, s, 0, 6);
    run.SetRowLog([&lines](const std::string& line) { lines.push_back(line); });
    LayTheBook(run, ReportSort::Artist);
    ASSERT_EQ(run.Next(), 0);
    run.PrintRow();
    s.ShowMake = 1;
    s.CaseStyle = 2;
    ASSERT_EQ(run.Next(), 0);
    run.PrintRow();
    ASSERT_EQ(lines.size(), 3u);  // the page, then two rows
    EXPECT_NE(lines[1].find("SBK:Title=\"Chasing Pavements\" MFR=\"\""), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("SBK:Title=\"HELLO\" MFR=\"*\""), std::string::npos) << lines[2];
}

// One listing in two columns: one page, its right column empty; an empty
// queue opens no report at all.
TEST(SongBookRows, OneListingMakesOnePageAndNoneMakesNoReport) {
    PrintSetup s;
    s.SetFonts = 2;
    SongBookPrint one(SongBookLayout::ArtistTwoColumn, s, 0);
    std::vector<std::string> lines;
    one.SetRowLog([&lines](const std::string& line) { lines.push_back(line); });
    one.Add(InKeyOrder(ReportSort::Artist).front());
    one.Lay(1);
    ASSERT_FALSE(one.Empty());
    EXPECT_EQ(one.Lines(), 50);
    while (one.Next() == 0) one.PrintRow();
    EXPECT_EQ(one.Finish().Count(), 1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find("LINE:2=none ARTIST:2=\"\" TITLE:2=\"\""), std::string::npos) << lines[1];

    SongBookPrint none(SongBookLayout::TitleBanded, s, 0);
    SongListing omitted = InKeyOrder(ReportSort::Title).front();
    omitted.omitted = true;
    none.Add(omitted);
    none.Lay(1);
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(none.Next(), 33);
    EXPECT_EQ(none.ReportOf(), nullptr);
    EXPECT_EQ(none.Finish().Count(), 0);
}

// The report set up from the settings: A4 and its band positions, the
// body size and the styles and colours of each element group, the by-line
// left out, the Mfr. prompt emptied without the column.
TEST(SongBookRows, TheReportIsSetUpFromTheSettings) {
    PrintSetup s;
    s.PaperType = 2;
    s.SetFonts = 3;
    s.ReportHeader = "Karaoke Night";
    s.HeaderSetBold = 1;
    s.HeaderSetItalic = 1;
    s.HeaderColor = 0x0000FF;
    s.BodyColor = 0x112233;
    s.TitleBold = 1;
    s.ArtistItalics = 1;
    s.ColumnBarFill = 0x00FF00;
    s.ShowTM = 1;
    s.ShowMake = 0;
    s.PrintFont = "Times New Roman";
    SongBookPrint run(SongBookLayout::ArtistShortLong, s, 0);
    LayTheBook(run, ReportSort::Artist);
    EXPECT_EQ(run.Lines(), 52);
    while (run.Next() == 0) run.PrintRow();
    fw::report::PageList pages = run.Finish();
    ASSERT_EQ(pages.Count(), 1);
    const std::string dump = fw::report::DumpPage(pages.Load(0), 1);
    for (const char* expected : {
             "page 1 number 1 8268x11693 portrait",
             "\"Arial\" 16 4796 color=0000FF centre clip \"Karaoke Night\"",  // header: bold italic, its colour
             "box 334,630,7600,230 border=000000/10 fill=00FF00",          // the column bar in the middle of the A4 sheet
             "\"Times New Roman\" 12 700 color=112233 left clip \"Chasing Pavements\"",  // title: bold, body colour
             "\"Times New Roman\" 12 4096 color=112233 left clip \"Adele\"",             // artist: italic
             "text 334,10750,",                                            // the footer at y 10750
         })
        EXPECT_NE(dump.find(expected), std::string::npos) << expected << "\n" << dump.substr(0, 3000);
    EXPECT_EQ(dump.find("Printed with"), std::string::npos);  // ShowTM: no by-line
    EXPECT_EQ(dump.find("\"Mfr.\""), std::string::npos);      // no Mfr. column
}

}  // namespace
}  // namespace printing
