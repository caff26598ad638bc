#include "platform/data/names/plain_files.h"

#include "platform/data/names/file_errors.h"
#include "platform/data/names/path_names.h"
#include "platform/runtime/error_state.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace fw {

bool BlankFileName(const std::string& name) { return name.find_first_not_of(' ') == std::string::npos; }

void CreateEmptyFile(const std::string& name) {
    if (BlankFileName(name)) return SetError(BadKeyErr);
    const std::string native = ResolvePath(name);
    const int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return SetSystemError(errno, native);
    close(fd);
    ClearError();
}

bool WriteAllBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace fw
