#include "platform/config/config_folder.h"

#include <cerrno>
#include <cstdlib>

namespace fw {
namespace {

std::string& Override() {
    static std::string folder;
    return folder;
}

std::string& Name() {
    static std::string name = program_invocation_short_name;
    return name;
}

}  // namespace

std::string ConfigFolder() {
    if (!Override().empty()) return Override();
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/" + Name();
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/" + Name();
}

void SetConfigFolderName(std::string_view name) { Name() = name; }

void SetConfigFolder(std::string_view path) {
    std::string p(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    Override() = p;
}

}  // namespace fw
