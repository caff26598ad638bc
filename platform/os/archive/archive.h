#pragma once
// Zip archives (song-book backups), in the calls the program makes.
//
// Each thread has one current archive, chosen by zCreateNewZip or
// zOpenZipFile. Every call returns 0 on success; after a failure
// zGetLastErrorAsText() gives the reason. Paths are the program's
// Windows-1252 texts (either separator; names found case-insensitively);
// entry names are stored as the caller gives them (as UTF-8 when they hold
// letters beyond ASCII, as the zip format defines) and reported back in
// Windows-1252.
//
// Nothing is written until zCompressFiles, which builds the new archive in
// a temporary file beside it, checks it, and only then puts it in place: a
// failed backup leaves an earlier archive as it was. Extraction writes
// temporary files in the destination folder and replaces nothing until the
// caller commits them (StagedExtraction), so a bad archive leaves the
// folder as it was. Which entries to extract and whether to replace a file
// is the caller's decision.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Status codes (0 is success).
enum ArchiveStatus : short {
    ArchiveOk = 0,
    ArchiveNotOpen = 1,        // no current archive
    ArchiveNotFound = 2,       // the archive or a file to store is missing
    ArchiveExists = 3,         // zCreateNewZip on an existing name; a file is in the way
    ArchiveNotZip = 4,         // not a zip archive, or truncated
    ArchiveReadError = 5,      // a damaged entry, or a file that cannot be read
    ArchiveWriteError = 6,     // the archive or an extracted file could not be written
    ArchiveBadName = 7,        // an entry name that is never extracted
    ArchiveNothingQueued = 8,  // zCompressFiles with no file ordered
};

// Starts a new archive at `archivePath`, which must not exist yet.
short zCreateNewZip(std::string_view archivePath);
// Makes an existing zip archive current, to add to it or to extract from it.
short zOpenZipFile(std::string_view archivePath);
// Queues the file `diskPath` to be stored under `storedName` by the next
// zCompressFiles. `flags` is not used.
short zOrderFile(std::string_view diskPath, std::string_view storedName, int flags);
// Stores the queued files in the current archive and sets its comment. An
// entry whose base name is that of a queued file (letter case ignored) is
// replaced, so backing up the same files twice leaves one copy of each.
// `level` 1..9 is the deflate level (others: the default); the texts and
// numbers not named are not used.
short zCompressFiles(std::string_view, std::string_view, int level, int, int,
                     std::string_view comment, int);
// Extracts every file entry of the current archive into `destFolder` under
// its base name; where several entries have one base name, the last one
// (the latest added) is taken. Any refused name, damaged entry or failed
// write leaves the folder as it was. `replace` 1 replaces existing files of
// those names; 0 refuses to when one exists.
short zExtractAll(std::string_view destFolder, std::string_view, int replace, int, int, int, int);
// Ends the current archive; files queued but not compressed are dropped.
short zCloseZipFile();
// The text of this thread's last failure, empty after a success.
std::string zGetLastErrorAsText();

// One entry of an archive.
struct ArchiveEntry {
    std::int64_t index = 0;   // position in the archive
    std::string name;         // as stored, in Windows-1252
    std::string baseName;     // the file name it extracts as
    bool folder = false;      // a folder entry: nothing to extract
    std::string refusal;      // not empty: never extracted, and why
    bool superseded = false;  // a later entry has the same base name
    std::uint64_t size = 0;   // bytes when extracted
};

// The entries of the current archive, in archive order.
short zListEntries(std::vector<ArchiveEntry>& entries);

// One extracted file waiting to be put in place.
struct StagedFile {
    std::string entryName;  // as stored, Windows-1252
    std::string tempPath;   // the extracted bytes, in the destination folder
    std::string finalPath;  // the file Commit creates or replaces
};

// Extracted files held in temporary files until committed. Destroying it
// uncommitted removes them.
class StagedExtraction {
public:
    StagedExtraction() = default;
    StagedExtraction(const StagedExtraction&) = delete;
    StagedExtraction& operator=(const StagedExtraction&) = delete;
    StagedExtraction(StagedExtraction&& other) noexcept;
    StagedExtraction& operator=(StagedExtraction&& other) noexcept;
    ~StagedExtraction();

    const std::vector<StagedFile>& Files() const { return files_; }

    // Puts every file in place, or none: when one cannot be (a folder in
    // its way, an existing file and `replaceExisting` false, a failed
    // rename), those already placed are undone and the old files restored.
    // Sets the thread's last error text on failure.
    short Commit(bool replaceExisting);
    // Removes the temporary files.
    void Discard();
    // Hands the temporary files (paths on disk, in the order of Files()) to
    // the caller, who places or removes them; nothing is removed here then.
    std::vector<std::string> Release();

private:
    friend short zStageEntries(std::string_view, const std::vector<std::int64_t>&, StagedExtraction&,
                               const std::function<void(std::uint64_t, std::uint64_t)>&);
    std::vector<StagedFile> files_;
    std::vector<std::string> tempDisk_, finalDisk_;  // the same files as paths on disk
    std::string folderDisk_;
};

// Told the bytes extracted so far and the total the entries declare.
using ExtractProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Extracts the entries at `indexes` of the current archive into temporary
// files in `destFolder`, each to be placed under its base name. Refused
// names, folder entries, two entries of one base name, an entry that holds
// more than it declares, damaged data or a failed write give an error and
// leave nothing behind.
short zStageEntries(std::string_view destFolder, const std::vector<std::int64_t>& indexes,
                    StagedExtraction& staged, const ExtractProgress& progress = {});

}  // namespace fw
