#pragma once
// Book files for the benchmarks that add to books: a generated base written
// as a book in one go (its listings' keys made once at the end), a folder
// of its own for each run (under the private temporary folder), and copies
// of a cached book for each run to write into.

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/data/schema.h"
#include "platform/data/sqlite_connection.h"
#include "platform/data/transaction.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"
#include "tools/songbase_gen/generator/songbase_sink.h"
#include "window_bench_support.h"

#include <sqlite3.h>

#include <cstdlib>
#include <functional>
#include <filesystem>
#include <string>

namespace bench_books {

namespace fs = std::filesystem;

// A fixture's cache name: what it is, a version raised when its maker
// makes something else, the record layouts it was written with (a changed
// layout makes it again) and its size.
inline std::string FixtureName(const std::string& what, int version, long size) {
    const std::string layouts =
        fw::data::LayoutSignature(shell::SongBookRec::Decl()) + fw::data::LayoutSignature(shell::KaraokeRec::Decl());
    return what + "-v" + std::to_string(version) + "-" +
           std::to_string(std::hash<std::string>{}(layouts) % 1000000) + "-" + std::to_string(size);
}

// A folder for this run's files inside the private temporary folder (which
// RunWindowBenchmarks removes at the end).
inline const std::string& WorkFolder() {
    static const std::string dir = [] {
        std::string tmpl = (fs::temp_directory_path() / "cv_bench_XXXXXX").string();
        Check(mkdtemp(tmpl.data()) != nullptr, "make a temporary folder");
        return tmpl;
    }();
    return dir;
}

inline void CopyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    Check(!ec, "copy a fixture file");
}

// Writes the generated tracks as the listings of a new book (its discs from
// the generated discs, each keeping the maker's ID as its custom ID), with
// `prefix` before every disc ID, in one transaction with the listings'
// keys made at its end. The book's name variables are left blank.
inline void WriteBook(const songbase_gen::MemorySongBase& base, const std::string& listingsPath,
                      const std::string& discsPath, const std::string& prefix = {}) {
    shell::SongBookName = listingsPath;
    shell::SBDiscsName = discsPath;
    fw::File& book = shell::SongBook();
    fw::File& discs = shell::SBDiscs();
    for (fw::File* f : {&book, &discs}) {
        fw::CREATE(*f);
        Check(fw::ERRORCODE() == 0, "create");
        fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
        Check(fw::ERRORCODE() == 0, "open");
    }
    fw::LOGOUT(10, discs, book);
    Check(fw::ERRORCODE() == 0, "logout");
    fw::DeferKeys(book);
    for (const shell::DiscsRec& d : base.discs) {
        auto& rec = discs.Rec<shell::SBDiscsRec>();
        fw::ClearRecord(&rec, *shell::SBDiscsFile().record);
        const std::string unq = prefix + std::string(d.UnqDiskID.Clip());
        rec.UNQDISKID = unq;
        rec.ALTDISKID = unq;
        rec.MAKETYPE = unq.substr(0, 2);
        rec.MakeID = d.MakeID;
        fw::ADD(discs);
        Check(fw::ERRORCODE() == 0, "add a disc");
    }
    const std::int32_t day = 80000;
    for (const shell::KaraokeRec& t : base.tracks) {
        auto& rec = book.Rec<shell::SongBookRec>();
        fw::ClearRecord(&rec, *shell::SongBookFile().record);
        const std::string unq = prefix + std::string(t.UnqDiskID.Clip());
        rec.Title = t.Title.Clip();
        rec.Artist = t.Artist.Clip();
        rec.UnqDiskID = unq;
        rec.DISKTRACKNO = t.DiskTrackNo;
        rec.MAKEID = unq.substr(0, 2);
        rec.DateAdded = day + (t.DiskTrackNo % 7) * 30;
        fw::ADD(book);
        Check(fw::ERRORCODE() == 0, "add a listing");
    }
    fw::COMMIT();
    Check(fw::ERRORCODE() == 0, "commit the book");
    fw::CLOSE(book);
    fw::CLOSE(discs);
    shell::SongBookName = "";
    shell::SBDiscsName = "";
}

// A book's two files opened with plain SQLite, as the data layer keeps them
// (journal, sync, cache, collations), with the disc insert and a listing
// insert of the given columns prepared: the floor the benchmarks compare
// with.
struct RawBook {
    sqlite3* db = nullptr;
    sqlite3_stmt* disc = nullptr;     // UNQDISKID, MAKETYPE, MakeID, ALTDISKID
    sqlite3_stmt* listing = nullptr;  // the columns given

    RawBook(const std::string& listingsPath, const std::string& discsPath, const std::string& listingColumns) {
        Check(sqlite3_open(listingsPath.c_str(), &db) == SQLITE_OK, "raw open");
        fw::data::RegisterCollations(db);
        sqlite3_exec(db, ("ATTACH DATABASE '" + discsPath + "' AS d").c_str(), nullptr, nullptr, nullptr);
        sqlite3_exec(db,
                     (std::string("PRAGMA main.journal_mode=DELETE; PRAGMA main.synchronous=FULL;"
                                  "PRAGMA d.journal_mode=DELETE; PRAGMA d.synchronous=FULL; PRAGMA main.") +
                      fw::data::kCacheSizePragma + "; PRAGMA d." + fw::data::kCacheSizePragma)
                         .c_str(),
                     nullptr, nullptr, nullptr);
        Check(sqlite3_prepare_v2(db, "INSERT INTO d.records(UNQDISKID, MAKETYPE, MakeID, ALTDISKID) VALUES(?,?,?,?)",
                                 -1, &disc, nullptr) == SQLITE_OK,
              "raw prepare");
        std::string marks;
        for (char c : listingColumns)
            if (c == ',') marks += "?,";
        const std::string sql = "INSERT INTO main.records(" + listingColumns + ") VALUES(" + marks + "?)";
        Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &listing, nullptr) == SQLITE_OK, "raw prepare");
    }
    ~RawBook() {
        sqlite3_finalize(disc);
        sqlite3_finalize(listing);
        sqlite3_close(db);
    }
    RawBook(const RawBook&) = delete;
    RawBook& operator=(const RawBook&) = delete;

    void Exec(const char* sql, const char* what) {
        Check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK, what);
    }
};

}  // namespace bench_books
