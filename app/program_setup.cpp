#include "app/program_setup.h"

#include "exchange/exchange_procedures.h"
#include "exchange/replacement_file.h"
#include "platform/report/page_files.h"
#include "platform/report/report_fonts.h"
#include "printing/printing_procedures.h"
#include "shell/data_layer.h"
#include "shell/program_procedures.h"
#include "shell/window_runtime.h"
#include "songbase/songbase_procedures.h"
#include "songbook/book_files.h"
#include "songbook/book_folder.h"
#include "songbook/browse_song_book.h"
#include "songbook/songbook_procedures.h"

namespace app {

void SetUpProgram() {
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
    // So is the temporary file of an export that was stopped.
    exchange::RemoveExportLeftovers();
}

}  // namespace app
