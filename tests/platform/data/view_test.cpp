#include "data_test_support.h"

#include "platform/data/bind.h"
#include "platform/data/view.h"
#include "platform/runtime/thread_context.h"

#include <gtest/gtest.h>

using namespace datatest;

namespace {

// Discs (parent) and their tracks (child, joined on the disc key).
struct Disc {
    fw::FString<10> Id;
    fw::FString<20> Brand;
};

const fw::RecordDecl& DiscDecl() {
    static const fw::RecordDecl d =
        fw::RecordDeclBuilder<Disc>("DSC").Field("Id", &Disc::Id).Field("Brand", &Disc::Brand).Build();
    return d;
}

class Views : public ::testing::Test {
protected:
    void SetUp() override {
        fw::FileDecl d;
        d.label = "Discs";
        d.record = &DiscDecl();
        d.keys = {{"KID", {"Id"}, true}, {"KBRAND", {"Brand"}}};
        d.name = fw::FixedName(dir / "DISCS.DAT");
        discs = std::make_unique<fw::File>(d);
        trackName->name = dir / "TRACKS.DAT";
        tracks = MakeSongFile(trackName, "Tracks");
        for (fw::File* f : {discs.get(), tracks.get()}) {
            fw::CREATE(*f);
            fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
            ASSERT_EQ(fw::ERRORCODE(), 0);
        }
        AddDisc("D1", "Sound");
        AddDisc("D2", "Sound");  // no tracks
        AddDisc("D3", "Pop");
        AddSong(*tracks, "Second", "d1", 2);  // joins ignoring case
        AddSong(*tracks, "First", "D1", 1);
        AddSong(*tracks, "Only", "D3", 1);
        AddSong(*tracks, "Orphan", "D9", 1);
        fw::ClearRecord(discs->Buffer(), DiscDecl());
        fw::ClearRecord(tracks->Buffer(), SongDecl());
    }
    void TearDown() override {
        fw::CLOSE(*discs);
        fw::CLOSE(*tracks);
    }
    void AddDisc(const char* id, const char* brand) {
        Disc& r = discs->Rec<Disc>();
        r.Id = id;
        r.Brand = brand;
        fw::ADD(*discs);
    }
    // "disc/track" of each row read to the end.
    std::vector<std::string> Rows(fw::View& v, bool forward = true) {
        std::vector<std::string> out;
        for (;;) {
            forward ? fw::NEXT(v) : fw::PREVIOUS(v);
            if (fw::ERRORCODE()) break;
            out.push_back(discs->Rec<Disc>().Id.Str() + "/" + Buf(*tracks).Title.Str());
        }
        EXPECT_EQ(fw::ERRORCODE(), fw::RecordNotAvailable);
        return out;
    }

    TempDir dir;
    std::unique_ptr<fw::File> discs;
    std::shared_ptr<Named> trackName = std::make_shared<Named>();
    std::unique_ptr<fw::File> tracks;
};

using Rows_ = std::vector<std::string>;

TEST_F(Views, OuterJoinGivesChildrenInKeyOrderAndParentsWithoutChildrenOnce) {
    fw::View v(*discs);
    v.Join(tracks->FindKey("SNG:KDISC"), {"DSC:Id"});
    fw::SET(discs->FindKey("KID"));
    fw::OPEN(v);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(Rows(v), (Rows_{"D1/First", "D1/Second", "D2/", "D3/Only"}));
    fw::SET(v);
    EXPECT_EQ(Rows(v, false), (Rows_{"D3/Only", "D2/", "D1/Second", "D1/First"}));
    // The child buffer of a parent without children is cleared.
    fw::SET(v);
    fw::NEXT(v);
    fw::NEXT(v);
    fw::NEXT(v);
    EXPECT_EQ(discs->Rec<Disc>().Id.Str(), "D2");
    EXPECT_TRUE(Buf(*tracks).Disc.Blank());
    EXPECT_EQ(Buf(*tracks).Track, 0);
}

TEST_F(Views, TrackTheOrderOfTheKeySetBeforeOpen) {
    fw::View v(*tracks);
    v.Join(discs->FindKey("KID"), {"SNG:Disc"});
    fw::SET(tracks->FindKey("KTITLE"));
    fw::OPEN(v);
    EXPECT_EQ(Rows(v), (Rows_{"D1/First", "D3/Only", "/Orphan", "D1/Second"}));
}

TEST_F(Views, PositionsFindTheRowOrItsNeighbourAgain) {
    fw::View v(*discs);
    v.Join(tracks->FindKey("KDISC"), {"DSC:Id"});
    fw::SET(discs->FindKey("KID"));
    fw::OPEN(v);
    fw::NEXT(v);
    fw::NEXT(v);  // D1/Second
    const std::string second = fw::POSITION(v);
    fw::NEXT(v);  // D2 without tracks
    const std::string d2 = fw::POSITION(v);

    fw::RESET(v, second);
    EXPECT_EQ(Rows(v), (Rows_{"D1/Second", "D2/", "D3/Only"}));
    fw::RESET(v, second);
    EXPECT_EQ(Rows(v, false), (Rows_{"D1/Second", "D1/First"}));
    fw::RESET(v, d2 + std::string(30, ' '));
    EXPECT_EQ(Rows(v), (Rows_{"D2/", "D3/Only"}));

    // The row's track goes: the disc's next track (none) and then the next disc.
    fw::REGET(v, second);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(Buf(*tracks).Title.Str(), "Second");
    fw::DELETE(*tracks);
    fw::RESET(v, second);
    EXPECT_EQ(Rows(v), (Rows_{"D2/", "D3/Only"}));
    fw::RESET(v, second);
    EXPECT_EQ(Rows(v, false), (Rows_{"D1/First"}));
    fw::REGET(v, second);
    EXPECT_EQ(fw::ERRORCODE(), fw::BadRecErr);
    fw::RESET(v, "garbage");
    EXPECT_EQ(fw::ERRORCODE(), fw::BadRecErr);
}

TEST_F(Views, OpenStartsWhereTheFileWasPositioned) {
    fw::View v(*discs);
    discs->Rec<Disc>().Id = "d2";
    fw::SET(discs->FindKey("KID"), discs->FindKey("KID"));
    fw::OPEN(v);
    EXPECT_EQ(Rows(v), (Rows_{"D2/", "D3/"}));
    // The view's place is its own: the file's sequence goes on apart from it.
    fw::SET(discs->FindKey("KID"));
    fw::OPEN(v);
    fw::NEXT(v);
    fw::SET(discs->FindKey("KBRAND"));
    fw::NEXT(*discs);
    EXPECT_EQ(discs->Rec<Disc>().Id.Str(), "D3");
    fw::NEXT(v);
    EXPECT_EQ(discs->Rec<Disc>().Id.Str(), "D2");
}

TEST_F(Views, FiltersUseBoundNamesWithTheirCurrentValues) {
    fw::PUSHBIND();
    fw::FString<10> wanted{"d1"};
    fw::BIND("Wanted", wanted);
    fw::View v(*tracks);
    v.SetFilter("UPPER(SNG:Disc) = UPPER(Wanted)");
    ASSERT_EQ(fw::ERRORCODE(), 0);
    fw::SET(tracks->FindKey("KDISC"));
    fw::OPEN(v);
    EXPECT_EQ(Rows(v), (Rows_{"/First", "/Second"}));
    EXPECT_EQ(v.range_.size(), 1u);  // served by the disc key's range
    wanted = "D3";
    fw::SET(v);
    EXPECT_EQ(Rows(v), (Rows_{"/Only"}));

    // Both components fixed; a filter on a field outside the order is checked per record.
    v.SetFilter("SNG:Track = 2 AND UPPER(SNG:Disc) = UPPER('D1')");
    fw::SET(v);
    EXPECT_EQ(Rows(v), (Rows_{"/Second"}));
    EXPECT_EQ(v.range_.size(), 2u);
    v.SetFilter("INSTRING('O', UPPER(SNG:Title), 1, 1) > 0 OR SNG:Track = 2");
    fw::SET(v);
    EXPECT_EQ(Rows(v), (Rows_{"/Second", "/Only", "/Orphan"}));
    EXPECT_TRUE(v.range_.empty());

    // A filter that does not parse: an error, and the view runs unfiltered.
    v.SetFilter("UPPER(SNG:Disc = 'D1'");
    EXPECT_EQ(fw::ERRORCODE(), 800);
    fw::SET(v);
    EXPECT_EQ(Rows(v).size(), 4u);
    fw::POPBIND();
}

TEST_F(Views, ARangeFilterStartsInsideItsRangeWhereverTheFileStood) {
    fw::View v(*tracks);
    v.SetFilter("UPPER(SNG:Disc) = 'D3'");
    Buf(*tracks).Disc = "A";
    fw::SET(tracks->FindKey("KDISC"), tracks->FindKey("KDISC"));
    fw::OPEN(v);
    EXPECT_EQ(Rows(v), (Rows_{"/Only"}));
    Buf(*tracks).Disc = "Z";
    fw::SET(tracks->FindKey("KDISC"), tracks->FindKey("KDISC"));
    fw::OPEN(v);
    EXPECT_EQ(Rows(v), (Rows_{}));
    fw::OPEN(v);
    EXPECT_EQ(Rows(v, false), (Rows_{"/Only"}));
}

TEST_F(Views, WatchAndPutThroughAView) {
    fw::View v(*tracks);
    fw::SET(tracks->FindKey("KDISC"));
    fw::OPEN(v);
    fw::NEXT(v);
    const std::string pos = fw::POSITION(v);
    fw::WATCH(v);
    fw::REGET(v, pos);
    {
        fw::ThreadContext other(2);
        fw::SetCurrentContext(&other);
        fw::OPEN(*tracks, fw::ReadWrite | fw::DenyNone);
        fw::View theirs(*tracks);
        fw::SET(tracks->FindKey("KDISC"));
        fw::OPEN(theirs);
        fw::NEXT(theirs);
        Buf(*tracks).Title = "Theirs";
        fw::PUT(theirs);
        EXPECT_EQ(fw::ERRORCODE(), 0);
        fw::SetCurrentContext(nullptr);
    }
    Buf(*tracks).Title = "Mine";
    fw::PUT(v);
    EXPECT_EQ(fw::ERRORCODE(), fw::RecordChangedErr);
    fw::WATCH(v);
    fw::REGET(v, pos);
    EXPECT_EQ(Buf(*tracks).Title.Str(), "Theirs");
    Buf(*tracks).Title = "Mine";
    fw::PUT(v);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::SET(v);
    fw::NEXT(v);
    EXPECT_EQ(Buf(*tracks).Title.Str(), "Mine");
}

TEST_F(Views, AViewNeedsItsFilesOpen) {
    fw::View v(*discs);
    v.Join(tracks->FindKey("KDISC"), {"DSC:Id"});
    fw::CLOSE(*tracks);
    fw::OPEN(v);
    EXPECT_EQ(fw::ERRORCODE(), fw::NotOpenErr);
    fw::NEXT(v);
    EXPECT_EQ(fw::ERRORCODE(), fw::NotOpenErr);
    EXPECT_THROW(v.Join(tracks->FindKey("KDISC"), {"DSC:Nope"}), std::invalid_argument);
}

}  // namespace
