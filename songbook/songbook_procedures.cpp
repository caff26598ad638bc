#include "songbook/songbook_procedures.h"

#include "shell/program_procedures.h"
#include "songbook/renumber_discs.h"

namespace songbook {

void RegisterSongBookProcedures() {
    shell::SetProgramProcedure("RenumberDiscs", RenumberDiscs);
}

}  // namespace songbook
