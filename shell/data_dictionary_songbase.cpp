#include "shell/data_dictionary_songbase.h"

#include "shell/data_dictionary_buffers.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_thread_state.h"

namespace shell {

const fw::RecordDecl& KaraokeRec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<KaraokeRec>("KAR")
                                        .Field("Title", &KaraokeRec::Title)
                                        .Field("Artist", &KaraokeRec::Artist)
                                        .Field("DISKID", &KaraokeRec::DISKID)
                                        .Field("DiskTrackNo", &KaraokeRec::DiskTrackNo)
                                        .Field("MAKEID", &KaraokeRec::MAKEID)
                                        .Field("UnqDiskID", &KaraokeRec::UnqDiskID)
                                        .Build();
    return d;
}

const fw::RecordDecl& DiscsRec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<DiscsRec>("DIS")
                                        .Field("MakeID", &DiscsRec::MakeID)
                                        .Field("DISKID", &DiscsRec::DISKID)
                                        .Field("UnqDiskID", &DiscsRec::UnqDiskID)
                                        .Build();
    return d;
}

const fw::RecordDecl& DMakeRec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<DMakeRec>("BRA")
                                        .Field("MAKE", &DMakeRec::MAKE)
                                        .Field("MakeID", &DMakeRec::MakeID)
                                        .Build();
    return d;
}

const fw::RecordDecl& MakeIdRec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<MakeIdRec>("MAK")
                                        .Field("MAKEID", &MakeIdRec::MAKEID)
                                        .Field("MAKEDESC", &MakeIdRec::MAKEDESC)
                                        .Build();
    return d;
}

const fw::RecordDecl& SArtistRec::Decl() {
    static const fw::RecordDecl d =
        fw::RecordDeclBuilder<SArtistRec>("SAR").Field("Artist", &SArtistRec::Artist).Build();
    return d;
}

const fw::RecordDecl& STitleRec::Decl() {
    static const fw::RecordDecl d =
        fw::RecordDeclBuilder<STitleRec>("STI").Field("Title", &STitleRec::Title).Build();
    return d;
}

const fw::RecordDecl& GenreRec::Decl() {
    static const fw::RecordDecl d =
        fw::RecordDeclBuilder<GenreRec>("GEN").Field("GENRE", &GenreRec::GENRE).Build();
    return d;
}

const FileEntry& KaraokeFile() {
    static const FileEntry f{
        "KARAOKE", &KaraokeRec::Decl(), "MAIN.TPS", "", &KaraokeName, true, true, true, 111,
        &CallingState::KaraokeOpenCount,
        {{"KTITLE", {"Title"}},
         {"KUNQDISKID", {"UnqDiskID"}},
         {"KARTIST", {"Artist"}},
         {"KDISK", {"UnqDiskID", "DiskTrackNo"}},
         {"KMAKE", {"MAKEID"}}}};
    return f;
}

const FileEntry& DiscsFile() {
    static const FileEntry f{
        "Discs", &DiscsRec::Decl(), "DISCS.TPS", "", &DiscsName, true, false, true, 29,
        &CallingState::DiscsOpenCount,
        {{"KMAKEID", {"MakeID", "DISKID"}}, {"KUNQDISKID", {"UnqDiskID"}}, {"KDISKID", {"DISKID"}}}};
    return f;
}

const FileEntry& DMakeFile() {
    static const FileEntry f{"DMake", &DMakeRec::Decl(), "DMAKE.TPS", "", &DMakeName, true, true, true, 44,
                            &CallingState::DMakeOpenCount,
                            {{"KMAKE", {"MAKE"}}, {"KMAKEID", {"MakeID"}}}};
    return f;
}

const FileEntry& MakeIdFile() {
    static const FileEntry f{"MAKEID", &MakeIdRec::Decl(), "MAKEID.TPS", "", &MakeIdName, false, false, true, 32,
                            &CallingState::MakeIdOpenCount,
                            {{"KMAKEID", {"MAKEID"}}, {"KMAKEDESC", {"MAKEDESC"}}}};
    return f;
}

const FileEntry& SArtistFile() {
    static const FileEntry f{"sArtist", &SArtistRec::Decl(), "SARTIST.TPS", "", &SArtistName, true, false, true, 25,
                            &CallingState::SArtistOpenCount, {{"KARTIST", {"Artist"}}}};
    return f;
}

const FileEntry& STitleFile() {
    static const FileEntry f{"sTitle", &STitleRec::Decl(), "STITLE.TPS", "", &STitleName, true, false, true, 40,
                            &CallingState::STitleOpenCount, {{"KTITLE", {"Title"}}}};
    return f;
}

const FileEntry& GenreFile() {
    static const FileEntry f{"Genre", &GenreRec::Decl(), "GENRE.TPS", "", &GenreName, true, false, true, 40,
                            &CallingState::GenreOpenCount, {{"KGENRE", {"GENRE"}}}};
    return f;
}

KaraokeRec& KaraokeBuffer() { return Buffers().karaoke; }
DiscsRec& DiscsBuffer() { return Buffers().discs; }
DMakeRec& DMakeBuffer() { return Buffers().dmake; }
MakeIdRec& MakeIdBuffer() { return Buffers().makeId; }
SArtistRec& SArtistBuffer() { return Buffers().sArtist; }
STitleRec& STitleBuffer() { return Buffers().sTitle; }
GenreRec& GenreBuffer() { return Buffers().genre; }

}  // namespace shell
