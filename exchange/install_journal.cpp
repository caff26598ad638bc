#include "exchange/install_journal.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "platform/config/atomic_file.h"

namespace exchange {
namespace {

constexpr const char* kJournalHead = "AUTOUPDATE-JOURNAL 1";

std::function<bool(int)>& SwapHook() {
    static std::function<bool(int)> hook;
    return hook;
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

struct JournalEntry {
    InstallTarget target;
    bool hadLive = false;
    bool hadBackup = false;
};

struct Journal {
    bool done = false;
    std::vector<JournalEntry> entries;
};

std::string In(const std::string& folder, const std::string& name) { return folder + "/" + name; }
std::string Prev(const std::string& backup) { return backup + ".prev"; }

std::string Format(const Journal& j) {
    std::string s = std::string(kJournalHead) + "\n" + (j.done ? "done" : "swapping") + "\n";
    for (const JournalEntry& e : j.entries)
        s += std::string(e.hadLive ? "1" : "0") + " " + (e.hadBackup ? "1" : "0") + " " + e.target.live + " " +
             e.target.staged + " " + e.target.backup + "\n";
    return s;
}

bool Parse(const std::string& text, Journal& j) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kJournalHead) return false;
    if (!std::getline(in, line) || (line != "done" && line != "swapping")) return false;
    j.done = line == "done";
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::istringstream fields(line);
        int live = 0, backup = 0;
        JournalEntry e;
        if (!(fields >> live >> backup >> e.target.live >> e.target.staged >> e.target.backup)) return false;
        // Only bare names: a journal is never a way to reach another folder.
        for (const std::string* name : {&e.target.live, &e.target.staged, &e.target.backup})
            if (name->find('/') != std::string::npos || *name == "." || *name == "..") return false;
        e.hadLive = live == 1;
        e.hadBackup = backup == 1;
        j.entries.push_back(std::move(e));
    }
    return true;
}

bool WriteJournal(const std::string& folder, const Journal& j) {
    bool ok = fw::ReplaceFileAtomically(In(folder, kInstallJournalFile), Format(j));
    SyncFolder(folder);
    return ok;
}

// Puts one target back as it was before the install, whatever step it had
// reached: the staged file still there means its swap had not happened.
void Undo(const std::string& folder, const JournalEntry& e, std::vector<std::string>& notRestored) {
    const std::string live = In(folder, e.target.live), staged = In(folder, e.target.staged),
                      backup = In(folder, e.target.backup), prev = Prev(backup);
    auto failed = [&](const std::string& what) { notRestored.push_back(what); };
    if (Exists(staged)) {
        if (e.hadLive && !Exists(live) && Exists(backup) && RenameNoReplace(backup, live) != 0)
            failed(e.target.live + " (its old content is in " + e.target.backup + ")");
        ::unlink(staged.c_str());
    } else {
        if (Exists(live) && ::unlink(live.c_str()) != 0) failed(e.target.live);
        if (e.hadLive && Exists(backup) && RenameNoReplace(backup, live) != 0)
            failed(e.target.live + " (its old content is in " + e.target.backup + ")");
    }
    if (e.hadBackup && Exists(prev) && !Exists(backup) && RenameNoReplace(prev, backup) != 0)
        failed(e.target.backup + " (it is in " + e.target.backup + ".prev)");
}

void ClearUp(const std::string& folder, const Journal& j) {
    for (const JournalEntry& e : j.entries) ::unlink(Prev(In(folder, e.target.backup)).c_str());
    ::unlink(In(folder, kInstallJournalFile).c_str());
    SyncFolder(folder);
}

void RollBack(const std::string& folder, const Journal& j, std::vector<std::string>& notRestored) {
    for (auto it = j.entries.rbegin(); it != j.entries.rend(); ++it) Undo(folder, *it, notRestored);
    SyncFolder(folder);
    if (notRestored.empty()) ::unlink(In(folder, kInstallJournalFile).c_str());
    SyncFolder(folder);
}

std::string Why(const std::string& what, int error) { return what + ": " + std::strerror(error); }

}  // namespace

int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without the flag: a link fails on an existing name.
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    if (::unlink(from.c_str()) != 0) return errno;
    return 0;
}

void SetSwapHook(std::function<bool(int)> hook) { SwapHook() = std::move(hook); }

InstallOutcome SwapInStagedFiles(const std::string& folder, const std::vector<InstallTarget>& targets) {
    InstallOutcome outcome;
    Journal journal;
    for (const InstallTarget& t : targets) {
        JournalEntry e;
        e.target = t;
        e.hadLive = Exists(In(folder, t.live));
        e.hadBackup = Exists(In(folder, t.backup));
        // A .prev without a journal is nobody's: clear it out of the way.
        ::unlink(Prev(In(folder, t.backup)).c_str());
        journal.entries.push_back(std::move(e));
    }
    if (!WriteJournal(folder, journal)) {
        outcome.error = "the install journal cannot be written in " + folder;
        for (const InstallTarget& t : targets) ::unlink(In(folder, t.staged).c_str());
        return outcome;
    }
    int swaps = 0;
    for (const JournalEntry& e : journal.entries) {
        const std::string live = In(folder, e.target.live), staged = In(folder, e.target.staged),
                          backup = In(folder, e.target.backup);
        int rc = 0;
        if (e.hadBackup && (rc = RenameNoReplace(backup, Prev(backup))) != 0) outcome.error = Why(e.target.backup, rc);
        else if (e.hadLive && (rc = RenameNoReplace(live, backup)) != 0) outcome.error = Why(e.target.live, rc);
        else if ((rc = RenameNoReplace(staged, live)) != 0) outcome.error = Why(e.target.staged, rc);
        if (rc == 0) {
            SyncFolder(folder);
            ++swaps;
            if (SwapHook() && !SwapHook()(swaps)) outcome.error = "the install was stopped after " + std::to_string(swaps) + " files";
        }
        if (!outcome.error.empty()) {
            RollBack(folder, journal, outcome.notRestored);
            return outcome;
        }
    }
    journal.done = true;
    if (!WriteJournal(folder, journal)) {
        // Not marked done: the next start would roll back, so do it now.
        outcome.error = "the install journal cannot be written in " + folder;
        RollBack(folder, journal, outcome.notRestored);
        return outcome;
    }
    ClearUp(folder, journal);
    outcome.ok = true;
    return outcome;
}

bool RecoverInterruptedInstall(const std::string& folder, std::string* problem) {
    std::string text;
    const std::string path = In(folder, kInstallJournalFile);
    fw::FileReadResult read = fw::ReadWholeFile(path, text);
    if (read == fw::FileReadResult::Missing) return true;
    Journal journal;
    if (read != fw::FileReadResult::Read || !Parse(text, journal)) {
        if (problem) *problem = path + " cannot be read; the files it names are left as they are";
        return false;
    }
    if (journal.done) {
        ClearUp(folder, journal);
        return true;
    }
    std::vector<std::string> notRestored;
    RollBack(folder, journal, notRestored);
    if (!notRestored.empty() && problem) {
        *problem = "not restored:";
        for (const std::string& n : notRestored) *problem += " " + n;
    }
    return notRestored.empty();
}

}  // namespace exchange
