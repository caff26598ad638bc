#pragma once
// Benchmark fixtures that take long to make (song bases and books of up to
// a million records), made once and kept between runs in a folder of their
// own under the temporary folder ($TMPDIR/cv-bench-fixtures-<uid>/<name>).
// A fixture is made in a folder beside its place and renamed into it when
// complete, so an interrupted run leaves nothing half made; `version` says
// what it was made from, with the data files' layouts added, and a folder
// of another version is made again. Each run works on copies in a private
// folder of its own, with a private settings folder.

#include "platform/config/config_folder.h"
#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/data/schema.h"
#include "platform/data/transaction.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"
#include "tools/songbase_gen/generator/songbase_sink.h"
#include "window_bench_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>

namespace bench_fixture {

namespace fs = std::filesystem;

inline std::string Root() {
    return (fs::temp_directory_path() / ("cv-bench-fixtures-" + std::to_string(getuid()))).string();
}

// The folder of fixture `name`, made by `make(folder)` unless a complete one
// of this version is there already.
inline std::string Cached(const std::string& name, const std::string& version,
                          const std::function<void(const std::string&)>& make) {
    const std::string stamp = version + "\n" + fw::data::LayoutSignature(shell::SongBookRec::Decl()) + "\n" +
                              fw::data::LayoutSignature(shell::KaraokeRec::Decl()) + "\n";
    const fs::path dir = fs::path(Root()) / name;
    std::error_code ec;
    {
        std::ifstream in(dir / "fixture-version");
        const std::string have((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (have == stamp) return dir.string();
    }
    const fs::path making = fs::path(Root()) / (name + ".making");
    fs::remove_all(making, ec);
    fs::create_directories(making, ec);
    Check(!ec, "make the fixture's folder");
    std::fprintf(stderr, "making the fixture %s (kept for later runs)...\n", name.c_str());
    make(making.string());
    std::ofstream(making / "fixture-version") << stamp;
    fs::remove_all(dir, ec);
    fs::rename(making, dir, ec);
    Check(!ec, "put the fixture in place");
    return dir.string();
}

// A private folder for one run (removed by RemoveWorkFolder), and the
// program's settings folder inside it.
inline std::string MakeWorkFolder() {
    std::string tmpl = (fs::temp_directory_path() / "cv_bench_XXXXXX").string();
    Check(mkdtemp(tmpl.data()) != nullptr, "make a temporary folder");
    fw::SetConfigFolder(tmpl + "/settings");
    return tmpl;
}
inline void RemoveWorkFolder(const std::string& dir) {
    std::error_code ec;
    if (!dir.empty()) fs::remove_all(dir, ec);
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

}  // namespace bench_fixture
