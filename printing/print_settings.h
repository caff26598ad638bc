#pragma once
// The print settings of the song-book reports: shared globals that the
// designer edits and the reports read while they run, and the print setup
// files (.psf, INI text) they are saved to and recalled from.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "printing/setup_file.h"

namespace printing {

struct PrintSetup {
    long PrintSort = 1;    // 1 by title, 2 by artist
    long PrintFormat = 1;  // style 1 to 6
    std::string ReportHeader;
    std::string HeaderFont = "Arial";
    long HeaderSetBold = 0, HeaderSetItalic = 0;
    long HeaderColor = 0;
    long HeaderBackgroundColor = 0xFFFFFF;
    std::string PrintFont = "Arial";
    long TitleBold = 0, TitleItalics = 0;
    long ArtistBold = 0, ArtistItalics = 0;
    long MfrBold = 0, MfrItalics = 0;
    long DiskTrackBold = 0, DiskTrackItalics = 0;
    long WordWrap = 0;  // paper saver: nothing wrapped
    long ShowTM = 0;    // 1 leaves the by-line out
    long SetFonts = 3;  // 1 small (8 pt), 2 medium (10), 3 large (12)
    long CaseStyle = 1; // 2 all caps
    long BodyColor = 0;
    long BodyBackgroundColor = 0xFFFFFF;
    long NameFormat = 0;  // 1 FirstName LastName
    std::string ReportFooter;
    std::string FooterFont = "Arial";
    long FooterSetBold = 0, FooterSetItalic = 0;
    long FooterColor = 0;
    long FooterBackgroundColor = 0xFFFFFF;
    long FilterReport = 0;  // by date added
    long StartDate = 0, EndDate = 0;  // day numbers
    long RemoveDuplicates = 0;
    long ColumnBarFill = 0, ColumnBarBorderColor = 0;
    long ColumnBarTextColor = 0xFFFFFF;
    std::string ColumnBarFont = "Arial";
    long ColumnBarSetBold = 0, ColumnBarSetItalic = 0;
    long StartingPageNumber = 1;
    long RemoveVocals = 0;
    long OffsetPages = 0;  // binding offset on alternate pages
    long Offset = 0;       // thousandths of an inch
    long PaperType = 1;    // 1 US Letter, 2 A4
    long ShowMake = 0;     // the Mfr. column
    long FilterGenre = 0;
    std::string PrintGenre;
    long FilterDuets = 0;
    long ignoreomits = 0;
    long PAGEBREAKOFFSET = 0;  // lines added to each page or column, -5 to 5
};

// The program's print settings (initial values at start) and the footer
// text the reports print, copied from ReportFooter when a print starts.
PrintSetup& PrintSettings();
std::string& ReportFooterText();

// The typefaces the designer offers, in order.
const std::vector<std::string>& PrintTypefaces();

// The file a save writes for a name the user typed: its folder and name
// with the extension ".psf", whatever extension was typed.
std::string PrintSetupFileName(std::string_view typed);

// Writes the version and every setting into the file in one replacement;
// other keys of an existing file stay. False when it could not be written.
bool SavePrintSetup(std::string_view file, const PrintSetup& setup);

// Reads a setup file into setup. A file that is missing or not a setup file
// changes nothing. A missing, malformed or out-of-range value takes its
// initial value (ranged numbers are brought into their range) and its key
// is listed in repaired. Without the date filter both dates become today.
RecallResult RecallPrintSetup(std::string_view file, PrintSetup& setup, std::vector<std::string>& repaired);

}  // namespace printing
