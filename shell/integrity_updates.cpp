#include "shell/integrity_updates.h"

#include "shell/data_dictionary_globals.h"
#include "shell/data_files.h"
#include "shell/integrity_results.h"
#include "shell/warnings.h"

#include "platform/data/file_ops.h"
#include "platform/data/transaction.h"
#include "platform/runtime/error_state.h"

#include <string>

namespace shell {
namespace {

long UpdateRecord(fw::File& file, long warnChanged) {
    const std::string& label = file.Label();
    fw::LOGOUT(integrity::kLogoutSeconds, file);
    if (fw::ERRORCODE()) {
        SaveErrorAndRollBack();
        ShowWarning(34, "Update", label);
        return integrity::Failed;
    }
    const std::string position = fw::POSITION(file);
    fw::PUT(file);
    if (fw::ERRORCODE() == 0) {
        fw::COMMIT();
        if (fw::ERRORCODE() == 0) return integrity::Done;
    }
    SaveErrorAndRollBack();
    if (SavedErrorCode == fw::RecordChangedErr && warnChanged) {
        ShowWarningNoText(38);
        fw::WATCH(file);
        fw::REGET(file, position);
        return integrity::ChangedByAnother;
    }
    ShowWarningOneText(15, label);
    return integrity::Failed;
}

}  // namespace

long UpdateSongBookRecord(long warnChanged) { return UpdateRecord(SongBook(), warnChanged); }
long UpdateSongBaseRecord(long warnChanged) { return UpdateRecord(KARAOKE(), warnChanged); }

void SongBookFormOpenHook() {}
void SongBaseFormOpenHook() {}

}  // namespace shell
