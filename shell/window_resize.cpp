#include "shell/window_resize.h"

#include "platform/text/numbers.h"

#include <algorithm>
#include <cmath>

namespace shell {
namespace {

// The ratio now / initial kept to four decimal places, in ten-thousandths,
// so that scaling is exact decimal arithmetic: 100 x 0.29 is 29, not the
// 28.99... of a binary fraction.
constexpr long long kRatioUnits = 10000;

long long Ratio(int now, int initial) {
    if (initial == 0) return kRatioUnits;
    return std::llround(fw::DecimalRatio(now, initial, 4) * kRatioUnits);
}

// The scaled value as a whole number, the fraction cut.
int Scale(int value, long long ratio) { return static_cast<int>(value * ratio / kRatioUnits); }

}  // namespace

void InitWindowResize(WindowResizeState& state, const WindowGeometry& window,
                      const std::vector<ControlGeometry>& controls) {
    state = {};
    state.initial = state.lastSeen = window;
    for (const ControlGeometry& c : controls)
        if (c.type != control_type::None && c.type != control_type::Menu && c.type != control_type::Item)
            state.controls.push_back(c);
    std::stable_sort(state.controls.begin(), state.controls.end(),
                     [](const ControlGeometry& a, const ControlGeometry& b) { return a.id < b.id; });
    state.active = true;
}

std::optional<std::vector<ControlGeometry>> ResizeWindowControls(WindowResizeState& state,
                                                                 const WindowGeometry& window) {
    if (!state.active) return std::nullopt;
    if (window.width == state.lastSeen.width && window.height == state.lastSeen.height) return std::nullopt;
    state.lastSeen = window;
    const long long h = Ratio(window.width, state.initial.width);
    const long long v = Ratio(window.height, state.initial.height);
    std::vector<ControlGeometry> moved = state.controls;
    for (ControlGeometry& c : moved) {
        const WindowGeometry& g = c.geometry;
        const bool keepWidth = c.type == control_type::String && g.width == 1;
        c.geometry = {Scale(g.x, h), Scale(g.y, v), keepWidth ? 1 : Scale(g.width, h), Scale(g.height, v)};
    }
    return moved;
}

void EndWindowResize(WindowResizeState& state) { state = {}; }

}  // namespace shell
