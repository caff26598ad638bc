#pragma once
// Puts staged files in place of the live ones under a journal, so that a
// crash at any moment, also a crash of the recovery itself, leaves, once a
// later start has recovered, either every old file or every new one.
//
// Before the first staged file is made, the journal (autoupdate.journal in
// the install folder) notes the targets ("staging"). The swap then takes,
// for each target in order, three renames: an existing backup X.BAK steps
// aside to X.BAK.prev, the live file X becomes X.BAK, the staged file X.new
// becomes X. No rename ever replaces a file, and none removes one: an undo
// is the same renames backwards, X going back to X.new. Before each rename
// the journal records, for every target, how many of its renames are done
// and which one may be under way; it is replaced atomically and synced, and
// the folder is synced after each rename. Each step of a recovery is
// decided from that record, checked against the files there: a state the
// record does not explain is reported and nothing is touched. The journal
// is marked done after the last swap; then the .prev files and the journal
// go. Staged files are removed only after the journal that claims them.
//
// Paths here are native (UTF-8) names. A target lives in the install
// folder unless it names a folder of its own (the program file).

#include <functional>
#include <string>
#include <vector>

namespace exchange {

inline constexpr const char* kInstallJournalFile = "autoupdate.journal";

struct InstallTarget {
    std::string live;    // bare name of the installed file, "MAIN.TPS"
    std::string staged;  // its new content, "MAIN.TPS.new"
    std::string backup;  // where the old file goes, "MAIN.BAK"
    std::string folder;  // its folder when not the install folder (absolute)
};

struct InstallOutcome {
    bool ok = false;
    std::string error;                  // what failed
    std::vector<std::string> notRestored;  // files the undo could not put back (their backups are named)
};

// Notes the targets before their staged files are made, so that a crash
// while staging leaves nothing the next start does not remove. False when
// the note cannot be written (nothing may be staged then).
bool NoteStaging(const std::string& folder, const std::vector<InstallTarget>& targets);

// Removes the staged files and, first, the journal's note of them.
void DropStaging(const std::string& folder, const std::vector<InstallTarget>& targets);

// Swaps every staged file in. On failure every live file is as it was
// (unless notRestored says otherwise) and the staged files are gone.
InstallOutcome SwapInStagedFiles(const std::string& folder, const std::vector<InstallTarget>& targets);

enum class Recovery {
    Nothing,      // no journal: nothing was interrupted
    StagingGone,  // an update stopped before it replaced anything; its staged files are gone
    RolledBack,   // a swap was undone: every old file is in place
    Completed,    // a swap had put every new file in place; it was finished
    Unexplained,  // the files are not as the journal says; nothing was touched
};

struct RecoveryOutcome {
    Recovery what = Recovery::Nothing;
    std::vector<std::string> files;  // the live files concerned
    std::string problem;             // for Unexplained and a failed undo
};

// Finishes what a journal in the folder left: a staging note's files are
// removed, an unfinished swap is rolled back, a done one is cleared up.
// May itself be interrupted at any point and run again. A target in a
// folder of its own is touched only when that folder is one of
// `otherFolders`. `beforeJournalGoes` is called once the outcome is known
// and before the journal is removed (so a note of it can be kept).
RecoveryOutcome RecoverInstall(const std::string& folder, const std::vector<std::string>& otherFolders = {},
                               const std::function<void(const RecoveryOutcome&)>& beforeJournalGoes = {});
// The same; true when there was no journal or it was dealt with.
bool RecoverInterruptedInstall(const std::string& folder, std::string* problem = nullptr);

// Tests: called after each swap with the number done so far; false makes
// the install fail there as a failed rename would.
void SetSwapHook(std::function<bool(int swapsDone)> hook);
// Tests: called before every step that changes the folder (a journal
// write, a rename, a removal), in the swap and in the recovery alike.
void SetInstallStepHook(std::function<void()> hook);

// A rename that never replaces an existing file; 0 or errno.
int RenameNoReplace(const std::string& from, const std::string& to);

}  // namespace exchange
