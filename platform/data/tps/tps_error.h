#pragma once
// The one error the TopSpeed reader throws: a file it cannot read, with a
// text that says why ("page at 0x1200: damaged compression run").

#include <stdexcept>
#include <string>

namespace fw::tps {

class TpsError : public std::runtime_error {
public:
    explicit TpsError(const std::string& what) : std::runtime_error(what) {}
};

// The text for a file without the signature: it is encrypted with an owner
// password, which hides the signature, or it is no TopSpeed file at all.
inline constexpr const char* kNotTopSpeedText = "password-protected or not a TopSpeed file";

// "0x1a00": offsets in messages.
std::string HexOffset(unsigned long long offset);

}  // namespace fw::tps
