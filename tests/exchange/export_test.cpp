// The export through the test driver: all listings in title order, the
// file name rule and the question before replacing a file, an empty book,
// a write that fails, and the round trip into an empty book.
#include "exchange/export_listings_process.h"
#include "exchange/export_song_listings.h"
#include "exchange/import_song_listings.h"

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>

#include "exchange_fixture.h"

namespace exchange_test {
namespace {

constexpr const char* kExport = exchange::kExportWindow;

constexpr const char* kOldExport = "\"Old\",\"Export\",\"1\",1,\"M1\",\"\",\"\",\"\",0,\"\",\"\"\r\n";

// The program's temporary files in a folder (".cv-...").
std::vector<std::string> TemporaryFiles(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(".cv-", 0) == 0) names.push_back(name);
    }
    return names;
}

class Export : public ExchangeTest {
protected:
    // Opens the window, presses "Export Listings" with the file name typed
    // in the dialog and the answers given, and waits for the pass.
    void ExportAs(const std::string& typed, const std::function<void()>& answers = {}) {
        Run(exchange::ExportSongListings);
        ASSERT_TRUE(d().IsOpen(kExport));
        d().AnswerFileDialog(typed);
        if (answers) answers();
        d().Press("?OKBUTTON");
        EXPECT_TRUE(TickUntilClosed("P1$PROGRESSWINDOW"));
        EXPECT_FALSE(d().IsOpen(kExport));
        EXPECT_EQ(d().UnusedAnswers(), 0u);
    }
    void Completed() { d().AnswerMessage("Export Operation Completed", fw::Button::Ok); }
};

TEST_F(Export, AllListingsInTitleOrderWithTheirDiscs) {
    Book({{"SC8101", "101", 12, "SC"}, {"SC8102", "102", 3, "SK"}},
         {{"Zebra", "B", "SC8101", 1, "X", "SC", Day(12, 25, 2003), "Rock", ""},
          {"Apple", "A", "SC8102", 2, "", "SK", Day(1, 2, 2010), "Pop", "D"},
          {"Apple", "A", "SC8101", 7, "", "SC", 0, "", ""},
          {"Lone", "C", "NODISC", 4, "", "CU", 0, "", ""}});
    ExportAs(Path("out"), [this] { Completed(); });
    EXPECT_EQ(ReadFile("out.csv"),
              "\"Apple\",\"A\",\"102\",2,\"SC8102\",\"Pop\",\"D\",\"SK\",3,\"SK\",\"01/02/10\"\r\n"
              "\"Apple\",\"A\",\"101\",7,\"SC8101\",\"\",\"\",\"SC\",12,\"SC\",\"\"\r\n"
              "\"Lone\",\"C\",\"\",4,\"NODISC\",\"\",\"\",\"CU\",0,\"\",\"\"\r\n"
              "\"Zebra\",\"B\",\"101\",1,\"SC8101\",\"Rock\",\"\",\"SC\",12,\"SC\",\"12/25/03\"\r\n");
}

TEST_F(Export, AnUpperCaseExtensionStaysAndAFileIsReplacedOnlyWhenTheUserSaysSo) {
    Book({{"SC8101", "101", 12, "SC"}}, {{"Song", "A", "SC8101", 1}});
    WriteFile("Out.CSV", "keep me");
    ExportAs(Path("Out.CSV"), [this] { d().AnswerMessage("already exists", fw::Button::No); });
    EXPECT_EQ(ReadFile("Out.CSV"), "keep me");

    ExportAs(Path("Out.CSV"), [this] {
        d().AnswerMessage("already exists", fw::Button::Yes);
        Completed();
    });
    EXPECT_EQ(ReadFile("Out.CSV"), "\"Song\",\"A\",\"101\",1,\"SC8101\",\"\",\"\",\"\",12,\"SC\",\"\"\r\n");
}

TEST_F(Export, AnEmptyBookGivesAnEmptyFile) {
    Book({}, {});
    ExportAs(Path("empty.csv"), [this] { Completed(); });
    EXPECT_TRUE(std::filesystem::exists(Path("empty.csv")));
    EXPECT_EQ(ReadFile("empty.csv"), "");
}

TEST_F(Export, ACancelledDialogWritesNothing) {
    Book({}, {});
    ExportAs("");
}

// A cancel after the first slice: the previous export stays as it was and
// the rows written so far go with their temporary file.
TEST_F(Export, ACancelSaysSoAndKeepsThePreviousFile) {
    std::vector<Listing> listings;
    // More than one slice, so the Cancel comes before the end.
    for (unsigned t = 1; t <= exchange::kExportRowsPerSlice + 60; ++t)
        listings.push_back({"Song " + std::to_string(100 + t), "A", "SC8101", t});
    Book({{"SC8101", "101", 12, "SC"}}, listings);
    WriteFile("part.csv", kOldExport);
    Run(exchange::ExportSongListings);
    d().AnswerFileDialog(Path("part.csv"));
    d().AnswerMessage("already exists", fw::Button::Yes);
    d().AnswerMessage("Export Operation Cancelled", fw::Button::Ok);
    d().Press("?OKBUTTON");
    d().Tick();
    d().Press("?PROGRESS:CANCEL");
    EXPECT_TRUE(TickUntilClosed("P1$PROGRESSWINDOW"));
    EXPECT_FALSE(d().IsOpen(kExport));
    EXPECT_EQ(d().UnusedAnswers(), 0u);
    EXPECT_EQ(ReadFile("part.csv"), kOldExport);
    EXPECT_EQ(TemporaryFiles(Folder()), std::vector<std::string>{});
}

// A file that cannot grow past 16 KB: the first write (at 64 KB of rows)
// fails part way, the failure is said, "Completed" is not, and the
// previous export is left as it was.
TEST_F(Export, AWriteThatFailsIsReportedNotCompleted) {
    std::vector<Listing> listings;
    for (unsigned t = 1; t <= 800; ++t)
        listings.push_back({"A title long enough to fill the file " + std::to_string(t), "An artist of some length", "SC8101", t});
    Book({{"SC8101", "101", 12, "SC"}}, listings);
    WriteFile("full.csv", kOldExport);
    struct rlimit kept {};
    getrlimit(RLIMIT_FSIZE, &kept);
    const auto keptSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = kept;
    small.rlim_cur = 16 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    ExportAs(Path("full.csv"), [this] {
        d().AnswerMessage("already exists", fw::Button::Yes);
        d().AnswerMessage("Export failed: ", fw::Button::Ok);
    });
    setrlimit(RLIMIT_FSIZE, &kept);
    std::signal(SIGXFSZ, keptSignal);
    EXPECT_FALSE(Said("Export Operation Completed"));
    EXPECT_TRUE(Said("has not been changed"));
    EXPECT_EQ(ReadFile("full.csv"), kOldExport);
    EXPECT_EQ(TemporaryFiles(Folder()), std::vector<std::string>{});
}

// Letters code page 437 lacks are written in their nearest form, and the
// end message says how many listings that touched and names them.
TEST_F(Export, CharactersTheFileCannotCarryAreWrittenInANearFormAndNamed) {
    Book({{"SC8101", "101", 12, "SC"}},
         {{"Jo\xE3o", "S\xE9rgio", "SC8101", 1}, {"\x80uro", "Band", "SC8101", 2}, {"\x8Cuvre", "Don\x92t", "SC8101", 3},
          {"Caf\xE9", "Plain", "SC8101", 4}});
    ExportAs(Path("near.csv"), [this] { d().AnswerMessage("Export Operation Completed||3 listings hold characters", fw::Button::Ok); });
    EXPECT_TRUE(Said("\"Jo\xE3o\" by \"S\xE9rgio\" as \"Joao\" by \"S\xE9rgio\""));
    EXPECT_TRUE(Said("\"\x80uro\" by \"Band\" as \"Euro\" by \"Band\""));
    EXPECT_TRUE(Said("\"\x8Cuvre\" by \"Don\x92t\" as \"Ouvre\" by \"Don't\""));
    EXPECT_FALSE(Said("Caf\xE9\" by"));
    const std::string file = ReadFile("near.csv");
    for (const char* written : {"\"Joao\",\"S\x82rgio\"", "\"Euro\"", "\"Ouvre\",\"Don't\"", "\"Caf\x82\""})
        EXPECT_NE(file.find(written), std::string::npos) << written;
    EXPECT_EQ(file.find('?'), std::string::npos);
}

// Export a book, import the file into an empty book: every listing and disc
// comes back, but for the omit mark and location, which the file leaves out.
TEST_F(Export, TheRoundTripIntoAnEmptyBookGivesTheSameBook) {
    const std::vector<Disc> discs = {{"SC8101", "101", 12, "SC"}, {"SC8102", "SC8102", 3, "SK"}, {"*", "*", 1, "CU"},
                                     {"MP3-7", "Own 7", 44, ""}};
    const std::vector<Listing> listings = {
        {"Say \"Hi\", Pt 1", "Beatles, The", "SC8101", 5, "", "SC", Day(12, 25, 2003), "Rock", "D"},
        {"Caf\xE9 Ma\xF1" "ana", "Art\xEDsta", "SC8101", 6, "", "SC", Day(3, 7, 1999), "Latin", ""},
        {"Big Track", "A", "SC8102", 70000, "", "SK", Day(1, 1, 2045), "", ""},
        {"Discless", "B", "*", 0, "", "CU", 0, "", ""},
        {"Own", "C", "MP3-7", 1, "", "", Day(2, 29, 2024), "Pop", ""},
    };
    Book(discs, listings);
    ExportAs(Path("book.csv"), [this] { Completed(); });

    MakeBook("Copy", {}, {});
    Name("Copy");
    d().AnswerFileDialog(Path("book.csv"));
    Run(exchange::ImportSongListings);
    d().Press("?OKBUTTON", exchange::kImportWindow);
    EXPECT_TRUE(TickUntilClosed("P1$PROGRESSWINDOW"));
    EXPECT_EQ(BookListings("Copy"), BookListings("Party"));
    EXPECT_EQ(BookDiscs("Copy"), BookDiscs("Party"));
}

}  // namespace
}  // namespace exchange_test

namespace exchange_test {
namespace {

TEST_F(Export, ScreenshotWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    Book({{"SC8101", "101", 12, "SC"}, {"SC8102", "102", 3, "SK"}, {"MP3-7", "Own 7", 44, ""}},
         {{"Zebra", "B", "SC8101", 1}, {"Apple", "A", "SC8102", 2}, {"Own", "C", "MP3-7", 1}});
    Run(exchange::ExportSongListings);
    const std::string base = std::string(dir) + "/" + kExport;
    EXPECT_TRUE(d().Screenshot(kExport, base + ".png"));
    d().Press("?EXPORT:FILTER:RADIO2");
    d().Press("?DASTAG");
    EXPECT_TRUE(d().Screenshot(kExport, base + "-discs.png"));
    d().Press("?EXPORT:FILTER:RADIO3");
    d().Choose("?LIST:2", 2);
    d().Press("?DASTAG:2");
    EXPECT_TRUE(d().Screenshot(kExport, base + "-tracks.png"));
    d().Press("?CANCELBUTTON");
}

}  // namespace
}  // namespace exchange_test
