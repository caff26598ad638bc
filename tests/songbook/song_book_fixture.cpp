#include "song_book_fixture.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/runtime/error_state.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"

#include <sqlite3.h>

#include "shell/data_dictionary_prefixes.h"

namespace song_book_test {

namespace {
// The checked opens of the window, on the data layer.
class DataLayerFiles : public shell::CheckedFileDriver {
public:
    void Open(const shell::FileEntry& f) override {
        fw::File& file = shell::DataFile(f);
        if (fw::IsOpen(file)) {
            fw::SetError(0);
            return;
        }
        fw::SHARE(file, fw::ReadWrite | fw::DenyNone);
    }
    void Recover(const shell::FileEntry& f) override { fw::SEND(shell::DataFile(f), "Recover=10"); }
    void Create(const shell::FileEntry& f) override { fw::CREATE(shell::DataFile(f)); }
    void Build(const shell::FileEntry& f) override { fw::BUILD(shell::DataFile(f)); }
    void Close(const shell::FileEntry& f) override { fw::CLOSE(shell::DataFile(f)); }
};

}  // namespace

SongBookFolder::SongBookFolder() : files_(std::make_unique<DataLayerFiles>()) {}
SongBookFolder::~SongBookFolder() = default;

void SongBookFolder::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    shell::InitialiseSharedGlobals();
    shell::SetSongBaseFileNames(Folder());
    shell::SetCheckedFileDriver(files_.get());
}

void SongBookFolder::TearDown() {
    shell::SetCheckedFileDriver(nullptr);
    shell::InitialiseSharedGlobals();
}

void SongBookFolder::MakeBook(const std::string& base, const std::vector<Disc>& discs, const std::vector<Listing>& listings) {
    shell::SongBookName = Path(base + ".2bk");
    shell::SBDiscsName = Path(base + ".2bd");
    fw::File& book = shell::SongBook();
    fw::File& disc = shell::SBDiscs();
    for (fw::File* f : {&book, &disc}) {
        fw::CREATE(*f);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        fw::STREAM(*f);  // one transaction for the whole book
    }
    for (const Disc& d : discs) {
        fw::ClearRecord(&SBD, *shell::SBDiscsFile().record);
        SBD.UNQDISKID = d.unq;
        SBD.ALTDISKID = d.alt;
        SBD.MakeID = d.makeId;
        SBD.MAKETYPE = d.makeType;
        fw::ADD(disc);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    for (const Listing& l : listings) {
        fw::ClearRecord(&SBK, *shell::SongBookFile().record);
        SBK.Title = l.title;
        SBK.Artist = l.artist;
        SBK.UnqDiskID = l.unq;
        SBK.DISKTRACKNO = l.track;
        SBK.PRINT = l.print;
        SBK.MAKEID = l.makeId;
        SBK.DateAdded = l.dateAdded;
        SBK.GENRE = l.genre;
        SBK.Duet = l.duet;
        fw::ADD(book);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    fw::FLUSH(book);
    fw::FLUSH(disc);
    fw::CLOSE(book);
    fw::CLOSE(disc);
    shell::SongBookName = "";
    shell::SBDiscsName = "";
}

void PrintTo(const Disc& d, std::ostream* os) {
    *os << "{" << d.unq << ", " << d.alt << ", " << d.makeId << ", " << d.makeType << "}";
}
void PrintTo(const Listing& l, std::ostream* os) {
    *os << "{" << l.title << ", " << l.artist << ", " << l.unq << "/" << l.track << ", print \"" << l.print
        << "\", make " << l.makeId << ", added " << l.dateAdded << ", genre " << l.genre << ", duet \"" << l.duet
        << "\"}";
}

std::vector<Disc> SongBookFolder::BookDiscs(const std::string& base) {
    const std::string kept = shell::SBDiscsName.Str();
    shell::SBDiscsName = Path(base + ".2bd");
    std::vector<Disc> out;
    fw::File& disc = shell::SBDiscs();
    fw::OPEN(disc, fw::ReadOnly | fw::DenyNone);
    EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    fw::SET(disc.FindKey("SBD:KUNQDISKID"));
    for (fw::NEXT(disc); fw::ERRORCODE() == 0; fw::NEXT(disc))
        out.push_back({SBD.UNQDISKID.Str(), SBD.ALTDISKID.Str(), SBD.MakeID, SBD.MAKETYPE.Str()});
    fw::CLOSE(disc);
    shell::SBDiscsName = kept;
    return out;
}

std::vector<Listing> SongBookFolder::BookListings(const std::string& base) {
    const std::string kept = shell::SongBookName.Str();
    shell::SongBookName = Path(base + ".2bk");
    std::vector<Listing> out;
    fw::File& book = shell::SongBook();
    fw::OPEN(book, fw::ReadOnly | fw::DenyNone);
    EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    fw::SET(book.FindKey("SBK:KUnqDiskID"));
    for (fw::NEXT(book); fw::ERRORCODE() == 0; fw::NEXT(book))
        out.push_back({SBK.Title.Str(), SBK.Artist.Str(), SBK.UnqDiskID.Str(), SBK.DISKTRACKNO, SBK.PRINT.Str(),
                       SBK.MAKEID.Str(), SBK.DateAdded, SBK.GENRE.Str(), SBK.Duet.Str()});
    fw::CLOSE(book);
    shell::SongBookName = kept;
    return out;
}

std::vector<std::int32_t> SongBookFolder::DiscBrands(const std::string& base) {
    shell::SBDiscsName = Path(base + ".2bd");
    std::vector<std::int32_t> out;
    fw::File& disc = shell::SBDiscs();
    fw::OPEN(disc, fw::ReadOnly | fw::DenyNone);
    EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    fw::SET(disc);
    for (fw::NEXT(disc); fw::ERRORCODE() == 0; fw::NEXT(disc)) out.push_back(SBD.MakeID);
    fw::CLOSE(disc);
    shell::SBDiscsName = "";
    return out;
}

void SongBookFolder::MakeBrands(const std::vector<std::int32_t>& numbers) {
    fw::File& brands = shell::DMake();
    fw::CREATE(brands);
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    fw::OPEN(brands, fw::ReadWrite | fw::DenyNone);
    int n = 0;
    for (std::int32_t id : numbers) {
        fw::ClearRecord(&BRA, *shell::DMakeFile().record);
        BRA.MAKE = "Brand " + std::to_string(++n);
        BRA.MakeID = id;
        fw::ADD(brands);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    fw::CLOSE(brands);
}

std::vector<std::int32_t> SongBookFolder::Brands() {
    std::vector<std::int32_t> out;
    fw::File& brands = shell::DMake();
    fw::OPEN(brands, fw::ReadOnly | fw::DenyNone);
    EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    fw::SET(brands);
    for (fw::NEXT(brands); fw::ERRORCODE() == 0; fw::NEXT(brands)) out.push_back(BRA.MakeID);
    fw::CLOSE(brands);
    return out;
}

void SongBookFolder::Sql(const std::string& file, const std::string& sql) const {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(Path(file).c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

std::vector<std::string> SongBookFolder::Query(const std::string& file, const std::string& sql) const {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(Path(file).c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        std::string row;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            if (c) row += '/';
            if (const unsigned char* t = sqlite3_column_text(st, c)) row += reinterpret_cast<const char*>(t);
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

}  // namespace song_book_test
