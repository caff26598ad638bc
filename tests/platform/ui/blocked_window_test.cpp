// A window of ours blocked by a modal window (our message box, one of our
// dialogs, Qt's file and print dialogs): real mouse presses, double-clicks,
// wheel turns and keys on each of its controls do nothing and crash
// nothing; once the modal window is gone the same input reaches it again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest/QSpontaneKeyEvent>
#include <QtTest/QTest>

#include <string>
#include <vector>

#include "platform/ui/common_dialogs.h"
#include "platform/ui/events.h"
#include "platform/ui/layout.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace {

// Qt's file dialog keeps its state in the settings folder: this program's
// go to a folder of its own, set before Qt first looks.
[[maybe_unused]] const bool kPrivateSettings = [] {
    static QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
    return true;
}();

using fw::DialogKind;
using fw::testing::Driver;
using fw::testing::GTestFailures;

enum class Modal { MessageBox, OurDialog, FileDialog, PrintDialog };

struct Case {
    const char* window;  // SAMPLE: a control of each kind; WIDGETS: the paged list and the other widgets
    Modal modal;
};

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    const char* modal[] = {"MessageBox", "OurDialog", "FileDialog", "PrintDialog"};
    return std::string(info.param.window) + "BehindA" + modal[static_cast<int>(info.param.modal)];
}

struct Program {
    bool modalUp = false;
    std::vector<std::string> events;  // control events the blocked window got while and after it was blocked
};

void ShowModal(Modal modal) {
    switch (modal) {
    case Modal::MessageBox: fw::MESSAGE("Deletion Successful", "Done", fw::Icon::Asterisk); break;
    case Modal::OurDialog: {
        fw::Window called("CALLED");
        called.Open();
        while (fw::ACCEPT()) {
        }
        break;
    }
    case Modal::FileDialog: {
        std::string file;
        fw::FILEDIALOG("Choose a Book", file, "SongBooks|*.2bk");
        break;
    }
    case Modal::PrintDialog: fw::PRINTERDIALOG("Print"); break;
    }
}

void BlockedWindow(const Case& c, Program& p) {
    fw::Window w(c.window);
    w.Open();
    bool shown = false;
    while (fw::ACCEPT()) {
        if (fw::EVENT() == fw::Event::OpenWindow && !shown) {
            shown = true;
            p.modalUp = true;
            ShowModal(c.modal);
            p.modalUp = false;
            continue;
        }
        if (!shown || fw::FIELD().number == 0 || fw::EVENT() == fw::Event::Selected) continue;
        p.events.push_back(std::to_string(fw::EVENT()) + " " + w.Find(fw::FIELD().number)->Equate());
    }
}

// What each control shows: its text, highlight and rows.
std::vector<std::string> Snapshot(const fw::Window& w) {
    std::vector<std::string> out;
    for (const auto& c : w.Controls()) {
        std::string s = c->Equate() + "=" + c->Text() + "/" + std::to_string(c->Highlight());
        for (const std::string& row : c->Rows()) s += "/" + row;
        out.push_back(s);
    }
    return out;
}

// Input as the window system delivers it: to the top-level window at a
// point, which Qt hands to the widget there (and to its parents when that
// one ignores it).
class RealInput {
public:
    explicit RealInput(QWidget* top) : top_(top), window_(top->windowHandle()) {}

    void Mouse(QWidget* widget) {
        const QPoint at = widget->mapTo(top_, widget->rect().center());
        QTest::mouseClick(window_, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseClick(window_, Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseDClick(window_, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseClick(window_, Qt::MiddleButton, Qt::NoModifier, at);
        for (int notch : {120, -120, -120}) {
            QWheelEvent wheel(at, top_->mapToGlobal(at), QPoint(), QPoint(0, notch), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QSpontaneKeyEvent::setSpontaneous(&wheel);
            QApplication::sendEvent(window_, &wheel);
        }
    }

    // Keys to the window (its focus widget) and, spontaneous, to the widget itself.
    void Keys(QWidget* widget) {
        for (auto [key, mods] : Strokes()) QTest::keyClick(window_, key, mods);
        for (auto [key, mods] : Strokes()) {
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                const QString text = key == Qt::Key_X ? "x" : key == Qt::Key_Space ? " " : QString();
                QKeyEvent e(type, key, mods, text);
                QSpontaneKeyEvent::setSpontaneous(&e);
                QApplication::sendEvent(widget, &e);
            }
        }
    }

private:
    static std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> Strokes() {
        return {{Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Space, Qt::NoModifier}, {Qt::Key_Down, Qt::NoModifier},
                {Qt::Key_PageDown, Qt::NoModifier}, {Qt::Key_Insert, Qt::NoModifier}, {Qt::Key_Delete, Qt::NoModifier},
                {Qt::Key_X, Qt::NoModifier}, {Qt::Key_Return, Qt::ControlModifier}, {Qt::Key_A, Qt::AltModifier},
                {Qt::Key_Escape, Qt::NoModifier}};
    }
    QWidget* top_;
    QWindow* window_;
};

class BlockedWindowTest : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override { fw::SetLayoutFolder(CV_TEST_DIR "/layouts"); }
    void TearDown() override { fw::SetLayoutFolder({}); }

    void HoldTheModal() {
        switch (GetParam().modal) {
        case Modal::MessageBox: d.HoldDialog(DialogKind::Message, "Deletion Successful"); break;
        case Modal::FileDialog: d.HoldDialog(DialogKind::File); break;
        case Modal::PrintDialog: d.HoldDialog(DialogKind::Printer); break;
        case Modal::OurDialog: break;
        }
    }
    void CloseTheModal() {
        if (GetParam().modal == Modal::OurDialog) d.CloseWindow("CALLED");
        else d.AnswerHeld(fw::Button::Ok);
    }

    Driver d{GTestFailures()};
    Program program;
};

TEST_P(BlockedWindowTest, InputOnEveryControlDoesNothing) {
    HoldTheModal();
    const Case c = GetParam();
    d.Start([&] { BlockedWindow(c, program); });
    fw::Window* w = d.FindWindow(c.window);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(program.modalUp);
    ASSERT_TRUE(c.modal == Modal::OurDialog ? d.IsOpen("CALLED") : d.Holding());
    ASSERT_TRUE(w->CallDisabled());

    const std::vector<std::string> before = Snapshot(*w);
    const int focus = w->Focus();
    QWidget* top = w->Root()->window();
    RealInput input(top);
    std::vector<QWidget*> targets;
    for (const auto& control : w->Controls())
        if (control->Widget() && control->Widget()->isVisible()) targets.push_back(control->Widget());
    if (auto* bar = top->findChild<QMenuBar*>()) targets.push_back(bar);
    ASSERT_GT(targets.size(), 5u);
    for (QWidget* target : targets) {
        input.Mouse(target);
        input.Keys(target);
        d.Settle();
    }

    EXPECT_TRUE(w->IsOpen());
    EXPECT_TRUE(program.modalUp) << "the modal window went";
    EXPECT_EQ(Snapshot(*w), before);
    EXPECT_EQ(w->Focus(), focus);
    CloseTheModal();
    EXPECT_FALSE(program.modalUp);
    EXPECT_TRUE(program.events.empty()) << "first: " << program.events.front();

    // Unblocked, the same click reaches the window again.
    fw::Control* list = w->Find(std::string(c.window) == "SAMPLE" ? "?LIST" : "?QUEUE");
    ASSERT_NE(list, nullptr);
    input.Mouse(list->Widget());
    d.Settle();
    EXPECT_FALSE(program.events.empty());
    d.CloseWindow(c.window);
}

INSTANTIATE_TEST_SUITE_P(EveryModalKind, BlockedWindowTest,
                         ::testing::Values(Case{"SAMPLE", Modal::MessageBox}, Case{"SAMPLE", Modal::OurDialog},
                                           Case{"SAMPLE", Modal::FileDialog}, Case{"SAMPLE", Modal::PrintDialog},
                                           Case{"WIDGETS", Modal::MessageBox}, Case{"WIDGETS", Modal::OurDialog},
                                           Case{"WIDGETS", Modal::FileDialog}, Case{"WIDGETS", Modal::PrintDialog}),
                         CaseName);

}  // namespace
