#include "platform/os/program_font.h"

#include "platform/data/names/path_names.h"
#include "platform/text/codepage.h"

#include <QFontDatabase>
#include <QString>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>

namespace fw {
namespace {

// Fonts added, by their upper-cased name as given.
std::map<std::string, int>& Added() {
    static std::map<std::string, int> fonts;
    return fonts;
}

std::string FindFontFile(std::string_view fileName, std::string_view searchFolder) {
    std::error_code ec;
    const bool bare = fileName.find_first_of("/\\") == std::string_view::npos;
    std::string candidates[2] = {std::string(fileName), {}};
    if (bare && !searchFolder.empty()) candidates[1] = std::string(searchFolder) + "/" + std::string(fileName);
    for (const auto& c : candidates) {
        if (c.empty()) continue;
        const std::string path = ResolvePath(c);
        if (std::filesystem::is_regular_file(path, ec)) return path;
    }
    return {};
}

}  // namespace

bool AddFontResource(std::string_view fileName, std::string_view searchFolder) {
    const std::string key = UpperText(fileName);
    if (key.empty()) return false;
    if (Added().count(key)) return true;
    const std::string path = FindFontFile(fileName, searchFolder);
    if (path.empty()) return false;
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(path));
    if (id < 0) return false;
    Added()[key] = id;
    return true;
}

bool RemoveFontResource(std::string_view fileName) {
    const auto it = Added().find(UpperText(fileName));
    if (it == Added().end()) return false;
    QFontDatabase::removeApplicationFont(it->second);
    Added().erase(it);
    return true;
}

}  // namespace fw
