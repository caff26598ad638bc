#pragma once
// The TopSpeed format as a legacy format of the data layer: OPEN of a data
// file that is a TopSpeed file converts it once into a file of ours, keeping
// the original with ".tps-original" appended, when the file's table is the
// declaration; another layout gives 47. Encrypted files are refused.

#include "platform/data/legacy_source.h"

#include <string_view>

namespace fw::tps {

inline constexpr const char* kKeptSuffix = ".tps-original";

// True for the head (its first 512 bytes) of a file that looks like a
// TopSpeed file encrypted with an owner password, whatever its size: the
// cipher works on each 64-byte block alone, so the equal blocks of a small
// file's page-range table stay equal; a larger file's header has none, and
// is known by every block looking like ciphertext.
bool LooksEncrypted(std::string_view head);

LegacyFormat TopSpeedLegacyFormat();

}  // namespace fw::tps
