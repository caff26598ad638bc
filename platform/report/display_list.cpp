#include "platform/report/display_list.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "platform/report/report_definition.h"

namespace fw::report {

std::uint16_t Page::InternFont(const TextFont& font) {
    for (std::size_t i = 0; i < fonts.size(); ++i)
        if (fonts[i] == font) return static_cast<std::uint16_t>(i);
    fonts.push_back(font);
    return static_cast<std::uint16_t>(fonts.size() - 1);
}

Op& Page::Add(OpKind kind, std::string_view s) {
    Op& op = ops.emplace_back();
    op.kind = kind;
    op.textAt = static_cast<std::uint32_t>(text.size());
    op.textLength = static_cast<std::uint32_t>(s.size());
    text.append(s);
    return op;
}

// -- page files --

namespace {

constexpr char kMagic[8] = {'C', 'V', 'P', 'A', 'G', 'E', '0', '1'};

class Writer {
public:
    void U32(std::uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void Str(std::string_view s) {
        U32(static_cast<std::uint32_t>(s.size()));
        out.append(s);
    }
    void Raw(const void* p, std::size_t n) { out.append(static_cast<const char*>(p), n); }
    std::string out;
};

class Reader {
public:
    explicit Reader(std::string_view in) : in_(in) {}
    std::uint32_t U32() {
        std::uint32_t v;
        std::memcpy(&v, Take(4), 4);
        return v;
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    std::string Str() {
        std::uint32_t n = U32();
        return std::string(Take(n), n);
    }
    const char* Take(std::size_t n) {
        if (in_.size() - at_ < n) throw std::runtime_error("page file is cut short");
        const char* p = in_.data() + at_;
        at_ += n;
        return p;
    }
    bool AtEnd() const { return at_ == in_.size(); }

private:
    std::string_view in_;
    std::size_t at_ = 0;
};

}  // namespace

std::string Serialize(const Page& page) {
    Writer w;
    w.out.reserve(64 + page.ops.size() * sizeof(Op) + page.text.size() + page.fonts.size() * 32);
    w.Raw(kMagic, sizeof kMagic);
    w.I32(page.seq);
    w.I32(page.number);
    w.I32(page.width);
    w.I32(page.height);
    w.U32(page.landscape ? 1 : 0);
    w.U32(static_cast<std::uint32_t>(page.fonts.size()));
    for (const TextFont& f : page.fonts) {
        w.Str(f.face);
        w.I32(f.size);
        w.I32(f.style);
        w.I32(f.color);
    }
    w.U32(static_cast<std::uint32_t>(page.ops.size()));
    for (const Op& op : page.ops) {
        w.U32(static_cast<std::uint32_t>(op.kind) | (std::uint32_t(op.align) << 8) | (std::uint32_t(op.clip) << 16));
        w.I32(op.rect.x);
        w.I32(op.rect.y);
        w.I32(op.rect.w);
        w.I32(op.rect.h);
        w.I32(op.color);
        w.I32(op.fill);
        w.I32(op.width);
        w.U32(op.font);
        w.U32(op.textAt);
        w.U32(op.textLength);
    }
    w.Str(page.text);
    return std::move(w.out);
}

Page Parse(std::string_view bytes) {
    Reader r(bytes);
    if (std::memcmp(r.Take(sizeof kMagic), kMagic, sizeof kMagic) != 0) throw std::runtime_error("not a page file");
    Page page;
    page.seq = r.I32();
    page.number = r.I32();
    page.width = r.I32();
    page.height = r.I32();
    page.landscape = r.U32() != 0;
    std::uint32_t fonts = r.U32();
    if (fonts > 65535) throw std::runtime_error("page file has too many fonts");
    for (std::uint32_t i = 0; i < fonts; ++i) {
        TextFont f;
        f.face = r.Str();
        f.size = r.I32();
        f.style = r.I32();
        f.color = r.I32();
        page.fonts.push_back(std::move(f));
    }
    std::uint32_t ops = r.U32();
    if (ops > bytes.size() / 44) throw std::runtime_error("page file is cut short");
    page.ops.resize(ops);
    for (Op& op : page.ops) {
        std::uint32_t head = r.U32();
        op.kind = static_cast<OpKind>(head & 0xFF);
        if (op.kind > OpKind::Image) throw std::runtime_error("page file holds an unknown primitive");
        op.align = static_cast<std::uint8_t>((head >> 8) & 0xFF);
        op.clip = ((head >> 16) & 1) != 0;
        op.rect.x = r.I32();
        op.rect.y = r.I32();
        op.rect.w = r.I32();
        op.rect.h = r.I32();
        op.color = r.I32();
        op.fill = r.I32();
        op.width = r.I32();
        op.font = static_cast<std::uint16_t>(r.U32());
        op.textAt = r.U32();
        op.textLength = r.U32();
    }
    page.text = r.Str();
    for (const Op& op : page.ops) {
        if (std::uint64_t(op.textAt) + op.textLength > page.text.size())
            throw std::runtime_error("page file text is cut short");
        if (op.kind == OpKind::Text && op.font >= page.fonts.size())
            throw std::runtime_error("page file names a font it does not hold");
    }
    return page;
}

std::string ResolveCount(std::string_view text, int pageCount) {
    std::string out;
    std::string count = std::to_string(pageCount);
    for (char c : text) {
        if (c == kPageCountToken) out += count;
        else out += c;
    }
    return out;
}

// -- dumps --

namespace {

std::string Hex(Color c) {
    if (c < 0) return "none";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
    return buf;
}

std::string RectText(const Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.w) + "," + std::to_string(r.h);
}

const char* AlignText(std::uint8_t a) {
    switch (static_cast<Align>(a)) {
    case Align::Centre: return "centre";
    case Align::Right: return "right";
    default: return "left";
    }
}

}  // namespace

std::string DumpPage(const Page& page, int pageCount) {
    std::string out = "page " + std::to_string(page.seq) + " number " + std::to_string(page.number) + " " +
                      std::to_string(page.width) + "x" + std::to_string(page.height) +
                      (page.landscape ? " landscape\n" : " portrait\n");
    for (const Op& op : page.ops) {
        switch (op.kind) {
        case OpKind::Band: out += "band " + std::string(page.TextOf(op)); break;
        case OpKind::Text: {
            const TextFont& f = page.fonts[op.font];
            out += "text " + RectText(op.rect) + " \"" + f.face + "\" " + std::to_string(f.size) + " " +
                   std::to_string(f.style) + " color=" + Hex(op.color) + " " + AlignText(op.align) +
                   (op.clip ? " clip" : "") + " \"" + ResolveCount(page.TextOf(op), pageCount) + "\"";
            break;
        }
        case OpKind::Box:
        case OpKind::Ellipse:
            out += std::string(op.kind == OpKind::Box ? "box " : "ellipse ") + RectText(op.rect) +
                   " border=" + Hex(op.color) + (op.color >= 0 ? "/" + std::to_string(op.width) : "") +
                   " fill=" + Hex(op.fill);
            break;
        case OpKind::Line:
            out += "line " + std::to_string(op.rect.x) + "," + std::to_string(op.rect.y) + "-" +
                   std::to_string(op.rect.x + op.rect.w) + "," + std::to_string(op.rect.y + op.rect.h) +
                   " width=" + std::to_string(op.width) + " color=" + Hex(op.color);
            break;
        case OpKind::Image: out += "image " + RectText(op.rect) + " \"" + std::string(page.TextOf(op)) + "\""; break;
        }
        out += '\n';
    }
    return out;
}

}  // namespace fw::report
