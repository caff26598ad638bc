#include "platform/data/position.h"

#include "platform/text/codepage.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace fw::data {

namespace {
bool NeedsEscape(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c < 0x20 || ch == '%' || ch == '|' || ch == ';';
}

void AppendEscaped(std::string& out, std::string_view s) {
    for (char ch : s) {
        if (NeedsEscape(ch)) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned char>(ch));
            out += buf;
        } else {
            out += ch;
        }
    }
}

void AppendId(std::string& out, std::int64_t id) {
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, id);
    out.append(buf, static_cast<std::size_t>(end - buf));
}
}  // namespace

std::string EscapePart(std::string_view s) {
    std::string out;
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || ch == '%' || ch == '|' || ch == ';') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out;
}

std::string UnescapePart(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            unsigned v = 0;
            auto [p, ec] = std::from_chars(s.data() + i + 1, s.data() + i + 3, v, 16);
            if (ec == std::errc() && p == s.data() + i + 3) {
                out += static_cast<char>(v);
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

std::vector<std::string_view> SplitParts(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(sep, start);
        if (at == std::string_view::npos) {
            parts.push_back(s.substr(start));
            return parts;
        }
        parts.push_back(s.substr(start, at - start));
        start = at + 1;
    }
}

namespace {
std::string ValueText(const KeyValue& v) {
    switch (v.kind) {
    case KeyValue::Int: return std::to_string(v.i);
    case KeyValue::Real: {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", v.r);
        return buf;
    }
    case KeyValue::Text: return EscapePart(v.s);
    }
    return "";
}

bool ParseId(std::string_view s, std::int64_t* id) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), *id);
    return ec == std::errc() && p == s.data() + s.size();
}
}  // namespace

std::string EncodePosition(const File& f, int key, const KeyValues& values, std::int64_t id) {
    std::string s;
    s.reserve(96);
    if (key < 0) {
        s = "R|";
        AppendId(s, id);
        return s;
    }
    s = "K|";
    AppendEscaped(s, f.KeyAt(key).name);
    for (const auto& v : values) {
        s += '|';
        if (v.kind == KeyValue::Text) AppendEscaped(s, v.s);
        else if (v.kind == KeyValue::Int) AppendId(s, v.i);
        else s += ValueText(v);
    }
    s += '|';
    AppendId(s, id);
    return s;
}

bool DecodePosition(const File& f, std::string_view text, DecodedPosition* out) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    const auto parts = SplitParts(text, '|');
    *out = DecodedPosition{};
    if (parts.size() == 2 && parts[0] == "R") return ParseId(parts[1], &out->id);
    if (parts.size() < 3 || parts[0] != "K") return false;
    const std::string name = UnescapePart(parts[1]);
    int key = -1;
    for (int k = 0; k < f.KeyCount(); ++k)
        if (CompareFolded(f.KeyAt(k).name, name) == 0) key = k;
    if (key < 0) return false;
    const auto& fields = f.KeyFields(key);
    if (parts.size() != fields.size() + 3) return false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDecl& fd = f.Record().fields[static_cast<std::size_t>(fields[i])];
        KeyValue v;
        const std::string raw = UnescapePart(parts[i + 2]);
        if (IsTextField(fd.type)) {
            v.kind = KeyValue::Text;
            v.s = raw;
        } else if (fd.type == FieldType::Real) {
            v.kind = KeyValue::Real;
            v.r = std::strtod(raw.c_str(), nullptr);
        } else {
            v.kind = KeyValue::Int;
            v.i = std::strtoll(raw.c_str(), nullptr, 10);
        }
        out->values.push_back(std::move(v));
    }
    out->key = key;
    return ParseId(parts.back(), &out->id);
}

}  // namespace fw::data
