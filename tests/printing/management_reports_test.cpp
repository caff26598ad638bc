// The management reports on a small book, through the driver: every
// listing by custom disc ID and track, the discs by brand (an unknown
// brand listed under a blank one), nothing at all for a book without
// discs, and the preview.
#include <gtest/gtest.h>

#include <string>

#include "platform/ui/message.h"
#include "printing/management_reports.h"
#include "report_test_support.h"

namespace printing {
namespace {

using printing_test::Count;
using printing_test::ExpectGolden;
using printing_test::Lines;

class ManagementReports : public printing_test::ReportProcedureTest {
protected:
    void MakeSmallBook() {
        MakeBrands({2, 1});  // "Brand 1" is number 2, "Brand 2" number 1
        OpenBook({{"SC8125", "101", 2, "SC"}, {"CB5001", "102", 1, "CB"}, {"ZZ0001", "050", 9, "ZZ"},
                  {"SC9000", "103", 2, "SC"}},
                 {{"Yesterday", "Beatles", "SC8125", 2},
                  {"Danny Boy", "Traditional", "SC8125", 1},
                  {"Hey Jude", "Beatles", "CB5001", 12},
                  {"Medley", "Various", "CB5001", 0},
                  {"Lost Song", "Nobody", "ZZ0001", 3}});
    }
    // The detail texts of the job's pages, a row a line, cells joined by "|".
    std::string Rows() const {
        std::string out;
        for (const std::string& page : sink.jobs.at(0).pages) {
            std::string row;
            int cells = 0;
            bool inDetail = false;
            for (const std::string& line : Lines(page, "")) {
                if (line.rfind("band ", 0) == 0) {
                    if (inDetail) out += row + "\n";
                    inDetail = line == "band DETAIL";
                    row.clear();
                    cells = 0;
                } else if (inDetail && line.rfind("text ", 0) == 0) {
                    const std::size_t quote = line.find(" clip \"");
                    row += (cells++ ? "|" : "") + line.substr(quote + 7, line.size() - quote - 8);
                }
            }
        }
        return out;
    }
};

TEST_F(ManagementReports, SongTrackListingByCustomDiscIdAndTrack) {
    MakeSmallBook();
    d().AnswerMessage("1 page went to the printer", fw::Button::Ok);
    d().Start(PrintSongTrackListing);
    ChooseDestination(true);
    EXPECT_EQ(d().Caption("P1$PROGRESSWINDOW"), "Generating Report");
    RunPass();
    ASSERT_EQ(sink.jobs.size(), 1u);
    EXPECT_EQ(sink.jobs[0].title, "Song Track Report Preview");
    ASSERT_EQ(sink.jobs[0].pages.size(), 1u);
    // A disc without listings shows once with blank listing fields; track 0 is blank.
    EXPECT_EQ(Rows(), "050|Nobody|Lost Song|3\n"
                      "101|Traditional|Danny Boy|1\n"
                      "101|Beatles|Yesterday|2\n"
                      "102|Various|Medley|\n"
                      "102|Beatles|Hey Jude|12\n"
                      "103|||\n");
    ExpectGolden("song_track_listing.txt", sink.jobs[0].pages[0]);
}

TEST_F(ManagementReports, DiscInventoryByBrandWithTheUnknownBrandBlank) {
    MakeSmallBook();
    d().AnswerMessage("1 page went to the printer", fw::Button::Ok);
    d().Start(PrintDiscInventory);
    ChooseDestination(true);
    RunPass();
    ASSERT_EQ(sink.jobs.size(), 1u);
    EXPECT_EQ(sink.jobs[0].title, "Disc Inventory Report Preview");
    EXPECT_EQ(Rows(), "|050|ZZ0001\n"
                      "Brand 1|101|SC8125\n"
                      "Brand 1|103|SC9000\n"
                      "Brand 2|102|CB5001\n");
    ExpectGolden("disc_inventory.txt", sink.jobs[0].pages[0]);
}

// The host's own discs carry brand number 1 and the custom brand code; a
// real brand numbered 1 in the song base ("Brand 2" here) is not theirs.
TEST_F(ManagementReports, DiscInventoryListsCustomDiscsUnderTheCustomBrand) {
    MakeBrands({1});
    OpenBook({{"SC8125", "101", 1, "SC"}, {"CU0001", "900", 1, "CU"}, {"CU0002", "901", 1, "CU"}},
             {{"Yesterday", "Beatles", "SC8125", 2}, {"Own Song", "Me", "CU0001", 1}});
    d().Start(PrintDiscInventory);
    ChooseDestination(false);
    RunPass();
    ASSERT_TRUE(d().IsOpen("PreviewReport"));
    d().Press("?PRINTBUTTON", "PreviewReport");
    d().Press("?PRINT", "PrintOptionsWindow");
    ASSERT_EQ(sink.jobs.size(), 1u);
    EXPECT_EQ(Rows(), "CU|900|CU0001\n"
                      "CU|901|CU0002\n"
                      "Brand 1|101|SC8125\n");
}

TEST_F(ManagementReports, BothInTurnFromTheMenuAndABookWithoutDiscsGivesNothing) {
    OpenBook({}, {});
    MakeBrands({1});
    for (void (*report)() : {PrintSongTrackListing, PrintDiscInventory}) {
        d().Start(report);
        ChooseDestination(false);
        RunPass();
        EXPECT_FALSE(d().IsOpen("PreviewReport"));
    }
    EXPECT_TRUE(d().Messages().empty());
    EXPECT_TRUE(sink.jobs.empty());
}

TEST_F(ManagementReports, ManyListingsBreakIntoPagesWithTheirNumbers) {
    MakeBrands({1});
    std::vector<song_book_test::Listing> listings;
    for (int t = 1; t <= 60; ++t) listings.push_back({"Song " + std::to_string(t), "Artist", "SC8125", static_cast<std::uint32_t>(t)});
    OpenBook({{"SC8125", "101", 1, "SC"}}, listings);
    d().Start(PrintSongTrackListing);
    ChooseDestination(false);
    RunPass();
    ASSERT_TRUE(d().IsOpen("PreviewReport"));
    EXPECT_EQ(d().Caption("PreviewReport"), "Song Track Report Preview");
    d().Press("?PRINTBUTTON", "PreviewReport");
    ASSERT_TRUE(d().IsOpen("PrintOptionsWindow"));
    d().Press("?PRINT", "PrintOptionsWindow");
    ASSERT_EQ(sink.jobs.size(), 1u);
    ASSERT_EQ(sink.jobs[0].pages.size(), 2u);
    EXPECT_EQ(Count(sink.jobs[0].pages[0], "band DETAIL") + Count(sink.jobs[0].pages[1], "band DETAIL"), 60);
    EXPECT_NE(sink.jobs[0].pages[1].find("right clip \"Page: 2\""), std::string::npos);
    EXPECT_NE(sink.jobs[0].pages[1].find("\"Song Track Listing by Disc ID & Track\""), std::string::npos);
}

}  // namespace
}  // namespace printing
