#pragma once
// A finished page as a display list: the resolved primitives of every band
// placed on it, in the order they were placed, with the band markers
// between them. Texts are final except for the page count, which a text
// carries as a token filled in when the page is drawn or dumped.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/report/report_types.h"

namespace fw::report {

enum class OpKind : std::uint8_t { Band, Text, Box, Ellipse, Line, Image };

// In a text, this byte stands for the report's page count.
inline constexpr char kPageCountToken = '\x1F';

struct Op {
    OpKind kind = OpKind::Text;
    std::uint8_t align = 0;  // Align, for texts
    bool clip = false;
    Rect rect;  // lines: from (x, y) to (x + w, y + h)
    Color color = kBlack;     // text colour, border or line colour
    Color fill = kNoColor;    // box and ellipse
    std::int32_t width = 0;   // border or line width
    std::uint16_t font = 0;   // index into the page's fonts
    std::uint32_t textAt = 0, textLength = 0;  // in the page's text arena:
                                               // text, band name, image file
};

struct Page {
    int seq = 1;     // 1 for the first page the report made
    int number = 1;  // the page number printed on it
    int width = 8500, height = 11000;  // the sheet as it lies
    bool landscape = false;
    std::vector<TextFont> fonts;
    std::vector<Op> ops;
    std::string text;  // arena

    std::string_view TextOf(const Op& op) const { return std::string_view(text).substr(op.textAt, op.textLength); }
    std::uint16_t InternFont(const TextFont& font);
    Op& Add(OpKind kind, std::string_view text = {});
};

// The page file's bytes and back; Parse throws std::runtime_error on a
// damaged or foreign file.
std::string Serialize(const Page& page);
Page Parse(std::string_view bytes);

// The text with the page-count token resolved.
std::string ResolveCount(std::string_view text, int pageCount);

// A page as text, one primitive a line, in placing order (the test oracle):
//   page 1 number 1 8500x11000 portrait
//   band DETAIL
//   text 500,1000,3000,200 "Arial" 10 700 color=000000 left clip "Danny Boy"
//   box 0,0,8500,300 border=000000/10 fill=C0C0C0
//   ellipse 100,100,500,500 border=none fill=FF0000
//   line 0,300-8500,300 width=10 color=000000
//   image 0,0,1000,1000 "logo.png"
// Colours are printed as the layouts give them (BBGGRR).
std::string DumpPage(const Page& page, int pageCount);

}  // namespace fw::report
