#include "platform/ui/widgets/sheet_widget.h"

#include "platform/ui/widgets/color.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace fw::ui {
namespace {

class SheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* t : {"General", "Tracks", "Notes"}) sheet.addSheetTab(t);
        sheet.resize(300, 200);
        sheet.show();
    }
    void ClickTab(int i) {
        QTest::mouseClick(sheet.tabBar(), Qt::LeftButton, {}, sheet.tabBar()->tabRect(i).center());
    }
    SheetWidget sheet;
};

TEST_F(SheetTest, UserChangesAreAnnouncedThenMade) {
    QSignalSpy changing(&sheet, &SheetWidget::tabChanging);
    QSignalSpy selections(&sheet, &SheetWidget::newSelection);
    ClickTab(2);
    EXPECT_EQ(sheet.currentIndex(), 2);
    ASSERT_EQ(changing.count(), 1);
    EXPECT_EQ(changing.at(0).at(0).toInt(), 0);
    EXPECT_EQ(changing.at(0).at(1).toInt(), 2);
    ASSERT_EQ(selections.count(), 1);
    EXPECT_EQ(selections.at(0).at(0).toInt(), 2);

    ClickTab(2);  // the current tab: nothing
    EXPECT_EQ(changing.count(), 1);

    struct Case {
        QWidget* target;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int tab;
    } cases[] = {
        {sheet.tabBar(), Qt::Key_Left, Qt::NoModifier, 1},
        {&sheet, Qt::Key_Tab, Qt::ControlModifier, 2},
        {&sheet, Qt::Key_PageDown, Qt::ControlModifier, 0},  // wraps
        {&sheet, Qt::Key_PageUp, Qt::ControlModifier, 2},
        {sheet.tabBar(), Qt::Key_Right, Qt::NoModifier, 2},  // the last tab: stays
    };
    for (const auto& c : cases) {
        QTest::keyClick(c.target, c.key, c.mods);
        EXPECT_EQ(sheet.currentIndex(), c.tab) << c.key;
    }
    EXPECT_EQ(selections.count(), 5);

    sheet.setCurrentIndex(0);  // the program's own change raises nothing
    EXPECT_EQ(selections.count(), 5);
}

TEST_F(SheetTest, AChangeCanBeCancelledOrConfirmedLater) {
    QSignalSpy selections(&sheet, &SheetWidget::newSelection);
    auto refuse = QObject::connect(&sheet, &SheetWidget::tabChanging, &sheet, [this] { sheet.cancelTabChange(); });
    ClickTab(1);
    EXPECT_EQ(sheet.currentIndex(), 0);
    EXPECT_EQ(selections.count(), 0);
    QObject::disconnect(refuse);

    sheet.setConfirmTabChanges(true);
    ClickTab(1);
    EXPECT_EQ(sheet.currentIndex(), 0);
    EXPECT_EQ(sheet.pendingTab(), 1);
    sheet.confirmTabChange();
    EXPECT_EQ(sheet.currentIndex(), 1);
    EXPECT_EQ(sheet.pendingTab(), -1);
    EXPECT_EQ(selections.count(), 1);

    ClickTab(2);
    sheet.cancelTabChange();
    sheet.confirmTabChange();  // nothing pending any more
    EXPECT_EQ(sheet.currentIndex(), 1);
    EXPECT_EQ(selections.count(), 1);
}

TEST_F(SheetTest, DisabledTabsCannotBeChosen) {
    sheet.setTabEnabled(1, false);
    ClickTab(1);
    EXPECT_EQ(sheet.currentIndex(), 0);
    sheet.requestTabChange(1);
    EXPECT_EQ(sheet.currentIndex(), 0);
    QTest::keyClick(sheet.tabBar(), Qt::Key_Right);
    EXPECT_EQ(sheet.currentIndex(), 2);
}

TEST_F(SheetTest, TabsKeepTheirOwnColoursAndWeight) {
    const int normalWidth = sheet.tabBar()->tabRect(1).width();
    sheet.setTabTextColor(1, ColorFromBgr(0x800000));
    sheet.setTabBackgroundColor(1, ColorFromBgr(0x808080));
    sheet.setTabFontWeight(1, 700);
    EXPECT_EQ(sheet.tabStyle(1), (TabStyle{ColorFromBgr(0x800000), ColorFromBgr(0x808080), 700}));
    EXPECT_EQ(sheet.tabStyle(0), TabStyle{});
    EXPECT_GT(sheet.tabBar()->tabRect(1).width(), normalWidth) << "bold text needs a wider tab";

    const QImage shot = sheet.tabBar()->grab().toImage();
    const QPoint inside = sheet.tabBar()->tabRect(1).topLeft() + QPoint(4, 4);
    EXPECT_EQ(shot.pixelColor(inside), ColorFromBgr(0x808080));

    sheet.setTabFontWeight(1, 400);
    EXPECT_EQ(sheet.tabBar()->tabRect(1).width(), normalWidth);

    // Styles move with their tabs.
    sheet.removeTab(0);
    EXPECT_EQ(sheet.tabStyle(0).background, ColorFromBgr(0x808080));
}

}  // namespace
}  // namespace fw::ui
