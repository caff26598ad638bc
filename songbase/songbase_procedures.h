#pragma once
// The song base's procedures, made known by name to the windows that call
// or start them (shell/program_procedures.h).

namespace songbase {

void RegisterSongBaseProcedures();

}  // namespace songbase
