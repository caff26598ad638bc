#pragma once
// The procedures of later parts that a window calls or starts: the
// song-book window, the AutoUpdate wizard, and what the song-book window
// launches (adding discs, printing, CSV import and export ...). The program
// sets each one when it is built with the part that holds it; until then
// the items and buttons that would run it stay disabled.

#include <functional>
#include <string_view>

namespace shell {

using ProgramProcedure = std::function<void()>;

// By the procedure's name ("AddMfrDiscs", "PrintMenu" ...); an empty
// procedure removes it.
void SetProgramProcedure(std::string_view name, ProgramProcedure procedure);
// Empty when the program has no such procedure.
const ProgramProcedure& ProgramProcedureNamed(std::string_view name);
bool HasProgramProcedure(std::string_view name);
// Calls it on this thread; nothing when the program has none.
void RunProgramProcedure(std::string_view name);

// The two the frame and the Quick Start panel run.
void SetBrowseSongBook(ProgramProcedure procedure);
void SetAutoUpdateWizard(ProgramProcedure procedure);
const ProgramProcedure& BrowseSongBook();
const ProgramProcedure& AutoUpdateWizard();

}  // namespace shell
