// How windows meet the desktop's conventions: a dialog opens centred on the
// window that called it and inside the screen; a message box takes the
// keyboard, Enter is its default button; a focused button answers Enter and
// Space, an entry's Enter presses the default button; texts from data (a
// caption, a message, a prompt) are shown as they stand.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <QtTest/QTest>

#include <string>
#include <vector>

#include "platform/ui/events.h"
#include "platform/ui/layout.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace {

using fw::Prop;
using fw::testing::Driver;
using fw::testing::GTestFailures;

struct Program {
    std::vector<std::string> accepted;  // the buttons pressed, in order
    int answer = -1;                     // the last message box's answer
};

// SAMPLE, whose OK calls the small CALLED dialog, whose check box asks a
// question in a message box.
void Owner(Program& p) {
    fw::Window w("SAMPLE");
    w.Open();
    while (fw::ACCEPT()) {
        if (fw::EVENT() != fw::Event::Accepted) continue;
        const std::string equate = w.Find(fw::FIELD().number)->Equate();
        if (equate == "?OK" || equate == "?CANCEL") p.accepted.push_back(equate);
        if (equate == "?OK") {
            fw::Window called("CALLED");
            called.Open();
            while (fw::ACCEPT()) {
            }
        }
        if (equate == "?PRINT")
            p.answer = fw::MESSAGE("Delete <b>Rock & Roll</b>?", "[*] Hits", fw::Icon::Question,
                                   fw::Button::Yes + fw::Button::No, fw::Button::No);
    }
}

QRect ScreenRoom() { return QGuiApplication::primaryScreen()->availableGeometry(); }

QMessageBox* ShownBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
    return nullptr;
}

class DialogMannersTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::SetLayoutFolder(CV_TEST_DIR "/layouts");
        d.Start([this] { Owner(program); });
        owner = d.FindWindow("SAMPLE");
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override {
        if (d.IsOpen("CALLED")) d.CloseWindow("CALLED");
        if (d.IsOpen("SAMPLE")) d.CloseWindow("SAMPLE");
        fw::SetLayoutFolder({});
    }
    QWindow* OwnerWindow() const { return owner->Root()->windowHandle(); }

    Driver d{GTestFailures()};
    Program program;
    fw::Window* owner = nullptr;
};

TEST_F(DialogMannersTest, ACalledDialogOpensCentredOnItsCaller) {
    QWidget* root = owner->Root();
    const QRect room = ScreenRoom();
    root->move(room.right() - root->frameGeometry().width() - 10, room.bottom() - root->frameGeometry().height() - 10);
    d.Settle();
    d.Press("?OK", "SAMPLE");
    fw::Window* called = d.FindWindow("CALLED");
    ASSERT_NE(called, nullptr);
    const QRect at = called->Root()->frameGeometry();
    const QPoint offset = at.center() - root->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 4) << "the dialog is " << offset.x() << "," << offset.y() << " off its caller's centre";
    EXPECT_TRUE(room.contains(at));
}

TEST_F(DialogMannersTest, ADialogOverACallerAtTheScreensEdgeStaysOnTheScreen) {
    QWidget* root = owner->Root();
    const QRect room = ScreenRoom();
    root->move(room.right() - 40, room.bottom() - 30);  // almost off the screen
    d.Settle();
    d.Press("?OK", "SAMPLE");
    fw::Window* called = d.FindWindow("CALLED");
    ASSERT_NE(called, nullptr);
    EXPECT_TRUE(room.contains(called->Root()->frameGeometry()));
}

TEST_F(DialogMannersTest, AMessageBoxTakesTheKeyboardAndEnterIsItsDefault) {
    d.HoldDialog(fw::DialogKind::Message, "Rock");
    d.Check("?PRINT", true, "SAMPLE");
    ASSERT_TRUE(d.Holding());
    QMessageBox* box = ShownBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(QApplication::activeWindow(), box);
    ASSERT_NE(box->defaultButton(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), box->defaultButton());
    const QPoint offset = box->frameGeometry().center() - owner->Root()->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 4);
    // Shown as it stands: no rich text, the caption's "[*]" kept.
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->windowHandle()->title(), "[*] Hits");

    QTest::keyClick(box->windowHandle(), Qt::Key_Return);
    d.Settle();
    EXPECT_FALSE(d.Holding());
    EXPECT_EQ(program.answer, fw::Button::No);
    // The window that was active before the box is again.
    EXPECT_EQ(QApplication::activeWindow(), owner->Root());
}

TEST_F(DialogMannersTest, AFocusedButtonAnswersEnterAndSpace) {
    owner->Root()->activateWindow();
    owner->Find("?CANCEL")->Widget()->setFocus();
    d.Settle();
    QTest::keyClick(OwnerWindow(), Qt::Key_Space);
    d.Settle();
    EXPECT_EQ(program.accepted, std::vector<std::string>{"?CANCEL"});
}

TEST_F(DialogMannersTest, EnterOnAFocusedButtonPressesThatButton) {
    owner->Root()->activateWindow();
    owner->Find("?CANCEL")->Widget()->setFocus();
    d.Settle();
    QTest::keyClick(OwnerWindow(), Qt::Key_Return);
    d.Settle();
    EXPECT_EQ(program.accepted, std::vector<std::string>{"?CANCEL"});  // not the default, OK
    EXPECT_FALSE(d.IsOpen("CALLED"));
    EXPECT_FALSE(d.IsOpen("SAMPLE"));  // Cancel closes it
}

TEST_F(DialogMannersTest, EnterInAnEntryPressesTheDefaultButton) {
    owner->Root()->activateWindow();
    d.TypeKeys("?NAME", "Rose", "SAMPLE");
    QTest::keyClick(OwnerWindow(), Qt::Key_Return);
    d.Settle();
    EXPECT_EQ(program.accepted, std::vector<std::string>{"?OK"});
    EXPECT_TRUE(d.IsOpen("CALLED"));
}

TEST_F(DialogMannersTest, CaptionsAndPromptsShowTheirTextsAsTheyStand) {
    owner->Set(Prop::Text, "Rock [*] Roll.2bk");
    EXPECT_EQ(d.Caption("SAMPLE"), "Rock [*] Roll.2bk");
    EXPECT_EQ(OwnerWindow()->title(), "Rock [*] Roll.2bk");

    auto* prompt = qobject_cast<QLabel*>(owner->Find("?NAME:PROMPT")->Widget());
    ASSERT_NE(prompt, nullptr);
    owner->Set(Prop::Text, "<i>Title</i>:", owner->Feq("?NAME:PROMPT"));
    const QFontMetrics fm(prompt->font());
    EXPECT_GE(prompt->sizeHint().width(), fm.horizontalAdvance("<i>Title</i>:")) << "the prompt was taken as rich text";
}

}  // namespace
