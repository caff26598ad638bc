#pragma once
// The 0x200-byte file header: signature, lengths, the root of the page tree
// and the table of page ranges.

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace fw::tps {

inline constexpr std::size_t kHeaderSize = 0x200;
inline constexpr std::size_t kPageUnit = 0x100;

struct FileHeader {
    std::uint32_t fileLength = 0;       // at 0x06
    std::uint32_t allocatedLength = 0;  // at 0x0A
    std::uint32_t lastRecordNumber = 0; // at 0x14, big-endian
    std::uint32_t changeCount = 0;      // at 0x18
    std::uint32_t rootRef = 0;          // at 0x1C, a page reference
    // Non-empty [start, end) stretches of page units, as stored.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
};

// File offset of a page reference: 256-byte units after the header.
inline std::uint64_t PageOffset(std::uint32_t ref) { return std::uint64_t{ref} * kPageUnit + kHeaderSize; }

// True when the bytes start with a plain TopSpeed header (first word 0 and
// the signature "tOpS" at 0x0E).
bool HasSignature(std::string_view file);

// Reads the header; throws TpsError for a file without the signature
// (kNotTopSpeedText), a header of another size, or a file shorter than its
// header says (truncated). A file longer than it says is accepted; the
// warning goes to `warnings`.
FileHeader ReadHeader(std::string_view file, std::vector<std::string>& warnings);

}  // namespace fw::tps
