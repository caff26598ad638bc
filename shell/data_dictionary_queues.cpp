#include "shell/data_dictionary_queues.h"

namespace shell {

const fw::RecordDecl& DiscTagQueueRec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<DiscTagQueueRec>("")
                                        .Field("QUEUNQDISKID", &DiscTagQueueRec::QUEUNQDISKID)
                                        .Field("DISKID", &DiscTagQueueRec::DISKID)
                                        .Field("TRACKNO", &DiscTagQueueRec::TRACKNO)
                                        .Field("QUEGENRE", &DiscTagQueueRec::QUEGENRE)
                                        .Build();
    return d;
}

namespace {
// ImportQue and ImportConflictQueue share every field but the status.
template <class R>
fw::RecordDeclBuilder<R> ImportFields(const char* prefix) {
    fw::RecordDeclBuilder<R> b(prefix);
    b.Field("TITLE", &R::TITLE)
        .Field("ARTIST", &R::ARTIST)
        .Field("ALTDISKID", &R::ALTDISKID)
        .Field("DISKTRACKNO", &R::DISKTRACKNO)
        .Field("UNQDISKID", &R::UNQDISKID)
        .Field("GENRE", &R::GENRE)
        .Field("DUET", &R::DUET)
        .Field("SBKMAKEID", &R::SBKMAKEID)
        .Field("MAKEID", &R::MAKEID)
        .Field("MAKETYPE", &R::MAKETYPE)
        .Date("DATEADDED", &R::DATEADDED);
    return b;
}
}  // namespace

const fw::RecordDecl& ImportQueRec::Decl() {
    static const fw::RecordDecl d = ImportFields<ImportQueRec>("IMP").Field("STATUS", &ImportQueRec::STATUS).Build();
    return d;
}

const fw::RecordDecl& ImportConflictQueueRec::Decl() {
    static const fw::RecordDecl d = ImportFields<ImportConflictQueueRec>("BAD").Build();
    return d;
}

const fw::RecordDecl& TagPtrQueueRec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<TagPtrQueueRec>("").Field("TAGPTR", &TagPtrQueueRec::TAGPTR).Build();
    return d;
}

}  // namespace shell
