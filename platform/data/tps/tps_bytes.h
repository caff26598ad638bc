#pragma once
// Little- and big-endian numbers at a byte position. Callers check the
// bounds first; these only assemble bytes.

#include <cstdint>
#include <string_view>

namespace fw::tps {

inline std::uint8_t U8(std::string_view b, std::size_t at) { return static_cast<std::uint8_t>(b[at]); }
inline std::uint16_t Le16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(U8(b, at) | (U8(b, at + 1) << 8));
}
inline std::uint32_t Le32(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(U8(b, at)) | (static_cast<std::uint32_t>(U8(b, at + 1)) << 8) |
           (static_cast<std::uint32_t>(U8(b, at + 2)) << 16) | (static_cast<std::uint32_t>(U8(b, at + 3)) << 24);
}
inline std::uint16_t Be16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>((U8(b, at) << 8) | U8(b, at + 1));
}
inline std::uint32_t Be32(std::string_view b, std::size_t at) {
    return (static_cast<std::uint32_t>(U8(b, at)) << 24) | (static_cast<std::uint32_t>(U8(b, at + 1)) << 16) |
           (static_cast<std::uint32_t>(U8(b, at + 2)) << 8) | static_cast<std::uint32_t>(U8(b, at + 3));
}

}  // namespace fw::tps
