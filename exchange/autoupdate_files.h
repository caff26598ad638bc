#pragma once
// The install folder's side of an AutoUpdate: the names a list's files take
// there, the check of each staged file, and whether anything holds a file
// that is about to be replaced.

#include <string>
#include <vector>

#include "exchange/install_journal.h"
#include "platform/data/file_use.h"
#include "exchange/instruction_list.h"

namespace exchange {

// The staged, live and backup names of the records to install: X.new, X,
// and X's base name with .BAK (X.BAK when two share a base name).
std::vector<InstallTarget> InstallTargetsOf(const std::vector<const Instruction*>& records);

// Empty when the staged file (native path) opens as the Main SongBase file
// it replaces, with that file's declaration; a file of the earlier
// program's format is converted to ours on the way. `records` is its count.
std::string CheckStagedDataFile(const std::string& oldFile, const std::string& stagedNative, long& records);

// The first target that is open in any process (a window of this one, or
// another copy of the program on the same files), or that has a database
// journal beside it; empty when none.
std::string TargetInUse(const std::string& folderNative, const std::vector<InstallTarget>& targets);

// The same check, and then the exclusive hold on every data target that
// exists, kept in `holds` while the files are swapped, so that no copy of
// the program opens one meanwhile. The first target in use (none held
// then), or empty.
std::string HoldTargets(const std::string& folderNative, const std::vector<InstallTarget>& targets,
                        std::vector<fw::data::FileUse>& holds);

// Removes the staged files and the journal's note of them (downloads stay).
void RemoveStagedFiles(const std::string& folderNative, const std::vector<InstallTarget>& targets);

// At start, when no journal is left: removes the staged copies of the
// Main SongBase files (X.new and what checking one leaves beside it) and
// the journal's own temporary files, which no journal claims any more.
// `programStaged` is the staged program file (native path), if any.
void RemoveUnclaimedStagedFiles(const std::string& folderNative, const std::string& programStaged = {});

}  // namespace exchange
