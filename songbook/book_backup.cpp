#include "songbook/book_backup.h"

#include "platform/data/names/path_names.h"
#include "platform/data/snapshot/database_snapshot.h"
#include "platform/os/archive/archive.h"
#include "platform/text/clock.h"
#include "platform/text/codepage.h"
#include "platform/text/picture.h"
#include "songbook/book_on_disk.h"
#include "songbook/book_texts.h"

#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

namespace songbook {
namespace {

namespace fs = std::filesystem;

// The archive layer's deflate level for backups.
constexpr int kBackupLevel = 3;

BookResult Done(std::string_view message, std::string detail = {}, std::string path = {}) {
    return {BookStatus::Done, std::string(message), std::move(detail), std::move(path)};
}

BookResult Failed(std::string message, std::string detail = {}) {
    return {BookStatus::Failed, std::move(message), std::move(detail), {}};
}

BookResult BackupError(const std::string& reason) { return Failed(std::string(text::kBackupErrorPrefix) + reason); }

// The current archive, closed on every path out.
struct OpenArchive {
    ~OpenArchive() { fw::zCloseZipFile(); }
};

// The file to store for one book file: a checked copy of an SQLite book; a
// book of the earlier program's format, which nothing here writes, as it is.
bool FileToStore(const std::string& diskPath, const std::string& tempFolder, fw::DatabaseSnapshot& snapshot,
                 std::string& stored, std::string& error) {
    switch (FileKindOf(diskPath)) {
    case BookFileKind::Sqlite:
        if (!fw::SnapshotDatabase(diskPath, tempFolder, snapshot, error)) return false;
        stored = snapshot.Path().string();
        return true;
    case BookFileKind::TopSpeed:
        stored = diskPath;
        return true;
    case BookFileKind::Other:
        break;
    }
    error = std::string(text::kNotSongBookFile) + ProgramPath(diskPath);
    return false;
}

// A file taken from an archive is sound when it is a book file: an SQLite
// database that passes its check, or a file of the earlier program's format.
bool CheckRestored(const fw::StagedFile& file, std::string& error) {
    const std::string disk = DiskPath(file.tempPath);
    switch (FileKindOf(disk)) {
    case BookFileKind::Sqlite: {
        std::string reason;
        if (fw::CheckDatabase(disk, reason)) return true;
        error = "The file " + file.entryName + " in the backup is damaged: " + reason;
        return false;
    }
    case BookFileKind::TopSpeed:
        return true;
    case BookFileKind::Other:
        break;
    }
    error = std::string(text::kNotSongBookFile) + file.entryName;
    return false;
}

std::string Folded(std::string_view s) { return fw::UpperText(s); }

}  // namespace

std::string BackupComment() {
    return std::string(text::kBackupComment) + fw::FORMAT(static_cast<double>(fw::TODAY()), "@D1");
}

std::string BackupArchivePath(std::string_view listingsPath, std::string_view destFolder) {
    return JoinPath(destFolder, BookNameOf(listingsPath) + ".bkp");
}

BookResult BackupBook(std::string_view listingsPath, std::string_view destFolder) {
    BookOnDisk book;
    std::string error;
    if (!FindBook(listingsPath, book, error)) return BackupError(error);
    if (!book.hasDiscs) return BackupError("The discs file is missing: " + ProgramPath(book.discs));
    const std::string dest = DiskPath(destFolder);
    std::error_code ec;
    if (!fs::is_directory(dest, ec)) return BackupError("Folder not found: " + std::string(destFolder));

    // The copies are made beside the archive, where it is built too.
    fw::DatabaseSnapshot listingsCopy, discsCopy;
    std::string listingsStored, discsStored;
    if (!FileToStore(book.listings, dest, listingsCopy, listingsStored, error) ||
        !FileToStore(book.discs, dest, discsCopy, discsStored, error))
        return BackupError(error);

    const std::string archive = JoinPath(destFolder, fw::Utf8ToAnsi(book.name) + ".bkp");
    OpenArchive closing;
    const bool exists = fs::exists(DiskPath(archive), ec);
    short status = exists ? fw::zOpenZipFile(archive) : fw::zCreateNewZip(archive);
    if (status == 0) status = fw::zOrderFile(ProgramPath(listingsStored), ProgramPath(book.listingsName), 0);
    if (status == 0) status = fw::zOrderFile(ProgramPath(discsStored), ProgramPath(book.discsName), 0);
    if (status == 0) status = fw::zCompressFiles("", "", kBackupLevel, 0, 0, BackupComment(), 0);
    if (status != 0) return BackupError(fw::zGetLastErrorAsText());
    return Done(text::kBackupCreated, {}, archive);
}

BookResult RestoreBooks(std::string_view archivePath, std::string_view folder, const ReplaceQuestion& askReplace) {
    OpenArchive closing;
    std::vector<fw::ArchiveEntry> entries;
    if (fw::zOpenZipFile(archivePath) != 0 || fw::zListEntries(entries) != 0) return Failed(fw::zGetLastErrorAsText());
    const std::string disk = DiskPath(folder);
    std::error_code ec;
    if (!fs::is_directory(disk, ec)) return Failed("Folder not found: " + std::string(folder));

    // The book files of the archive, by book; any unsafe name refuses it all.
    std::map<std::string, std::vector<const fw::ArchiveEntry*>> books;
    std::map<std::string, std::string> bookNames;
    for (const fw::ArchiveEntry& e : entries) {
        if (!e.refusal.empty()) return Failed("The entry " + e.name + " is refused: " + e.refusal);
        if (e.folder || e.superseded || !IsBookFileName(e.baseName)) continue;
        const std::string name = BookNameOf(e.baseName);
        books[Folded(name)].push_back(&e);
        bookNames.emplace(Folded(name), name);
    }
    if (books.empty()) return Failed(std::string(text::kNoBooksInBackup));

    // A book already in the folder is replaced only when the user says so.
    std::vector<std::int64_t> chosen;
    for (const auto& [key, files] : books) {
        bool present = false;
        for (const fw::ArchiveEntry* e : files) {
            const std::string there = fw::ResolveNativePath(JoinPath(disk, fw::AnsiToUtf8(e->baseName)));
            if (HasJournalBeside(there)) return {BookStatus::InUse, std::string(text::kBookInUse), {}, {}};
            present = present || fs::exists(fs::symlink_status(there, ec));
        }
        if (present && !(askReplace && askReplace(bookNames[key]))) continue;
        for (const fw::ArchiveEntry* e : files) chosen.push_back(e->index);
    }
    if (chosen.empty()) return {BookStatus::Declined, {}, {}, {}};

    fw::StagedExtraction staged;
    if (fw::zStageEntries(folder, chosen, staged) != 0) return Failed(fw::zGetLastErrorAsText());
    std::string error;
    for (const fw::StagedFile& file : staged.Files())
        if (!CheckRestored(file, error)) return Failed(error);
    std::string restored;
    for (const fw::StagedFile& file : staged.Files())
        restored += (restored.empty() ? "" : ", ") + FileNameOf(file.finalPath);
    if (staged.Commit(true) != 0) return Failed(fw::zGetLastErrorAsText());
    return Done(text::kRestored, restored);
}

}  // namespace songbook
