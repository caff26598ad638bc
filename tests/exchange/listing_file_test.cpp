// The CSV listing file: the bytes a row is written as, what a spreadsheet's
// file reads as, the lines that cannot be read, and an independent reader
// (Python's csv module) reading back what we write.
#include "exchange/listing_file.h"

#include "platform/data/file.h"
#include "platform/runtime/error_state.h"
#include "platform/text/clock.h"
#include "platform/text/codepage.h"
#include "platform/text/dates.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shell/data_dictionary_prefixes.h"

namespace {

using exchange::ListingFileRec;

class ListingFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        fw::FixClock(fw::DATE(6, 1, 2025), 0);
    }
    void TearDown() override { fw::ResetClock(); }

    std::string Path(const std::string& name = "listings.csv") const { return dir_.path().toStdString() + "/" + name; }

    void WriteBytes(const std::string& bytes, const std::string& name = "listings.csv") const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string ReadBytes(const std::string& name = "listings.csv") const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // The listing in SBK on the disc in SBD, as the export writes it.
    void WriteBookRows(const std::vector<std::pair<shell::SongBookRec, shell::SBDiscsRec>>& rows) const {
        fw::CsvFileOf<ListingFileRec> file(ListingFileRec::Decl(), exchange::kListingFileWrite);
        file.name = Path();
        fw::CREATE(file);
        fw::OPEN(file);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        for (const auto& [listing, disc] : rows) {
            SBK = listing;
            SBD = disc;
            exchange::FillFromBook(file.rec);
            fw::APPEND(file);
            ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        }
        fw::CLOSE(file);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }

    struct Read {
        std::vector<shell::ImportQueRec> rows;
        std::vector<long> badLines;
        std::vector<std::string> unstorable;  // "line: characters"
    };
    // Every row of the file (in the test's folder, or a full path) as the
    // import converts it, the lines that could not be read and those with
    // characters the book cannot store.
    Read ReadRows(const std::string& name = "listings.csv") const {
        Read out;
        const std::string path = name.front() == '/' ? name : Path(name);
        fw::CsvFileOf<ListingFileRec> file(ListingFileRec::Decl(), exchange::ListingFileReadAttributes(path));
        file.name = path;
        fw::OPEN(file, fw::ReadOnly | fw::DenyWrite);
        EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        for (;;) {
            fw::NEXT(file);
            if (fw::ERRORCODE() == fw::RecordNotAvailable) break;
            if (fw::ERRORCODE() != 0) {
                out.badLines.push_back(file.ErrorLine());
                continue;
            }
            shell::ImportQueRec row;
            exchange::ToImportRow(file.rec, row);
            out.rows.push_back(row);
            if (!file.Unstorable().empty())
                out.unstorable.push_back(std::to_string(file.RecordLine()) + ": " + file.Unstorable());
        }
        fw::CLOSE(file);
        return out;
    }

    static std::pair<shell::SongBookRec, shell::SBDiscsRec> BookRow(const std::string& title, const std::string& artist,
                                                                    const std::string& unq, std::uint32_t track,
                                                                    const std::string& alt, long date) {
        shell::SongBookRec l;
        shell::SBDiscsRec d;
        fw::ClearRecord(&l, shell::SongBookRec::Decl());
        fw::ClearRecord(&d, shell::SBDiscsRec::Decl());
        l.Title = title;
        l.Artist = artist;
        l.UnqDiskID = unq;
        l.DISKTRACKNO = track;
        l.GENRE = "Rock";
        l.MAKEID = "SC";
        l.DateAdded = static_cast<std::int32_t>(date);
        l.PRINT = "X";       // not exported
        l.LOCATION = "Bar";  // not exported
        d.UNQDISKID = unq;
        d.ALTDISKID = alt;
        d.MakeID = 12;
        d.MAKETYPE = "SK";
        return {l, d};
    }

    QTemporaryDir dir_;
};

TEST_F(ListingFile, RowsAreWrittenByteForByte) {
    WriteBookRows({
        BookRow("Say \"Hi\", Pt 1   ", "Beatles, The", "SC8101", 5, "SC101", fw::DATE(12, 25, 2003)),
        BookRow("Caf\xE9 Ma\xF1" "ana", "", "SC8102", 70000, "", fw::DATE(3, 7, 1999)),
        BookRow("No Date", "X", "SC8103", 0, "SC103", 0),
    });
    EXPECT_EQ(ReadBytes(),
              "\"Say \"\"Hi\"\", Pt 1\",\"Beatles, The\",\"SC101\",5,\"SC8101\",\"Rock\",\"\",\"SC\",12,\"SK\",\"12/25/03\"\r\n"
              "\"Caf\x82 Ma\xA4" "ana\",\"\",\"\",70000,\"SC8102\",\"Rock\",\"\",\"SC\",12,\"SK\",\"03/07/99\"\r\n"
              "\"No Date\",\"X\",\"SC103\",0,\"SC8103\",\"Rock\",\"\",\"SC\",12,\"SK\",\"\"\r\n");
}

TEST_F(ListingFile, ExportNamesGetTheExtensionOnlyWhenTheyLackIt) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"Book", "Book.csv"},          {"Book.csv", "Book.csv"},   {"Book.CSV", "Book.CSV"},
        {"Book.txt", "Book.txt.csv"},  {"x.csv.old/Book", "x.csv.old/Book.csv"}, {"Book.Csv  ", "Book.Csv"},
    };
    for (const auto& [typed, used] : names) EXPECT_EQ(exchange::ExportFileNameFor(typed), used) << typed;
}

TEST_F(ListingFile, DatesReadThroughTheCenturyWindow) {
    // In 2025 two-digit years up to 45 are this century.
    WriteBytes(
        "\"A\",\"\",\"\",1,\"D1\",\"\",\"\",\"\",0,\"\",\"12/25/03\"\r\n"
        "\"B\",\"\",\"\",2,\"D1\",\"\",\"\",\"\",0,\"\",\"03/07/99\"\r\n"
        "\"C\",\"\",\"\",3,\"D1\",\"\",\"\",\"\",0,\"\",\"3/7/1946\"\r\n"
        "\"D\",\"\",\"\",4,\"D1\",\"\",\"\",\"\",0,\"\",\"\"\r\n"
        "\"E\",\"\",\"\",5,\"D1\",\"\",\"\",\"\",0,\"\",\"not a date\"\r\n"
        "\"F\",\"\",\"\",6,\"D1\",\"\",\"\",\"\",0,\"\",\"12/31/45\"\r\n");
    const Read r = ReadRows();
    ASSERT_EQ(r.rows.size(), 6u);
    EXPECT_EQ(r.rows[0].DATEADDED, fw::DATE(12, 25, 2003));
    EXPECT_EQ(r.rows[1].DATEADDED, fw::DATE(3, 7, 1999));
    EXPECT_EQ(r.rows[2].DATEADDED, fw::DATE(3, 7, 1946));
    EXPECT_EQ(r.rows[3].DATEADDED, 0);
    EXPECT_EQ(r.rows[4].DATEADDED, 0);
    EXPECT_EQ(r.rows[5].DATEADDED, fw::DATE(12, 31, 2045));
}

TEST_F(ListingFile, RowsConvertWithTheirWholeTrackAndTextsCut) {
    WriteBytes("\"" + std::string(45, 'T') + "\",\"Art\",\"ALT1\",70000,\"MFG1\",\"Pop\",\"D\",\"SC\",-3,\"SK\",\"\"\r\n");
    const Read r = ReadRows();
    ASSERT_EQ(r.rows.size(), 1u);
    const shell::ImportQueRec& row = r.rows[0];
    EXPECT_EQ(row.TITLE.Str(), std::string(40, 'T'));
    EXPECT_EQ(row.DISKTRACKNO, 70000u);
    EXPECT_EQ(row.ALTDISKID.Str(), "ALT1");
    EXPECT_EQ(row.UNQDISKID.Str(), "MFG1");
    EXPECT_EQ(row.DUET.Str(), "D");
    EXPECT_EQ(row.MAKEID, -3);
    EXPECT_EQ(row.MAKETYPE.Str(), "SK");
}

// A file as a spreadsheet saves it: CR LF, texts quoted only where needed,
// a header-less sheet with a trailing empty line.
TEST_F(ListingFile, SpreadsheetFilesRead) {
    WriteBytes(
        "Hey Jude,\"Beatles, The\",SC101,5,SC8101,Rock,,SC,12,,12/25/03\r\n"
        "\"Say \"\"Hi\"\"\",Artist,SC102,1,SC8102,,,SC,12,,1/5/2004\r\n"
        "Plain,Artist,SC103,2,SC8103,,,SC,12,SK,\r\n"
        "\r\n");
    const Read r = ReadRows();
    EXPECT_TRUE(r.badLines.empty());
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].ARTIST.Str(), "Beatles, The");
    EXPECT_EQ(r.rows[0].DATEADDED, fw::DATE(12, 25, 2003));
    EXPECT_EQ(r.rows[1].TITLE.Str(), "Say \"Hi\"");
    EXPECT_EQ(r.rows[1].DATEADDED, fw::DATE(1, 5, 2004));
    EXPECT_EQ(r.rows[2].MAKETYPE.Str(), "SK");
}

// A UTF-8 file with its byte-order mark (a spreadsheet's "CSV UTF-8") is
// read as UTF-8; the same file without the mark is code page 437.
TEST_F(ListingFile, Utf8FilesWithAMarkReadAsUtf8) {
    WriteBytes("\xEF\xBB\xBF\"Caf\xC3\xA9\",\"Ma\xC3\xB1" "ana\",\"A1\",1,\"M1\",\"\",\"\",\"\",0,\"\",\"\"\r\n", "utf8.csv");
    EXPECT_NE(exchange::ListingFileReadAttributes(Path("utf8.csv")) & fw::kCsvUtf8, 0u);
    const Read r = ReadRows("utf8.csv");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0].TITLE.Str(), "Caf\xE9");
    EXPECT_EQ(r.rows[0].ARTIST.Str(), "Ma\xF1" "ana");

    WriteBytes("\"Caf\x82\",\"\",\"A1\",1,\"M1\",\"\",\"\",\"\",0,\"\",\"\"\r\n", "oem.csv");
    EXPECT_EQ(exchange::ListingFileReadAttributes(Path("oem.csv")) & fw::kCsvUtf8, 0u);
    EXPECT_EQ(ReadRows("oem.csv").rows.at(0).TITLE.Str(), "Caf\xE9");
}

TEST_F(ListingFile, MalformedLinesAreReportedWithTheirLineNumbers) {
    const std::string good = "\"T\",\"A\",\"C1\",1,\"M1\",\"\",\"\",\"\",0,\"\",\"\"\r\n";
    struct Case {
        const char* what;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"too many fields", "\"T\",\"A\",\"C1\",1,\"M1\",\"\",\"\",\"\",0,\"\",\"\",\"x\"\r\n"},
        {"a track that is no number", "\"T\",\"A\",\"C1\",1a,\"M1\",\"\",\"\",\"\",0,\"\",\"\"\r\n"},
        {"a negative track", "\"T\",\"A\",\"C1\",-1,\"M1\",\"\",\"\",\"\",0,\"\",\"\"\r\n"},
        {"text after a closing quote", "\"T\"x,\"A\",\"C1\",1,\"M1\",\"\",\"\",\"\",0,\"\",\"\"\r\n"},
        {"a quote inside unquoted text", "T\"x,\"A\",\"C1\",1,\"M1\",\"\",\"\",\"\",0,\"\",\"\"\r\n"},
        {"a lone CR", "\"T\",\"A\",\"C1\",1,\"M1\",\"\",\"\",\"\",0,\"\",\"\"\rx\r\n"},
    };
    for (const Case& c : cases) {
        WriteBytes(good + good + c.line + good);
        const Read r = ReadRows();
        EXPECT_EQ(r.badLines, std::vector<long>{3}) << c.what;
        EXPECT_EQ(r.rows.size(), 3u) << c.what;
    }
    // A quoted text left open runs to the end of the file.
    WriteBytes(good + "\"T,\"A\"\r\n" + good);
    EXPECT_EQ(ReadRows().badLines, std::vector<long>{2});
}

// Spreadsheets leave empty trailing cells out, and hosts type only the
// first columns: the missing fields are empty. More fields than eleven
// are still refused with the line's number.
TEST_F(ListingFile, ShortLinesHaveEmptyTrailingFields) {
    WriteBytes("Hey Jude,Beatles,101,5,SC8101\r\n"
               "Only A Title\r\n"
               "\"T\",\"A\",\"C1\",1,\"M1\",\"Pop\",\"D\",\"SC\",12\r\n"
               "\"T\",\"A\",\"C1\",1,\"M1\",\"\",\"\",\"\",0,\"\",\"\",\"x\"\r\n");
    const Read r = ReadRows();
    EXPECT_EQ(r.badLines, std::vector<long>{4});
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].TITLE.Str(), "Hey Jude");
    EXPECT_EQ(r.rows[0].UNQDISKID.Str(), "SC8101");
    EXPECT_EQ(r.rows[0].DISKTRACKNO, 5u);
    EXPECT_EQ(r.rows[0].GENRE.Str(), "");
    EXPECT_EQ(r.rows[0].MAKEID, 0);
    EXPECT_EQ(r.rows[0].DATEADDED, 0);
    EXPECT_EQ(r.rows[1].TITLE.Str(), "Only A Title");
    EXPECT_EQ(r.rows[1].DISKTRACKNO, 0u);
    EXPECT_EQ(r.rows[2].MAKEID, 12);
    EXPECT_EQ(r.rows[2].MAKETYPE.Str(), "");
}

// Characters the book cannot store become "?" and the line says so: box
// drawing in a code page 437 file, letters outside Windows-1252 in UTF-8,
// bytes that are not UTF-8 after the byte-order mark, a NUL in a quoted
// title (which would otherwise cut the title there).
TEST_F(ListingFile, LinesWithCharactersTheBookCannotStoreAreNamed) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string title;
        std::vector<std::string> unstorable;
    };
    const std::string rest = "\"A\",\"C1\",1,\"M1\",\"\",\"\",\"\",0,\"\",\"\"\r\n";
    const std::vector<Case> cases = {
        {"box drawing in code page 437", "\"Caf\x82\",\"A\",\"C1\",1\r\n\"\xC4\xB3 \xE0\"," + rest, "?? ?",
         {"2: U+2500 U+2502 U+03B1"}},
        {"outside Windows-1252 in UTF-8", "\"Pl\",\"A\"\r\n\"\xC5\xBB\xC3\xB3\xC5\x82ta\"," + rest, "?\xF3?ta",
         {"2: U+017B U+0142"}},
        {"not UTF-8 after the mark", "\xEF\xBB\xBF\"caf\xE9 \xFF\xFE\"," + rest, "caf? ??", {"1: 0xE9 0xFF 0xFE"}},
        {"NUL inside a quoted title", "\"Ti" + std::string(1, '\0') + "tle\"," + rest, "Ti?tle", {"1: U+0000"}},
    };
    for (const Case& c : cases) {
        WriteBytes(c.bytes);
        const Read r = ReadRows();
        EXPECT_TRUE(r.badLines.empty()) << c.what;
        ASSERT_FALSE(r.rows.empty()) << c.what;
        EXPECT_EQ(r.rows.back().TITLE.Str(), c.title) << c.what;
        EXPECT_EQ(r.unstorable, c.unstorable) << c.what;
    }
}

// Files as LibreOffice Calc saved them (our export opened as MS-DOS text
// and saved as UTF-8, Windows-1252 and MS-DOS; sheets typed in Calc) and
// as Excel saves them ("CSV UTF-8" with its mark, "CSV (Comma delimited)"
// in Windows-1252), kept in spreadsheet_files/.
TEST_F(ListingFile, SpreadsheetSavedFilesReadAsTheHostSeesThem) {
    struct Case {
        const char* file;
        fw::FileText text;
        std::vector<std::string> rows;  // title|artist|custom ID|track|Mfg. ID|genre|date
        std::vector<std::string> unstorable;
    };
    const std::vector<std::string> exported = {
        "Caf\xE9 Ma\xF1" "ana|Se\xF1or Coconut|101|1|SC8101|Latin|12/25/2003",
        "Say \"Hi\", Pt 1|Beatles, The|101|2|SC8101|Rock|1/2/2010",
        "\xDC" "ber den Wolken|Reinhard Mey|102|3|SC8102||-",
        "\xC7" "a plane pour moi|Plastic Bertrand|102|4|SC8102|Pop|3/7/1999",
        "Sm\xF6rg\xE5sbord|\xD6" "berg, \xC5sa|Own 7|1|MP3-7||2/29/2024",
        "Ni\xF1" "a|\xD1u|Own 7|2|MP3-7||-",
    };
    const std::vector<Case> cases = {
        {"export-437.csv", fw::FileText::Oem, exported, {}},
        {"calc-export-utf8.csv", fw::FileText::Utf8, exported, {}},
        {"calc-export-1252.csv", fw::FileText::Ansi, exported, {}},
        {"calc-export-437.csv", fw::FileText::Oem, exported, {}},
        {"calc-typed-1252.csv", fw::FileText::Ansi,
         {"Jo\xE3o e Maria|Chico Buarque|BR1|1|BRA01||-", "\x80uro Trash|Band|EU1|2|EUR01||-", "\x8Cuvre|Artiste|FR1|3|||-",
          "Don\x92t Stop|Fleetwood Mac|US1|4|USA01||-", "\xC7" "a va|\xC9lodie|FR1|5|FRA01||-"},
         {}},
        {"calc-typed-utf8.csv", fw::FileText::Utf8,
         {"Dzi? prawdziwych Cygan\xF3w nie ma|Maryla Rodowicz|PL1|1|POL01||-",
          "?' ?????|???? ?????????|GR1|2|GRE01||-", "Hello, Goodbye|Beatles|UK1|3|||-", "?\xF3?ta|Zesp\xF3?|PL1|4|POL01||-",
          "Plain Song|Artist|US1|5|USA01||-"},
         {"1: U+015B", "2: U+03A3 U+03B1 U+03B3 U+03C0 U+03CE U+039D U+03AC U+03BD U+039C U+03BF U+03CD U+03C3 U+03C7 U+03C5 U+03C1 U+03B7",
          "4: U+017B U+0142"}},
        {"excel-utf8-bom.csv", fw::FileText::Utf8,
         {"Dzi? prawdziwych Cygan\xF3w nie ma|Maryla Rodowicz|PL1|1|POL01||-",
          "Caf\xE9 Ma\xF1" "ana|Se\xF1or, Coconut|ES1|2|ESP01||-", "Plain Song|Artist|US1|3|||-"},
         {"1: U+015B"}},
        {"excel-1252.csv", fw::FileText::Ansi,
         {"Jo\xE3o e Maria|Chico Buarque|BR1|1|BRA01|MPB|-", "\x80uro Trash|Band, The|EU1|2|EUR01||-",
          "Say \"\x8Cuvre\"|Artiste|FR1|3|FRA01||-", "Don\x92t Stop|Fleetwood Mac|US1|4|USA01|Rock|-"},
         {}},
    };
    for (const Case& c : cases) {
        const std::string path = std::string(CV_TEST_DIR) + "/spreadsheet_files/" + c.file;
        EXPECT_EQ(exchange::HowToReadListingFile(path).text, c.text) << c.file;
        const Read r = ReadRows(path);
        EXPECT_TRUE(r.badLines.empty()) << c.file;
        std::vector<std::string> rows;
        for (const shell::ImportQueRec& row : r.rows) {
            const std::string date = row.DATEADDED == 0 ? "-"
                                                        : std::to_string(fw::MONTH(row.DATEADDED)) + "/" +
                                                              std::to_string(fw::DAY(row.DATEADDED)) + "/" +
                                                              std::to_string(fw::YEAR(row.DATEADDED));
            rows.push_back(row.TITLE.Str() + "|" + row.ARTIST.Str() + "|" + row.ALTDISKID.Str() + "|" +
                           std::to_string(row.DISKTRACKNO) + "|" + row.UNQDISKID.Str() + "|" + row.GENRE.Str() + "|" + date);
        }
        EXPECT_EQ(rows, c.rows) << c.file;
        EXPECT_EQ(r.unstorable, c.unstorable) << c.file;
    }
}

// Python's csv module, an independent reader, gets the same eleven fields.
TEST_F(ListingFile, PythonsCsvReaderReadsTheSameFields) {
    if (std::system("python3 -c 'import csv' > /dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is missing";
    WriteBookRows({
        BookRow("Say \"Hi\", Pt 1", "Beatles, The", "SC8101", 5, "SC101", fw::DATE(12, 25, 2003)),
        BookRow("Caf\xE9 Ma\xF1" "ana", "", "SC8102", 70000, "", 0),
        BookRow("Line, \"quoted\", end", "A \"B\" C", "SC8103", 17, "X,Y", fw::DATE(1, 2, 2010)),
    });
    std::ofstream(Path("read.py")) << "import csv, sys\n"
                                      "with open(sys.argv[1], newline='', encoding='cp437') as f:\n"
                                      "    for row in csv.reader(f):\n"
                                      "        print(str(len(row)) + '\\x1f' + '\\x1f'.join(row))\n";
    const std::string command =
        "PYTHONIOENCODING=utf-8 python3 '" + Path("read.py") + "' '" + Path() + "' > '" + Path("out.txt") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string utf8Title = fw::AnsiToUtf8("Caf\xE9 Ma\xF1" "ana");
    const std::vector<std::string> expected = {
        "11\x1fSay \"Hi\", Pt 1\x1f" "Beatles, The\x1fSC101\x1f" "5\x1fSC8101\x1fRock\x1f\x1fSC\x1f" "12\x1fSK\x1f" "12/25/03",
        "11\x1f" + utf8Title + "\x1f\x1f\x1f" "70000\x1fSC8102\x1fRock\x1f\x1fSC\x1f" "12\x1fSK\x1f",
        "11\x1fLine, \"quoted\", end\x1f" "A \"B\" C\x1fX,Y\x1f" "17\x1fSC8103\x1fRock\x1f\x1fSC\x1f" "12\x1fSK\x1f" "01/02/10",
    };
    std::ifstream out(Path("out.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(out, line);) lines.push_back(line);
    EXPECT_EQ(lines, expected);
}

}  // namespace
