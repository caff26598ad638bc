#include "platform/config/ini_document.h"

#include "platform/text/codepage.h"

namespace fw {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareFolded(a, b) == 0;
}

// The section name of a header line, or nothing when the line is no header.
std::optional<std::string_view> HeaderName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    const auto close = line.find(']');
    return Trim(line.substr(0, close));
}

// The key of a key line, or nothing for comments, headers and other lines.
std::optional<std::string_view> KeyName(std::string_view line) {
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view key = Trim(t.substr(0, eq));
    if (key.empty()) return std::nullopt;
    return key;
}

// A value ends at the line's end or at a NUL byte, whichever comes first.
std::string_view ValueOf(std::string_view line) {
    std::string_view value = line.substr(line.find('=') + 1);
    return Trim(value.substr(0, value.find('\0')));
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool ValidName(std::string_view name, bool key) {
    name = Trim(name);
    if (name.empty()) return false;
    if (key && (name.front() == ';' || name.front() == '[')) return false;
    for (char c : name)
        if (c == '=' || c == ']' || c == '\r' || c == '\n' || c == '\0') return false;
    return true;
}

}  // namespace

IniDocument::IniDocument(std::string_view bytes) {
    // A UTF-8 byte-order mark (as some editors write) is kept but not read.
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        mark_ = kUtf8Mark;
        bytes.remove_prefix(kUtf8Mark.size());
    }
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t j = i;
        while (j < bytes.size() && bytes[j] != '\n' && bytes[j] != '\r') ++j;
        Line line{std::string(bytes.substr(i, j - i)), {}};
        if (j < bytes.size()) {
            const bool crlf = bytes[j] == '\r' && j + 1 < bytes.size() && bytes[j + 1] == '\n';
            line.end = std::string(bytes.substr(j, crlf ? 2 : 1));
            j += line.end.size();
        }
        lines_.push_back(std::move(line));
        i = j;
    }
}

long IniDocument::FindSection(std::string_view section) const {
    section = Trim(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = HeaderName(lines_[i].text);
        if (name && SameName(*name, section)) return static_cast<long>(i);
    }
    return -1;
}

std::size_t IniDocument::SectionEnd(std::size_t h) const {
    std::size_t i = h + 1;
    while (i < lines_.size() && !HeaderName(lines_[i].text)) ++i;
    return i;
}

bool IniDocument::HasSection(std::string_view section) const { return FindSection(section) >= 0; }

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const long h = FindSection(section);
    if (h < 0) return std::nullopt;
    key = Trim(key);
    const std::size_t end = SectionEnd(static_cast<std::size_t>(h));
    for (std::size_t i = static_cast<std::size_t>(h) + 1; i < end; ++i) {
        const auto name = KeyName(lines_[i].text);
        if (name && SameName(*name, key)) return std::string(ValueOf(lines_[i].text));
    }
    return std::nullopt;
}

void IniDocument::EnsureLastLineEnded() {
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = "\r\n";
}

bool IniDocument::AddSection(std::string_view section) {
    if (!ValidName(section, false)) return false;
    if (FindSection(section) >= 0) return true;
    EnsureLastLineEnded();
    lines_.push_back({"[" + std::string(Trim(section)) + "]", "\r\n"});
    return true;
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (!ValidName(section, false) || !ValidName(key, true)) return false;
    key = Trim(key);
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    if (!AddSection(section)) return false;
    const auto h = static_cast<std::size_t>(FindSection(section));
    const std::size_t end = SectionEnd(h);
    std::size_t insertAt = h + 1;
    for (std::size_t i = h + 1; i < end; ++i) {
        const auto name = KeyName(lines_[i].text);
        if (!name) continue;
        if (SameName(*name, key)) {
            std::string& text = lines_[i].text;
            std::size_t keep = text.find('=') + 1;
            while (keep < text.size() && IsSpace(text[keep])) ++keep;
            text = text.substr(0, keep) + std::string(value);
            return true;
        }
        insertAt = i + 1;
    }
    Line line{std::string(key) + "=" + std::string(value), "\r\n"};
    if (insertAt == lines_.size()) EnsureLastLineEnded();
    lines_.insert(lines_.begin() + static_cast<long>(insertAt), std::move(line));
    return true;
}

std::string IniDocument::Bytes() const {
    std::string out = mark_;
    for (const auto& line : lines_) {
        out += line.text;
        out += line.end;
    }
    return out;
}

}  // namespace fw
