#pragma once
// The dictionary's files by their labels, as program code names them:
//   fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
//   fw::NEXT(shell::SongBook());   // fills SBK, the thread's buffer
// Each is shell::DataFile of its FileEntry (data_dictionary_files.h).

#include "shell/data_dictionary_files.h"

namespace shell {

fw::File& KARAOKE();
fw::File& Discs();
fw::File& DMake();
fw::File& MAKEID();
fw::File& sArtist();
fw::File& sTitle();
fw::File& Genre();
fw::File& SongBook();
fw::File& SBDiscs();

}  // namespace shell
