// Listing archive entries and extracting them through temporary files.
#include "platform/os/archive/archive.h"

#include "platform/data/names/path_names.h"
#include "platform/os/archive/archive_files.h"
#include "platform/os/archive/archive_names.h"
#include "platform/os/archive/archive_state.h"
#include "platform/text/codepage.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace fw {

using namespace archive_state;
namespace files = archive_files;

namespace {

std::string JoinDisk(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Writes one entry into the open descriptor, never more bytes than the
// entry declares; a failure is recorded. `done` counts the bytes written.
short ExtractInto(zip_t* archive, zip_uint64_t index, const std::string& entryName, int fd,
                  const std::string& archiveName, std::uint64_t& done, const ExtractProgress& progress,
                  std::uint64_t total) {
    zip_stat_t st;
    if (zip_stat_index(archive, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        return Fail(ArchiveReadError, "The entry " + entryName + " of " + archiveName + " does not say its size");
    const std::uint64_t declared = st.size;
    std::uint64_t written = 0;
    zip_file_t* entry = zip_fopen_index(archive, index, 0);
    if (!entry) {
        return Fail(ArchiveReadError, "The entry " + entryName + " of " + archiveName + " cannot be read: " + ZipErrorText(archive));
    }
    char buffer[65536];
    zip_int64_t n = 0;
    while ((n = zip_fread(entry, buffer, sizeof buffer)) > 0) {
        written += static_cast<std::uint64_t>(n);
        if (written > declared) {
            zip_fclose(entry);
            return Fail(ArchiveReadError, "The entry " + entryName + " of " + archiveName +
                                              " holds more than its declared " + std::to_string(declared) + " bytes");
        }
        for (zip_int64_t off = 0; off < n;) {
            const ssize_t w = ::write(fd, buffer + off, static_cast<size_t>(n - off));
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) {
                const int error = errno;
                zip_fclose(entry);
                return Fail(ArchiveWriteError, "Cannot write " + entryName + ": " + files::SystemErrorText(error));
            }
            off += w;
        }
        done += static_cast<std::uint64_t>(n);
        if (progress) progress(done, total);
    }
    // A CRC mismatch or damaged data shows as a failed read.
    if (n < 0) {
        const std::string reason = zip_error_strerror(zip_file_get_error(entry));
        zip_fclose(entry);
        return Fail(ArchiveReadError, "The entry " + entryName + " of " + archiveName + " is damaged: " + reason);
    }
    if (zip_fclose(entry) != 0) {
        return Fail(ArchiveReadError, "The entry " + entryName + " of " + archiveName + " is damaged");
    }
    if (::fsync(fd) != 0) {
        return Fail(ArchiveWriteError, "Cannot write " + entryName + ": " + files::SystemErrorText(errno));
    }
    return ArchiveOk;
}

}  // namespace

short zListEntries(std::vector<ArchiveEntry>& entries) {
    entries.clear();
    short status = ArchiveOk;
    zip_t* archive = OpenCurrentForReading(status);
    if (!archive) return status;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        ArchiveEntry e;
        e.index = i;
        e.name = EntryName(archive, static_cast<zip_uint64_t>(i));
        e.baseName = ArchiveBaseName(e.name);
        e.folder = IsArchiveFolderName(e.name);
        e.refusal = EntryRefusal(archive, static_cast<zip_uint64_t>(i));
        zip_stat_t st;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE))
            e.size = st.size;
        entries.push_back(std::move(e));
    }
    zip_discard(archive);
    // An entry is superseded by a later one that extracts to the same file.
    std::unordered_map<std::string, bool> later;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->folder || !it->refusal.empty() || it->baseName.empty()) continue;
        bool& seen = later[UpperText(it->baseName)];
        it->superseded = seen;
        seen = true;
    }
    return Succeed();
}

short zStageEntries(std::string_view destFolder, const std::vector<std::int64_t>& indexes, StagedExtraction& staged,
                    const ExtractProgress& progress) {
    staged.Discard();
    const std::string folder = files::DiskPath(destFolder);
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return Fail(ArchiveNotFound, "Folder not found: " + std::string(destFolder));
    short status = ArchiveOk;
    zip_t* archive = OpenCurrentForReading(status);
    if (!archive) return status;
    const std::string archiveName = Current().programPath;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    // Records the failure and leaves nothing behind.
    auto fail = [&](short failed, std::string text) {
        zip_discard(archive);
        staged.Discard();
        return Fail(failed, std::move(text));
    };

    staged.folderDisk_ = folder;
    std::uint64_t total = 0, done = 0;
    for (const std::int64_t index : indexes) {
        zip_stat_t st;
        if (index >= 0 && index < count && zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &st) == 0 &&
            (st.valid & ZIP_STAT_SIZE))
            total += st.size;
    }
    for (const std::int64_t index : indexes) {
        if (index < 0 || index >= count) {
            return fail(ArchiveBadName, "The archive " + archiveName + " has no entry " + std::to_string(index));
        }
        const std::string name = EntryName(archive, static_cast<zip_uint64_t>(index));
        const std::string refusal = EntryRefusal(archive, static_cast<zip_uint64_t>(index));
        if (!refusal.empty()) {
            return fail(ArchiveBadName, "The entry " + name + " is refused: " + refusal);
        }
        if (IsArchiveFolderName(name)) {
            return fail(ArchiveBadName, "The entry " + name + " is a folder");
        }
        const std::string base = ArchiveBaseName(name);
        for (const StagedFile& other : staged.files_)
            if (SameArchiveBaseName(ArchiveBaseName(other.entryName), base)) {
                return fail(ArchiveBadName, "The entries " + other.entryName + " and " + name + " both extract to " + base);
            }
        std::string temp;
        const int fd = files::CreateTempFile(folder, "extract", temp);
        if (fd < 0) {
            return fail(ArchiveWriteError, "Cannot write in " + std::string(destFolder) + ": " + files::SystemErrorText(errno));
        }
        // The file already there in any letter case is the one replaced.
        const std::string final = ResolveNativePath(JoinDisk(folder, AnsiToUtf8(base)));
        staged.files_.push_back({name, files::ProgramPath(temp), files::ProgramPath(final)});
        staged.tempDisk_.push_back(temp);
        staged.finalDisk_.push_back(final);
        status = ExtractInto(archive, static_cast<zip_uint64_t>(index), name, fd, archiveName, done, progress, total);
        ::close(fd);
        if (status != ArchiveOk) return fail(status, Current().lastError);
    }
    zip_discard(archive);
    return Succeed();
}

StagedExtraction::StagedExtraction(StagedExtraction&& other) noexcept { *this = std::move(other); }

StagedExtraction& StagedExtraction::operator=(StagedExtraction&& other) noexcept {
    if (this != &other) {
        Discard();
        files_ = std::move(other.files_);
        tempDisk_ = std::move(other.tempDisk_);
        finalDisk_ = std::move(other.finalDisk_);
        folderDisk_ = std::move(other.folderDisk_);
        other.files_.clear();
        other.tempDisk_.clear();
        other.finalDisk_.clear();
    }
    return *this;
}

StagedExtraction::~StagedExtraction() { Discard(); }

std::vector<std::string> StagedExtraction::Release() {
    std::vector<std::string> temps = std::move(tempDisk_);
    files_.clear();
    tempDisk_.clear();
    finalDisk_.clear();
    return temps;
}

void StagedExtraction::Discard() {
    for (const std::string& temp : tempDisk_) ::unlink(temp.c_str());
    files_.clear();
    tempDisk_.clear();
    finalDisk_.clear();
}

short StagedExtraction::Commit(bool replaceExisting) {
    // First every target is checked, so that a refusal changes nothing.
    std::vector<bool> exists(files_.size(), false);
    for (size_t i = 0; i < files_.size(); ++i) {
        struct stat st;
        if (::lstat(finalDisk_[i].c_str(), &st) != 0) continue;
        if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
            return Fail(ArchiveExists, "Something other than a file is in the way: " + files_[i].finalPath);
        if (!replaceExisting) return Fail(ArchiveExists, "The file already exists: " + files_[i].finalPath);
        exists[i] = true;
    }

    // Each old file is moved aside, the new one put in its place; on any
    // failure the steps done so far are undone in reverse order.
    std::vector<std::string> aside(files_.size());
    size_t placed = 0;
    int error = 0;
    std::string failedPath;
    for (; placed < files_.size(); ++placed) {
        const std::string& final = finalDisk_[placed];
        if (exists[placed]) {
            aside[placed] = files::UnusedName(folderDisk_, "replaced");
            if (!files::RenameNoReplace(final, aside[placed])) {
                error = errno;
                aside[placed].clear();
                failedPath = files_[placed].finalPath;
                break;
            }
        }
        if (!files::RenameNoReplace(tempDisk_[placed], final)) {
            error = errno;
            failedPath = files_[placed].finalPath;
            if (!aside[placed].empty() && ::rename(aside[placed].c_str(), final.c_str()) == 0) aside[placed].clear();
            break;
        }
    }
    if (placed < files_.size()) {
        std::string text = "Cannot write " + failedPath + ": " + files::SystemErrorText(error);
        if (!aside[placed].empty()) text += "; the earlier file is kept as " + files::ProgramPath(aside[placed]);
        for (size_t i = placed; i-- > 0;) {
            ::rename(finalDisk_[i].c_str(), tempDisk_[i].c_str());
            if (!aside[i].empty() && ::rename(aside[i].c_str(), finalDisk_[i].c_str()) != 0)
                text += "; the earlier file is kept as " + files::ProgramPath(aside[i]);
        }
        files::SyncFolder(folderDisk_);
        return Fail(ArchiveWriteError, text);
    }
    for (const std::string& old : aside)
        if (!old.empty()) ::unlink(old.c_str());
    files::SyncFolder(folderDisk_);
    files_.clear();
    tempDisk_.clear();
    finalDisk_.clear();
    return Succeed();
}

short zExtractAll(std::string_view destFolder, std::string_view, int replace, int, int, int, int) {
    std::vector<ArchiveEntry> entries;
    if (const short status = zListEntries(entries); status != ArchiveOk) return status;
    std::vector<std::int64_t> chosen;
    for (const ArchiveEntry& e : entries) {
        if (!e.refusal.empty()) return Fail(ArchiveBadName, "The entry " + e.name + " is refused: " + e.refusal);
        if (!e.folder && !e.superseded) chosen.push_back(e.index);
    }
    if (chosen.empty()) return Fail(ArchiveNotFound, "The archive " + Current().programPath + " holds no files");
    StagedExtraction staged;
    if (const short status = zStageEntries(destFolder, chosen, staged); status != ArchiveOk) return status;
    return staged.Commit(replace == 1);
}

}  // namespace fw
