// Every song-book layout printed whole: for a book built to stress widths
// (40-character titles and artist names of wide letters, 15-character
// custom disc IDs, the largest track numbers, groups that run over column
// ends), in both sorts, the three font sizes, All Caps on and off, Letter
// and A4, binding offsets 0 and 500, page-break offsets -5 and +5, and
// for the flat layouts the paper saver too, each
// page's display list is checked as the printer draws it (every text
// inside its element, nothing outside the printable area, no text over
// another) and every listing prints exactly once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/report/page_check.h"
#include "platform/report/print_sink.h"
#include "platform/text/codepage.h"
#include "printing/song_book_print.h"

namespace printing {
namespace {

struct StressBook {
    std::vector<SongListing> listings;
    std::vector<std::pair<std::string, std::string>> discs;  // unique ID, custom ID
    std::vector<std::string> songNumbers;                     // what each listing's "Song #" must read
};

// Words of wide letters, to 40 characters.
std::string WideText(int seed, bool blanks) {
    static const char* kWords[] = {"WMW", "MWWM", "WWMWW", "MMW", "WMMWM", "MW", "WWWMMM", "MWMW"};
    std::string s;
    for (int i = 0; s.size() < 40; ++i) {
        if (!s.empty() && blanks) s += ' ';
        s += kWords[(seed + i * 3) % 8];
    }
    return s.substr(0, 40);
}

StressBook MakeStressBook() {
    StressBook b;
    // Eight discs with 15-character custom IDs; the last is numbered alike.
    for (int d = 0; d < 8; ++d) {
        char unq[16], alt[16];
        std::snprintf(unq, sizeof unq, "WMD%04d", d);
        std::snprintf(alt, sizeof alt, "MW%013d", 1234567 + d);
        b.discs.push_back({unq, alt});
    }
    std::vector<std::string> artists;
    for (int a = 0; a < 9; ++a) artists.push_back(WideText(a, a % 3 != 2));
    artists.push_back("The " + WideText(11, true).substr(0, 36));
    artists.push_back("Short");
    // Artists with many titles run over column and page ends, so their
    // groups go on under " (cont.)".
    int n = 0;
    for (std::size_t a = 0; a < artists.size(); ++a) {
        const int titles = a % 4 == 0 ? 70 : 9;
        for (int t = 0; t < titles; ++t, ++n) {
            SongListing l;
            const int disc = n % 8;
            const unsigned track = 99 - static_cast<unsigned>(n / 8) % 100;
            l.artist = artists[a];
            std::string title = WideText(n, n % 5 != 4);
            const std::string number = "#" + std::to_string(n);
            l.title = title.substr(0, 40 - number.size() - 1) + " " + number;
            if (n % 7 == 3) l.title = std::string(40 - number.size(), 'W') + number;  // no blank at all
            l.unqDiskId = b.discs[static_cast<std::size_t>(disc)].first;
            l.makeId = "WM";
            l.genre = "Country";
            l.track = track;
            b.listings.push_back(l);
            b.songNumbers.push_back(b.discs[static_cast<std::size_t>(disc)].second + "-" +
                                    (track < 10 ? "0" : "") + std::to_string(track));
        }
    }
    return b;
}

std::vector<SongListing> InKeyOrder(const StressBook& b, ReportSort sort) {
    std::vector<SongListing> out = b.listings;
    std::stable_sort(out.begin(), out.end(), [sort](const SongListing& x, const SongListing& y) {
        const bool byArtist = sort == ReportSort::Artist;
        if (int c = fw::CompareFolded(byArtist ? x.artist : x.title, byArtist ? y.artist : y.title)) return c < 0;
        if (int c = fw::CompareFolded(byArtist ? x.title : x.artist, byArtist ? y.title : y.artist)) return c < 0;
        return x.track < y.track;
    });
    return out;
}

// name="text" pairs of one row-log line.
std::map<std::string, std::string> Fields(const std::string& line) {
    std::map<std::string, std::string> out;
    std::size_t at = line.find(' ');
    while (at != std::string::npos && at < line.size()) {
        const std::size_t eq = line.find('=', at + 1);
        if (eq == std::string::npos) break;
        const std::string name = line.substr(at + 1, eq - at - 1);
        std::string value;
        std::size_t end;
        if (line[eq + 1] == '"') {
            end = line.find('"', eq + 2);
            value = line.substr(eq + 2, end - eq - 2);
            ++end;
        } else {
            end = line.find(' ', eq + 1);
            value = line.substr(eq + 1, end == std::string::npos ? std::string::npos : end - eq - 1);
        }
        out[name] = value;
        at = end;
    }
    return out;
}

// Every "Song #" printed, its pieces on continuation rows (no Mfr.) joined.
std::vector<std::string> PrintedSongNumbers(const std::vector<std::string>& log, bool twoColumns) {
    std::vector<std::string> out;
    std::string open[2];
    for (const std::string& line : log) {
        if (!line.starts_with("DETAIL")) continue;
        const auto f = Fields(line);
        for (int c = 0; c < (twoColumns ? 2 : 1); ++c) {
            const std::string s = twoColumns ? ":" + std::to_string(c + 1) : "";
            const std::string song = f.count("SONGNO" + s) ? f.at("SONGNO" + s) : "";
            const std::string mfr = f.count("MFR" + s) ? f.at("MFR" + s) : "";
            if (!mfr.empty()) {
                if (!open[c].empty()) out.push_back(open[c]);
                open[c] = song;
            } else if (!song.empty() && song != " ") {
                open[c] += song;
            }
        }
    }
    for (const std::string& s : open)
        if (!s.empty()) out.push_back(s);
    return out;
}

constexpr SongBookLayout kLayouts[] = {
    SongBookLayout::TitleBanded,         SongBookLayout::ArtistBanded,         SongBookLayout::TitleShortLong,
    SongBookLayout::ArtistShortLong,     SongBookLayout::TitleGrouped,         SongBookLayout::ArtistGrouped,
    SongBookLayout::TitleTwoColumn,      SongBookLayout::ArtistTwoColumn,      SongBookLayout::TitleTwoColumnGrouped,
    SongBookLayout::ArtistTwoColumnGrouped};

TEST(SongBookFit, EveryLayoutPrintsEveryTextWholeInsideThePrintableArea) {
    const StressBook book = MakeStressBook();
    std::vector<std::string> expected = book.songNumbers;
    std::sort(expected.begin(), expected.end());
    for (SongBookLayout layout : kLayouts) {
        const LayoutTraits traits = TraitsOf(layout);
        const std::vector<SongListing> ordered = InKeyOrder(book, traits.sort);
        for (int fonts = 1; fonts <= 3; ++fonts)
            for (int caps = 1; caps <= 2; ++caps)
                for (int paper = 1; paper <= 2; ++paper)
                    for (int offset : {0, 500})
                        for (int pageBreak : {-5, 5})
                          for (int paperSaver = 0; paperSaver <= (traits.grouped ? 0 : 1); ++paperSaver) {
                            PrintSetup s;
                            s.WordWrap = paperSaver;
                            s.SetFonts = fonts;
                            s.CaseStyle = caps;
                            s.PaperType = paper;
                            s.OffsetPages = offset > 0 ? 1 : 0;
                            s.Offset = offset;
                            s.PAGEBREAKOFFSET = pageBreak;
                            s.ShowMake = 1;
                            s.ReportHeader = std::string(35, 'W');
                            s.PrintSort = traits.sort == ReportSort::Artist ? 2 : 1;
                            const std::string what = std::string(traits.name) + " fonts " + std::to_string(fonts) +
                                                     " caps " + std::to_string(caps) + " paper " +
                                                     std::to_string(paper) + " offset " + std::to_string(offset) +
                                                     " page break " + std::to_string(pageBreak) +
                                                     (paperSaver ? " paper saver" : "");
                            SCOPED_TRACE(what);
                            const unsigned char shaded = 0;
                            SongBookPrint run(layout, s, shaded);
                            std::vector<std::string> log;
                            run.SetRowLog([&log](const std::string& line) { log.push_back(line); });
                            for (const SongListing& l : ordered) run.Add(l);
                            for (const auto& [unq, alt] : book.discs) run.AddDisc(unq, alt);
                            run.Lay(static_cast<long>(ordered.size()));
                            while (run.Next() == 0) run.PrintRow();
                            run.PrintTrailingRows();
                            const fw::report::PageList pages = run.Finish();
                            ASSERT_GT(pages.Count(), 1);
                            // CV_REPORT_PDF_DIR=<dir> keeps a PDF of each layout to look at.
                            if (const char* keep = std::getenv("CV_REPORT_PDF_DIR");
                                keep && *keep && fonts == 2 && caps == 2 && offset == 500 && pageBreak == 5 && !paperSaver) {
                                std::string error;
                                fw::report::PdfSink pdf(std::string(keep) + "/" + std::string(traits.name) +
                                                        (paper == 2 ? "_a4" : "_letter") + ".pdf");
                                EXPECT_TRUE(fw::report::PrintPages(pages, what, pdf, error)) << error;
                            }
                            int faults = 0;
                            for (int i = 0; i < pages.Count() && faults < 5; ++i) {
                                const fw::report::Page page = pages.Load(i);
                                for (const std::string& fault : fw::report::CheckPage(page, pages.PageCount()))
                                    if (++faults <= 5) ADD_FAILURE() << fault;
                            }
                            std::vector<std::string> printed =
                                PrintedSongNumbers(log, traits.family == ReportFamily::TwoColumn);
                            std::sort(printed.begin(), printed.end());
                            EXPECT_EQ(printed, expected) << "every listing prints exactly once";
                            if (HasFailure()) return;
                        }
    }
}

}  // namespace
}  // namespace printing
