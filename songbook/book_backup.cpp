#include "songbook/book_backup.h"

#include "platform/data/names/path_names.h"
#include "platform/data/names/temp_files.h"
#include "platform/data/snapshot/database_snapshot.h"
#include "platform/os/archive/archive.h"
#include "platform/text/clock.h"
#include "platform/text/codepage.h"
#include "platform/text/picture.h"
#include "platform/os/archive/archive_files.h"
#include "songbook/book_check.h"
#include "songbook/book_journal.h"
#include "songbook/book_on_disk.h"
#include "songbook/book_texts.h"

#include <algorithm>
#include <filesystem>
#include <sys/statvfs.h>
#include <unistd.h>
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

    // What a stopped backup left there goes first. The copies are made
    // beside the archive, where it is built too.
    fw::RemoveLeftoverTempFiles(dest, false);
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

BookResult RestoreBooks(std::string_view archivePath, std::string_view folder, const ReplaceQuestion& askReplace,
                        const fw::ExtractProgress& progress) {
    const BookOperation underWay;
    OpenArchive closing;
    std::vector<fw::ArchiveEntry> entries;
    if (fw::zOpenZipFile(archivePath) != 0 || fw::zListEntries(entries) != 0) return Failed(fw::zGetLastErrorAsText());
    const std::string disk = DiskPath(folder);
    std::error_code ec;
    if (!fs::is_directory(disk, ec)) return Failed("Folder not found: " + std::string(folder));

    // The book files of the archive, by book and format; any unsafe name refuses it all.
    struct Book {
        std::string name;
        std::vector<const fw::ArchiveEntry*> files;
        bool listings = false, discs = false;
    };
    std::map<std::string, Book> books;
    for (const fw::ArchiveEntry& e : entries) {
        if (!e.refusal.empty()) return Failed("The entry " + e.name + " is refused: " + e.refusal);
        if (e.folder || e.superseded || !IsBookFileName(e.baseName)) continue;
        const std::string name = BookNameOf(e.baseName);
        const auto listingsFormat = ListingsFormat(e.baseName);
        const bool older = listingsFormat ? *listingsFormat == BookFormat::Older
                                          : Folded(FileNameOf(e.baseName)).ends_with(Folded(DiscsExtension(BookFormat::Older)));
        Book& book = books[Folded(name) + (older ? "|older" : "|current")];
        book.name = name;
        book.files.push_back(&e);
        (listingsFormat ? book.listings : book.discs) = true;
    }
    if (books.empty()) return Failed(std::string(text::kNoBooksInBackup));
    // A book is its two files: a restore takes the pair or nothing.
    std::uint64_t declared = 0;
    for (const auto& [key, book] : books) {
        if (!book.listings || !book.discs)
            return Failed(std::string(text::kHalfBookInBackup) + book.name + ": " + book.files.front()->name);
        for (const fw::ArchiveEntry* e : book.files) declared += e->size;
    }
    if (declared > kMaxRestoreBytes)
        return Failed(std::string(text::kBackupTooLarge) + std::to_string(declared) + " bytes");
    struct statvfs space {};
    if (::statvfs(disk.c_str(), &space) == 0 &&
        declared + kRestoreSpareBytes > static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize)
        return Failed("Not enough free space in " + std::string(folder) + " for " + std::to_string(declared) + " bytes");

    // A book already in the folder is replaced only when the user says so,
    // and never while any process has it open.
    std::vector<std::int64_t> chosen;
    BookHold hold;
    std::vector<std::string> held;
    std::vector<const Book*> asked;
    for (const auto& [key, book] : books) {
        bool present = false;
        for (const fw::ArchiveEntry* e : book.files) {
            const std::string there = fw::ResolveNativePath(JoinPath(disk, fw::AnsiToUtf8(e->baseName)));
            present = present || fs::exists(fs::symlink_status(there, ec));
            held.push_back(there);
        }
        if (present) asked.push_back(&book);
    }
    if (!hold.Take(held)) return {BookStatus::InUse, std::string(text::kBookInUse), {}, {}};
    for (const auto& [key, book] : books) {
        const bool present = std::find(asked.begin(), asked.end(), &book) != asked.end();
        if (present && !(askReplace && askReplace(book.name))) continue;
        for (const fw::ArchiveEntry* e : book.files) chosen.push_back(e->index);
    }
    if (chosen.empty()) return {BookStatus::Declined, {}, {}, {}};

    fw::StagedExtraction staged;
    if (fw::zStageEntries(folder, chosen, staged, progress) != 0) return Failed(fw::zGetLastErrorAsText());
    // Each file must be a sound book file of its name before anything changes.
    std::string error;
    for (const fw::StagedFile& file : staged.Files())
        if (!CheckBookFile(DiskPath(file.tempPath), FileNameOf(file.finalPath), error)) return Failed(error);

    std::string restored;
    std::vector<JournalStep> steps;
    for (const fw::StagedFile& file : staged.Files()) {
        restored += (restored.empty() ? "" : ", ") + FileNameOf(file.finalPath);
        steps.push_back({JournalStep::Place, DiskPath(file.tempPath), DiskPath(file.finalPath),
                         AsideName(disk)});
    }
    for (const JournalStep& s : std::vector<JournalStep>(steps)) steps.push_back({JournalStep::Remove, s.aside, {}, {}});
    const std::vector<std::string> temps = staged.Release();
    const JournalResult r = RunJournaled(steps);
    if (!r.done) {
        for (const std::string& temp : temps) ::unlink(temp.c_str());
        return Failed(r.error);
    }
    return Done(text::kRestored, restored);
}

}  // namespace songbook
