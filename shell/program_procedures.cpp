#include "shell/program_procedures.h"

#include <utility>

namespace shell {
namespace {

ProgramProcedure& SongBookProcedure() {
    static ProgramProcedure procedure;
    return procedure;
}

ProgramProcedure& WizardProcedure() {
    static ProgramProcedure procedure;
    return procedure;
}

}  // namespace

void SetBrowseSongBook(ProgramProcedure procedure) { SongBookProcedure() = std::move(procedure); }
void SetAutoUpdateWizard(ProgramProcedure procedure) { WizardProcedure() = std::move(procedure); }
const ProgramProcedure& BrowseSongBook() { return SongBookProcedure(); }
const ProgramProcedure& AutoUpdateWizard() { return WizardProcedure(); }

}  // namespace shell
