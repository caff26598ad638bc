#include "shell/path_part.h"

#include <gtest/gtest.h>

namespace {

using namespace shell;

TEST(PathPart, SplitsFolderNameAndExtension) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
        const char* ext;
        const char* withExt;
    };
    const Case cases[] = {
        {"/home/host/Books/My.Show.2bk", "/home/host/Books/", "My.Show", "2bk", "My.Show.2bk"},
        {"C:\\Books\\My.Show.2bk", "C:\\Books\\", "My.Show", "2bk", "My.Show.2bk"},
        {"/home/host/Books/Party", "/home/host/Books/", "Party", "", "Party"},
        {"/home/My.Dir/Party", "/home/My.Dir/", "Party", "", "Party"},   // a point in a folder is no extension
        {"/home/My.Dir\\Party.2bk  ", "/home/My.Dir\\", "Party", "2bk", "Party.2bk"},  // mixed separators, blanks cut
        {"/home/host/Books/", "/home/host/Books/", "", "", ""},
        {"Party.2bk", "", "Party", "2bk", "Party.2bk"},  // no separator: all file name
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(PathPart(c.path, path_part::Folder), c.folder);
        EXPECT_EQ(PathPart(c.path, path_part::Name), c.name);
        EXPECT_EQ(PathPart(c.path, path_part::Extension), c.ext);
        for (int part : {0, 1, 2, 3}) EXPECT_EQ(PathPart(c.path, part, true), c.withExt);
        EXPECT_EQ(PathPart(c.path, 4), "");
    }
}

}  // namespace
