#pragma once
// Reads every part of a TopSpeed file the way a conversion would: every
// table, row, field element and memo, so that a damaged body shows before
// the file is trusted (a restored book of the older format is read through
// before it takes its place).

#include <string>
#include <string_view>

namespace fw::tps {

// The reason the file cannot be read, or "" when every part of it reads.
// A file without tables does not read.
std::string ReadThrough(std::string_view bytes);
std::string ReadThroughFile(const std::string& path);

}  // namespace fw::tps
