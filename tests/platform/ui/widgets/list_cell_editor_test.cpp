#include "platform/ui/widgets/list_cell_editor.h"

#include "platform/ui/widgets/paged_list_widget.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace fw::ui {
namespace {

TEST(ListCellEditor, TypingEditsAndEndKeysAreReported) {
    ListCellEditor editor;
    editor.setText("SC01");
    editor.setCursorPosition(4);
    QSignalSpy keys(&editor, &ListCellEditor::editKey);
    QTest::keyClicks(&editor, "5");
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QTest::keyClicks(&editor, "7");
    EXPECT_EQ(editor.text(), "SC07");
    EXPECT_EQ(keys.count(), 0);

    const Qt::Key ends[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Up,   Qt::Key_Down,  Qt::Key_PageUp, Qt::Key_PageDown,
                            Qt::Key_Home,   Qt::Key_End,    Qt::Key_Left, Qt::Key_Right, Qt::Key_Delete};
    for (Qt::Key k : ends) QTest::keyClick(&editor, k);
    QTest::keyClick(&editor, Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(keys.count(), 12);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(keys.at(i).at(0).toInt(), ends[i]);
    EXPECT_EQ(keys.at(11).at(0).toInt(), Qt::Key_Return) << "keypad Enter is Enter";
    EXPECT_EQ(editor.text(), "SC07") << "Delete and the arrows do not edit";

    editor.setReadOnly(true);
    QTest::keyClicks(&editor, "x");
    QTest::keyClick(&editor, Qt::Key_Down);
    EXPECT_EQ(editor.text(), "SC07");
    EXPECT_EQ(keys.count(), 13);
}

TEST(ListCellEditor, HandsMovesOnToItsList) {
    PagedListWidget list;
    ASSERT_TRUE(list.setFormatText("60L~Original ID~@s15@60L~Custom ID~@s15@"));
    list.resize(200, 100);
    list.setRows({{"A1", "1"}, {"A2", "2"}, {"A3", "3"}});
    list.setSelected(1);
    list.show();
    ListCellEditor editor;
    list.setCellEditor(&editor, 2);
    QObject::connect(&editor, &ListCellEditor::editKey, &list, [&](int key) { list.moveByKey(key); });

    QSignalSpy down(&list, &PagedListWidget::scrollDown);
    QTest::keyClick(&editor, Qt::Key_Down);
    EXPECT_EQ(down.count(), 1) << "paged: the program moves the highlight";

    list.setMode(ListMode::WholeQueue);
    QTest::keyClick(&editor, Qt::Key_End);
    EXPECT_EQ(list.selected(), 3);
    EXPECT_EQ(editor.geometry(), list.cellRect(3, 2));
    EXPECT_FALSE(list.moveByKey(Qt::Key_Left));
    list.setCellEditor(nullptr, 0);
    editor.setParent(nullptr);
}

}  // namespace
}  // namespace fw::ui
