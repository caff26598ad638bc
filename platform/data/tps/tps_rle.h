#pragma once
// The page compression: pairs of a literal run and a repeat of the literal's
// last byte, each count one byte (below 0x80) or two (low 7 bits, then
// times 128).

#include <string>
#include <string_view>

namespace fw::tps {

// Expands `packed` into exactly `size` bytes (appended to `out`, which is
// cleared first), stopping once `size` bytes are there; one spare zero byte
// after them is accepted. Returns false for a damaged stream: a zero literal
// count, a count cut off, a run past the input or past `size`, a result too
// short, or anything but that one spare byte left over.
bool Decompress(std::string_view packed, std::size_t size, std::string& out);

}  // namespace fw::tps
