#pragma once
// The data layer's declarations of the dictionary's files: one fw::File per
// FileEntry, named by the file's shared name variable and reading and
// writing the current thread's record buffer (KAR, SBK ... in program code).
//
//   fw::File& karaoke = shell::DataFile(shell::KaraokeFile());
//   fw::SET(karaoke.FindKey("KAR:KTITLE"));

#include "shell/data_dictionary_file_entry.h"

#include "platform/data/file.h"

namespace shell {

// Made on first use; lives for the program's run.
fw::File& DataFile(const FileEntry& desc);

// The data layer's declaration of a FileEntry: keys, attributes, the name
// variable; buffer as given (empty: the file keeps one per thread).
fw::FileDecl FileDeclOf(const FileEntry& desc, std::function<void*()> buffer = {});

}  // namespace shell
