#pragma once
// An open window of a program thread, built from its layout file.
//
//   fw::Window window("P1$PROGRESSWINDOW");  // loads the layout
//   window.Use("?PROGRESS:THERMOMETER", PercentShown);
//   window.Open();                           // EVENT:OpenWindow comes first
//   while (fw::ACCEPT()) { ... }             // one pass per event
//   // leaving the scope closes the window
//
// A window belongs to the thread that opened it. Opening a window while the
// thread already has one is a call: the thread's other windows are disabled
// until it closes; other threads' windows stay usable.

#include <QPointer>

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/layout.h"
#include "platform/ui/prop_value.h"
#include "platform/ui/props.h"
#include "platform/ui/use_var.h"

class QWidget;
class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QMenuBar;
class QToolBar;
class QStatusBar;
class QTimer;
class QObject;
class QEvent;

namespace fw {

class WindowEvents;

class Window {
public:
    explicit Window(std::string_view label);
    explicit Window(WindowLayout layout);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void Open();
    void Close();
    bool IsOpen() const { return open_; }
    const std::string& Label() const { return layout_.label; }
    const WindowLayout& Layout() const { return layout_; }
    int Thread() const { return thread_; }
    bool IsFrame() const { return layout_.kind == WindowKind::Frame; }

    // Controls by use-equate (any case) or number (1.., in layout order).
    Control* Find(std::string_view equate) const;
    Control* Find(int number) const;
    int Feq(std::string_view equate) const;  // 0 when there is none
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }

    // Binds a control to its USE variable (shown at once and on DISPLAY).
    void Use(std::string_view equate, UseVar var);

    // The event loop. Accept() first finishes the last pass (its default
    // action unless Cycle() was called), then waits for the next event.
    bool Accept();
    int Event() const { return event_; }
    int Field() const { return field_; }
    int KeyCode() const { return keyCode_; }
    void SetKeyCode(int code) { keyCode_ = code; lastInput_ = code; }
    void Cycle() { cycle_ = true; }

    // Queues an event for this window (posted events come after the pass).
    void Post(int event, int field = 0);
    // Shows the USE variables again (one control or all) and repaints now.
    void Display(int field = 0);
    // Moves the focus; field 0 starts the accept-all pass.
    void Select(int field = 0);
    int Focus() const { return focus_; }

    PropValue Get(Prop prop, int field = 0, int index = 0) const;
    void Set(Prop prop, const PropValue& value, int field = 0, int index = 0);

    // Window-wide alert keys.
    void Alert(int keyCode);
    void Unalert(int keyCode);
    bool IsAlerted(int keyCode) const;

    // Whether the thread is inside a call from this window (or its box).
    bool CallDisabled() const { return callDisabled_; }

    // -- used by controls, the program end and the test driver --
    void Queue(int event, int field, bool coalesce = false);
    int DuToPxX(int du) const;
    int DuToPxY(int du) const;
    int PxToDuX(int px) const;
    int PxToDuY(int px) const;
    QWidget* Content() const { return content_; }
    QWidget* Root() const;
    QMenuBar* MenuBar();
    QToolBar* ToolBar();
    QMdiArea* MdiArea() const { return mdi_; }
    void ApplyStates();
    void SetCallDisabled(bool disabled);
    void NoteInput(int code) { lastInput_ = code; }
    int LastInput() const { return lastInput_; }
    void NoteFocus(int field);
    void FireTimer();  // the timer's tick: one pending EVENT:Timer at most
    bool HasPending(int event) const;
    void RequestClose();  // the close box: EVENT:CloseWindow
    bool ClosingDown() const { return closeDownSent_; }
    // Enter presses the default button, Escape the Cancel or Close button
    // (false: the window has none that can be pressed).
    bool PressKeyButton(bool escape);
    // Takes the activation back after a dialog of its thread closed.
    void Reactivate();
    // The frame's top-level window was activated.
    void FrameActivated();
    Control* FocusedControl() const;
    // Whether an entry left for `to` refuses typing it cannot take: yes
    // for another control of this window, except a Cancel or Close button;
    // no for another window (the entry refuses when the user comes back
    // and leaves it again, or presses OK).
    bool RefusesWhenFocusGoesTo(QWidget* to) const;
    // The typing of the focused control is being committed by a close box,
    // Escape or Cancel: what cannot be taken is left, not refused.
    bool Cancelling() const { return cancelling_; }
    // The status bar shows the focused control's message.
    void UpdateStatusMsg();
    void SendCloseDown();

private:
    friend class WindowEvents;
    struct Pending {
        int event;
        int field;
        int keyCode;
    };
    void Build();
    void BuildControls();
    bool NextEvent(Pending& out);
    // The refusal of an entry's input: its reason in a message box, then
    // the focus back on it with its text selected.
    void ShowRefusal(int field);
    // The entry or spin holding typing it cannot take when `pressed` (an
    // OK or other button, not Cancel or Close) is pressed; nullptr: none.
    Control* RefusedTypingBefore(const Control& pressed) const;
    bool FinishPass();  // false when the window closed
    void StandardAction(const std::string& action);
    void StartTimer();
    void StopTimer();
    void ApplyFrameState(const PropValue& value, Prop prop);
    void GiveDesignedClientSize();
    void GrowToFitTexts(const QFont& font);
    void WidenForLists(const QFont& font);
    int RoomAcross() const;
    void SetCaption(std::string_view caption);
    void CenterInMdiArea();
    void KeepInsideFrame();

    WindowLayout layout_;
    int thread_ = 0;
    bool open_ = false;
    bool painted_ = false;  // DISPLAY has painted the whole window once since it opened
    bool built_ = false;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::pair<std::string, UseVar>> pendingUses_;

    // Qt side
    QPointer<QWidget> root_;        // top-level widget, or the MDI sub-window
    QPointer<QMainWindow> frame_;   // frames only
    QMdiArea* mdi_ = nullptr;
    QMdiSubWindow* sub_ = nullptr;
    QWidget* container_ = nullptr;  // menu bar, tool bar, content, status bar
    QWidget* content_ = nullptr;    // where controls are placed
    QMenuBar* menuBar_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    std::vector<QWidget*> statusZones_;
    std::unique_ptr<WindowEvents> events_;
    QTimer* timer_ = nullptr;
    // Pixels per dialog unit across and down: the window font's, grown
    // where the window's texts do not fit at its designed size.
    double unitX_ = 1, unitY_ = 1;

    // events
    std::deque<Pending> queue_;
    int event_ = 0;
    int field_ = 0;
    int keyCode_ = 0;
    int lastInput_ = 0;
    int refused_ = 0;  // the entry just refused, to say why before the program hears of it
    bool cancelling_ = false;
    bool cycle_ = false;
    bool inPass_ = false;
    int timerHundredths_ = 0;
    bool acceptAll_ = false;
    bool acceptAllRunning_ = false;
    std::size_t acceptAllNext_ = 0;
    bool callDisabled_ = false;
    bool closeDownSent_ = false;
    int focus_ = 0;
    std::vector<int> alerts_;
    int minW_ = 0, minH_ = 0;
};

// Every open window, oldest first.
const std::vector<Window*>& OpenWindows();
// The window a thread accepts events in now (its newest), or nullptr.
Window* TopWindow(int thread);
// The open frame, or nullptr.
Window* FrameWindow();

// Moves a top-level dialog so it is centred on its owner's window (an MDI
// child's own rectangle), or on the screen without one, and inside the
// screen either way.
void PlaceOverOwner(QWidget* dialog, const Window* owner);

// The one dialog-unit conversion: a quarter of the font's average character
// width and an eighth of its height, as the layouts were drawn.
void DialogUnitBase(const FontPlan& font, int& charWidth, int& charHeight);

}  // namespace fw
