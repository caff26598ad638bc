#include "platform/ui/testing/driver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <cstdio>

#include "platform/text/clock.h"
#include "platform/text/codepage.h"
#include "platform/ui/events.h"
#include "platform/ui/ui_state.h"

namespace fw::testing {
namespace {

const char* KindName(DialogKind k) {
    switch (k) {
    case DialogKind::Message: return "message";
    case DialogKind::File: return "file dialog";
    case DialogKind::Color: return "colour dialog";
    case DialogKind::Font: return "font dialog";
    case DialogKind::Printer: return "printer dialog";
    case DialogKind::PrinterSetup: return "printer set-up";
    case DialogKind::Popup: return "pop-up menu";
    }
    return "dialog";
}

std::string Shown(const std::string& ansi) { return AnsiToUtf8(ansi); }

// The Qt key of a framework key code, for Key().
bool QtKeyOf(int code, int& key, Qt::KeyboardModifiers& mods) {
    mods = Qt::NoModifier;
    if (code & fw::KeyCode::Shift) mods |= Qt::ShiftModifier;
    if (code & fw::KeyCode::Ctrl) mods |= Qt::ControlModifier;
    if (code & fw::KeyCode::Alt) mods |= Qt::AltModifier;
    int vk = code & 0xFF;
    if (vk >= 'A' && vk <= 'Z') { key = Qt::Key_A + (vk - 'A'); return true; }
    if (vk >= '0' && vk <= '9') { key = Qt::Key_0 + (vk - '0'); return true; }
    if (vk >= fw::KeyCode::F1 && vk < fw::KeyCode::F1 + 12) { key = Qt::Key_F1 + (vk - fw::KeyCode::F1); return true; }
    switch (vk) {
    case fw::KeyCode::Enter: key = Qt::Key_Return; return true;
    case fw::KeyCode::Esc: key = Qt::Key_Escape; return true;
    case fw::KeyCode::Tab: key = Qt::Key_Tab; return true;
    case fw::KeyCode::Backspace: key = Qt::Key_Backspace; return true;
    case fw::KeyCode::Space: key = Qt::Key_Space; return true;
    case fw::KeyCode::PgUp: key = Qt::Key_PageUp; return true;
    case fw::KeyCode::PgDn: key = Qt::Key_PageDown; return true;
    case fw::KeyCode::Home: key = Qt::Key_Home; return true;
    case fw::KeyCode::End: key = Qt::Key_End; return true;
    case fw::KeyCode::Left: key = Qt::Key_Left; return true;
    case fw::KeyCode::Right: key = Qt::Key_Right; return true;
    case fw::KeyCode::Up: key = Qt::Key_Up; return true;
    case fw::KeyCode::Down: key = Qt::Key_Down; return true;
    case fw::KeyCode::Insert: key = Qt::Key_Insert; return true;
    case fw::KeyCode::Delete: key = Qt::Key_Delete; return true;
    case fw::KeyCode::Apostrophe: key = Qt::Key_Apostrophe; return true;
    default: return false;
    }
}

}  // namespace

Driver::Driver(FailureSink onFailure) : sink_(std::move(onFailure)) {
    EnsureUiInstalled();
    runtime::SetHaltCapture(true);
    runtime::ClearHalt();
    Ui().manualTimers = true;
}

Driver::~Driver() {
    runtime::UnwindAll();
    // Windows a test made on its own stack close with it; any left open here
    // belonged to unwound threads.
    while (!OpenWindows().empty()) OpenWindows().back()->Close();
    runtime::ClearHalt();
    Ui() = UiState{};
    ResetClock();
    QCoreApplication::sendPostedEvents();
}

void Driver::Fail(const std::string& message) const {
    failures_.push_back(message);
    if (sink_) sink_(message);
    else std::fprintf(stderr, "test driver: %s\n", message.c_str());
}

int Driver::Start(Procedure procedure) {
    int n = START(std::move(procedure));
    if (!n) Fail("START failed");
    Settle();
    return n;
}

void Driver::Settle() {
    int quiet = 0;
    QElapsedTimer waited;
    waited.start();
    for (int round = 0; round < 1000000 && quiet < 2; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        bool ran = runtime::RunReady();
        bool answered = AnswerDialogs();
        if (ran || answered || runtime::HasReady()) {
            quiet = 0;
        } else if (runtime::OutsideWork() > 0 && waited.elapsed() < outsideWaitMs_) {
            // Sockets and their timers report through the Qt loop.
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
            quiet = 0;
        } else {
            ++quiet;
        }
    }
}

bool Driver::PumpUntil(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() >= milliseconds) return false;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        runtime::RunReady();
        AnswerDialogs();
    }
    return true;
}

void Driver::Tick(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        std::vector<Window*> windows = OpenWindows();
        for (Window* w : windows) w->FireTimer();
        Settle();
    }
}

bool Driver::TickUntil(const std::function<bool()>& condition, int maxRounds) {
    for (int i = 0; i < maxRounds; ++i) {
        if (condition()) return true;
        Tick();
    }
    return condition();
}

bool Driver::AnswerDialogs() {
    std::vector<PendingDialog*> pending = PendingDialogs();
    bool any = false;
    for (PendingDialog* d : pending) {
        if (answered_.count(d->serial)) continue;
        answered_.insert(d->serial);
        any = true;
        std::string shown = d->title + ": " + d->text;
        if (d->kind == DialogKind::Message) messages_.push_back(shown);
        if (d->kind == DialogKind::Popup) popups_.push_back(d->buttons);
        if (!script_.empty() && script_.front().kind == d->kind &&
            (d->kind != DialogKind::Message || d->text.find(script_.front().containing) != std::string::npos)) {
            const Entry entry = script_.front();
            script_.pop_front();
            if (entry.hold) held_ = d->serial;
            else d->answer(entry.answer);
            continue;
        }
        Fail(std::string("unexpected ") + KindName(d->kind) + " \"" + Shown(shown) + "\"" +
             (script_.empty() ? std::string() : std::string(" (the script expected a ") + KindName(script_.front().kind) +
                                                    (script_.front().containing.empty() ? "" : " with \"" + Shown(script_.front().containing) + "\"") + ")"));
        DialogAnswer a;
        a.button = d->kind == DialogKind::Message ? d->defaultAnswer : 0;
        a.ok = d->kind == DialogKind::Message;
        d->answer(a);
    }
    return any;
}

Control* Driver::Locate(std::string_view equate, std::string_view window, bool forInput) const {
    const auto& open = OpenWindows();
    Control* found = nullptr;
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
        if (!window.empty() && CompareFolded((*it)->Label(), window) != 0) continue;
        Control* c = (*it)->Find(equate);
        if (!c) continue;
        if (!forInput || c->Usable()) return c;
        if (!found) found = c;
    }
    if (found) {
        Fail("control " + std::string(equate) + " of window " + found->Owner().Label() +
             " cannot take input (hidden, disabled or its window is inside a call)");
        return nullptr;
    }
    Fail("no open window has control " + std::string(equate));
    return nullptr;
}

bool Driver::Press(std::string_view equate, std::string_view window) {
    Control* c = Locate(equate, window, true);
    if (!c) return false;
    bool ok = c->UserPress();
    if (!ok) Fail("control " + std::string(equate) + " cannot be pressed");
    Settle();
    return ok;
}

bool Driver::Type(std::string_view equate, std::string_view text, std::string_view window) {
    Control* c = Locate(equate, window, true);
    if (!c) return false;
    bool ok = c->UserType(std::string(text));
    if (!ok) Fail("control " + std::string(equate) + " does not take typing");
    Settle();
    return ok;
}

bool Driver::Choose(std::string_view equate, int row, std::string_view window) {
    Control* c = Locate(equate, window, true);
    if (!c) return false;
    bool ok = c->UserChoose(row);
    if (!ok) Fail("control " + std::string(equate) + " has no choice " + std::to_string(row));
    Settle();
    return ok;
}

bool Driver::RightClick(std::string_view equate, int row, std::string_view window) {
    Control* c = Locate(equate, window, true);
    if (!c) return false;
    bool ok = c->UserRightClick(row);
    if (!ok) Fail("control " + std::string(equate) + " has no row " + std::to_string(row));
    Settle();
    return ok;
}

bool Driver::DoubleClick(std::string_view equate, int row, int column, std::string_view window) {
    Control* c = Locate(equate, window, true);
    if (!c) return false;
    bool ok = c->UserDoubleClick(row, column);
    if (!ok) Fail("control " + std::string(equate) + " has no cell " + std::to_string(row) + "," + std::to_string(column));
    Settle();
    return ok;
}

bool Driver::Check(std::string_view equate, bool on, std::string_view window) {
    Control* c = Locate(equate, window, true);
    if (!c) return false;
    bool ok = c->UserCheck(on);
    if (!ok) Fail("control " + std::string(equate) + " is not a check box");
    Settle();
    return ok;
}

bool Driver::Key(std::string_view equate, int code, std::string_view window) {
    Control* c = Locate(equate, window, true);
    if (!c) return false;
    QWidget* target = c->KeyTarget() ? c->KeyTarget() : c->Owner().Content();
    int low = code & 0xFF;
    if (low >= fw::KeyCode::MouseLeft && low <= fw::KeyCode::MouseCenter2 && low != 3) {
        bool twice = low >= fw::KeyCode::MouseLeft2;
        int base = twice ? low - (fw::KeyCode::MouseLeft2 - fw::KeyCode::MouseLeft) : low;
        Qt::MouseButton button = base == fw::KeyCode::MouseLeft ? Qt::LeftButton : base == fw::KeyCode::MouseRight ? Qt::RightButton : Qt::MiddleButton;
        QPointF at(target->width() / 2.0, target->height() / 2.0);
        QMouseEvent press(twice ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, at, target->mapToGlobal(at), button,
                          button, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
    } else {
        int key = 0;
        Qt::KeyboardModifiers mods;
        if (!QtKeyOf(code, key, mods)) {
            Fail("no Qt key for key code " + std::to_string(code));
            return false;
        }
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(target, &press);
    }
    Settle();
    return true;
}

bool Driver::ClickAt(std::string_view equate, int x, int y, std::string_view window) {
    Control* c = Locate(equate, window, true);
    if (!c) return false;
    QWidget* host = c->Widget() ? c->Widget() : c->Owner().Content();
    QWidget* target = host->childAt(x, y);
    if (!target) target = host;
    QPointF at = target->mapFrom(host, QPointF(x, y));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, target->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    Settle();
    return true;
}

bool Driver::TypeKeys(std::string_view equate, std::string_view text, std::string_view window) {
    Control* c = Locate(equate, window, true);
    if (!c) return false;
    QWidget* target = c->Widget() ? c->Widget() : c->Owner().Content();
    target->setFocus();
    Settle();
    for (char ch : text) {
        QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : target;
        const QString s = QString(QChar::fromLatin1(ch));
        const int key = ch >= 'a' && ch <= 'z' ? Qt::Key_A + (ch - 'a') : QChar::fromLatin1(ch).toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, s);
        QApplication::sendEvent(to, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, s);
        QApplication::sendEvent(to, &release);
    }
    Settle();
    return true;
}

bool Driver::CloseWindow(std::string_view window) {
    Window* w = window.empty() ? (OpenWindows().empty() ? nullptr : OpenWindows().back()) : FindWindow(window);
    if (!w) {
        Fail("no open window " + std::string(window));
        return false;
    }
    w->Root()->close();
    Settle();
    return true;
}

bool Driver::Activate(std::string_view window) {
    Window* w = FindWindow(window);
    if (!w) {
        Fail("no open window " + std::string(window));
        return false;
    }
    ActivateWindow(w);
    Settle();
    return true;
}

std::string Driver::Text(std::string_view equate, std::string_view window) const {
    Control* c = Locate(equate, window, false);
    return c ? c->Text() : std::string();
}

bool Driver::Enabled(std::string_view equate, std::string_view window) const {
    Control* c = Locate(equate, window, false);
    return c && c->EffectiveEnabled() && !c->Owner().CallDisabled();
}

bool Driver::Hidden(std::string_view equate, std::string_view window) const {
    Control* c = Locate(equate, window, false);
    return c && !c->EffectiveVisible();
}

std::vector<std::string> Driver::Rows(std::string_view equate, std::string_view window) const {
    Control* c = Locate(equate, window, false);
    return c ? c->Rows() : std::vector<std::string>{};
}

int Driver::Highlight(std::string_view equate, std::string_view window) const {
    Control* c = Locate(equate, window, false);
    return c ? c->Highlight() : 0;
}

Window* Driver::FindWindow(std::string_view label) const {
    const auto& open = OpenWindows();
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        if (CompareFolded((*it)->Label(), label) == 0) return *it;
    return nullptr;
}

std::string Driver::Caption(std::string_view label) const {
    Window* w = FindWindow(label);
    return w ? w->Get(Prop::Text).Str() : std::string();
}

bool Driver::Screenshot(std::string_view label, const std::string& pngPath) const {
    Window* w = FindWindow(label);
    if (!w) return false;
    QWidget* top = w->Root()->window();  // an MDI child is shown inside its frame
    return top->grab().save(QString::fromStdString(pngPath), "PNG");
}

void Driver::AnswerMessage(std::string_view containing, int answer) {
    DialogAnswer a;
    a.ok = true;
    a.button = answer;
    std::string text(containing);
    for (char& c : text)
        if (c == '|') c = '\n';
    script_.push_back({DialogKind::Message, text, a});
}

void Driver::HoldDialog(DialogKind kind, std::string_view containing) {
    std::string text(containing);
    for (char& c : text)
        if (c == '|') c = '\n';
    script_.push_back({kind, text, {}, true});
}

bool Driver::Holding() const {
    for (PendingDialog* d : PendingDialogs())
        if (held_ && d->serial == held_) return true;
    return false;
}

void Driver::AnswerHeld(int button, bool ok) {
    for (PendingDialog* d : PendingDialogs()) {
        if (!held_ || d->serial != held_) continue;
        DialogAnswer a;
        a.button = button;
        a.ok = ok || d->kind == DialogKind::Message;
        held_ = 0;
        d->answer(a);
        Settle();
        return;
    }
    Fail("no dialog is held open");
}

void Driver::AnswerFileDialog(std::string path) {
    DialogAnswer a;
    a.ok = !path.empty();
    a.file = std::move(path);
    script_.push_back({DialogKind::File, {}, a});
}

void Driver::AnswerColorDialog(long color) {
    DialogAnswer a;
    a.ok = color >= 0;
    a.color = color;
    script_.push_back({DialogKind::Color, {}, a});
}

void Driver::AnswerFontDialog(std::string typeface, int size, long color, int style) {
    DialogAnswer a;
    a.ok = true;
    a.typeface = std::move(typeface);
    a.size = size;
    a.color = color;
    a.style = style;
    script_.push_back({DialogKind::Font, {}, a});
}

void Driver::CancelFontDialog() { script_.push_back({DialogKind::Font, {}, DialogAnswer{}}); }

void Driver::AnswerPrinterDialog(bool ok) {
    DialogAnswer a;
    a.ok = ok;
    script_.push_back({DialogKind::Printer, {}, a});
}

void Driver::AnswerPopup(int item) {
    DialogAnswer a;
    a.ok = true;
    a.button = item;
    script_.push_back({DialogKind::Popup, {}, a});
}

bool Driver::Halted() const { return runtime::Halted(); }
std::string Driver::HaltText() const { return runtime::HaltText(); }

void Driver::FixClock(long date, long hundredths) { fw::FixClock(date, hundredths); }

}  // namespace fw::testing
