#pragma once
// Field values decoded from a row image, each at its own offset.

#include "platform/data/tps/tps_definition.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace fw::tps {

struct Value {
    enum class Kind : std::uint8_t {
        Integer,  // BYTE, SHORT, USHORT, LONG, ULONG; DATE as a day number; TIME as hundredths since midnight + 1
        Real,     // SREAL, REAL
        Decimal,  // DECIMAL: `text` is the plain decimal ("-123.45"), `real` its value
        Text,     // STRING (padded, as stored), CSTRING (up to the terminator), PSTRING: Windows-1252 bytes
        Bytes,    // GROUP and unknown types: the raw bytes
    };
    Kind kind = Kind::Integer;
    // False for a DATE or TIME that is no real date or time, a PSTRING whose
    // length does not fit its field, or a DECIMAL with a digit above 9;
    // the value is then 0 (or the text as far as it fits).
    bool valid = true;
    std::int64_t integer = 0;
    double real = 0;
    std::string text;
};

// Element `element` (0-based, below f.ElementCount()) of the field in a row image
// of the definition's record length.
Value DecodeField(const Field& f, std::string_view row, std::size_t element = 0);

// The value as a short text for listings: numbers in decimal, texts without
// trailing blanks, dates as yyyy-mm-dd, times as hh:mm:ss.cc, bytes in hex.
std::string DisplayText(const Field& f, const Value& v);

}  // namespace fw::tps
