#include "platform/data/tps/tps_rle.h"

namespace fw::tps {
namespace {

bool ReadCount(std::string_view in, std::size_t& pos, std::size_t& count) {
    if (pos >= in.size()) return false;
    const auto b0 = static_cast<unsigned char>(in[pos++]);
    if (b0 < 0x80) {
        count = b0;
        return true;
    }
    if (pos >= in.size()) return false;
    const auto b1 = static_cast<unsigned char>(in[pos++]);
    count = (b0 & 0x7Fu) + 128u * b1;
    return true;
}

}  // namespace

bool Decompress(std::string_view packed, std::size_t size, std::string& out) {
    out.clear();
    out.reserve(size);
    std::size_t pos = 0;
    while (out.size() < size && pos < packed.size()) {
        std::size_t literal = 0;
        if (!ReadCount(packed, pos, literal) || literal == 0) return false;
        if (literal > packed.size() - pos || literal > size - out.size()) return false;
        out.append(packed.data() + pos, literal);
        pos += literal;
        if (out.size() == size || pos >= packed.size()) break;
        std::size_t repeat = 0;
        if (!ReadCount(packed, pos, repeat)) return false;
        if (repeat > size - out.size()) return false;
        out.append(repeat, out.back());
    }
    if (out.size() != size) return false;
    // The page is complete. The database driver often writes one more
    // count of zero after it; anything else left over is damage.
    const std::size_t left = packed.size() - pos;
    return left == 0 || (left == 1 && packed[pos] == '\0');
}

}  // namespace fw::tps
