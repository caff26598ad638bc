#include "shell/window_runtime.h"

#include "shell/data_dictionary_globals.h"
#include "shell/message_box.h"

#include "platform/runtime/scheduler.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>

namespace shell {
namespace {

const char* IconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation: return fw::Icon::Exclamation;
    case MessageIcon::Question: return fw::Icon::Question;
    case MessageIcon::Stop: return fw::Icon::Hand;
    case MessageIcon::Information: return fw::Icon::Asterisk;
    case MessageIcon::None: break;
    }
    return fw::Icon::None;
}

// The target window of the calling program thread, or none.
fw::Window* CallersWindow() {
    if (!fw::runtime::InProgramThread() || !fw::TopWindow(fw::THREAD())) return nullptr;
    return &fw::TargetWindow();
}

PlacementWindow* TargetPlacement() {
    static std::unique_ptr<RuntimePlacementWindow> adapter;
    fw::Window* window = CallersWindow();
    if (!window) return nullptr;
    adapter = std::make_unique<RuntimePlacementWindow>(*window);
    return adapter.get();
}

int DialogUnits(const fw::Window& window, fw::Prop prop, int field = 0) {
    return static_cast<int>(window.Get(prop, field).Int());
}

}  // namespace

void ConnectWindowRuntime() {
    SetMessageBoxHandler([](std::string_view text, std::string_view caption, MessageIcon icon, int buttons,
                            int defaultButton) {
        // A box shown before any program thread runs (or after the last)
        // has no event loop to wait in: the default box answers it.
        if (!fw::runtime::InProgramThread()) return ErrorOutputMessageBox(text, caption, icon, buttons, defaultButton);
        // The program's button values are the framework's.
        return fw::MESSAGE(text, caption, IconOf(icon), buttons, defaultButton);
    });
    SetHaltHandler([](std::string_view text) { fw::HALT(text); });
    fw::SetDefaultMessageCaption(std::string(kProgramTitle));
    SetPlacementWindowProvider(TargetPlacement);
}

void DisconnectWindowRuntime() {
    SetMessageBoxHandler(nullptr);
    SetHaltHandler(nullptr);
    SetPlacementWindowProvider(nullptr);
}

bool RuntimePlacementWindow::Maximized() const { return window_.Get(fw::Prop::Maximize).Bool(); }
bool RuntimePlacementWindow::Minimized() const { return window_.Get(fw::Prop::Iconize).Bool(); }
bool RuntimePlacementWindow::Resizable() const { return window_.Get(fw::Prop::Resize).Bool(); }

WindowGeometry RuntimePlacementWindow::NormalGeometry() const {
    if (!Maximized()) return GeometryOf(window_);
    const QWidget* root = window_.Root();
    if (!root->isWindow()) {
        // An MDI child is put back in its normal state at once.
        window_.Set(fw::Prop::Maximize, 0);
        return GeometryOf(window_);
    }
    // A top-level window changes state through the window system, later:
    // its normal geometry is read as the system keeps it. The content is
    // smaller than the window by its menu and status bars in either state.
    const QRect normal = root->normalGeometry();
    const QWidget* content = window_.IsFrame() ? root : window_.Content();
    const QSize bars = root->size() - content->size();
    // Positions are the window frame's, the normal geometry the client's.
    const QPoint frame = root->geometry().topLeft() - root->pos();
    return {window_.PxToDuX(normal.x() - frame.x()), window_.PxToDuY(normal.y() - frame.y()), window_.PxToDuX(normal.width() - bars.width()),
            window_.PxToDuY(normal.height() - bars.height())};
}

void RuntimePlacementWindow::SetNormalGeometry(const WindowGeometry& g) {
    window_.Set(fw::Prop::Xpos, g.x);
    window_.Set(fw::Prop::Ypos, g.y);
    if (!Resizable()) return;
    window_.Set(fw::Prop::Width, g.width);
    window_.Set(fw::Prop::Height, g.height);
}

void RuntimePlacementWindow::SetMaximized(bool maximized) { window_.Set(fw::Prop::Maximize, maximized ? 1 : 0); }

WindowGeometry GeometryOf(const fw::Window& window) {
    return {DialogUnits(window, fw::Prop::Xpos), DialogUnits(window, fw::Prop::Ypos),
            DialogUnits(window, fw::Prop::Width), DialogUnits(window, fw::Prop::Height)};
}

std::vector<ControlGeometry> ControlGeometriesOf(const fw::Window& window) {
    std::vector<ControlGeometry> out;
    const int count = static_cast<int>(window.Controls().size());
    for (int n = 1; n <= count; ++n)
        out.push_back({n, DialogUnits(window, fw::Prop::Type, n),
                       {DialogUnits(window, fw::Prop::Xpos, n), DialogUnits(window, fw::Prop::Ypos, n),
                        DialogUnits(window, fw::Prop::Width, n), DialogUnits(window, fw::Prop::Height, n)}});
    return out;
}

WindowGeometry DesignedGeometryOf(const fw::Window& window) {
    const WindowGeometry now = GeometryOf(window);
    // The layout's size as the window reads it back once given that size.
    return {now.x, now.y, window.PxToDuX(window.DuToPxX(window.Layout().at.w)),
            window.PxToDuY(window.DuToPxY(window.Layout().at.h))};
}

void InitWindowResize(WindowResizeState& state) {
    fw::Window& window = fw::TargetWindow();
    // The controls stand where the layout put them, which is where they
    // belong at the window's designed size; a window that opened at another
    // size (maximised, as MDI children open beside a maximised one) has its
    // controls scaled to it at once, and comes back whole when restored.
    InitWindowResize(state, DesignedGeometryOf(window), ControlGeometriesOf(window));
    ResizeWindowControls(state);
}

void ResizeWindowControls(WindowResizeState& state) {
    fw::Window& window = fw::TargetWindow();
    const std::optional<std::vector<ControlGeometry>> moved = ResizeWindowControls(state, GeometryOf(window));
    if (!moved) return;
    for (const ControlGeometry& c : *moved) {
        window.Set(fw::Prop::Xpos, c.geometry.x, c.id);
        window.Set(fw::Prop::Ypos, c.geometry.y, c.id);
        window.Set(fw::Prop::Width, c.geometry.width, c.id);
        window.Set(fw::Prop::Height, c.geometry.height, c.id);
    }
}

}  // namespace shell
