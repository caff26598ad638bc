// The list, sheet, shape and image controls of a window, driven through the
// test driver: their events, properties and what the user sees.
#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/events.h"
#include "platform/ui/layout.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/widgets/color.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace {

using fw::Prop;
using fw::testing::Driver;
using fw::testing::GTestFailures;

std::string EventName(int e) {
    switch (e) {
    case fw::Event::Accepted: return "Accepted";
    case fw::Event::NewSelection: return "NewSelection";
    case fw::Event::ScrollUp: return "ScrollUp";
    case fw::Event::ScrollDown: return "ScrollDown";
    case fw::Event::PageUp: return "PageUp";
    case fw::Event::PageDown: return "PageDown";
    case fw::Event::ScrollTop: return "ScrollTop";
    case fw::Event::ScrollBottom: return "ScrollBottom";
    case fw::Event::ScrollDrag: return "ScrollDrag";
    case fw::Event::TabChanging: return "TabChanging";
    case fw::Event::EditKey: return "EditKey";
    case fw::Event::AlertKey: return "AlertKey";
    default: return {};
    }
}

struct Program {
    std::vector<std::string> log;
    bool refuseTabs = false;
    int thumbSeen = -1;
    std::vector<int> keys;            // EVENT:EditKey's key codes
    std::vector<std::string> edited;  // PROP:EditText at each
};

void WidgetsWindow(Program& p) {
    fw::Window w("WIDGETS");
    w.Open();
    while (fw::ACCEPT()) {
        const std::string name = EventName(fw::EVENT());
        if (name.empty()) continue;
        p.log.push_back(name + " " + w.Find(fw::FIELD().number)->Layout().spelling);
        if (fw::EVENT() == fw::Event::ScrollDrag) p.thumbSeen = fw::GetProp("?BROWSE", Prop::VScrollPos).Int();
        if (fw::EVENT() == fw::Event::TabChanging && p.refuseTabs) fw::CYCLE();
        if (fw::EVENT() == fw::Event::EditKey) {
            p.keys.push_back(fw::KEYCODE());
            p.edited.push_back(fw::GetProp("?BROWSE", Prop::EditText).Str());
        }
    }
}

class WidgetControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::SetLayoutFolder(CV_TEST_DIR "/layouts");
        d.Start([this] { WidgetsWindow(program); });
        w = d.FindWindow("WIDGETS");
        ASSERT_NE(w, nullptr);
        program.log.clear();
    }
    void TearDown() override {
        d.CloseWindow("WIDGETS");
        fw::SetLayoutFolder({});
    }
    template <class C>
    C& Control(const char* equate) {
        return *static_cast<C*>(w->Find(equate));
    }
    Driver d{GTestFailures()};
    Program program;
    fw::Window* w = nullptr;
};

TEST_F(WidgetControlsTest, PagedListRaisesScrollEventsAndShowsTheProgramsPage) {
    auto& list = Control<fw::ListControl>("?BROWSE");
    list.SetRows({{"Danny Boy", "7", "p1"}, {"Galway Girl", "12", "p2"}, {"Wild Rover", "0", "p3"}});
    EXPECT_EQ(d.Rows("?BROWSE"), (std::vector<std::string>{"Danny Boy|7", "Galway Girl|12", "Wild Rover|0"}))
        << "the hidden column is not shown";
    w->Set(Prop::Selected, 2, w->Feq("?BROWSE"));
    EXPECT_EQ(d.Highlight("?BROWSE"), 2);

    d.Key("?BROWSE", fw::KeyCode::Down);
    d.Key("?BROWSE", fw::KeyCode::PgDn);
    d.Key("?BROWSE", fw::KeyCode::Ctrl | fw::KeyCode::Home);
    d.Key("?BROWSE", fw::KeyCode::Ctrl | fw::KeyCode::End);
    d.Key("?BROWSE", fw::KeyCode::Up);
    EXPECT_EQ(program.log, (std::vector<std::string>{"ScrollDown ?BROWSE", "PageDown ?BROWSE", "ScrollTop ?BROWSE",
                                                     "ScrollBottom ?BROWSE", "ScrollUp ?BROWSE"}));
    EXPECT_EQ(d.Highlight("?BROWSE"), 2) << "the program moves the highlight";

    program.log.clear();
    QScrollBar* bar = list.List()->verticalScrollBar();
    w->Set(Prop::VScrollPos, 20, w->Feq("?BROWSE"));
    bar->setSliderDown(true);
    bar->setSliderPosition(57);
    bar->setSliderDown(false);
    d.Settle();
    EXPECT_EQ(program.log, (std::vector<std::string>{"ScrollDrag ?BROWSE"}));
    EXPECT_EQ(program.thumbSeen, 57);
    EXPECT_EQ(w->Get(Prop::VScroll, w->Feq("?BROWSE")).Int(), 1);
    w->Set(Prop::VScroll, 0, w->Feq("?BROWSE"));
    EXPECT_FALSE(bar->isVisible());

    program.log.clear();
    d.Choose("?BROWSE", 3);
    EXPECT_EQ(program.log, (std::vector<std::string>{"NewSelection ?BROWSE"}));
    EXPECT_EQ(w->Get(Prop::MouseDownRow, w->Feq("?BROWSE")).Int(), 3);
    EXPECT_EQ(w->Get(Prop::MouseDownField, w->Feq("?BROWSE")).Int(), 1);
    w->Set(Prop::MouseDownField, 2, w->Feq("?BROWSE"));
    EXPECT_EQ(w->Get(Prop::MouseDownField, w->Feq("?BROWSE")).Int(), 2);
    d.Press("?BROWSE");
    EXPECT_EQ(program.log.back(), "Accepted ?BROWSE");
}

TEST_F(WidgetControlsTest, ListCellOpensForTypingAndReportsItsEndingKeys) {
    auto& list = Control<fw::ListControl>("?BROWSE");
    list.SetRows({{"Danny Boy", "7", "p1"}, {"Galway Girl", "12", "p2"}});
    const int feq = w->Feq("?BROWSE");
    w->Set(Prop::Selected, 1, feq);
    w->Set(Prop::EditColumn, 1, feq);
    w->Set(Prop::EditText, "Danny Boy", feq);
    EXPECT_EQ(w->Get(Prop::EditColumn, feq).Int(), 1);
    EXPECT_TRUE(list.KeyTarget() != list.List()) << "keys go to the open cell";

    fw::ALERT("?BROWSE", fw::KeyCode::Delete);
    fw::ALERT("?BROWSE", 'D');
    d.Type("?BROWSE", "Danny Boy (live)");
    d.Key("?BROWSE", fw::KeyCode::Enter);
    d.Key("?BROWSE", fw::KeyCode::Down);
    d.Key("?BROWSE", fw::KeyCode::Home);
    d.Key("?BROWSE", fw::KeyCode::Delete);
    d.Key("?BROWSE", 'D');
    d.Key("?BROWSE", fw::KeyCode::Esc);
    EXPECT_EQ(program.keys, (std::vector<int>{fw::KeyCode::Enter, fw::KeyCode::Down, fw::KeyCode::Home,
                                              fw::KeyCode::Esc}));
    EXPECT_EQ(program.edited.front(), "Danny Boy (live)") << "the typed text is there when the key comes";
    EXPECT_EQ(program.edited.back(), "Danny Boy (live)")
        << "Delete and a letter edit the cell, the list's alerts notwithstanding";
    EXPECT_EQ(program.log, std::vector<std::string>(4, "EditKey ?BROWSE"))
        << "the cell's keys neither scroll nor accept the list";

    // A read-only cell still reports its keys but takes no typing.
    w->Set(Prop::ReadOnly, 1, feq);
    EXPECT_EQ(w->Get(Prop::ReadOnly, feq).Int(), 1);
    program.keys.clear();
    d.Key("?BROWSE", fw::KeyCode::Right);
    EXPECT_EQ(program.keys, std::vector<int>{fw::KeyCode::Right});

    w->Set(Prop::EditColumn, 0, feq);
    EXPECT_EQ(list.KeyTarget(), list.List()) << "closed: keys go to the list again";
    program.log.clear();
    d.Key("?BROWSE", fw::KeyCode::Down);
    EXPECT_EQ(program.log, std::vector<std::string>{"ScrollDown ?BROWSE"});
}

TEST_F(WidgetControlsTest, ListPageSizeFormatAndColours) {
    const int feq = w->Feq("?BROWSE");
    const int items = w->Get(Prop::Items, feq).Int();
    EXPECT_GT(items, 2);
    w->Set(Prop::Items, 4, feq);
    EXPECT_EQ(w->Get(Prop::Items, feq).Int(), 4);

    EXPECT_EQ(w->Get(Prop::Format, feq).Str(), "60L|M~Title~C@s20@40R~Track~@n3@0L~Pos~@s10@");
    w->Set(Prop::Format, std::string("40R~Track~@n3@#2#60L~Title~@s20@#1#"), feq);
    auto& list = Control<fw::ListControl>("?BROWSE");
    list.SetRows({{"Danny Boy", "7"}});
    EXPECT_EQ(d.Rows("?BROWSE"), (std::vector<std::string>{"7|Danny Boy"}));
    w->Set(Prop::Format, std::string("40R~Track"), feq);  // not a FORMAT: the columns stay
    EXPECT_EQ(d.Rows("?BROWSE"), (std::vector<std::string>{"7|Danny Boy"}));

    w->Set(Prop::FontColor, 0x800040, feq);
    w->Set(Prop::Color, 0xFFFFFF, feq);
    w->Set(Prop::SelectedColor, 0xFFFFFF, feq);
    w->Set(Prop::SelectedFill, 0x800040, feq);
    const fw::ui::CellColors c = list.List()->cellColors(1, 1);
    EXPECT_EQ(fw::ui::ToBgr(c.fg), 0x800040);
    EXPECT_EQ(fw::ui::ToBgr(c.bg), 0xFFFFFF);
    EXPECT_EQ(fw::ui::ToBgr(c.selectedFg), 0xFFFFFF);
    EXPECT_EQ(fw::ui::ToBgr(c.selectedBg), 0x800040);
}

TEST_F(WidgetControlsTest, WholeQueueListMovesItsOwnHighlight) {
    d.Choose("?QUEUE", 1);
    d.Key("?QUEUE", fw::KeyCode::Down);
    EXPECT_EQ(d.Highlight("?QUEUE"), 2);
    d.Key("?QUEUE", fw::KeyCode::End);
    EXPECT_EQ(d.Highlight("?QUEUE"), 8);
    EXPECT_EQ(w->Get(Prop::VScrollPos, w->Feq("?QUEUE")).Int(), 100);
    EXPECT_EQ(program.log, (std::vector<std::string>{"NewSelection ?QUEUE", "NewSelection ?QUEUE", "NewSelection ?QUEUE"}));
    EXPECT_EQ(d.Text("?QUEUE"), "theta");
}

TEST_F(WidgetControlsTest, TabChangingCanBeRefusedWithCycle) {
    program.refuseTabs = true;
    d.Choose("?SHEET", 2);
    EXPECT_EQ(program.log, (std::vector<std::string>{"TabChanging ?SHEET"}));
    EXPECT_EQ(d.Highlight("?SHEET"), 1);
    program.refuseTabs = false;
    program.log.clear();
    d.Choose("?SHEET", 2);
    EXPECT_EQ(program.log, (std::vector<std::string>{"TabChanging ?SHEET", "NewSelection ?SHEET"}));
    EXPECT_EQ(d.Highlight("?SHEET"), 2);
    EXPECT_EQ(w->Get(Prop::ChoiceFEQ, w->Feq("?SHEET")).Int(), w->Feq("?TAB2"));
}

TEST_F(WidgetControlsTest, TabsTakeTheirOwnColoursAndWeight) {
    auto& sheet = *static_cast<fw::ui::SheetWidget*>(w->Find("?SHEET")->Widget());
    EXPECT_EQ(sheet.tabStyle(1).text, fw::ui::ColorFromBgr(0x800000)) << "from the layout";
    EXPECT_EQ(sheet.tabStyle(1).background, fw::ui::ColorFromBgr(0x808080));
    const int tab1 = w->Feq("?TAB1");
    w->Set(Prop::FontColor, 0x0000FF, tab1);
    w->Set(Prop::FontStyle, 700, tab1);
    EXPECT_EQ(sheet.tabStyle(0), (fw::ui::TabStyle{fw::ui::ColorFromBgr(0x0000FF), QColor(), 700}));
    w->Set(Prop::FontStyle, 400, tab1);
    EXPECT_EQ(sheet.tabStyle(0).weight, 400);
}

TEST_F(WidgetControlsTest, ShapesTakeFillAndBorderAtRunTime) {
    auto& box = *Control<fw::ShapeControl>("?BOX").Shape();
    EXPECT_EQ(box.fillColor(), fw::ui::ColorFromBgr(0x8000));
    EXPECT_EQ(box.borderColor(), fw::ui::ColorFromBgr(0x800000));
    w->Set(Prop::Fill, 0x0000FF, w->Feq("?BOX"));
    w->Set(Prop::Color, 0, w->Feq("?BOX"));
    EXPECT_EQ(box.fillColor(), fw::ui::ColorFromBgr(0x0000FF));
    EXPECT_EQ(box.borderColor(), QColor(0, 0, 0));
    EXPECT_EQ(w->Get(Prop::Fill, w->Feq("?BOX")).Int(), 0x0000FF);
    EXPECT_FALSE(box.autoFillBackground()) << "the border colour is not a background";

    auto& circle = *Control<fw::ShapeControl>("?CIRCLE").Shape();
    EXPECT_EQ(circle.kind(), fw::ui::ShapeKind::Ellipse);
    w->Set(Prop::Fill, 0xFFFFFF, w->Feq("?CIRCLE"));
    EXPECT_EQ(circle.fillColor(), QColor(255, 255, 255));

    EXPECT_EQ(Control<fw::ShapeControl>("?LINE1").Shape()->kind(), fw::ui::ShapeKind::Line);
    w->Set(Prop::Hide, 1, w->Feq("?LINE1"));
    EXPECT_TRUE(d.Hidden("?LINE1"));
}

TEST_F(WidgetControlsTest, ImageFileChangesAtRunTime) {
    QTemporaryDir dir;
    const QString first = dir.filePath("logo.bmp"), second = dir.filePath("Page1.png");
    QImage(32, 16, QImage::Format_RGB32).save(first);
    QImage(64, 48, QImage::Format_RGB32).save(second);
    const int feq = w->Feq("?PICTURE");
    w->Set(Prop::Text, first.toStdString(), feq);
    EXPECT_EQ(w->Get(Prop::NaturalWidth, feq).Int(), w->PxToDuX(32));
    EXPECT_EQ(w->Get(Prop::NaturalHeight, feq).Int(), w->PxToDuY(16));
    // The name is found whatever its case.
    w->Set(Prop::Text, dir.filePath("PAGE1.PNG").toStdString(), feq);
    EXPECT_EQ(w->Get(Prop::NaturalWidth, feq).Int(), w->PxToDuX(64));
    EXPECT_EQ(d.Text("?PICTURE"), dir.filePath("PAGE1.PNG").toStdString());

    auto& image = *Control<fw::ImageControl>("?PICTURE").Image();
    w->Set(Prop::MaxWidth, 400, feq);
    w->Set(Prop::MaxHeight, 300, feq);
    w->Set(Prop::HScroll, 1, feq);
    w->Set(Prop::VScroll, 1, feq);
    EXPECT_EQ(image.shownSize(), QSize(w->DuToPxX(400), w->DuToPxY(300)));
    w->Set(Prop::HScrollPos, 25, feq);
    EXPECT_EQ(w->Get(Prop::HScrollPos, feq).Int(), 25);
    EXPECT_EQ(w->Get(Prop::VScroll, feq).Int(), 1);
}

}  // namespace
