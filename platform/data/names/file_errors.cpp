#include "platform/data/names/file_errors.h"

#include "platform/runtime/error_state.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace fw {
namespace {
bool ParentExists(const std::string& path) {
    std::string parent = path;
    while (!parent.empty() && parent.back() == '/') parent.pop_back();
    const auto slash = parent.rfind('/');
    if (slash == std::string::npos) return true;  // the current folder
    parent.resize(slash == 0 ? 1 : slash);
    struct stat st;
    return stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
}  // namespace

int SystemErrorCode(int err, const std::string& nativePath) {
    switch (err) {
    case 0: return NoError;
    case ENOENT: return ParentExists(nativePath) ? NoFileErr : PathErr;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return PathErr;
    case EACCES:
    case EPERM:
    case EROFS:
    case EEXIST:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
    case ENOTEMPTY: return NoAccessErr;
    case EMFILE:
    case ENFILE: return 4;
    case ENOMEM: return 8;
    default: return FileSystemErr;
    }
}

void SetSystemError(int err, const std::string& nativePath) {
    const int code = SystemErrorCode(err, nativePath);
    if (code == FileSystemErr) SetFileError(code, std::to_string(err), std::strerror(err));
    else SetError(code);
}

}  // namespace fw
