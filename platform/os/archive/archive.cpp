// Choosing the current archive and writing backups into it.
#include "platform/os/archive/archive.h"

#include "platform/os/archive/archive_files.h"
#include "platform/os/archive/archive_names.h"
#include "platform/os/archive/archive_state.h"
#include "platform/text/codepage.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace fw {

using namespace archive_state;
namespace files = archive_files;

namespace {

void Reset(State& s) {
    s.mode = State::Mode::None;
    s.programPath.clear();
    s.diskPath.clear();
    s.queue.clear();
}

// Checks the archive written to `tempPath`: every queued file is there
// with its full length and intact data (libzip checks each entry's CRC
// as it is read), and the comment is the one given.
short Verify(const std::string& tempPath, const std::vector<QueuedFile>& queue, std::string_view comment,
             const std::string& archiveName) {
    int code = 0;
    zip_t* archive = zip_open(tempPath.c_str(), ZIP_RDONLY, &code);
    if (!archive)
        return Fail(ArchiveWriteError, "The archive " + archiveName + " was not written correctly: " + ZipErrorText(code));
    auto fail = [&](const std::string& what) {
        zip_discard(archive);
        return Fail(ArchiveWriteError, "The archive " + archiveName + " was not written correctly: " + what);
    };
    for (const QueuedFile& file : queue) {
        const std::string name = AnsiToUtf8(file.storedName);
        const zip_int64_t index = zip_name_locate(archive, name.c_str(), ZIP_FL_ENC_RAW);
        if (index < 0) continue;  // replaced by a later queued file of the same base name
        zip_stat_t st;
        struct stat source;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
            ::stat(file.diskPath.c_str(), &source) != 0 ||
            st.size != static_cast<zip_uint64_t>(source.st_size))
            return fail(file.storedName + " is incomplete");
        zip_file_t* entry = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
        if (!entry) return fail(file.storedName + ": " + ZipErrorText(archive));
        char buffer[65536];
        zip_uint64_t total = 0;
        zip_int64_t n = 0;
        while ((n = zip_fread(entry, buffer, sizeof buffer)) > 0) total += static_cast<zip_uint64_t>(n);
        const std::string entryError = n < 0 ? zip_error_strerror(zip_file_get_error(entry)) : "";
        zip_fclose(entry);
        if (n < 0) return fail(file.storedName + ": " + entryError);
        if (total != st.size) return fail(file.storedName + " is incomplete");
    }
    int length = 0;
    const char* stored = zip_get_archive_comment(archive, &length, ZIP_FL_ENC_RAW);
    if (std::string_view(stored ? stored : "", stored ? static_cast<size_t>(length) : 0) != comment) return fail("the comment differs");
    zip_discard(archive);
    return ArchiveOk;
}

// Adds the queued files and the comment to the archive at `tempPath`
// and writes it there.
short Build(const std::string& tempPath, bool create, const std::vector<QueuedFile>& queue, int level,
            std::string_view comment, const std::string& archiveName) {
    int code = 0;
    zip_t* archive = zip_open(tempPath.c_str(), create ? ZIP_CREATE | ZIP_EXCL : 0, &code);
    if (!archive) return Fail(ArchiveNotZip, "Cannot read the archive " + archiveName + ": " + ZipErrorText(code));
    auto fail = [&](short status, const std::string& what) {
        zip_discard(archive);
        return Fail(status, "Cannot write the archive " + archiveName + ": " + what);
    };
    for (const QueuedFile& file : queue) {
        // Entries that would extract to the same file are replaced.
        const std::string base = ArchiveBaseName(file.storedName);
        const zip_int64_t count = zip_get_num_entries(archive, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            const std::string name = EntryName(archive, static_cast<zip_uint64_t>(i));
            if (!name.empty() && SameArchiveBaseName(ArchiveBaseName(name), base))
                zip_delete(archive, static_cast<zip_uint64_t>(i));
        }
        zip_source_t* source = zip_source_file(archive, file.diskPath.c_str(), 0, -1);
        if (!source) return fail(ArchiveReadError, file.programPath + ": " + ZipErrorText(archive));
        const std::string name = AnsiToUtf8(file.storedName);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            return fail(ArchiveWriteError, file.storedName + ": " + ZipErrorText(archive));
        }
        const zip_uint32_t deflateLevel = level >= 1 && level <= 9 ? static_cast<zip_uint32_t>(level) : 0;
        if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, deflateLevel) != 0)
            return fail(ArchiveWriteError, ZipErrorText(archive));
    }
    if (comment.size() > 0xFFFF) return fail(ArchiveWriteError, "the comment is too long");
    if (zip_set_archive_comment(archive, comment.empty() ? nullptr : comment.data(),
                                static_cast<zip_uint16_t>(comment.size())) != 0)
        return fail(ArchiveWriteError, ZipErrorText(archive));
    // libzip reads the queued files now and writes the whole archive.
    if (zip_close(archive) != 0) return fail(ArchiveWriteError, ZipErrorText(archive));
    return ArchiveOk;
}

}  // namespace

short zCreateNewZip(std::string_view archivePath) {
    State& s = Current();
    Reset(s);
    const std::string disk = files::DiskPath(archivePath);
    struct stat st;
    if (::lstat(disk.c_str(), &st) == 0)
        return Fail(ArchiveExists, "The archive already exists: " + std::string(archivePath));
    const std::string folder = files::FolderOf(disk);
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return Fail(ArchiveNotFound, "Folder not found: " + files::ProgramPath(folder));
    s.mode = State::Mode::New;
    s.programPath = archivePath;
    s.diskPath = disk;
    return Succeed();
}

short zOpenZipFile(std::string_view archivePath) {
    State& s = Current();
    Reset(s);
    const std::string disk = files::DiskPath(archivePath);
    const std::string name(archivePath);
    struct stat st;
    if (::stat(disk.c_str(), &st) != 0) return Fail(ArchiveNotFound, "Archive not found: " + name);
    if (!S_ISREG(st.st_mode)) return Fail(ArchiveNotZip, "Not a zip archive: " + name);
    // libzip takes an empty file for an empty archive; here it is a damaged one.
    if (st.st_size == 0) return Fail(ArchiveNotZip, "Cannot read the archive " + name + ": " + ZipErrorText(ZIP_ER_NOZIP));
    int code = 0;
    zip_t* archive = zip_open(disk.c_str(), ZIP_RDONLY, &code);
    if (!archive) return Fail(ArchiveNotZip, "Cannot read the archive " + name + ": " + ZipErrorText(code));
    zip_discard(archive);
    s.mode = State::Mode::Existing;
    s.programPath = name;
    s.diskPath = disk;
    return Succeed();
}

short zOrderFile(std::string_view diskPath, std::string_view storedName, int /*flags*/) {
    State& s = Current();
    if (s.mode == State::Mode::None) return Fail(ArchiveNotOpen, "No archive is open");
    const std::string disk = files::DiskPath(diskPath);
    struct stat st;
    if (::stat(disk.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return Fail(ArchiveNotFound, "File not found: " + std::string(diskPath));
    if (storedName.empty() || IsArchiveFolderName(storedName))
        return Fail(ArchiveBadName, "No file name to store " + std::string(diskPath) + " under");
    s.queue.push_back({disk, std::string(diskPath), std::string(storedName)});
    return Succeed();
}

short zCompressFiles(std::string_view, std::string_view, int level, int, int, std::string_view comment, int) {
    State& s = Current();
    if (s.mode == State::Mode::None) return Fail(ArchiveNotOpen, "No archive is open");
    if (s.queue.empty()) return Fail(ArchiveNothingQueued, "No files were given to store");
    const std::vector<QueuedFile> queue = std::move(s.queue);
    s.queue.clear();
    for (const QueuedFile& file : queue) {
        struct stat st;
        if (::stat(file.diskPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return Fail(ArchiveNotFound, "File not found: " + file.programPath);
    }

    // The new archive is built in a temporary file beside the old one, from
    // a copy of it, and replaces it only once it has been read back intact.
    const std::string folder = files::FolderOf(s.diskPath);
    const bool create = s.mode == State::Mode::New;
    std::string temp;
    if (create) {
        temp = files::UnusedName(folder, "archive");  // libzip creates it
    } else {
        const int fd = files::CreateTempFile(folder, "archive", temp);
        if (fd < 0)
            return Fail(ArchiveWriteError, "Cannot write the archive " + s.programPath + ": " + files::SystemErrorText(errno));
        struct stat st = {};
        const bool copied = ::stat(s.diskPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                            files::CopyInto(s.diskPath, fd) && ::fchmod(fd, st.st_mode & 07777) == 0;
        const int error = S_ISREG(st.st_mode) ? errno : EISDIR;
        ::close(fd);
        if (!copied) {
            ::unlink(temp.c_str());
            return Fail(ArchiveNotZip, "Cannot read the archive " + s.programPath + ": " + files::SystemErrorText(error));
        }
    }

    short status = Build(temp, create, queue, level, comment, s.programPath);
    if (status == ArchiveOk) status = Verify(temp, queue, comment, s.programPath);
    if (status == ArchiveOk && !files::SyncFile(temp))
        status = Fail(ArchiveWriteError, "Cannot write the archive " + s.programPath + ": " + files::SystemErrorText(errno));
    if (status == ArchiveOk) {
        const bool placed = s.mode == State::Mode::Existing ? ::rename(temp.c_str(), s.diskPath.c_str()) == 0
                                                            : files::RenameNoReplace(temp, s.diskPath);
        if (!placed)
            status = Fail(ArchiveWriteError, "Cannot write the archive " + s.programPath + ": " + files::SystemErrorText(errno));
    }
    if (status != ArchiveOk) {
        ::unlink(temp.c_str());
        return status;
    }
    files::SyncFolder(folder);
    s.mode = State::Mode::Existing;
    return Succeed();
}

short zCloseZipFile() {
    State& s = Current();
    if (s.mode == State::Mode::None) return Fail(ArchiveNotOpen, "No archive is open");
    Reset(s);
    return Succeed();
}

std::string zGetLastErrorAsText() { return Current().lastError; }

}  // namespace fw
