#pragma once
// The operating-system version query. The program reports itself as
// running on Windows NT 5.1, so the version-dependent paths it takes (the
// HTML help, the program revisions) are those of that system.

#include <optional>

namespace fw {

struct OsVersionInfo {
    unsigned long size = 148;  // the size of the record the query fills
    unsigned long majorVersion = 0;
    unsigned long minorVersion = 0;
    unsigned long buildNumber = 0;
    unsigned long platformId = 0;  // 1 Windows 9x, 2 Windows NT
    char servicePack[128] = {};
};

// Fills info: platform id 2, major 5, minor 1, build 2600. Returns true.
bool GetVersionEx(OsVersionInfo& info);

// Makes the query report other values (tests of the version-dependent
// paths), or fail when failing is set; std::nullopt and false go back to
// the default.
void SetOsVersionForTests(std::optional<OsVersionInfo> info, bool failing = false);

}  // namespace fw
