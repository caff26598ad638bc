#pragma once
// The record form: the window that inserts, changes or deletes one record
// for the list that calls it. The caller leaves the record in its thread's
// record buffer and the request in RequestedAction (1 insert, 2 change,
// 3 delete); the form reports through ActionOutcome (1 completed,
// 2 cancelled) and leaves the written record in the buffer.
//
// A form states only what is its own; the protocol is RunRecordForm's:
//   static shell::FormMemory memory;       // program-wide, per form type
//   shell::RecordFormPlan desc;
//   desc.window = "LISTINGFORM"; desc.record = &shell::SongBookRec::Decl();
//   desc.buffer = [] { return static_cast<void*>(&shell::SongBookBuffer()); };
//   desc.memory = &memory; desc.use = [](fw::Window& w) { w.Use(TitleEntry, SBK.Title); ... };
//   desc.insert = [] { fw::ADD(shell::SongBook()); };
//   desc.update = [] { return shell::UpdateSongBookRecord(1); };
//   shell::RunRecordForm(desc);

#include "shell/data_dictionary_file_entry.h"

#include "platform/data/record.h"

#include <functional>
#include <string>
#include <vector>

namespace fw {
class Window;
class File;
}

namespace shell {

// What a form type keeps for the program's run, shared by every thread.
struct FormMemory {
    std::vector<unsigned char> lastSaved;  // LastSavedRecord: cleared at first use, the ditto key's source
    bool positionKnown = false;            // the first opening's position, where later ones open
    long x = 0;
    long y = 0;
};

// An entry the ditto key (Ctrl+') fills from the last saved record.
struct DittoField {
    std::string control;  // use-equate
    std::string field;    // the record's field, with or without prefix
};

// What one of a form's own buttons does once it has run.
enum class FormButtonResult { Stay, Completed, Cancelled };

struct RecordFormPlan {
    // The window and the record it edits.
    std::string window;                       // layout label
    const fw::RecordDecl* record = nullptr;
    std::function<void*()> buffer;            // the current thread's record buffer
    FormMemory* memory = nullptr;
    std::vector<const FileEntry*> files;       // opened (created when missing) and counted while the form runs
    std::function<void(fw::Window&)> use;     // binds the controls to the record's fields

    // Its controls, by use-equate.
    std::string firstField;                   // where the focus goes back to
    std::string okButton;
    std::string cancelButton;
    std::string helpButton;                   // may be empty
    std::string messageControl;               // shows the action message; may be empty
    std::vector<std::string> insertOnly;      // disabled in the layout; enabled for an insert
    std::vector<DittoField> ditto;
    std::string insertMessage;                // "SongBook Listing will be Added"
    std::string changeMessage;                // "SongBook Listing will be Changed"
    std::string icon;                         // the program icon; empty: the layout's

    // Which requests the form takes; a refused one shows warning 19 (insert)
    // or 21 (delete) and is cancelled.
    bool allowInsert = true;
    bool allowDelete = true;
    // Whether closing an altered insert or change asks warning 33 first;
    // false: Cancel and the close box drop the changes without a question.
    bool askOnClose = true;

    // Buttons of the form's own besides OK, Cancel and Help, by use-equate:
    // ownButton runs with the one pressed; Stay keeps the form open,
    // Completed and Cancelled close it with that outcome, asking nothing.
    std::vector<std::string> ownButtons;
    std::function<FormButtonResult(const std::string&)> ownButton;

    // Its steps; any may be empty.
    std::function<void()> openHook;           // the integrity layer's hook for this file
    std::function<void()> prime;              // fills an insert's record (what the caller left stays)
    std::function<void()> redraw;             // the form's lookups, at every focus
    std::function<bool()> checks;             // the OK button's own checks: false (message shown) keeps the form open
    std::function<void()> help;

    // The writes. insert leaves ERRORCODE (40 with the record duplicating
    // uniqueKey gives warning 24 naming that key, anything else warning
    // 14); update and remove return the integrity layer's result (0 done,
    // 1 failed, 2 changed by another station) having reported the failure.
    std::function<void()> insert;
    fw::File* file = nullptr;                 // where uniqueKey is looked for
    std::string uniqueKey;                    // "SBK:KUnqDiskID"
    std::function<long()> update;
    std::function<long()> remove;
};

// Runs the form for the current thread's RequestedAction.
void RunRecordForm(const RecordFormPlan& form);

}  // namespace shell
