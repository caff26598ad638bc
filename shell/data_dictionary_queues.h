#pragma once
// Record layouts of the program's global queues. DiscTagQueue carries the
// discs or tracks the user has tagged from the tagging windows to the
// track-adding worker, the CD labels and the export; the import queues carry
// the rows of a CSV import and its clashes.

#include "platform/data/record.h"
#include "platform/text/fixed_string.h"

#include <cstdint>

namespace shell {

// DiscTagQueue: one tagged disc or track. Kept in ascending order of
// QUEUNQDISKID, then DISKID.
struct DiscTagQueueRec {
    fw::FString<17> QUEUNQDISKID;  // the manufacturer's disc ID
    fw::FString<17> DISKID;        // the custom disc ID chosen for it (cut to 15 when stored)
    std::uint16_t TRACKNO;         // for tagged tracks
    fw::FString<40> QUEGENRE;      // the genre for all tracks of the disc
    static const fw::RecordDecl& Decl();
};

// ImportQue (IMP): the rows to import, in file order.
struct ImportQueRec {
    fw::FString<40> TITLE;
    fw::FString<40> ARTIST;
    fw::FString<15> ALTDISKID;
    std::uint32_t DISKTRACKNO;  // the whole track number, as the listing holds it
    fw::FString<15> UNQDISKID;
    fw::FString<40> GENRE;
    fw::FString<1> DUET;
    fw::FString<2> SBKMAKEID;
    std::int32_t MAKEID;
    fw::FString<2> MAKETYPE;
    std::int32_t DATEADDED;  // DATE
    std::uint8_t STATUS;     // never used
    static const fw::RecordDecl& Decl();
};

// ImportConflictQueue (BAD): the clashing rows, in ascending order of
// ALTDISKID, then DISKTRACKNO.
struct ImportConflictQueueRec {
    fw::FString<40> TITLE;
    fw::FString<40> ARTIST;
    fw::FString<15> ALTDISKID;
    std::uint32_t DISKTRACKNO;  // the whole track number, as the listing holds it
    fw::FString<15> UNQDISKID;
    fw::FString<40> GENRE;
    fw::FString<1> DUET;
    fw::FString<2> SBKMAKEID;
    std::int32_t MAKEID;
    fw::FString<2> MAKETYPE;
    std::int32_t DATEADDED;  // DATE
    static const fw::RecordDecl& Decl();
};

// TagPtrQueue: declared with the others and never used.
struct TagPtrQueueRec {
    std::int32_t TAGPTR;
    static const fw::RecordDecl& Decl();
};

}  // namespace shell
