#include "songbook/book_files.h"

#include "platform/data/names/path_names.h"
#include "platform/os/archive/archive_files.h"
#include "platform/text/codepage.h"
#include "songbook/book_file_steps.h"
#include "songbook/book_on_disk.h"
#include "songbook/book_texts.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace songbook {
namespace {

namespace fs = std::filesystem;

// The longest file name the file system takes, in bytes.
constexpr size_t kMaxFileNameBytes = 255;

BookResult Result(BookStatus status, std::string_view message, std::string detail = {}, std::string path = {}) {
    return {status, std::string(message), std::move(detail), std::move(path)};
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

std::string ClipName(std::string_view name) {
    const size_t end = name.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(name.substr(0, end + 1));
}

// A name in the folder is free for the book when no file has it (in any
// case), or the file that has it is one of the book's own.
bool NameFreeFor(const std::string& target, const BookOnDisk& book) {
    const std::string found = fw::ResolveNativePath(target);
    if (HasJournalBeside(target) || HasJournalBeside(found)) return false;
    if (!Exists(found)) return true;
    return SameFile(found, book.listings) || (book.hasDiscs && SameFile(found, book.discs));
}

std::string DiskJoin(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).string();
}

}  // namespace

std::vector<BookEntry> ListBooks(std::string_view folder) {
    std::vector<BookEntry> books;
    std::error_code ec;
    const fs::path disk = fs::absolute(DiskPath(folder.empty() ? "." : folder), ec).lexically_normal();
    if (ec) return books;
    for (fs::directory_iterator it(disk, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string fileName = it->path().filename().string();
        const auto format = ListingsFormat(fileName);
        std::error_code typeError;
        if (!format || !it->is_regular_file(typeError)) continue;
        const std::string programName = fw::Utf8ToAnsi(fileName);
        // A name outside the program's code page could not be found again.
        if (fw::AnsiToUtf8(programName) != fileName) continue;
        const std::string name = BookNameOf(programName);
        if (name.empty()) continue;
        books.push_back({name, programName, ProgramPath((disk / fileName).string()), *format});
    }
    std::sort(books.begin(), books.end(), [](const BookEntry& a, const BookEntry& b) {
        if (const int c = fw::CompareFolded(a.name, b.name)) return c < 0;
        if (const int c = fw::CompareFolded(a.fileName, b.fileName)) return c < 0;
        return a.fileName < b.fileName;
    });
    return books;
}

BookResult CheckBookName(std::string_view typed) {
    const std::string name = ClipName(typed);
    const auto refused = [] { return Result(BookStatus::InvalidName, text::kInvalidName); };
    if (name.find_first_not_of(" .") == std::string::npos) return refused();
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        // Control characters and the code page's five unassigned bytes.
        if (c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) return refused();
        if (fw::IsPathSeparator(ch)) return refused();
    }
    if (fw::AnsiToUtf8(name).size() + 4 > kMaxFileNameBytes) return refused();
    return Result(BookStatus::Done, {});
}

BookResult CheckNewBookName(std::string_view folder, std::string_view typed) {
    BookResult check = CheckBookName(typed);
    if (!check.Ok()) return check;
    const std::string name = ClipName(typed);
    const std::string listings = JoinPath(folder, name + ".2bk");
    const std::string discs = JoinPath(folder, name + ".2bd");
    if (Exists(DiskPath(listings)) || Exists(DiskPath(discs))) return Result(BookStatus::NameInUse, text::kNewNameInUse);
    return Result(BookStatus::Done, {}, {}, listings);
}

BookResult DeleteBook(std::string_view listingsPath) {
    BookOnDisk book;
    std::string error;
    if (!FindBook(listingsPath, book, error)) return Result(BookStatus::Failed, text::kUnableToDelete, error);
    if (HasJournal(book)) return Result(BookStatus::InUse, text::kBookInUse);
    FileChanges changes;
    if (!changes.MoveAside(book.listings) || (book.hasDiscs && !changes.MoveAside(book.discs))) {
        changes.Undo();
        return Result(BookStatus::Failed, text::kUnableToDelete, changes.Error());
    }
    if (!changes.Finish()) return Result(BookStatus::Failed, text::kUnableToDelete, changes.Error());
    fw::archive_files::SyncFolder(book.folder);
    return Result(BookStatus::Done, text::kDeleted);
}

BookResult MoveBook(std::string_view listingsPath, std::string_view destFolder, const ReplaceQuestion& askReplace) {
    BookOnDisk book;
    std::string error;
    if (!FindBook(listingsPath, book, error)) return Result(BookStatus::Failed, text::kUnableToMove, error);
    if (!book.hasDiscs)
        return Result(BookStatus::Failed, text::kUnableToMove, "The discs file is missing: " + ProgramPath(book.discs));
    std::error_code ec;
    const std::string dest = fs::absolute(DiskPath(destFolder), ec).lexically_normal().string();
    if (ec || !fs::is_directory(dest, ec))
        return Result(BookStatus::Failed, text::kUnableToMove, "Folder not found: " + std::string(destFolder));
    if (SameFile(dest, book.folder)) return Result(BookStatus::SameFolder, text::kAlreadyInFolder);
    if (HasJournal(book)) return Result(BookStatus::InUse, text::kBookInUse);

    const std::string listingsTarget = DiskJoin(dest, book.listingsName);
    const std::string discsTarget = DiskJoin(dest, book.discsName);
    // The book of the same name already there, found whatever its case.
    const std::string oldListings = fw::ResolveNativePath(listingsTarget);
    const std::string oldDiscs = fw::ResolveNativePath(discsTarget);
    bool replacing = false;
    for (const std::string* old : {&oldListings, &oldDiscs}) {
        if (HasJournalBeside(*old)) return Result(BookStatus::InUse, text::kBookInUse);
        if (!Exists(*old)) continue;
        if (!IsFile(*old))
            return Result(BookStatus::Failed, text::kUnableToMove, "Something other than a file is in the way: " +
                                                                     ProgramPath(*old));
        replacing = true;
    }
    if (replacing && !(askReplace && askReplace(fw::Utf8ToAnsi(book.name)))) return Result(BookStatus::Declined, {});

    FileChanges changes;
    const bool moved = (!Exists(oldListings) || changes.MoveAside(oldListings)) &&
                       (!Exists(oldDiscs) || changes.MoveAside(oldDiscs)) &&
                       changes.Copy(book.listings, listingsTarget) && changes.Copy(book.discs, discsTarget) &&
                       changes.MoveAside(book.listings) && changes.MoveAside(book.discs);
    if (!moved) {
        changes.Undo();
        return Result(BookStatus::Failed, text::kUnableToMove, changes.Error());
    }
    const std::string newPath = ProgramPath(listingsTarget);
    // The book is in its new place; a file that could not be removed is named.
    if (!changes.Finish()) return Result(BookStatus::Done, text::kMoved, changes.Error(), newPath);
    fw::archive_files::SyncFolder(book.folder);
    return Result(BookStatus::Done, text::kMoved, {}, newPath);
}

BookResult RenameBook(std::string_view listingsPath, std::string_view typed) {
    BookResult check = CheckBookName(typed);
    if (!check.Ok()) return check;
    BookOnDisk book;
    std::string error;
    if (!FindBook(listingsPath, book, error)) return Result(BookStatus::Failed, text::kUnableToRename, error);
    const std::string newName = fw::AnsiToUtf8(ClipName(typed));
    if (newName == book.name) return Result(BookStatus::Unchanged, {}, {}, ProgramPath(book.listings));

    const std::string newListings = DiskJoin(book.folder, newName + std::string(ListingsExtension(book.format)));
    const std::string newDiscs = DiskJoin(book.folder, newName + std::string(DiscsExtension(book.format)));
    if (!NameFreeFor(newListings, book) || !NameFreeFor(newDiscs, book))
        return Result(BookStatus::NameInUse, text::kRenameNameInUse);
    if (HasJournal(book)) return Result(BookStatus::InUse, text::kBookInUse);

    FileChanges changes;
    const bool renamed = changes.Rename(book.listings, newListings) &&
                         (!book.hasDiscs || newDiscs == book.discs || changes.Rename(book.discs, newDiscs));
    if (!renamed) {
        changes.Undo();
        return Result(BookStatus::Failed, text::kUnableToRename, changes.Error());
    }
    changes.Finish();
    fw::archive_files::SyncFolder(book.folder);
    return Result(BookStatus::Done, text::kRenamed, {}, ProgramPath(newListings));
}

}  // namespace songbook
