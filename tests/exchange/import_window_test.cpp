// The import window and its correction form through the test driver: the
// conflict list, the form's four buttons and its findings, "&Ny" and
// "&Delete", the question before leaving conflicts out, a file that cannot
// be read to its end.
#include "exchange/import_song_listings.h"

#include "platform/os/beep.h"

#include <cstdlib>

#include "exchange_fixture.h"

namespace exchange_test {
namespace {

constexpr const char* kForm = "P1$CORRECTIMPORTCONFLICT";
constexpr const char* kImport = exchange::kImportWindow;

class ImportWindow : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        fw::SetBeepHandler([this](unsigned) { ++beeps; });
        Book({{"SC8101", "101", 12, "SC"}, {"SC8102", "102", 12, "SC"}},
             {{"Old 1", "A", "SC8101", 1}, {"Old 2", "A", "SC8101", 2}, {"Old 3", "A", "SC8101", 3}});
    }
    void TearDown() override {
        fw::SetBeepHandler(nullptr);
        ExchangeTest::TearDown();
    }
    // The file chosen in the dialog, then the answers to what follows.
    void Open(const std::string& file, const std::function<void()>& answers = {}) {
        WriteFile("in.csv", file);
        d().AnswerFileDialog(Path("in.csv"));
        if (answers) answers();
        Run(exchange::ImportSongListings);
    }
    // Imports what is left and waits for the import to end.
    void ImportListings() {
        d().Press("?OKBUTTON", kImport);
        EXPECT_TRUE(TickUntilClosed("P1$PROGRESSWINDOW"));
        EXPECT_FALSE(d().IsOpen(kImport));
    }
    std::vector<std::string> Conflicts() { return d().Rows("?LIST", kImport); }
    std::vector<std::string> Titles() {
        std::vector<std::string> out;
        for (const Listing& l : BookListings("Party")) out.push_back(l.title + "@" + l.unq + "/" + std::to_string(l.track));
        return out;
    }

    int beeps = 0;
};

TEST_F(ImportWindow, AFileWithoutConflictsSaysSoAndImportsWithoutAQuestion) {
    Open(Line("New", "200", 1, "SC8200"));
    ASSERT_TRUE(d().IsOpen(kImport));
    EXPECT_TRUE(d().Hidden("?CONFLICTGROUP"));
    EXPECT_TRUE(d().Hidden("?ANALYZINGGROUP"));
    EXPECT_FALSE(d().Hidden("?NOCONFLICTGROUP"));
    EXPECT_EQ(d().Text("?NOCONFLICTTEXT"), "The Import File has been Analyzed and NO Conflicts Exist!");
    ImportListings();
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Old 1@SC8101/1", "Old 2@SC8101/2", "Old 3@SC8101/3", "New@SC8200/1"}));
}

TEST_F(ImportWindow, CorrectingTheTrackAndTheCustomIdMovesTheRowsToTheImport) {
    Open(Line("New", "200", 1, "SC8200") + Line("Track taken", "101", 3, "SC8101") +
         Line("Custom ID taken", "101", 1, "SC8300"));
    ASSERT_FALSE(d().Hidden("?CONFLICTGROUP"));
    EXPECT_TRUE(d().Hidden("?NOCONFLICTGROUP"));
    EXPECT_EQ(Conflicts(), (std::vector<std::string>{"101|1|SC8300", "101|3|SC8101"}));

    // The track clash: its texts shown, its two entries open, the custom ID closed.
    d().Choose("?LIST", 2);
    d().Press("?CHANGE");
    ASSERT_TRUE(d().IsOpen(kForm));
    EXPECT_FALSE(d().Hidden("?TRACKCLASH1"));
    EXPECT_TRUE(d().Hidden("?CUSTOMCLASH1"));
    EXPECT_TRUE(d().Enabled("?BAD:DISKTRACKNO"));
    EXPECT_TRUE(d().Enabled("?BAD:UNQDISKID"));
    EXPECT_FALSE(d().Enabled("?BAD:ALTDISKID"));
    EXPECT_EQ(d().Text("?ACTIONMESSAGE"), "Record will be Changed");
    d().Press("?IMPORT");  // still clashing: a beep, the form stays
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(d().IsOpen(kForm));
    d().Type("?BAD:DISKTRACKNO", "9");
    d().Press("?IMPORT");
    EXPECT_FALSE(d().IsOpen(kForm));
    EXPECT_EQ(Conflicts(), (std::vector<std::string>{"101|1|SC8300"}));

    // The custom-ID clash, fixed and accepted with OK.
    d().Choose("?LIST", 1);
    d().Press("?CHANGE");
    EXPECT_FALSE(d().Hidden("?CUSTOMCLASH1"));
    EXPECT_TRUE(d().Hidden("?TRACKCLASH1"));
    EXPECT_TRUE(d().Enabled("?BAD:ALTDISKID"));
    EXPECT_FALSE(d().Enabled("?BAD:DISKTRACKNO"));
    d().Type("?BAD:ALTDISKID", "300");
    d().Press("?OK");
    EXPECT_FALSE(d().IsOpen(kForm));
    EXPECT_TRUE(Conflicts().empty());
    EXPECT_FALSE(d().Enabled("?CHANGE"));

    ImportListings();  // nothing left out: no question
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Old 1@SC8101/1", "Old 2@SC8101/2", "Old 3@SC8101/3",
                                                  "Track taken@SC8101/9", "New@SC8200/1", "Custom ID taken@SC8300/1"}));
    EXPECT_EQ(BookDiscs("Party").back(), (Disc{"SC8300", "300", 1, "SC"}));
}

TEST_F(ImportWindow, CopiesKeptConflictsDroppedRowsAndTheQuestionBeforeLeavingConflictsOut) {
    Open(Line("First", "101", 1, "SC8101") + Line("Second", "101", 2, "SC8101") + Line("Third", "101", 3, "SC8101"));
    ASSERT_EQ(Conflicts(), (std::vector<std::string>{"101|1|SC8101", "101|2|SC8101", "101|3|SC8101"}));

    // "&Ny": a copy with a free track goes to the import; the original stays.
    d().Choose("?LIST", 1);
    d().Press("?INSERT");
    EXPECT_EQ(d().Text("?ACTIONMESSAGE", kForm), "Record will be Added");
    d().Type("?BAD:DISKTRACKNO", "20");
    d().Press("?OK");
    EXPECT_EQ(Conflicts().size(), 3u);

    // OK with a clash left: a beep, the corrected row stays a conflict, re-sorted.
    d().Choose("?LIST", 1);
    d().Press("?CHANGE");
    d().Type("?BAD:DISKTRACKNO", "3");
    d().Press("?OK");
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(d().IsOpen(kForm));
    EXPECT_EQ(Conflicts(), (std::vector<std::string>{"101|2|SC8101", "101|3|SC8101", "101|3|SC8101"}));

    // Cancel changes nothing, whatever was typed; the close box neither.
    d().Choose("?LIST", 1);
    d().Press("?CHANGE");
    d().Type("?BAD:DISKTRACKNO", "40");
    d().Press("?CANCEL");
    d().Press("?CHANGE");
    d().Type("?BAD:DISKTRACKNO", "41");
    d().CloseWindow(kForm);
    EXPECT_FALSE(d().IsOpen(kForm));
    EXPECT_EQ(Conflicts(), (std::vector<std::string>{"101|2|SC8101", "101|3|SC8101", "101|3|SC8101"}));

    // "Do Not Import" drops the row.
    d().Choose("?LIST", 1);
    d().Press("?CHANGE");
    d().Press("?DONOTIMPORT");
    EXPECT_EQ(Conflicts(), (std::vector<std::string>{"101|3|SC8101", "101|3|SC8101"}));

    // "&Delete": warning 32; Cancel keeps the row, OK removes it.
    d().AnswerMessage("You've selected to delete the highlighted record.", fw::Button::Cancel);
    d().Choose("?LIST", 2);
    d().Press("?DELETE");
    EXPECT_EQ(Conflicts().size(), 2u);
    d().AnswerMessage("You've selected to delete the highlighted record.", fw::Button::Ok);
    d().Press("?DELETE");
    EXPECT_EQ(Conflicts(), (std::vector<std::string>{"101|3|SC8101"}));

    // Leaving the last conflict out is asked about; No stays, Yes imports the rest.
    d().AnswerMessage("Conflicting Listing Still Exist!", fw::Button::No);
    d().Press("?OKBUTTON");
    EXPECT_TRUE(d().IsOpen(kImport));
    d().AnswerMessage("Conflicting Listing Still Exist!", fw::Button::Yes);
    ImportListings();
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Old 1@SC8101/1", "Old 2@SC8101/2", "Old 3@SC8101/3",
                                                  "First@SC8101/20"}));
}

TEST_F(ImportWindow, ARowWithoutDiscIdsIsAConflictToCorrect) {
    Open(Line("Nowhere", "", 4, ""));
    ASSERT_EQ(Conflicts(), (std::vector<std::string>{"|4|"}));
    d().Choose("?LIST", 1);
    d().Press("?CHANGE");
    EXPECT_FALSE(d().Hidden("?NODISCID1"));
    EXPECT_TRUE(d().Enabled("?BAD:UNQDISKID"));
    EXPECT_TRUE(d().Enabled("?BAD:ALTDISKID"));
    d().Type("?BAD:ALTDISKID", "OWN1");
    d().Press("?IMPORT");
    ImportListings();
    EXPECT_EQ(BookDiscs("Party").front(), (Disc{"OWN1", "OWN1", 1, "SC"}));
}

TEST_F(ImportWindow, AnUnreadableLineIsReportedNeverAsNoConflicts) {
    const std::string file = Line("One", "200", 1, "SC8200") + Line("Two", "200", 2, "SC8200") + "\"Bad\",\"A\",\"200\",x3\r\n" +
                             Line("Four", "200", 4, "SC8200");
    Open(file, [this] { d().AnswerMessage("Line 3 of the Import File could not be read", fw::Button::No); });
    EXPECT_FALSE(d().IsOpen(kImport));
    EXPECT_EQ(BookListings("Party").size(), 3u);

    Open(file, [this] { d().AnswerMessage("Line 3 of the Import File could not be read", fw::Button::Yes); });
    ASSERT_TRUE(d().IsOpen(kImport));
    EXPECT_EQ(d().Text("?NOCONFLICTTEXT"), "The listings before line 3 have NO Conflicts.");
    ImportListings();
    EXPECT_EQ(BookListings("Party").size(), 5u);
}

TEST_F(ImportWindow, AFileThatCannotBeOpenedIsReported) {
    d().AnswerFileDialog(Path("missing.csv"));
    d().AnswerMessage("Unable to Open Import File!|Error: 2", fw::Button::Ok);
    Run(exchange::ImportSongListings);
    EXPECT_FALSE(d().IsOpen(kImport));
    EXPECT_EQ(d().UnusedAnswers(), 0u);
}

TEST_F(ImportWindow, AUtf8FileIsReadAsUtf8AndSaysSo) {
    Open("\xEF\xBB\xBF" + Line("Caf\xC3\xA9", "200", 1, "SC8200"),
         [this] { d().AnswerMessage("UTF-8", fw::Button::Ok); });
    ImportListings();
    EXPECT_EQ(BookListings("Party").back().title, "Caf\xE9");
}

// UTF-8 without the mark and Windows-1252, as spreadsheets save them, are
// read as such and the import says how it read them.
TEST_F(ImportWindow, FilesWithoutAMarkAreReadInTheirOwnCodePage) {
    struct Case {
        std::string bytes;
        const char* said;
    };
    const std::vector<Case> cases = {
        {Line("Caf\xC3\xA9 Ma\xC3\xB1" "ana", "200", 1, "SC8200"), "read as UTF-8 text"},
        {Line("Caf\xE9 Ma\xF1" "ana", "200", 1, "SC8200"), "read as Windows-1252 text"},
        {Line("Caf\x82 Ma\xA4" "ana", "200", 1, "SC8200"), nullptr},  // the file format's own code page
    };
    for (const Case& c : cases) {
        Book({}, {});
        Open(c.bytes, [&] {
            if (c.said) d().AnswerMessage(c.said, fw::Button::Ok);
        });
        ImportListings();
        EXPECT_EQ(d().UnusedAnswers(), 0u) << c.said;
        ASSERT_EQ(BookListings("Party").size(), 1u);
        EXPECT_EQ(BookListings("Party")[0].title, "Caf\xE9 Ma\xF1" "ana");
    }
}

// Lines with characters the book cannot store are listed before anything
// is written; the host cancels (the book stays as it was) or goes on (they
// become "?", as listed).
TEST_F(ImportWindow, LinesWithCharactersTheBookCannotStoreAreAskedAbout) {
    const std::string file = "\xEF\xBB\xBF" + Line("Plain", "200", 1, "SC8200") + Line("\xC5\xBB\xC3\xB3\xC5\x82ta", "200", 2, "SC8200") +
                             Line("caf\xE9", "200", 3, "SC8200") + "\"Ti" + std::string(1, '\0') + "tle\",\"A\",\"200\",4,\"SC8200\"\r\n";
    const std::string question =
        "The Import File has been read as UTF-8 text.|3 lines hold characters that the SongBook cannot store:||"
        "Line 2: \"?\xF3?ta\" (U+017B U+0142)|Line 3: \"caf?\" (0xE9)|Line 4: \"Ti?tle\" (U+0000)||"
        "If you continue, each of these characters becomes \"?\", as shown.|Do you wish to continue?";
    const std::vector<std::string> before = Titles();
    Open(file, [&] { d().AnswerMessage(question, fw::Button::No); });
    EXPECT_EQ(d().UnusedAnswers(), 0u);
    EXPECT_FALSE(d().IsOpen(kImport));
    EXPECT_EQ(Titles(), before);

    Open(file, [&] { d().AnswerMessage(question, fw::Button::Yes); });
    ImportListings();
    std::vector<std::string> after = before;
    for (const char* t : {"Plain@SC8200/1", "?\xF3?ta@SC8200/2", "caf?@SC8200/3", "Ti?tle@SC8200/4"}) after.push_back(t);
    EXPECT_EQ(Titles(), after);
}

// A book exported, opened and saved in LibreOffice Calc (as UTF-8,
// Windows-1252 or MS-DOS text) and imported into an empty book comes back
// with every field as it was.
TEST_F(ImportWindow, ABookSavedAgainByASpreadsheetComesBackAsItWas) {
    const std::vector<Disc> discs = {{"MP3-7", "Own 7", 44, ""}, {"SC8101", "101", 12, "SC"}, {"SC8102", "102", 12, "SC"}};
    const std::vector<Listing> listings = {
        {"Sm\xF6rg\xE5sbord", "\xD6" "berg, \xC5sa", "MP3-7", 1, "", "", Day(2, 29, 2024), "", ""},
        {"Ni\xF1" "a", "\xD1u", "MP3-7", 2, "", "", 0, "", ""},
        {"Caf\xE9 Ma\xF1" "ana", "Se\xF1or Coconut", "SC8101", 1, "", "SC", Day(12, 25, 2003), "Latin", ""},
        {"Say \"Hi\", Pt 1", "Beatles, The", "SC8101", 2, "", "SC", Day(1, 2, 2010), "Rock", "D"},
        {"\xDC" "ber den Wolken", "Reinhard Mey", "SC8102", 3, "", "SC", 0, "", ""},
        {"\xC7" "a plane pour moi", "Plastic Bertrand", "SC8102", 4, "", "SC", Day(3, 7, 1999), "Pop", ""},
    };
    struct Case {
        const char* file;
        const char* said;
    };
    for (const Case c : {Case{"export-437.csv", nullptr}, Case{"calc-export-utf8.csv", "UTF-8"},
                         Case{"calc-export-1252.csv", "Windows-1252"}, Case{"calc-export-437.csv", nullptr}}) {
        std::ifstream in(std::string(CV_TEST_DIR) + "/spreadsheet_files/" + c.file, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        Book({}, {});
        Open(bytes.str(), [&] {
            if (c.said) d().AnswerMessage(c.said, fw::Button::Ok);
        });
        ImportListings();
        EXPECT_EQ(d().UnusedAnswers(), 0u) << c.file;
        EXPECT_EQ(BookListings("Party"), listings) << c.file;
        EXPECT_EQ(BookDiscs("Party"), discs) << c.file;
    }
}

}  // namespace
}  // namespace exchange_test

namespace exchange_test {
namespace {

TEST_F(ImportWindow, ScreenshotWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    Open(Line("New", "200", 1, "SC8200") + Line("Track taken", "101", 3, "SC8101") +
         Line("Custom ID taken", "101", 1, "SC8300") + Line("Second copy", "101", 2, "SC8101") +
         Line("Nowhere", "", 4, ""));
    EXPECT_TRUE(d().Screenshot(kImport, std::string(dir) + "/" + kImport + ".png"));
    d().Choose("?LIST", 4);
    d().Press("?CHANGE");
    EXPECT_TRUE(d().Screenshot(kForm, std::string(dir) + "/" + kForm + ".png"));
    d().Press("?CANCEL");
    d().Press("?CANCELBUTTON", kImport);
}

}  // namespace
}  // namespace exchange_test
