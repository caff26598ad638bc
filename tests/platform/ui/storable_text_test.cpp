// An entry refuses characters the program cannot store and says which,
// instead of changing them into "?".
#include "platform/ui/controls/storable_text.h"

#include <gtest/gtest.h>

#include <QLineEdit>

namespace {

TEST(StorableText, AnEntryRefusesCharactersOutsideTheCodePageAndNamesThem) {
    QLineEdit edit;
    auto* validator = new fw::StorableTextValidator(&edit);
    edit.setValidator(validator);
    edit.insert(QString::fromUtf8("Caf\xC3\xA9 "));
    EXPECT_EQ(edit.text(), QString::fromUtf8("Caf\xC3\xA9 "));
    EXPECT_TRUE(validator->Refused().empty());
    edit.insert(QString::fromUtf8("\xE6\xAD\x8C\xE6\x9B\xB2"));  // pasted: refused whole
    EXPECT_EQ(edit.text(), QString::fromUtf8("Caf\xC3\xA9 "));
    EXPECT_EQ(validator->Refused(), "U+6B4C U+66F2");
    EXPECT_NE(fw::RefusedCharactersText(validator->Refused()).find("U+6B4C"), std::string::npos);
}

}  // namespace
