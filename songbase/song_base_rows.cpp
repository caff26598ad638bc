#include "songbase/song_base_rows.h"

#include "platform/ui/common_dialogs.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"

#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

void JoinBrand(fw::View& view) { view.Join(shell::DMake().FindKey("BRA:KMAKEID"), {"KAR:MAKEID"}); }

fw::ui::ListRow TrackColumns() {
    return {KAR.Title.Str(), KAR.Artist.Str(), BRA.MAKE.Str(), KAR.DISKID.Str(), std::to_string(KAR.DiskTrackNo)};
}

bool TakeSelectRequest() {
    const bool selectMode = shell::RequestedAction() == shell::action::Select;
    shell::RequestedAction() = shell::action::None;
    shell::ActionOutcome() = shell::outcome::None;
    return selectMode;
}

void ShowSelectButton(bool selectMode) {
    if (selectMode) return;
    fw::HIDE("?SELECT");
    fw::DISABLE("?SELECT");
}

void SelectPopup(bool offered) {
    if (fw::POPUP(offered ? "&Select" : "~&Select") == 1 && offered) fw::POST(fw::Event::Accepted, "?SELECT");
}

}  // namespace songbase
