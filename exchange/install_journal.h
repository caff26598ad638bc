#pragma once
// Puts staged files in place of the live ones under a journal, so that a
// crash at any moment leaves, once the next start has recovered, either
// every old file or every new one.
//
// For each target, in order: an existing backup X.BAK steps aside to
// X.BAK.prev, the live file X becomes X.BAK, the staged file X.new becomes
// X (no rename ever replaces a file), and the folder is synced. The journal
// (autoupdate.journal beside the files) lists the targets before the first
// rename and is marked done after the last; then the .prev files and the
// journal go. A failure undoes what was done, newest first; a journal found
// later (the program was killed) is rolled back the same way, or, when it
// was marked done, only cleared up.
//
// Paths here are native (UTF-8) names; all files of one install are in
// one folder.

#include <functional>
#include <string>
#include <vector>

namespace exchange {

inline constexpr const char* kInstallJournalFile = "autoupdate.journal";

struct InstallTarget {
    std::string live;    // bare name of the installed file, "MAIN.TPS"
    std::string staged;  // its new content, "MAIN.TPS.new"
    std::string backup;  // where the old file goes, "MAIN.BAK"
};

struct InstallOutcome {
    bool ok = false;
    std::string error;                  // what failed
    std::vector<std::string> notRestored;  // files the undo could not put back (their backups are named)
};

// Swaps every staged file in. On failure every live file is as it was
// (unless notRestored says otherwise) and the staged files are gone.
InstallOutcome SwapInStagedFiles(const std::string& folder, const std::vector<InstallTarget>& targets);

// Rolls back (or clears up) what a journal in the folder left; true when
// there was none or it was dealt with. Also removes staged files it names.
bool RecoverInterruptedInstall(const std::string& folder, std::string* problem = nullptr);

// Tests: called after each swap with the number done so far; false makes
// the install fail there as a failed rename would.
void SetSwapHook(std::function<bool(int swapsDone)> hook);

// A rename that never replaces an existing file; 0 or errno.
int RenameNoReplace(const std::string& from, const std::string& to);

}  // namespace exchange
