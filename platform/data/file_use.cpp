#include "platform/data/file_use.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

namespace fw::data {

FileUse& FileUse::operator=(FileUse&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

bool FileUse::Take(const std::string& diskPath, Kind kind, int waitMs) {
    Release();
    // A book reached through a symbolic link is held where it is.
    const int fd = ::open(diskPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const int operation = (kind == Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    constexpr int kStepMs = 10;
    for (int waited = 0;; waited += kStepMs) {
        if (::flock(fd, operation) == 0) {
            fd_ = fd;
            return true;
        }
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= waitMs) break;
        const timespec step{0, kStepMs * 1000000L};
        ::nanosleep(&step, nullptr);
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return false;
}

void FileUse::Release() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

}  // namespace fw::data
