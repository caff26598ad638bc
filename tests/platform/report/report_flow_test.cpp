// Pages made by the engine, compared as text dumps.
#include <gtest/gtest.h>

#include "tests/platform/report/report_fixture.h"

namespace {

using namespace reporttest;

// A stacked report: header at the top, a 300-high detail band in a
// 1000-high area, a footer with the page number.
ReportDefinition Stacked() {
    static const BandRow bands[] = {
        {"HEADER", BandRole::Header, 500, 250, 0},
        {"DETAIL", BandRole::Detail, 0, 0, 300},
        {"FOOTER", BandRole::Footer, 500, 10000, 0},
    };
    static const ElementRow elements[] = {
        {"HEADER", Text("TITLE", {0, 0, 7500, 250}, "Song Book")},
        {"DETAIL", Text("NAME", {0, 0, 3000, 200})},
        {"DETAIL", Shape("RULE", ElementKind::Line, {0, 250, 7500, 0})},
        {"FOOTER", Text("PAGENO", {0, 0, 2000, 200}, "Page: <<<#", TextSource::PageNumber)},
    };
    ReportDefinition def = BuildDefinition({}, bands, elements);
    def.detailArea = {500, 1000, 7500, 1000};
    return def;
}

void PrintRows(Report& r, int rows) {
    for (int i = 1; i <= rows; ++i) {
        r.Element("NAME").text = "Row " + std::to_string(i);
        r.Print("DETAIL");
    }
}

TEST(ReportFlow, StackedBreaksWhenTheNextBandDoesNotFit) {
    Report r(Stacked());
    PrintRows(r, 7);
    PageList pages = r.Finish();
    ASSERT_EQ(pages.Count(), 3);
    EXPECT_EQ(DumpAll(pages),
              "page 1 number 1 8500x11000 portrait\n"
              "band HEADER\n"
              "text 500,250,7500,250 \"Arial\" 10 400 color=000000 left clip \"Song Book\"\n"
              "band DETAIL\n"
              "text 500,1000,3000,200 \"Arial\" 10 400 color=000000 left clip \"Row 1\"\n"
              "line 500,1250-8000,1250 width=10 color=000000\n"
              "band DETAIL\n"
              "text 500,1300,3000,200 \"Arial\" 10 400 color=000000 left clip \"Row 2\"\n"
              "line 500,1550-8000,1550 width=10 color=000000\n"
              "band DETAIL\n"
              "text 500,1600,3000,200 \"Arial\" 10 400 color=000000 left clip \"Row 3\"\n"
              "line 500,1850-8000,1850 width=10 color=000000\n"
              "band FOOTER\n"
              "text 500,10000,2000,200 \"Arial\" 10 400 color=000000 left clip \"Page: 1\"\n"
              "page 2 number 2 8500x11000 portrait\n"
              "band HEADER\n"
              "text 500,250,7500,250 \"Arial\" 10 400 color=000000 left clip \"Song Book\"\n"
              "band DETAIL\n"
              "text 500,1000,3000,200 \"Arial\" 10 400 color=000000 left clip \"Row 4\"\n"
              "line 500,1250-8000,1250 width=10 color=000000\n"
              "band DETAIL\n"
              "text 500,1300,3000,200 \"Arial\" 10 400 color=000000 left clip \"Row 5\"\n"
              "line 500,1550-8000,1550 width=10 color=000000\n"
              "band DETAIL\n"
              "text 500,1600,3000,200 \"Arial\" 10 400 color=000000 left clip \"Row 6\"\n"
              "line 500,1850-8000,1850 width=10 color=000000\n"
              "band FOOTER\n"
              "text 500,10000,2000,200 \"Arial\" 10 400 color=000000 left clip \"Page: 2\"\n"
              "page 3 number 3 8500x11000 portrait\n"
              "band HEADER\n"
              "text 500,250,7500,250 \"Arial\" 10 400 color=000000 left clip \"Song Book\"\n"
              "band DETAIL\n"
              "text 500,1000,3000,200 \"Arial\" 10 400 color=000000 left clip \"Row 7\"\n"
              "line 500,1250-8000,1250 width=10 color=000000\n"
              "band FOOTER\n"
              "text 500,10000,2000,200 \"Arial\" 10 400 color=000000 left clip \"Page: 3\"\n");
}

TEST(ReportFlow, StackedBreaksAfterTheRowCountAndAtEndPage) {
    Report r(Stacked());
    r.SetRowsPerPage(2);  // two rows, although three would fit
    std::vector<bool> first;
    for (int i = 1; i <= 5; ++i) {
        first.push_back(r.IsFirstRowOnPage());
        EXPECT_EQ(r.StartsPage("DETAIL"), first.back());
        r.Print("DETAIL");
    }
    EXPECT_EQ(first, (std::vector<bool>{true, false, true, false, true}));
    r.EndPage();
    r.EndPage();  // an empty page is never made
    PrintRows(r, 1);
    PageList pages = r.Finish();
    EXPECT_EQ(BandsPerPage(pages), (std::vector<std::string>{
                                       "HEADER DETAIL DETAIL FOOTER",
                                       "HEADER DETAIL DETAIL FOOTER",
                                       "HEADER DETAIL FOOTER",
                                       "HEADER DETAIL FOOTER",
                                   }));
}

TEST(ReportFlow, ABandTallerThanTheAreaStillPrintsOnAPageOfItsOwn) {
    ReportDefinition def = Stacked();
    def.detailArea.h = 100;
    Report r(def);
    PrintRows(r, 2);
    EXPECT_EQ(r.Finish().Count(), 2);
}

// Mini-labels: 4 across, 20 down, at a pitch of 1938 x 490 from (125, 490).
ReportDefinition MiniLabels() {
    static const BandRow bands[] = {{"LABEL", BandRole::Detail, 0, 0, 0}};
    static const ElementRow elements[] = {{"LABEL", Text("LINE1", {50, 40, 1800, 150})}};
    ReportDefinition def = BuildDefinition({}, bands, elements);
    def.flow = Flow::Grid;
    def.grid = {125, 490, 1938, 490, 4, 20};
    return def;
}

TEST(ReportFlow, GridFillsAcrossThenDownThenANewSheet) {
    Report r(MiniLabels());
    for (int i = 1; i <= 100; ++i) {
        r.Element("LINE1").text = "Label " + std::to_string(i);
        r.Print("LABEL");
    }
    PageList pages = r.Finish();
    ASSERT_EQ(pages.Count(), 2);
    auto texts = [&](int page) {
        std::vector<std::string> lines;
        Page p = pages.Load(page);
        for (const Op& op : p.ops)
            if (op.kind == OpKind::Text)
                lines.push_back(std::to_string(op.rect.x) + "," + std::to_string(op.rect.y) + " " +
                                std::string(p.TextOf(op)));
        return lines;
    };
    std::vector<std::string> sheet1 = texts(0), sheet2 = texts(1);
    ASSERT_EQ(sheet1.size(), 80u);
    ASSERT_EQ(sheet2.size(), 20u);
    EXPECT_EQ(sheet1[0], "175,530 Label 1");
    EXPECT_EQ(sheet1[1], "2113,530 Label 2");      // across first
    EXPECT_EQ(sheet1[4], "175,1020 Label 5");      // then down
    EXPECT_EQ(sheet1[79], "5989,9840 Label 80");   // last cell: column 4, row 20
    EXPECT_EQ(sheet2[0], "175,530 Label 81");      // a new sheet starts at the first cell
    EXPECT_EQ(sheet2[19], "5989,2490 Label 100");  // row 5, column 4
}

TEST(ReportFlow, PageFormComesFirstOnEveryPageAsItStandsWhenThePageStarts) {
    static const BandRow bands[] = {
        {"FORM", BandRole::Form, 0, 0, 0},
        {"LABEL", BandRole::Detail, 0, 0, 5000},
    };
    static const ElementRow elements[] = {
        {"FORM", Shape("CIRCLE1", ElementKind::Ellipse, {1000, 500, 4500, 4500}, 0xFF0000)},
        {"FORM", Shape("CIRCLE2", ElementKind::Ellipse, {1000, 5500, 4500, 4500}, 0xFF0000)},
        {"LABEL", Text("DISC", {1500, 1000, 3000, 200})},
    };
    ReportDefinition def = BuildDefinition({}, bands, elements);
    def.detailArea = {0, 500, 8500, 10000};
    Report r(def);
    r.OnPageStart([&](int seq, int) { r.Element("CIRCLE2").hidden = seq == 2; });
    for (const char* disc : {"SC8125", "SC8126", "SC8127"}) {
        r.Element("DISC").text = disc;
        r.Print("LABEL");
    }
    PageList pages = r.Finish();
    EXPECT_EQ(DumpAll(pages),
              "page 1 number 1 8500x11000 portrait\n"
              "band FORM\n"
              "ellipse 1000,500,4500,4500 border=000000/10 fill=FF0000\n"
              "ellipse 1000,5500,4500,4500 border=000000/10 fill=FF0000\n"
              "band LABEL\n"
              "text 1500,1500,3000,200 \"Arial\" 10 400 color=000000 left clip \"SC8125\"\n"
              "band LABEL\n"
              "text 1500,6500,3000,200 \"Arial\" 10 400 color=000000 left clip \"SC8126\"\n"
              "page 2 number 2 8500x11000 portrait\n"
              "band FORM\n"
              "ellipse 1000,500,4500,4500 border=000000/10 fill=FF0000\n"
              "band LABEL\n"
              "text 1500,1500,3000,200 \"Arial\" 10 400 color=000000 left clip \"SC8127\"\n");
}

TEST(ReportFlow, PrintTakesASnapshotOfHiddenMovedRecolouredAndRetextedElements) {
    Report r(Stacked());
    Element& name = r.Element("NAME");
    name.text = "First";
    r.Print("DETAIL");
    name.text = "Second";
    name.rect.x = 200;
    name.font.color = 0x0000FF;  // red
    name.font.style = 700 + kItalicStyle;
    name.align = Align::Right;
    r.Element("RULE").hidden = true;
    r.Print("DETAIL");
    name.text = "Changed after the print";
    PageList pages = r.Finish();
    std::string dump = DumpPage(pages.Load(0), pages.PageCount());
    EXPECT_NE(dump.find("band DETAIL\n"
                        "text 500,1000,3000,200 \"Arial\" 10 400 color=000000 left clip \"First\"\n"
                        "line 500,1250-8000,1250 width=10 color=000000\n"
                        "band DETAIL\n"
                        "text 700,1300,3000,200 \"Arial\" 10 4796 color=0000FF right clip \"Second\"\n"
                        "band FOOTER\n"),
              std::string::npos)
        << dump;
    EXPECT_EQ(dump.find("Changed"), std::string::npos);
}

TEST(ReportFlow, StartingPageNumberAndPageCountTokens) {
    ReportDefinition def = Stacked();
    for (Band& b : def.bands)
        if (b.name == "FOOTER")
            b.elements.push_back(Text("PAGEOF", {3000, 0, 2000, 200}, "Page {page} of {pages} ({number})",
                                      TextSource::PageOfCount));
    Report r(def);
    r.SetStartingPageNumber(9999);
    PrintRows(r, 7);
    EXPECT_EQ(r.PageNumber(), 10001);
    PageList pages = r.Finish();
    ASSERT_EQ(pages.Count(), 3);
    std::vector<std::string> footers;
    for (int i = 0; i < pages.Count(); ++i) {
        std::string dump = DumpPage(pages.Load(i), pages.PageCount());
        std::size_t at = dump.find("band FOOTER\n");
        footers.push_back(dump.substr(at + 12));
    }
    EXPECT_EQ(footers[0],
              "text 500,10000,2000,200 \"Arial\" 10 400 color=000000 left clip \"Page: 9999\"\n"
              "text 3500,10000,2000,200 \"Arial\" 10 400 color=000000 left clip \"Page 1 of 3 (9999)\"\n");
    EXPECT_NE(footers[2].find("\"Page: 10001\""), std::string::npos);  // the number is never cut
    EXPECT_NE(footers[2].find("\"Page 3 of 3 (10001)\""), std::string::npos);
    // The page file holds the token, not the count: nothing is patched later.
    Page last = pages.Load(2);
    EXPECT_EQ(DumpPage(last, 12).find("of 3"), std::string::npos);
    EXPECT_EQ(pages.At(2).number, 10001);
}

TEST(ReportFlow, PageStartHookMovesBandsByParity) {
    Report r(Stacked());
    std::vector<std::pair<int, int>> calls;
    r.SetStartingPageNumber(4);
    r.OnPageStart([&](int seq, int number) {
        calls.emplace_back(seq, number);
        int offset = seq % 2 == 1 ? 250 : 0;  // binding edge on the odd pages
        r.Band("HEADER").x = 500 + offset;
        r.Band("FOOTER").x = 500 + offset;
        r.DetailArea().x = 500 + offset;
    });
    PrintRows(r, 4);
    PageList pages = r.Finish();
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 4}, {2, 5}}));
    std::string p1 = DumpPage(pages.Load(0), 2), p2 = DumpPage(pages.Load(1), 2);
    EXPECT_NE(p1.find("text 750,250,7500,250"), std::string::npos);
    EXPECT_NE(p1.find("text 750,1000,3000,200"), std::string::npos);
    EXPECT_NE(p1.find("text 750,10000,2000,200 \"Arial\" 10 400 color=000000 left clip \"Page: 4\""), std::string::npos);
    EXPECT_NE(p2.find("text 500,250,7500,250"), std::string::npos);
    EXPECT_NE(p2.find("text 500,1000,3000,200"), std::string::npos);
}

TEST(ReportFlow, PaperAndLandscape) {
    ReportDefinition def = Stacked();
    def.paper = {PaperCode::A4, true};
    Report r(def);
    PrintRows(r, 1);
    PageList pages = r.Finish();
    EXPECT_EQ(DumpPage(pages.Load(0), 1).substr(0, 37), "page 1 number 1 11693x8268 landscape\n");
}

TEST(ReportFlow, UnknownNamesAndMisuseAreRefused) {
    Report r(Stacked());
    EXPECT_THROW(r.Element("NOPE"), std::out_of_range);
    EXPECT_THROW(r.Print("NOPE"), std::out_of_range);
    EXPECT_THROW(r.Print("HEADER"), std::invalid_argument);
    r.Finish();
    EXPECT_THROW(r.Print("DETAIL"), std::logic_error);
    static const BandRow bands[] = {{"A", BandRole::Detail, 0, 0, 10}};
    static const ElementRow twice[] = {{"A", Text("X", {})}, {"A", Text("X", {})}};
    static const ElementRow stray[] = {{"B", Text("X", {})}};
    EXPECT_THROW(BuildDefinition({}, bands, twice), std::invalid_argument);
    EXPECT_THROW(BuildDefinition({}, bands, stray), std::invalid_argument);
}

TEST(ReportFlow, PageNumberPictures) {
    struct Case {
        const char* picture;
        int number;
        const char* text;
    } cases[] = {
        {"Page: <<<#", 3, "Page: 3"},     {"Page: <<<#", 1234, "Page: 1234"}, {"Page: <<<#", 12345, "Page: 12345"},
        {"###", 7, "007"},                {"<<#", 0, "0"},                    {"- <# -", 42, "- 42 -"},
        {"No digits", 5, "No digits"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatPageNumber(c.picture, c.number), c.text) << c.picture;
}

}  // namespace
