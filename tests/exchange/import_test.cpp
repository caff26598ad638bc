// The import: the analysis's clashes (with the book and inside the file),
// a file that cannot be read to its end, and the import process into an
// empty book and a book with clashes, refusals and a cancel.
#include "exchange/import_listings_process.h"
#include "exchange/import_session.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"

#include "exchange_fixture.h"

namespace exchange_test {
namespace {

using exchange::Clash;

class Import : public ExchangeTest {
protected:
    // The book of the clash table: two discs with listings, one disc whose
    // custom ID is its own disc ID.
    void ClashBook() {
        Book({{"SC8101", "101", 12, "SC"}, {"SC8102", "102", 12, "SC"}, {"X9", "X9", 1, "CU"}},
             {{"Old 1", "A", "SC8101", 1}, {"Old 2", "A", "SC8101", 2}, {"Old 3", "A", "SC8101", 3},
              {"Old 4", "A", "SC8102", 1}});
    }
};

TEST_F(Import, TheAnalysisFindsEachClashWithTheBookAndInsideTheFile) {
    ClashBook();
    struct Row {
        const char* title;
        const char* alt;
        unsigned track;
        const char* unq;
        Clash clash;
    };
    const std::vector<Row> rows = {
        {"new disc", "200", 1, "SC8200", Clash::None},
        {"track in the book", "101", 3, "SC8101", Clash::TrackExists},
        {"track in the book, other case", "101", 2, "sc8101", Clash::TrackExists},
        {"custom ID of another disc", "101", 1, "SC8300", Clash::CustomIdTaken},
        {"custom ID of its own disc", "102", 5, "SC8102", Clash::None},
        {"no Mfg. ID, custom ID of another disc", "101", 7, "", Clash::CustomIdTaken},
        {"no Mfg. ID, its own disc's custom ID", "X9", 4, "", Clash::None},
        {"same disc and track as a row before", "200", 1, "SC8200", Clash::TrackExists},
        {"custom ID of a new disc before", "200", 1, "SC8400", Clash::CustomIdTaken},
        {"new disc, next track, other custom ID", "999", 2, "SC8200", Clash::None},
        {"no disc ID at all", "", 1, "", Clash::NoDiscId},
        {"track 70000 is not track 4464", "102", 70000, "SC8102", Clash::None},
        {"track 4464", "102", 4464, "SC8102", Clash::None},
    };
    std::string file;
    for (const Row& r : rows) file += Line(r.title, r.alt, r.track, r.unq);
    WriteFile("in.csv", file);

    OpenHere();
    exchange::ImportSession session;
    const exchange::AnalysisResult result = exchange::AnalyzeImportFile(Path("in.csv"), session);
    EXPECT_EQ(result.openError, 0);
    EXPECT_EQ(result.badLine, 0);
    EXPECT_EQ(result.rowsRead, static_cast<long>(rows.size()));

    std::vector<std::string> imported;
    for (const Row& r : rows)
        if (r.clash == Clash::None) imported.push_back(r.title);
    EXPECT_EQ(Titles(session.rows), imported);
    // Conflicts in custom ID, then track order; each still clashes as it did.
    EXPECT_EQ(Titles(session.conflicts),
              (std::vector<std::string>{"no disc ID at all", "custom ID of another disc", "track in the book, other case",
                                        "track in the book", "no Mfg. ID, custom ID of another disc",
                                        "same disc and track as a row before", "custom ID of a new disc before"}));
    for (long i = 1; i <= fw::RECORDS(session.conflicts); ++i) {
        fw::GET(session.conflicts, i);
        const std::string title = session.conflicts.rec.TITLE.Str();
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return title == r.title; });
        EXPECT_EQ(session.Check(session.conflicts.rec), row->clash) << title;
    }
}

TEST_F(Import, AFileThatCannotBeReadToItsEndSaysWhere) {
    Book({}, {});
    WriteFile("in.csv", Line("one", "1", 1, "M1") + Line("two", "1", 2, "M1") + "\"three\",\"A\",\"1\",x3\r\n" +
                            Line("four", "1", 4, "M1"));
    OpenHere();
    exchange::ImportSession session;
    const exchange::AnalysisResult result = exchange::AnalyzeImportFile(Path("in.csv"), session);
    EXPECT_EQ(result.badLine, 3);
    EXPECT_NE(result.badText.find("line 3"), std::string::npos) << result.badText;
    EXPECT_EQ(result.rowsRead, 2);
    EXPECT_EQ(Titles(session.rows), (std::vector<std::string>{"one", "two"}));

    const exchange::AnalysisResult missing = exchange::AnalyzeImportFile(Path("nothing.csv"), session);
    EXPECT_EQ(missing.openError, fw::NoFileErr);
}

// Analysis and import, as the import window runs them, on the program thread.
class ImportProcess : public ExchangeTest {
protected:
    static constexpr long kSlice = 500;
    exchange::ImportResult Analyse(const std::string& file, bool cancelAfterFirstSlice = false) {
        WriteFile("in.csv", file);
        exchange::ImportResult result;
        Run([this, &result] {
            exchange::ImportSession session;
            exchange::AnalyzeImportFile(Path("in.csv"), session);
            conflicts_ = Titles(session.conflicts);
            result = exchange::ImportListingsProcess(session, kSlice);
            queueLeft_ = fw::RECORDS(session.rows);
            outcome_ = shell::ActionOutcome();
        });
        if (cancelAfterFirstSlice) {
            d().Tick();
            d().Press("?PROGRESS:CANCEL");
        }
        EXPECT_TRUE(TickUntilClosed("P1$PROGRESSWINDOW"));
        return result;
    }
    std::vector<std::string> conflicts_;
    long queueLeft_ = -1;
    std::int32_t outcome_ = 0;
};

TEST_F(ImportProcess, AnEmptyBookGetsEveryListingAndOneDiscPerDisc) {
    Book({}, {});
    std::string file;
    for (unsigned t = 1; t <= 30; ++t) file += Line("Song " + std::to_string(t), "101", t, "SC8101", "\"Rock\",\"D\",\"SC\",0,\"SK\",\"12/25/03\"");
    file += Line("Own", "OWN1", 1, "", "\"\",\"\",\"CU\",7,\"\",\"\"");
    const exchange::ImportResult r = Analyse(file);
    EXPECT_EQ(r.state, shell::PassState::Completed);
    EXPECT_EQ(outcome_, shell::outcome::Completed);
    EXPECT_EQ(queueLeft_, 0);
    EXPECT_EQ(r.listingsAdded, 31);
    EXPECT_EQ(r.discsAdded, 2);
    // Brand 0 becomes 1; a blank brand code takes the listing's; a blank
    // Mfg. ID files the listing and the disc under the custom ID.
    EXPECT_EQ(BookDiscs("Party"), (std::vector<Disc>{{"OWN1", "OWN1", 7, "CU"}, {"SC8101", "101", 1, "SK"}}));
    const std::vector<Listing> listings = BookListings("Party");
    ASSERT_EQ(listings.size(), 31u);
    EXPECT_EQ(listings[0], (Listing{"Own", "Artist", "OWN1", 1, "", "CU", 0, "", ""}));
    EXPECT_EQ(listings[1], (Listing{"Song 1", "Artist", "SC8101", 1, "", "SC", Day(12, 25, 2003), "Rock", "D"}));
    EXPECT_EQ(Query("Party.2bk", "SELECT COUNT(*) FROM records WHERE length(PRINT) > 0 OR length(LOCATION) > 0"),
              std::vector<std::string>{"0"});
}

TEST_F(ImportProcess, AnEmptyFileImportsNothing) {
    Book({}, {});
    const exchange::ImportResult r = Analyse("");
    EXPECT_EQ(r.state, shell::PassState::NothingToDo);
    EXPECT_TRUE(BookListings("Party").empty());
}

// Rows a unique key refuses (here rows the analysis was not asked about)
// are left out, counted and named; the rest goes in.
TEST_F(ImportProcess, RowsTheKeysRefuseAreListedAndTheRestImported) {
    Book({{"SC8101", "101", 12, "SC"}}, {{"Old", "A", "SC8101", 1}});
    d().AnswerMessage("2 listings not imported:", fw::Button::Ok);
    exchange::ImportResult result;
    Run([&result] {
        exchange::ImportSession session;
        session.Begin();
        auto add = [&session](const char* title, const char* alt, unsigned track, const char* unq) {
            shell::ImportQueRec row;
            fw::ClearRecord(&row, shell::ImportQueRec::Decl());
            row.TITLE = title;
            row.ALTDISKID = alt;
            row.DISKTRACKNO = track;
            row.UNQDISKID = unq;
            session.rows.rec = row;
            fw::ADD(session.rows);
        };
        add("fine", "200", 1, "SC8200");
        add("track taken", "101", 1, "sc8101");
        add("custom ID taken", "101", 1, "SC8300");
        add("also fine", "101", 2, "SC8101");
        result = exchange::ImportListingsProcess(session);
    });
    EXPECT_TRUE(TickUntilClosed("P1$PROGRESSWINDOW"));
    EXPECT_EQ(result.listingsAdded, 2);
    EXPECT_EQ(result.discsAdded, 1);
    ASSERT_EQ(result.refused.size(), 2u);
    EXPECT_NE(result.refused[0].find("\"track taken\" (sc8101 track 1)"), std::string::npos) << result.refused[0];
    EXPECT_NE(result.refused[1].find("custom disc ID 101"), std::string::npos) << result.refused[1];
    EXPECT_EQ(BookDiscs("Party"), (std::vector<Disc>{{"SC8101", "101", 12, "SC"}, {"SC8200", "200", 1, ""}}));
    EXPECT_EQ(BookListings("Party").size(), 3u);
}

// Many rows against a small book: the listings' keys are made once at the
// end, exactly as declared, so the book opens as any book does, reads in
// key order, and still refuses what its unique key refuses.
TEST_F(ImportProcess, ALargeImportLeavesTheBookWithTheKeysOfAnyBook) {
    MakeBook("Fresh", {}, {});
    Book({{"SC8101", "101", 12, "SC"}}, {{"Old", "A", "SC8101", 1}});
    std::string file;
    for (unsigned t = 1; t <= 1500; ++t)
        file += Line("Song " + std::to_string(1500 - t), "C" + std::to_string(t / 10), t % 10, "M" + std::to_string(t / 10));
    const exchange::ImportResult r = Analyse(file);
    EXPECT_EQ(r.state, shell::PassState::Completed);
    EXPECT_EQ(r.listingsAdded, 1500);
    EXPECT_EQ(r.discsAdded, 151);
    const std::string indexes =
        "SELECT group_concat(sql, ';') FROM (SELECT sql FROM sqlite_master WHERE type='index' ORDER BY name)";
    EXPECT_EQ(Query("Party.2bk", indexes), Query("Fresh.2bk", indexes));

    OpenHere();  // no 46: the keys are the declared ones
    std::vector<std::string> titles;
    fw::SET(shell::SongBook().FindKey("SBK:KTITLE"));
    for (fw::NEXT(shell::SongBook()); fw::ERRORCODE() == 0 && titles.size() < 3; fw::NEXT(shell::SongBook()))
        titles.emplace_back(shell::SongBookBuffer().Title.Clip());
    EXPECT_EQ(titles, (std::vector<std::string>{"Old", "Song 0", "Song 1"}));
    fw::ClearRecord(&shell::SongBookBuffer(), shell::SongBookRec::Decl());
    shell::SongBookBuffer().UnqDiskID = "m1";
    shell::SongBookBuffer().DISKTRACKNO = 1;
    fw::ADD(shell::SongBook());
    EXPECT_EQ(fw::ERRORCODE(), fw::DupKeyErr);
    CloseHere();
}

TEST_F(ImportProcess, ACancelKeepsTheSlicesDoneWithTheirDiscs) {
    Book({}, {});
    std::string file;
    for (unsigned t = 1; t <= 1200; ++t) file += Line("Song", "C" + std::to_string(t / 7), t % 7, "M" + std::to_string(t / 7));
    const exchange::ImportResult r = Analyse(file, true);
    EXPECT_EQ(r.state, shell::PassState::Cancelled);
    EXPECT_EQ(r.listingsAdded, kSlice);
    EXPECT_EQ(static_cast<long>(BookListings("Party").size()), kSlice);
    // Every listing has its disc, and no disc and track is there twice.
    EXPECT_EQ(Query("Party.2bk", "SELECT COUNT(*) FROM (SELECT 1 FROM records GROUP BY upper(UnqDiskID), DISKTRACKNO "
                                 "HAVING COUNT(*) > 1)"),
              std::vector<std::string>{"0"});
    std::vector<std::string> discsOfListings;
    for (const Listing& l : BookListings("Party"))
        if (discsOfListings.empty() || discsOfListings.back() != l.unq) discsOfListings.push_back(l.unq);
    std::vector<std::string> discs;
    for (const Disc& d : BookDiscs("Party")) discs.push_back(d.unq);
    std::sort(discsOfListings.begin(), discsOfListings.end());
    EXPECT_EQ(discs, discsOfListings);
}

}  // namespace
}  // namespace exchange_test
