#pragma once
// The install folder's side of an AutoUpdate: the names a list's files take
// there, the check of each staged file, and whether anything holds a file
// that is about to be replaced.

#include <string>
#include <vector>

#include "exchange/install_journal.h"
#include "exchange/instruction_list.h"

namespace exchange {

// The staged, live and backup names of the records to install: X.new, X,
// and X's base name with .BAK (X.BAK when two share a base name).
std::vector<InstallTarget> InstallTargetsOf(const std::vector<const Instruction*>& records);

// Empty when the staged file (native path) opens as the Main SongBase file
// it replaces, with that file's declaration; a file of the earlier
// program's format is converted to ours on the way. `records` is its count.
std::string CheckStagedDataFile(const std::string& oldFile, const std::string& stagedNative, long& records);

// The first target some window of the program holds open, or that has a
// database journal beside it; empty when none.
std::string TargetInUse(const std::string& folderNative, const std::vector<InstallTarget>& targets);

// Removes the staged files (downloads stay).
void RemoveStagedFiles(const std::string& folderNative, const std::vector<InstallTarget>& targets);

}  // namespace exchange
