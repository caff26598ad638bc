#include "platform/config/settings_store.h"
#include "config_fixture.h"

#include "platform/runtime/thread_context.h"


namespace {

constexpr const char* kBasic = "Pellomar\\Cantorvale Basic\\1.0";
constexpr const char* kSite = "Pellomar\\Cantorvale\\1.0";

using SettingsStore = ConfigFolderTest;

TEST_F(SettingsStore, KeyNamesOfTheRoots) {
    EXPECT_EQ(fw::SettingsKeyName(0, kBasic, "Install"),
              "HKEY_LOCAL_MACHINE\\Software\\Pellomar\\Cantorvale Basic\\1.0\\Install");
    EXPECT_EQ(fw::SettingsKeyName(1, "A  ", "B  "), "HKEY_CURRENT_USER\\Software\\A\\B");
    EXPECT_EQ(fw::SettingsKeyName(2, "A", ""), "HKEY_LOCAL_MACHINE\\Software\\A");
    EXPECT_EQ(fw::SettingsKeyName(3, "A", "B"), "HKEY_USERS\\.Default\\Software\\A\\B");
    EXPECT_EQ(fw::SettingsKeyName(9, "A", "B"), "HKEY_LOCAL_MACHINE\\Software\\A\\B");
}

TEST_F(SettingsStore, TextAndNumberRoundTrips) {
    struct Case { const char* section; const char* name; std::string text; };
    const Case cases[] = {
        {"General", "SongBookPath", "/home/host/Books"},
        {"Version", "DataFile", "  blanks kept  "},
        {"Version", "MainApp", "quote \" backslash \\ tab \t caf\xE9 \x80"},
        {"Version", "Empty", ""},
        {"Version", "Long", std::string(999, 'x')},  // 1000 bytes with its terminating NUL
    };
    for (const auto& c : cases) {
        fw::PutSettingsValue(0, kBasic, c.name, c.section, c.text);
        EXPECT_EQ(fw::SettingsStatus(), fw::SettingsOk) << c.name;
        const fw::SettingsValue v = fw::GetSettingsValue(0, kBasic, "default", c.name, c.section);
        EXPECT_EQ(fw::SettingsStatus(), fw::SettingsOk) << c.name;
        EXPECT_FALSE(v.isNumber);
        EXPECT_EQ(v.text, c.text) << c.name;
    }
    // A number is stored as its decimal text.
    fw::PutSettingsNumber(0, kBasic, "DataFile", "Version", -42);
    EXPECT_EQ(fw::GetSettingsValue(0, kBasic, "", "datafile", "VERSION").text, "-42");
    EXPECT_NE(ReadFile(fw::SettingsFilePath()).find("DataFile=\"-42\"\r\n"), std::string::npos);
    // Names are found whatever their case; trailing blanks of the value name are cut.
    EXPECT_EQ(fw::GetSettingsValue(0, "pellomar\\CANTORVALE BASIC\\1.0", "", "songbookpath   ", "general").text,
              "/home/host/Books");
}

TEST_F(SettingsStore, TextWithNulIsStoredAsBytes) {
    const std::string bytes("a\0b\0", 4);
    fw::PutSettingsValue(0, kBasic, "Blob", "Version", bytes);
    EXPECT_NE(ReadFile(fw::SettingsFilePath()).find("Blob=hex:61,00,62,00"), std::string::npos);
    EXPECT_EQ(fw::GetSettingsValue(0, kBasic, "", "Blob", "Version").text, bytes);
}

TEST_F(SettingsStore, MissingKeyOrValueGivesTheDefault) {
    fw::PutSettingsValue(0, kBasic, "SongBookPath", "General", "/books");
    struct Case { const char* path; const char* name; const char* section; };
    const Case cases[] = {
        {kBasic, "NoSuchValue", "General"},  // a value that does not exist under a key that does
        {kBasic, "InstallDir", "Install"},   // a key that does not exist
        {kSite, "CompanyWebAddress", "Settings"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::GetSettingsValue(0, c.path, "0", c.name, c.section).text, "0") << c.name;
        EXPECT_EQ(fw::SettingsStatus(), fw::SettingsNotFound) << c.name;
    }
    std::filesystem::remove(fw::SettingsFilePath());
    EXPECT_EQ(fw::GetSettingsValue(0, kBasic, "0", "InstallDir", "Install").text, "0");  // no store at all
    EXPECT_EQ(fw::SettingsStatus(), fw::SettingsNotFound);
}

TEST_F(SettingsStore, FailuresGiveTheEmptyTextAndTheirStatus) {
    struct Case { const char* path; const char* section; int status; };
    const std::string longPath(250, 'k');
    const Case cases[] = {
        {"", "Install", fw::SettingsNoKey},
        {"   ", "Install", fw::SettingsNoKey},
        {"Pellomar\\\\Cantorvale", "Install", fw::SettingsBadKey},
        {"Pellomar\\", "", fw::SettingsBadKey},
        {"Pello\x01mar", "Install", fw::SettingsBadKey},
        {longPath.c_str(), "Install", fw::SettingsFailed},  // more than 255 characters
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::GetSettingsValue(0, c.path, "0", "InstallDir", c.section).text, "") << c.path;
        EXPECT_EQ(fw::SettingsStatus(), c.status) << c.path;
        fw::PutSettingsValue(0, c.path, "InstallDir", c.section, "x");
        EXPECT_EQ(fw::SettingsStatus(), c.status) << c.path;
    }
    EXPECT_FALSE(std::filesystem::exists(fw::SettingsFilePath()));
}

TEST_F(SettingsStore, ValuesWrittenByTheInstallerOrByHand) {
    WriteFile(fw::SettingsFilePath(),
              "; written by the set-up step\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Pellomar\\Cantorvale Basic\\1.0\\Install]\r\n"
              "InstallDir = /opt/cantorvale  \r\n"
              "Count=dword:0000002a\r\n"
              "Path=hex(2):2f,74,00\r\n"
              "One=\"x\"\r\n"
              "Nul=hex(1):00\r\n"
              "Multi=hex(7):61,00,00\r\n"
              "Broken=dword:zz\r\n"
              "Huge=\"" + std::string(1000, 'h') + "\"\r\n"
              "HugeBytes=hex:" + [] { std::string s = "00"; for (int i = 0; i < 1000; ++i) s += ",00"; return s; }() + "\r\n"
              "@=unnamed\r\n");
    struct Case { const char* name; std::string text; bool number; int status; };
    const Case cases[] = {
        {"InstallDir", "/opt/cantorvale", false, fw::SettingsOk},
        {"COUNT", "42", true, fw::SettingsOk},
        {"Path", "/t", false, fw::SettingsOk},      // expandable text without its NUL
        {"One", "x", false, fw::SettingsOk},
        {"Nul", "", false, fw::SettingsOk},         // one byte of data is the empty text
        {"Multi", "", false, fw::SettingsOk},       // another type gives the empty text
        {"Broken", "", false, fw::SettingsOk},
        {"Huge", "", false, fw::SettingsFailed},    // 1001 bytes with the NUL
        {"HugeBytes", "", false, fw::SettingsFailed},
        {"", "unnamed", false, fw::SettingsOk},
    };
    for (const auto& c : cases) {
        const fw::SettingsValue v = fw::GetSettingsValue(0, kBasic, "dflt", c.name, "Install");
        EXPECT_EQ(fw::SettingsStatus(), c.status) << c.name;
        EXPECT_EQ(v.text, c.text) << c.name;
        EXPECT_EQ(v.isNumber, c.number) << c.name;
    }
    EXPECT_EQ(fw::GetSettingsValue(0, kBasic, "", "Count", "Install").number, 42u);

    // A put keeps every other line of the store.
    const std::string before = ReadFile(fw::SettingsFilePath());
    fw::PutSettingsValue(0, kBasic, "SongBookPath", "General", "/b");
    const std::string after = ReadFile(fw::SettingsFilePath());
    EXPECT_EQ(after.substr(0, before.size()), before);
}

TEST_F(SettingsStore, UnreadableStoreFails) {
    // A store that cannot be read (here a folder in its place) fails every call.
    std::filesystem::create_directories(fw::SettingsFilePath());
    EXPECT_EQ(fw::GetSettingsValue(0, kBasic, "0", "SongBookPath", "General").text, "");
    EXPECT_EQ(fw::SettingsStatus(), fw::SettingsFailed);
    fw::PutSettingsValue(0, kBasic, "SongBookPath", "General", "/b");
    EXPECT_EQ(fw::SettingsStatus(), fw::SettingsFailed);
    EXPECT_TRUE(std::filesystem::is_directory(fw::SettingsFilePath()));
}

TEST_F(SettingsStore, StatusIsPerThread) {
    fw::GetSettingsValue(0, "", "", "X", "Y");
    EXPECT_EQ(fw::SettingsStatus(), fw::SettingsNoKey);
    fw::ThreadContext other(2);
    fw::SetCurrentContext(&other);
    EXPECT_EQ(fw::SettingsStatus(), fw::SettingsOk);
    fw::GetSettingsValue(0, kBasic, "", "X", "Y");
    EXPECT_EQ(fw::SettingsStatus(), fw::SettingsNotFound);
    fw::SetCurrentContext(nullptr);
    EXPECT_EQ(fw::SettingsStatus(), fw::SettingsNoKey);
}

}  // namespace
