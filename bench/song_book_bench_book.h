#pragma once
// A song book of the benchmark song base's spread of titles, artists,
// brands and disc sizes, made in a temporary folder for the benchmarks that
// run the program's windows on a large book. Each disc keeps the maker's ID
// as its custom ID; brands are numbered from 1.

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"
#include "tools/songbase_gen/generator/songbase_generator.h"
#include "window_bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace bench_book {


struct BenchBook {
    std::string dir;
    std::string listingsPath;
    std::string discsPath;
    int discs = 0;
};

// Makes the book "Bench" of `listings` tracks of the generated base in the
// folder `dir`, after `adjust` has had its say on the base. The name
// variables are left blank.
inline BenchBook MakeBenchBookIn(const std::string& dir, int listings, int minTracksPerDisc, int maxTracksPerDisc,
                                 const std::function<void(songbase_gen::MemorySongBase&)>& adjust = {}) {
    BenchBook out;
    out.dir = dir;
    shell::InitialiseSharedGlobals();
    shell::SetSongBaseFileNames(out.dir);

    songbase_gen::MemorySongBase base;
    songbase_gen::Options o;
    o.tracks = listings;
    o.minTracksPerDisc = minTracksPerDisc;
    o.maxTracksPerDisc = maxTracksPerDisc;
    songbase_gen::Generate(o, base);
    if (adjust) adjust(base);

    out.listingsPath = out.dir + "/Bench.2bk";
    out.discsPath = out.dir + "/Bench.2bd";
    shell::SongBookName = out.listingsPath;
    shell::SBDiscsName = out.discsPath;
    fw::File& book = shell::SongBook();
    fw::File& discFile = shell::SBDiscs();
    for (fw::File* f : {&book, &discFile}) {
        fw::CREATE(*f);
        Check(fw::ERRORCODE() == 0, "create");
        fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
        Check(fw::ERRORCODE() == 0, "open");
        fw::STREAM(*f);
    }
    for (const shell::DiscsRec& d : base.discs) {
        auto& rec = discFile.Rec<shell::SBDiscsRec>();
        fw::ClearRecord(&rec, *shell::SBDiscsFile().record);
        rec.UNQDISKID = d.UnqDiskID.Clip();
        rec.ALTDISKID = d.UnqDiskID.Clip();
        rec.MAKETYPE = d.UnqDiskID.Clip().substr(0, 2);
        rec.MakeID = d.MakeID;
        fw::ADD(discFile);
        Check(fw::ERRORCODE() == 0, "add a disc");
        ++out.discs;
    }
    std::int32_t day = 80000;
    for (const shell::KaraokeRec& t : base.tracks) {
        auto& rec = book.Rec<shell::SongBookRec>();
        fw::ClearRecord(&rec, *shell::SongBookFile().record);
        rec.Title = t.Title.Clip();
        rec.Artist = t.Artist.Clip();
        rec.UnqDiskID = t.UnqDiskID.Clip();
        rec.DISKTRACKNO = t.DiskTrackNo;
        rec.MAKEID = t.UnqDiskID.Clip().substr(0, 2);
        rec.DateAdded = day + (t.DiskTrackNo % 7) * 30;
        fw::ADD(book);
        Check(fw::ERRORCODE() == 0, "add a listing");
    }
    for (fw::File* f : {&book, &discFile}) {
        fw::FLUSH(*f);
        Check(fw::ERRORCODE() == 0, "flush");
        fw::CLOSE(*f);
    }
    shell::SongBookName = "";
    shell::SBDiscsName = "";
    return out;
}

// The same in a new temporary folder.
inline BenchBook MakeBenchBook(int listings, int minTracksPerDisc, int maxTracksPerDisc,
                               const std::function<void(songbase_gen::MemorySongBase&)>& adjust = {}) {
    char tmpl[] = "/tmp/cv_song_book_bench_XXXXXX";
    return MakeBenchBookIn(mkdtemp(tmpl), listings, minTracksPerDisc, maxTracksPerDisc, adjust);
}

}  // namespace bench_book
