// A TopSpeed table taken under one of the program's record declarations:
// which definitions match, what a mismatch reports, and rows copied into
// record buffers.

#include "platform/data/tps/tps_declaration.h"
#include "tests/platform/data/tps/tps_fixtures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace tps_fixture;

struct Track {
    fw::FString<40> Title;
    fw::FString<40> Artist;
    fw::FString<10> DISKID;
    std::uint16_t DiskTrackNo;
    std::int32_t MAKEID;
    fw::FString<15> UnqDiskID;
};

const fw::RecordDecl& TrackDecl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<Track>("KAR")
                                        .Field("Title", &Track::Title)
                                        .Field("Artist", &Track::Artist)
                                        .Field("DISKID", &Track::DISKID)
                                        .Field("DiskTrackNo", &Track::DiskTrackNo)
                                        .Field("MAKEID", &Track::MAKEID)
                                        .Field("UnqDiskID", &Track::UnqDiskID)
                                        .Build();
    return d;
}

TEST(TpsDeclaration, AMatchingTableLoadsIntoRecordBuffers) {
    TablePlan desc = TrackTableOf(1, "UNNAMED", 3);
    desc.fields[3].name = "KAR:DISKTRACKNO";  // case is not part of a name
    desc.rows[2].second = TrackRow("Caf\xE9", "Artist", "SC-1", 65535, -7, "SC-1");
    const fw::tps::TpsFile file = fw::tps::TpsFile::Parse(Write({desc}));
    const fw::tps::Table& t = file.Tables().front();
    ASSERT_EQ(fw::tps::DeclarationMismatch(t, TrackDecl()), "");
    Track rec;
    fw::tps::LoadRecord(t, 2, TrackDecl(), &rec);
    EXPECT_EQ(rec.Title.Str(), "Caf\xE9");
    EXPECT_EQ(rec.Title.View().size(), 40u);
    EXPECT_EQ(rec.DISKID.Str(), "SC-1");
    EXPECT_EQ(rec.DiskTrackNo, 65535);
    EXPECT_EQ(rec.MAKEID, -7);
    EXPECT_EQ(rec.UnqDiskID.Str(), "SC-1");
}

TEST(TpsDeclaration, MismatchesNameTheFirstDifference) {
    struct Case {
        const char* name;
        std::function<void(TablePlan&)> change;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"a field fewer", [](TablePlan& t) { t.fields.pop_back(); t.keys.clear(); }, "5 fields, declared 6"},
        {"shorter text", [](TablePlan& t) { t.fields[0].length = 30; },
         "field 1: KAR:Title is STRING(30), declared STRING(40)"},
        {"other type", [](TablePlan& t) { t.fields[4].type = ULONG; },
         "field 5: KAR:MAKEID is ULONG, declared LONG"},
        {"other name", [](TablePlan& t) { t.fields[1].name = "KAR:Singer"; },
         "field 2: KAR:Singer where KAR:Artist is declared"},
        {"array",
         [](TablePlan& t) {
             t.fields[2].elements = 2;
             t.fields[2].length = 20;
             for (std::size_t f = 3; f < t.fields.size(); ++f) t.fields[f].offset += 10;
             t.recordLength = 121;
             t.rows.clear();
         },
         "field 3: KAR:DISKID is STRING(10), 2 elements, declared STRING(10)"},
    };
    for (const auto& c : cases) {
        TablePlan desc = TrackTableOf(1, "UNNAMED", 2);
        c.change(desc);
        const fw::tps::TpsFile file = fw::tps::TpsFile::Parse(Write({desc}));
        EXPECT_EQ(fw::tps::DeclarationMismatch(file.Tables().front(), TrackDecl()), c.message) << c.name;
    }
}

struct Dated {
    std::int32_t Packed;
    std::int32_t Counted;
    std::int32_t Clock;
};

TEST(TpsDeclaration, DatesAndTimesComePackedOrAsLongs) {
    const fw::RecordDecl decl = fw::RecordDeclBuilder<Dated>("DAT")
                                    .Date("Packed", &Dated::Packed)
                                    .Date("Counted", &Dated::Counted)
                                    .Time("Clock", &Dated::Clock)
                                    .Build();
    TablePlan t;
    t.recordLength = 16;
    t.fields = {{GROUP, "DAT:ALL", 0, 12}, {DATE, "DAT:Packed", 0, 4}, {LONG, "DAT:Counted", 4, 4},
                {TIME, "DAT:Clock", 8, 4}, {LONG, "DAT:Spare", 12, 4}};
    t.rows = {{1, Row(16).Date(0, 2003, 7, 4).Le32(4, 73967).Time(8, 1, 2, 3, 4)},
              {2, Row(16).Date(0, 2003, 2, 30)}};
    const fw::tps::TpsFile file = fw::tps::TpsFile::Parse(Write({t}));
    EXPECT_EQ(fw::tps::DeclarationMismatch(file.Tables().front(), decl), "4 fields, declared 3");

    t.fields.pop_back();
    const fw::tps::TpsFile fitting = fw::tps::TpsFile::Parse(Write({t}));
    ASSERT_EQ(fw::tps::DeclarationMismatch(fitting.Tables().front(), decl), "");
    Dated rec{};
    fw::tps::LoadRecord(fitting.Tables().front(), 0, decl, &rec);
    EXPECT_EQ(rec.Packed, 73967);
    EXPECT_EQ(rec.Counted, 73967);
    EXPECT_EQ(rec.Clock, ((1 * 60 + 2) * 60 + 3) * 100 + 4 + 1);
    rec.Packed = 99;
    fw::tps::LoadRecord(fitting.Tables().front(), 1, decl, &rec);
    EXPECT_EQ(rec.Packed, 0);  // 30 February
}

}  // namespace
