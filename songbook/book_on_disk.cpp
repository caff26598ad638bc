#include "songbook/book_on_disk.h"

#include "platform/data/database.h"
#include "platform/data/names/path_names.h"
#include "platform/data/snapshot/database_snapshot.h"
#include "platform/data/tps/tps_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace songbook {
namespace {

namespace fs = std::filesystem;

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

}  // namespace

std::string CompanionOnDisk(const std::string& listingsDiskPath, BookFormat format) {
    const fs::path listings(listingsDiskPath);
    const std::string designed =
        (listings.parent_path() / (listings.stem().string() + std::string(DiscsExtension(format)))).string();
    return fw::ResolveNativePath(designed);
}

bool FindBook(std::string_view listingsPath, BookOnDisk& book, std::string& error) {
    book = BookOnDisk{};
    const auto format = ListingsFormat(listingsPath);
    if (!format) {
        error = "Not a SongBook: " + std::string(listingsPath);
        return false;
    }
    std::error_code ec;
    const fs::path listings = fs::absolute(DiskPath(listingsPath), ec).lexically_normal();
    if (ec || !IsFile(listings.string())) {
        error = "The SongBook file is missing: " + std::string(listingsPath);
        return false;
    }
    book.format = *format;
    book.listings = listings.string();
    book.listingsName = listings.filename().string();
    book.name = listings.stem().string();
    book.folder = listings.parent_path().string();
    book.discs = CompanionOnDisk(book.listings, book.format);
    book.discsName = fs::path(book.discs).filename().string();
    book.hasDiscs = IsFile(book.discs);
    return true;
}

bool HasJournalBeside(const std::string& diskPath) {
    return Exists(diskPath + "-journal") || Exists(diskPath + "-wal");
}


bool BookHold::Take(const std::vector<std::string>& diskPaths) {
    holds_.clear();
    for (const std::string& path : diskPaths) {
        if (path.empty()) continue;
        if (HasJournalBeside(path)) return false;
        if (!IsFile(path)) continue;
        if (fw::data::IsFileInUse(path)) return false;
        fw::data::FileUse hold;
        if (hold.Take(path, fw::data::FileUse::Exclusive)) holds_.push_back(std::move(hold));
        else if (errno == EWOULDBLOCK) return false;
    }
    return true;
}

BookFileKind FileKindOf(const std::string& diskPath) {
    if (fw::IsSqliteFile(diskPath)) return BookFileKind::Sqlite;
    if (fw::tps::IsTopSpeedFile(diskPath)) return BookFileKind::TopSpeed;
    return BookFileKind::Other;
}

}  // namespace songbook
