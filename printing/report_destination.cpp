#include "printing/report_destination.h"

#include <QPrinter>

#include <algorithm>

#include "platform/ui/common_dialogs.h"
#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace printing {

namespace {

constexpr const char* kPrinterDialogTitle = "Select A Printer";

}  // namespace

int ReportDestinationWindow(ReportPreviewer& p) {
    p.CURRENTPRINTER = CurrentPrinterName();
    p.PRINTCOPIES = 1;
    int result = 1;
    fw::Window window("ReportDestinationWindow");
    window.Use("?PREVIEWOPTION", p.PREVIEWOPTION);
    window.Use("?PRINTCOPIES", p.PRINTCOPIES);
    window.Use("?CURRENTPRINTER", p.CURRENTPRINTER);
    window.Open();
    while (fw::ACCEPT()) {
        if (fw::ACCEPTED() == "?SELECTPRINTER") {
            if (fw::PRINTERDIALOG(kPrinterDialogTitle)) p.CURRENTPRINTER = CurrentPrinterName();
            fw::DISPLAY();
        } else if (fw::ACCEPTED() == "?OK") {
            fw::CurrentPrinter().setCopyCount(1);  // the previewer makes the copies
            result = 0;
            fw::POST(fw::Event::CloseWindow);
        } else if (fw::ACCEPTED() == "?CANCEL") {
            result = 1;
            fw::POST(fw::Event::CloseWindow);
        }
    }
    return result;
}

int PrintOptionsWindow(ReportPreviewer& p) {
    p.PRINTINGOPTION = print_option::All;
    p.SELECTEDPRINTER = p.CURRENTPRINTER;
    p.IMAGECOUNT = p.IMAGEQUEUE.Count();
    p.PAGEFROM = std::clamp(p.PAGEFROM, 1, std::max(1, p.IMAGECOUNT));
    p.PAGETO = std::clamp(p.PAGETO, 1, std::max(1, p.IMAGECOUNT));
    int result = 0;
    {
        fw::Window window("PrintOptionsWindow");
        window.Use("?PRINTINGOPTION", p.PRINTINGOPTION);
        window.Use("?PAGEFROM", p.PAGEFROM);
        window.Use("?PAGETO", p.PAGETO);
        window.Use("?PRINTCOPIES", p.PRINTCOPIES);
        window.Use("?SELECTEDPRINTER", p.SELECTEDPRINTER);
        window.Open();
        fw::SetProp("?PAGEFROM", fw::Prop::RangeHigh, std::max(1, p.IMAGECOUNT));
        fw::SetProp("?PAGETO", fw::Prop::RangeHigh, std::max(1, p.IMAGECOUNT));
        // The marked choices follow the marks themselves, so a deleted
        // marked page can never leave them on with nothing marked.
        if (p.AnyMarked()) {
            fw::ENABLE("?PRINTINGOPTION:MARKED");
            fw::ENABLE("?PRINTINGOPTION:UNMARKED");
        }
        while (fw::ACCEPT()) {
            if (fw::ACCEPTED() == "?SELECTPRINTER") {
                if (fw::PRINTERDIALOG(kPrinterDialogTitle)) p.SELECTEDPRINTER = CurrentPrinterName();
                fw::DISPLAY();
            } else if (fw::ACCEPTED() == "?PRINT") {
                SelectPagesToPrint(p);
                if (p.SAVEIMAGEQUEUE.Empty()) {
                    fw::MESSAGE("There are no pages to print in this selection.|Please choose other pages.",
                                "Print Options", fw::Icon::Exclamation);
                } else {
                    result = 1;
                    fw::POST(fw::Event::CloseWindow);
                }
            } else if (fw::ACCEPTED() == "?CANCEL") {
                fw::POST(fw::Event::CloseWindow);
            }
            bool range = p.PRINTINGOPTION == print_option::Range;
            for (const char* c : {"?PAGEFROM", "?PAGETO", "?FROMPROMPT", "?TOPROMPT"}) range ? fw::ENABLE(c) : fw::DISABLE(c);
        }
    }
    // A job the printer refused (said to the user) leaves the pages unprinted.
    if (result == 1 && !PrintSelectedPages(p)) result = 0;
    return result;
}

}  // namespace printing
