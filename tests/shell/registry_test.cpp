#include "shell/registry.h"

#include "tests/platform/config/config_fixture.h"

#include <filesystem>

namespace {

using shell::GetRegistryValue;
using shell::kBasicKeyPath;
using shell::PutRegistryValue;
using shell::RegistryStatus;
namespace status = shell::registry_status;

using RegistryTest = ConfigFolderTest;

TEST_F(RegistryTest, PutThenGetRoundTrips) {
    struct Case { const char* section; const char* name; std::string value; };
    const Case cases[] = {
        {"General", "SongBookPath", "/home/host/My  Books"},
        {"Version", "DataFile", ""},  // stored as an empty value, not deleted: no default
        {"Version", "MainApp", "  blanks  "},
    };
    for (const Case& c : cases) {
        PutRegistryValue(0, kBasicKeyPath, c.name, c.section, c.value);
        EXPECT_EQ(RegistryStatus(), status::Ok) << c.name;
        EXPECT_EQ(GetRegistryValue(0, kBasicKeyPath, "default", c.name, c.section), c.value) << c.name;
        EXPECT_EQ(RegistryStatus(), status::Ok) << c.name;
    }
    PutRegistryValue(0, kBasicKeyPath, "DataFile  ", "Version", 40123);
    EXPECT_EQ(GetRegistryValue(0, kBasicKeyPath, "", "DataFile", "Version"), "40123");
    EXPECT_NE(ReadFile(fw::SettingsFilePath()).find("DataFile=\"40123\""), std::string::npos);
}

TEST_F(RegistryTest, MissingGivesTheDefaultAndOtherFailuresTheEmptyText) {
    // No store at all.
    EXPECT_EQ(GetRegistryValue(0, kBasicKeyPath, "0", "InstallDir", "Install"), "0");
    EXPECT_EQ(RegistryStatus(), status::NotFound);
    // A key that exists without the value.
    PutRegistryValue(0, kBasicKeyPath, "Other", "Install", "x");
    EXPECT_EQ(GetRegistryValue(0, kBasicKeyPath, "0", "InstallDir", "Install"), "0");
    EXPECT_EQ(RegistryStatus(), status::NotFound);
    // Data past the read limit.
    PutRegistryValue(0, kBasicKeyPath, "Long", "Install", std::string(fw::kSettingsReadLimit, 'x'));
    EXPECT_EQ(GetRegistryValue(0, kBasicKeyPath, "0", "Long", "Install"), "");
    EXPECT_EQ(RegistryStatus(), status::Failed);
    // No key path.
    EXPECT_EQ(GetRegistryValue(0, "", "0", "InstallDir", "Install"), "");
    EXPECT_EQ(RegistryStatus(), status::NoKey);
}

TEST_F(RegistryTest, UnreadableStoreGivesTheEmptyText) {
    std::filesystem::create_directories(fw::SettingsFilePath());  // a folder where the file should be
    EXPECT_EQ(GetRegistryValue(0, kBasicKeyPath, "0", "InstallDir", "Install"), "");
    EXPECT_EQ(RegistryStatus(), status::Failed);
    PutRegistryValue(0, kBasicKeyPath, "SongBookPath", "General", "/x");
    EXPECT_EQ(RegistryStatus(), status::Failed);
}

TEST_F(RegistryTest, ReadsTheInstallersHandWrittenValue) {
    WriteFile(fw::SettingsFilePath(),
              "[HKEY_LOCAL_MACHINE\\Software\\Pellomar\\Cantorvale Basic\\1.0\\Install]\nInstallDir=/opt/cantorvale\n");
    EXPECT_EQ(GetRegistryValue(0, kBasicKeyPath, "0", "InstallDir", shell::kInstallSection), "/opt/cantorvale");
    EXPECT_EQ(RegistryStatus(), status::Ok);
}

}  // namespace
