#include "exchange/update_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace exchange {
namespace {

// Digits with blanks around them; false for anything else (a sign, a blank
// field, letters, a blank between digits).
bool ParseLength(std::string_view field, std::size_t limit, std::size_t& out) {
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    std::size_t digits = 0;
    std::uint64_t value = 0;
    while (i < field.size() && field[i] >= '0' && field[i] <= '9') {
        value = value * 10 + static_cast<std::uint64_t>(field[i] - '0');
        if (value > limit) return false;
        ++i;
        ++digits;
    }
    while (i < field.size() && field[i] == ' ') ++i;
    if (digits == 0 || i != field.size()) return false;
    out = static_cast<std::size_t>(value);
    return true;
}

InflateResult FromZlib(int rc) {
    switch (rc) {
    case Z_MEM_ERROR: return InflateResult::NoMemory;
    case Z_BUF_ERROR: return InflateResult::BufferTooSmall;
    default: return InflateResult::Corrupt;
    }
}

}  // namespace

bool ParseBlockHeader(std::string_view header, BlockHeader& out) {
    if (header.size() != kBlockHeaderBytes) return false;
    BlockHeader h;
    if (!ParseLength(header.substr(0, 15), kMaxCompressedBlock, h.compressed) || h.compressed == 0) return false;
    if (!ParseLength(header.substr(15, 15), kMaxBlockData, h.uncompressed)) return false;
    h.more = header[34] == 'X';
    out = h;
    return true;
}

std::string FormatBlockHeader(std::size_t compressed, std::size_t uncompressed, bool more) {
    char buffer[kBlockHeaderBytes + 1];
    std::snprintf(buffer, sizeof buffer, "%15zu%15zu    %c", compressed, uncompressed, more ? 'X' : ' ');
    return std::string(buffer, kBlockHeaderBytes);
}

InflateOutcome InflateBlocks(const ReadAt& read, const BlockSink& sink, std::uint64_t cap,
                             const std::function<void(long)>& onBlock) {
    InflateOutcome outcome;
    std::vector<char> in(kBlockHeaderBytes + kMaxCompressedBlock);
    std::vector<unsigned char> out(kMaxBlockData);
    std::uint64_t position = 0;
    for (;;) {
        long got = read(position, kBlockHeaderBytes, in.data());
        if (got < 0) {
            outcome.result = InflateResult::ReadError;
            return outcome;
        }
        if (static_cast<std::size_t>(got) < kBlockHeaderBytes) {
            // Too short for a first header is an empty file; no header
            // where one was announced is a file cut short.
            outcome.result = outcome.blocks == 0 ? InflateResult::Empty : InflateResult::Corrupt;
            return outcome;
        }
        BlockHeader header;
        if (!ParseBlockHeader(std::string_view(in.data(), kBlockHeaderBytes), header)) {
            outcome.result = InflateResult::Corrupt;
            return outcome;
        }
        if (onBlock) onBlock(outcome.blocks + 1);
        got = read(position + kBlockHeaderBytes, header.compressed, in.data() + kBlockHeaderBytes);
        if (got < 0) {
            outcome.result = InflateResult::ReadError;
            return outcome;
        }
        if (static_cast<std::size_t>(got) != header.compressed) {
            outcome.result = InflateResult::Corrupt;
            return outcome;
        }
        uLongf destLen = kMaxBlockData;
        int rc = uncompress(out.data(), &destLen, reinterpret_cast<const Bytef*>(in.data() + kBlockHeaderBytes),
                            static_cast<uLong>(header.compressed));
        if (rc != Z_OK) {
            outcome.result = FromZlib(rc);
            return outcome;
        }
        if (destLen != header.uncompressed) {
            outcome.result = InflateResult::Corrupt;
            return outcome;
        }
        if (outcome.bytesOut + destLen > cap) {
            outcome.result = InflateResult::TooLarge;
            return outcome;
        }
        if (!sink(std::string_view(reinterpret_cast<const char*>(out.data()), destLen))) {
            outcome.result = InflateResult::WriteError;
            return outcome;
        }
        outcome.bytesOut += destLen;
        ++outcome.blocks;
        if (!header.more) return outcome;
        position += kBlockHeaderBytes + header.compressed;
    }
}

InflateOutcome InflateBytes(std::string_view file, const BlockSink& sink, std::uint64_t cap) {
    ReadAt read = [file](std::uint64_t offset, std::size_t n, char* buffer) -> long {
        if (offset >= file.size()) return 0;
        std::size_t take = std::min<std::uint64_t>(n, file.size() - offset);
        std::memcpy(buffer, file.data() + offset, take);
        return static_cast<long>(take);
    };
    return InflateBlocks(read, sink, cap);
}

std::uint64_t InflateCapFor(std::uint64_t compressedSize) {
    // Our data files shrink to a fifth or a tenth under zlib; a hundredfold
    // leaves room for any real file and stops a block table of zeros.
    constexpr std::uint64_t kRatio = 100;
    constexpr std::uint64_t kFloor = 1ull << 20;
    constexpr std::uint64_t kCeiling = 4ull << 30;
    return std::clamp(compressedSize * kRatio, kFloor, kCeiling);
}

std::string MakeUpdateFile(std::string_view payload, std::size_t blockData) {
    if (blockData == 0 || blockData > kMaxBlockData) throw std::invalid_argument("block size out of range");
    std::string file;
    std::vector<unsigned char> packed(compressBound(static_cast<uLong>(blockData)));
    std::size_t offset = 0;
    do {
        std::size_t take = std::min(blockData, payload.size() - offset);
        uLongf packedLen = static_cast<uLongf>(packed.size());
        if (compress(packed.data(), &packedLen, reinterpret_cast<const Bytef*>(payload.data() + offset),
                     static_cast<uLong>(take)) != Z_OK)
            throw std::runtime_error("zlib could not compress a block");
        if (packedLen > kMaxCompressedBlock) throw std::runtime_error("a block compresses beyond its limit");
        offset += take;
        file += FormatBlockHeader(packedLen, take, offset < payload.size());
        file.append(reinterpret_cast<const char*>(packed.data()), packedLen);
    } while (offset < payload.size());
    return file;
}

}  // namespace exchange
