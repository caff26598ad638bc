#pragma once
// Reads every part of a TopSpeed file the way a conversion would: every
// table, row, field element and memo. Returns the error text, or "" when
// the file read. Any other exception (or a crash) is a fault of the reader.

#include "platform/data/tps/tps_read_through.h"

#include <string>
#include <string_view>

namespace tps_fixture {

inline std::string ReadAll(std::string_view bytes) { return fw::tps::ReadThrough(bytes); }

}  // namespace tps_fixture
