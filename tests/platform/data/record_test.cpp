#include "platform/data/record.h"

#include <gtest/gtest.h>

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
