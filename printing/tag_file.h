#pragma once
// TAGFILE: the discs the CD label setup hands to the label reports, one
// record (manufacturer disc ID, custom disc ID) per tagged disc. The name
// has no folder, so the file lies in the current folder (the song-book
// folder). It is rewritten before each label print and when the setup
// closes; a failure to create or write it is told to the caller, never
// the end of the program.

#include <string>
#include <vector>

#include "platform/data/file.h"
#include "platform/data/record.h"
#include "platform/text/fixed_string.h"
#include "shell/data_dictionary_file_entry.h"

namespace printing {

// TagFile (TAG): 30 bytes a record.
struct TagFileRec {
    fw::FString<15> UNQDISKID;  // the manufacturer's disc ID of a tagged disc
    fw::FString<15> ALTDISKID;  // its custom disc ID
    static const fw::RecordDecl& Decl();
};

inline constexpr const char* kTagFileName = "TAGFILE";

// TAG:KUNQDISKID and TAG:KALTDISKID, both with duplicates; created when missing.
const shell::FileEntry& TagFilePlan();
fw::File& TagFile();

// One tagged disc as the label reports see it.
struct LabelTag {
    std::string unq;  // manufacturer's disc ID
    std::string alt;  // custom disc ID
    bool operator==(const LabelTag&) const = default;
};

// Empties TAGFILE (creating it when missing) and writes one record per
// tag, each ID cut to 15 characters. False, with the reason in `error`,
// when the file cannot be created or written.
bool WriteTagFile(const std::vector<LabelTag>& tags, std::string& error);
// TAGFILE's records in custom disc ID order (a missing file holds none).
// False, with the reason in `error`, when it cannot be read.
bool ReadTagFile(std::vector<LabelTag>& tags, std::string& error);

}  // namespace printing
