#include "platform/config/config_folder.h"

#include <cstdlib>

namespace fw {
namespace {

std::string& Override() {
    static std::string folder;
    return folder;
}

}  // namespace

std::string ConfigFolder() {
    if (!Override().empty()) return Override();
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/cantorvale";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/cantorvale";
}

void SetConfigFolder(std::string_view path) {
    std::string p(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    Override() = p;
}

}  // namespace fw
