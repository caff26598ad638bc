#include "platform/os/archive/archive_files.h"

#include "platform/data/names/path_names.h"
#include "platform/data/names/temp_files.h"
#include "platform/text/codepage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace fw::archive_files {
namespace {

std::string RandomSuffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string s;
    for (int i = 0; i < 10; ++i) s.push_back(kDigits[generator() % 36]);
    return s;
}

std::string Join(const std::string& folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    if (folder.back() == '/') return folder + std::string(name);
    return folder + "/" + std::string(name);
}

}  // namespace

std::string DiskPath(std::string_view ansiPath) { return ResolvePath(ansiPath); }

std::string ProgramPath(const std::string& diskPath) { return Utf8ToAnsi(diskPath); }

std::string FolderOf(const std::string& diskPath) {
    const size_t slash = diskPath.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return diskPath.substr(0, slash);
}

int CreateTempFile(const std::string& folder, std::string_view what, std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = Join(folder, TempFilePrefix(what) + RandomSuffix());
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

std::string UnusedName(const std::string& folder, std::string_view what) {
    for (;;) {
        std::string path = Join(folder, TempFilePrefix(what) + RandomSuffix());
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT) return path;
    }
}

bool SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return ok;
}

bool SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return ok;
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the flag: a hard link fails on an existing target too.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    ::unlink(from.c_str());
    return true;
}

bool CopyInto(const std::string& from, int fd) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (n == 0) break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(fd, buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                ok = false;
                break;
            }
            done += w;
        }
        if (!ok) break;
    }
    const int saved = errno;
    ::close(in);
    errno = saved;
    return ok;
}

std::string SystemErrorText(int error) { return std::strerror(error); }

}  // namespace fw::archive_files
