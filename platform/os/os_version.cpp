#include "platform/os/os_version.h"

namespace fw {
namespace {

struct Override {
    std::optional<OsVersionInfo> info;
    bool failing = false;
};

Override& State() {
    static Override state;
    return state;
}

}  // namespace

bool GetVersionEx(OsVersionInfo& info) {
    if (State().failing) return false;
    if (State().info) {
        info = *State().info;
        return true;
    }
    info = OsVersionInfo{};
    info.majorVersion = 5;
    info.minorVersion = 1;
    info.buildNumber = 2600;
    info.platformId = 2;
    return true;
}

void SetOsVersionForTests(std::optional<OsVersionInfo> info, bool failing) {
    State().info = std::move(info);
    State().failing = failing;
}

}  // namespace fw
