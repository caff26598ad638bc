#pragma once
// The paged list browse: a page of rows read on demand from a VIEW in the
// order of one key, shown on a LIST control. A list states only its view,
// orders, filter, columns, record check and form; the browse does the rest:
//
//   shell::BrowsePlan desc;
//   desc.primary = &shell::SongBook();
//   desc.orders = {{shell::SongBook().FindKey("SBK:KTITLE")}};
//   desc.columns = [] { return fw::ui::ListRow{SBK.Title.Str(), SBK.Artist.Str()}; };
//   desc.form = UpdateListing;
//   shell::WindowBrowseList list(listEquate, {insertEquate, changeEquate, deleteEquate, ""});
//   shell::PagedBrowse browse(desc, list);
//   while (window.Accept()) {
//       if (window.Event() == shell::codes::GainFocus) browse.RequestResync();
//       browse.TakeEvent(window.Event(), window.Field(), window.KeyCode());
//       ...
//       browse.SyncBrowse();   // the window's refresh
//   }
//
// Each row keeps a copy of the view's record buffers and POSITION(view), so
// RowToRecord restores exactly the row's records and RESET finds it again.

#include "platform/data/file.h"
#include "platform/data/view.h"
#include "platform/ui/widgets/paged_list_widget.h"
#include "shell/browse_list.h"
#include "shell/browse_thumb.h"

#include <cstdint>
#include <functional>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace shell {

struct BrowseOrder {
    fw::Key key;
    std::vector<std::string> thumbSteps = NameThumbSteps();  // values of the key's first component
};

struct BrowsePlan {
    fw::File* primary = nullptr;
    std::vector<BrowseOrder> orders;                  // order 1 first
    std::function<void(fw::View&)> joins;             // View::Join calls, once
    std::string filter;                               // PROP:Filter, set at each open
    std::function<fw::ui::ListRow()> columns;         // the row's fields from the record buffers
    std::function<bool()> check;                      // record check: false passes the record over
    std::function<int()> activeOrder;                 // the window's order (tabs); empty: 1
    std::function<bool()> lookup;                     // the list's own lookup before a form; false: not found (said so), no form
    std::function<void()> form;                       // the record form (RequestedAction / ActionOutcome)
    bool selectMode = false;                          // the window was opened to select (request 4)
};

struct BrowseRow {
    fw::ui::ListRow fields;
    std::vector<std::vector<unsigned char>> records;  // the view's buffers, primary first
    std::vector<std::int64_t> ids;                    // the view's record ids (fw::RowIds)
    fw::View* view = nullptr;                         // the view the row was read from
    std::uint8_t mark = 0;
    // POSITION(view) of the row, written out the first time it is asked for.
    const std::string& Position() const {
        if (position_.empty() && view) position_ = fw::POSITION(*view, ids, records);
        return position_;
    }
    void ForgetPosition() { position_.clear(); }

private:
    mutable std::string position_;
};

enum class PositionKind { None = 0, ByPosition = 1, ByKeyValue = 2, ByEditedRecord = 3 };
enum class ReloadKind { Keep = 0, FromView = 1, FromPage = 2, FromTop = 3, FromBottom = 4, AroundCurrent = 5 };

class PagedBrowse {
public:
    PagedBrowse(BrowsePlan desc, BrowseList& list);
    ~PagedBrowse();
    PagedBrowse(const PagedBrowse&) = delete;
    PagedBrowse& operator=(const PagedBrowse&) = delete;

    // Handles the window's event (EVENT(), FIELD(), KEYCODE()) when it is
    // the list's or one of its buttons'; false for any other event.
    bool TakeEvent(int event, int field, int keyCode);

    void SyncBrowse();                 // on each window refresh
    void RequestResync() { resync_ = true; }  // EVENT:GainFocus, EVENT:Sized
    void RereadHighlighted();          // before any command of the window
    void EditThroughForm(int request);

    void HandleScrollEvent(int event);  // EVENT:ScrollUp ... EVENT:ScrollBottom
    void FollowThumb(int position);     // EVENT:ScrollDrag at 0..100
    void OnRowSelected(int keyCode);    // EVENT:NewSelection
    void HandleListKey(int keyCode);    // EVENT:AlertKey
    // A typed letter or digit: the highlight moves to the next row, in the
    // list's order, whose sort field (the order key's first component)
    // begins with it, compared in capitals. No such row: nothing moves.
    void LocateTyped(char typed);
    // Reloads the page around the record that `kind` names; with `row`,
    // the row of that position when it is still there among the rows that
    // share the record's order key values.
    void PositionOnRecord(PositionKind kind, const std::string& row = {});
    void ReloadPage(ReloadKind kind);
    void ReloadAroundCurrent();
    void ReopenView();
    // Reads the list again from its first record, as after the first load:
    // for a list whose filter follows another list's highlighted row.
    void Restart();

    int RowsLoaded() const { return static_cast<int>(rows_.size()); }
    int Highlight() const { return highlight_; }
    int ThumbStep() const { return thumbStep_; }
    int ActiveOrder() const { return activeOrder_; }
    int LastOutcome() const { return lastOutcome_; }
    const BrowseRow& Row(int n) const { return rows_.at(static_cast<std::size_t>(n - 1)); }
    fw::View& View() { return *view_; }

private:
    int ReadRowsIntoPage(int wanted, bool forward, bool keep);
    void RecordToRow(BrowseRow& row);
    void RowToRecord(int n);
    void StepOneRow(bool down);
    void StepOnePage(bool down);
    void JumpToEnd(bool bottom);
    int CompareSortInitial(const void* record, const std::string& initial) const;
    void PostRowSelected();
    void ShowPage();
    const BrowseOrder& Order() const;
    std::vector<fw::File*> Files() const;
    std::vector<std::string> OrderKeyValues() const;  // the primary buffer's, as the key compares them
    void GoOnToRow(const std::string& row);
    // Moves the page so the highlighted row shows on that row of the list.
    void KeepHighlightOnRow(int row);
    std::string HighlightedPosition() const;

    BrowsePlan plan_;
    BrowseList& list_;
    std::unique_ptr<fw::View> view_;
    std::deque<BrowseRow> rows_;  // a page: rows come and go at both ends
    int highlight_ = 0;
    int activeOrder_ = 0;
    bool resync_ = false;
    bool selectionPosted_ = false;
    int thumbStep_ = 0;
    int lastOutcome_ = 0;
};

}  // namespace shell
