#include "platform/data/csv/csv_file.h"

#include "platform/runtime/error_state.h"
#include "tests/platform/data/csv/csv_fixture.h"
#include "tests/platform/data/names/temp_folder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

namespace {

using testing_support::TempFolder;

using csv_fixture::Bas;
using csv_fixture::BasDecl;

struct Row {
    std::string title, artist;
    std::uint32_t track;
    std::int32_t make;
    std::string duet;
    bool operator==(const Row&) const = default;
};

Row RowOf(const Bas& b) { return {b.TITLE.Str(), b.ARTIST.Str(), b.TRACK, b.MAKEID, b.DUET.Str()}; }

std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << r.title << "|" << r.artist << "|" << r.track << "|" << r.make << "|" << r.duet;
}

class Csv : public ::testing::Test {
protected:
    std::string Path(const std::string& name = "x.csv") { return dir / name; }

    void WriteRows(const std::vector<Row>& rows, unsigned attr = 0) {
        fw::CsvFileOf<Bas> f(BasDecl(), attr);
        f.name = Path();
        fw::CREATE(f);
        ASSERT_EQ(fw::ERRORCODE(), 0);
        fw::OPEN(f);
        ASSERT_EQ(fw::ERRORCODE(), 0);
        for (const Row& r : rows) {
            f.rec.TITLE = r.title;
            f.rec.ARTIST = r.artist;
            f.rec.TRACK = r.track;
            f.rec.MAKEID = r.make;
            f.rec.DUET = r.duet;
            fw::APPEND(f);
            ASSERT_EQ(fw::ERRORCODE(), 0);
        }
        fw::CLOSE(f);
        ASSERT_EQ(fw::ERRORCODE(), 0);
    }

    // Reads every record; a read error shows as a row with its error text in the title.
    std::vector<Row> ReadRows(unsigned attr = 0) {
        fw::CsvFileOf<Bas> f(BasDecl(), attr);
        f.name = Path();
        fw::OPEN(f);
        EXPECT_EQ(fw::ERRORCODE(), 0);
        std::vector<Row> rows;
        for (int guard = 0; guard < 100; ++guard) {
            fw::NEXT(f);
            if (fw::ERRORCODE() == fw::RecordNotAvailable) break;
            if (fw::ERRORCODE() != 0) rows.push_back({"ERROR " + fw::ERROR(), "", 0, 0, ""});
            else rows.push_back(RowOf(f.rec));
        }
        fw::CLOSE(f);
        return rows;
    }

    TempFolder dir;
};

TEST_F(Csv, WritesQuotedClippedTextsAndPlainNumbersWithCrLf) {
    WriteRows({{"Crazy", "Patsy", 5, -3, "X"},
               {"Say \"Hi\", now   ", "A,B", 4000000000u, 0, ""},
               {"", "", 0, 0, " "}});
    EXPECT_EQ(dir.Read("x.csv"),
              "\"Crazy\",\"Patsy\",5,-3,\"X\"\r\n"
              "\"Say \"\"Hi\"\", now\",\"A,B\",4000000000,0,\"\"\r\n"
              "\"\",\"\",0,0,\"\"\r\n");
    EXPECT_EQ(ReadRows(), (std::vector<Row>{{"Crazy", "Patsy", 5, -3, "X"},
                                             {"Say \"Hi\", now", "A,B", 4000000000u, 0, ""},
                                             {"", "", 0, 0, ""}}));
}

TEST_F(Csv, OemFilesHoldCodePage437AndReadBackAsWindows1252) {
    const std::string title = "Caf\xE9 \xD1u \xBD";  // "Café Ñu ½" in Windows-1252
    WriteRows({{title, "", 1, 1, ""}}, fw::kCsvOem);
    EXPECT_EQ(dir.Read("x.csv"), "\"Caf\x82 \xA5u \xAB\",\"\",1,1,\"\"\r\n");
    EXPECT_EQ(ReadRows(fw::kCsvOem)[0].title, title);
    // Without the attribute the bytes pass as they are.
    WriteRows({{title, "", 1, 1, ""}});
    EXPECT_EQ(dir.Read("x.csv"), "\"" + title + "\",\"\",1,1,\"\"\r\n");
    EXPECT_EQ(ReadRows()[0].title, title);
}

// UTF-8 texts: written as UTF-8, read back as Windows-1252; a byte-order
// mark at the start is passed over, also when reading again from the top.
TEST_F(Csv, Utf8FilesPassOverTheirByteOrderMark) {
    const std::string title = "Caf\xE9 \xD1u";
    WriteRows({{title, "", 1, 1, ""}}, fw::kCsvUtf8);
    EXPECT_EQ(dir.Read("x.csv"), "\"Caf\xC3\xA9 \xC3\x91u\",\"\",1,1,\"\"\r\n");
    EXPECT_FALSE(fw::StartsWithUtf8Mark(Path()));
    dir.Write("x.csv", "\xEF\xBB\xBF\"Caf\xC3\xA9\",\"\",1,1,\"\"\r\n\"Two\",\"\",2,2,\"\"\r\n");
    EXPECT_TRUE(fw::StartsWithUtf8Mark(Path()));
    EXPECT_EQ(ReadRows(fw::kCsvUtf8), (std::vector<Row>{{"Caf\xE9", "", 1, 1, ""}, {"Two", "", 2, 2, ""}}));
    fw::CsvFileOf<Bas> f(BasDecl(), fw::kCsvUtf8);
    f.name = Path();
    fw::OPEN(f);
    EXPECT_EQ(fw::RECORDS(f), 2);
    fw::GET(f, 1);
    EXPECT_EQ(f.rec.TITLE.Str(), "Caf\xE9");
    fw::SET(f);
    fw::NEXT(f);
    EXPECT_EQ(f.rec.TITLE.Str(), "Caf\xE9");
    fw::CLOSE(f);
}

// Empty lines are no records with the attribute (line numbers still count
// them), and a record without it.
TEST_F(Csv, EmptyLinesArePassedOverWhenAsked) {
    dir.Write("x.csv", "\r\n\"One\",\"A\",1,1,\"\"\r\n\n\r\n\"Two\",\"B\",2,2,\"\"\r\n\"x\",1\r\n\r\n");
    const std::vector<Row> rows = ReadRows(fw::kCsvSkipEmptyLines);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Row{"One", "A", 1, 1, ""}));
    EXPECT_EQ(rows[1], (Row{"Two", "B", 2, 2, ""}));
    EXPECT_NE(rows[2].title.find("line 6"), std::string::npos) << rows[2].title;
    fw::CsvFileOf<Bas> f(BasDecl(), fw::kCsvSkipEmptyLines);
    f.name = Path();
    fw::OPEN(f);
    EXPECT_EQ(fw::RECORDS(f), 3);
    fw::GET(f, 2);
    EXPECT_EQ(f.rec.TITLE.Str(), "Two");
    fw::CLOSE(f);
    EXPECT_EQ(ReadRows().front().title.substr(0, 5), "ERROR");
}

struct ReadCase {
    const char* what;
    const char* content;
    std::vector<Row> rows;  // an "ERROR ..." title holds the expected error text
};

class CsvRead : public Csv, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(CsvRead, ReadsWhatFitsAndReportsTheLineOfWhatDoesNot) {
    dir.Write("x.csv", GetParam().content);
    EXPECT_EQ(ReadRows(), GetParam().rows);
}

const Row kGood1{"One", "A", 1, 1, ""};
const Row kGood3{"Three", "C", 3, 3, ""};
const char kLine1[] = "\"One\",\"A\",1,1,\"\"\r\n";
const char kLine3[] = "\"Three\",\"C\",3,3,\"\"\r\n";

Row Err(const std::string& text) { return {"ERROR Read error in " + text, "", 0, 0, ""}; }

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvRead,
    ::testing::Values(
        ReadCase{"empty file", "", {}},
        ReadCase{"LF line ends and no final line end", "\"One\",\"A\",1,1,\"\"\n\"Three\",\"C\",3,3,\"\"", {kGood1, kGood3}},
        ReadCase{"unquoted texts, blanks around quotes, quoted and signed numbers",
                 "One, \"A\" ,\"1\",+1,\r\n", {{"One", "A", 1, 1, ""}}},
        ReadCase{"blank numbers are zero", "\"x\",\"y\",,  ,\"\"\r\n", {{"x", "y", 0, 0, ""}}},
        ReadCase{"a quoted text holds a line end", "\"Two\r\nLines\",\"B\",2,2,\"\"\r\n\"Three\",\"C\",3,x,\"\"\r\n",
                 {{"Two\r\nLines", "B", 2, 2, ""}, Err("line 3: field 4 (MAKEID): \"x\" is not a whole number")}},
        ReadCase{"long texts are cut to their fields", "\"A title far longer than twenty\",\"B\",2,2,\"YES\"\r\n",
                 {{"A title far longer t", "B", 2, 2, "Y"}}},
        ReadCase{"a quote inside unquoted text",
                 "\"One\",\"A\",1,1,\"\"\r\nTw\"o,\"B\",2,2,\"\"\r\n\"Three\",\"C\",3,3,\"\"\r\n",
                 {kGood1, Err("line 2: a quote inside unquoted text"), kGood3}},
        ReadCase{"text after a closing quote",
                 "\"One\",\"A\",1,1,\"\"\r\n\"Two\"x,\"B\",2,2,\"\"\r\n\"Three\",\"C\",3,3,\"\"\r\n",
                 {kGood1, Err("line 2: text follows a closing quote"), kGood3}},
        ReadCase{"a quoted text left open swallows the rest",
                 "\"One\",\"A\",1,1,\"\"\r\n\"Two,B,2,2,\r\nThree,C,3,3,\r\n",
                 {kGood1, Err("line 2: a quoted text is not closed")}},
        ReadCase{"too few fields", "\"One\",\"A\",1,1,\"\"\r\n\"Two\",\"B\",2\r\n\"Three\",\"C\",3,3,\"\"\r\n",
                 {kGood1, Err("line 2: 3 fields, 5 expected"), kGood3}},
        ReadCase{"too many fields", "\"One\",\"A\",1,1,\"\",9\r\n", {Err("line 1: 6 fields, 5 expected")}},
        ReadCase{"an empty line is a record of one field", "\"One\",\"A\",1,1,\"\"\r\n\r\n\"Three\",\"C\",3,3,\"\"\r\n",
                 {kGood1, Err("line 2: 1 field, 5 expected"), kGood3}},
        ReadCase{"a number too large for its field", "\"One\",\"A\",4294967296,1,\"\"\r\n",
                 {Err("line 1: field 3 (TRACK): \"4294967296\" is out of range")}},
        ReadCase{"a negative number in an unsigned field", "\"One\",\"A\",-1,1,\"\"\r\n",
                 {Err("line 1: field 3 (TRACK): \"-1\" is out of range")}},
        ReadCase{"a decimal in a whole-number field", "\"One\",\"A\",1.5,1,\"\"\r\n",
                 {Err("line 1: field 3 (TRACK): \"1.5\" is not a whole number")}},
        ReadCase{"a lone CR", "\"One\",\"A\",1,1,\"\"\r\"Two\",\"B\",2,2,\"\"\r\n\"Three\",\"C\",3,3,\"\"\r\n",
                 {Err("line 1: a line ends with CR without LF"), kGood3}}),
    [](const auto& info) {
        std::string s = info.param.what;
        for (auto& ch : s)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return s;
    });

TEST_F(Csv, AReadErrorLeavesTheBufferAndTellsTheLine) {
    dir.Write("x.csv", std::string(kLine1) + "\"Two\",\"B\",zz,2,\"\"\r\n");
    fw::CsvFileOf<Bas> f(BasDecl());
    f.name = Path();
    fw::OPEN(f);
    fw::NEXT(f);
    fw::NEXT(f);
    EXPECT_EQ(fw::ERRORCODE(), fw::FileSystemErr);
    EXPECT_EQ(f.ErrorLine(), 2);
    EXPECT_NE(fw::FILEERROR().find("line 2"), std::string::npos);
    EXPECT_EQ(RowOf(f.rec), kGood1);
    fw::NEXT(f);
    EXPECT_EQ(fw::ERRORCODE(), fw::RecordNotAvailable);
}

TEST_F(Csv, GetByRecordNumberAndRecordsFollowAppends) {
    WriteRows({{"R1", "", 1, 0, ""}, {"R2", "", 2, 0, ""}, {"R3", "", 3, 0, ""}, {"R4", "", 4, 0, ""}});
    fw::CsvFileOf<Bas> f(BasDecl());
    f.name = Path();
    fw::OPEN(f);
    EXPECT_EQ(fw::RECORDS(f), 4);
    fw::GET(f, 3);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(f.rec.TITLE.Str(), "R3");
    fw::NEXT(f);  // goes on after the record read
    EXPECT_EQ(f.rec.TITLE.Str(), "R4");
    fw::GET(f, 1);
    EXPECT_EQ(f.rec.TITLE.Str(), "R1");
    for (long bad : {0L, 5L, -2L}) {
        fw::GET(f, bad);
        EXPECT_EQ(fw::ERRORCODE(), fw::BadRecErr) << bad;
    }
    f.rec.TITLE = "R5";
    fw::APPEND(f);
    EXPECT_EQ(fw::RECORDS(f), 5);
    fw::GET(f, 5);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(f.rec.TITLE.Str(), "R5");
    fw::SET(f);
    fw::NEXT(f);
    EXPECT_EQ(f.rec.TITLE.Str(), "R1");
    fw::CLOSE(f);
}

TEST_F(Csv, AppendingAfterALastLineWithoutLineEndStartsANewLine) {
    dir.Write("x.csv", "\"One\",\"A\",1,1,\"\"");
    fw::CsvFileOf<Bas> f(BasDecl());
    f.name = Path();
    fw::OPEN(f);
    f.rec.TITLE = "Three";
    f.rec.ARTIST = "C";
    f.rec.TRACK = 3;
    f.rec.MAKEID = 3;
    fw::APPEND(f);
    fw::CLOSE(f);
    EXPECT_EQ(dir.Read("x.csv"), std::string("\"One\",\"A\",1,1,\"\"\r\n") + kLine3);
}

TEST_F(Csv, OpenCreateCloseAndRemoveReportTheFrameworksErrors) {
    fw::CsvFileOf<Bas> f(BasDecl());
    f.name = Path("Export.CSV");
    fw::OPEN(f);
    EXPECT_EQ(fw::ERRORCODE(), fw::NoFileErr);
    fw::NEXT(f);
    EXPECT_EQ(fw::ERRORCODE(), fw::NotOpenErr);
    fw::CLOSE(f);  // closing a file that is not open is harmless
    EXPECT_EQ(fw::ERRORCODE(), 0);

    dir.Write("export.csv", kLine1);
    fw::OPEN(f);  // found in another case
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::NAME(f), dir / "export.csv");
    fw::OPEN(f);
    EXPECT_EQ(fw::ERRORCODE(), fw::IsOpenErr);
    fw::CLOSE(f);

    fw::CREATE(f);  // empties the existing file, keeping its name
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(dir.Read("export.csv"), "");
    EXPECT_FALSE(std::filesystem::exists(dir / "Export.CSV"));

    fw::OPEN(f, 0x20);  // read only
    fw::APPEND(f);
    EXPECT_EQ(fw::ERRORCODE(), fw::NoAccessErr);
    fw::REMOVE(f);  // also while open
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "export.csv"));
    fw::CLOSE(f);

    const std::pair<std::string, int> errors[] = {{dir / "none/x.csv", fw::PathErr}, {"   ", fw::BadKeyErr}};
    for (const auto& [name, code] : errors) {
        f.name = name;
        fw::OPEN(f);
        EXPECT_EQ(fw::ERRORCODE(), code) << name;
        fw::CREATE(f);
        EXPECT_EQ(fw::ERRORCODE(), code) << name;
    }
    f.name = dir.Path();  // a folder
    fw::OPEN(f);
    EXPECT_EQ(fw::ERRORCODE(), fw::NoAccessErr);
}

}  // namespace
