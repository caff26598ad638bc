#include "printing/printing_procedures.h"

#include "printing/cd_label_setup.h"
#include "printing/management_reports.h"
#include "printing/print_menus.h"
#include "printing/print_song_book.h"
#include "printing/request_card_setup.h"
#include "printing/request_slips.h"
#include "printing/song_book_designer.h"
#include "shell/program_procedures.h"

namespace printing {

void RegisterPrintingProcedures() {
    shell::SetProgramProcedure("PrintMenu", PrintMenu);
    shell::SetProgramProcedure("ManagementReportsMenu", ManagementReportsMenu);
    shell::SetProgramProcedure("SongBookDesigner", SongBookDesigner);
    shell::SetProgramProcedure("RequestCardSetup", RequestCardSetup);
    shell::SetProgramProcedure("PrintRequestSlips", PrintRequestSlips);
    shell::SetProgramProcedure("CdLabelSetup", CdLabelSetup);
    shell::SetProgramProcedure("PrintSongTrackListing", PrintSongTrackListing);
    shell::SetProgramProcedure("PrintDiscInventory", PrintDiscInventory);
    shell::SetProgramProcedure("PrintSongBook", PrintSongBook);
}

}  // namespace printing
