#pragma once
// Song request slips: eight to a Letter page in a 2 by 4 grid, each with
// the designed header, the four writing lines, the footer and the optional
// logo, with the cutting guides on every page when asked for. The slips
// use nothing from the song book.
//
//   printing::RequestSlipSheets sheets(printing::RequestCardSettings());
//   sheets.Print();                          // one slip
//   fw::report::PageList pages = sheets.Finish();

#include "platform/report/page_files.h"
#include "platform/report/report.h"
#include "printing/request_card_settings.h"

namespace printing {

class RequestSlipSheets {
public:
    explicit RequestSlipSheets(const RequestCardSetupValues& design);
    void Print() { report_.Print("SLIP"); }
    fw::report::PageList Finish() { return report_.Finish(); }

private:
    fw::report::Report report_;
};

// Started by the request card setup on a thread of its own.
void PrintRequestSlips();

}  // namespace printing
