// Every window layout, at its designed size and scaled larger and smaller
// as resizable windows scale their controls: each visible control lies
// inside the client area, and no two visible controls overlap unless one
// holds the other (sheets, tabs, groups, options, panels and boxes hold
// what lies on them, and so does an ellipse drawn as a picture's ground)
// or they lie on different tabs. And on the real windows, at their designed
// size, maximised and restored: every text fits its control measured with
// the window's font, lists show their headings and longest values (at the
// designed size whole, on a screen of the desktop test's size; scaled,
// they may scroll across), and a restored window has every control back
// whole.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>

#include <string>
#include <vector>

#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/layout.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/text_fit.h"
#include "platform/ui/window.h"
#include "shell/window_resize.h"
#include "shell/window_runtime.h"

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

// Every static text of the window fits its control as the window shows it.
void CheckTextsFit(const fw::Window& window, const std::string& state, bool designedSize = false) {
    const fw::WindowLayout& w = window.Layout();
    if (!w.caption.empty() && !w.Has("nocaption")) {
        EXPECT_LE(fw::CaptionNeeds(w.caption), window.Content()->width())
            << w.label << " " << state << ": the title \"" << w.caption << "\" is cut";
    }
    for (const auto& control : window.Controls()) {
        const fw::ControlLayout& c = control->Layout();
        const QWidget* widget = control->Widget();
        if (!c.hasAt || !widget || HiddenInLayout(w, c)) continue;
        const fw::ControlLayout* holder = c.parent.empty() ? nullptr : w.Find(c.parent);
        if (designedSize && holder && (holder->kind == Kind::Group || holder->kind == Kind::Option) &&
            !holder->Has("noframe")) {
            const QWidget* frame = window.Find(holder->equate)->Widget();
            const int inset = QApplication::style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2;
            EXPECT_TRUE(frame->geometry().adjusted(inset, inset, -inset, -inset).contains(widget->geometry()))
                << w.label << ": " << c.spelling << " is drawn across the frame line of " << holder->spelling;
        }
        if (const auto need = fw::TextNeeds(c, widget->font(), widget->width())) {
            EXPECT_LE(need->width(), widget->width())
                << w.label << " " << state << ": " << c.spelling << " \"" << c.text << "\" is cut across";
            EXPECT_LE(need->height(), widget->height())
                << w.label << " " << state << ": " << c.spelling << " \"" << c.text << "\" is cut below";
        }
        if (c.kind == Kind::List) {
            auto* list = static_cast<const fw::ListControl&>(*control).List();
            int total = 0;
            const fw::ui::ListFormat format = list->format();
            for (int i = 1; i <= list->columnCount(); ++i) {
                const fw::ui::ListColumn& column = format.columns[static_cast<std::size_t>(i - 1)];
                const int width = list->columnPixels(i);
                total += column.width > 0 ? width : 0;
                if (column.width > 1 && column.hasHeading) {  // one unit: a field carried, not shown
                    EXPECT_GE(width, list->fontMetrics().horizontalAdvance(fw::Q(column.heading)))
                        << w.label << " " << state << ": " << c.spelling << " heading " << column.heading << " is cut";
                }
            }
            if (designedSize) {
                // At the designed size (grown as the screen allows) every
                // column shows its heading and its field's longest value.
                EXPECT_LE(list->widthToShowColumns(), list->width())
                    << w.label << ": " << c.spelling << " cuts its columns at the designed size";
                EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0)
                    << w.label << ": " << c.spelling << " scrolls across at the designed size";
            }
            if (total > list->viewport()->width()) {
                EXPECT_GT(list->horizontalScrollBar()->maximum(), 0)
                    << w.label << " " << state << ": " << c.spelling << " cuts its columns with no way to them";
            }
        }
    }
}

void Apply(fw::Window& window, const std::vector<shell::ControlGeometry>& geometry) {
    for (const shell::ControlGeometry& g : geometry) {
        window.Set(fw::Prop::Xpos, g.geometry.x, g.id);
        window.Set(fw::Prop::Ypos, g.geometry.y, g.id);
        window.Set(fw::Prop::Width, g.geometry.width, g.id);
        window.Set(fw::Prop::Height, g.geometry.height, g.id);
    }
}

TEST(LayoutTexts, EveryTextFitsAtTheDesignedSizeMaximisedAndRestored) {
    fw::SetLayoutFolder(CV_SOURCE_DIR "/resources/layouts");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const std::string& label : fw::LayoutLabels()) {
        SCOPED_TRACE(label);
        const fw::WindowLayout layout = fw::LoadLayout(label);
        if (layout.kind == fw::WindowKind::Frame) continue;
        fw::Window window(layout);
        window.Root()->show();  // the lists fit their columns to the room they are shown in
        CheckTextsFit(window, "at its designed size", true);
        if (!layout.Has("resize")) continue;
        // Maximised, the resize support scales the controls to the screen;
        // restored, every control is back as designed.
        const std::vector<shell::ControlGeometry> designed = shell::ControlGeometriesOf(window);
        shell::WindowResizeState state;
        shell::InitWindowResize(state, {0, 0, layout.at.w, layout.at.h}, designed);
        const shell::WindowGeometry maximised{0, 0, std::max(layout.at.w, window.PxToDuX(screen.width())),
                                              std::max(layout.at.h, window.PxToDuY(screen.height()))};
        if (auto moved = shell::ResizeWindowControls(state, maximised)) Apply(window, *moved);
        window.Content()->resize(window.DuToPxX(maximised.width), window.DuToPxY(maximised.height));
        CheckTextsFit(window, "maximised");
        if (auto moved = shell::ResizeWindowControls(state, {0, 0, layout.at.w, layout.at.h})) Apply(window, *moved);
        window.Content()->resize(window.DuToPxX(layout.at.w), window.DuToPxY(layout.at.h));
        EXPECT_EQ(shell::ControlGeometriesOf(window), designed) << "restored";
        CheckTextsFit(window, "restored");
    }
    fw::SetLayoutFolder({});
}

}  // namespace
