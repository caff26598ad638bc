#pragma once
// The request-slip design: shared globals that the request card setup
// edits and the slips read when their report opens, and the request setup
// files (.rsf) they are saved to and recalled from.

#include <string>
#include <string_view>
#include <vector>

#include "printing/setup_file.h"

namespace printing {

struct RequestCardSetupValues {
    std::string SongRequestHeaderText = "Karaoke Song Request";
    std::string SongRequestHeaderFont = "Arial Black";
    long SongRequestHeaderFontSize = 12;
    long SongRequestHeaderFontStyle = 700;
    long SongRequestHeaderColor = 0;
    std::string SongRequestFooterText = "For Booking Info Call (555)555-1212";
    std::string SongRequestFooterFont = "Arial";
    long SongRequestFooterFontSize = 8;
    long SongRequestFooterFontStyle = 400;
    long SongRequestFooterColor = 0;
    std::string SongRequestLogoFilename;  // blank: no logo
    long UseHashMarks = 0;                // cutting guides
    long NUMBEROFSLIPS = 8;               // not stored in the files
};

// The program's request-slip design (reset to the defaults each time the
// setup window opens).
RequestCardSetupValues& RequestCardSettings();

std::string RequestSetupFileName(std::string_view typed);  // ".rsf" whatever was typed
bool SaveRequestSetup(std::string_view file, const RequestCardSetupValues& design);
// The slip count set in the window is kept; the file never holds it.
RecallResult RecallRequestSetup(std::string_view file, RequestCardSetupValues& design,
                                std::vector<std::string>& repaired);

}  // namespace printing
