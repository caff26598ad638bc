#include "songbook/book_journal.h"

#include "platform/config/config_folder.h"
#include "platform/data/names/temp_files.h"
#include "platform/os/archive/archive_files.h"
#include "songbook/book_file_steps.h"
#include "songbook/book_paths.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace songbook {
namespace {

namespace fs = std::filesystem;
namespace files = fw::archive_files;

constexpr std::string_view kHeader = "cv-book-journal 1\n";
constexpr char kForward = 'F';
constexpr char kBack = 'B';
constexpr char kRemoving = 'R';
constexpr std::string_view kExtension = ".journal";

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string Escape(const std::string& s) {
    std::string out;
    for (const char c : s) {
        if (c == '%') out += "%25";
        else if (c == '\t') out += "%09";
        else if (c == '\n') out += "%0A";
        else out += c;
    }
    return out;
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

const char* KindName(JournalStep::Kind kind) {
    switch (kind) {
    case JournalStep::Place: return "place";
    case JournalStep::Rename: return "rename";
    case JournalStep::Remove: return "remove";
    }
    return "";
}

std::string Text(const std::vector<JournalStep>& steps) {
    std::string text(kHeader);
    text += kForward;
    text += '\n';
    for (const JournalStep& s : steps)
        text += std::string(KindName(s.kind)) + "\t" + Escape(s.from) + "\t" + Escape(s.to) + "\t" + Escape(s.aside) + "\n";
    return text;
}

bool Parse(const std::string& text, char& phase, std::vector<JournalStep>& steps) {
    if (text.size() < kHeader.size() + 2 || text.compare(0, kHeader.size(), kHeader) != 0) return false;
    const char direction = text[kHeader.size()];
    phase = direction;
    std::istringstream in(text.substr(kHeader.size() + 2));
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            parts.push_back(Unescape(line.substr(start, tab - start)));
        parts.push_back(Unescape(line.substr(start)));
        if (parts.size() != 4) return false;
        JournalStep s;
        if (parts[0] == "place") s.kind = JournalStep::Place;
        else if (parts[0] == "rename") s.kind = JournalStep::Rename;
        else if (parts[0] == "remove") s.kind = JournalStep::Remove;
        else return false;
        s.from = parts[1];
        s.to = parts[2];
        s.aside = parts[3];
        steps.push_back(std::move(s));
    }
    return direction == kForward || direction == kBack || direction == kRemoving;
}

std::string Shown(const std::string& disk) { return ProgramPath(disk); }

std::string Reason(const std::string& what, int error) { return what + ": " + files::SystemErrorText(error); }

// Gives `to` the permissions of `from`, as far as it can.
void KeepMode(const std::string& from, const std::string& to) {
    struct stat st {};
    if (::stat(from.c_str(), &st) == 0) ::chmod(to.c_str(), st.st_mode & 07777);
}

// Makes a step, or finds it made. 0 or an errno; `error` says what failed.
int Forward(const JournalStep& s, std::string& error) {
    const BookFileOps& ops = FileOps();
    int e = 0;
    switch (s.kind) {
    case JournalStep::Rename:
        // Made once the new name is there: the old name may be taken again
        // by a later step (a book replaced by one of the same name).
        if (Exists(s.to)) return 0;
        if (!Exists(s.from)) return ENOENT;
        if ((e = ops.rename(s.from, s.to))) error = Reason("Cannot rename " + Shown(s.from) + " to " + Shown(s.to), e);
        return e;
    case JournalStep::Place:
        if (!Exists(s.from)) return Exists(s.to) ? 0 : ENOENT;
        if (Exists(s.to)) {
            // The new file takes the old one's place with its permissions.
            KeepMode(s.to, s.from);
            if (Exists(s.aside)) e = EEXIST;
            else e = ops.rename(s.to, s.aside);
            if (e) {
                error = Reason("Cannot replace " + Shown(s.to), e);
                return e;
            }
        }
        if ((e = ops.rename(s.from, s.to))) error = Reason("Cannot write " + Shown(s.to), e);
        return e;
    case JournalStep::Remove:
        if ((e = ops.remove(s.from))) error = Reason("Cannot remove " + Shown(s.from), e);
        return e;
    }
    return 0;
}

// Undoes a step, or finds it never made. A Place's new file is discarded.
void Back(const JournalStep& s, std::string& error) {
    const BookFileOps& ops = FileOps();
    switch (s.kind) {
    case JournalStep::Rename:
        if (!Exists(s.from) && Exists(s.to) && ops.rename(s.to, s.from))
            error += "; " + Shown(s.from) + " is now " + Shown(s.to);
        return;
    case JournalStep::Place:
        if (!Exists(s.from) && Exists(s.to) && ops.rename(s.to, s.from)) {
            error += "; " + Shown(s.to) + " could not be put back";
            return;
        }
        if (!s.aside.empty() && Exists(s.aside) && !Exists(s.to) && ops.rename(s.aside, s.to))
            error += "; the earlier file is kept as " + Shown(s.aside);
        ops.remove(s.from);
        return;
    case JournalStep::Remove: return;
    }
}

void SyncFolders(const std::vector<JournalStep>& steps) {
    std::set<std::string> folders;
    for (const JournalStep& s : steps)
        for (const std::string* p : {&s.from, &s.to, &s.aside})
            if (!p->empty()) folders.insert(files::FolderOf(*p));
    for (const std::string& f : folders) files::SyncFolder(f);
}

void MarkJournal(int journalFd, char phase) {
    if (journalFd < 0) return;
    if (::pwrite(journalFd, &phase, 1, static_cast<off_t>(kHeader.size())) == 1) ::fsync(journalFd);
}

void RemoveAll(const std::vector<JournalStep>& steps, JournalResult& result) {
    for (const JournalStep& s : steps) {
        std::string error;
        if (s.kind == JournalStep::Remove && Forward(s, error) && result.error.empty()) result.error = error;
    }
    SyncFolders(steps);
}

// Makes the steps: the undoable ones, then (the journal marked so) the
// removals. On a failure the journal is marked back before anything is
// undone. A journal found marked goes on from where it was.
JournalResult Settle(const std::vector<JournalStep>& steps, char phase, int journalFd) {
    JournalResult result;
    if (phase == kRemoving) {
        result.done = true;
        RemoveAll(steps, result);
        return result;
    }
    std::size_t made = phase == kBack ? steps.size() : 0;
    if (phase == kForward) {
        for (; made < steps.size(); ++made) {
            if (steps[made].kind == JournalStep::Remove) continue;
            if (Forward(steps[made], result.error)) break;
        }
        if (made == steps.size()) {
            result.done = true;
            SyncFolders(steps);
            MarkJournal(journalFd, kRemoving);
            RemoveAll(steps, result);
            return result;
        }
        if (result.error.empty()) result.error = "A file of the SongBook is missing";
        MarkJournal(journalFd, kBack);
    }
    for (std::size_t i = std::min(made + 1, steps.size()); i-- > 0;) Back(steps[i], result.error);
    SyncFolders(steps);
    return result;
}

// A journal file, written whole and synced before it takes its name, and
// held locked for as long as this lives.
class HeldJournal {
public:
    ~HeldJournal() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool Write(const std::vector<JournalStep>& steps, std::string& error) {
        const std::string folder = BookJournalFolder();
        std::error_code ec;
        fs::create_directories(folder, ec);
        std::string temp;
        fd_ = files::CreateTempFile(folder, "journal", temp);
        if (fd_ < 0) return Failed("Cannot write in " + folder, errno, error);
        ::flock(fd_, LOCK_EX);
        const std::string text = Text(steps);
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t w = ::write(fd_, text.data() + done, text.size() - done);
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) return Discard(temp, "Cannot write " + temp, errno, error);
            done += static_cast<std::size_t>(w);
        }
        if (::fsync(fd_) != 0) return Discard(temp, "Cannot write " + temp, errno, error);
        path_ = folder + "/" + fs::path(temp).filename().string().substr(1) + std::string(kExtension);
        if (!files::RenameNoReplace(temp, path_)) return Discard(temp, "Cannot write " + path_, errno, error);
        files::SyncFolder(folder);
        return true;
    }
    int Fd() const { return fd_; }
    void Remove() {
        ::unlink(path_.c_str());
        files::SyncFolder(files::FolderOf(path_));
    }

private:
    bool Failed(const std::string& what, int e, std::string& error) {
        error = Reason(what, e);
        return false;
    }
    bool Discard(const std::string& temp, const std::string& what, int e, std::string& error) {
        ::unlink(temp.c_str());
        return Failed(what, e, error);
    }
    int fd_ = -1;
    std::string path_;
};

}  // namespace

namespace {
int operationsUnderWay = 0;
}  // namespace

BookOperation::BookOperation() { ++operationsUnderWay; }
BookOperation::~BookOperation() { --operationsUnderWay; }
bool BookOperation::UnderWay() { return operationsUnderWay > 0; }

std::string AsideName(const std::string& folder) { return files::UnusedName(folder, "aside"); }

void AddAsideRemovals(std::vector<JournalStep>& steps) {
    const std::string prefix = fw::TempFilePrefix("aside");
    const std::size_t made = steps.size();
    for (std::size_t i = 0; i < made; ++i)
        if (steps[i].kind == JournalStep::Rename && fs::path(steps[i].to).filename().string().rfind(prefix, 0) == 0)
            steps.push_back({JournalStep::Remove, steps[i].to, {}, {}});
}

std::string BookJournalFolder() { return fw::ConfigFolder() + "/book-journal"; }

JournalResult RunJournaled(const std::vector<JournalStep>& steps) {
    HeldJournal journal;
    JournalResult result;
    if (!journal.Write(steps, result.error)) return result;
    result = Settle(steps, kForward, journal.Fd());
    journal.Remove();
    return result;
}

int SettleBookJournals() {
    const std::string folder = BookJournalFolder();
    int settled = 0;
    std::error_code ec;
    std::vector<fs::path> journals;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == kExtension) journals.push_back(it->path());
    for (const fs::path& path : journals) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        // A journal a running operation holds is its own business.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        char phase = kForward;
        std::vector<JournalStep> steps;
        if (Parse(text.str(), phase, steps)) Settle(steps, phase, fd);
        ::unlink(path.c_str());
        ::close(fd);
        ++settled;
    }
    if (settled) files::SyncFolder(folder);
    fw::RemoveLeftoverTempFiles(folder, false);
    return settled;
}

}  // namespace songbook
