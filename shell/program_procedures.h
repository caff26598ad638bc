#pragma once
// The procedures of later parts that the frame and the Quick Start panel
// call: the song-book window and the AutoUpdate wizard. The program sets
// them when it is built with those parts; until then the items and buttons
// that would run them stay disabled.

#include <functional>

namespace shell {

using ProgramProcedure = std::function<void()>;

void SetBrowseSongBook(ProgramProcedure procedure);
void SetAutoUpdateWizard(ProgramProcedure procedure);
// Empty when the program has no such procedure.
const ProgramProcedure& BrowseSongBook();
const ProgramProcedure& AutoUpdateWizard();

}  // namespace shell
