#include "platform/data/tps/tps_values.h"

#include "platform/data/tps/tps_bytes.h"
#include "platform/text/dates.h"

#include <cstdio>
#include <cstring>

namespace fw::tps {
namespace {

// Packed day, month, year (u16) into a day number; 0 is no date.
void DecodeDate(std::string_view b, Value& v) {
    const int day = U8(b, 0);
    const int month = U8(b, 1);
    const int year = Le16(b, 2);
    if (day == 0 && month == 0 && year == 0) return;
    v.integer = fw::DATE(month, day, year);  // 0 for no real date, or one the program cannot hold
    v.valid = v.integer != 0;
}

// Packed hundredths, seconds, minutes, hours into hundredths since midnight
// plus one; all zero is no time.
void DecodeTime(std::string_view b, Value& v) {
    const int hundredths = U8(b, 0);
    const int seconds = U8(b, 1);
    const int minutes = U8(b, 2);
    const int hours = U8(b, 3);
    if (!hundredths && !seconds && !minutes && !hours) return;
    v.valid = hundredths < 100 && seconds < 60 && minutes < 60 && hours < 24;
    if (v.valid) v.integer = ((hours * 60 + minutes) * 60 + seconds) * 100 + hundredths + 1;
}

// Packed decimal: sign nibble, then digits, the last `decimals` of them after the point.
void DecodeDecimal(std::string_view b, unsigned decimals, Value& v) {
    v.kind = Value::Kind::Decimal;
    const bool negative = (U8(b, 0) >> 4) != 0;
    std::string digits;
    digits.reserve(2 * b.size());
    for (std::size_t i = 0; i < b.size(); ++i) {
        const unsigned byte = U8(b, i);
        if (i) digits.push_back(static_cast<char>('0' + (byte >> 4)));
        digits.push_back(static_cast<char>('0' + (byte & 0x0F)));
    }
    for (char& c : digits)
        if (c > '9') { v.valid = false; c = '0'; }
    std::string whole = digits.substr(0, digits.size() - decimals);
    const std::string fraction = digits.substr(digits.size() - decimals);
    const auto nonZero = whole.find_first_not_of('0');
    whole = nonZero == std::string::npos ? "0" : whole.substr(nonZero);
    const bool zero = whole == "0" && fraction.find_first_not_of('0') == std::string::npos;
    v.text = (negative && !zero ? "-" : "") + whole + (decimals ? "." + fraction : "");
    v.real = std::strtod(v.text.c_str(), nullptr);
}

}  // namespace

Value DecodeField(const Field& f, std::string_view row, std::size_t element) {
    const std::size_t size = f.ElementSize();
    const std::string_view b = row.substr(f.ElementOffset(element), size);
    Value v;
    switch (f.type) {
    case kByte: v.integer = U8(b, 0); break;
    case kShort: v.integer = static_cast<std::int16_t>(Le16(b, 0)); break;
    case kUShort: v.integer = Le16(b, 0); break;
    case kLong: v.integer = static_cast<std::int32_t>(Le32(b, 0)); break;
    case kULong: v.integer = Le32(b, 0); break;
    case kDate: DecodeDate(b, v); break;
    case kTime: DecodeTime(b, v); break;
    case kSReal: {
        float x;
        std::memcpy(&x, b.data(), 4);
        v.kind = Value::Kind::Real;
        v.real = x;
        break;
    }
    case kReal: {
        const std::uint64_t bits = Le32(b, 0) | (std::uint64_t{Le32(b, 4)} << 32);
        std::memcpy(&v.real, &bits, 8);
        v.kind = Value::Kind::Real;
        break;
    }
    case kDecimal: DecodeDecimal(b, f.decimals, v); break;
    case kString: v.kind = Value::Kind::Text; v.text.assign(b); break;
    case kCString: {
        v.kind = Value::Kind::Text;
        const auto end = b.find('\0');
        v.text.assign(b.substr(0, end));
        break;
    }
    case kPString: {
        v.kind = Value::Kind::Text;
        const std::size_t n = U8(b, 0);
        v.valid = n < b.size();
        v.text.assign(b.substr(1, n));
        break;
    }
    default: v.kind = Value::Kind::Bytes; v.text.assign(b); break;
    }
    return v;
}

std::string DisplayText(const Field& f, const Value& v) {
    char buf[64];
    if (!v.valid && f.type != kPString && f.type != kDecimal) return "?";
    switch (v.kind) {
    case Value::Kind::Integer:
        if (f.type == kDate) {
            if (!v.integer) return "";
            const auto c = fw::CivilFromDayNumber(static_cast<long>(v.integer));
            std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", c.year, c.month, c.day);
            return buf;
        }
        if (f.type == kTime) {
            if (!v.integer) return "";
            const long t = static_cast<long>(v.integer - 1);
            std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld.%02ld", t / 360000, t / 6000 % 60, t / 100 % 60, t % 100);
            return buf;
        }
        return std::to_string(v.integer);
    case Value::Kind::Real:
        std::snprintf(buf, sizeof buf, "%.17g", v.real);
        return buf;
    case Value::Kind::Decimal: return v.text;
    case Value::Kind::Text: {
        std::size_t n = v.text.size();
        while (n > 0 && v.text[n - 1] == ' ') --n;
        return v.text.substr(0, n);
    }
    case Value::Kind::Bytes: {
        std::string hex;
        for (unsigned char c : v.text) {
            std::snprintf(buf, sizeof buf, "%02x", c);
            hex += buf;
        }
        return hex;
    }
    }
    return "";
}

}  // namespace fw::tps
