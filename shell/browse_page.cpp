#include "shell/browse_page.h"

#include "platform/data/file_ops.h"
#include "platform/data/read_together.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "shell/browse_codes.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/warnings.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace shell {

namespace {

constexpr int kViewMode = fw::ReadWrite | fw::DenyWrite;  // 22h

// The primary record's id in a view position ("V;K|KEY|values|id;..."), so
// a row is found again in another order of the same file.
std::string_view PrimaryRecordId(std::string_view position) {
    const auto start = position.find(';');
    if (start == std::string_view::npos) return {};
    std::string_view primary = position.substr(start + 1);
    primary = primary.substr(0, primary.find(';'));
    const auto bar = primary.rfind('|');
    return bar == std::string_view::npos ? std::string_view{} : primary.substr(bar + 1);
}

// The list's wait cursor for the length of a reload.
struct WaitCursor {
    explicit WaitCursor(BrowseList& list) : list(list) { list.Busy(true); }
    ~WaitCursor() { list.Busy(false); }
    BrowseList& list;
};

}  // namespace

PagedBrowse::PagedBrowse(BrowsePlan desc, BrowseList& list)
    : plan_(std::move(desc)), list_(list), view_(std::make_unique<fw::View>(*plan_.primary)) {
    if (plan_.orders.empty()) plan_.orders.push_back({});
    if (plan_.joins) plan_.joins(*view_);
    if (!plan_.filter.empty()) {
        view_->SetFilter(plan_.filter);
        if (fw::ERRORCODE() != 0) ShowWarningNoText(36);
    }
}

PagedBrowse::~PagedBrowse() { fw::CLOSE(*view_); }

const BrowseOrder& PagedBrowse::Order() const {
    const int n = std::clamp(activeOrder_, 1, static_cast<int>(plan_.orders.size()));
    return plan_.orders[static_cast<std::size_t>(n - 1)];
}

std::vector<fw::File*> PagedBrowse::Files() const { return view_->Files(); }

std::vector<std::string> PagedBrowse::OrderKeyValues() const {
    std::vector<std::string> values;
    const BrowseOrder& order = Order();
    if (!order.key.Valid()) return values;
    const fw::RecordDecl& decl = plan_.primary->Record();
    const bool folded = plan_.primary->KeyAt(order.key.index).caseInsensitive;
    for (const int field : plan_.primary->KeyFields(order.key.index)) {
        const std::string text = fw::GetText(plan_.primary->Buffer(), decl.fields[static_cast<std::size_t>(field)]);
        values.push_back(folded ? fw::UpperText(text) : text);
    }
    return values;
}

void PagedBrowse::GoOnToRow(const std::string& row) {
    const std::string first = fw::POSITION(*view_);
    if (row.empty() || row == first) return;
    const std::vector<std::string> values = OrderKeyValues();
    fw::RESET(*view_, row);
    if (ReadRowsIntoPage(1, true, false) > 0 && fw::POSITION(*view_) == row && OrderKeyValues() == values) return;
    // The row is gone or no longer shares the key values: the first of them.
    fw::RESET(*view_, first);
    ReadRowsIntoPage(1, true, false);
}

void PagedBrowse::ReopenView() {
    fw::CLOSE(*view_);
    if (Order().key.Valid()) fw::SET(Order().key);
    else fw::SET(*plan_.primary);
    fw::OPEN(*view_, kViewMode);
    if (fw::ERRORCODE() != 0) ShowWarningNoText(36);
}

void PagedBrowse::RecordToRow(BrowseRow& row) {
    // A row taken from the far end of the page keeps its buffers' room.
    const auto& levels = view_->levels_;
    row.records.resize(levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const auto* b = static_cast<const unsigned char*>(levels[i].file->Buffer());
        row.records[i].assign(b, b + levels[i].file->Record().size);
    }
    row.fields = plan_.columns ? plan_.columns() : fw::ui::ListRow{};
    row.ids = fw::RowIds(*view_);
    row.view = view_.get();
    row.mark = 0;
    row.ForgetPosition();
}

void PagedBrowse::RowToRecord(int n) {
    if (n < 1 || n > RowsLoaded()) return;
    const BrowseRow& row = Row(n);
    const auto files = Files();
    for (std::size_t i = 0; i < files.size() && i < row.records.size(); ++i)
        std::memcpy(files[i]->Buffer(), row.records[i].data(), row.records[i].size());
}

void PagedBrowse::ShowPage() {
    std::vector<fw::ui::ListRow> shown;
    shown.reserve(rows_.size());
    for (const auto& r : rows_) shown.push_back(r.fields);
    list_.ShowRows(std::move(shown));
}

int PagedBrowse::ReadRowsIntoPage(int wanted, bool forward, bool keep) {
    const std::size_t page = static_cast<std::size_t>(std::max(1, list_.PageSize()));
    std::string anchor;
    bool skipAnchor = false;
    // The view reads the rows wanted (and the anchor row) in one batch.
    view_->SetReadAhead(wanted + (rows_.empty() ? 0 : 1));
    if (!rows_.empty()) {
        anchor = forward ? rows_.back().Position() : rows_.front().Position();
        fw::RESET(*view_, anchor);
        skipAnchor = true;
    }
    int read = 0;
    // A joined view reads its joined file for every row: the page's reads
    // under one read lock a file, ended before anything is shown.
    std::optional<fw::ReadTogether> together;
    if (view_->levels_.size() > 1) together.emplace(view_->Files());
    while (wanted > 0) {
        if (forward) fw::NEXT(*view_);
        else fw::PREVIOUS(*view_);
        const int code = fw::ERRORCODE();
        if (code == fw::RecordNotAvailable) break;
        if (code != 0) {
            together.reset();
            ShowWarningOneText(35, plan_.primary->Label());
            list_.AskClose();
            break;
        }
        if (skipAnchor) {
            skipAnchor = false;
            if (fw::POSITION(*view_) == anchor) continue;
        }
        if (plan_.check && !plan_.check()) continue;
        if (keep) {
            BrowseRow row;
            if (rows_.size() >= page) {
                if (forward) {
                    row = std::move(rows_.front());
                    rows_.pop_front();
                } else {
                    row = std::move(rows_.back());
                    rows_.pop_back();
                }
            }
            RecordToRow(row);
            if (forward) rows_.push_back(std::move(row));
            else rows_.insert(rows_.begin(), std::move(row));
        }
        --wanted;
        ++read;
    }
    together.reset();
    if (keep) ShowPage();
    return read;
}

void PagedBrowse::StepOneRow(bool down) {
    if (down ? highlight_ < RowsLoaded() : highlight_ > 1) {
        highlight_ += down ? 1 : -1;
        return;
    }
    ReadRowsIntoPage(1, down, true);
}

void PagedBrowse::StepOnePage(bool down) {
    const int page = list_.PageSize();
    const int shortfall = page - ReadRowsIntoPage(page, down, true);
    if (shortfall > 0) highlight_ += down ? shortfall : -shortfall;
    highlight_ = std::clamp(highlight_, 1, RowsLoaded());
}

void PagedBrowse::JumpToEnd(bool bottom) {
    rows_.clear();
    ReopenView();
    ReadRowsIntoPage(list_.PageSize(), !bottom, true);
    highlight_ = bottom ? RowsLoaded() : std::min(1, RowsLoaded());
}

void PagedBrowse::HandleScrollEvent(int event) {
    if (rows_.empty()) return;
    switch (event) {
    case codes::ScrollUp: StepOneRow(false); break;
    case codes::ScrollDown: StepOneRow(true); break;
    case codes::PageUp: StepOnePage(false); break;
    case codes::PageDown: StepOnePage(true); break;
    case codes::ScrollTop: JumpToEnd(false); break;
    case codes::ScrollBottom: JumpToEnd(true); break;
    default: return;
    }
    list_.Select(highlight_);
    PostRowSelected();
}

void PagedBrowse::FollowThumb(int position) {
    if (position <= 1) return HandleScrollEvent(codes::ScrollTop);
    if (position >= 100) return HandleScrollEvent(codes::ScrollBottom);
    const BrowseOrder& order = Order();
    if (!order.key.Valid()) return;
    const fw::RecordDecl& decl = plan_.primary->Record();
    const auto& fields = plan_.primary->KeyFields(order.key.index);
    void* buffer = plan_.primary->Buffer();
    const fw::FieldDecl& first = decl.fields[static_cast<std::size_t>(fields.front())];
    fw::SetText(buffer, first, order.thumbSteps.at(static_cast<std::size_t>(position - 1)));
    // The later components start at their lowest values, so no record whose
    // first component equals the step is passed over.
    for (std::size_t i = 1; i < fields.size(); ++i)
        fw::ClearFieldLow(buffer, decl.fields[static_cast<std::size_t>(fields[i])]);
    PositionOnRecord(PositionKind::ByKeyValue);
}

void PagedBrowse::PostRowSelected() {
    if (selectionPosted_) return;
    selectionPosted_ = true;
    list_.PostNewSelection();
}

void PagedBrowse::OnRowSelected(int keyCode) {
    selectionPosted_ = false;
    if (keyCode == codes::MouseRight) return;
    if (!rows_.empty()) {
        const int choice = list_.Choice();
        if (choice >= 1 && choice <= RowsLoaded()) highlight_ = choice;
        RowToRecord(highlight_);
    }
    const BrowseOrder& order = Order();
    if (RowsLoaded() == list_.PageSize() && order.key.Valid()) {
        const auto& fields = plan_.primary->KeyFields(order.key.index);
        const fw::FieldDecl& first = plan_.primary->Record().fields[static_cast<std::size_t>(fields.front())];
        thumbStep_ = ThumbStepFor(order.thumbSteps, first, fw::GetText(plan_.primary->Buffer(), first));
        list_.ShowThumb(true, thumbStep_);
    } else {
        list_.ShowThumb(false, thumbStep_);
    }
}

void PagedBrowse::HandleListKey(int keyCode) {
    const auto* buttons = dynamic_cast<const WindowBrowseList*>(&list_);
    const BrowseButtons none;
    const BrowseButtons& b = buttons ? buttons->Buttons() : none;
    if (rows_.empty()) {
        if (keyCode == codes::Insert) list_.PostAccepted(b.insert);
        return;
    }
    switch (keyCode) {
    case codes::MouseLeft2:
        if (plan_.selectMode) {
            list_.PostAccepted(b.select);
            return;
        }
        list_.PostAccepted(b.change);
        RowToRecord(highlight_);
        break;
    case codes::Insert: list_.PostAccepted(b.insert); break;
    case codes::Delete: list_.PostAccepted(b.remove); break;
    case codes::CtrlEnter: list_.PostAccepted(b.change); break;
    default: {
        const int key = keyCode & ~codes::Shift;
        if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) LocateTyped(static_cast<char>(key));
        return;
    }
    }
    PostRowSelected();
}

int PagedBrowse::CompareSortInitial(const void* record, const std::string& initial) const {
    const auto& fields = plan_.primary->KeyFields(Order().key.index);
    const fw::FieldDecl& first = plan_.primary->Record().fields[static_cast<std::size_t>(fields.front())];
    const std::string value = fw::GetText(record, first);
    return fw::CompareFolded(std::string_view(value).substr(0, 1), initial);
}

void PagedBrowse::LocateTyped(char typed) {
    if (rows_.empty() || !Order().key.Valid()) return;
    const std::string initial = fw::UpperText(std::string(1, typed));
    auto moveTo = [this](int n) {
        highlight_ = n;
        list_.Select(highlight_);
        RowToRecord(highlight_);
        PostRowSelected();
    };
    // The rows are in key order: once a row's initial sorts after the typed
    // one, no later row can begin with it.
    for (int n = std::max(1, highlight_ + 1); n <= RowsLoaded(); ++n) {
        const int c = CompareSortInitial(Row(n).records.front().data(), initial);
        if (c == 0) return moveTo(n);
        if (c > 0) return;
    }
    const int last = CompareSortInitial(rows_.back().records.front().data(), initial);
    if (last > 0) return;
    bool found = false;
    if (last == 0) {
        // The next record past the page decides.
        found = ReadRowsIntoPage(1, true, false) > 0 && CompareSortInitial(plan_.primary->Buffer(), initial) == 0;
    } else {
        // Every row beginning with the typed initial lies past the page:
        // seek the first record at or after it.
        const fw::Key key = Order().key;
        const fw::RecordDecl& decl = plan_.primary->Record();
        const auto& fields = plan_.primary->KeyFields(key.index);
        void* buffer = plan_.primary->Buffer();
        fw::SetText(buffer, decl.fields[static_cast<std::size_t>(fields.front())], initial);
        for (std::size_t i = 1; i < fields.size(); ++i)
            fw::ClearFieldLow(buffer, decl.fields[static_cast<std::size_t>(fields[i])]);
        fw::CLOSE(*view_);
        fw::SET(key, key);
        fw::OPEN(*view_, kViewMode);
        if (fw::ERRORCODE() != 0) ShowWarningNoText(36);
        std::deque<BrowseRow> page = std::move(rows_);
        rows_.clear();
        found = ReadRowsIntoPage(1, true, false) > 0 && CompareSortInitial(buffer, initial) == 0;
        rows_ = std::move(page);
        if (!found) ReopenView();
    }
    if (!found) {
        RowToRecord(highlight_);
        return;
    }
    ReloadPage(ReloadKind::FromView);
    PostRowSelected();
}

void PagedBrowse::PositionOnRecord(PositionKind kind, const std::string& row) {
    if (kind == PositionKind::ByPosition) kind = PositionKind::ByEditedRecord;
    fw::CLOSE(*view_);
    const fw::Key key = Order().key;
    if (key.Valid()) {
        if (kind == PositionKind::ByEditedRecord) fw::RESET(key, fw::POSITION(key));
        else fw::SET(key, key);
    } else {
        fw::SET(*plan_.primary);
    }
    if (fw::ERRORCODE() != 0) ShowWarningNoText(36);
    fw::OPEN(*view_, kViewMode);
    if (fw::ERRORCODE() != 0) ShowWarningNoText(36);
    rows_.clear();
    const bool found = ReadRowsIntoPage(1, true, false) > 0;
    if (found) GoOnToRow(row);
    ReloadPage(found ? ReloadKind::FromView : ReloadKind::FromBottom);
    PostRowSelected();
}

void PagedBrowse::ReloadPage(ReloadKind kind) {
    WaitCursor wait(list_);
    std::string anchor;
    if (kind == ReloadKind::FromView) {
        anchor = fw::POSITION(*view_);
        fw::RESET(*view_, anchor);
        kind = ReloadKind::FromTop;
    } else if (!rows_.empty()) {
        const int n = highlight_ >= 1 && highlight_ <= RowsLoaded() ? highlight_ : RowsLoaded();
        anchor = Row(n).Position();
        fw::RESET(*view_, rows_.front().Position());
        kind = ReloadKind::AroundCurrent;
    } else {
        ReopenView();
    }
    rows_.clear();
    const int page = list_.PageSize();
    const bool backward = kind == ReloadKind::FromBottom;
    const int read = ReadRowsIntoPage(page, !backward, true);
    if (!anchor.empty() && RowsLoaded() < page) {
        if (read == 0) ReopenView();
        ReadRowsIntoPage(page - RowsLoaded(), backward, true);
    }
    if (!rows_.empty()) {
        highlight_ = backward ? RowsLoaded() : 1;
        if (!anchor.empty()) {
            // The highlighted row again: by its position, or, when a change
            // meanwhile gave its record other key values, by its record.
            highlight_ = 0;
            for (int n = 1; n <= RowsLoaded(); ++n)
                if (Row(n).Position() == anchor) highlight_ = n;
            const std::string_view id = PrimaryRecordId(anchor);
            for (int n = 1; highlight_ == 0 && !id.empty() && n <= RowsLoaded(); ++n)
                if (PrimaryRecordId(Row(n).Position()) == id) highlight_ = n;
            if (highlight_ == 0) highlight_ = RowsLoaded();
        }
        list_.Select(highlight_);
        RowToRecord(highlight_);
        list_.EnableRecordButtons(true);
    } else {
        fw::ClearRecord(plan_.primary->Buffer(), plan_.primary->Record());
        highlight_ = 0;
        list_.EnableRecordButtons(false);
    }
}

void PagedBrowse::KeepHighlightOnRow(int row) {
    // The page was read from the highlighted record down; the rows before
    // it are read back in until it stands where it stood on the screen (as
    // far as there are rows before it), so the list does not jump.
    row = std::min(row, list_.PageSize());
    if (highlight_ < 1 || row <= highlight_) return;
    highlight_ += ReadRowsIntoPage(row - highlight_, false, true);
    list_.Select(highlight_);
    RowToRecord(highlight_);
}

void PagedBrowse::ReloadAroundCurrent() {
    ReopenView();
    ReloadPage(ReloadKind::AroundCurrent);
}

void PagedBrowse::Restart() {
    if (activeOrder_ == 0) {
        const int wanted = plan_.activeOrder ? plan_.activeOrder() : 1;
        activeOrder_ = wanted == 0 ? 1 : wanted;
        list_.AlertTypedKeys();
    }
    resync_ = false;
    rows_.clear();
    highlight_ = 0;
    ReloadPage(ReloadKind::FromTop);
    PostRowSelected();
}

void PagedBrowse::SyncBrowse() {
    const int prior = activeOrder_;
    const int wanted = plan_.activeOrder ? plan_.activeOrder() : 1;
    activeOrder_ = wanted == 0 ? 1 : wanted;
    if (prior == activeOrder_ && !resync_) {
        RowToRecord(highlight_);
        return;
    }
    resync_ = false;
    RereadHighlighted();
    ReopenView();
    if (prior == 0) list_.AlertTypedKeys();
    if (prior == 0 && !plan_.selectMode) {
        rows_.clear();
        ReloadPage(ReloadKind::FromTop);
        PostRowSelected();
    } else {
        // Found again by its key values, so changes made meanwhile show;
        // among rows that share them (a disc's tracks in a view of discs
        // joined to their listings) the highlighted row itself, while it is
        // still there unchanged. After a change of order the same record is
        // looked for by its id on the new page.
        const std::string highlighted = HighlightedPosition();
        const bool orderChanged = prior != activeOrder_;
        const int shownOnRow = highlight_;
        PositionOnRecord(PositionKind::ByKeyValue, orderChanged ? std::string() : highlighted);
        if (!orderChanged) KeepHighlightOnRow(shownOnRow);
        const std::string_view id = orderChanged ? PrimaryRecordId(highlighted) : std::string_view{};
        for (int n = 1; !id.empty() && n <= RowsLoaded(); ++n) {
            if (PrimaryRecordId(Row(n).Position()) != id) continue;
            highlight_ = n;
            list_.Select(highlight_);
            break;
        }
    }
    RowToRecord(highlight_);
    ReloadAroundCurrent();
}

void PagedBrowse::RereadHighlighted() {
    if (rows_.empty()) return;
    const int choice = list_.Choice();
    if (choice >= 1 && choice <= RowsLoaded()) highlight_ = choice;
    if (highlight_ < 1) return;
    RowToRecord(highlight_);
    fw::WATCH(*view_);
    fw::REGET(*view_, Row(highlight_).Position());
}

std::string PagedBrowse::HighlightedPosition() const {
    return highlight_ >= 1 && highlight_ <= RowsLoaded() ? Row(highlight_).Position() : std::string();
}

void PagedBrowse::EditThroughForm(int request) {
    // A change keeps its own row highlighted among the rows that share its
    // primary record's key (the other tracks of its disc).
    const std::string edited = request == action::Change ? HighlightedPosition() : std::string();
    const int shownOnRow = highlight_;
    if (request == action::Insert) {
        fw::GET(*plan_.primary, 0L);
        fw::ClearRecord(plan_.primary->Buffer(), plan_.primary->Record());
    }
    if (plan_.lookup && !plan_.lookup()) {
        ReloadPage(ReloadKind::FromPage);
        list_.Focus();
        return;
    }
    fw::CLOSE(*view_);
    const std::int32_t windowRequest = RequestedAction();
    RequestedAction() = request;
    FormNavigationRequest() = 0;
    ActionOutcome() = outcome::Cancelled;
    if (plan_.form) plan_.form();
    lastOutcome_ = ActionOutcome();
    ReopenView();
    const bool done = lastOutcome_ == outcome::Completed;
    if (done && (request == action::Insert || request == action::Change)) {
        PositionOnRecord(PositionKind::ByEditedRecord, edited);
        KeepHighlightOnRow(shownOnRow);
    } else {
        if (done && request == action::Delete && highlight_ >= 1 && highlight_ <= RowsLoaded())
            rows_.erase(rows_.begin() + (highlight_ - 1));
        ReloadPage(ReloadKind::FromPage);
    }
    ReloadAroundCurrent();
    PostRowSelected();
    list_.Focus();
    RequestedAction() = windowRequest;
}

bool PagedBrowse::TakeEvent(int event, int field, int keyCode) {
    if (list_.IsList(field)) {
        switch (event) {
        case codes::ScrollUp:
        case codes::ScrollDown:
        case codes::PageUp:
        case codes::PageDown:
        case codes::ScrollTop:
        case codes::ScrollBottom: HandleScrollEvent(event); return true;
        case codes::ScrollDrag: FollowThumb(list_.ThumbPosition()); return true;
        case codes::NewSelection: OnRowSelected(keyCode); return true;
        case codes::AlertKey: HandleListKey(keyCode); return true;
        default: return false;
        }
    }
    if (event == codes::Accepted) {
        const int request = list_.Button(field);
        if (request == action::Insert || request == action::Change || request == action::Delete) {
            RereadHighlighted();
            EditThroughForm(request);
            return true;
        }
    }
    return false;
}

}  // namespace shell
