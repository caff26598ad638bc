#include "data_test_support.h"

#include "platform/data/bind.h"
#include "platform/data/filter_expression.h"
#include "platform/runtime/thread_context.h"

#include <gtest/gtest.h>

using namespace datatest;

namespace {

// Names from the BIND scopes only.
fw::data::NameResolver Bound() {
    return [](std::string_view name, fw::data::Operand* out) {
        fw::data::BoundName b;
        if (!fw::data::LookupBound(name, &b)) return false;
        const void* a = b.address;
        *out = fw::data::Operand{b.field, [a] { return a; }, nullptr, -1};
        return true;
    };
}

bool Eval(const std::string& text) {
    int error = -1;
    auto e = fw::data::Expression::Parse(text, Bound(), &error);
    EXPECT_TRUE(e) << text << " error " << error;
    return e && e->Test();
}

class Filters : public ::testing::Test {
protected:
    void SetUp() override {
        fw::PUSHBIND();
        fw::ClearRecord(&song, SongDecl());
        song.Title = "Moon River";
        song.Disc = "sc8123";
        song.Track = 4;
        song.Added = 80000;
        fw::BIND(SongDecl(), &song);
        fw::BIND("Process:Save::SNG:Title", saved);
        fw::BIND("SearchField", search);
        fw::BIND("startdate", start);
        fw::BIND("Xchar", x);
    }
    void TearDown() override { fw::POPBIND(); }

    Song song{};
    fw::FString<20> saved{"MOON RIVER"};
    fw::FString<30> search{"riv"};
    std::int32_t start = 79000;
    fw::FString<1> x{"X"};
};

TEST_F(Filters, TheProgramsFilterFormsEvaluate) {
    struct Case {
        const char* text;
        bool expected;
    } cases[] = {
        {"UPPER(SNG:Title) = UPPER(Process:Save::SNG:Title)", true},
        {"SNG:Title = Process:Save::SNG:Title", false},  // case counts without UPPER
        {"upper(sng:title) = upper(process:save::sng:title)", true},
        {"(instring(upper(clip(SearchField)),upper(SNG:Title),1,1)>0)", true},
        {"INSTRING('RIVER', SNG:Title, 1, 1) = 0", true},
        {"INSTRING('River', SNG:Title, 1, 1) = 6", true},
        {"INSTRING('River', SNG:Title, 5, 1) = 2", true},  // the step number, from position 6
        {"INSTRING('River', SNG:Title, 2, 1) = 0", true},  // odd positions only
        {"SNG:Added >= startdate AND SNG:Added <= startdate + 1000", true},
        {"SNG:Added >= startdate AND SNG:Added <= startdate", false},
        {"SNG:Track = 4 AND (SNG:Disc = 'x' OR SNG:Disc = 'sc8123')", true},
        {"NOT SNG:Track = 4", false},
        {"SNG:Track <> 4 OR SNG:Track < 5", true},
        {"SUB(SNG:Disc, 1, 2) = 'sc'", true},
        {"'abc' = 'abc   '", true},  // trailing blanks do not count
        {"'abc' < 'abd'", true},
        {"SNG:Track > -1", true},
        {"Xchar = 'X'", true},
        {"'it''s' = 'it''s'", true},
    };
    for (const auto& c : cases) EXPECT_EQ(Eval(c.text), c.expected) << c.text;
}

TEST_F(Filters, BoundVariablesAreReadAtEveryEvaluation) {
    int error = 0;
    auto e = fw::data::Expression::Parse("INSTRING(UPPER(CLIP(SearchField)), UPPER(SNG:Title), 1, 1) > 0", Bound(), &error);
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->Test());
    search = "lake";
    EXPECT_FALSE(e->Test());
    song.Title = "Lakeside";
    EXPECT_TRUE(e->Test());
}

TEST_F(Filters, BadTextsAreRefusedWithTheirCode) {
    struct Case {
        const char* text;
        int error;
    } cases[] = {{"UPPER(SNG:Title", 800}, {"SNG:Track = = 4", 800}, {"'open", 800}, {"SNG:Track = 4 AND", 800},
                 {"SNG:Nope = 1", 801}, {"Unbound = 1", 801}, {"FROB(1) = 1", 801}, {"UPPER(1, 2) = 1", 800},
                 {"", 800}};
    for (const auto& c : cases) {
        int error = 0;
        EXPECT_FALSE(fw::data::Expression::Parse(c.text, Bound(), &error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST_F(Filters, ScopesNestAndBelongToTheirThread) {
    fw::FString<10> inner{"inner"};
    fw::PUSHBIND();
    fw::BIND("SearchField", inner);
    EXPECT_TRUE(Eval("SearchField = 'inner'"));
    fw::POPBIND();
    EXPECT_TRUE(Eval("SearchField = 'riv'"));
    fw::ThreadContext other(2);
    fw::SetCurrentContext(&other);
    int error = 0;
    EXPECT_FALSE(fw::data::Expression::Parse("SearchField = 'riv'", Bound(), &error));
    EXPECT_EQ(error, 801);
    fw::SetCurrentContext(nullptr);
    fw::UNBIND("SearchField");
    EXPECT_FALSE(fw::data::Expression::Parse("SearchField = 'riv'", Bound(), &error));
}

}  // namespace
