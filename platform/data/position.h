#pragma once
// Position strings: the key values and row id of a record, as text, so a
// record can be found again (REGET) or its place in a key order (RESET)
// even after it or its neighbours went away.
//   record order  "R|<id>"
//   key order     "K|<key name>|<value>|...|<id>"
// '%', '|', ';' and control bytes in values are written %XX; trailing
// blanks (a position kept in a STRING(512)) are ignored.

#include "platform/data/cursor.h"
#include "platform/data/file.h"

#include <string>
#include <string_view>
#include <vector>

namespace fw::data {

std::string EscapePart(std::string_view s);
std::string UnescapePart(std::string_view s);
std::vector<std::string_view> SplitParts(std::string_view s, char sep);

std::string EncodePosition(const File& f, int key, const KeyValues& values, std::int64_t id);

struct DecodedPosition {
    int key = -1;  // -1: record order
    KeyValues values;
    std::int64_t id = 0;
};
// False when the text is no position of this file.
bool DecodePosition(const File& f, std::string_view text, DecodedPosition* out);

}  // namespace fw::data
