// Entry names: what they extract as, and which are never extracted.
#include "platform/os/archive/archive_names.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* name;
    const char* base;
    bool refused;
    bool folder;
};

TEST(ArchiveNames, BaseNameRefusalAndFolder) {
    const NameCase cases[] = {
        {"Party.2bk", "Party.2bk", false, false},
        {"C:\\Books\\Party.2bd", "Party.2bd", false, false},
        {"c:/Books/Party.2bd", "Party.2bd", false, false},
        {"C:Party.2bd", "Party.2bd", false, false},
        {"Books/Old\\Party.2bd", "Party.2bd", false, false},
        {"my.book.2bk", "my.book.2bk", false, false},
        {"..Party.2bk", "..Party.2bk", false, false},  // dots inside a name are harmless
        {"Books/", "", false, true},
        {"../evil.2bk", "evil.2bk", true, false},
        {"..\\evil.2bk", "evil.2bk", true, false},
        {"Books/../../evil.2bk", "evil.2bk", true, false},
        {"C:..\\evil.2bk", "evil.2bk", true, false},
        {"/etc/x", "x", true, false},
        {"\\etc\\x", "x", true, false},
        {"\\\\server\\share\\x.2bk", "x.2bk", true, false},
        {"..", "..", true, false},
        {"Books/.", ".", true, false},
        {"C:", "", true, false},
        {"", "", true, false},
        {"bad\tname.2bk", "bad\tname.2bk", true, false},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fw::ArchiveBaseName(c.name), c.base);
        EXPECT_EQ(!fw::ArchiveNameRefusal(c.name).empty(), c.refused);
        EXPECT_EQ(fw::IsArchiveFolderName(c.name), c.folder);
    }
}

TEST(ArchiveNames, SameBaseNameIgnoresLetterCaseOnly) {
    EXPECT_TRUE(fw::SameArchiveBaseName("PARTY.2BK", "party.2bk"));
    EXPECT_TRUE(fw::SameArchiveBaseName("Caf\xC9.2bk", "caf\xE9.2bk"));  // Windows-1252 E/e acute
    EXPECT_FALSE(fw::SameArchiveBaseName("Party.2bk", "Party.2bd"));
    EXPECT_FALSE(fw::SameArchiveBaseName("Party.2bk", "Party.2bk "));
}

}  // namespace
