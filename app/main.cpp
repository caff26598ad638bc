// The program's entry point: starts Qt, connects the program's services to
// the window runtime and the data layer, and runs the start-up procedure on
// the first thread.
#include <QApplication>

#include "exchange/exchange_procedures.h"
#include "platform/config/config_folder.h"
#include "platform/report/page_files.h"
#include "platform/report/report_fonts.h"
#include "platform/ui/program.h"
#include "shell/data_layer.h"
#include "shell/program_procedures.h"
#include "shell/program_startup.h"
#include "shell/window_runtime.h"
#include "printing/printing_procedures.h"
#include "songbase/songbase_procedures.h"
#include "songbook/book_files.h"
#include "songbook/book_folder.h"
#include "songbook/browse_song_book.h"
#include "songbook/songbook_procedures.h"

int main(int argc, char** argv) {
    fw::SetConfigFolderName(shell::kConfigFolderName);
    QApplication app(argc, argv);
    // Report pages that an earlier run left behind go; the report fonts
    // are the same for preview, printer and PDF.
    fw::report::CleanLeftoverPageFolders();
    fw::report::RegisterReportFonts();
    shell::ConnectWindowRuntime();
    shell::ConnectDataLayer();
    shell::SetBrowseSongBook(songbook::BrowseSongBook);
    printing::RegisterPrintingProcedures();
    songbase::RegisterSongBaseProcedures();
    songbook::RegisterSongBookProcedures();
    exchange::RegisterExchangeProcedures();
    // What a stopped book operation left is settled before any book opens.
    songbook::TidyBookFilesAtStart(songbook::StartFolder());
    return fw::RunProgram(shell::ProgramStartup);
}
