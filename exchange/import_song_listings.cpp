#include "exchange/import_song_listings.h"

#include "exchange/correct_import_conflict.h"
#include "exchange/import_listings_process.h"
#include "exchange/import_session.h"
#include "exchange/listing_file.h"

#include "platform/runtime/error_state.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/help_convention.h"

#include <algorithm>
#include <string>
#include <vector>

namespace exchange {
namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kStillConflicting =
    "Conflicting Listing Still Exist!|If you continue these listing will NOT be Imported.||Do you wish to continue?";

std::string UnreadableText(const AnalysisResult& r) {
    return "Line " + std::to_string(r.badLine) + " of the Import File could not be read:|" + r.badText +
           "||Only the listings before it have been analyzed. Do you wish to continue with them?";
}

// The lines listed in full in the question; the rest are counted.
constexpr std::size_t kChangedLinesShown = 20;

std::string ReadAsText(const AnalysisResult& r) {
    return "The Import File has been read as " + FileTextName(r.text) + " text.";
}

// The question before lines with characters the book cannot store are
// imported with '?' in their place.
std::string ChangedLinesQuestion(const AnalysisResult& r) {
    std::string text = ReadAsText(r) + "|" +
                       (r.changed.size() == 1 ? std::string("This line holds") : std::to_string(r.changed.size()) + " lines hold") +
                       " characters that the SongBook cannot store:|";
    for (std::size_t i = 0; i < r.changed.size() && i < kChangedLinesShown; ++i) {
        const ChangedLine& c = r.changed[i];
        text += "|Line " + std::to_string(c.line) + ": \"" + c.title + "\" (" + c.characters + ")";
    }
    if (r.changed.size() > kChangedLinesShown)
        text += "|and " + std::to_string(r.changed.size() - kChangedLinesShown) + " more lines";
    return text + "||If you continue, each of these characters becomes \"?\", as shown.|Do you wish to continue?";
}

class ImportWindow {
public:
    explicit ImportWindow(ImportSession& session) : session_(session) {}

    // The conflict list from the queue; the highlight stays on its row number.
    void ShowConflicts(int highlight) {
        std::vector<fw::ui::ListRow> rows;
        const long n = fw::RECORDS(session_.conflicts);
        for (long i = 1; i <= n; ++i) {
            const auto* e = static_cast<const shell::ImportConflictQueueRec*>(session_.conflicts.Entry(i));
            rows.push_back({e->TITLE.Str(), e->ARTIST.Str(), e->ALTDISKID.Str(), std::to_string(e->DISKTRACKNO),
                            e->UNQDISKID.Str()});
        }
        static_cast<fw::ListControl&>(fw::ControlOf(kList)).SetRows(std::move(rows));
        fw::SetProp(kList, fw::Prop::Selected, n == 0 ? 0 : std::clamp<long>(highlight, 1, n));
        for (const char* button : {"?CHANGE", "?DELETE", "?INSERT"}) {
            if (n > 0) fw::ENABLE(button);
            else fw::DISABLE(button);
        }
        fw::DISPLAY();
    }

    // "&Ny", "&Correct" and "&Delete": the form on the highlighted entry,
    // then the entry goes where the form says.
    void Edit(std::int32_t request) {
        const long position = fw::CHOICE(kList);
        if (position < 1 || position > fw::RECORDS(session_.conflicts)) return;
        fw::GET(session_.conflicts, position);
        shell::RequestedAction() = request;
        const ConflictDestination where = CorrectImportConflict(session_, position);
        const shell::ImportConflictQueueRec row = session_.conflicts.rec;
        if (request == shell::action::Change && where != ConflictDestination::Unchanged) {
            fw::GET(session_.conflicts, position);
            fw::DELETE(session_.conflicts);
        }
        if (request != shell::action::Delete) {
            if (where == ConflictDestination::Import) {
                shell::ImportQueRec accepted{};
                fw::ClearRecord(&accepted, shell::ImportQueRec::Decl());
                CopyImportRow(row, accepted);
                session_.Accept(accepted);
            } else if (where == ConflictDestination::Conflict) {
                session_.AddConflict(row);
            }
        }
        ShowConflicts(static_cast<int>(position));
    }

    // "Import Listings": true when the window is to close.
    bool Import() {
        if (fw::RECORDS(session_.conflicts) > 0 &&
            fw::MESSAGE(kStillConflicting, {}, fw::Icon::Question, fw::Button::Yes + fw::Button::No, fw::Button::Yes) !=
                fw::Button::Yes)
            return false;
        ImportListingsProcess(session_);
        completed_ = shell::ActionOutcome() == shell::outcome::Completed;
        return true;
    }

    bool Completed() const { return completed_; }

private:
    ImportSession& session_;
    bool completed_ = false;
};

bool CanOpen(const std::string& name) {
    fw::CsvFileOf<ListingFileRec> file(ListingFileRec::Decl());  // opened only, not read
    file.name = name;
    fw::OPEN(file, fw::ReadOnly | fw::DenyWrite);
    const int code = fw::ERRORCODE();
    fw::CLOSE(file);
    if (code == 0) return true;
    fw::MESSAGE("Unable to Open Import File!|Error: " + std::to_string(code));
    return false;
}

}  // namespace

void ImportSongListings() {
    shell::ActionOutcome() = shell::outcome::Cancelled;
    std::string name;
    if (!fw::FILEDIALOG("Enter Name of Import File", name, "Import Files|*.CSV;*.csv|All Files|*.*",
                        fw::FileDialogFlag::LongName))
        return;
    if (!CanOpen(name)) return;

    const shell::FileUse discs(shell::SBDiscsFile());
    const shell::FileUse book(shell::SongBookFile());
    ImportSession session;
    ImportWindow import(session);
    {
        fw::Window window(kImportWindow);
        window.Open();
        fw::SetSystemIcon("~songbook.ico");
        fw::DISPLAY();
        const AnalysisResult analysis = AnalyzeImportFile(name, session);
        if (analysis.openError != 0) {
            fw::MESSAGE("Unable to Open Import File!|Error: " + std::to_string(analysis.openError));
            return;
        }
        fw::HIDE("?ANALYZINGGROUP");
        if (analysis.badLine > 0 &&
            fw::MESSAGE(UnreadableText(analysis), {}, fw::Icon::Exclamation, fw::Button::Yes + fw::Button::No,
                        fw::Button::No) != fw::Button::Yes)
            return;
        // Nothing is changed without a word: letters the book cannot store
        // are asked about, and a reading other than the file format's own
        // code page is said.
        if (!analysis.changed.empty()) {
            if (fw::MESSAGE(ChangedLinesQuestion(analysis), {}, fw::Icon::Question, fw::Button::Yes + fw::Button::No,
                            fw::Button::No) != fw::Button::Yes)
                return;
        } else if (!analysis.ascii && analysis.text != fw::FileText::Oem) {
            fw::MESSAGE(ReadAsText(analysis), {}, fw::Icon::Asterisk);
        }
        if (fw::RECORDS(session.conflicts) > 0) {
            fw::UNHIDE("?CONFLICTGROUP");
        } else {
            if (analysis.badLine > 0)
                fw::SetProp("?NOCONFLICTTEXT", fw::Prop::Text,
                            "The listings before line " + std::to_string(analysis.badLine) + " have NO Conflicts.");
            fw::UNHIDE("?NOCONFLICTGROUP");
        }
        import.ShowConflicts(1);

        while (window.Accept()) {
            const fw::FieldId accepted = fw::ACCEPTED();
            if (!accepted.number) continue;
            if (accepted == kList) import.Edit(shell::action::Change);  // a double-click or Enter on a row
            else if (accepted == "?INSERT") import.Edit(shell::action::Insert);
            else if (accepted == "?CHANGE") import.Edit(shell::action::Change);
            else if (accepted == "?DELETE") import.Edit(shell::action::Delete);
            else if (accepted == "?HELP") shell::ShowProgramHelp(kImportHelpTopic);
            else if (accepted == "?CANCELBUTTON") fw::POST(fw::Event::CloseWindow);
            else if (accepted == "?OKBUTTON" && import.Import()) fw::POST(fw::Event::CloseWindow);
        }
    }
    shell::ActionOutcome() = import.Completed() ? shell::outcome::Completed : shell::outcome::Cancelled;
}

}  // namespace exchange
