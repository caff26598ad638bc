#pragma once
// The framework's list control. It shows the rows its program gives it, laid
// out by a list FORMAT (columns, headings, pictures, colours). It works in one
// of two ways:
//  - Paged: the program holds one page of rows and drives the scroll bar
//    (thumb 0..100, on or off). The user's keys, wheel and scroll bar do not
//    move the view; they raise scrollUp ... scrollDrag and the program
//    reloads the page and sets the highlight.
//  - WholeQueue: the program gives every row; the list moves its own
//    highlight on keys, wheel and scroll bar and the thumb shows where the
//    highlight is.
// A mouse click on a row highlights it and raises newSelection (also when it
// was highlighted already, and for the right button); double-click and Enter
// raise accepted. mouseDown comes first, so a caller can note the button.
// Row and column numbers are 1-based; 0 means none.
//
// An editor widget can be laid over one column of the highlighted row
// (setCellEditor); the list keeps it over that cell as the highlight, the
// view and the columns move.

#include "platform/ui/widgets/list_format.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QPointer>
#include <string>
#include <string_view>
#include <vector>

class QHeaderView;
class QStandardItemModel;

namespace fw::ui {

// One row: field n is fields[n - 1], each Windows-1252 text (numbers in
// decimal). A coloured ('*') column's value field is followed by four colour
// fields: foreground, background, selected foreground, selected background,
// as 00BBGGRRh values; -1 or an empty field means the default.
using ListRow = std::vector<std::string>;

enum class ListMode { Paged, WholeQueue };

struct CellColors {
    QColor fg, bg, selectedFg, selectedBg;  // invalid = the list's own
    bool operator==(const CellColors&) const = default;
};

class PagedListWidget : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit PagedListWidget(QWidget* parent = nullptr);
    ~PagedListWidget() override;

    // Columns. Widths are dialog units; pixelsPerUnit converts them.
    void setDialogUnitWidth(double pixelsPerUnit);
    double dialogUnitWidth() const { return unitWidth_; }
    void setFormat(const ListFormat& format);
    // Parses and applies a FORMAT; on an error keeps the columns it has.
    bool setFormatText(std::string_view text, std::string* error = nullptr);
    // The columns with their current widths (as the user may have resized them).
    ListFormat format() const;
    std::string formatText() const { return format().ToText(); }
    int columnCount() const { return static_cast<int>(format_.columns.size()); }
    // The width a column is shown with, in pixels (0 for a hidden one).
    int columnPixels(int column) const;
    // The least width of the list at which every column shows its heading
    // and its field's longest value whole; narrower, it scrolls across.
    int widthToShowColumns() const;

    void setMode(ListMode mode);
    ListMode mode() const { return mode_; }

    // List-wide colours (invalid = the palette's); a column's E() and a
    // coloured cell's own fields take precedence.
    void setListColors(const CellColors& colors);
    CellColors listColors() const { return listColors_; }

    // Rows.
    void setRows(std::vector<ListRow> rows);
    int rowCount() const { return static_cast<int>(rows_.size()); }
    const std::vector<ListRow>& rows() const { return rows_; }
    // The text a cell shows (through the column's picture).
    QString cellText(int row, int column) const;
    // The colours a cell is drawn in, defaults resolved.
    CellColors cellColors(int row, int column) const;

    // Page size: the number of whole rows that fit. Setting it changes the
    // height so that many rows fit.
    int items() const;
    void setItems(int count);
    int rowHeight() const;

    // Highlight (0 = none). Setting it raises no signal.
    int selected() const { return selected_; }
    void setSelected(int row);
    int topRow() const { return top_ + 1; }  // first row in view

    // Scroll bar. In paged mode the program drives both; in whole-queue mode
    // the list does.
    void setScrollBarOn(bool on);
    bool scrollBarOn() const { return scrollBarOn_; }
    void setScrollPosition(int thumb);  // 0..100
    int scrollPosition() const;         // also while the thumb is dragged

    // Where the mouse was last pressed on the rows.
    int mouseDownRow() const { return mouseDownRow_; }
    int mouseDownColumn() const { return mouseDownColumn_; }
    void setMouseDownColumn(int column) { mouseDownColumn_ = column; }
    // Notes a press at pos (viewport coordinates) without acting on it.
    void noteMouseDown(const QPoint& pos);

    // Geometry, in viewport coordinates.
    int rowAt(const QPoint& pos) const;
    int columnAt(int x) const;
    QRect cellRect(int row, int column) const;

    // Lays editor over the given column of the highlighted row (nullptr
    // removes it). The list does not own the editor's behaviour, only its place.
    void setCellEditor(QWidget* editor, int column);
    int cellEditorColumn() const { return editorColumn_; }

    // Does what the key (Up, Down, PgUp, PgDn, Home, End) does on the list:
    // a scroll request when paged, a move of the highlight otherwise. For a
    // cell editor that hands those keys on. False for any other key.
    bool moveByKey(int key);

    QHeaderView* header() const { return header_; }

signals:
    void scrollUp();
    void scrollDown();
    void pageUp();
    void pageDown();
    void scrollTop();
    void scrollBottom();
    void scrollDrag(int thumb);
    void mouseDown(int row, int column, Qt::MouseButton button, bool doubleClick);
    void newSelection();
    void accepted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Move { Up, Down, PageUp, PageDown, Top, Bottom };
    void Request(Move move);
    void MoveHighlight(int row);
    void OnScrollAction(int action);
    void OnThumbReleased();
    void ApplyColumns();
    void FitColumns();
    int FieldPixels(const ListColumn& c) const;
    int LeastPixels(const ListColumn& c, bool flexible) const;
    void ShownColumns(std::vector<int>& shown, std::vector<int>& flexible) const;
    void SyncHorizontalScroll();
    int NaturalPixels(const ListColumn& column) const;
    void LayoutHeader();
    void EnsureVisible();
    void SyncScrollBar();
    void PlaceEditor();
    void PressOnRows(QMouseEvent* event, bool doubleClick);
    int HeaderHeight() const;
    int ColumnPixels(int dialogUnits) const;
    CellColors FieldColors(const ListRow& row, const ListColumn& column) const;

    ListFormat format_;
    std::vector<ListRow> rows_;
    ListMode mode_ = ListMode::Paged;
    CellColors listColors_;
    double unitWidth_ = 1.0;
    int selected_ = 0;
    int top_ = 0;  // 0-based first row in view
    bool scrollBarOn_ = false;
    int thumb_ = 0;
    int mouseDownRow_ = 0;
    int mouseDownColumn_ = 0;
    int wheelRest_ = 0;
    QPointer<QWidget> editor_;
    int editorColumn_ = 0;
    bool applyingColumns_ = false;
    bool forwardingPress_ = false;  // event() is passing a press to the viewport
    QHeaderView* header_ = nullptr;
    QStandardItemModel* headerModel_ = nullptr;
};

}  // namespace fw::ui
