#pragma once
// UncompressUpdateFile: inflates one update file (update_file.h) into the
// file it stands for, in a small window that names the file and turns its
// clock icon once per block. The window runs no event loop; it is redrawn
// after every block.

#include <cstdint>
#include <string_view>

namespace exchange {

// 1 when every block inflated and the destination holds the whole
// content, else 0 after the failure's message (an empty source gives 0
// without one). Both are program paths. The output stops at `cap` bytes
// (see InflateCapFor); a destination that exists is replaced; after a
// failure it is removed.
long UncompressUpdateFile(std::string_view source, std::string_view destination,
                          std::uint64_t cap = 4ull << 30);

}  // namespace exchange
