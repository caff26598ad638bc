#include "platform/data/record.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Rec {
    fw::FString<10> Title;
    std::uint16_t Track;
    std::int32_t Added;
    fw::CString<6> Code;
    std::uint8_t Flag;
    double Ratio;
};

const fw::RecordDecl& Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<Rec>("TST")
                                        .Field("Title", &Rec::Title)
                                        .Field("Track", &Rec::Track)
                                        .Date("Added", &Rec::Added)
                                        .Field("Code", &Rec::Code)
                                        .Field("Flag", &Rec::Flag)
                                        .Field("Ratio", &Rec::Ratio)
                                        .Build();
    return d;
}

TEST(Record, DeclarationFindsFieldsWithOrWithoutPrefix) {
    const auto& d = Decl();
    EXPECT_EQ(d.size, sizeof(Rec));
    EXPECT_EQ(d.Find("TST:title"), 0);
    EXPECT_EQ(d.Find("tst.TRACK"), 1);
    EXPECT_EQ(d.Find("Added"), 2);
    EXPECT_EQ(d.Find("Nope"), -1);
    EXPECT_EQ(d.fields[2].type, fw::FieldType::Date);
    EXPECT_EQ(d.fields[3].size, 6u);
}

TEST(Record, GenericAccessPadsTruncatesAndWraps) {
    const auto& d = Decl();
    Rec r;
    fw::ClearRecord(&r, d);
    fw::SetText(&r, d.fields[0], "A very long title");
    EXPECT_EQ(fw::GetText(&r, d.fields[0]), "A very lon");
    fw::SetText(&r, d.fields[1], " 12abc");
    EXPECT_EQ(r.Track, 12);
    fw::SetInteger(&r, d.fields[1], 65537);  // USHORT wraps
    EXPECT_EQ(r.Track, 1);
    fw::SetText(&r, d.fields[3], "ABCDEFGH");
    EXPECT_EQ(fw::GetText(&r, d.fields[3]), "ABCDE");
    fw::SetReal(&r, d.fields[4], 3.9);
    EXPECT_EQ(r.Flag, 3);
    EXPECT_TRUE(fw::FieldIsEmpty(&r, d.fields[2]));
    fw::ClearRecord(&r, d);
    EXPECT_TRUE(r.Title.Blank());
    EXPECT_EQ(r.Track, 0);
}

}  // namespace

namespace {

struct Wide {
    fw::FString<20> Title;
    std::uint32_t Track;
    fw::FString<4> Extra;
};

TEST(Record, WholeRecordCompareCopyAndAssignmentBetweenLayouts) {
    const auto& d = Decl();
    Rec a, b;
    std::memset(static_cast<void*>(&a), 0x11, sizeof a);  // padding differs from b's
    std::memset(static_cast<void*>(&b), 0x22, sizeof b);
    fw::ClearRecord(&a, d);
    fw::ClearRecord(&b, d);
    EXPECT_TRUE(fw::RecordsEqual(&a, &b, d));
    a.Title = "Song";
    EXPECT_FALSE(fw::RecordsEqual(&a, &b, d));
    fw::CopyRecord(&b, &a, d);
    EXPECT_TRUE(fw::RecordsEqual(&a, &b, d));
    EXPECT_EQ(fw::DeclaredSize(d), 10u + 2 + 4 + 6 + 1 + 8);

    static const fw::RecordDecl wd = fw::RecordDeclBuilder<Wide>("WID")
                                         .Field("TITLE", &Wide::Title)
                                         .Field("track", &Wide::Track)
                                         .Field("Extra", &Wide::Extra)
                                         .Build();
    a.Track = 7;
    Wide w;
    fw::ClearRecord(&w, wd);
    w.Extra = "keep";
    EXPECT_EQ(fw::AssignByName(&w, wd, &a, d), 2);  // by name, ignoring case
    EXPECT_EQ(w.Title.Str(), "Song");
    EXPECT_EQ(w.Track, 7u);
    EXPECT_EQ(w.Extra.Str(), "keep");
}

TEST(Record, LowestAndHighestValuesBoundEveryKeyRange) {
    const auto& d = Decl();
    Rec r;
    for (const auto& f : d.fields) {
        fw::ClearFieldLow(&r, f);
        const double low = fw::GetReal(&r, f);
        const std::string lowText = fw::GetText(&r, f);
        fw::ClearFieldHigh(&r, f);
        if (fw::IsTextField(f.type)) {
            EXPECT_TRUE(lowText.empty()) << f.name;
            EXPECT_GT(fw::GetText(&r, f), lowText) << f.name;
        } else {
            EXPECT_LT(low, fw::GetReal(&r, f)) << f.name;
        }
    }
    fw::ClearFieldLow(&r, d.fields[1]);
    EXPECT_EQ(r.Track, 0);
    fw::ClearFieldHigh(&r, d.fields[1]);
    EXPECT_EQ(r.Track, 65535);
}

}  // namespace
