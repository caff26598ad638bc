#pragma once
// A window's position, size and maximised state kept in an INI file (every
// caller passes "songbook.ini"), one section per window, with the entries
// Maximize ("Yes"/"No"), XPosit, YPosit, Width and Height.

#include <functional>
#include <string_view>

namespace shell {

struct WindowGeometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowGeometry&) const = default;
};

// What placement needs of a window; the window runtime provides it for its
// windows, tests provide their own.
class PlacementWindow {
public:
    virtual ~PlacementWindow() = default;
    virtual bool Maximized() const = 0;
    virtual bool Minimized() const = 0;
    virtual bool Resizable() const = 0;
    // Position and size in the normal (not maximised) state.
    virtual WindowGeometry NormalGeometry() const = 0;
    // Moves the window; its size changes only when it is resizable.
    virtual void SetNormalGeometry(const WindowGeometry& g) = 0;
    // Maximises the window, or puts it in the normal state.
    virtual void SetMaximized(bool maximized) = 0;
};

// Writes the window's state into section, unless it is minimised: then the
// section keeps the values of the last save.
void SaveWindowPlacement(const PlacementWindow& window, std::string_view file, std::string_view section);

// Restores what the section holds: nothing changes when it has no XPosit
// (or 0); the position (and, for a resizable window, the size) is applied
// unless the window is maximised or a value is 0; then Maximize "Yes"
// maximises the window and anything else puts it in the normal state.
void RestoreWindowPlacement(PlacementWindow& window, std::string_view file, std::string_view section);

// The forms the program calls, on the calling thread's current target window.
// The window runtime sets the provider; without one, or without a target
// window, they do nothing.
void SetPlacementWindowProvider(std::function<PlacementWindow*()> provider);
void SaveWindowPlacement(std::string_view file, std::string_view section);
void RestoreWindowPlacement(std::string_view file, std::string_view section);

}  // namespace shell
