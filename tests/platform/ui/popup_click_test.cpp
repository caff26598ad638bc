// A click outside an open completion pop-up or drop-down, as a window
// system delivers it (QTest, press then release): to the window under the
// pointer, or, as X11 does while the pop-up grabs the mouse, both halves to
// the pop-up's window. It closes the pop-up and acts on what it was clicked
// on, once; Qt alone only closes the pop-up there. A click on a window
// inside a call only closes it; a click on the drop-down's own combo closes
// the list for good.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QWindow>
#include <QtTest/QTest>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/text/fixed_string.h"
#include "platform/ui/control.h"
#include "platform/ui/events.h"
#include "platform/ui/layout.h"
#include "platform/ui/pick_list.h"
#include "platform/ui/props.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/widgets/paged_list_widget.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace {

using Strings = std::vector<std::string>;

enum class Popup { PickListCompleter, FromCompleter, DropListDropDown, ComboDropDown };
enum class Target { Button, Entry, ListRow };
enum class Delivery { ToTheWindowThere, ToThePopUpThatGrabs };

struct Program {
    bool pickList = true;  // ?GENRE keeps its pick list (else FROM rows after one)
    fw::FString<20> genre, font, name;
    Strings accepted;
};

// SAMPLE, with ?GENRE on a pick list.
void Sample(Program& p) {
    fw::Window w("SAMPLE");
    w.Use("?GENRE", p.genre);
    w.Use("?FONT", p.font);
    w.Use("?NAME", p.name);
    w.Open();
    fw::SetPickList("?GENRE", std::make_shared<const fw::PickList>(Strings{"Rock", "Rockabilly", "Pop"}));
    if (!p.pickList) fw::SetProp("?GENRE", fw::Prop::From, "Pop|Rock|Rockabilly");
    while (fw::ACCEPT()) {
        if (fw::ACCEPTED()) p.accepted.push_back(w.Find(fw::ACCEPTED().number)->Equate());
    }
}

// WIDGETS on a thread of its own; its timer opens CALLED, which blocks it.
void Other(bool& inCall) {
    fw::Window w("WIDGETS");
    w.Open();
    w.Set(fw::Prop::Timer, 100);  // fired by the driver's Tick only
    while (fw::ACCEPT()) {
        if (fw::EVENT() != fw::Event::Timer || inCall) continue;
        inCall = true;
        fw::Window called("CALLED");
        called.Open();
        while (fw::ACCEPT()) {
        }
        inCall = false;
    }
}

class PopupClickTest : public ::testing::Test {
protected:
    void SetUp() override { fw::SetLayoutFolder(CV_TEST_DIR "/layouts"); }
    void TearDown() override {
        for (const char* w : {"CALLED", "SAMPLE", "WIDGETS"})
            if (d.IsOpen(w)) d.CloseWindow(w);
        fw::SetLayoutFolder({});
    }

    void Open(Popup popup) {
        program.pickList = popup != Popup::FromCompleter;
        d.Start([this] { Sample(program); });
        w = d.FindWindow("SAMPLE");
        ASSERT_NE(w, nullptr);
        top = w->Root()->window();
        QComboBox* combo = Combo(popup == Popup::DropListDropDown ? "?FONT" : "?GENRE");
        switch (popup) {
        case Popup::PickListCompleter:
        case Popup::FromCompleter:
            d.TypeKeys("?GENRE", "ro");
            shown = combo->completer()->popup();
            break;
        case Popup::DropListDropDown:
        case Popup::ComboDropDown:
            combo->showPopup();
            d.Settle();
            shown = combo->view();
            break;
        }
        ASSERT_TRUE(shown->isVisible());
        ASSERT_EQ(QApplication::activePopupWidget(), shown->window());
        grab = shown->window()->windowHandle();
    }
    QComboBox* Combo(const char* equate) const { return qobject_cast<QComboBox*>(w->Find(equate)->Widget()); }

    // A press and a release at a point of a widget, through a window as
    // the window system hands them over.
    void Click(QWidget* widget, QPoint at, Delivery delivery = Delivery::ToTheWindowThere) {
        QWindow* to = delivery == Delivery::ToThePopUpThatGrabs ? grab : widget->window()->windowHandle();
        QTest::mouseClick(to, Qt::LeftButton, Qt::NoModifier, to->mapFromGlobal(widget->mapToGlobal(at)));
        d.Settle();
    }
    void Click(Target target, Delivery delivery = Delivery::ToTheWindowThere) {
        switch (target) {
        case Target::Button: Click(w->Find("?OK")->Widget(), w->Find("?OK")->Widget()->rect().center(), delivery); break;
        case Target::Entry: Click(w->Find("?NAME")->Widget(), QPoint(4, 4), delivery); break;
        case Target::ListRow: {
            auto* list = static_cast<fw::ui::PagedListWidget*>(w->Find("?LIST")->Widget());
            Click(list->viewport(), list->cellRect(3, 1).center(), delivery);
            break;
        }
        }
    }
    // What the click did, as the program and the user see it.
    std::string Effect() const {
        std::string out;
        if (std::count(program.accepted.begin(), program.accepted.end(), "?OK")) out += "pressed ";
        if (QApplication::focusWidget() == w->Find("?NAME")->Widget()) out += "typing ";
        if (d.Highlight("?LIST") == 3) out += "row3 ";
        return out;
    }

    fw::testing::Driver d{fw::testing::GTestFailures()};
    Program program;
    fw::Window* w = nullptr;
    QWidget* top = nullptr;
    QWidget* shown = nullptr;
    QWindow* grab = nullptr;  // the pop-up's window
};

TEST_F(PopupClickTest, AClickOutsideEachPopUpClosesItAndActsOnceOnWhatItHit) {
    const struct {
        Target target;
        const char* effect;
    } targets[] = {{Target::Button, "pressed "}, {Target::Entry, "typing "}, {Target::ListRow, "row3 "}};
    for (Delivery delivery : {Delivery::ToTheWindowThere, Delivery::ToThePopUpThatGrabs})
    for (Popup popup : {Popup::PickListCompleter, Popup::FromCompleter, Popup::DropListDropDown, Popup::ComboDropDown})
        for (const auto& t : targets) {
            SCOPED_TRACE(::testing::Message() << "delivery " << static_cast<int>(delivery) << ", pop-up "
                                              << static_cast<int>(popup) << ", target " << static_cast<int>(t.target));
            program = Program{};
            Open(popup);
            if (::testing::Test::HasFatalFailure()) return;
            Click(t.target, delivery);
            EXPECT_FALSE(shown->isVisible());
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            EXPECT_EQ(Effect(), t.effect);
            EXPECT_EQ(std::count(program.accepted.begin(), program.accepted.end(), "?OK"), t.target == Target::Button);
            // The release reached the widget pressed: the next click is an ordinary one.
            program.accepted.clear();
            Click(Target::Button);
            EXPECT_EQ(program.accepted, Strings{"?OK"});
            d.CloseWindow("SAMPLE");
        }
}

TEST_F(PopupClickTest, AClickOnAnotherWindowActsThereUnlessThatWindowIsInsideACall) {
    for (Delivery delivery : {Delivery::ToTheWindowThere, Delivery::ToThePopUpThatGrabs})
    for (bool blocked : {false, true})
        for (Popup popup : {Popup::PickListCompleter, Popup::ComboDropDown}) {
            SCOPED_TRACE(::testing::Message() << "delivery " << static_cast<int>(delivery) << ", blocked " << blocked
                                              << ", pop-up " << static_cast<int>(popup));
            bool inCall = false;
            d.Start([&] { Other(inCall); });
            fw::Window* other = d.FindWindow("WIDGETS");
            ASSERT_NE(other, nullptr);
            other->Root()->move(0, 420);  // below SAMPLE
            if (blocked) d.Tick();
            ASSERT_EQ(inCall, blocked);
            auto* queue = static_cast<fw::ui::PagedListWidget*>(other->Find("?QUEUE")->Widget());
            const int highlight = d.Highlight("?QUEUE", "WIDGETS");
            ASSERT_NE(highlight, 3);

            program = Program{};
            Open(popup);
            if (::testing::Test::HasFatalFailure()) return;
            const QPoint row3 = queue->cellRect(3, 1).center();
            ASSERT_EQ(QApplication::widgetAt(queue->viewport()->mapToGlobal(row3)), queue->viewport());
            Click(queue->viewport(), row3, delivery);
            EXPECT_FALSE(shown->isVisible());
            EXPECT_EQ(d.Highlight("?QUEUE", "WIDGETS"), blocked ? highlight : 3);
            EXPECT_EQ(inCall, blocked) << "the call ended";
            EXPECT_EQ(Effect(), "");
            if (blocked) d.CloseWindow("CALLED");
            d.CloseWindow("SAMPLE");
            d.CloseWindow("WIDGETS");
        }
}

TEST_F(PopupClickTest, AClickOnTheArrowOfItsOwnComboClosesTheDropDownForGood) {
    Open(Popup::ComboDropDown);
    QComboBox* genre = Combo("?GENRE");
    const QPoint arrow(genre->width() - 4, genre->height() / 2);
    ASSERT_FALSE(shown->window()->geometry().contains(genre->mapToGlobal(arrow)));  // the list drops below
    Click(genre, arrow, Delivery::ToThePopUpThatGrabs);
    EXPECT_FALSE(shown->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

}  // namespace
