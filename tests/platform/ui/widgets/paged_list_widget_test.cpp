#include "platform/ui/widgets/paged_list_widget.h"

#include "platform/ui/widgets/color.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace fw::ui {
namespace {

// Title, track, and a hidden date; five rows fit.
constexpr const char* kFormat = "80L|M~Title~C@s10@30R~Track~@n3@0L~Date~@s8@";

ListRow Row(std::string title, std::string track) { return {std::move(title), std::move(track), "x"}; }

std::vector<ListRow> Rows(int n) {
    std::vector<ListRow> rows;
    for (int i = 1; i <= n; ++i) rows.push_back(Row("Song " + std::to_string(i), std::to_string(i)));
    return rows;
}

class ListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(list.setFormatText(kFormat));
        list.resize(200, 100);
        list.setItems(5);
        list.show();
    }
    QPoint CellCenter(int row, int column) { return list.cellRect(row, column).center(); }
    void Wheel(int delta) {
        QWheelEvent e(QPointF(10, 10), list.viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list.viewport(), &e);
    }
    void DragThumbTo(int position) {
        QScrollBar* bar = list.verticalScrollBar();
        bar->setSliderDown(true);
        bar->setSliderPosition(position);
        bar->setSliderDown(false);
    }
    PagedListWidget list;
};

// Which of the seven scroll signals fired, by name.
struct ScrollSpies {
    explicit ScrollSpies(PagedListWidget& l)
        : up(&l, &PagedListWidget::scrollUp), down(&l, &PagedListWidget::scrollDown),
          pageUp(&l, &PagedListWidget::pageUp), pageDown(&l, &PagedListWidget::pageDown),
          top(&l, &PagedListWidget::scrollTop), bottom(&l, &PagedListWidget::scrollBottom),
          drag(&l, &PagedListWidget::scrollDrag) {}
    std::string Fired() const {
        std::string s;
        auto add = [&](const QSignalSpy& spy, const char* name) {
            for (int i = 0; i < spy.count(); ++i) s += s.empty() ? name : std::string(" ") + name;
        };
        add(up, "up");
        add(down, "down");
        add(pageUp, "pageUp");
        add(pageDown, "pageDown");
        add(top, "top");
        add(bottom, "bottom");
        add(drag, "drag");
        return s;
    }
    QSignalSpy up, down, pageUp, pageDown, top, bottom, drag;
};

TEST_F(ListTest, ItemsIsHowManyRowsFit) {
    EXPECT_EQ(list.items(), 5);
    list.setItems(12);
    EXPECT_EQ(list.items(), 12);
    list.resize(200, list.height() + list.rowHeight() / 2);  // half a row more is not a row
    EXPECT_EQ(list.items(), 12);
    QFont big = list.font();
    big.setPointSize(big.pointSize() * 2);
    list.setFont(big);
    EXPECT_LT(list.items(), 12) << "a bigger font fits fewer rows";
    list.setItems(12);
    EXPECT_EQ(list.items(), 12);
}

TEST_F(ListTest, PagedKeysRaiseScrollEventsWithoutMovingAnything) {
    list.setRows(Rows(5));
    list.setSelected(3);
    list.setScrollBarOn(true);
    list.setScrollPosition(40);
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        const char* fired;
    } cases[] = {
        {Qt::Key_Up, Qt::NoModifier, "up"},
        {Qt::Key_Down, Qt::NoModifier, "down"},
        {Qt::Key_PageUp, Qt::NoModifier, "pageUp"},
        {Qt::Key_PageDown, Qt::NoModifier, "pageDown"},
        {Qt::Key_Home, Qt::ControlModifier, "top"},
        {Qt::Key_End, Qt::ControlModifier, "bottom"},
        {Qt::Key_Home, Qt::NoModifier, "top"},
        {Qt::Key_End, Qt::NoModifier, "bottom"},
        {Qt::Key_Down, Qt::AltModifier, ""},
        {Qt::Key_A, Qt::NoModifier, ""},
    };
    for (const auto& c : cases) {
        ScrollSpies spies(list);
        QSignalSpy selections(&list, &PagedListWidget::newSelection);
        QTest::keyClick(&list, c.key, c.mods);
        EXPECT_EQ(spies.Fired(), c.fired) << c.key;
        EXPECT_EQ(selections.count(), 0);
        EXPECT_EQ(list.selected(), 3);
        EXPECT_EQ(list.scrollPosition(), 40);
    }
}

TEST_F(ListTest, PagedScrollBarAndWheelRaiseScrollEvents) {
    list.setRows(Rows(5));
    list.setScrollBarOn(true);
    list.setScrollPosition(50);
    QScrollBar* bar = list.verticalScrollBar();
    struct Case {
        QAbstractSlider::SliderAction action;
        const char* fired;
    } cases[] = {
        {QAbstractSlider::SliderSingleStepSub, "up"},     {QAbstractSlider::SliderSingleStepAdd, "down"},
        {QAbstractSlider::SliderPageStepSub, "pageUp"},   {QAbstractSlider::SliderPageStepAdd, "pageDown"},
        {QAbstractSlider::SliderToMinimum, "top"},        {QAbstractSlider::SliderToMaximum, "bottom"},
    };
    for (const auto& c : cases) {
        ScrollSpies spies(list);
        bar->triggerAction(c.action);
        EXPECT_EQ(spies.Fired(), c.fired);
        EXPECT_EQ(list.scrollPosition(), 50) << "the thumb stays where the program put it";
    }
    ScrollSpies spies(list);
    Wheel(120);
    Wheel(-240);
    Wheel(-60);  // half a notch: nothing yet
    EXPECT_EQ(spies.Fired(), "up down down");
    Wheel(-60);
    EXPECT_EQ(spies.down.count(), 3);
    EXPECT_EQ(list.topRow(), 1);
}

TEST_F(ListTest, PagedThumbDragReportsWhereItWasLetGo) {
    list.setRows(Rows(5));
    list.setScrollBarOn(true);
    list.setScrollPosition(10);
    ScrollSpies spies(list);
    DragThumbTo(57);
    EXPECT_EQ(spies.Fired(), "drag");
    EXPECT_EQ(spies.drag.at(0).at(0).toInt(), 57);
    EXPECT_EQ(list.scrollPosition(), 57);
    list.setScrollPosition(60);  // the program then shows its own step
    EXPECT_EQ(list.scrollPosition(), 60);
    list.setScrollBarOn(false);
    EXPECT_FALSE(list.verticalScrollBar()->isVisible());
}

TEST_F(ListTest, ClicksHighlightRowsAndReportWhereTheMouseWent) {
    list.setRows(Rows(4));
    list.setSelected(1);
    QSignalSpy selections(&list, &PagedListWidget::newSelection);
    QSignalSpy downs(&list, &PagedListWidget::mouseDown);
    QSignalSpy accepts(&list, &PagedListWidget::accepted);

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CellCenter(3, 2));
    EXPECT_EQ(list.selected(), 3);
    EXPECT_EQ(list.mouseDownRow(), 3);
    EXPECT_EQ(list.mouseDownColumn(), 2);
    EXPECT_EQ(selections.count(), 1);
    EXPECT_EQ(list.focusWidget(), &list);

    // The same row again still raises a selection: the program may read the column.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CellCenter(3, 1));
    EXPECT_EQ(selections.count(), 2);
    EXPECT_EQ(list.mouseDownColumn(), 1);
    list.setMouseDownColumn(2);
    EXPECT_EQ(list.mouseDownColumn(), 2);

    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, CellCenter(2, 1));
    EXPECT_EQ(list.selected(), 2);
    ASSERT_EQ(downs.count(), 3);
    EXPECT_EQ(downs.at(2).at(0).toInt(), 2);
    EXPECT_EQ(downs.at(2).at(2).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(selections.count(), 3);

    // Below the last row: the press is reported with row 0 and nothing is selected.
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, QPoint(10, list.rowHeight() * 4 + 3));
    EXPECT_EQ(list.mouseDownRow(), 0);
    EXPECT_EQ(list.selected(), 2);
    EXPECT_EQ(selections.count(), 3);
    EXPECT_EQ(accepts.count(), 0);

    // A press given to the list itself lands on the row under it.
    const QPoint onList = list.viewport()->mapTo(&list, CellCenter(4, 2));
    QTest::mouseClick(&list, Qt::LeftButton, {}, onList);
    EXPECT_EQ(list.selected(), 4);
    EXPECT_EQ(list.mouseDownColumn(), 2);
}

TEST_F(ListTest, DoubleClickAndEnterAccept) {
    list.setRows(Rows(4));
    QSignalSpy downs(&list, &PagedListWidget::mouseDown);
    QSignalSpy selections(&list, &PagedListWidget::newSelection);
    QSignalSpy accepts(&list, &PagedListWidget::accepted);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, CellCenter(2, 1));
    EXPECT_EQ(accepts.count(), 1);
    EXPECT_EQ(list.selected(), 2);
    ASSERT_GE(downs.count(), 1);
    EXPECT_TRUE(downs.last().at(3).toBool()) << "the last press is the double-click";
    EXPECT_EQ(list.mouseDownColumn(), 1);
    EXPECT_GE(selections.count(), 1);

    QTest::keyClick(&list, Qt::Key_Return);
    QTest::keyClick(&list, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(accepts.count(), 3);
    QTest::keyClick(&list, Qt::Key_Return, Qt::ControlModifier);  // left to the window (an alert key)
    EXPECT_EQ(accepts.count(), 3);
}

TEST_F(ListTest, CellsShowFieldsThroughPicturesAndFieldNumbers) {
    list.setRows({Row("A very long title", "7"), {"\xBB", "", ""}});
    EXPECT_EQ(list.cellText(1, 1), "A very lon");  // @s10
    EXPECT_EQ(list.cellText(1, 2), QString::fromStdString(fw::ui::ListColumn{.picture = "@n3"}.Show("7")));
    EXPECT_EQ(list.cellText(2, 1), QString::fromUtf8("\u00BB"));  // the tag mark, Windows-1252 BBh
    EXPECT_EQ(list.cellText(3, 1), "");
    EXPECT_EQ(list.cellText(1, 4), "");
    EXPECT_TRUE(list.header()->isSectionHidden(2));
    EXPECT_TRUE(list.cellRect(1, 3).isEmpty()) << "width 0 is present but not shown";
    // At least its format's 80, and ten capitals and digits (a code of the @s10 field).
    EXPECT_GE(list.cellRect(1, 1).width(), 80);
    EXPECT_GE(list.cellRect(1, 1).width(), list.fontMetrics().horizontalAdvance("PARTYTYME1"));
    EXPECT_FALSE(list.header()->isHidden());

    ASSERT_TRUE(list.setFormatText("30R~Track~@n3@#2#80L~Title~@s4@#1#"));
    EXPECT_EQ(list.cellText(1, 1), QString::fromStdString(fw::ui::ListColumn{.picture = "@n3"}.Show("7")));
    EXPECT_EQ(list.cellText(1, 2), "A ve");
    ASSERT_TRUE(list.setFormatText("80L@s20@"));
    EXPECT_TRUE(list.header()->isHidden()) << "no headings, no heading row";
    EXPECT_EQ(list.cellText(1, 1), "A very long title");
}

TEST_F(ListTest, ABadFormatKeepsTheColumns) {
    std::string error;
    EXPECT_FALSE(list.setFormatText("80L~Title", &error));
    EXPECT_EQ(error, "heading not closed at position 5");
    EXPECT_EQ(list.formatText(), kFormat);
}

TEST_F(ListTest, FormatReadsBackTheWidthsTheUserSet) {
    list.setDialogUnitWidth(1.5);
    EXPECT_EQ(list.cellRect(1, 1).width(), 0) << "no rows yet";
    list.setRows(Rows(1));
    EXPECT_EQ(list.cellRect(1, 1).width(), 120);
    EXPECT_EQ(list.header()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(list.header()->sectionResizeMode(1), QHeaderView::Fixed);
    list.header()->resizeSection(0, 150);  // as a drag of the heading border does
    EXPECT_EQ(list.formatText(), "100L|M~Title~C@s10@30R~Track~@n3@0L~Date~@s8@");
}

// Narrow columns show their heading and their field's full width in the
// list's font; the long text columns share the rest of the list, as wide
// as it is, so no empty strip is left right of the last column; where
// that is less than their own fields need, the list scrolls across.
TEST_F(ListTest, ColumnsShowTheirFieldsAndTheLongTextColumnsTakeTheRest) {
    QFont font("Arial");
    font.setPointSize(8);
    list.setFont(font);
    list.setDialogUnitWidth(1.25);
    ASSERT_TRUE(list.setFormatText("140L(2)|M~Title~@s40@135L(2)|M~Artist~@s40@32C|M~Disc ID~@s15@"
                                   "32C|M~Track~@n_4B@21C|M~Omit?~@s1@5C|M~Mfg.~@s2@"));
    const QFontMetrics fm(list.font());
    QHeaderView* h = list.header();
    for (int width : {500, 900}) {
        SCOPED_TRACE(width);
        list.resize(width, 200);
        const int room = list.viewport()->width();
        int sum = 0;
        for (int i = 0; i < 6; ++i) sum += h->sectionSize(i);
        if (width == 900) {
            EXPECT_EQ(sum, room) << "the columns fill the list";
            EXPECT_EQ(list.horizontalScrollBar()->maximum(), 0);
        } else {
            EXPECT_GT(sum, room) << "titles and artists keep their room";
            EXPECT_EQ(list.horizontalScrollBar()->maximum(), sum - room) << "the rest is scrolled to";
        }
        EXPECT_GE(h->sectionSize(0), 40 * fm.averageCharWidth()) << "a 40-character title";
        EXPECT_GE(h->sectionSize(2), 15 * fm.averageCharWidth()) << "a 15-character disc ID";
        EXPECT_GE(h->sectionSize(2), fm.horizontalAdvance("PARTYTYME-12345"));
        EXPECT_GE(h->sectionSize(5), fm.horizontalAdvance("Mfg.")) << "the heading";
        EXPECT_GE(h->sectionSize(3), fm.horizontalAdvance("Track"));
    }
    const int discAtWide = h->sectionSize(2);
    const int titleAtWide = h->sectionSize(0);
    list.resize(500, 200);
    EXPECT_EQ(h->sectionSize(2), discAtWide) << "the spare width goes to title and artist only";
    EXPECT_LT(h->sectionSize(0), titleAtWide);
    // Scrolled across, the cells move with the headings.
    list.setRows(Rows(1));
    const int titleLeft = list.cellRect(1, 1).left();
    list.horizontalScrollBar()->setValue(30);
    EXPECT_EQ(list.cellRect(1, 1).left(), titleLeft - 30);
    EXPECT_EQ(list.formatText().substr(0, 3), "140") << "the format keeps its own widths";
}

// The width the list says it needs to show every column whole is the
// width at which it stops scrolling across, also where the long text
// columns' shares in proportion to their formats would cut one of them
// (a wide title column beside a narrow artist column of the same field).
TEST_F(ListTest, AtTheWidthItNeedsEveryColumnShowsWhole) {
    QFont font("Arial");
    font.setPointSize(8);
    list.setFont(font);
    list.setDialogUnitWidth(1.25);
    for (const char* format : {"140L(2)|M~Title~@s40@135L(2)|M~Artist~@s40@32C|M~Disc ID~@s15@"
                               "32C|M~Track~@n_4B@21C|M~Omit?~@s1@5C|M~Mfg.~@s2@",
                               "300L|M~Title~@s40@20L|M~Artist~@s40@30R~Track~@n3@"}) {
        SCOPED_TRACE(format);
        ASSERT_TRUE(list.setFormatText(format));
        for (bool scrollBar : {false, true}) {
            list.setScrollBarOn(scrollBar);
            const int needs = list.widthToShowColumns();
            list.resize(needs, 200);
            EXPECT_EQ(list.horizontalScrollBar()->maximum(), 0) << "at the width it needs";
            const QFontMetrics fm(list.font());
            EXPECT_GE(list.columnPixels(1), 40 * fm.averageCharWidth());
            EXPECT_GE(list.columnPixels(2), 40 * fm.averageCharWidth());
            list.resize(needs - 1, 200);
            EXPECT_GT(list.horizontalScrollBar()->maximum(), 0) << "a pixel narrower";
        }
    }
    list.setScrollBarOn(false);
}

TEST_F(ListTest, CellColoursComeFromTheRowThenTheColumnThenTheList) {
    ASSERT_TRUE(list.setFormatText("40L*@s5@E(0FFH,,0FFFFFFH,)40L*@s5@40L@s5@"));
    list.setListColors({ColorFromBgr(0x800040), ColorFromBgr(0xFFFFFF), QColor(), ColorFromBgr(0x800040)});
    // Row fields: value, fg, bg, sel fg, sel bg for each coloured column.
    list.setRows({{"a", "255", "-1", "", "8388608", "b", "-1", "65535", "-1", "-1", "c"}});
    const CellColors first = list.cellColors(1, 1);
    EXPECT_EQ(ToBgr(first.fg), 0xFF);                 // the row's own
    EXPECT_EQ(ToBgr(first.bg), 0xFFFFFF);             // the list's (no E() background)
    EXPECT_EQ(ToBgr(first.selectedFg), 0xFFFFFF);     // the column's E()
    EXPECT_EQ(ToBgr(first.selectedBg), 0x800000);     // the row's own
    const CellColors second = list.cellColors(1, 2);
    EXPECT_EQ(ToBgr(second.fg), 0x800040);            // the list's
    EXPECT_EQ(ToBgr(second.bg), 0x00FFFF);            // the row's
    EXPECT_EQ(second.selectedFg, list.palette().color(QPalette::HighlightedText));
    EXPECT_EQ(list.cellText(1, 3), "c") << "coloured columns take five fields";
    EXPECT_EQ(list.cellColors(1, 3).fg, ColorFromBgr(0x800040));
}

TEST_F(ListTest, RowsThatShrinkKeepTheHighlightInRange) {
    list.setRows(Rows(5));
    list.setSelected(5);
    list.setRows(Rows(2));
    EXPECT_EQ(list.selected(), 2);
    list.setRows({});
    EXPECT_EQ(list.selected(), 0);
    list.setRows(Rows(3));
    EXPECT_EQ(list.selected(), 1);
    list.setSelected(9);
    EXPECT_EQ(list.selected(), 3);
}

TEST_F(ListTest, WholeQueueMovesItsOwnHighlight) {
    list.setMode(ListMode::WholeQueue);
    list.setRows(Rows(21));
    list.setSelected(1);
    EXPECT_TRUE(list.scrollBarOn()) << "more rows than fit";
    ScrollSpies spies(list);
    QSignalSpy selections(&list, &PagedListWidget::newSelection);
    struct Case {
        Qt::Key key;
        int row;
        int thumb;  // (row - 1) * 100 / 20
    } cases[] = {
        {Qt::Key_Down, 2, 5},   {Qt::Key_PageDown, 7, 30}, {Qt::Key_End, 21, 100},
        {Qt::Key_Down, 21, 100}, {Qt::Key_PageUp, 16, 75}, {Qt::Key_Home, 1, 0}, {Qt::Key_Up, 1, 0},
    };
    int moves = 0;
    for (const auto& c : cases) {
        const int before = list.selected();
        QTest::keyClick(&list, c.key);
        EXPECT_EQ(list.selected(), c.row) << c.key;
        EXPECT_EQ(list.scrollPosition(), c.thumb) << c.key;
        EXPECT_GE(c.row, list.topRow());
        EXPECT_LT(c.row, list.topRow() + list.items());
        if (c.row != before) ++moves;
        EXPECT_EQ(selections.count(), moves) << "a selection for each move, none at the ends";
    }
    list.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(list.selected(), 6);
    Wheel(-120);
    EXPECT_EQ(list.selected(), 7);
    EXPECT_EQ(spies.Fired(), "") << "no scroll events from a whole-queue list";
}

TEST_F(ListTest, WholeQueueThumbDragPicksTheProportionalRow) {
    list.setMode(ListMode::WholeQueue);
    list.setRows(Rows(30));
    struct Case {
        int position, row;
    } cases[] = {{0, 1}, {1, 1}, {2, 1}, {50, 15}, {57, 17}, {99, 29}, {100, 30}};
    for (const auto& c : cases) {
        DragThumbTo(c.position);
        EXPECT_EQ(list.selected(), c.row) << c.position;
    }
    list.setRows(Rows(3));
    EXPECT_FALSE(list.scrollBarOn()) << "all rows fit";
}

TEST_F(ListTest, CellEditorFollowsTheHighlightedRow) {
    list.setRows(Rows(8));
    list.setSelected(2);
    QLineEdit editor;
    list.setCellEditor(&editor, 2);
    EXPECT_EQ(editor.parentWidget(), list.viewport());
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.geometry(), list.cellRect(2, 2));
    list.setSelected(4);
    EXPECT_EQ(editor.geometry(), list.cellRect(4, 2));
    list.setMode(ListMode::WholeQueue);
    list.setSelected(8);  // scrolls the view: the editor stays on the row
    EXPECT_EQ(list.topRow(), 4);
    EXPECT_EQ(editor.geometry(), list.cellRect(8, 2));
    list.setSelected(0);
    EXPECT_FALSE(editor.isVisible());
    list.setCellEditor(nullptr, 0);
    editor.setParent(nullptr);
}

}  // namespace
}  // namespace fw::ui
