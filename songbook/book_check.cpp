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

namespace songbook {
namespace {

bool EndsWithFolded(const std::string& name, std::string_view tail) {
    return name.size() >= tail.size() && fw::UpperText(name.substr(name.size() - tail.size())) == fw::UpperText(tail);
}

// Opens the file read-only under the declaration of the book file it is to be.
bool OpensAsBookFile(const std::string& diskPath, const shell::FileSpec& spec, std::string& error) {
    fw::FileDecl decl = shell::FileDeclOf(spec);
    decl.name = fw::FixedName(fw::Utf8ToAnsi(diskPath));
    decl.thread = false;
    fw::File file(std::move(decl));
    fw::OPEN(file, fw::ReadOnly | fw::DenyNone);
    const int code = fw::ERRORCODE();
    if (code != 0) error = fw::ERROR() + " (" + std::to_string(code) + ")";
    fw::CLOSE(file);
    return code == 0;
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
        const std::string reason = fw::tps::ReadThroughFile(diskPath);
        if (reason.empty()) return true;
        error = "The file " + fileName + " is damaged: " + reason;
        return false;
    }
    case BookFileKind::Other: break;
    }
    error = std::string(text::kNotSongBookFile) + fileName;
    return false;
}

}  // namespace songbook
