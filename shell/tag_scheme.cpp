#include "shell/tag_scheme.h"

#include "shell/browse_codes.h"
#include "shell/browse_page.h"

namespace shell {

namespace {

// The wait cursor for as long as it lives, also on the way out of an error.
struct WaitCursor {
    WaitCursor() { fw::SETCURSOR(fw::Cursor::Wait); }
    ~WaitCursor() { fw::SETCURSOR(); }
};

// The Tag column is the list's first; a later press must not count twice.
constexpr int kTagColumn = 1;
constexpr int kOtherColumn = 2;

}  // namespace

std::string_view TagShowText(TagShowMode mode) {
    switch (mode) {
    case TagShowMode::Tagged: return "Showing Tagged";
    case TagShowMode::Untagged: return "Showing UnTagged";
    case TagShowMode::All: break;
    }
    return "Show All";
}

TagScheme::TagScheme(std::string list, TagButtons buttons, TagSemantics semantics)
    : list_(std::move(list)), buttons_(std::move(buttons)), semantics_(std::move(semantics)) {}

void TagScheme::Attach(PagedBrowse& browse) { browse_ = &browse; }

void TagScheme::Opened() {
    mode_ = TagShowMode::All;
    const std::string text(TagShowText(mode_));
    fw::SetProp(buttons_.show, fw::Prop::Text, text);
    fw::SetProp(buttons_.show, fw::Prop::Msg, text);
    fw::SetProp(buttons_.show, fw::Prop::Tip, text);
}

std::string TagScheme::Mark() const {
    return semantics_.isTagged && semantics_.isTagged() ? std::string(kTagMarkText) : std::string(" ");
}

bool TagScheme::Shows() const {
    if (mode_ == TagShowMode::All || !semantics_.isTagged) return true;
    return semantics_.isTagged() == (mode_ == TagShowMode::Tagged);
}

bool TagScheme::IsButton(int field, const std::string& equate) const {
    return field != 0 && !equate.empty() && fw::FieldId{field} == equate;
}

void TagScheme::Reload() {
    if (browse_) browse_->ReloadPage(ReloadKind::Keep);
}

void TagScheme::RunBulk(const std::function<void()>& operation, bool wait) {
    fw::SetProp(list_, fw::Prop::MouseDownField, kOtherColumn);
    if (wait) {
        WaitCursor cursor;
        if (operation) operation();
    } else if (operation) {
        operation();
    }
    Reload();
}

bool TagScheme::TakeEvent(int event, int field, int keyCode) {
    if (event == codes::NewSelection && fw::FieldId{field} == list_) {
        if (keyCode != codes::MouseLeft2) return false;
        if (fw::GetProp(list_, fw::Prop::MouseDownRow).Int() <= 0) return false;
        if (fw::GetProp(list_, fw::Prop::MouseDownField).Int() != kTagColumn) return false;
        fw::POST(codes::Accepted, buttons_.tag);
        fw::SetProp(list_, fw::Prop::MouseDownField, kOtherColumn);
        return true;
    }
    if (event != codes::Accepted) return false;
    const auto reread = [this] {
        if (browse_) browse_->RereadHighlighted();
    };
    if (IsButton(field, buttons_.tag)) {
        reread();
        if (browse_ && browse_->RowsLoaded() > 0 && semantics_.toggle) semantics_.toggle();
        Reload();
        return true;
    }
    if (IsButton(field, buttons_.tagAll)) {
        reread();
        RunBulk(semantics_.tagAll, semantics_.tagAllWaits);
        return true;
    }
    if (IsButton(field, buttons_.untagAll)) {
        reread();
        RunBulk(semantics_.untagAll);
        return true;
    }
    if (IsButton(field, buttons_.reverse)) {
        reread();
        RunBulk(semantics_.reverse);
        return true;
    }
    if (IsButton(field, buttons_.show)) {
        reread();
        mode_ = static_cast<TagShowMode>((static_cast<int>(mode_) + 1) % 3);
        const std::string text(TagShowText(mode_));
        fw::SetProp(buttons_.show, fw::Prop::Text, text);
        fw::SetProp(buttons_.show, fw::Prop::Msg, text);
        fw::SetProp(buttons_.show, fw::Prop::Tip, text);
        fw::DISPLAY(buttons_.show);
        Reload();
        return true;
    }
    return false;
}

}  // namespace shell
