// Every window layout, at its designed size and scaled larger and smaller
// as resizable windows scale their controls: each visible control lies
// inside the client area, and no two visible controls overlap unless one
// holds the other (sheets, tabs, groups, options, panels and boxes hold
// what lies on them, and so does an ellipse drawn as a picture's ground)
// or they lie on different tabs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/layout.h"
#include "shell/window_resize.h"

namespace {

using Kind = fw::ControlKind;

bool Holds(Kind kind) {
    return kind == Kind::Sheet || kind == Kind::Tab || kind == Kind::Group || kind == Kind::Option ||
           kind == Kind::Panel || kind == Kind::Box || kind == Kind::Ellipse;
}

bool Placed(const fw::ControlLayout& c) {
    return c.hasAt && c.kind != Kind::Menu && c.kind != Kind::Item && c.kind != Kind::Toolbar && c.at.w > 0 &&
           c.at.h > 0;
}

struct Shown {
    const fw::ControlLayout* layout;
    shell::WindowGeometry at;
};

// The control's tab, or the empty text.
std::string TabOf(const fw::WindowLayout& w, const fw::ControlLayout& c) {
    for (const fw::ControlLayout* p = &c; p && !p->parent.empty(); p = w.Find(p->parent)) {
        const fw::ControlLayout* parent = w.Find(p->parent);
        if (parent && parent->kind == Kind::Tab) return parent->equate;
    }
    return {};
}

bool HiddenInLayout(const fw::WindowLayout& w, const fw::ControlLayout& c) {
    for (const fw::ControlLayout* p = &c; p; p = p->parent.empty() ? nullptr : w.Find(p->parent))
        if (p->Has("hide")) return true;
    return false;
}

bool Inside(const shell::WindowGeometry& outer, const shell::WindowGeometry& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// Overlap by more than the slack a scaled geometry's truncation leaves.
bool Overlap(const shell::WindowGeometry& a, const shell::WindowGeometry& b, int slack) {
    return a.x + a.width - slack > b.x && b.x + b.width - slack > a.x && a.y + a.height - slack > b.y &&
           b.y + b.height - slack > a.y;
}

void CheckAt(const fw::WindowLayout& w, double scale) {
    const shell::WindowGeometry designed{0, 0, w.at.w, w.at.h};
    std::vector<shell::ControlGeometry> geometry;
    for (std::size_t i = 0; i < w.controls.size(); ++i) {
        const auto& c = w.controls[i];
        geometry.push_back({static_cast<int>(i + 1), c.kind == Kind::Menu ? shell::control_type::Menu : 2,
                            {c.at.x, c.at.y, c.at.w, c.at.h}});
    }
    shell::WindowResizeState state;
    shell::InitWindowResize(state, designed, geometry);
    const shell::WindowGeometry window{0, 0, static_cast<int>(w.at.w * scale), static_cast<int>(w.at.h * scale)};
    std::vector<shell::ControlGeometry> scaled = geometry;
    if (auto moved = shell::ResizeWindowControls(state, window)) scaled = *moved;

    std::vector<Shown> shown;
    for (const auto& g : scaled) {
        const fw::ControlLayout& c = w.controls[static_cast<std::size_t>(g.id - 1)];
        if (!Placed(c) || HiddenInLayout(w, c)) continue;
        shown.push_back({&c, g.geometry});
        EXPECT_TRUE(Inside(window, g.geometry))
            << w.label << " at " << scale << ": " << c.spelling << " lies outside the client area";
    }
    const int slack = scale == 1.0 ? 0 : 1;
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const Shown& a = shown[i];
            const Shown& b = shown[j];
            if (!Overlap(a.at, b.at, slack)) continue;
            if ((Holds(a.layout->kind) && Inside(a.at, b.at)) || (Holds(b.layout->kind) && Inside(b.at, a.at)))
                continue;
            const std::string ta = TabOf(w, *a.layout), tb = TabOf(w, *b.layout);
            if (!ta.empty() && !tb.empty() && ta != tb) continue;
            ADD_FAILURE() << w.label << " at " << scale << ": " << a.layout->spelling << " overlaps "
                          << b.layout->spelling;
        }
}

TEST(LayoutGeometry, EveryControlInsideTheClientAreaAndNoneOverlapping) {
    fw::SetLayoutFolder(CV_SOURCE_DIR "/resources/layouts");
    for (const std::string& label : fw::LayoutLabels()) {
        const fw::WindowLayout w = fw::LoadLayout(label);
        if (w.kind == fw::WindowKind::Frame) continue;  // its client area is the MDI area
        for (double scale : {1.0, 1.5, 0.75}) {
            if (scale != 1.0 && !w.Has("resize")) continue;
            CheckAt(w, scale);
        }
    }
    fw::SetLayoutFolder({});
}

}  // namespace
