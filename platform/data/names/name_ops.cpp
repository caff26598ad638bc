#include "platform/data/names/name_ops.h"

#include "platform/data/names/file_errors.h"
#include "platform/data/names/path_names.h"
#include "platform/runtime/error_state.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

namespace fw {
namespace {

std::string Parent(const std::string& native) {
    const auto slash = native.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : native.substr(0, slash);
}

std::string BaseName(const std::string& native) {
    const auto slash = native.rfind('/');
    return slash == std::string::npos ? native : native.substr(slash + 1);
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Copies src to dst through a temporary file beside dst, synced before it
// replaces dst. Returns 0 or an errno, with the path it concerns.
int CopyNative(const std::string& src, const std::string& dst, std::string& failedPath) {
    failedPath = src;
    const int in = open(src.c_str(), O_RDONLY);
    if (in < 0) return errno;
    struct stat st;
    if (fstat(in, &st) != 0) {
        const int err = errno;
        close(in);
        return err;
    }
    const std::string tmp = Parent(dst) + "/.~" + BaseName(dst) + "." + std::to_string(getpid()) + ".tmp";
    failedPath = dst;
    const int out = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, st.st_mode & 0777);
    if (out < 0) {
        const int err = errno;
        close(in);
        return err;
    }
    int err = 0;
    std::vector<char> buf(1 << 20);
    while (true) {
        const ssize_t n = read(in, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        if (n == 0) break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = write(out, buf.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                err = errno;
                break;
            }
            done += w;
        }
        if (err) break;
    }
    if (!err && fsync(out) != 0) err = errno;
    if (close(out) != 0 && !err) err = errno;
    close(in);
    if (!err && rename(tmp.c_str(), dst.c_str()) != 0) err = errno;
    if (err) {
        unlink(tmp.c_str());
        return err;
    }
    SyncFolder(Parent(dst));
    return 0;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

std::string LongNative(std::string_view name) {
    std::string native = NativePathText(name);
    if (native.empty() || native.front() != '/') {
        std::error_code ec;
        const std::string cwd = std::filesystem::current_path(ec).string();
        native = native.empty() ? cwd : cwd + "/" + native;
    }
    std::string out = ResolveNativePath(std::filesystem::path(native).lexically_normal().string());
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

}  // namespace

bool EXISTS(std::string_view name) {
    if (name.empty()) return false;
    struct stat st;
    return stat(ResolvePath(name).c_str(), &st) == 0;
}

void COPY(std::string_view source, std::string_view target) {
    const std::string src = ResolvePath(source);
    const std::string dst = ResolvePath(target);
    struct stat s, d;
    if (stat(src.c_str(), &s) != 0) return SetSystemError(errno, src);
    if (S_ISDIR(s.st_mode)) return SetError(NoAccessErr);
    if (stat(dst.c_str(), &d) == 0 && (SameFile(s, d) || S_ISDIR(d.st_mode))) return SetError(NoAccessErr);
    std::string failed;
    if (const int err = CopyNative(src, dst, failed)) return SetSystemError(err, failed);
    ClearError();
}

void RENAME(std::string_view oldName, std::string_view newName) {
    const std::string src = ResolvePath(oldName);
    struct stat s, d;
    if (lstat(src.c_str(), &s) != 0) return SetSystemError(errno, src);
    const std::string resolved = ResolvePath(newName);
    // The target in the case written, in its folder as found on disk.
    const std::string wanted = Parent(resolved) + "/" + BaseName(NativePathText(newName));
    if (lstat(resolved.c_str(), &d) == 0) {
        if (!SameFile(s, d)) return SetError(NoAccessErr);
        if (wanted == src) return ClearError();
        // Only the case changes: the one existing name is the file itself.
        if (rename(src.c_str(), wanted.c_str()) != 0) return SetSystemError(errno, wanted);
        return ClearError();
    }
    if (renameat2(AT_FDCWD, src.c_str(), AT_FDCWD, wanted.c_str(), RENAME_NOREPLACE) == 0) return ClearError();
    int err = errno;
    if (err == EINVAL || err == ENOSYS) {
        // The file system cannot refuse to replace; the check above has to do.
        if (rename(src.c_str(), wanted.c_str()) == 0) return ClearError();
        err = errno;
    }
    if (err == EXDEV && S_ISREG(s.st_mode)) {
        std::string failed;
        if (const int e = CopyNative(src, wanted, failed)) return SetSystemError(e, failed);
        unlink(src.c_str());
        return ClearError();
    }
    SetSystemError(err, err == ENOENT || err == ENOTDIR ? wanted : src);
}

void REMOVE(std::string_view name) {
    const std::string path = ResolvePath(name);
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return SetSystemError(errno, path);
    if (S_ISDIR(st.st_mode)) return SetError(NoAccessErr);
    if (unlink(path.c_str()) != 0) return SetSystemError(errno, path);
    ClearError();
}

void SETPATH(std::string_view folder) {
    const std::string path = ResolvePath(folder);
    if (path.empty() || chdir(path.c_str()) != 0) {
        const int err = path.empty() ? ENOENT : errno;
        return SetError(err == ENOENT || err == ENOTDIR ? PathErr : SystemErrorCode(err, path));
    }
    ClearError();
}

std::string LONGPATH() { return LONGPATH(""); }
std::string LONGPATH(std::string_view name) { return ProgramPathText(LongNative(name)); }
std::string SHORTPATH() { return LONGPATH(); }
std::string SHORTPATH(std::string_view name) { return LONGPATH(name); }

}  // namespace fw
