#include "exchange/install_journal.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "platform/config/atomic_file.h"

namespace exchange {
namespace {

// Version 1 journals (an earlier program's) name the targets but not how
// far each got; their state is read from the files alone.
constexpr const char* kJournalHeadV1 = "AUTOUPDATE-JOURNAL 1";
constexpr const char* kJournalHead = "AUTOUPDATE-JOURNAL 2";

// The three renames of one target, in the order the swap takes them.
constexpr int kSteps = 3;

std::function<bool(int)>& SwapHook() {
    static std::function<bool(int)> hook;
    return hook;
}

std::function<void()>& StepHook() {
    static std::function<void()> hook;
    return hook;
}

void Step() {
    if (StepHook()) StepHook()();
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return ::lstat(a.c_str(), &sa) == 0 && ::lstat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

enum class State { Staging, Swapping, Undoing, Done };
// Which rename of an entry may be under way: none, the next one of the
// swap, the undo of the last one done; Unknown: a version 1 journal.
enum class Move { None, Forward, Back, Unknown };

struct Entry {
    InstallTarget target;
    bool hadLive = false;
    bool hadBackup = false;
    int done = 0;  // renames of the swap done for certain, 0..3
    Move move = Move::None;
};

struct Journal {
    State state = State::Swapping;
    std::vector<Entry> entries;
};

const char* StateName(State s) {
    switch (s) {
    case State::Staging: return "staging";
    case State::Swapping: return "swapping";
    case State::Undoing: return "undoing";
    case State::Done: return "done";
    }
    return "";
}

char MoveMark(Move m) { return m == Move::Forward ? '+' : m == Move::Back ? '-' : '='; }

std::string FolderOf(const std::string& folder, const Entry& e) {
    return e.target.folder.empty() ? folder : e.target.folder;
}

// The four names of an entry.
struct Names {
    std::string live, staged, backup, prev;
};

Names NamesOf(const std::string& folder, const Entry& e) {
    const std::string dir = FolderOf(folder, e) + "/";
    return {dir + e.target.live, dir + e.target.staged, dir + e.target.backup, dir + e.target.backup + ".prev"};
}

// Rename `step` (1..3) of the swap: from, to.
std::pair<std::string, std::string> RenameOf(const Names& n, int step) {
    switch (step) {
    case 1: return {n.backup, n.prev};
    case 2: return {n.live, n.backup};
    default: return {n.staged, n.live};
    }
}

// A step that moves no file: there was no backup, or no live file.
bool Applies(const Entry& e, int step) { return step == 1 ? e.hadBackup : step == 2 ? e.hadLive : true; }

std::string Format(const Journal& j) {
    std::string s = std::string(kJournalHead) + "\n" + StateName(j.state) + "\n";
    for (const Entry& e : j.entries) {
        s += std::to_string(e.done) + MoveMark(e.move) + " " + (e.hadLive ? "1" : "0") + " " +
             (e.hadBackup ? "1" : "0") + " " + e.target.live + " " + e.target.staged + " " + e.target.backup;
        if (!e.target.folder.empty()) s += " " + e.target.folder;
        s += "\n";
    }
    return s;
}

bool BareName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

bool Parse(const std::string& text, Journal& j) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || (line != kJournalHead && line != kJournalHeadV1)) return false;
    const bool v1 = line == kJournalHeadV1;
    if (!std::getline(in, line)) return false;
    if (line == "staging" && !v1) j.state = State::Staging;
    else if (line == "swapping") j.state = State::Swapping;
    else if (line == "undoing" && !v1) j.state = State::Undoing;
    else if (line == "done") j.state = State::Done;
    else return false;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::istringstream fields(line);
        Entry e;
        std::string progress;
        int live = 0, backup = 0;
        if (!v1 && !(fields >> progress)) return false;
        if (!(fields >> live >> backup >> e.target.live >> e.target.staged >> e.target.backup)) return false;
        if (v1) {
            e.move = Move::Unknown;
        } else {
            if (progress.size() != 2 || progress[0] < '0' || progress[0] > '3') return false;
            e.done = progress[0] - '0';
            switch (progress[1]) {
            case '=': e.move = Move::None; break;
            case '+': e.move = Move::Forward; break;
            case '-': e.move = Move::Back; break;
            default: return false;
            }
            if ((e.move == Move::Forward && e.done == kSteps) || (e.move == Move::Back && e.done == 0)) return false;
            std::string rest;
            std::getline(fields, rest);
            if (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
            if (!rest.empty() && rest.front() != '/') return false;
            e.target.folder = rest;
        }
        // Only bare names: a journal is never a way to reach another folder.
        for (const std::string* name : {&e.target.live, &e.target.staged, &e.target.backup})
            if (!BareName(*name)) return false;
        if (live > 1 || backup > 1 || live < 0 || backup < 0) return false;
        e.hadLive = live == 1;
        e.hadBackup = backup == 1;
        j.entries.push_back(std::move(e));
    }
    return true;
}

std::string JournalPath(const std::string& folder) { return folder + "/" + kInstallJournalFile; }

bool WriteJournal(const std::string& folder, const Journal& j) {
    Step();
    return fw::ReplaceFileAtomically(JournalPath(folder), Format(j));
}

void RemoveJournal(const std::string& folder) {
    Step();
    ::unlink(JournalPath(folder).c_str());
    SyncFolder(folder);
}

int RenameStep(const std::string& from, const std::string& to, const std::string& folder) {
    Step();
    const int rc = RenameNoReplace(from, to);
    SyncFolder(folder);
    return rc;
}

// Whether the files of an entry are as `done` renames of its swap leave
// them (a .prev where no rename has put one yet is not the entry's).
bool Fits(const Entry& e, const Names& n, int done) {
    const bool live = Exists(n.live), staged = Exists(n.staged), backup = Exists(n.backup), prev = Exists(n.prev);
    switch (done) {
    case 0: return live == e.hadLive && staged && backup == e.hadBackup;
    case 1: return live == e.hadLive && staged && !backup && prev == e.hadBackup;
    case 2: return !live && staged && backup == e.hadLive && prev == e.hadBackup;
    default: return live && !staged && backup == e.hadLive && prev == e.hadBackup;
    }
}

std::string Describe(const Entry& e, const Names& n) {
    std::string present;
    for (const std::string* p : {&n.live, &n.staged, &n.backup, &n.prev})
        if (Exists(*p)) present += (present.empty() ? "" : ", ") + p->substr(p->rfind('/') + 1);
    return e.target.live + " (the journal says " + std::to_string(e.done) + " of its 3 steps are done; found: " +
           (present.empty() ? std::string("none of its files") : present) + ")";
}

// Decides from the record and the files how far an entry got. A rename
// the record says may be under way is done when its source is gone and
// its target is there; a link left by a file system without the no-replace
// rename (both names, one file) is finished. False: nothing fits.
bool Resolve(const std::string& folder, Entry& e) {
    const Names n = NamesOf(folder, e);
    std::vector<int> candidates;
    switch (e.move) {
    case Move::None: candidates = {e.done}; break;
    case Move::Forward: {
        auto [from, to] = RenameOf(n, e.done + 1);
        if (Exists(from) && SameFile(from, to)) {
            Step();
            ::unlink(from.c_str());
            SyncFolder(FolderOf(folder, e));
        }
        candidates = {e.done + 1, e.done};
        break;
    }
    case Move::Back: {
        auto [from, to] = RenameOf(n, e.done);
        if (Exists(to) && SameFile(to, from)) {
            Step();
            ::unlink(to.c_str());
            SyncFolder(FolderOf(folder, e));
        }
        candidates = {e.done, e.done - 1};
        break;
    }
    case Move::Unknown: candidates = {3, 2, 1, 0}; break;
    }
    for (int c : candidates) {
        if (Fits(e, n, c)) {
            e.done = c;
            e.move = Move::None;
            return true;
        }
    }
    return false;
}

// Removes the staged files; the journal that claims them goes first.
void RemoveStaged(const std::string& folder, const Journal& j) {
    RemoveJournal(folder);
    for (const Entry& e : j.entries) {
        const Names n = NamesOf(folder, e);
        Step();
        ::unlink(n.staged.c_str());
        SyncFolder(FolderOf(folder, e));
    }
}

// Undoes every entry, newest first, one recorded rename at a time. The
// journal stays while an entry could not be put back.
void RollBack(const std::string& folder, Journal& j, std::vector<std::string>& notRestored,
              const std::function<void()>& beforeJournalGoes = {}) {
    j.state = State::Undoing;
    for (auto it = j.entries.rbegin(); it != j.entries.rend(); ++it) {
        Entry& e = *it;
        const Names n = NamesOf(folder, e);
        while (e.done > 0) {
            if (!Applies(e, e.done)) {
                --e.done;
                continue;
            }
            e.move = Move::Back;
            if (!WriteJournal(folder, j)) {
                notRestored.push_back("the install journal in " + folder + " (it cannot be written)");
                return;
            }
            auto [from, to] = RenameOf(n, e.done);
            if (RenameStep(to, from, FolderOf(folder, e)) != 0) {
                e.move = Move::None;
                notRestored.push_back(e.done == 1   ? e.target.backup + " (it is in " + e.target.backup + ".prev)"
                                      : e.done == 2 ? e.target.live + " (its old content is in " + e.target.backup + ")"
                                                    : e.target.live + " (the new file is still in its place)");
                break;
            }
            --e.done;
            e.move = Move::None;
        }
    }
    if (!notRestored.empty()) {
        WriteJournal(folder, j);
        return;
    }
    if (beforeJournalGoes) beforeJournalGoes();
    RemoveStaged(folder, j);
}

void ClearUp(const std::string& folder, const Journal& j) {
    for (const Entry& e : j.entries) {
        Step();
        ::unlink(NamesOf(folder, e).prev.c_str());
    }
    for (const Entry& e : j.entries) SyncFolder(FolderOf(folder, e));
    RemoveJournal(folder);
}

std::string Why(const std::string& what, int error) { return what + ": " + std::strerror(error); }

Journal JournalOf(const std::vector<InstallTarget>& targets, State state) {
    Journal j;
    j.state = state;
    for (const InstallTarget& t : targets) {
        Entry e;
        e.target = t;
        j.entries.push_back(std::move(e));
    }
    return j;
}

std::vector<std::string> LiveNames(const Journal& j) {
    std::vector<std::string> names;
    for (const Entry& e : j.entries) names.push_back(e.target.live);
    return names;
}

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
void SetInstallStepHook(std::function<void()> hook) { StepHook() = std::move(hook); }

bool NoteStaging(const std::string& folder, const std::vector<InstallTarget>& targets) {
    return WriteJournal(folder, JournalOf(targets, State::Staging));
}

void DropStaging(const std::string& folder, const std::vector<InstallTarget>& targets) {
    RemoveStaged(folder, JournalOf(targets, State::Staging));
}

InstallOutcome SwapInStagedFiles(const std::string& folder, const std::vector<InstallTarget>& targets) {
    InstallOutcome outcome;
    Journal journal = JournalOf(targets, State::Swapping);
    for (Entry& e : journal.entries) {
        const Names n = NamesOf(folder, e);
        e.hadLive = Exists(n.live);
        e.hadBackup = Exists(n.backup);
        // A .prev that no journal claims is nobody's: clear it out of the way.
        if (Exists(n.prev)) {
            Step();
            ::unlink(n.prev.c_str());
        }
    }
    int swaps = 0;
    for (Entry& e : journal.entries) {
        const Names n = NamesOf(folder, e);
        for (int step = 1; step <= kSteps && outcome.error.empty(); ++step) {
            if (!Applies(e, step)) {
                e.done = step;
                continue;
            }
            e.move = Move::Forward;
            if (!WriteJournal(folder, journal)) {
                e.move = Move::None;
                outcome.error = "the install journal cannot be written in " + folder;
                break;
            }
            auto [from, to] = RenameOf(n, step);
            const int rc = RenameStep(from, to, FolderOf(folder, e));
            e.move = Move::None;
            if (rc != 0) {
                outcome.error = Why(step == 1 ? e.target.backup : step == 2 ? e.target.live : e.target.staged, rc);
                break;
            }
            e.done = step;
        }
        if (outcome.error.empty()) {
            ++swaps;
            if (SwapHook() && !SwapHook()(swaps))
                outcome.error = "the install was stopped after " + std::to_string(swaps) + " files";
        }
        if (!outcome.error.empty()) {
            RollBack(folder, journal, outcome.notRestored);
            return outcome;
        }
    }
    journal.state = State::Done;
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

RecoveryOutcome RecoverInstall(const std::string& folder, const std::vector<std::string>& otherFolders,
                               const std::function<void(const RecoveryOutcome&)>& beforeJournalGoes) {
    RecoveryOutcome outcome;
    std::string text;
    const std::string path = JournalPath(folder);
    fw::FileReadResult read = fw::ReadWholeFile(path, text);
    if (read == fw::FileReadResult::Missing) return outcome;
    Journal journal;
    outcome.what = Recovery::Unexplained;
    if (read != fw::FileReadResult::Read || !Parse(text, journal)) {
        outcome.problem = path + " cannot be read; the files it names are left as they are";
        return outcome;
    }
    outcome.files = LiveNames(journal);
    for (const Entry& e : journal.entries) {
        if (!e.target.folder.empty() &&
            std::find(otherFolders.begin(), otherFolders.end(), e.target.folder) == otherFolders.end()) {
            outcome.problem = path + " names a file in " + e.target.folder +
                              ", which is not this program's folder; the files it names are left as they are";
            return outcome;
        }
    }
    auto announce = [&](Recovery what) {
        outcome.what = what;
        if (beforeJournalGoes) beforeJournalGoes(outcome);
    };
    switch (journal.state) {
    case State::Staging:
        announce(Recovery::StagingGone);
        RemoveStaged(folder, journal);
        return outcome;
    case State::Done:
        announce(Recovery::Completed);
        ClearUp(folder, journal);
        return outcome;
    case State::Swapping:
    case State::Undoing: break;
    }
    // Every entry's state is decided before anything moves.
    for (Entry& e : journal.entries) {
        if (!Resolve(folder, e)) {
            outcome.problem = "the files of an interrupted AutoUpdate are not as its journal says: " +
                              Describe(e, NamesOf(folder, e)) + "; nothing has been changed";
            return outcome;
        }
    }
    std::vector<std::string> notRestored;
    RollBack(folder, journal, notRestored, [&] { announce(Recovery::RolledBack); });
    if (!notRestored.empty()) {
        outcome.what = Recovery::Unexplained;
        outcome.problem = "not restored:";
        for (const std::string& n : notRestored) outcome.problem += " " + n;
    }
    return outcome;
}

bool RecoverInterruptedInstall(const std::string& folder, std::string* problem) {
    RecoveryOutcome outcome = RecoverInstall(folder);
    if (outcome.what == Recovery::Unexplained && problem) *problem = outcome.problem;
    return outcome.what != Recovery::Unexplained;
}

}  // namespace exchange
