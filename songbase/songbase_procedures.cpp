#include "songbase/songbase_procedures.h"

#include "shell/program_procedures.h"
#include "songbase/add_mfr_discs.h"
#include "songbase/add_song_tracks.h"
#include "songbase/browse_song_base.h"
#include "songbase/browse_song_base_disc_tracks.h"
#include "songbase/edit_song_base_track.h"
#include "songbase/fast_find_disc.h"
#include "songbase/search_song_base.h"

namespace songbase {

void RegisterSongBaseProcedures() {
    // The song base's browse, track form, disc tracks and search.
    shell::SetProgramProcedure("BrowseSongBase", BrowseSongBase);
    shell::SetProgramProcedure("EditSongBaseTrack", EditSongBaseTrack);
    shell::SetProgramProcedure("BrowseSongBaseDiscTracks", BrowseSongBaseDiscTracks);
    shell::SetProgramProcedure("SearchSongBase", SearchSongBase);
    // Adding manufacturers' discs to the open book.
    shell::SetProgramProcedure("AddMfrDiscs", AddMfrDiscs);
    shell::SetProgramProcedure(kFastFindProcedure, FastFindDisc);
    // Entering the host's own tracks and discs.
    shell::SetProgramProcedure("AddSongTracks", AddSongTracks);
}

}  // namespace songbase
