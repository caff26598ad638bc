#include "platform/text/picture.h"

#include "platform/text/numbers.h"
#include "platform/text/picture_parts.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace fw {
namespace picture {

char Kind(std::string_view picture) {
    if (picture.size() < 2 || picture[0] != '@') return 0;
    const char c = static_cast<char>(picture[1] & ~0x20);
    return (c == 'N' || c == 'P' || c == 'S' || c == 'D' || c == 'T') ? c : 0;
}

}  // namespace picture

namespace {

std::size_t StringWidth(std::string_view picture) {
    std::size_t n = 0;
    for (std::size_t i = 2; i < picture.size() && picture[i] >= '0' && picture[i] <= '9'; ++i)
        n = n * 10 + static_cast<std::size_t>(picture[i] - '0');
    return n;
}

bool HasWidth(std::string_view picture) { return picture.size() > 2 && picture[2] >= '0' && picture[2] <= '9'; }

// The digits, sign, point and exponent DEFORMAT keeps of a text without a picture.
std::string NumberChars(std::string_view text) {
    std::string kept;
    bool point = false;
    std::size_t exponentAt = std::string_view::npos;  // position in text of the kept e/E
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool afterExponent = exponentAt != std::string_view::npos && i == exponentAt + 1;
        if (c >= '0' && c <= '9') {
            kept.push_back(c);
        } else if (c == '.' && !point) {
            point = true;
            kept.push_back(c);
        } else if ((c == 'e' || c == 'E') && exponentAt == std::string_view::npos) {
            exponentAt = i;
            kept.push_back(c);
        } else if (c == '-' && (i == 0 || afterExponent)) {
            kept.push_back(c);
        } else if (c == '+' && afterExponent) {
            kept.push_back(c);
        }
    }
    return kept;
}

}  // namespace

namespace {

// A date or time value as a whole number; values no date or time can have give 0.
long WholeValue(double value) { return std::isfinite(value) && std::fabs(value) < 1e15 ? static_cast<long>(value) : 0; }

}  // namespace

std::string FORMAT(double value, std::string_view pic) {
    switch (picture::Kind(pic)) {
        case 'N': return picture::FormatNumber(value, pic);
        case 'P': return picture::FormatPattern(value, pic);
        case 'D': return picture::FormatDate(WholeValue(value), pic);
        case 'T': return picture::FormatTime(WholeValue(value), pic);
        case 'S': return FORMAT(std::string_view(NumberText(value)), pic);
        default: return NumberText(value);
    }
}

std::string FORMAT(std::string_view value, std::string_view pic) {
    switch (picture::Kind(pic)) {
        case 'S': {
            if (!HasWidth(pic)) return std::string(value);
            std::string out(value.substr(0, StringWidth(pic)));
            out.resize(StringWidth(pic), ' ');
            return out;
        }
        case 0: return std::string(value);
        default: return FORMAT(NumericValue(value), pic);
    }
}

double DeformatValue(std::string_view text, std::string_view pic) {
    switch (picture::Kind(pic)) {
        case 'N': return picture::DeformatNumber(text, pic);
        case 'P': return picture::DeformatPattern(text, pic);
        case 'D': return static_cast<double>(picture::DeformatDate(text, pic));
        case 'T': return static_cast<double>(picture::DeformatTime(text, pic));
        default: return DeformatValue(text);
    }
}

double DeformatValue(std::string_view text) {
    const std::string kept = NumberChars(text);
    double v = 0;
    std::from_chars(kept.data(), kept.data() + kept.size(), v);
    return std::isfinite(v) ? v : 0;
}

std::string DEFORMAT(std::string_view text, std::string_view pic) {
    if (picture::Kind(pic) == 'S') return std::string(text);
    return NumberText(DeformatValue(text, pic));
}

std::string DEFORMAT(std::string_view text) { return NumberText(DeformatValue(text)); }

bool IsNumberPicture(std::string_view pic) {
    const char k = picture::Kind(pic);
    return k == 'N' || k == 'P';
}

bool ReadPictureNumber(std::string_view text, std::string_view pic, double& value) {
    switch (picture::Kind(pic)) {
        case 'N': return picture::ReadNumber(text, pic, value);
        case 'P': return picture::ReadPatternNumber(text, pic, value);
        default: {
            // No number picture: a plain decimal number.
            return picture::ReadNumber(text, "@N.15", value);
        }
    }
}

PictureLimits NumberPictureLimits(std::string_view pic) {
    PictureLimits l{-1e300, 1e300};
    switch (picture::Kind(pic)) {
        case 'N': picture::NumberLimits(pic, l.low, l.high); break;
        case 'P': picture::PatternLimits(pic, l.low, l.high); break;
        default: break;
    }
    return l;
}

}  // namespace fw
