// Bad input and faults: every call on a missing, unreadable, locked,
// read-only, truncated or foreign file returns an error code.
#include "data_test_support.h"

#include "platform/data/legacy_source.h"
#include "platform/data/transaction.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>

using namespace datatest;

namespace {

struct Fixture {
    TempDir dir;
    std::shared_ptr<Named> name = std::make_shared<Named>();
    std::unique_ptr<fw::File> songs = MakeSongFile(name);

    // A file of ours with n records, closed.
    void MakeFile(const std::string& file, int n) {
        name->name = dir / file;
        fw::CREATE(*songs);
        fw::OPEN(*songs);
        fw::STREAM(*songs);
        for (int i = 0; i < n; ++i) AddSong(*songs, ("Title " + std::to_string(i)).c_str(), "D", i + 1);
        fw::CLOSE(*songs);
    }
};

void MakeForeignSqlite(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE songs(title TEXT); INSERT INTO songs VALUES('x')", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

TEST(FileFaults, OpenOfABadFileGivesItsError) {
    struct Case {
        const char* what;
        std::function<std::string(Fixture&)> make;  // returns the name to open
        int mode;
        int error;
    } cases[] = {
        {"missing file", [](Fixture& f) { return f.dir / "NONE.DAT"; }, fw::ReadWrite | fw::DenyNone, fw::NoFileErr},
        {"missing folder", [](Fixture& f) { return f.dir / "nowhere/NONE.DAT"; }, fw::ReadWrite, fw::PathErr},
        {"blank name", [](Fixture&) { return std::string("   "); }, fw::ReadWrite, fw::BadKeyErr},
        {"folder", [](Fixture& f) { return f.dir.Path(); }, fw::ReadWrite, fw::NoAccessErr},
        {"text file renamed",
         [](Fixture& f) {
             WriteText(f.dir / "MAIN.TPS", "Title,Artist\r\nMoon River,Andy Williams\r\n");
             return f.dir / "MAIN.TPS";
         },
         fw::ReadWrite, fw::InvalidFileErr},
        {"empty file",
         [](Fixture& f) {
             WriteText(f.dir / "EMPTY.TPS", "");
             return f.dir / "EMPTY.TPS";
         },
         fw::ReadWrite, fw::InvalidFileErr},
        {"SQLite without our layout",
         [](Fixture& f) {
             MakeForeignSqlite(f.dir / "OTHER.DB");
             return f.dir / "OTHER.DB";
         },
         fw::ReadWrite, fw::InvalidFileErr},
        {"truncated to half",
         [](Fixture& f) {
             f.MakeFile("CUT.DAT", 3000);
             const auto size = std::filesystem::file_size(f.dir / "CUT.DAT");
             std::filesystem::resize_file(f.dir / "CUT.DAT", size / 2);
             return f.dir / "CUT.DAT";
         },
         fw::ReadWrite, fw::InvalidFileErr},
        {"truncated inside a page",
         [](Fixture& f) {
             f.MakeFile("CUT2.DAT", 10);
             std::filesystem::resize_file(f.dir / "CUT2.DAT", 5000);
             return f.dir / "CUT2.DAT";
         },
         fw::ReadWrite, fw::InvalidFileErr},
        {"read-only file opened for writing",
         [](Fixture& f) {
             f.MakeFile("RO.DAT", 1);
             chmod((f.dir / "RO.DAT").c_str(), 0444);
             return f.dir / "RO.DAT";
         },
         fw::ReadWrite | fw::DenyNone, fw::NoAccessErr},
        {"read-only file opened for reading",
         [](Fixture& f) {
             f.MakeFile("RO2.DAT", 1);
             chmod((f.dir / "RO2.DAT").c_str(), 0444);
             return f.dir / "RO2.DAT";
         },
         fw::ReadOnly | fw::DenyNone, 0},
        {"unreadable file",
         [](Fixture& f) {
             f.MakeFile("NOREAD.DAT", 1);
             chmod((f.dir / "NOREAD.DAT").c_str(), 0000);
             return f.dir / "NOREAD.DAT";
         },
         fw::ReadOnly, fw::NoAccessErr},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.name->name = c.make(f);
        fw::OPEN(*f.songs, c.mode);
        EXPECT_EQ(fw::ERRORCODE(), c.error) << c.what << ": " << fw::ERROR() << " " << fw::FILEERROR();
        if (c.error == 0) {
            fw::SET(*f.songs);
            fw::NEXT(*f.songs);
            EXPECT_EQ(fw::ERRORCODE(), 0) << c.what;
            fw::PUT(*f.songs);
            EXPECT_EQ(fw::ERRORCODE(), fw::NoAccessErr) << c.what;
        }
        fw::CLOSE(*f.songs);
    }
}

TEST(FileFaults, EveryCallOnAFileNotOpenReportsIt) {
    Fixture f;
    f.MakeFile("SONGS.DAT", 1);
    const fw::Key key = f.songs->FindKey("KTITLE");
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"SET(file)", [&] { fw::SET(*f.songs); }},
        {"SET(key)", [&] { fw::SET(key); }},
        {"SET(key,key)", [&] { fw::SET(key, key); }},
        {"RESET", [&] { fw::RESET(key, "K|KTITLE|a|1"); }},
        {"NEXT", [&] { fw::NEXT(*f.songs); }},
        {"PREVIOUS", [&] { fw::PREVIOUS(*f.songs); }},
        {"GET(key)", [&] { fw::GET(*f.songs, key); }},
        {"GET(0)", [&] { fw::GET(*f.songs, 0L); }},
        {"REGET", [&] { fw::REGET(*f.songs, "R|1"); }},
        {"POSITION", [&] { fw::POSITION(*f.songs); }},
        {"ADD", [&] { fw::ADD(*f.songs); }},
        {"APPEND", [&] { fw::APPEND(*f.songs); }},
        {"PUT", [&] { fw::PUT(*f.songs); }},
        {"DELETE", [&] { fw::DELETE(*f.songs); }},
        {"DUPLICATE", [&] { fw::DUPLICATE(*f.songs); }},
        {"RECORDS", [&] { fw::RECORDS(*f.songs); }},
        {"BYTES", [&] { fw::BYTES(*f.songs); }},
        {"WATCH", [&] { fw::WATCH(*f.songs); }},
        {"STREAM", [&] { fw::STREAM(*f.songs); }},
        {"FLUSH", [&] { fw::FLUSH(*f.songs); }},
        {"LOGOUT", [&] { fw::LOGOUT(1, *f.songs); }},
    };
    for (const auto& [what, call] : calls) {
        fw::ClearError();
        call();
        EXPECT_EQ(fw::ERRORCODE(), fw::NotOpenErr) << what;
    }
}

TEST(FileFaults, ReadsOfAFileTruncatedWhileOpenReportAnError) {
    Fixture f;
    f.MakeFile("SONGS.DAT", 3000);
    fw::OPEN(*f.songs);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    std::filesystem::resize_file(f.dir / "SONGS.DAT", 8192);
    fw::SET(f.songs->FindKey("KTITLE"));
    int read = 0;
    while (fw::NEXT(*f.songs), fw::ERRORCODE() == 0) ++read;
    EXPECT_EQ(fw::ERRORCODE(), fw::FileSystemErr) << read;
    EXPECT_FALSE(fw::FILEERROR().empty());
    fw::CLOSE(*f.songs);
}

TEST(FileFaults, BadPositionsAndKeysAreRefused) {
    Fixture f;
    f.MakeFile("SONGS.DAT", 2);
    fw::OPEN(*f.songs);
    for (const char* pos : {"", "garbage", "K|NOSUCHKEY|a|1", "K|KTITLE|1", "R|x"}) {
        fw::RESET(f.songs->FindKey("KTITLE"), pos);
        EXPECT_EQ(fw::ERRORCODE(), fw::BadRecErr) << pos;
        fw::REGET(*f.songs, pos);
        EXPECT_EQ(fw::ERRORCODE(), fw::BadRecErr) << pos;
    }
    fw::SET(f.songs->FindKey("NOSUCHKEY"));
    EXPECT_EQ(fw::ERRORCODE(), fw::BadKeyErr);
    fw::CLOSE(*f.songs);
}

// Another layout of the same file: a longer title.
struct Song2 {
    fw::FString<30> Title;
    fw::FString<10> Disc;
    std::uint16_t Track;
    std::int32_t Added;
};

TEST(FileLayout, AnotherDeclarationGives47AndTheMatchingOneOpens) {
    Fixture f;
    f.MakeFile("BOOK.2BK", 3);
    static const fw::RecordDecl d2 = fw::RecordDeclBuilder<Song2>("SN2")
                                         .Field("Title", &Song2::Title)
                                         .Field("Disc", &Song2::Disc)
                                         .Field("Track", &Song2::Track)
                                         .Date("Added", &Song2::Added)
                                         .Build();
    fw::FileDecl decl;
    decl.label = "Songs2";
    decl.record = &d2;
    decl.name = [n = f.name] { return n->name; };
    fw::File newer(decl);
    fw::OPEN(newer);
    EXPECT_EQ(fw::ERRORCODE(), fw::InvalidFileErr);
    EXPECT_EQ(fw::ERROR(), "Invalid Record Declaration");
    fw::OPEN(*f.songs);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*f.songs), 3);
    // Field-by-field assignment carries the records over to the new layout.
    fw::SET(*f.songs);
    fw::NEXT(*f.songs);
    Song2 converted{};
    fw::ClearRecord(&converted, d2);
    EXPECT_EQ(fw::AssignByName(&converted, d2, &Buf(*f.songs), SongDecl()), 4);
    EXPECT_EQ(converted.Title.Str(), "Title 0");
    fw::CLOSE(*f.songs);
}

TEST(FileLayout, KeysThatDifferGive46UntilBuild) {
    Fixture f;
    f.MakeFile("SONGS.DAT", 0);
    // The same fields with the disc key allowing duplicates.
    fw::FileDecl d;
    d.label = "Loose";
    d.record = &SongDecl();
    d.keys = {{"KTITLE", {"Title"}}, {"KDISC", {"Disc", "Track"}}, {"KADDED", {"Added"}}};
    d.name = [n = f.name] { return n->name; };
    fw::File loose(d);
    fw::OPEN(loose);
    EXPECT_EQ(fw::ERRORCODE(), fw::NeedRebuildErr);
    EXPECT_EQ(fw::ERROR(), "Key File Must Be Rebuilt");
    EXPECT_EQ(fw::BUILD(loose), 0);
    fw::OPEN(loose);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    for (const char* t : {"first", "second", "third"}) AddSong(loose, t, "dup1", 1);
    AddSong(loose, "other", "DUP1", 2);
    AddSong(loose, "fourth", "Dup1", 1);
    fw::CLOSE(loose);

    // Back under the unique key: 46, then BUILD keeps the first in insertion order.
    fw::OPEN(*f.songs);
    EXPECT_EQ(fw::ERRORCODE(), fw::NeedRebuildErr);
    EXPECT_EQ(fw::BUILD(*f.songs), 3);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::OPEN(*f.songs);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    fw::SET(f.songs->FindKey("KDISC"));
    std::vector<std::string> left;
    while (fw::NEXT(*f.songs), fw::ERRORCODE() == 0) left.push_back(Buf(*f.songs).Title.Str());
    EXPECT_EQ(left, (std::vector<std::string>{"first", "other"}));

    // APPEND does not keep the unique key: the file wants BUILD afterwards.
    AddSong(*f.songs, "x", "NEW", 1);
    fw::ClearRecord(&Buf(*f.songs), SongDecl());
    Buf(*f.songs).Title = "y";
    Buf(*f.songs).Disc = "new";
    Buf(*f.songs).Track = 1;
    fw::APPEND(*f.songs);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::CLOSE(*f.songs);
    fw::OPEN(*f.songs);
    EXPECT_EQ(fw::ERRORCODE(), fw::NeedRebuildErr);
    EXPECT_EQ(fw::BUILD(*f.songs), 1);
    fw::OPEN(*f.songs);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*f.songs), 3);
    fw::CLOSE(*f.songs);
}

TEST(FileLayout, CreateEmptiesOrReplacesWhatIsThere) {
    Fixture f;
    f.MakeFile("SONGS.DAT", 5);
    fw::CREATE(*f.songs);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::OPEN(*f.songs);
    EXPECT_EQ(fw::RECORDS(*f.songs), 0);
    fw::CREATE(*f.songs);
    EXPECT_EQ(fw::ERRORCODE(), fw::IsOpenErr);
    fw::CLOSE(*f.songs);
    WriteText(f.dir / "SONGS.DAT", "not a data file");
    fw::CREATE(*f.songs);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::OPEN(*f.songs);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::CLOSE(*f.songs);
    f.name->name = f.dir / "nowhere/X.DAT";
    fw::CREATE(*f.songs);
    EXPECT_EQ(fw::ERRORCODE(), fw::PathErr);
}

class TwoRecordReader : public fw::LegacyReader {
public:
    int Next(void* rec) override {
        if (n_ == 2) return 0;
        auto* s = static_cast<Song*>(rec);
        s->Title = n_ == 0 ? "Old One" : "Old Two";
        s->Disc = "OLD";
        s->Track = static_cast<std::uint16_t>(++n_);
        return 1;
    }

private:
    int n_ = 0;
};

TEST(FileLayout, ALegacyFileIsConvertedOnFirstOpenAndKept) {
    fw::RegisterLegacyFormat({"test format", [](std::string_view head) { return head.substr(0, 8) == "LEGACY1\n"; },
                              [](const std::string&, const fw::RecordDecl& d) -> std::unique_ptr<fw::LegacyReader> {
                                  if (&d != &SongDecl()) return nullptr;
                                  return std::make_unique<TwoRecordReader>();
                              }});
    Fixture f;
    WriteText(f.dir / "OLD.TPS", "LEGACY1\nrecords");
    f.name->name = f.dir / "OLD.TPS";
    fw::OPEN(*f.songs);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*f.songs), 2);
    fw::CLOSE(*f.songs);
    EXPECT_TRUE(std::filesystem::exists(f.dir / "OLD.TPS.orig"));
    fw::OPEN(*f.songs);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    Buf(*f.songs).Disc = "old";
    Buf(*f.songs).Track = 2;
    fw::GET(*f.songs, f.songs->FindKey("KDISC"));
    EXPECT_EQ(Buf(*f.songs).Title.Str(), "Old Two");
    fw::CLOSE(*f.songs);
}

}  // namespace
