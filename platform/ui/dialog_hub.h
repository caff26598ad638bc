#pragma once
// Message boxes, common dialogs and pop-up menus while they wait for the
// user: the calling thread yields until an answer arrives, from a click
// or from the test driver's script.

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace fw {

enum class DialogKind { Message, File, Color, Font, Printer, PrinterSetup, Popup };

struct DialogAnswer {
    bool ok = false;      // common dialogs: chosen (false: cancelled)
    int button = 0;       // message: the value or position pressed; popup: the item (0 none)
    std::string file;     // file dialog
    long color = -1;      // colour and font dialogs, 00BBGGRR
    std::string typeface; // font dialog
    int size = 0;
    int style = 0;
};

struct PendingDialog {
    DialogKind kind = DialogKind::Message;
    int thread = 0;
    long serial = 0;                   // unique for each dialog shown
    std::string title;                 // caption (Windows-1252)
    std::string text;                  // message text, "|" already taken as line breaks
    std::vector<std::string> buttons;  // message buttons (as given) or popup items (as shown)
    std::vector<int> values;           // the answer of each button
    int defaultAnswer = 0;
    bool systemModal = false;
    std::string filter;                // file dialog
    bool save = false;
    std::function<void(const DialogAnswer&)> answer;  // first answer wins
};

// The dialogs waiting now, oldest first.
std::vector<PendingDialog*> PendingDialogs();

// Shows the widget, disables the calling thread's windows, waits until
// the dialog is answered and gives the answer. The widget is the caller's
// to delete afterwards.
DialogAnswer WaitForAnswer(PendingDialog& dialog, QWidget* shown);

// The window a dialog of the running thread is shown over.
QWidget* DialogParent();

}  // namespace fw
