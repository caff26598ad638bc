#include "songbase/add_song_tracks.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/help_convention.h"
#include "songbase/add_disc.h"
#include "songbase/own_track_lists.h"
#include "songbase/own_tracks.h"
#include "songbase/song_base_pick_lists.h"

#include <cstdint>
#include <memory>
#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

namespace {

constexpr const char* kTitleCombo = "?SBK:TITLE";
constexpr const char* kArtistCombo = "?SBK:ARTIST";
constexpr const char* kDisclessCheck = "?DISCLESS";
constexpr const char* kDiscList = "?SBK:UNQDISKID";
constexpr const char* kAddDiscButton = "?ADDDISCBUTTON";
constexpr const char* kBrandCodeList = "?SBK:MAKEID";

class TracksWindow {
public:
    // The lists, read when the window opens; false after a read error.
    bool Fill() {
        const std::optional<BrandCodes> codes = ReadBrandCodes();
        if (!codes) return false;
        fw::SetProp(kBrandCodeList, fw::Prop::From, codes->from);
        if (!FillDiscs()) return false;
        titles_ = SongBaseTitles();
        if (!titles_) return false;
        fw::SetPickList(kTitleCombo, titles_);
        return FillArtists();
    }

    bool FillDiscs() {
        auto discs = ReadBookCustomIds();
        if (!discs) return false;
        fw::SetPickList(kDiscList, std::move(discs));
        return true;
    }

    // The artists of the title; a blank artist becomes the first of them.
    bool FillArtists() {
        artists_ = ReadArtistsOfTitle(SBK.Title.Clip());
        if (!artists_) return false;
        if (SBK.Artist.Blank() && !artists_->Empty()) SBK.Artist = artists_->At(0);
        fw::SetPickList(kArtistCombo, artists_);
        return true;
    }

    // A typed title or artist the list holds takes the list's spelling;
    // another keeps the focus (and stays as typed).
    void TakeTitle() {
        if (const std::size_t i = titles_->Find(SBK.Title.Clip()); i != fw::PickList::npos) SBK.Title = titles_->At(i);
        else fw::SELECT(kTitleCombo);
        SBK.Artist = "";
        if (!FillArtists()) fw::POST(fw::Event::CloseWindow);
        fw::DISPLAY();
    }
    void TakeArtist() {
        if (const std::size_t i = artists_->Find(SBK.Artist.Clip()); i != fw::PickList::npos) {
            SBK.Artist = artists_->At(i);
            fw::DISPLAY(kArtistCombo);
        } else {
            fw::SELECT(kArtistCombo);
        }
    }

    void TakeDiscless() {
        const bool discless = discless_ != 0;
        for (const char* c : {kDiscList, "?DISCIDGROUP", kAddDiscButton, "?TRACK2GROUP", "?SBK:DISKTRACKNO:2"}) {
            if (discless) fw::HIDE(c);
            else fw::UNHIDE(c);
        }
        for (const char* c : {"?TRACKNOGROUP", "?SBK:DISKTRACKNO"}) {
            if (discless) fw::UNHIDE(c);
            else fw::HIDE(c);
        }
        if (discless) {
            SBK.DISKTRACKNO = NextFreeTrack(kDisclessDiscId);
            fw::DISPLAY();
        }
    }

    // The chosen disc proposes its next free track and its brand code.
    void TakeDisc() {
        fw::File& discs = shell::SBDiscs();
        SBD.ALTDISKID = SBK.UnqDiskID.Clip();
        fw::GET(discs, discs.FindKey("SBD:KALTDISKID"));
        if (const int code = fw::ERRORCODE(); code != 0) {
            fw::ClearError();
            fw::MESSAGE("ERROR: " + std::to_string(code));
            return;
        }
        SBK.DISKTRACKNO = NextFreeTrack(SBD.UNQDISKID.Clip());
        SBK.MAKEID = SBD.MAKETYPE;
        fw::DISPLAY();
    }

    void NewDisc() {
        AddDisc();
        if (!FillDiscs()) {
            fw::POST(fw::Event::CloseWindow);
            return;
        }
        SBK.DISKTRACKNO = 1;
        SBK.MAKEID = SBD.MAKETYPE;
        fw::DISPLAY();
    }

    // "Add Track"; false when the window closes.
    bool AddTrack() {
        if (discless_) SBK.UnqDiskID = kDisclessDiscId;
        if (SBK.Title.Blank() || SBK.Artist.Blank() || SBK.UnqDiskID.Blank() || SBK.DISKTRACKNO == 0) {
            fw::MESSAGE(kRequiredText);
            return true;
        }
        std::string customId;
        const AddTrackResult result = AddOwnTrack(customId);
        if (result == AddTrackResult::TrackInUse) fw::MESSAGE(kTrackInUseText);
        if (result != AddTrackResult::Added) {
            fw::DISPLAY();
            return true;
        }
        // A disc made for the track shows in the disc list from now on.
        if (!FillDiscs()) return false;
        if (fw::MESSAGE(kAddAnotherText, {}, fw::Icon::Question, fw::Button::Yes | fw::Button::No, fw::Button::Yes) !=
            fw::Button::Yes)
            return false;
        const fw::FString<2> brandCode = SBK.MAKEID;
        const std::uint32_t added = SBK.DISKTRACKNO;
        fw::ClearRecord(&SBK, shell::SongBookRec::Decl());
        fw::ClearRecord(&SBD, shell::SBDiscsRec::Decl());
        SBK.UnqDiskID = customId;
        SBK.MAKEID = brandCode;
        if (added >= kHighestTrackNo) {
            fw::MESSAGE(TrackLimitText());
            SBK.DISKTRACKNO = 0;
        } else {
            SBK.DISKTRACKNO = added + 1;
        }
        fw::DISPLAY();
        fw::SELECT(kTitleCombo);
        return true;
    }

    std::uint8_t discless_ = 0;

private:
    std::shared_ptr<const fw::PickList> titles_;
    std::shared_ptr<const fw::PickList> artists_;
};

void ClearForm() {
    fw::ClearRecord(&SBK, shell::SongBookRec::Decl());
    SBK.DateAdded = 0;
    SBK.DISKTRACKNO = 0;
}

}  // namespace

void AddSongTracks() {
    struct Outcome {
        ~Outcome() { shell::ActionOutcome() = shell::outcome::Cancelled; }
    } outcome;
    ClearForm();
    shell::FileUse brands(shell::DMakeFile());
    shell::FileUse tracks(shell::KaraokeFile());
    shell::FileUse codes(shell::MakeIdFile(), false);
    shell::FileUse discs(shell::SBDiscsFile());
    shell::FileUse book(shell::SongBookFile());
    shell::FileUse artists(shell::SArtistFile());
    shell::FileUse titles(shell::STitleFile());

    TracksWindow w;
    fw::Window window{std::string(kAddSongTracksWindow)};
    window.Use(kTitleCombo, SBK.Title);
    window.Use(kArtistCombo, SBK.Artist);
    window.Use(kDisclessCheck, w.discless_);
    window.Use("?SBK:DISKTRACKNO", SBK.DISKTRACKNO);
    window.Use(kDiscList, SBK.UnqDiskID);
    window.Use("?SBK:DISKTRACKNO:2", SBK.DISKTRACKNO);
    window.Use(kBrandCodeList, SBK.MAKEID);
    window.Use("?SBK:PRINT", SBK.PRINT);
    window.Open();
    fw::SetSystemIcon("~songbook.ico");
    w.TakeDiscless();

    while (fw::ACCEPT()) {
        if (fw::EVENT() == fw::Event::OpenWindow) {
            if (!w.Fill()) fw::POST(fw::Event::CloseWindow);
            fw::DISPLAY();
            fw::SELECT(kTitleCombo);
            continue;
        }
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == 0) continue;
        if (accepted == kTitleCombo) w.TakeTitle();
        else if (accepted == kArtistCombo) w.TakeArtist();
        else if (accepted == kDisclessCheck) w.TakeDiscless();
        else if (accepted == kDiscList) w.TakeDisc();
        else if (accepted == kAddDiscButton) w.NewDisc();
        else if (accepted == "?OKBUTTON") {
            if (!w.AddTrack()) fw::POST(fw::Event::CloseWindow);
        } else if (accepted == "?CANCELBUTTON") fw::POST(fw::Event::CloseWindow);
        else if (accepted == "?BUTTON5") shell::ShowProgramHelp(kAddTracksHelpTopic);
    }
}

}  // namespace songbase
