#include "shell/os_name.h"

namespace shell {

std::string OsNameFor(bool queried, unsigned long platformId, unsigned long majorVersion,
                      unsigned long minorVersion) {
    if (!queried) return "UnKnown";
    switch (platformId) {
        case 0: return "";
        case 1:
            switch (minorVersion) {
                case 0: return "95";
                case 10: return "98";
                case 90: return "ME";
                default: return "UnKnown";
            }
        case 2:
            switch (majorVersion) {
                case 3: return "WIN 3.X";
                case 4: return "NT 4.X";
                case 5: return "XP";
                case 6: return "Vista";
                default: return "UnKnown";
            }
        default: return "UnKnown";
    }
}

}  // namespace shell
