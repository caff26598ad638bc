#include "platform/ui/widgets/list_cell_editor.h"

#include "platform/ui/controls/storable_text.h"

#include <QKeyEvent>

namespace fw::ui {

ListCellEditor::ListCellEditor(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setValidator(new StorableTextValidator(this));
}

bool ListCellEditor::EndsEdit(int key) {
    switch (key) {
        case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Escape:
        case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
        case Qt::Key_Home: case Qt::Key_End: case Qt::Key_Left: case Qt::Key_Right:
        case Qt::Key_Delete:
            return true;
        default:
            return false;
    }
}

void ListCellEditor::keyPressEvent(QKeyEvent* event) {
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool edits = deleteEdits_ && event->key() == Qt::Key_Delete;
    if (mods == Qt::NoModifier && EndsEdit(event->key()) && !edits) {
        emit editKey(event->key() == Qt::Key_Enter ? Qt::Key_Return : event->key());
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace fw::ui
