#include "song_base_fixture.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/os/beep.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "platform/ui/control.h"
#include "platform/ui/widgets/color.h"
#include "platform/ui/widgets/paged_list_widget.h"
#include "platform/ui/window.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_files.h"
#include "songbase/edit_song_base_track.h"
#include "songbase/songbase_procedures.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "shell/data_dictionary_prefixes.h"

namespace song_base_test {

void SongBaseTest::SetUp() {
    SongBookWindowTest::SetUp();
    songbase::RegisterSongBaseProcedures();
    songbase::SongBaseTrackFormMemory() = {};
    fw::SetBeepHandler([this](unsigned) { ++beeps; });
}

void SongBaseTest::TearDown() {
    for (const char* w : {kTrackForm, kDiscTracksWindow, kBrowseWindow, kSearchWindow})
        for (int i = 0; i < 3 && d.IsOpen(w); ++i) d.CloseWindow(w);
    fw::SetBeepHandler({});
    SongBookWindowTest::TearDown();
}

void SongBaseTest::MakeSongBase(const std::vector<Track>& tracks, const std::vector<Brand>& brands) {
    fw::File& karaoke = shell::KARAOKE();
    fw::File& dmake = shell::DMake();
    fw::File& titles = shell::sTitle();
    fw::File& artists = shell::sArtist();
    for (fw::File* f : {&karaoke, &dmake, &titles, &artists}) {
        fw::CREATE(*f);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    for (const Brand& b : brands) {
        fw::ClearRecord(&BRA, *shell::DMakeFile().record);
        BRA.MakeID = b.id;
        BRA.MAKE = b.name;
        fw::ADD(dmake);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    std::set<std::string> seenTitles, seenArtists;
    for (const Track& t : tracks) {
        fw::ClearRecord(&KAR, *shell::KaraokeFile().record);
        KAR.Title = t.title;
        KAR.Artist = t.artist;
        KAR.UnqDiskID = t.unq;
        KAR.DISKID = t.diskId.empty() ? t.unq : t.diskId;
        KAR.DiskTrackNo = t.track;
        KAR.MAKEID = t.makeId;
        fw::ADD(karaoke);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        if (seenTitles.insert(fw::UpperText(t.title)).second) {
            STI.Title = t.title;
            fw::ADD(titles);
        }
        const std::string artist = t.artist.substr(0, 25);
        if (seenArtists.insert(fw::UpperText(artist)).second) {
            SAR.Artist = artist;
            fw::ADD(artists);
        }
    }
    for (fw::File* f : {&karaoke, &dmake, &titles, &artists}) fw::CLOSE(*f);
}

void SongBaseTest::MakeDiscs(const std::vector<MfrDisc>& discs) {
    fw::File& f = shell::Discs();
    fw::CREATE(f);
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    fw::OPEN(f, fw::ReadWrite | fw::DenyNone);
    for (const MfrDisc& m : discs) {
        fw::ClearRecord(&DIS, *shell::DiscsFile().record);
        DIS.MakeID = m.makeId;
        DIS.UnqDiskID = m.unq;
        DIS.DISKID = m.diskId;
        fw::ADD(f);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    fw::CLOSE(f);
}

void SongBaseTest::ChangeTitleElsewhere(const std::string& title, const std::string& changed) {
    d.Start([title, changed] {
        fw::File& karaoke = shell::KARAOKE();
        fw::OPEN(karaoke, fw::ReadWrite | fw::DenyNone);
        KAR.Title = title;
        fw::GET(karaoke, karaoke.FindKey("KAR:KTITLE"));
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        KAR.Title = changed;
        fw::PUT(karaoke);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        fw::CLOSE(karaoke);
    });
}

std::vector<std::string> SongBaseTest::StoredTracks() const {
    std::vector<std::string> out;
    for (const std::string& row : Query("MAIN.TPS", "SELECT Title, Artist, UnqDiskID, DiskTrackNo FROM records ORDER BY _id"))
        out.push_back(row);
    return out;
}

namespace {
fw::ui::PagedListWidget* ListWidget(const fw::testing::Driver& d, const char* list, const char* window) {
    fw::Window* w = d.FindWindow(window);
    fw::Control* c = w ? w->Find(list) : nullptr;
    return c ? dynamic_cast<fw::ui::PagedListWidget*>(c->Widget()) : nullptr;
}
std::string Hex(const QColor& c) {
    if (!c.isValid()) return "-";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06lX", static_cast<unsigned long>(fw::ui::ToBgr(c)));
    return buf;
}
}  // namespace

std::string SongBaseTest::CellColors(const char* list, int row, int column, const char* window) const {
    fw::ui::PagedListWidget* widget = ListWidget(d, list, window);
    if (!widget) return "no list";
    const fw::ui::CellColors c = widget->cellColors(row, column);
    return Hex(c.fg) + "," + Hex(c.bg) + "," + Hex(c.selectedFg) + "," + Hex(c.selectedBg);
}

std::string SongBaseTest::ListFormat(const char* list, const char* window) const {
    fw::Window* w = d.FindWindow(window);
    fw::Control* c = w ? w->Find(list) : nullptr;
    return c ? c->Get(fw::Prop::Format, 0).Str() : "";
}

}  // namespace song_base_test
