#pragma once
// The short name of the operating system, as the AutoUpdate wizard reads it.

#include <string>

namespace shell {

// From a version query: queried false for a failed query gives "UnKnown";
// platform 1 (Windows 9x) by minor version, platform 2 (Windows NT) by
// major version, platform 0 the empty text, any other "UnKnown".
std::string OsNameFor(bool queried, unsigned long platformId, unsigned long majorVersion,
                      unsigned long minorVersion);

}  // namespace shell
