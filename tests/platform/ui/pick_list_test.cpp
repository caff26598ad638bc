// Pick lists: their order, their searches, and a drop list and a combo
// showing one through the test driver.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include <memory>
#include <string>
#include <vector>

#include "platform/text/fixed_string.h"
#include "platform/ui/control.h"
#include "platform/ui/pick_list.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/widgets/pick_list_model.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace {

using Strings = std::vector<std::string>;

Strings All(const fw::PickList& list) {
    Strings out;
    for (std::size_t i = 0; i < list.Size(); ++i) out.push_back(list.At(i));
    return out;
}

TEST(PickList, FoldedOrderTiesInGivenOrderAndDuplicatesDroppedOnRequest) {
    // '_' sorts after 'Z' once folded (upper case), though before 'z' as bytes.
    const Strings texts = {"zebra", "A_B", "AZB", "pop  ", "Pop", "", "   ", "\xE9t\xE9", "\xC9T\xC9 X", "Blues"};
    EXPECT_EQ(All(fw::PickList(texts)),
              (Strings{"AZB", "A_B", "Blues", "Pop", "pop", "zebra", "\xE9t\xE9", "\xC9T\xC9 X"}));
    EXPECT_EQ(All(fw::PickList(texts, fw::PickList::Duplicates::Drop)),
              (Strings{"AZB", "A_B", "Blues", "Pop", "zebra", "\xE9t\xE9", "\xC9T\xC9 X"}));
}

TEST(PickList, PrefixRangesAndExactFindsIgnoreLetterCase) {
    const fw::PickList list({"Love Me", "love me tender", "Lovely", "Loves", "Crazy", "L_O", "\xE9t\xE9"});
    struct Case {
        std::string prefix;
        Strings found;
    };
    const std::vector<Case> cases = {
        {"", All(list)},
        {"LOVE", {"Love Me", "love me tender", "Lovely", "Loves"}},
        {"love me", {"Love Me", "love me tender"}},
        {"love me ", {"love me tender"}},  // a typed blank counts
        {"L_", {"L_O"}},
        {"\xC9", {"\xE9t\xE9"}},
        {"Lovez", {}},
        {"zz", {}},
    };
    for (const Case& c : cases) {
        const auto [first, last] = list.PrefixRange(c.prefix);
        Strings found;
        for (std::size_t i = first; i < last; ++i) found.push_back(list.At(i));
        EXPECT_EQ(found, c.found) << c.prefix;
    }
    EXPECT_EQ(list.At(list.Find("LOVELY  ")), "Lovely");
    EXPECT_EQ(list.Find("Love"), fw::PickList::npos);
    EXPECT_EQ(list.Find(""), fw::PickList::npos);
}

struct Picked {
    fw::FString<20> genre;
    fw::FString<20> font;
    std::shared_ptr<const fw::PickList> genres;
    std::vector<std::string> accepted;
};

void PickWindow(Picked& p) {
    fw::Window w("SAMPLE");
    w.Use("?GENRE", p.genre);
    w.Use("?FONT", p.font);
    w.Open();
    fw::SetPickList("?GENRE", p.genres);
    fw::SetPickList("?FONT", std::make_shared<const fw::PickList>(Strings{"Times", "Arial", "Courier"}));
    while (fw::ACCEPT()) {
        if (fw::ACCEPTED() == "?GENRE") p.accepted.push_back(p.genre.Str());
        if (fw::ACCEPTED() == "?FONT") p.accepted.push_back(p.font.Str());
        if (fw::ACCEPTED() == "?OK") fw::SetProp("?GENRE", fw::Prop::From, "One|Two");
    }
}

class PickListWindow : public ::testing::Test {
protected:
    void SetUp() override { fw::SetLayoutFolder(CV_TEST_DIR "/layouts"); }
    void TearDown() override { fw::SetLayoutFolder({}); }
};

TEST_F(PickListWindow, ADropListAndAComboShowThePickListAndTheComboNarrowsAsTyped) {
    fw::testing::Driver d(fw::testing::GTestFailures());
    Picked p;
    p.genre = "ROCK";
    p.genres = std::make_shared<const fw::PickList>(Strings{"rock", "Pop", "Country", "Blues", "Rockabilly"},
                                                    fw::PickList::Duplicates::Drop);
    d.Start([&] { PickWindow(p); });
    EXPECT_EQ(d.Rows("?GENRE"), (Strings{"Blues", "Country", "Pop", "rock", "Rockabilly"}));
    EXPECT_EQ(d.Highlight("?GENRE"), 4);  // the variable's value, letter case ignored
    EXPECT_EQ(d.Rows("?FONT"), (Strings{"Arial", "Courier", "Times"}));

    d.Choose("?FONT", 2);
    EXPECT_EQ(p.font.Str(), "Courier");
    d.Choose("?GENRE", 2);
    EXPECT_EQ(p.genre.Str(), "Country");
    d.Type("?GENRE", "Jazz");  // typed text stays; the program decides
    EXPECT_EQ(p.genre.Str(), "Jazz");
    EXPECT_EQ(p.accepted, (Strings{"Courier", "Country", "Jazz"}));

    // Typing narrows the completer's offers to the entries that begin so.
    auto* combo = qobject_cast<QComboBox*>(d.FindWindow("SAMPLE")->Find("?GENRE")->Widget());
    ASSERT_NE(combo, nullptr);
    auto* completer = dynamic_cast<fw::ui::PickListCompleter*>(combo->lineEdit()->completer());
    ASSERT_NE(completer, nullptr);
    emit combo->lineEdit()->textEdited(QStringLiteral("ro"));
    EXPECT_EQ(completer->Offered(), 2);
    emit combo->lineEdit()->textEdited(QStringLiteral("rockA"));
    EXPECT_EQ(completer->Offered(), 1);
    EXPECT_EQ(completer->completionModel()->index(0, 0).data().toString(), QStringLiteral("Rockabilly"));

    // A FROM text afterwards gives the combo rows of its own again.
    d.Press("?OK");
    EXPECT_EQ(d.Rows("?GENRE"), (Strings{"One", "Two"}));
    d.Choose("?GENRE", 2);
    EXPECT_EQ(p.genre.Str(), "Two");
}

}  // namespace
