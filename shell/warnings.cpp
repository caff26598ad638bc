#include "shell/warnings.h"

#include "shell/saved_error.h"

#include "platform/runtime/error_state.h"
#include "platform/text/strings.h"

#include <string>

namespace shell {
namespace {

using Icon = MessageIcon;
using V = Warning::Variant;
constexpr int kOK = button::OK;
constexpr int kYesNo = button::Yes + button::No;
constexpr int kYesNoCancel = button::Yes + button::No + button::Cancel;
constexpr int kOKCancel = button::OK + button::Cancel;

constexpr Warning kWarnings[] = {
    {1, "Invalid File", "Error: ({E}) accessing {T1}.  Press OK to end this application.", Icon::Exclamation, kOK,
     kOK, "Invalid File!", 0},
    {2, "Invalid Key", "{T1} key file is invalid.  Do you want to rebuild the key?", Icon::Question, kYesNo,
     button::Yes, "Invalid Key!", button::Yes},
    {3, "Key Rebuild Error", "Error: ({E}) repairing key for {T1}.  Press OK to end this application.",
     Icon::Exclamation, kOK, kOK, "Error Rebuilding Key!", 0},
    {4, "File Creation Error", "Error: ({E}) creating {T1}.  Press OK to end this application.", Icon::Exclamation,
     kOK, kOK, "File Creation Error!", 0},
    {5, "File Creation Error", "Error: ({E}) opening created file:{T1}.  Press OK to end this application.",
     Icon::Exclamation, kOK, kOK, "File Creation Error!", 0},
    {14, "Record Insert Error", "An error was experienced during the update of record.  Error: {E}.",
     Icon::Exclamation, kOK, kOK, "", 0},
    {15, "Update Operation Error",
     "An error ({E}) was experienced when attempting to update a record from the file.  Probable Cause: {T1}.",
     Icon::Exclamation, kOK, kOK, "", 0, V::ChangedByAnother, "", "This record was changed by another station."},
    {16, "Record Update Error",
     "An error was experienced changing this record.  Do you want to try to save again?", Icon::Exclamation,
     kYesNoCancel, button::Cancel, "", 0},
    {17, "Delete Operation Error",
     "An error ({E}) was experienced when attempting to delete a record from the file {T1}.", Icon::Exclamation,
     kOK, kOK, "", 0},
    {18, "Record Update Error",
     "An error was experienced deleting this record.  Do you want to try to save again?", Icon::Exclamation,
     kYesNoCancel, button::Cancel, "", 0},
    {19, "Invalid Request",
     "This procedure was called to insert a record, however inserts are not allowed for this procedure.  "
     "Press OK to return to the calling procedure",
     Icon::Exclamation, kOK, kOK, "", 0},
    {21, "Invalid Request",
     "This procedure was called to delete a record, however deletions are not allowed for this procedure.  "
     "Press OK to return to the calling procedure",
     Icon::Exclamation, kOK, kOK, "", 0},
    {24, "Duplicate Key Error", "Adding this record creates a duplicate entry for the key:{T1}", Icon::Exclamation,
     kOK, kOK, "", 0},
    {30, "File Access Error", "File ({T1}) could not be opened.  Error: {E}.", Icon::Exclamation, kOK, kOK, "", 0},
    {31, "Process PUT Error", "An error was experienced when making changes to the {T2} file.  Error: {E}",
     Icon::Exclamation, kOK, kOK, "", 0, V::NotPut, "Process DELETE Error",
     "An error was experienced when deleting a record from the {T2} file.  Error: {E}"},
    {32, "Confirm Delete",
     "You've selected to delete the highlighted record.  Press OK to confirm deletion of this record.",
     Icon::Question, kOKCancel, button::Cancel, "", 0},
    {33, "Update Cancelled", "Do you want to save the changes to this record?", Icon::Question, kYesNoCancel,
     button::No, "", 0},
    {34, "Transaction Framing Error",
     "Error: ({E}) attempting to frame the {t1} transaction on {T2}.  {T1} transaction cancelled.",
     Icon::Exclamation, kOK, kOK, "", 0},
    {35, "Record Retrieval Error",
     "Error: ({E}) attempting to access a record from the {T1} file.  Returning to previous window.",
     Icon::Exclamation, kOK, kOK, "", 0},
    {36, "View Open Error",
     "Error: ({E}) attempting to open the current VIEW. Filter and Range Limits ignored.", Icon::Exclamation, kOK,
     kOK, "", 0},
    {38, "Record Was Not Updated",
     "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button or "
     "Ctrl+' to recall your changes.",
     Icon::Exclamation, kOK, kOK, "", 0},
};

const Warning* Find(int number) {
    for (const Warning& w : kWarnings)
        if (w.number == number) return &w;
    return nullptr;
}

// The text with its placeholders replaced, in one pass, so that a text
// passed in is never taken for a placeholder.
std::string Fill(std::string_view text, const std::string& t1, const std::string& t2, const std::string& e) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto open = text.find('{', i);
        const auto close = open == std::string_view::npos ? open : text.find('}', open);
        if (close == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, open - i));
        const std::string_view name = text.substr(open + 1, close - open - 1);
        if (name == "T1") out += t1;
        else if (name == "T2") out += t2;
        else if (name == "t1") out += fw::LOWER(t1);
        else if (name == "E") out += e;
        else out.append(text.substr(open, close - open + 1));
        i = close + 1;
    }
    return out;
}

bool UseAlternative(const Warning& w, const std::string& t1, int code) {
    switch (w.variant) {
        case V::ChangedByAnother: return code == 0 || code == fw::RecordChangedErr;
        case V::NotPut: return t1 != "Put";
        case V::None: break;
    }
    return false;
}

}  // namespace

std::span<const Warning> Warnings() { return kWarnings; }

int ShowWarning(int number, std::string_view t1, std::string_view t2) {
    const ReportedError error = TakeReportedError();
    const Warning* w = Find(number);
    if (!w) return 0;
    const std::string text1 = fw::CLIP(t1);
    const std::string text2 = fw::CLIP(t2);
    const bool alt = UseAlternative(*w, text1, error.code);
    const std::string_view caption = alt && !w->altCaption.empty() ? w->altCaption : w->caption;
    const std::string text = Fill(alt ? w->altText : w->text, text1, text2, error.text);
    const int pressed = ShowMessage(text, caption, w->icon, w->buttons, w->defaultButton);
    if (!w->haltText.empty() && (w->returnsOn == 0 || pressed != w->returnsOn)) Halt(w->haltText);
    return pressed;
}

int ShowWarningOneText(int number, std::string_view t1) { return ShowWarning(number, t1, ""); }

int ShowWarningNoText(int number) { return ShowWarning(number, "", ""); }

}  // namespace shell
