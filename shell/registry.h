#pragma once
// The program's registry layer, on the settings store (platform/config/
// settings_store.h): a value is named by a root code (1 current user,
// 2 local machine, 3 users, any other code local machine; the program
// passes 0), a key path, a section under it and a value name. Reads only
// read the store; nothing is opened for writing to read a value.

#include "platform/config/settings_store.h"

#include <string>
#include <string_view>

namespace shell {

// The key paths and sections of the values the program uses.
inline constexpr std::string_view kBasicKeyPath = "Pellomar\\Cantorvale Basic\\1.0";
inline constexpr std::string_view kSiteKeyPath = "Pellomar\\Cantorvale\\1.0";
inline constexpr std::string_view kInstallSection = "Install";    // InstallDir, written by the installer
inline constexpr std::string_view kGeneralSection = "General";    // SongBookPath
inline constexpr std::string_view kVersionSection = "Version";    // DataFile, MainApp
inline constexpr std::string_view kSettingsSection = "Settings";  // CompanyWebAddress, written by the installer

// The layer's status after each call, per thread.
namespace registry_status {
inline constexpr int Ok = fw::SettingsOk;
inline constexpr int NotFound = fw::SettingsNotFound;
inline constexpr int Failed = fw::SettingsFailed;
inline constexpr int NoKey = fw::SettingsNoKey;
inline constexpr int BadKey = fw::SettingsBadKey;
inline constexpr int NoMoreItems = fw::SettingsNoMoreItems;
}  // namespace registry_status

// The value's data as text (a number as its decimal digits). A missing key
// or value gives deflt; any other failure the empty text.
std::string GetRegistryValue(int root, std::string_view keyPath, std::string_view deflt, std::string_view valueName,
                             std::string_view section);

// Writes a text (as binary data when it holds a NUL) or a number (as its
// decimal text), creating the key when it is missing. An empty text is
// stored as an empty value; nothing is ever deleted. The outcome is in
// RegistryStatus().
void PutRegistryValue(int root, std::string_view keyPath, std::string_view valueName, std::string_view section,
                      std::string_view value);
void PutRegistryValue(int root, std::string_view keyPath, std::string_view valueName, std::string_view section,
                      long long number);

// The status of the calling thread's last registry call.
int RegistryStatus();

}  // namespace shell
