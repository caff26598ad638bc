#include "platform/ui/controls/number_rule.h"

#include <algorithm>
#include <cmath>

#include "platform/text/clock.h"
#include "platform/text/codepage.h"
#include "platform/text/numbers.h"
#include "platform/text/picture.h"
#include "platform/text/strings.h"
#include "platform/ui/use_var.h"

namespace fw {
namespace {

char KindOf(const std::string& picture) {
    return picture.size() > 1 ? static_cast<char>(UpperByte(static_cast<unsigned char>(picture[1]))) : 0;
}

bool IsDateOrTime(const std::string& picture) {
    const char k = KindOf(picture);
    return k == 'D' || k == 'T';
}

std::string Bound(double v, bool whole) {
    if (whole || v == std::floor(v)) return NumberText(static_cast<long long>(v));
    return NumberText(v);
}

}  // namespace

bool IsNumberEntry(const std::string& picture, const UseVar& var) {
    if (picture.empty()) return var.Numeric();
    return IsNumberPicture(picture) || IsDateOrTime(picture);
}

NumberRule NumberRuleFor(const std::string& picture, std::optional<double> rangeLow, std::optional<double> rangeHigh,
                         const UseVar& var) {
    NumberRule r;
    r.picture = picture;
    if (IsNumberPicture(picture)) {
        const PictureLimits shown = NumberPictureLimits(picture);
        r.low = shown.low;
        r.high = shown.high;
    }
    if (rangeLow) r.low = std::max(r.low, *rangeLow);
    if (rangeHigh) r.high = std::min(r.high, *rangeHigh);
    if (var.Numeric()) {
        r.low = std::max(r.low, var.Low());
        r.high = std::min(r.high, var.High());
        r.whole = var.Integral();
    }
    return r;
}

std::optional<double> NumberRule::Read(const std::string& text) const {
    std::string t = CLIP(text);
    while (!t.empty() && t.front() == ' ') t.erase(t.begin());
    double v = 0;
    if (t.empty()) {
        v = 0;
    } else if (IsDateOrTime(picture)) {
        v = DeformatValue(t, picture);
        if (v == 0) return std::nullopt;
    } else if (!ReadPictureNumber(t, picture, v)) {
        return std::nullopt;
    }
    if (whole && v != std::floor(v)) return std::nullopt;
    if (v < low || v > high) return std::nullopt;
    return v;
}

std::string NumberRule::Refusal() const {
    const char k = KindOf(picture);
    if (k == 'D') {
        const double today = static_cast<double>(TODAY());
        std::string text = "Please enter a date such as " + CLIP(FORMAT(today, picture));
        if (low > -1e300 && high < 1e300)
            text += ", from " + CLIP(FORMAT(low, picture)) + " to " + CLIP(FORMAT(high, picture));
        return text + ".";
    }
    if (k == 'T') return "Please enter a valid time.";
    if (low <= -1e300 || high >= 1e300) return "Please enter a number.";
    return "Please enter a number from " + Bound(low, whole) + " to " + Bound(high, whole) + ".";
}

}  // namespace fw
