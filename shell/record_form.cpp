#include "shell/record_form.h"

#include "shell/checked_open.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/message_box.h"
#include "platform/data/file_ops.h"
#include "shell/warnings.h"

#include "platform/os/beep.h"
#include "platform/runtime/error_state.h"
#include "platform/text/fixed_string.h"
#include "platform/ui/events.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

#include <cstring>
#include <memory>

namespace shell {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes Snapshot(const RecordFormPlan& f) {
    Bytes copy(f.record->size);
    fw::CopyRecord(copy.data(), f.buffer(), *f.record);
    return copy;
}

bool Unchanged(const RecordFormPlan& f, const Bytes& atOpen) {
    return fw::RecordsEqual(f.buffer(), atOpen.data(), *f.record);
}

class FormRun {
public:
    explicit FormRun(const RecordFormPlan& f) : f_(f) {}

    std::int32_t Run() {
        request_ = RequestedAction();
        RequestedAction() = action::None;
        ActionOutcome() = outcome::None;
        if (request_ == action::Insert && !f_.allowInsert) {
            ShowWarningNoText(19);
            return outcome::Cancelled;
        }
        if (request_ == action::Delete && !f_.allowDelete) {
            ShowWarningNoText(21);
            return outcome::Cancelled;
        }
        std::vector<std::unique_ptr<FileUse>> uses;
        for (const FileEntry* file : f_.files) uses.push_back(std::make_unique<FileUse>(*file, true));
        if (f_.memory->lastSaved.empty()) {
            f_.memory->lastSaved.resize(f_.record->size);
            fw::ClearRecord(f_.memory->lastSaved.data(), *f_.record);
        }
        if (f_.openHook) f_.openHook();
        atOpen_ = Snapshot(f_);
        if (request_ == action::Delete) {
            Delete();
        } else {
            if (request_ == action::Insert && f_.prime) {
                f_.prime();
                atOpen_ = Snapshot(f_);
            }
            RunWindow();
        }
        return response_ == outcome::Completed ? outcome::Completed : outcome::Cancelled;
    }

private:
    bool Editing() const { return request_ == action::Insert || request_ == action::Change; }

    void Delete() {
        if (ShowWarningNoText(32) != button::OK) return;
        for (;;) {
            fw::SETCURSOR(fw::Cursor::Wait);
            const long result = f_.remove ? f_.remove() : 1;
            fw::SETCURSOR();
            if (result == 0) {
                response_ = outcome::Completed;
                return;
            }
            if (ShowWarningNoText(18) != button::Yes) return;
        }
    }

    void RunWindow() {
        fw::Window window(f_.window);
        // Wide enough for a refused entry's reason as well as the action.
        fw::CString<81> message(request_ == action::Insert ? f_.insertMessage : f_.changeMessage);
        if (f_.use) f_.use(window);
        if (!f_.messageControl.empty()) window.Use(f_.messageControl, message);
        window.Open();
        if (!f_.icon.empty()) {
            fw::SetSystemIcon(f_.icon);
            fw::SetProp({}, fw::Prop::Icon, f_.icon);
        }
        FormMemory& m = *f_.memory;
        if (m.positionKnown) {
            fw::SetProp({}, fw::Prop::Xpos, m.x);
            fw::SetProp({}, fw::Prop::Ypos, m.y);
        } else {
            m.x = fw::GetProp({}, fw::Prop::Xpos).Int();
            m.y = fw::GetProp({}, fw::Prop::Ypos).Int();
            m.positionKnown = true;
        }
        if (request_ == action::Insert)
            for (const std::string& c : f_.insertOnly) fw::ENABLE(c);
        for (const DittoField& d : f_.ditto) fw::ALERT(d.control, fw::KeyCode::CtrlApostrophe);

        bool opened = false;
        while (fw::ACCEPT()) {
            switch (fw::EVENT()) {
            case fw::Event::OpenWindow:
                if (!opened) {
                    opened = true;
                    Redraw();
                    FocusFirst();
                }
                break;
            case fw::Event::GainFocus: Redraw(); break;
            case fw::Event::Rejected: Refused(window, message); break;
            case fw::Event::Accepted:
                // A corrected entry takes the refusal's text away again.
                if (refusalShown_ && !f_.messageControl.empty()) {
                    refusalShown_ = false;
                    message = request_ == action::Insert ? f_.insertMessage : f_.changeMessage;
                    fw::DISPLAY(f_.messageControl);
                }
                break;
            case fw::Event::AlertKey:
                if (fw::KEYCODE() == fw::KeyCode::CtrlApostrophe) Ditto(window);
                break;
            case fw::Event::CloseWindow:
            case fw::Event::CloseDown: OnClose(); break;
            case fw::Event::Completed: Write(); break;
            }
            const fw::FieldId accepted = fw::ACCEPTED();
            if (!accepted.number) continue;
            if (accepted == f_.okButton) {
                if (f_.checks && !f_.checks()) {
                    fw::CYCLE();
                    continue;
                }
                if (Editing()) fw::SELECT();
                else fw::POST(fw::Event::Completed);
            } else if (accepted == f_.cancelButton) {
                response_ = outcome::Cancelled;
                FormNavigationRequest() = 0;
                fw::POST(fw::Event::CloseWindow);
            } else if (!f_.helpButton.empty() && accepted == f_.helpButton && f_.help) {
                f_.help();
            } else {
                OwnButton(accepted);
            }
        }
    }

    void OwnButton(const fw::FieldId& accepted) {
        for (const std::string& b : f_.ownButtons) {
            if (!(accepted == b) || !f_.ownButton) continue;
            const FormButtonResult r = f_.ownButton(b);
            if (r == FormButtonResult::Stay) return;
            response_ = r == FormButtonResult::Completed ? outcome::Completed : outcome::Cancelled;
            Close();
            return;
        }
    }

    // A refused entry: the window has said why in a box and given it the
    // focus back with its text selected; the form's message line keeps
    // the reason in view while the user puts it right.
    template <class Message>
    void Refused(fw::Window& window, Message& message) {
        const fw::Control* entry = window.Find(fw::FIELD().number);
        if (!entry || f_.messageControl.empty()) return;
        std::string why = entry->Refusal();
        if (why.empty()) return;
        message = why;
        refusalShown_ = true;
        fw::DISPLAY(f_.messageControl);
    }

    void Redraw() {
        if (f_.redraw) f_.redraw();
        fw::DISPLAY();
    }

    void FocusFirst() {
        if (!f_.firstField.empty()) fw::SELECT(f_.firstField);
    }

    // The entry the key was pressed in takes the same field of the last
    // record this form saved.
    void Ditto(const fw::Window& window) {
        const fw::FieldId focus = fw::FIELD().number ? fw::FIELD() : fw::FOCUS();
        for (const DittoField& d : f_.ditto) {
            if (!(focus == d.control)) continue;
            // A field the user cannot change now (read-only, or an insert-only
            // field on a change) is not changed by the key either.
            const fw::Control* entry = window.Find(d.control);
            if (!entry || !entry->EffectiveEnabled() || entry->Get(fw::Prop::ReadOnly, 0).Bool()) return;
            const int i = f_.record->Find(d.field);
            if (i < 0) return;
            const fw::FieldDecl& field = f_.record->fields[static_cast<std::size_t>(i)];
            std::memcpy(static_cast<unsigned char*>(f_.buffer()) + field.offset,
                        f_.memory->lastSaved.data() + field.offset, field.size);
            fw::DISPLAY(d.control);
            return;
        }
    }

    void OnClose() {
        if (closeWithoutQuestion_ || !f_.askOnClose || response_ == outcome::Completed || !Editing() ||
            Unchanged(f_, atOpen_))
            return;
        switch (ShowWarningNoText(33)) {
        case button::Yes:
            fw::POST(fw::Event::Accepted, f_.okButton);
            fw::CYCLE();
            break;
        case button::No: break;
        default:
            FocusFirst();
            fw::CYCLE();
            break;
        }
    }

    void Close() {
        closeWithoutQuestion_ = true;
        fw::POST(fw::Event::CloseWindow);
    }

    void Write() {
        fw::CopyRecord(f_.memory->lastSaved.data(), f_.buffer(), *f_.record);
        if (request_ == action::Insert) Insert();
        else if (request_ == action::Change) Change();
    }

    void Insert() {
        if (f_.insert) f_.insert();
        else fw::SetError(fw::NotOpenErr);
        const int code = fw::ERRORCODE();
        if (code == 0) {
            response_ = outcome::Completed;
            Close();
            return;
        }
        if (code == fw::DupKeyErr && f_.file && !f_.uniqueKey.empty() &&
            fw::DUPLICATE(f_.file->FindKey(f_.uniqueKey))) {
            ShowWarningOneText(24, f_.uniqueKey);
        } else {
            fw::SetError(code);
            ShowWarningNoText(14);
        }
        FocusFirst();
    }

    void Change() {
        for (;;) {
            response_ = outcome::Cancelled;
            fw::SETCURSOR(fw::Cursor::Wait);
            const long result = Unchanged(f_, atOpen_) ? 0 : (f_.update ? f_.update() : 1);
            fw::SETCURSOR();
            if (result == 0) {
                response_ = outcome::Completed;
                Close();
                return;
            }
            if (result == 2) {
                fw::DISPLAY();
                FocusFirst();
                return;
            }
            switch (ShowWarningNoText(16)) {
            case button::Yes: continue;
            case button::No: Close(); return;
            default:
                fw::DISPLAY();
                FocusFirst();
                return;
            }
        }
    }

    const RecordFormPlan& f_;
    std::int32_t request_ = action::None;
    std::int32_t response_ = outcome::Cancelled;
    Bytes atOpen_;
    bool closeWithoutQuestion_ = false;
    bool refusalShown_ = false;
};

}  // namespace

void RunRecordForm(const RecordFormPlan& form) {
    const std::int32_t result = FormRun(form).Run();
    ActionOutcome() = result;
}

}  // namespace shell
