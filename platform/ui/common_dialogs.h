#pragma once
// The common dialogs: file open and save, colour, font with colour,
// printer choice and printer set-up. Each shows the Qt widget dialog
// without a nested event loop: the calling thread waits for the answer.
// Each returns true when the user chose, false when cancelled.

#include <QPrinter>

#include <string>
#include <string_view>
#include <vector>

#include "platform/text/fixed_string.h"

namespace fw {

namespace FileDialogFlag {
enum : int {
    Save = 1,        // a save dialog (no overwrite question: the program asks its own)
    KeepDir = 2,     // keep the current folder (no dialog here ever changes it)
    NoError = 4,
    LongName = 8,
    Directory = 16,  // choose a folder
    AnyFile = 32,    // an open dialog that accepts a name that does not exist yet
};
}

// filter: "description|pattern|description|pattern" ("SongBook|*.SBK").
// The dialog starts in the folder of the given file, else the current folder.
bool FILEDIALOG(std::string_view title, std::string& file, std::string_view filter = {}, int flags = 0);
template <std::size_t N>
bool FILEDIALOG(std::string_view title, FString<N>& file, std::string_view filter = {}, int flags = 0) {
    std::string value = file.Str();
    if (!FILEDIALOG(title, value, filter, flags)) return false;
    file = value;  // cut to the variable's length
    return true;
}

// colour: 00BBGGRR, in and out.
bool COLORDIALOG(std::string_view title, long& color);

// style: weight plus 4096 for italic; colour 00BBGGRR.
bool FONTDIALOG(std::string_view title, std::string& typeface, int& size, long& color, int& style);
template <std::size_t N>
bool FONTDIALOG(std::string_view title, FString<N>& typeface, int& size, long& color, int& style) {
    std::string value = typeface.Str();
    if (!FONTDIALOG(title, value, size, color, style)) return false;
    typeface = value;
    return true;
}

// Chooses the printer of CurrentPrinter().
bool PRINTERDIALOG(std::string_view title);
// The frame's printer set-up (paper and orientation of CurrentPrinter()).
void ShowPrinterSetup();
// The program's one printer, shared by every report.
QPrinter& CurrentPrinter();

// POPUP: a pop-up menu at the mouse. Items are split at "|", "&" marks the
// mnemonic, a leading "~" greys an item, "-" is a separator. Returns the
// item's number from 1 (separators not counted), 0 when none was chosen.
int POPUP(std::string_view items);

// A pop-up item given on its own, so a text from data needs no care for
// "|", "~" or "-"; "&" still marks the mnemonic (see Literal).
struct PopupItem {
    std::string text;
    bool enabled = true;
    bool separator = false;
};
int POPUP(const std::vector<PopupItem>& items);

// A text from data made fit for a menu item, pop-up item, button, check
// box, radio, prompt or tab, where "&" marks the mnemonic: each "&" is
// doubled, so it shows as it stands and underlines nothing.
std::string Literal(std::string_view text);

}  // namespace fw
