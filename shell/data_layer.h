#pragma once
// Connects the shell's seams to the data layer: the checked opening's
// driver (OPEN read/write with deny none, SEND "Recover=10", CREATE, BUILD
// and CLOSE of the calling thread's instance of the dictionary's file,
// data_dictionary_files.h) and SaveFileError's ROLLBACK. main() connects
// them before the program runs.

#include "shell/checked_open.h"

namespace shell {

CheckedFileDriver& DataLayerFileDriver();

void ConnectDataLayer();
void DisconnectDataLayer();

}  // namespace shell
