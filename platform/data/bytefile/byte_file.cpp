#include "platform/data/bytefile/byte_file.h"

#include "platform/data/names/file_errors.h"
#include "platform/data/names/plain_files.h"
#include "platform/data/names/path_names.h"
#include "platform/runtime/error_state.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fw {
namespace {

// Writes all of `length` bytes at `offset`, or at the end when `append`; 0 or an errno.
int WriteAll(int fd, const char* data, std::size_t length, std::uint64_t offset, bool append) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = append ? write(fd, data + done, length - done)
                                 : pwrite(fd, data + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}
}  // namespace

ByteFile::ByteFile(const RecordDecl& decl, void* record) : record_(record), size_(decl.size) {}

ByteFile::~ByteFile() {
    if (IsOpen()) close(fd_);
}

bool ByteFile::CheckOpen() {
    if (IsOpen()) return true;
    SetError(NotOpenErr);
    return false;
}

bool ByteFile::CheckLength(std::size_t length) {
    if (length <= size_) return true;
    SetFileError(FileSystemErr, "", "Length " + std::to_string(length) + " is beyond the record of " +
                                        std::to_string(size_) + " bytes");
    return false;
}

void ByteFile::Create() {
    if (IsOpen()) return SetError(IsOpenErr);
    CreateEmptyFile(name);
}

void ByteFile::Open(int mode) {
    if (IsOpen()) return SetError(IsOpenErr);
    if (BlankFileName(name)) return SetError(BadKeyErr);
    const std::string native = ResolvePath(name);
    readOnly_ = (mode & 0x0F) == 0;
    const int fd = open(native.c_str(), (readOnly_ ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (fd < 0) return SetSystemError(errno, native);
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return SetError(NoAccessErr);
    }
    fd_ = fd;
    std::error_code ec;
    path_ = std::filesystem::absolute(native, ec).lexically_normal().string();
    bytes_ = static_cast<std::uint64_t>(st.st_size);
    atEnd_ = st.st_size == 0;
    written_ = false;
    ClearError();
}

void ByteFile::Close() {
    if (!IsOpen()) return ClearError();
    // What was written must be on disk before the file counts as closed well.
    const int syncErr = written_ && fsync(fd_) != 0 ? errno : 0;
    const int closeErr = close(fd_) != 0 ? errno : 0;
    fd_ = -1;
    if (syncErr || closeErr) return SetSystemError(syncErr ? syncErr : closeErr, path_);
    ClearError();
}

void ByteFile::Get(std::uint64_t offset, std::size_t length) {
    if (!CheckOpen() || !CheckLength(length)) return;
    char* buf = static_cast<char*>(record_);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = pread(fd_, buf + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            bytes_ = done;
            return SetSystemError(err, path_);
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    std::memset(buf + done, 0, length - done);
    bytes_ = done;
    struct stat st;
    const std::uint64_t size = fstat(fd_, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : offset + done;
    atEnd_ = offset + done >= size;
    if (done == 0 && length > 0) return SetError(RecordNotAvailable);
    ClearError();
}

void ByteFile::Put(std::uint64_t offset, std::size_t length) {
    if (!CheckOpen() || !CheckLength(length)) return;
    if (readOnly_) return SetError(NoAccessErr);
    struct stat st;
    if (fstat(fd_, &st) == 0 && offset > static_cast<std::uint64_t>(st.st_size))
        return SetError(RecordNotAvailable);  // would leave a hole
    if (const int err = WriteAll(fd_, static_cast<const char*>(record_), length, offset, false)) {
        return SetSystemError(err, path_);
    }
    written_ = true;
    bytes_ = length;
    ClearError();
}

void ByteFile::Add(std::size_t length) {
    if (!CheckOpen() || !CheckLength(length)) return;
    if (readOnly_) return SetError(NoAccessErr);
    if (lseek(fd_, 0, SEEK_END) < 0) return SetSystemError(errno, path_);
    if (const int err = WriteAll(fd_, static_cast<const char*>(record_), length, 0, true)) {
        return SetSystemError(err, path_);
    }
    written_ = true;
    bytes_ = length;
    ClearError();
}

std::string ByteFile::Name() const { return ProgramPathText(IsOpen() ? path_ : ResolvePath(name)); }

void CREATE(ByteFile& f) { f.Create(); }
void OPEN(ByteFile& f, int mode) { f.Open(mode); }
void CLOSE(ByteFile& f) { f.Close(); }
void GET(ByteFile& f, std::uint64_t offset, std::size_t length) { f.Get(offset, length); }
void PUT(ByteFile& f, std::uint64_t offset, std::size_t length) { f.Put(offset, length); }
void ADD(ByteFile& f, std::size_t length) { f.Add(length); }
std::uint64_t BYTES(const ByteFile& f) { return f.Bytes(); }
bool ENDOFFILE(const ByteFile& f) { return f.AtEnd(); }
std::string NAME(const ByteFile& f) { return f.Name(); }

}  // namespace fw
