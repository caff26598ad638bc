#include "songbase/edit_song_base_track.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/integrity_updates.h"

#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

namespace {

constexpr const char* kDesignTitle = "Edit Main SongBase Track ";

// The track's brand, blank when DMake has none; not during the accept-all pass.
void LoadBrand() {
    if (fw::GetProp({}, fw::Prop::AcceptAll).Bool()) return;
    BRA.MakeID = KAR.MAKEID;
    fw::GET(shell::DMake(), shell::DMake().FindKey("BRA:KMAKEID"));
    if (fw::ERRORCODE() != 0) fw::ClearRecord(&BRA, *shell::DMakeFile().record);
    fw::SetError(0);
}

bool TitleGiven() {
    if (!KAR.Title.Blank()) return true;
    fw::MESSAGE(kBlankTitleText, "Edit Main SongBase Track", fw::Icon::Exclamation, fw::Button::Ok, fw::Button::Ok);
    fw::SELECT("?KAR:TITLE");
    return false;
}

}  // namespace

shell::FormMemory& SongBaseTrackFormMemory() {
    static shell::FormMemory memory;
    return memory;
}

void EditSongBaseTrack() {
    const bool changing = shell::RequestedAction() == shell::action::Change;
    const std::string caption = std::string(kDesignTitle) + "  (DiscID: " + std::string(KAR.DISKID.Clip()) +
                                "  Track:" + std::to_string(KAR.DiskTrackNo) + ")";
    shell::RecordFormPlan desc;
    desc.window = "P1$SONGBASETRACKFORM";
    desc.record = &shell::KaraokeRec::Decl();
    desc.buffer = [] { return static_cast<void*>(&shell::KaraokeBuffer()); };
    desc.memory = &SongBaseTrackFormMemory();
    desc.files = {&shell::DMakeFile(), &shell::KaraokeFile()};
    desc.use = [](fw::Window& w) {
        w.Use("?KAR:TITLE", KAR.Title);
        w.Use("?KAR:ARTIST", KAR.Artist);
        w.Use("?KAR:DISKID", KAR.DISKID);
        w.Use("?KAR:DISKTRACKNO", KAR.DiskTrackNo);
        w.Use("?BRA:MAKE", BRA.MAKE);
    };
    desc.firstField = "?KAR:TITLE";
    desc.okButton = "?OK";
    desc.cancelButton = "?CANCEL";
    desc.ditto = {{"?KAR:TITLE", "KAR:Title"},
                  {"?KAR:ARTIST", "KAR:Artist"},
                  {"?KAR:DISKID", "KAR:DISKID"},
                  {"?KAR:DISKTRACKNO", "KAR:DiskTrackNo"}};
    desc.icon = "~songbook.ico";
    desc.allowInsert = false;
    desc.allowDelete = false;
    desc.openHook = shell::SongBaseFormOpenHook;
    desc.redraw = [changing, caption] {
        if (changing) fw::SetProp({}, fw::Prop::Text, caption);
        LoadBrand();
    };
    desc.checks = TitleGiven;
    desc.update = [] { return shell::UpdateSongBaseRecord(1); };
    shell::RunRecordForm(desc);
}

}  // namespace songbase
