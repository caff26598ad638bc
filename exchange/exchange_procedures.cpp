#include "exchange/exchange_procedures.h"

#include "exchange/autoupdate_wizard.h"
#include "exchange/export_song_listings.h"
#include "exchange/import_song_listings.h"
#include "shell/program_procedures.h"

namespace exchange {

void RegisterExchangeProcedures() {
    shell::SetAutoUpdateWizard(AutoUpdateWizard);
    shell::SetProgramProcedure("RecoverAutoUpdate", RecoverAutoUpdate);
    shell::SetProgramProcedure("AutoUpdateNotice", ShowAutoUpdateNotice);
    shell::SetProgramProcedure("ExportSongListings", ExportSongListings);
    shell::SetProgramProcedure("ImportSongListings", ImportSongListings);
}

}  // namespace exchange
