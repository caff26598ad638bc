#pragma once
// Proportional resizing of a window's controls: the window's initial size
// and every control's initial position and size are recorded when it opens,
// and after each size change every control is scaled from its initial
// geometry by new size / initial size, so repeated resizing never drifts.
// The window applies the geometries returned, all at once.

#include "shell/window_placement.h"

#include <optional>
#include <vector>

namespace shell {

// The framework's control types the resize treats specially.
namespace control_type {
inline constexpr int None = 0;    // a control number without a control
inline constexpr int String = 1;  // a plain string
inline constexpr int Menu = 19;
inline constexpr int Item = 20;   // a menu item
}  // namespace control_type

struct ControlGeometry {
    int id = 0;    // control number
    int type = 0;  // framework control type
    WindowGeometry geometry;
    bool operator==(const ControlGeometry&) const = default;
};

struct WindowResizeState {
    WindowGeometry initial;
    WindowGeometry lastSeen;
    std::vector<ControlGeometry> controls;  // initial geometries, by control number
    bool active = false;
};

// Records the window and its controls, leaving out numbers without a
// control and menus.
void InitWindowResize(WindowResizeState& state, const WindowGeometry& window,
                      const std::vector<ControlGeometry>& controls);

// The controls' new geometries for the window's current geometry, or
// nothing when its size has not changed (a move) or the state is ended.
// Ratios are kept to four decimal places and results cut to whole numbers;
// a plain string of initial width 1 keeps its width; an axis whose initial
// size was 0 (a window opened minimised) is left unscaled.
std::optional<std::vector<ControlGeometry>> ResizeWindowControls(WindowResizeState& state,
                                                                 const WindowGeometry& window);

// Frees the state; a second call does nothing.
void EndWindowResize(WindowResizeState& state);

}  // namespace shell
