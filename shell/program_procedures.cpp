#include "shell/program_procedures.h"

#include <map>
#include <string>
#include <utility>

namespace shell {
namespace {

std::map<std::string, ProgramProcedure, std::less<>>& Procedures() {
    static std::map<std::string, ProgramProcedure, std::less<>> procedures;
    return procedures;
}

}  // namespace

void SetProgramProcedure(std::string_view name, ProgramProcedure procedure) {
    if (procedure) Procedures()[std::string(name)] = std::move(procedure);
    else if (auto it = Procedures().find(name); it != Procedures().end()) Procedures().erase(it);
}

const ProgramProcedure& ProgramProcedureNamed(std::string_view name) {
    static const ProgramProcedure none;
    auto it = Procedures().find(name);
    return it == Procedures().end() ? none : it->second;
}

bool HasProgramProcedure(std::string_view name) { return static_cast<bool>(ProgramProcedureNamed(name)); }

void RunProgramProcedure(std::string_view name) {
    // A copy: the procedure may replace itself while it runs.
    if (const ProgramProcedure procedure = ProgramProcedureNamed(name)) procedure();
}

void SetBrowseSongBook(ProgramProcedure procedure) { SetProgramProcedure("BrowseSongBook", std::move(procedure)); }
void SetAutoUpdateWizard(ProgramProcedure procedure) { SetProgramProcedure("AutoUpdateWizard", std::move(procedure)); }
const ProgramProcedure& BrowseSongBook() { return ProgramProcedureNamed("BrowseSongBook"); }
const ProgramProcedure& AutoUpdateWizard() { return ProgramProcedureNamed("AutoUpdateWizard"); }

}  // namespace shell
