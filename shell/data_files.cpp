#include "shell/data_files.h"

#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"

namespace shell {

fw::File& KARAOKE() { return DataFile(KaraokeFile()); }
fw::File& Discs() { return DataFile(DiscsFile()); }
fw::File& DMake() { return DataFile(DMakeFile()); }
fw::File& MAKEID() { return DataFile(MakeIdFile()); }
fw::File& sArtist() { return DataFile(SArtistFile()); }
fw::File& sTitle() { return DataFile(STitleFile()); }
fw::File& Genre() { return DataFile(GenreFile()); }
fw::File& SongBook() { return DataFile(SongBookFile()); }
fw::File& SBDiscs() { return DataFile(SBDiscsFile()); }

}  // namespace shell
