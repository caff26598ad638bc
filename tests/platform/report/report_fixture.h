#pragma once
// Small synthetic report definitions and page dumps for the engine tests.

#include <string>
#include <vector>

#include "platform/report/report.h"

namespace reporttest {

using namespace fw::report;

inline TextFont Font(int size = 10, int style = 400) {
    TextFont f;
    f.size = size;
    f.style = style;
    return f;
}

inline Element Text(std::string name, Rect r, std::string text = {}, TextSource source = TextSource::Literal) {
    Element e;
    e.name = std::move(name);
    e.kind = ElementKind::Text;
    e.rect = r;
    e.text = std::move(text);
    e.source = source;
    e.font = Font();
    return e;
}

inline Element Shape(std::string name, ElementKind kind, Rect r, Color fill = kNoColor) {
    Element e;
    e.name = std::move(name);
    e.kind = kind;
    e.rect = r;
    e.fill = fill;
    return e;
}

// Every page of the list dumped, one after the other.
inline std::string DumpAll(const PageList& pages) {
    std::string out;
    for (int i = 0; i < pages.Count(); ++i) out += DumpPage(pages.Load(i), pages.PageCount());
    return out;
}

// The band markers of each page: "HEADER DETAIL DETAIL FOOTER".
inline std::vector<std::string> BandsPerPage(const PageList& pages) {
    std::vector<std::string> out;
    for (int i = 0; i < pages.Count(); ++i) {
        Page p = pages.Load(i);
        std::string line;
        for (const Op& op : p.ops)
            if (op.kind == OpKind::Band) line += (line.empty() ? "" : " ") + std::string(p.TextOf(op));
        out.push_back(line);
    }
    return out;
}

}  // namespace reporttest
