#pragma once
// The data layer's file of each dictionary entry, by the file's label:
//   fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
// Each is declared once from its FileSpec: its record buffer is the current
// thread's buffer of data_dictionary_buffers.h (so SBK.Title is the record
// that NEXT(SongBook()) fills), its name the shared name variable.

#include "platform/data/file.h"
#include "shell/data_dictionary_file_spec.h"

namespace shell {

fw::File& KARAOKE();
fw::File& Discs();
fw::File& DMake();
fw::File& MAKEID();
fw::File& sArtist();
fw::File& sTitle();
fw::File& Genre();
fw::File& SongBook();
fw::File& SBDiscs();

// The file declared from a dictionary entry (one of the above).
fw::File& DataFile(const FileSpec& spec);

// The data layer's declaration made from a dictionary entry; buffer is the
// current thread's record buffer of that file.
fw::FileDecl MakeFileDecl(const FileSpec& spec, std::function<void*()> buffer);

}  // namespace shell
