#include "shell/integrity_results.h"

#include "shell/saved_error.h"

#include "platform/data/transaction.h"

namespace shell {

void SaveErrorAndRollBack() {
    SaveFileError();
    if (fw::InTransaction()) fw::ROLLBACK();
}

}  // namespace shell
