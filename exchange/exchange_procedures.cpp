#include "exchange/exchange_procedures.h"

#include "exchange/autoupdate_wizard.h"
#include "shell/program_procedures.h"

namespace exchange {

void RegisterExchangeProcedures() {
    shell::SetAutoUpdateWizard(AutoUpdateWizard);
    shell::SetProgramProcedure("RecoverAutoUpdate", RecoverAutoUpdate);
}

}  // namespace exchange
