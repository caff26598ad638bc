#pragma once
// The report's basic values: geometry in thousandths of an inch, paper,
// colours as 00BBGGRR and the text font of an element.

#include <cstdint>
#include <string>

namespace fw::report {

// Every position and size of a report, in thousandths of an inch.
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Rect&) const = default;
};

// A colour as the layouts give it: 00BBGGRR (red in the low byte);
// kNoColor draws nothing (no border, no fill).
using Color = std::int32_t;
inline constexpr Color kNoColor = -1;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;

// Paper codes of the printer settings.
enum class PaperCode : int { Letter = 1, A4 = 9 };

struct Paper {
    PaperCode code = PaperCode::Letter;
    bool landscape = false;
    // The sheet as it lies: width and height swap in landscape.
    int Width() const;
    int Height() const;
};

// A text font: face as the layouts name it ("Arial", "Courier" ...), size
// in points, style as the layouts write it (weight 400 or 700, plus 4096
// for italic), colour 00BBGGRR.
inline constexpr int kItalicStyle = 4096;
struct TextFont {
    std::string face = "Arial";
    int size = 10;
    int style = 400;
    Color color = kBlack;
    int Weight() const { return style % kItalicStyle == 0 ? 400 : style % kItalicStyle; }
    bool Italic() const { return (style & kItalicStyle) != 0; }
    bool operator==(const TextFont&) const = default;
};

}  // namespace fw::report
