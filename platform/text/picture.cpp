// Minimal first cut: @s pictures cut to width, numbers print plainly.
// Replaced by the full picture engine.
#include "platform/text/picture.h"

#include <cstdlib>
#include <string>

namespace fw {

std::string FORMAT(double value, std::string_view) {
    return std::to_string(static_cast<long long>(value));
}

std::string FORMAT(std::string_view value, std::string_view picture) {
    if (picture.size() > 2 && (picture[1] == 's' || picture[1] == 'S')) {
        const auto n = static_cast<size_t>(std::atoi(std::string(picture.substr(2)).c_str()));
        return std::string(value.substr(0, n));
    }
    return std::string(value);
}

std::string DEFORMAT(std::string_view text, std::string_view) { return DEFORMAT(text); }

std::string DEFORMAT(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c >= '0' && c <= '9') out.push_back(c);
    return out;
}

}  // namespace fw
