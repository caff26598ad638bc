#pragma once
// The update-file format: blocks one after another, each a 35-character
// text header followed by a zlib stream (the output of zlib's compress).
//
//   bytes 0-14   the block's compressed length, decimal digits, blanks around
//   bytes 15-29  its uncompressed length, the same way
//   bytes 30-33  not used
//   byte  34     "X" when another block follows; anything else ends the file
//
// A block holds at most 62000 compressed and 63000 uncompressed bytes. The
// file's content is the blocks' data joined in order.
//
// The reader trusts nothing in the file: a header must hold digits within
// those limits, a block must inflate to exactly the length its header
// gives, an announced block must be there whole, and the output stops at a
// cap (a few bytes of zlib can stand for 63000 of output).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace exchange {

inline constexpr std::size_t kBlockHeaderBytes = 35;
inline constexpr std::size_t kMaxCompressedBlock = 62000;
inline constexpr std::size_t kMaxBlockData = 63000;
// What the builder puts in a block: incompressible data grows a little
// under zlib, and the compressed block must stay within its limit.
inline constexpr std::size_t kBuilderBlockData = 61000;

struct BlockHeader {
    std::size_t compressed = 0;
    std::size_t uncompressed = 0;
    bool more = false;
};

// False when the header is not 35 bytes of two length fields of digits
// (blanks around them) with 1 <= compressed <= 62000 and uncompressed <= 63000.
bool ParseBlockHeader(std::string_view header, BlockHeader& out);
std::string FormatBlockHeader(std::size_t compressed, std::size_t uncompressed, bool more);

enum class InflateResult {
    Ok,
    Empty,           // too short for its first block header
    Corrupt,         // a bad header, a damaged stream, a length that does not match, a block cut short
    NoMemory,        // zlib had no memory
    BufferTooSmall,  // a block inflates to more than 63000 bytes
    TooLarge,        // the output would pass the cap
    ReadError,
    WriteError,
};

struct InflateOutcome {
    InflateResult result = InflateResult::Ok;
    long blocks = 0;            // blocks inflated and written
    std::uint64_t bytesOut = 0;
};

// Reads up to n bytes at an offset into buffer; the count read (less at
// the end), or -1 on a read error.
using ReadAt = std::function<long(std::uint64_t offset, std::size_t n, char* buffer)>;
// Takes one block's data; false when it could not be written.
using BlockSink = std::function<bool(std::string_view data)>;

// Inflates every block in order into the sink. onBlock (optional) is told
// each block as it starts, from 1.
InflateOutcome InflateBlocks(const ReadAt& read, const BlockSink& sink, std::uint64_t cap,
                             const std::function<void(long block)>& onBlock = {});
InflateOutcome InflateBytes(std::string_view file, const BlockSink& sink, std::uint64_t cap);

// The cap on what a download of compressedSize bytes may inflate to.
std::uint64_t InflateCapFor(std::uint64_t compressedSize);

// The builder (the release tool and the tests): the payload in blocks of
// at most blockData bytes; an empty payload gives one empty block.
std::string MakeUpdateFile(std::string_view payload, std::size_t blockData = kBuilderBlockData);

}  // namespace exchange
