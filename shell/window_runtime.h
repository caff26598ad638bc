#pragma once
// Connects the shell's seams to the window runtime: message boxes become
// fw::MESSAGE, halts fw::HALT, and window placement acts on the calling
// thread's target window. main() connects them before the program runs;
// tests through the window driver do the same.

#include "shell/window_placement.h"
#include "shell/window_resize.h"

namespace fw {
class Window;
}

namespace shell {

void ConnectWindowRuntime();
// Back to the seams' defaults (error output and process end).
void DisconnectWindowRuntime();

// Placement of a real window, its geometry in dialog units. The normal
// geometry of a maximised window is the one it has when restored.
class RuntimePlacementWindow : public PlacementWindow {
public:
    explicit RuntimePlacementWindow(fw::Window& window) : window_(window) {}
    bool Maximized() const override;
    bool Minimized() const override;
    bool Resizable() const override;
    WindowGeometry NormalGeometry() const override;
    void SetNormalGeometry(const WindowGeometry& g) override;
    void SetMaximized(bool maximized) override;

private:
    fw::Window& window_;
};

// The window's position and size, and every control's, in dialog units.
WindowGeometry GeometryOf(const fw::Window& window);
std::vector<ControlGeometry> ControlGeometriesOf(const fw::Window& window);

// The window's position with the size its layout gives it, in dialog units.
WindowGeometry DesignedGeometryOf(const fw::Window& window);

// The resize support on the calling thread's target window: the state is
// recorded from its layout's size and its controls' geometries (which are
// then scaled to the window's size now), and every size event moves its
// controls.
void InitWindowResize(WindowResizeState& state);
void ResizeWindowControls(WindowResizeState& state);

}  // namespace shell
