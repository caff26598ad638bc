#include "platform/ui/widgets/list_format.h"

#include "platform/text/picture.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace fw::ui {
namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : s_(text) {}

    std::optional<ListFormat> Run(std::string* error) {
        ListFormat f;
        while (pos_ < s_.size()) {
            ListColumn c;
            if (!Column(c)) {
                if (error) *error = message_ + " at position " + std::to_string(failAt_ + 1);
                return std::nullopt;
            }
            f.columns.push_back(std::move(c));
        }
        f.ResolveFields();
        return f;
    }

private:
    bool Fail(std::string msg) {
        message_ = std::move(msg);
        failAt_ = pos_;
        return false;
    }
    bool AtDigit() const { return pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_])); }
    int Number() {
        int n = 0;
        while (AtDigit() && n < 100000) n = n * 10 + (s_[pos_++] - '0');
        return n;
    }
    static std::optional<Justify> JustifyOf(char ch) {
        switch (std::toupper(static_cast<unsigned char>(ch))) {
            case 'L': return Justify::Left;
            case 'C': return Justify::Center;
            case 'R': return Justify::Right;
            case 'D': return Justify::Decimal;
            default: return std::nullopt;
        }
    }
    // "(n)" after a justification.
    bool Indent(std::optional<int>& out) {
        if (pos_ >= s_.size() || s_[pos_] != '(') return true;
        ++pos_;
        if (!AtDigit()) return Fail("indent without a number");
        out = Number();
        if (pos_ >= s_.size() || s_[pos_] != ')') return Fail("indent not closed by ')'");
        ++pos_;
        return true;
    }
    // Text up to the closing delimiter; the delimiter is consumed.
    bool Delimited(char close, std::string& out, const char* what) {
        const auto end = s_.find(close, pos_);
        if (end == std::string_view::npos) return Fail(std::string(what) + " not closed");
        out.assign(s_.substr(pos_, end - pos_));
        pos_ = end + 1;
        return true;
    }
    static std::optional<std::int32_t> ColorValue(std::string_view v, bool& ok) {
        while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
        while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
        ok = true;
        if (v.empty()) return std::nullopt;
        const std::string t(v);
        char* end = nullptr;
        long long n = 0;
        if (t.back() == 'H' || t.back() == 'h') {
            n = std::strtoll(t.c_str(), &end, 16);
            ok = end == t.c_str() + t.size() - 1;
        } else {
            n = std::strtoll(t.c_str(), &end, 10);
            ok = end == t.c_str() + t.size();
        }
        ok = ok && n >= INT32_MIN && n <= 0xFFFFFFFFLL;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
    }
    bool Colors(ListColumn& c) {
        if (pos_ >= s_.size() || s_[pos_] != '(') return Fail("E without '('");
        ++pos_;
        std::string body;
        if (!Delimited(')', body, "E(")) return false;
        std::array<std::optional<std::int32_t>, 4> colors;
        size_t start = 0;
        for (int i = 0;; ++i) {
            const auto comma = body.find(',', start);
            const auto part = std::string_view(body).substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            if (i >= 4) return Fail("E takes at most four colours");
            bool ok = false;
            colors[static_cast<size_t>(i)] = ColorValue(part, ok);
            if (!ok) return Fail("bad colour '" + std::string(part) + "' in E()");
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        c.hasDefaultColors = true;
        c.defaultColors = colors;
        return true;
    }

    bool Column(ListColumn& c) {
        if (!AtDigit()) return Fail("column width expected");
        c.width = Number();
        if (pos_ >= s_.size()) return Fail("justification expected");
        const auto j = JustifyOf(s_[pos_]);
        if (!j) return Fail("justification L, C, R or D expected");
        c.justify = *j;
        ++pos_;
        if (!Indent(c.indent)) return false;
        while (pos_ < s_.size() && !AtDigit()) {
            const char ch = s_[pos_];
            switch (ch) {
                case '|': c.rightBorder = true; ++pos_; break;
                case 'M': case 'm': c.resizable = true; ++pos_; break;
                case '*': c.colored = true; ++pos_; break;
                case '/': c.lineEnd = true; ++pos_; break;
                case '~': {
                    ++pos_;
                    if (!Delimited('~', c.heading, "heading")) return false;
                    c.hasHeading = true;
                    if (pos_ < s_.size()) {
                        if (const auto hj = JustifyOf(s_[pos_])) {
                            c.headingJustify = hj;
                            ++pos_;
                            if (!Indent(c.headingIndent)) return false;
                        }
                    }
                    break;
                }
                case '@': {
                    ++pos_;
                    std::string body;
                    if (!Delimited('@', body, "picture")) return false;
                    if (body.empty()) return Fail("empty picture");
                    c.picture = "@" + body;
                    break;
                }
                case '#': {
                    ++pos_;
                    if (!AtDigit()) return Fail("field number expected after '#'");
                    c.explicitField = Number();
                    if (c.explicitField < 1) return Fail("field numbers start at 1");
                    if (pos_ >= s_.size() || s_[pos_] != '#') return Fail("field number not closed by '#'");
                    ++pos_;
                    break;
                }
                case 'E': case 'e':
                    ++pos_;
                    if (!Colors(c)) return false;
                    break;
                default:
                    return Fail(std::string("unexpected '") + ch + "'");
            }
        }
        return true;
    }

    std::string_view s_;
    size_t pos_ = 0;
    size_t failAt_ = 0;
    std::string message_;
};

char JustifyLetter(Justify j) {
    switch (j) {
        case Justify::Left: return 'L';
        case Justify::Center: return 'C';
        case Justify::Right: return 'R';
        case Justify::Decimal: return 'D';
    }
    return 'L';
}

std::string ColorText(std::int32_t v) {
    static const char* hex = "0123456789ABCDEF";
    if (v < 0) return std::to_string(v);
    std::string digits;
    auto u = static_cast<std::uint32_t>(v);
    do {
        digits.insert(digits.begin(), hex[u & 0xF]);
        u >>= 4;
    } while (u);
    return "0" + digits + "H";
}

bool IsTextPicture(std::string_view picture) {
    if (picture.size() < 2) return true;
    const char k = static_cast<char>(std::toupper(static_cast<unsigned char>(picture[1])));
    return k == 'S' || k == 'P' || k == 'K';
}

}  // namespace

std::string ListColumn::Show(std::string_view value) const {
    std::string out;
    bool number = false;
    if (picture.empty()) {
        out.assign(value);
    } else if (IsTextPicture(picture)) {
        out = fw::FORMAT(value, picture);
    } else {
        const std::string t(value);
        out = fw::FORMAT(std::strtod(t.c_str(), nullptr), picture);
        number = true;
    }
    // The column's justification places the text, not the picture's padding.
    while (!out.empty() && out.back() == ' ') out.pop_back();
    if (number) out.erase(0, out.find_first_not_of(' ') == std::string::npos ? out.size() : out.find_first_not_of(' '));
    return out;
}

std::optional<ListFormat> ListFormat::Parse(std::string_view text, std::string* error) {
    return Parser(text).Run(error);
}

void ListFormat::ResolveFields() {
    int next = 1;
    for (auto& c : columns) {
        c.field = c.explicitField > 0 ? c.explicitField : next;
        next = c.field + 1 + (c.colored ? 4 : 0);
    }
}

int ListFormat::FieldCount() const {
    int n = 0;
    for (const auto& c : columns) n = std::max(n, c.field + (c.colored ? 4 : 0));
    return n;
}

std::string ListFormat::ToText() const {
    std::string out;
    for (const auto& c : columns) {
        out += std::to_string(c.width);
        out += JustifyLetter(c.justify);
        if (c.indent) out += "(" + std::to_string(*c.indent) + ")";
        if (c.rightBorder) out += '|';
        if (c.resizable) out += 'M';
        if (c.colored) out += '*';
        if (c.hasHeading) {
            out += "~" + c.heading + "~";
            if (c.headingJustify) {
                out += JustifyLetter(*c.headingJustify);
                if (c.headingIndent) out += "(" + std::to_string(*c.headingIndent) + ")";
            }
        }
        if (!c.picture.empty()) out += c.picture + "@";
        if (c.hasDefaultColors) {
            out += "E(";
            for (size_t i = 0; i < c.defaultColors.size(); ++i) {
                if (i) out += ',';
                if (c.defaultColors[i]) out += ColorText(*c.defaultColors[i]);
            }
            out += ')';
        }
        if (c.lineEnd) out += '/';
        if (c.explicitField > 0) out += "#" + std::to_string(c.explicitField) + "#";
    }
    return out;
}

}  // namespace fw::ui
