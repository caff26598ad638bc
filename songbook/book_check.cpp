#include "songbook/book_check.h"

#include "platform/data/file.h"
#include "platform/data/file_ops.h"
#include "platform/data/snapshot/database_snapshot.h"
#include "platform/data/tps/tps_read_through.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "shell/data_dictionary_files.h"
#include "shell/data_dictionary_songbook.h"
#include "songbook/book_on_disk.h"
#include "songbook/book_paths.h"
#include "songbook/book_texts.h"
#include "songbook/earlier_layouts.h"

namespace songbook {
namespace {

bool EndsWithFolded(const std::string& name, std::string_view tail) {
    return name.size() >= tail.size() && fw::UpperText(name.substr(name.size() - tail.size())) == fw::UpperText(tail);
}

// Opens the file read-only under the declaration of the book file it is to be.
bool OpensAsBookFile(const std::string& diskPath, const shell::FileEntry& plan, std::string& error) {
    fw::FileDecl decl = shell::FileDeclOf(plan);
    decl.name = fw::FixedName(fw::Utf8ToAnsi(diskPath));
    decl.thread = false;
    fw::File file(std::move(decl));
    fw::OPEN(file, fw::ReadOnly | fw::DenyNone);
    const int code = fw::ERRORCODE();
    if (code != 0) error = fw::ERROR() + " (" + std::to_string(code) + ")";
    fw::CLOSE(file);
    return code == 0;
}

// The earlier layout a file of the older format holds by its name: .sbk and
// .sbd the earlier format's pair, .2bk the older listings layout; nullptr
// for a name no earlier layout was written under.
const fw::RecordDecl* EarlierLayoutFor(const std::string& fileName) {
    if (EndsWithFolded(fileName, ListingsExtension(BookFormat::Older))) return &SongBook11Rec::Decl();
    if (EndsWithFolded(fileName, DiscsExtension(BookFormat::Older))) return &SBDiscs11Rec::Decl();
    if (EndsWithFolded(fileName, ListingsExtension(BookFormat::Current))) return &SongBook15Rec::Decl();
    return nullptr;
}

// Converts every record of a file of the older format, as opening it for
// its conversion does (into a private copy, removed again), and reads each.
bool ConvertsAsEarlierLayout(const std::string& diskPath, const fw::RecordDecl& layout, std::string& error) {
    auto file = EarlierFile("Restored", layout, fw::Utf8ToAnsi(diskPath));
    fw::OPEN(*file, fw::ReadOnly | fw::DenyNone);
    bool ok = fw::ERRORCODE() == 0;
    if (ok) {
        fw::SET(*file);
        for (fw::NEXT(*file); fw::ERRORCODE() == 0; fw::NEXT(*file)) {
        }
        ok = fw::ERRORCODE() == fw::RecordNotAvailable;
    }
    if (!ok) error = fw::ERROR() + " (" + std::to_string(fw::ERRORCODE()) + ")";
    fw::CLOSE(*file);
    return ok;
}

}  // namespace

bool CheckBookFile(const std::string& diskPath, const std::string& fileName, std::string& error) {
    const bool listings = IsBookFileName(fileName) && ListingsFormat(fileName).has_value();
    switch (FileKindOf(diskPath)) {
    case BookFileKind::Sqlite: {
        // Only the current format's files are SQLite books.
        if (!EndsWithFolded(fileName, listings ? ListingsExtension(BookFormat::Current)
                                               : DiscsExtension(BookFormat::Current)))
            break;
        std::string reason;
        if (!OpensAsBookFile(diskPath, listings ? shell::SongBookFile() : shell::SBDiscsFile(), reason)) {
            error = std::string(text::kNotSongBookFile) + fileName + ": " + reason;
            return false;
        }
        if (!fw::CheckDatabase(diskPath, reason)) {
            error = "The file " + fileName + " is damaged: " + reason;
            return false;
        }
        return true;
    }
    case BookFileKind::TopSpeed: {
        // Read through to its end, then converted as its conversion would.
        std::string reason = fw::tps::ReadThroughFile(diskPath);
        if (reason.empty()) {
            const fw::RecordDecl* layout = EarlierLayoutFor(fileName);
            if (!layout || ConvertsAsEarlierLayout(diskPath, *layout, reason)) return true;
            error = std::string(text::kNotSongBookFile) + fileName + ": " + reason;
            return false;
        }
        error = "The file " + fileName + " is damaged: " + reason;
        return false;
    }
    case BookFileKind::Other: break;
    }
    error = std::string(text::kNotSongBookFile) + fileName;
    return false;
}

}  // namespace songbook
