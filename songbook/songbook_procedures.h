#pragma once
// The song-book workspace's procedures that other windows reach by name
// (shell/program_procedures.h): the song-book window's commands, menu
// items and Quick Click items come alive once they are registered.

namespace songbook {

void RegisterSongBookProcedures();

}  // namespace songbook
