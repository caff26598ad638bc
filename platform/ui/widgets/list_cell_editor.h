#pragma once
// The editor of one list cell (edit in place), laid over the highlighted row
// by PagedListWidget::setCellEditor. Typing edits the text; the keys that end
// an edit are not handled here but reported by editKey, so that the caller
// can first take the typed text and then act: Enter and Esc; Up, Down, PgUp,
// PgDn, Home and End (then PagedListWidget::moveByKey moves on); Left and
// Right (then another column); Delete. A read-only cell reports them too.

#include <QLineEdit>

namespace fw::ui {

class ListCellEditor : public QLineEdit {
    Q_OBJECT
public:
    explicit ListCellEditor(QWidget* parent = nullptr);

    // True for the keys reported by editKey.
    static bool EndsEdit(int key);
    // Delete deletes a character instead of ending the edit.
    void setDeleteEdits(bool on) { deleteEdits_ = on; }

signals:
    void editKey(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool deleteEdits_ = false;
};

}  // namespace fw::ui
