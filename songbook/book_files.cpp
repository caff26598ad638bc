#include "songbook/book_files.h"

#include "platform/data/names/path_names.h"
#include "platform/data/names/temp_files.h"
#include "platform/os/archive/archive_files.h"
#include "platform/text/codepage.h"
#include "songbook/book_file_steps.h"
#include "songbook/book_journal.h"
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

// Copies not yet handed to a journal, removed when an operation stops before.
struct TempCopies {
    std::vector<std::string> paths;
    ~TempCopies() {
        for (const std::string& p : paths) FileOps().remove(p);
    }
};

}  // namespace

void TidyBookFilesAtStart(std::string_view defaultFolder) {
    SettleBookJournals();
    fw::RemoveLeftoverTempFiles(BookJournalFolder(), true);
    if (!defaultFolder.empty()) fw::RemoveLeftoverTempFiles(DiskPath(defaultFolder), true);
}

std::vector<BookEntry> ListBooks(std::string_view folder) {
    std::vector<BookEntry> books;
    std::error_code ec;
    const fs::path disk = fs::absolute(DiskPath(folder.empty() ? "." : folder), ec).lexically_normal();
    if (ec) return books;
    // What a stopped operation left is settled before the folder is read.
    if (!BookOperation::UnderWay()) {
        SettleBookJournals();
        fw::RemoveLeftoverTempFiles(disk.string(), true);
    }
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
    const BookOperation underWay;
    BookOnDisk book;
    std::string error;
    if (!FindBook(listingsPath, book, error)) return Result(BookStatus::Failed, text::kUnableToDelete, error);
    BookHold hold;
    if (!hold.Take({book.listings, book.discs})) return Result(BookStatus::InUse, text::kBookInUse);
    // Both files go aside first, so that either both are removed or neither.
    std::vector<JournalStep> steps = {{JournalStep::Rename, book.listings, AsideName(book.folder), {}}};
    if (book.hasDiscs) steps.push_back({JournalStep::Rename, book.discs, AsideName(book.folder), {}});
    AddAsideRemovals(steps);
    const JournalResult r = RunJournaled(steps);
    if (!r.done) return Result(BookStatus::Failed, text::kUnableToDelete, r.error);
    // Deleted; a file set aside that could not be removed is named (and
    // removed as a leftover later).
    return Result(BookStatus::Done, text::kDeleted, r.error);
}

BookResult MoveBook(std::string_view listingsPath, std::string_view destFolder, const ReplaceQuestion& askReplace) {
    const BookOperation underWay;
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
    BookHold hold;
    if (!hold.Take({book.listings, book.discs})) return Result(BookStatus::InUse, text::kBookInUse);

    const std::string listingsTarget = DiskJoin(dest, book.listingsName);
    const std::string discsTarget = DiskJoin(dest, book.discsName);
    // The book of the same name already there, found whatever its case.
    const std::string oldListings = fw::ResolveNativePath(listingsTarget);
    const std::string oldDiscs = fw::ResolveNativePath(discsTarget);
    bool replacing = false;
    for (const std::string* old : {&oldListings, &oldDiscs}) {
        if (!Exists(*old)) continue;
        if (!IsFile(*old))
            return Result(BookStatus::Failed, text::kUnableToMove, "Something other than a file is in the way: " +
                                                                     ProgramPath(*old));
        replacing = true;
    }
    BookHold holdThere;
    if (!holdThere.Take({oldListings, oldDiscs})) return Result(BookStatus::InUse, text::kBookInUse);
    if (replacing && !(askReplace && askReplace(fw::Utf8ToAnsi(book.name)))) return Result(BookStatus::Declined, {});

    // The copies are made beside their targets and checked before anything
    // else changes; until the journal is written they are only temporary files.
    TempCopies copies;
    for (const auto& [from, to] : {std::pair{book.listings, listingsTarget}, std::pair{book.discs, discsTarget}}) {
        const std::string temp = fw::archive_files::UnusedName(dest, "copy");
        if (const int e = FileOps().copy(from, temp))
            return Result(BookStatus::Failed, text::kUnableToMove,
                          "Cannot copy " + ProgramPath(from) + " to " + ProgramPath(to) + ": " +
                              fw::archive_files::SystemErrorText(e));
        copies.paths.push_back(temp);
    }
    std::vector<JournalStep> steps;
    for (const std::string* old : {&oldListings, &oldDiscs})
        if (Exists(*old)) steps.push_back({JournalStep::Rename, *old, AsideName(dest), {}});
    steps.push_back({JournalStep::Place, copies.paths[0], listingsTarget, {}});
    steps.push_back({JournalStep::Place, copies.paths[1], discsTarget, {}});
    steps.push_back({JournalStep::Rename, book.listings, AsideName(book.folder), {}});
    steps.push_back({JournalStep::Rename, book.discs, AsideName(book.folder), {}});
    AddAsideRemovals(steps);
    const JournalResult r = RunJournaled(steps);
    if (!r.done) return Result(BookStatus::Failed, text::kUnableToMove, r.error);
    copies.paths.clear();
    // The book is in its new place; a file that could not be removed is named.
    return Result(BookStatus::Done, text::kMoved, r.error, ProgramPath(listingsTarget));
}

BookResult RenameBook(std::string_view listingsPath, std::string_view typed) {
    const BookOperation underWay;
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
    BookHold hold;
    if (!hold.Take({book.listings, book.discs})) return Result(BookStatus::InUse, text::kBookInUse);

    std::vector<JournalStep> steps = {{JournalStep::Rename, book.listings, newListings, {}}};
    if (book.hasDiscs && newDiscs != book.discs) steps.push_back({JournalStep::Rename, book.discs, newDiscs, {}});
    const JournalResult r = RunJournaled(steps);
    if (!r.done) return Result(BookStatus::Failed, text::kUnableToRename, r.error);
    return Result(BookStatus::Done, text::kRenamed, {}, ProgramPath(newListings));
}

}  // namespace songbook
