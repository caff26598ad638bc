#include "songbook/songbook_procedures.h"

#include "shell/program_procedures.h"
#include "songbook/browse_disc_tracks.h"
#include "songbook/multi_listing_edit.h"
#include "songbook/renumber_discs.h"
#include "songbook/song_book_commands.h"

namespace songbook {

void RegisterSongBookProcedures() {
    shell::SetProgramProcedure("RenumberDiscs", RenumberDiscs);
    shell::SetProgramProcedure(kDiscTracksProcedure, BrowseSongBookDiscTracks);
    shell::SetProgramProcedure(kMultiEditSetupProcedure, SetupMultiListingEdit);
    shell::SetProgramProcedure(kBatchEditProcedures[0], BatchEditByTitle);
    shell::SetProgramProcedure(kBatchEditProcedures[1], BatchEditByArtist);
    shell::SetProgramProcedure(kBatchEditProcedures[2], BatchEditByDisc);
}

}  // namespace songbook
