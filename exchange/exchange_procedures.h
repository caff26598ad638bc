#pragma once
// The procedures of the listing exchange and AutoUpdate, by name.

namespace exchange {

// The AutoUpdate wizard for the frame and Quick Start, the recovery of an
// interrupted install that the start-up runs ("RecoverAutoUpdate"), and
// the CSV export and import that the song-book window calls
// ("ExportSongListings", "ImportSongListings").
void RegisterExchangeProcedures();

}  // namespace exchange
