#include "exchange/correct_import_conflict.h"

#include "platform/os/beep.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/record_form.h"

#include <string>

namespace exchange {
namespace {

constexpr const char* kWindow = "P1$CORRECTIMPORTCONFLICT";
constexpr const char* kUnqEntry = "?BAD:UNQDISKID";
constexpr const char* kTrackEntry = "?BAD:DISKTRACKNO";
constexpr const char* kAltEntry = "?BAD:ALTDISKID";

shell::FormMemory& Memory() {
    static shell::FormMemory memory;
    return memory;
}

// The finding beside the entries it concerns; an entry once enabled stays so.
void ShowFinding(Clash clash) {
    for (const char* text : {"?TRACKCLASH1", "?TRACKCLASH2", "?CUSTOMCLASH1", "?CUSTOMCLASH2", "?NODISCID1", "?NODISCID2"})
        fw::HIDE(text);
    switch (clash) {
    case Clash::TrackExists:
        fw::UNHIDE("?TRACKCLASH1");
        fw::UNHIDE("?TRACKCLASH2");
        fw::ENABLE(kUnqEntry);
        fw::ENABLE(kTrackEntry);
        break;
    case Clash::CustomIdTaken:
        fw::UNHIDE("?CUSTOMCLASH1");
        fw::UNHIDE("?CUSTOMCLASH2");
        fw::ENABLE(kAltEntry);
        break;
    case Clash::NoDiscId:
        fw::UNHIDE("?NODISCID1");
        fw::UNHIDE("?NODISCID2");
        fw::ENABLE(kUnqEntry);
        fw::ENABLE(kAltEntry);
        break;
    case Clash::None: break;
    }
}

}  // namespace

ConflictDestination CorrectImportConflict(ImportSession& session, long position) {
    shell::ImportConflictQueueRec& row = session.conflicts.rec;
    ConflictDestination destination = ConflictDestination::Unchanged;
    const auto check = [&session, &row] {
        const Clash clash = session.Check(row);
        ShowFinding(clash);
        return clash;
    };

    shell::RecordFormPlan desc;
    desc.window = kWindow;
    desc.record = &shell::ImportConflictQueueRec::Decl();
    desc.buffer = [&row] { return static_cast<void*>(&row); };
    desc.memory = &Memory();
    desc.use = [&row](fw::Window& w) {
        w.Use(kUnqEntry, row.UNQDISKID);
        w.Use(kTrackEntry, row.DISKTRACKNO);
        w.Use(kAltEntry, row.ALTDISKID);
    };
    desc.firstField = kUnqEntry;
    desc.okButton = "?OK";
    desc.cancelButton = "?CANCEL";
    desc.messageControl = "?ACTIONMESSAGE";
    desc.insertMessage = "Record will be Added";
    desc.changeMessage = "Record will be Changed";
    desc.icon = "~songbook.ico";
    desc.askOnClose = false;

    bool opened = false;
    desc.redraw = [&] {
        if (opened) return;
        opened = true;
        check();
    };
    // OK: no clash left moves the row to the import; a clash left is shown
    // with a beep, and the corrected row stays a conflict.
    desc.checks = [&] {
        if (check() == Clash::None) {
            destination = ConflictDestination::Import;
        } else {
            fw::BEEP();
            destination = ConflictDestination::Conflict;
        }
        return true;
    };
    desc.insert = [] { fw::SetError(0); };
    desc.update = [] { return 0L; };
    desc.ownButtons = {"?IMPORT", "?DONOTIMPORT"};
    desc.ownButton = [&](const std::string& button) {
        if (button == "?DONOTIMPORT") {
            destination = ConflictDestination::Dropped;
            return shell::FormButtonResult::Completed;
        }
        if (check() != Clash::None) {
            fw::BEEP();
            return shell::FormButtonResult::Stay;
        }
        destination = ConflictDestination::Import;
        return shell::FormButtonResult::Completed;
    };
    desc.remove = [&session, position] {
        fw::GET(session.conflicts, position);
        if (fw::ERRORCODE() == 0) fw::DELETE(session.conflicts);
        return fw::ERRORCODE() == 0 ? 0L : 1L;
    };

    const bool deleting = shell::RequestedAction() == shell::action::Delete;
    shell::RunRecordForm(desc);
    if (shell::ActionOutcome() != shell::outcome::Completed) return ConflictDestination::Unchanged;
    return deleting ? ConflictDestination::Dropped : destination;
}

}  // namespace exchange
