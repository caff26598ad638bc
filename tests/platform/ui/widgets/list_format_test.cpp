#include "platform/ui/widgets/list_format.h"

#include "platform/text/picture.h"

#include <gtest/gtest.h>

namespace fw::ui {
namespace {

TEST(ListFormat, ParsesColumnsWithHeadingsPicturesAndBorders) {
    const auto f = ListFormat::Parse(
        "110L|M*~Title~C@s40@100L|M*~Artist~C@s40@96L|M*~Brand/Series~C@s40@48L|M*~Disc ID~C@s15@"
        "25L|M*~Track~C@n6@8L|*~DUP~@n6@E(0FFH,0FFFFFFH,0FFFFFFH,0800000H)/");
    ASSERT_TRUE(f);
    ASSERT_EQ(f->columns.size(), 6u);
    const auto& title = f->columns[0];
    EXPECT_EQ(title.width, 110);
    EXPECT_EQ(title.justify, Justify::Left);
    EXPECT_TRUE(title.rightBorder);
    EXPECT_TRUE(title.resizable);
    EXPECT_TRUE(title.colored);
    EXPECT_EQ(title.heading, "Title");
    EXPECT_EQ(title.EffectiveHeadingJustify(), Justify::Center);
    EXPECT_EQ(title.picture, "@s40");
    EXPECT_FALSE(title.hasDefaultColors);
    EXPECT_EQ(f->columns[2].heading, "Brand/Series");  // a '/' inside a heading is text

    const auto& dup = f->columns[5];
    EXPECT_EQ(dup.width, 8);
    EXPECT_FALSE(dup.resizable);
    EXPECT_EQ(dup.heading, "DUP");
    EXPECT_EQ(dup.EffectiveHeadingJustify(), Justify::Left);  // none given: the column's own
    EXPECT_EQ(dup.picture, "@n6");
    ASSERT_TRUE(dup.hasDefaultColors);
    EXPECT_EQ(dup.defaultColors[0], 0x0000FF);
    EXPECT_EQ(dup.defaultColors[1], 0xFFFFFF);
    EXPECT_EQ(dup.defaultColors[2], 0xFFFFFF);
    EXPECT_EQ(dup.defaultColors[3], 0x800000);
    EXPECT_TRUE(dup.lineEnd);

    // Every coloured column's value is followed by its four colour fields.
    EXPECT_EQ(f->columns[0].field, 1);
    EXPECT_EQ(f->columns[1].field, 6);
    EXPECT_EQ(f->columns[5].field, 26);
    EXPECT_EQ(f->FieldCount(), 30);
}

TEST(ListFormat, EmptyColourArgumentsMeanTheListDefault) {
    const auto f = ListFormat::Parse("120LM*~Title~C@s40@E(,,00H,0FFFFFFH)24LM*~Track~C@n6@E(,,00H,0FFFFFFH)/");
    ASSERT_TRUE(f);
    ASSERT_EQ(f->columns.size(), 2u);
    const auto& c = f->columns[0].defaultColors;
    EXPECT_FALSE(c[0]);
    EXPECT_FALSE(c[1]);
    EXPECT_EQ(c[2], 0);
    EXPECT_EQ(c[3], 0xFFFFFF);
}

TEST(ListFormat, FieldNumbersReorderColumns) {
    const auto f = ListFormat::Parse(
        "39LM~Disk ID~C@s10@#4#24LM~Track~C@n6@/#5#110LM~Title~C@s40@#1#90LM~Artist~C@s40@#2#"
        "100LM~Brand/Series~C@s40@#3#");
    ASSERT_TRUE(f);
    std::vector<int> fields;
    for (const auto& c : f->columns) fields.push_back(c.field);
    EXPECT_EQ(fields, (std::vector<int>{4, 5, 1, 2, 3}));
    EXPECT_TRUE(f->columns[1].lineEnd);

    // Columns without a number go on after the previous one's field.
    const auto g = ListFormat::Parse("10L#3#10L10L*10L");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->columns[1].field, 4);
    EXPECT_EQ(g->columns[2].field, 5);
    EXPECT_EQ(g->columns[3].field, 10);
}

TEST(ListFormat, HiddenColumnsJustificationAndIndents) {
    const auto f = ListFormat::Parse("0R~Date~@d17@5C(2)~M~R(1)12D");
    ASSERT_TRUE(f);
    ASSERT_EQ(f->columns.size(), 3u);
    EXPECT_EQ(f->columns[0].width, 0);
    EXPECT_EQ(f->columns[0].justify, Justify::Right);
    EXPECT_EQ(f->columns[1].justify, Justify::Center);
    EXPECT_EQ(f->columns[1].indent, 2);
    EXPECT_EQ(f->columns[1].headingJustify, Justify::Right);
    EXPECT_EQ(f->columns[1].headingIndent, 1);
    EXPECT_EQ(f->columns[2].justify, Justify::Decimal);
    EXPECT_FALSE(f->columns[2].hasHeading);
}

TEST(ListFormat, TextRoundTrips) {
    const char* formats[] = {
        "110LM~Title~C@s40@90LM~Artist~C@s40@100LM~Make~C@s40@39LM~Disc ID~C@s10@24LM~Track~C@n6@/",
        "110LM~Title~C@s40@#1#90LM~Artist~C@s40@#2#100LM~Brand/Series~C@s40@#3#39LM~Disk ID~C@s10@#4#24LM~Track~C@n6@/#5#",
        "120LM*~Title~C@s40@E(,,00H,0FFFFFFH)100LM*~Artist~C@s40@E(,,00H,0FFFFFFH)24LM*~Track~C@n6@E(,,00H,0FFFFFFH)/",
        "100L~Title~C@s40@",
        "110L|M*~Title~C@s40@8L|*~DUP~@n6@E(0FFH,0FFFFFFH,0FFFFFFH,0800000H)/",
        "0R(3)~Date~L(2)@d17@5C",
    };
    for (const char* text : formats) {
        const auto f = ListFormat::Parse(text);
        ASSERT_TRUE(f) << text;
        EXPECT_EQ(f->ToText(), text);
        EXPECT_EQ(ListFormat::Parse(f->ToText()), f) << text;
    }
    // Other spellings come back in the one canonical form.
    const auto lower = ListFormat::Parse("10lm~A~c@s5@e(255,,,)");
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->ToText(), "10LM~A~C@s5@E(0FFH,,,)");
}

TEST(ListFormat, SyntaxErrorsSayWhatAndWhere) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"L~Title~", "column width expected at position 1"},
        {"10", "justification expected at position 3"},
        {"10X", "justification L, C, R or D expected at position 3"},
        {"10L~Title", "heading not closed at position 5"},
        {"10L@s40", "picture not closed at position 5"},
        {"10L@@", "empty picture at position 6"},
        {"10L#x#", "field number expected after '#' at position 5"},
        {"10L#0#", "field numbers start at 1 at position 6"},
        {"10L#2", "field number not closed by '#' at position 6"},
        {"10LE(1,2,3,4,5)", "E takes at most four colours at position 16"},
        {"10LE(0GGH)", "bad colour '0GGH' in E() at position 11"},
        {"10LE", "E without '(' at position 5"},
        {"10L(", "indent without a number at position 5"},
        {"10LQ", "unexpected 'Q' at position 4"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ListFormat::Parse(c.text, &error)) << c.text;
        EXPECT_EQ(error, c.message) << c.text;
    }
    EXPECT_TRUE(ListFormat::Parse(""));  // no columns
}

TEST(ListFormat, CellsShowThroughTheColumnPicture) {
    const auto f = ListFormat::Parse("10L@s3@10R@n6@10L");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->columns[0].Show("Abcdef"), "Abc");
    EXPECT_EQ(f->columns[0].Show("A"), "A") << "no padding: the justification places the text";
    EXPECT_EQ(f->columns[2].Show("as is"), "as is");
    EXPECT_EQ(f->columns[1].Show("12"), "12");
    EXPECT_EQ(f->columns[1].Show("1234567"), fw::FORMAT(1234567.0, "@n6")) << "too wide for the picture";
    const auto blankZero = ListFormat::Parse("10R@n6B@");
    ASSERT_TRUE(blankZero);
    EXPECT_EQ(blankZero->columns[0].Show("0"), "");
}

}  // namespace
}  // namespace fw::ui
