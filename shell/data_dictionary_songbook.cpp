#include "shell/data_dictionary_songbook.h"

#include "shell/data_dictionary_buffers.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_thread_state.h"

namespace shell {

const fw::RecordDecl& SongBookRec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<SongBookRec>("SBK")
                                        .Field("Title", &SongBookRec::Title)
                                        .Field("Artist", &SongBookRec::Artist)
                                        .Field("UnqDiskID", &SongBookRec::UnqDiskID)
                                        .Field("DISKTRACKNO", &SongBookRec::DISKTRACKNO)
                                        .Field("GENRE", &SongBookRec::GENRE)
                                        .Field("Duet", &SongBookRec::Duet)
                                        .Field("PRINT", &SongBookRec::PRINT)
                                        .Date("DateAdded", &SongBookRec::DateAdded)
                                        .Field("LOCATION", &SongBookRec::LOCATION)
                                        .Field("MAKEID", &SongBookRec::MAKEID)
                                        .Build();
    return d;
}

const fw::RecordDecl& SBDiscsRec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<SBDiscsRec>("SBD")
                                        .Field("UNQDISKID", &SBDiscsRec::UNQDISKID)
                                        .Field("MAKETYPE", &SBDiscsRec::MAKETYPE)
                                        .Field("MakeID", &SBDiscsRec::MakeID)
                                        .Field("ALTDISKID", &SBDiscsRec::ALTDISKID)
                                        .Build();
    return d;
}

const FileEntry& SongBookFile() {
    static const FileEntry f{
        "SongBook", &SongBookRec::Decl(), "", kSongBookExtension, &SongBookName, true, false, true, 167,
        &CallingState::SongBookOpenCount,
        {{"KTITLE", {"Title", "Artist", "DISKTRACKNO", "DateAdded"}},
         {"KGENRE", {"GENRE"}},
         {"KMATCHSONG", {"Title", "Artist"}},
         {"KDISKID", {"UnqDiskID"}},
         {"ARTISTKEY", {"Artist"}},
         {"TITLEKEY", {"Title"}},
         {"KDATEADDED", {"DateAdded"}},
         {"KLOCATION", {"LOCATION"}},
         {"KARTIST", {"Artist", "Title", "DISKTRACKNO", "DateAdded"}},
         {"KUnqDiskID", {"UnqDiskID", "DISKTRACKNO"}, true}}};
    return f;
}

const FileEntry& SBDiscsFile() {
    static const FileEntry f{"SBDiscs", &SBDiscsRec::Decl(), "", kSBDiscsExtension, &SBDiscsName, true, false, true, 36,
                            &CallingState::SBDiscsOpenCount,
                            {{"KUNQDISKID", {"UNQDISKID"}}, {"KMAKEID", {"MakeID"}}, {"KALTDISKID", {"ALTDISKID"}, true}}};
    return f;
}

SongBookRec& SongBookBuffer() { return Buffers().songBook; }
SBDiscsRec& SBDiscsBuffer() { return Buffers().sbDiscs; }

}  // namespace shell
