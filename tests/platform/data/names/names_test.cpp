#include "platform/data/names/directory.h"
#include "platform/data/names/name_ops.h"
#include "platform/data/names/path_names.h"
#include "platform/runtime/error_state.h"
#include "tests/platform/data/names/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;

struct SplitCase {
    const char* path;
    const char* folder;
    const char* name;
    const char* extension;
};

TEST(PathNames, SplitPathTakesTheLastSeparatorAndTheLastPointAfterIt) {
    const SplitCase cases[] = {
        {"C:\\Books\\My.Show.2bk", "C:\\Books\\", "My.Show", "2bk"},
        {"C:\\Books\\Party", "C:\\Books\\", "Party", ""},
        {"/home/k/a.b/Party", "/home/k/a.b/", "Party", ""},
        {"a\\b/c.x", "a\\b/", "c", "x"},
        {"Party.2bk", "", "Party", "2bk"},
        {"dir/", "dir/", "", ""},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        const fw::PathParts p = fw::SplitPath(c.path);
        EXPECT_EQ(p.folder, c.folder) << c.path;
        EXPECT_EQ(p.name, c.name) << c.path;
        EXPECT_EQ(p.extension, c.extension) << c.path;
    }
}

class Names : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = fs::current_path();
        fs::create_directories(dir / "Books/Help");
        dir.Write("Books/Party.SBK", "party");
        dir.Write("Books/MAIN.TPS", "main");
        dir.Write("Books/Help/Index.htm", "help");
    }
    void TearDown() override { fs::current_path(saved_); }

    TempFolder dir;
    fs::path saved_;
};

TEST_F(Names, ResolvePathFindsNamesInAnyCaseAndKeepsMissingOnesAsWritten) {
    const std::string root = dir.Path();
    const std::pair<std::string, std::string> cases[] = {
        {root + "/Books/Party.SBK", root + "/Books/Party.SBK"},
        {root + "\\books\\party.sbk", root + "/Books/Party.SBK"},
        {root + "/BOOKS/help/INDEX.HTM", root + "/Books/Help/Index.htm"},
        {root + "/BOOKS/New.2bk", root + "/Books/New.2bk"},
        {root + "/books/Missing/Deeper/X.txt", root + "/Books/Missing/Deeper/X.txt"},
        {root + "/Books/", root + "/Books/"},
        {root + "/books/party.sbk      ", root + "/Books/Party.SBK"},  // a padded STRING
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(fw::ResolvePath(in), out) << in;
}

TEST_F(Names, ResolvePathConvertsTheProgramsTextToTheNameOnDisk) {
    dir.Write("Caf\xC3\xA9.2bk", "x");  // "Café.2bk" in UTF-8
    // The program's text is Windows-1252: "CAFÉ.2BK".
    EXPECT_EQ(fw::ResolvePath(dir.Path() + "/CAF\xC9.2BK"), dir / "Caf\xC3\xA9.2bk");
    EXPECT_TRUE(fw::EXISTS(dir.Path() + "/caf\xE9.2bk"));
    EXPECT_EQ(fw::ProgramPathText("Caf\xC3\xA9"), "Caf\xE9");
}

TEST_F(Names, OfSeveralNamesDifferingInCaseTheFirstInByteOrderWins) {
    dir.Write("dup.txt", "lower");
    dir.Write("DUP.txt", "upper");
    EXPECT_EQ(fw::ResolvePath(dir.Path() + "/Dup.txt"), dir / "DUP.txt");
}

TEST_F(Names, ExistsSeesFilesAndFoldersInAnyCase) {
    EXPECT_TRUE(fw::EXISTS(dir.Path() + "/books/MAIN.tps"));
    EXPECT_TRUE(fw::EXISTS(dir.Path() + "/BOOKS"));
    EXPECT_FALSE(fw::EXISTS(dir.Path() + "/Books/NONE.TPS"));
    EXPECT_FALSE(fw::EXISTS(""));
}

TEST_F(Names, CopyReplacesTargetsAndRefusesToCopyAFileOntoItself) {
    const std::string b = dir.Path() + "/Books/";
    fw::COPY(b + "party.sbk", b + "Copy.sbk");
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(dir.Read("Books/Copy.sbk"), "party");

    // A target in another case replaces the existing file; no second file appears.
    fw::COPY(b + "MAIN.TPS", b + "COPY.SBK");
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(dir.Read("Books/Copy.sbk"), "main");
    EXPECT_FALSE(fs::exists(dir / "Books/COPY.SBK"));

    // Onto itself, by any spelling: refused, the content stays.
    fw::COPY(b + "Party.SBK", dir.Path() + "/BOOKS/./party.SBK");
    EXPECT_EQ(fw::ERRORCODE(), fw::NoAccessErr);
    EXPECT_EQ(dir.Read("Books/Party.SBK"), "party");

    const std::pair<std::pair<std::string, std::string>, int> errors[] = {
        {{b + "none.sbk", b + "x.sbk"}, fw::NoFileErr},
        {{b + "Party.SBK", dir.Path() + "/NoFolder/x.sbk"}, fw::PathErr},
        {{b + "Help", b + "x.sbk"}, fw::NoAccessErr},
    };
    for (const auto& [names, code] : errors) {
        fw::COPY(names.first, names.second);
        EXPECT_EQ(fw::ERRORCODE(), code) << names.first << " -> " << names.second;
    }
    for (const auto& e : fs::directory_iterator(dir / "Books"))
        EXPECT_EQ(e.path().filename().string().rfind(".~", 0), std::string::npos) << "temporary file left";
}

TEST_F(Names, RenameNeverReplacesAnotherFileButMayChangeCase) {
    const std::string b = dir.Path() + "/Books/";
    fw::RENAME(b + "party.sbk", b + "main.tps");
    EXPECT_EQ(fw::ERRORCODE(), fw::NoAccessErr);
    EXPECT_EQ(dir.Read("Books/Party.SBK"), "party");
    EXPECT_EQ(dir.Read("Books/MAIN.TPS"), "main");

    fw::RENAME(b + "PARTY.sbk", b + "party.sbk");  // case only
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_TRUE(fs::exists(dir / "Books/party.sbk"));
    EXPECT_FALSE(fs::exists(dir / "Books/Party.SBK"));

    fw::RENAME(b + "main.tps", b + "Main.bak");
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(dir.Read("Books/Main.bak"), "main");

    fw::RENAME(b + "help", dir.Path() + "/Manual");  // folders too
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_TRUE(fs::exists(dir / "Manual/Index.htm"));

    fw::RENAME(b + "gone.tps", b + "x.tps");
    EXPECT_EQ(fw::ERRORCODE(), fw::NoFileErr);
    fw::RENAME(b + "party.sbk", dir.Path() + "/NoFolder/x.sbk");
    EXPECT_EQ(fw::ERRORCODE(), fw::PathErr);
}

TEST_F(Names, RemoveDeletesFilesOnlyAndReportsWhatIsMissing) {
    const std::string b = dir.Path() + "/Books/";
    fw::REMOVE(b + "PARTY.sbk");
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_FALSE(fs::exists(dir / "Books/Party.SBK"));
    const std::pair<std::string, int> errors[] = {
        {b + "PARTY.sbk", fw::NoFileErr},
        {dir.Path() + "/NoFolder/x", fw::PathErr},
        {b + "Help", fw::NoAccessErr},
    };
    for (const auto& [name, code] : errors) {
        fw::REMOVE(name);
        EXPECT_EQ(fw::ERRORCODE(), code) << name;
    }
    EXPECT_TRUE(fs::exists(dir / "Books/Help/Index.htm"));
}

TEST_F(Names, SetPathChangesTheCurrentFolderAndLongPathSpellsNamesAsOnDisk) {
    const std::string real = fs::canonical(dir.Path()).string();
    fw::SETPATH(real + "/books");
    ASSERT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::LONGPATH(), real + "/Books");
    EXPECT_EQ(fw::SHORTPATH(), real + "/Books");
    EXPECT_EQ(fw::LONGPATH("help/../party.sbk"), real + "/Books/Party.SBK");
    EXPECT_EQ(fw::LONGPATH("help\\"), real + "/Books/Help");
    EXPECT_EQ(fw::LONGPATH("New.2bk"), real + "/Books/New.2bk");
    EXPECT_TRUE(fw::EXISTS("MAIN.tps"));  // relative names resolve in the current folder

    fw::SETPATH(real + "/nowhere");
    EXPECT_EQ(fw::ERRORCODE(), fw::PathErr);
    EXPECT_EQ(fw::LONGPATH(), real + "/Books");
    fw::SETPATH(real + "/Books/MAIN.TPS");
    EXPECT_EQ(fw::ERRORCODE(), fw::PathErr);
}

class Directory : public Names {
protected:
    void SetUp() override {
        Names::SetUp();
        const std::string b = "Books/";
        for (const char* f : {"ROCK.SBK", "notes.txt", "old.sbd", "Party.2bk", ".hidden.2bk", "README"})
            dir.Write(b + f, "12345");
        fs::create_directory(dir / "Books/Arch.xbk");
    }
    std::vector<std::string> List(const std::string& mask, int attrib) {
        fw::QueueOf<fw::DirectoryEntry> q(fw::DirectoryEntryDecl());
        fw::DIRECTORY(q, mask, attrib);
        std::vector<std::string> names;
        for (long i = 1; i <= fw::RECORDS(q); ++i) {
            fw::GET(q, i);
            names.push_back(q.rec.NAME.Str());
        }
        return names;
    }
};

TEST_F(Directory, WildcardsMatchWithoutCaseAndNamesComeSortedWithoutCase) {
    const std::string b = dir.Path() + "/books/";
    using V = std::vector<std::string>;
    const std::tuple<std::string, int, V> cases[] = {
        {b + "*.?bk", 0, V{"Party.2bk", "Party.SBK", "ROCK.SBK"}},
        {b + "*.?bk", fw::kAttrDirectory, V{"Arch.xbk", "Party.2bk", "Party.SBK", "ROCK.SBK"}},
        {b + "*.?BK", fw::kAttrHidden, V{".hidden.2bk", "Party.2bk", "Party.SBK", "ROCK.SBK"}},
        {b + "*.*", 0, V{"MAIN.TPS", "notes.txt", "old.sbd", "Party.2bk", "Party.SBK", "README", "ROCK.SBK"}},
        {b + "r*", 0, V{"README", "ROCK.SBK"}},
        {b + "?ain.tps", 0, V{"MAIN.TPS"}},
        {b + "*.sb?", 0, V{"old.sbd", "Party.SBK", "ROCK.SBK"}},
        {b + "*.zip", 0, V{}},
    };
    for (const auto& [mask, attrib, expected] : cases) EXPECT_EQ(List(mask, attrib), expected) << mask;
    fw::SETPATH(dir.Path() + "/Books");
    EXPECT_EQ(List("*.?bk", 0), (V{"Party.2bk", "Party.SBK", "ROCK.SBK"}));  // the current folder

    fw::QueueOf<fw::DirectoryEntry> q(fw::DirectoryEntryDecl());
    fw::DIRECTORY(q, dir.Path() + "/NoFolder/*.*", 0);
    EXPECT_EQ(fw::ERRORCODE(), fw::PathErr);
    EXPECT_EQ(fw::RECORDS(q), 0);
}

TEST_F(Directory, EntriesCarryShortNameDateTimeSizeAndAttributes) {
    dir.Write("Books/A very long song book name.2bk", "1234567");
    struct tm t{};
    t.tm_year = 120;  // 2020-01-01 12:34:56 local time
    t.tm_mday = 1;
    t.tm_hour = 12;
    t.tm_min = 34;
    t.tm_sec = 56;
    t.tm_isdst = -1;
    const struct timespec times[2] = {{mktime(&t), 0}, {mktime(&t), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (dir / "Books/A very long song book name.2bk").c_str(), times, 0), 0);
    chmod((dir / "Books/ROCK.SBK").c_str(), 0444);

    fw::QueueOf<fw::DirectoryEntry> q(fw::DirectoryEntryDecl());
    fw::DIRECTORY(q, dir.Path() + "/Books/*.?bk", fw::kAttrDirectory);
    ASSERT_EQ(fw::RECORDS(q), 5);
    fw::GET(q, 1);
    EXPECT_EQ(q.rec.NAME.Str(), "A very long song book name.2bk");
    EXPECT_EQ(q.rec.SHORTNAME.Str(), "A very long s");
    EXPECT_EQ(q.rec.SIZE, 7);
    EXPECT_EQ(q.rec.DATE, 79992);  // 1 January 2020 as a day number
    EXPECT_EQ(q.rec.TIME, 12 * 360000 + 34 * 6000 + 56 * 100 + 1);
    EXPECT_EQ(q.rec.ATTRIB, 0);
    fw::GET(q, 2);
    EXPECT_EQ(q.rec.NAME.Str(), "Arch.xbk");
    EXPECT_EQ(q.rec.ATTRIB, fw::kAttrDirectory);
    fw::GET(q, 5);
    EXPECT_EQ(q.rec.NAME.Str(), "ROCK.SBK");
    if (geteuid() != 0) {  // root may write anything
        EXPECT_EQ(q.rec.ATTRIB, fw::kAttrReadOnly);
    }
}

}  // namespace
