#include "platform/data/names/directory.h"

#include "platform/data/names/file_errors.h"
#include "platform/data/names/path_names.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace fw {
namespace {

bool Glob(std::string_view s, std::string_view p) {
    // Iterative match with backtracking to the last '*'.
    std::size_t si = 0, pi = 0, star = std::string_view::npos, mark = 0;
    while (si < s.size()) {
        if (pi < p.size() && (p[pi] == '?' || p[pi] == s[si])) {
            ++si;
            ++pi;
        } else if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            mark = si;
        } else if (star != std::string_view::npos) {
            pi = star + 1;
            si = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

// Day number (day 4 is 1 January 1801) and time (hundredths since midnight
// plus 1) of a moment, in local time.
void LocalDateTime(const struct timespec& ts, std::int32_t& date, std::int32_t& time) {
    struct tm t{};
    const time_t secs = ts.tv_sec;
    localtime_r(&secs, &t);
    using namespace std::chrono;
    const year_month_day ymd{year{t.tm_year + 1900}, month{static_cast<unsigned>(t.tm_mon + 1)},
                             day{static_cast<unsigned>(t.tm_mday)}};
    const auto base = sys_days{year{1800} / December / 28};
    date = static_cast<std::int32_t>((sys_days{ymd} - base).count());
    time = t.tm_hour * 360000 + t.tm_min * 6000 + t.tm_sec * 100 + static_cast<int>(ts.tv_nsec / 10000000) + 1;
}

struct Found {
    std::string name;  // program text
    std::int32_t date, time, size;
    std::uint8_t attrib;
};

void SetIfPresent(Queue& q, const char* field, std::string_view text) {
    const int i = q.Decl().Find(field);
    if (i >= 0) SetText(q.Buffer(), q.Decl().fields[static_cast<std::size_t>(i)], text);
}
void SetIfPresent(Queue& q, const char* field, std::int64_t value) {
    const int i = q.Decl().Find(field);
    if (i >= 0) SetInteger(q.Buffer(), q.Decl().fields[static_cast<std::size_t>(i)], value);
}

}  // namespace

const RecordDecl& DirectoryEntryDecl() {
    static const RecordDecl d = RecordDeclBuilder<DirectoryEntry>("FIL")
                                    .Field("NAME", &DirectoryEntry::NAME)
                                    .Field("SHORTNAME", &DirectoryEntry::SHORTNAME)
                                    .Date("DATE", &DirectoryEntry::DATE)
                                    .Time("TIME", &DirectoryEntry::TIME)
                                    .Field("SIZE", &DirectoryEntry::SIZE)
                                    .Field("ATTRIB", &DirectoryEntry::ATTRIB)
                                    .Build();
    return d;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
    const std::string n = UpperText(name);
    const std::string m = UpperText(mask);
    if (Glob(n, m)) return true;
    // "X.*" also takes a name without a point, as "*.*" takes every name.
    return m.size() >= 2 && m.compare(m.size() - 2, 2, ".*") == 0 && n.find('.') == std::string::npos &&
           Glob(n, std::string_view(m).substr(0, m.size() - 2));
}

void DIRECTORY(Queue& queue, std::string_view mask, int attributes) {
    const PathParts parts = SplitPath(mask);
    std::string pattern(mask.substr(parts.folder.size()));
    if (pattern.empty()) pattern = "*.*";
    const std::string folder = parts.folder.empty() ? std::string(".") : ResolvePath(parts.folder);

    DIR* d = opendir(folder.c_str());
    if (!d) {
        const int err = errno;
        return SetError(err == ENOENT || err == ENOTDIR ? PathErr : SystemErrorCode(err, folder));
    }
    std::vector<Found> found;
    while (dirent* e = readdir(d)) {
        const std::string native = e->d_name;
        if (native == "." || native == "..") continue;
        const std::string name = ProgramPathText(native);
        if (!MatchesMask(name, pattern)) continue;
        struct stat st;
        if (fstatat(dirfd(d), native.c_str(), &st, 0) != 0) continue;  // gone meanwhile, or a dangling link
        std::uint8_t attrib = 0;
        if (S_ISDIR(st.st_mode)) attrib |= kAttrDirectory;
        if (native[0] == '.') attrib |= kAttrHidden;
        if (faccessat(dirfd(d), native.c_str(), W_OK, 0) != 0) attrib |= kAttrReadOnly;
        if ((attrib & kAttrDirectory) && !(attributes & kAttrDirectory)) continue;
        if ((attrib & kAttrHidden) && !(attributes & kAttrHidden)) continue;
        Found f{name, 0, 0, 0, attrib};
        LocalDateTime(st.st_mtim, f.date, f.time);
        f.size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::int32_t>(std::min<off_t>(st.st_size, 0x7fffffff));
        found.push_back(std::move(f));
    }
    closedir(d);
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        const int c = CompareFolded(a.name, b.name);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    for (const Found& f : found) {
        ClearRecord(queue.Buffer(), queue.Decl());
        SetIfPresent(queue, "NAME", f.name);
        SetIfPresent(queue, "SHORTNAME", std::string_view(f.name).substr(0, 13));
        SetIfPresent(queue, "DATE", f.date);
        SetIfPresent(queue, "TIME", f.time);
        SetIfPresent(queue, "SIZE", f.size);
        SetIfPresent(queue, "ATTRIB", f.attrib);
        queue.Add();
    }
    ClearError();
}

}  // namespace fw
