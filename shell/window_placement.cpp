#include "shell/window_placement.h"

#include "platform/config/ini_file.h"
#include "platform/text/numbers.h"

#include <utility>

namespace shell {
namespace {

std::function<PlacementWindow*()>& Provider() {
    static std::function<PlacementWindow*()> provider;
    return provider;
}

PlacementWindow* Target() { return Provider() ? Provider()() : nullptr; }

int ReadNumber(std::string_view file, std::string_view section, std::string_view entry) {
    return static_cast<int>(fw::NumericValue(fw::GETINI(section, entry, "", file)));
}

}  // namespace

void SaveWindowPlacement(const PlacementWindow& window, std::string_view file, std::string_view section) {
    const bool maximized = window.Maximized();
    if (window.Minimized()) return;
    const WindowGeometry g = window.NormalGeometry();
    fw::PUTINI(section, "Maximize", maximized ? "Yes" : "No", file);
    fw::PUTINI(section, "XPosit", g.x, file);
    fw::PUTINI(section, "YPosit", g.y, file);
    fw::PUTINI(section, "Width", g.width, file);
    fw::PUTINI(section, "Height", g.height, file);
}

void RestoreWindowPlacement(PlacementWindow& window, std::string_view file, std::string_view section) {
    if (ReadNumber(file, section, "XPosit") == 0) return;
    if (!window.Maximized()) {
        WindowGeometry g = window.NormalGeometry();
        const int x = ReadNumber(file, section, "XPosit");
        const int y = ReadNumber(file, section, "YPosit");
        bool move = x != 0 && y != 0;
        if (move && window.Resizable()) {
            const int width = ReadNumber(file, section, "Width");
            const int height = ReadNumber(file, section, "Height");
            move = width != 0 && height != 0;
            g.width = width;
            g.height = height;
        }
        if (move) {
            g.x = x;
            g.y = y;
            window.SetNormalGeometry(g);
        }
    }
    window.SetMaximized(fw::GETINI(section, "Maximize", "", file) == "Yes");
}

void SetPlacementWindowProvider(std::function<PlacementWindow*()> provider) { Provider() = std::move(provider); }

void SaveWindowPlacement(std::string_view file, std::string_view section) {
    if (PlacementWindow* w = Target()) SaveWindowPlacement(*w, file, section);
}

void RestoreWindowPlacement(std::string_view file, std::string_view section) {
    if (PlacementWindow* w = Target()) RestoreWindowPlacement(*w, file, section);
}

}  // namespace shell
