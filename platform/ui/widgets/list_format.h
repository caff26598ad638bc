#pragma once
// The column layout of a list, as the framework's FORMAT strings give it:
//   "110L|M*~Title~C@s40@#1#90LM~Artist~C@s40@E(0FFH,,0FFFFFFH,)/"
// Per column: width in dialog units (0 = present but hidden), justification
// L, C, R or D with an optional "(indent)", then in any order "|" (right
// border), "M" (user-resizable), "*" (colours from the row), "~heading~"
// with its own justification and indent, "@picture@", "#n#" (the row field
// the column shows), "E(fg,bg,selfg,selbg)" (default colours, an empty one
// meaning the list's own) and "/" (ends the display line; no visible effect
// after the last column). The next column starts at the next width.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw::ui {

enum class Justify { Left, Center, Right, Decimal };

struct ListColumn {
    int width = 0;                       // dialog units; 0 = hidden
    Justify justify = Justify::Left;
    std::optional<int> indent;           // dialog units
    bool rightBorder = false;            // '|'
    bool resizable = false;              // 'M'
    bool colored = false;                // '*': four colour fields follow the value field
    bool hasHeading = false;
    std::string heading;                 // Windows-1252
    std::optional<Justify> headingJustify;
    std::optional<int> headingIndent;
    std::string picture;                 // "@s40"; empty = shown as it is
    int explicitField = 0;               // "#n#"; 0 when not given
    bool lineEnd = false;                // '/'
    bool hasDefaultColors = false;       // E(...)
    std::array<std::optional<std::int32_t>, 4> defaultColors;  // fg, bg, selected fg, selected bg

    int field = 0;  // 1-based row field shown (resolved by ListFormat::Parse)

    Justify EffectiveHeadingJustify() const { return headingJustify.value_or(justify); }
    // The value of the column's field as the column shows it: through its
    // picture, without the picture's padding (trailing blanks, and the
    // leading blanks of a number), as the justification places the text.
    std::string Show(std::string_view value) const;

    bool operator==(const ListColumn&) const = default;
};

struct ListFormat {
    std::vector<ListColumn> columns;

    // Parses a FORMAT string; on a syntax error returns nothing and, when
    // error is given, says what is wrong and where.
    static std::optional<ListFormat> Parse(std::string_view text, std::string* error = nullptr);
    // The FORMAT string of these columns (Parse of it gives the same columns).
    std::string ToText() const;
    // Re-resolves each column's field: "#n#" where given, else the field after
    // the previous column's value and colour fields.
    void ResolveFields();
    // Highest row field any column reads (colour fields included).
    int FieldCount() const;

    bool operator==(const ListFormat&) const = default;
};

}  // namespace fw::ui
