#include "songbook/songbook_procedures.h"

#include "shell/program_procedures.h"
#include "songbook/browse_disc_tracks.h"
#include "songbook/renumber_discs.h"
#include "songbook/song_book_commands.h"

namespace songbook {

void RegisterSongBookProcedures() {
    shell::SetProgramProcedure("RenumberDiscs", RenumberDiscs);
    shell::SetProgramProcedure(kDiscTracksProcedure, BrowseSongBookDiscTracks);
}

}  // namespace songbook
