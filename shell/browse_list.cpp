#include "shell/browse_list.h"

#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/events.h"
#include "platform/ui/window_api.h"
#include "shell/browse_codes.h"
#include "shell/data_dictionary_thread_state.h"

namespace shell {

WindowBrowseList::WindowBrowseList(std::string list, BrowseButtons buttons)
    : list_(std::move(list)), buttons_(std::move(buttons)) {}

int WindowBrowseList::PageSize() const { return fw::GetProp(list_, fw::Prop::Items).Int(); }

void WindowBrowseList::ShowRows(std::vector<fw::ui::ListRow> rows) {
    static_cast<fw::ListControl&>(fw::ControlOf(list_)).SetRows(rows);
}

void WindowBrowseList::Select(int row) { fw::SetProp(list_, fw::Prop::Selected, row); }

int WindowBrowseList::Choice() const { return fw::CHOICE(list_); }

void WindowBrowseList::ShowThumb(bool on, int step) {
    fw::SetProp(list_, fw::Prop::VScroll, on ? 1 : 0);
    if (on) fw::SetProp(list_, fw::Prop::VScrollPos, step);
}

int WindowBrowseList::ThumbPosition() const { return fw::GetProp(list_, fw::Prop::VScrollPos).Int(); }

void WindowBrowseList::EnableRecordButtons(bool on) {
    for (const std::string* b : {&buttons_.change, &buttons_.remove}) {
        if (b->empty()) continue;
        if (on) fw::ENABLE(*b);
        else fw::DISABLE(*b);
    }
}

void WindowBrowseList::PostNewSelection() { fw::POST(fw::Event::NewSelection, list_); }

void WindowBrowseList::PostAccepted(const std::string& button) {
    if (!button.empty()) fw::POST(fw::Event::Accepted, button);
}

void WindowBrowseList::AskClose() { fw::POST(fw::Event::CloseWindow); }

void WindowBrowseList::Focus() { fw::SELECT(list_); }

bool WindowBrowseList::IsList(int field) const { return field != 0 && fw::FieldId{field} == list_; }

int WindowBrowseList::Button(int field) const {
    if (field == 0) return 0;
    const fw::FieldId f{field};
    if (!buttons_.insert.empty() && f == buttons_.insert) return action::Insert;
    if (!buttons_.change.empty() && f == buttons_.change) return action::Change;
    if (!buttons_.remove.empty() && f == buttons_.remove) return action::Delete;
    if (!buttons_.select.empty() && f == buttons_.select) return action::Select;
    return 0;
}

void WindowBrowseList::Busy(bool on) {
    if (on) fw::SETCURSOR(fw::Cursor::Wait);
    else fw::SETCURSOR();
}

void WindowBrowseList::AlertTypedKeys() {
    for (int shift : {0, static_cast<int>(fw::KeyCode::Shift)}) {
        for (int c = '0'; c <= '9'; ++c) fw::ALERT(list_, c | shift);
        for (int c = 'A'; c <= 'Z'; ++c) fw::ALERT(list_, c | shift);
    }
}

}  // namespace shell
