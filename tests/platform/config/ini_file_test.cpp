#include "platform/config/ini_document.h"
#include "platform/config/ini_file.h"
#include "config_fixture.h"

#include <sys/stat.h>

namespace {

// A file with odd spacing, comments, blank lines, duplicate keys and
// sections, mixed line ends and no line end at the very end.
const std::string kOdd =
    "; songbook placement\r\n"
    "\r\n"
    "[GettingStarted]\r\n"
    "  XPosit =  120  \r\n"
    "xposit=999\r\n"
    "; a comment = not a key\r\n"
    "Maximize=No\n"
    "Width=\r\n"
    "  [ AddDisc ]  \r\n"
    "\tHeight\t=\t300\r\n"
    "junk line without equals\r\n"
    "[gettingstarted]\r\n"
    "YPosit=77\r\n"
    "[Tail]\r\n"
    "Last=1";

TEST(IniDocument, FindsNamesWithProfileRules) {
    const fw::IniDocument doc(kOdd);
    struct Case { const char* section; const char* key; std::optional<std::string> want; };
    const Case cases[] = {
        {"gettingstarted", "XPOSIT", "120"},     // trimmed, case-insensitive, first of duplicates
        {"GettingStarted", "Maximize", "No"},    // LF line end
        {"GettingStarted", "Width", ""},         // present but empty
        {"GettingStarted", "YPosit", std::nullopt},  // only in the second, duplicate section
        {"GettingStarted", "; a comment", std::nullopt},
        {"adddisc", "height", "300"},            // tabs and a spaced header
        {"adddisc", "junk line without equals", std::nullopt},
        {"Tail", "Last", "1"},                   // no line end at the end of the file
        {"Missing", "Last", std::nullopt},
        {"", "XPosit", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(doc.Get(c.section, c.key), c.want) << c.section << "/" << c.key;
    EXPECT_EQ(doc.Bytes(), kOdd);  // parsing alone changes no byte
}

TEST(IniDocument, AByteOrderMarkIsSkippedAndAValueEndsAtANul) {
    const std::string bytes = std::string("\xEF\xBB\xBF[Main]\r\nName=a") + '\0' + "b\r\nOther=2\r\n";
    fw::IniDocument doc(bytes);
    EXPECT_TRUE(doc.HasSection("Main"));
    EXPECT_EQ(doc.Get("Main", "Name"), "a");
    EXPECT_EQ(doc.Get("Main", "Other"), "2");
    EXPECT_EQ(doc.Bytes(), bytes);
    ASSERT_TRUE(doc.Set("Main", "Other", "3"));
    EXPECT_EQ(doc.Bytes().substr(0, 9), "\xEF\xBB\xBF[Main]");
}

TEST(IniDocument, WritesOneLineInPlaceAndKeepsTheRest) {
    struct Case { const char* section; const char* key; const char* value; std::string want; };
    const Case cases[] = {
        // An existing key keeps its spelling and spacing before the value.
        {"GETTINGSTARTED", "xposit", "5",
         [] { std::string s = kOdd; s.replace(s.find("  XPosit =  120  "), 17, "  XPosit =  5"); return s; }()},
        // A new key goes after the last key of the section, with CR LF.
        {"AddDisc", "Width", "640",
         [] { std::string s = kOdd; s.insert(s.find("junk line"), "Width=640\r\n"); return s; }()},
        // A new section goes at the end; the last line gets its line end first.
        {"RenameSongBook", "Maximize", "Yes", kOdd + "\r\n[RenameSongBook]\r\nMaximize=Yes\r\n"},
        // A key of the last section, which has no line end.
        {"tail", "Next", "2", kOdd + "\r\nNext=2\r\n"},
        // A value is cut at a line break instead of adding lines.
        {"Tail", "Last", "a\r\nInjected=1", [] { std::string s = kOdd; s.replace(s.size() - 1, 1, "a"); return s; }()},
    };
    for (const auto& c : cases) {
        fw::IniDocument doc(kOdd);
        ASSERT_TRUE(doc.Set(c.section, c.key, c.value)) << c.key;
        EXPECT_EQ(doc.Bytes(), c.want) << c.section << "/" << c.key;
    }
}

TEST(IniDocument, RefusesNamesItCannotWrite) {
    for (const char* bad : {"", "   ", "a=b", "a]b", "a\nb"}) {
        fw::IniDocument doc(kOdd);
        EXPECT_FALSE(doc.Set(bad, "Key", "v")) << bad;
        EXPECT_FALSE(doc.Set("Tail", bad, "v")) << bad;
        EXPECT_EQ(doc.Bytes(), kOdd);
    }
    fw::IniDocument doc;
    EXPECT_FALSE(doc.Set("S", ";key", "v"));
    EXPECT_FALSE(doc.Set("S", "[key", "v"));
}

TEST(IniDocument, FoldsAccentedNames) {
    fw::IniDocument doc("[R\xC9SUM\xC9]\r\nCl\xE9=1\r\n");
    EXPECT_EQ(doc.Get("r\xE9sum\xE9", "CL\xC9"), "1");
}

using IniFile = ConfigFolderTest;

TEST_F(IniFile, BareNameLivesInTheConfigFolder) {
    EXPECT_EQ(fw::IniFilePath("songbook.ini"), ConfigPath("songbook.ini"));
    EXPECT_EQ(fw::GETINI("gettingstarted", "XPosit", "0", "songbook.ini"), "0");  // no file yet
    ASSERT_TRUE(fw::PUTINI("gettingstarted", "XPosit", 120, "songbook.ini"));
    ASSERT_TRUE(fw::PUTINI("gettingstarted", "Maximize", "No", "songbook.ini"));
    ASSERT_TRUE(fw::PUTINI("adddisc", "Width", -5, "songbook.ini"));
    EXPECT_EQ(ReadFile(ConfigPath("songbook.ini")),
              "[gettingstarted]\r\nXPosit=120\r\nMaximize=No\r\n[adddisc]\r\nWidth=-5\r\n");
    EXPECT_EQ(fw::GETINI("GettingStarted", "xposit", "", "SONGBOOK.INI"), "120");  // any case
    EXPECT_EQ(fw::GETINI("gettingstarted", "Height", "", "songbook.ini"), "");
    EXPECT_EQ(fw::GETINI("nosuch", "Height", "7", "songbook.ini"), "7");
}

// Without a folder set for it, the configuration folder is the one the
// program names at its start, in the user's configuration folder.
TEST_F(IniFile, TheFolderIsTheOneTheProgramNames) {
    struct Env {
        const char* name;
        std::string saved;
        bool had;
    };
    std::vector<Env> env;
    for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
        const char* v = std::getenv(name);
        env.push_back({name, v ? v : "", v != nullptr});
    }
    fw::SetConfigFolder("");
    ::setenv("XDG_CONFIG_HOME", RootPath("xdg").c_str(), 1);
    ::setenv("HOME", RootPath("home").c_str(), 1);
    EXPECT_EQ(fw::ConfigFolder(), RootPath("xdg") + "/test_platform_config");  // until the program names it
    fw::SetConfigFolderName("someprogram");
    EXPECT_EQ(fw::ConfigFolder(), RootPath("xdg") + "/someprogram");
    EXPECT_EQ(fw::IniFilePath("songbook.ini"), RootPath("xdg") + "/someprogram/songbook.ini");
    ::setenv("XDG_CONFIG_HOME", "relative/folder", 1);
    EXPECT_EQ(fw::ConfigFolder(), RootPath("home") + "/.config/someprogram");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(fw::ConfigFolder(), RootPath("home") + "/.config/someprogram");
    fw::SetConfigFolderName("test_platform_config");
    for (const Env& e : env) {
        if (e.had) ::setenv(e.name, e.saved.c_str(), 1);
        else ::unsetenv(e.name);
    }
}

TEST_F(IniFile, RoundTripKeepsUnknownLinesByteForByte) {
    const std::string path = RootPath("Party.psf");
    WriteFile(path, kOdd);
    ASSERT_TRUE(fw::PUTINI("GettingStarted", "Maximize", "Yes", path));
    ASSERT_TRUE(fw::PUTINI("GettingStarted", "Maximize", "No", path));
    EXPECT_EQ(ReadFile(path), kOdd);
    // Backslashes separate folders, and the name is found whatever its case.
    std::string windowsStyle = RootPath("PARTY.PSF");
    for (auto& c : windowsStyle) if (c == '/') c = '\\';
    EXPECT_EQ(fw::GETINI("adddisc", "Height", "", windowsStyle), "300");
}

TEST_F(IniFile, ValuesAreLimitedTo1023Characters) {
    const std::string path = RootPath("limits.ini");
    const std::string v1023(1023, 'a'), v1024 = v1023 + "b";
    ASSERT_TRUE(fw::PUTINI("S", "Exact", v1023, path));
    ASSERT_TRUE(fw::PUTINI("S", "Long", v1024, path));
    EXPECT_EQ(fw::GETINI("S", "Exact", "", path), v1023);
    EXPECT_EQ(fw::GETINI("S", "Long", "", path), v1023);
    WriteFile(path, "[S]\r\nHand=" + std::string(2000, 'x') + "\r\n");  // written by hand, longer
    EXPECT_EQ(fw::GETINI("S", "Hand", "", path).size(), 1023u);
    EXPECT_EQ(fw::GETINI("S", "Empty", "", path), "");
}

TEST_F(IniFile, TextsAreBytesWithoutQuotingOrEscaping) {
    const std::string path = RootPath("bytes.ini");
    const std::string value = "\"C:\\Books\\Caf\xE9\" ; 100% \x80";
    ASSERT_TRUE(fw::PUTINI("Settings", "Header", value, path));
    EXPECT_EQ(ReadFile(path), "[Settings]\r\nHeader=" + value + "\r\n");
    EXPECT_EQ(fw::GETINI("Settings", "Header", "", path), value);
}

TEST_F(IniFile, FailedWritesChangeNothing) {
    EXPECT_FALSE(fw::PUTINI("S", "K", "v", RootPath("no/such/folder/x.ini")));
    EXPECT_FALSE(fw::PUTINI("S", "K", "v", ""));
    EXPECT_EQ(fw::GETINI("S", "K", "d", ""), "d");

    const std::string path = RootPath("kept.ini");
    WriteFile(path, "[S]\r\nK=old\r\n");
    ::chmod(path.c_str(), 0640);
    EXPECT_FALSE(fw::PUTINI("S", "Bad=Name", "v", path));
    ASSERT_TRUE(fw::PUTINI("S", "K", "new", path));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // the replacement keeps the permissions
    // No temporary file is left behind.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(root_)) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

}  // namespace
