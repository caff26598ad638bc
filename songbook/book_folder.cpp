#include "songbook/book_folder.h"

#include "platform/text/codepage.h"
#include "shell/registry.h"
#include "songbook/book_paths.h"
#include "songbook/explorer_globals.h"

#include <QDir>
#include <filesystem>
#include <system_error>

namespace songbook {
namespace {

constexpr std::string_view kSongBookPath = "SongBookPath";

std::string ClipBlanks(std::string_view s) {
    const size_t end = s.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(s.substr(0, end + 1));
}

}  // namespace

std::string SavedDefaultFolder() {
    return ClipBlanks(shell::GetRegistryValue(0, shell::kBasicKeyPath, "", kSongBookPath, shell::kGeneralSection));
}

void SaveDefaultFolder(std::string_view folder) {
    shell::PutRegistryValue(0, shell::kBasicKeyPath, kSongBookPath, shell::kGeneralSection, folder);
}

std::string HomeFolder() { return fw::Utf8ToAnsi(QDir::homePath().toStdString()); }

std::string ChooseStartFolder(std::string_view saved, std::string_view fallback) {
    namespace fs = std::filesystem;
    const std::string folder = ClipBlanks(saved);
    std::error_code ec;
    if (!folder.empty()) {
        const fs::path disk = fs::absolute(DiskPath(folder), ec).lexically_normal();
        if (!ec && fs::is_directory(disk, ec)) {
            std::string shown = disk.string();
            if (shown.size() > 1 && shown.back() == '/') shown.pop_back();
            return ProgramPath(shown);
        }
    }
    return std::string(fallback);
}

std::string StartFolder() {
    if (std::string saved = ChooseStartFolder(SavedDefaultFolder(), {}); !saved.empty()) return saved;
    // The current folder stays where the explorer last listed books.
    return ChooseStartFolder(CurrentFolder, HomeFolder());
}

}  // namespace songbook
