#include "add_discs_fixture.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/os/beep.h"
#include "platform/runtime/error_state.h"
#include "shell/data_layer.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"

#include "platform/data/sqlite_connection.h"

#include <sqlite3.h>

#include <functional>

#include "shell/data_dictionary_prefixes.h"

namespace add_discs_test {

namespace {

void Created(fw::File& f) {
    fw::CREATE(f);
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    fw::OPEN(f, fw::ReadWrite | fw::DenyNone);
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
}

void Added(fw::File& f) { ASSERT_EQ((fw::ADD(f), fw::ERRORCODE()), 0) << fw::ERROR(); }

}  // namespace


void AddDiscsFolder::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    shell::InitialiseSharedGlobals();
    shell::SetSongBaseFileNames(Folder());
    shell::ConnectDataLayer();
    fw::SetBeepHandler([this](unsigned) { ++beeps; });
}

void AddDiscsFolder::TearDown() {
    fw::SetBeepHandler(nullptr);
    shell::DisconnectDataLayer();
    shell::InitialiseSharedGlobals();
}

void AddDiscsFolder::MakeSongBase(const std::vector<Brand>& brands, const std::vector<MfrDiscRow>& discs,
                                  const std::vector<TrackRow>& tracks, const std::vector<std::string>& genres) {
    fw::File& dmake = shell::DMake();
    fw::File& disc = shell::Discs();
    fw::File& karaoke = shell::KARAOKE();
    fw::File& genre = shell::Genre();
    for (fw::File* f : {&dmake, &disc, &karaoke, &genre}) Created(*f);
    for (const Brand& b : brands) {
        fw::ClearRecord(&BRA, shell::DMakeRec::Decl());
        BRA.MakeID = b.id;
        BRA.MAKE = b.name;
        Added(dmake);
    }
    for (const MfrDiscRow& d : discs) {
        fw::ClearRecord(&DIS, shell::DiscsRec::Decl());
        DIS.MakeID = d.brand;
        DIS.DISKID = d.diskId;
        DIS.UnqDiskID = d.unq;
        Added(disc);
    }
    for (const TrackRow& t : tracks) {
        fw::ClearRecord(&KAR, shell::KaraokeRec::Decl());
        KAR.UnqDiskID = t.unq;
        KAR.DiskTrackNo = t.track;
        KAR.Title = t.title;
        KAR.Artist = t.artist;
        KAR.MAKEID = t.brand;
        KAR.DISKID = t.unq;
        Added(karaoke);
    }
    for (const std::string& g : genres) {
        fw::ClearRecord(&GEN, shell::GenreRec::Decl());
        GEN.GENRE = g;
        Added(genre);
    }
    for (fw::File* f : {&dmake, &disc, &karaoke, &genre}) fw::CLOSE(*f);
}

void AddDiscsFolder::MakeBook(const std::string& base, const std::vector<BookDisc>& discs,
                              const std::vector<BookListing>& listings) {
    UseBook(base);
    fw::File& book = shell::SongBook();
    fw::File& disc = shell::SBDiscs();
    for (fw::File* f : {&book, &disc}) Created(*f);
    for (const BookDisc& d : discs) {
        fw::ClearRecord(&SBD, shell::SBDiscsRec::Decl());
        SBD.UNQDISKID = d.unq;
        SBD.ALTDISKID = d.alt;
        SBD.MakeID = d.makeId;
        SBD.MAKETYPE = d.unq.substr(0, 2);
        Added(disc);
    }
    for (const BookListing& l : listings) {
        fw::ClearRecord(&SBK, shell::SongBookRec::Decl());
        SBK.UnqDiskID = l.unq;
        SBK.DISKTRACKNO = l.track;
        SBK.Title = l.title;
        SBK.Artist = "Artist";
        Added(book);
    }
    fw::CLOSE(book);
    fw::CLOSE(disc);
    shell::SongBookName = "";
    shell::SBDiscsName = "";
}

void AddDiscsFolder::UseBook(const std::string& base) {
    shell::SongBookName = Path(base + ".2bk");
    shell::SBDiscsName = Path(base + ".2bd");
}

namespace {

// Every record of a book file in the key's order, one line each; the
// file's name variable points at `path` meanwhile.
template <std::size_t N>
std::vector<std::string> ReadAll(fw::File& file, const char* key, fw::FString<N>& name, const std::string& path,
                                 const std::function<std::string()>& line) {
    const std::string kept = name.Str();
    name = path;
    std::vector<std::string> out;
    const bool wasOpen = fw::IsOpen(file);
    if (!wasOpen) fw::OPEN(file, fw::ReadOnly | fw::DenyNone);
    EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    fw::SET(file.FindKey(key));
    for (fw::NEXT(file); fw::ERRORCODE() == 0; fw::NEXT(file)) out.push_back(line());
    if (!wasOpen) fw::CLOSE(file);
    name = kept;
    return out;
}

}  // namespace

std::vector<std::string> AddDiscsFolder::Discs(const std::string& base) {
    return ReadAll(shell::SBDiscs(), "SBD:KUNQDISKID", shell::SBDiscsName, Path(base + ".2bd"), [] {
        return SBD.UNQDISKID.Str() + "/" + SBD.ALTDISKID.Str() + "/" + std::to_string(SBD.MakeID) + "/" +
               SBD.MAKETYPE.Str();
    });
}

std::vector<std::string> AddDiscsFolder::Listings(const std::string& base) {
    return ReadAll(shell::SongBook(), "SBK:KUnqDiskID", shell::SongBookName, Path(base + ".2bk"), [] {
        return SBK.UnqDiskID.Str() + "/" + std::to_string(SBK.DISKTRACKNO) + "/" + SBK.Title.Str() + "/" +
               SBK.Artist.Str() + "/" + SBK.GENRE.Str() + "/" + SBK.MAKEID.Str() + "/" + std::to_string(SBK.DateAdded);
    });
}

void AddDiscsFolder::Sql(const std::string& file, const std::string& sql) const {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(Path(file).c_str(), &db), SQLITE_OK);
    fw::data::RegisterCollations(db);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

}  // namespace add_discs_test
