#include "songbook/multi_listing_edit.h"

#include "platform/data/bind.h"
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/text/strings.h"
#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/process_window.h"
#include "shell/saved_error.h"
#include "shell/warnings.h"

#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbook {

namespace {

constexpr const char* kTitleCheck = "?GLO:BATCHCHANGETITLE";
constexpr const char* kArtistCheck = "?GLO:BATCHCHANGEARTIST";

void ShowChosenGroups() {
    const MultiEditSettings& m = MultiEdit();
    if (m.changeTitle) fw::UNHIDE("?TITLEGROUP");
    else fw::HIDE("?TITLEGROUP");
    if (m.changeArtist) fw::UNHIDE("?ARTISTGROUP");
    else fw::HIDE("?ARTISTGROUP");
}

// One batch edit: which field is matched, the key that orders the pass,
// what it may change and its text.
struct BatchEdit {
    const char* savedName;  // the BIND name of the value matched
    const char* field;      // the record's field in the filter
    const char* order;
    bool mayRename;         // title and artist may change (not on a disc)
    bool titleToo;          // the title may change as well
    const char* userText;
    std::string (*current)();  // the matched field of the record buffer
};

void RunBatchEdit(const BatchEdit& edit, const fw::FString<40>& matched) {
    shell::FileUse bookInUse(shell::SongBookFile());
    fw::File& book = shell::SongBook();
    fw::FString<40> saved = matched;
    fw::PUSHBIND();
    fw::BIND(book);
    fw::BIND(edit.savedName, saved);

    const MultiEditSettings m = MultiEdit();
    // A new title or artist can move a listing in the order and out of the
    // filter: the matches are listed first and each is visited once.
    shell::ViewSource view(book, book.FindKey(edit.order),
                           edit.mayRename ? shell::ActionMovesKey::Yes : shell::ActionMovesKey::No);
    view.filter = "UPPER(" + std::string(edit.field) + ") = UPPER(" + edit.savedName + ")";
    shell::ProgressPlan desc(view);
    desc.measure = shell::ByRecords(25);
    desc.estimate = [] { return 20L; };
    desc.texts.user = edit.userText;
    const std::string wanted = fw::UPPER(saved.Clip());
    auto matches = [&] { return fw::UPPER(fw::CLIP(edit.current())) == wanted; };
    auto change = [&] {
        if (edit.mayRename && edit.titleToo && m.changeTitle) SBK.Title = m.title.Clip();
        if (edit.mayRename && m.changeArtist) SBK.Artist = m.artist.Clip();
        if (m.changeOmit) SBK.PRINT = "X";
    };
    long notChanged = 0;
    desc.action = [&]() -> shell::PassState {
        switch (EditListing(book, matches, change)) {
        case ListingEdit::Written:
        case ListingEdit::NoLongerMatches: return shell::PassState::Running;
        case ListingEdit::StillChanging: ++notChanged; return shell::PassState::Running;
        case ListingEdit::Failed: break;
        }
        // A write that fails ends the pass with what was done.
        shell::SaveFileError();
        shell::ShowWarning(31, "Put", "Process:View");
        return shell::PassState::Completed;
    };
    shell::RunProgressProcess(desc);
    fw::POPBIND();
    if (notChanged > 0) {
        fw::MESSAGE("The Multi-Listing Edit could not change " + std::to_string(notChanged) +
                        (notChanged == 1 ? " listing" : " listings") +
                        ":|another copy of the program kept changing " + (notChanged == 1 ? "it" : "them") +
                        " at the same time.||Please run the edit again.",
                    "Multi-Listing Edit", fw::Icon::Exclamation);
    }
}

}  // namespace

ListingEdit EditListing(fw::File& book, const std::function<bool()>& matches, const std::function<void()>& change) {
    constexpr int kAttempts = 20;
    const std::string at = fw::POSITION(book);
    for (int attempt = 1;; ++attempt) {
        fw::WATCH(book);
        fw::REGET(book, at);
        if (fw::ERRORCODE() == fw::BadRecErr) return ListingEdit::NoLongerMatches;
        if (fw::ERRORCODE() != 0) return ListingEdit::Failed;
        if (!matches()) return ListingEdit::NoLongerMatches;
        change();
        fw::PUT(book);
        if (fw::ERRORCODE() == 0) return ListingEdit::Written;
        if (fw::ERRORCODE() != fw::RecordChangedErr) return ListingEdit::Failed;
        if (attempt == kAttempts) return ListingEdit::StillChanging;
    }
}

MultiEditSettings& MultiEdit() {
    static MultiEditSettings settings;
    return settings;
}

void SetupMultiListingEdit() {
    shell::FileUse bookInUse(shell::SongBookFile());
    MultiEditSettings& m = MultiEdit();
    m.changeTitle = m.changeArtist = m.changeOmit = 0;
    m.artist = SBK.Artist;
    m.title = SBK.Title;
    shell::DialogCancelled = 1;

    fw::Window window(kMultiEditWindow);
    window.Use("?GLO:SBK:TITLE", m.title);
    window.Use("?GLO:SBK:ARTIST", m.artist);
    window.Use(kTitleCheck, m.changeTitle);
    window.Use(kArtistCheck, m.changeArtist);
    window.Use("?GLO:BATCHCHANGEOMIT", m.changeOmit);
    window.Use("?SBD:ALTDISKID", SBD.ALTDISKID);
    window.Use("?SBK:TITLE", SBK.Title);
    window.Use("?SBK:ARTIST", SBK.Artist);
    window.Open();
    switch (shell::MultiEditField) {
    case 1: fw::UNHIDE("?TITLEHEADER"); break;
    case 2:
        fw::UNHIDE("?ARTISTHEADER");
        fw::DISABLE(kTitleCheck);
        break;
    default:
        fw::UNHIDE("?DISCIDHEADER");
        fw::DISABLE(kTitleCheck);
        fw::DISABLE(kArtistCheck);
        break;
    }
    ShowChosenGroups();
    fw::DISPLAY();

    while (window.Accept()) {
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == kTitleCheck || accepted == kArtistCheck) ShowChosenGroups();
        if (accepted == "?OKBUTTON" &&
            fw::MESSAGE(kMultiEditQuestion, kMultiEditCaption, fw::Icon::Exclamation,
                        fw::Button::Yes + fw::Button::No, fw::Button::No) == fw::Button::Yes) {
            shell::DialogCancelled = 0;
            fw::POST(fw::Event::CloseWindow);
        }
        if (accepted == "?CANCELBUTTON") {
            shell::DialogCancelled = 1;
            fw::POST(fw::Event::CloseWindow);
        }
    }
}

void BatchEditByTitle() {
    static const BatchEdit edit{"Process:Save::SBK:Title", "SBK:Title", "SBK:TITLEKEY", true, true,
                                "Performing Batch Operation",
                                [] { return SBK.Title.Str(); }};
    RunBatchEdit(edit, SBK.Title);
}

void BatchEditByArtist() {
    static const BatchEdit edit{"Process:Save::SBK:Artist", "SBK:Artist", "SBK:ARTISTKEY", true, false,
                                "Performing Batch Operation",
                                [] { return SBK.Artist.Str(); }};
    RunBatchEdit(edit, SBK.Artist);
}

void BatchEditByDisc() {
    static const BatchEdit edit{"Process:Save::SBK:UnqDiskID", "SBK:UnqDiskID", "SBK:KDISKID", false, false,
                                "Performing Mulit-Listing Edit", [] { return SBK.UnqDiskID.Str(); }};
    fw::FString<40> disc;
    disc = SBK.UnqDiskID.Clip();
    RunBatchEdit(edit, disc);
}

}  // namespace songbook
