#pragma once
// State the window layer shares across threads and windows: the active
// window, the program's close, tool tips, timers under the test driver.
// Internal to platform/ui.

namespace fw {
class Window;

struct UiState {
    Window* active = nullptr;      // the window that last gained the focus
    bool closing = false;          // the frame asked every thread to close down
    bool closeRefused = false;     // a window refused with CYCLE
    int closingThread = 0;         // the frame's thread, waiting for the others
    bool manualTimers = false;     // the test driver fires timers itself
    bool noTips = false;           // SYSTEM{PROP:NoTips}
    int systemModal = 0;           // system-modal boxes up (START fails meanwhile)
};

UiState& Ui();
// Installs the application-wide hooks once (input filter, halt box,
// thread-end handling); every window does it when it is built.
void EnsureUiInstalled();
// Makes a window the active one; it gets EVENT:GainFocus when that changes.
void ActivateWindow(Window* window);
// A window closed or a thread ended: the frame waiting for the program's
// close looks again.
void WakeClosingFrame();
// The key code of a Qt key press (virtual key plus 100h Shift, 200h Ctrl,
// 400h Alt), or 0 when it has none.
int KeyCodeOfQtKey(int qtKey, unsigned modifiers);

}  // namespace fw
