#pragma once
// An INI file in memory with Windows profile semantics: sections and keys
// are found case-insensitively (Windows-1252 folding), the first section and
// the first key of a name win, names and values are trimmed of blanks and
// tabs, lines whose first non-blank is ";" are comments, and nothing is
// quoted or escaped. Set changes one line in place; every other byte of the
// file, line ends included, stays as it was. New lines end in CR LF.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class IniDocument {
public:
    explicit IniDocument(std::string_view bytes = {});

    // The value of key in section, or nothing when either is missing. A
    // value ends at its line's end or at a NUL byte; a UTF-8 byte-order mark
    // at the start of the file is skipped (and kept when written).
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;

    // Writes key=value into section: the first matching key line keeps its
    // name and spacing and gets the new value; a new key goes after the last
    // key of the section; a new section goes at the end of the file.
    // Returns false, changing nothing, for a name that cannot be written
    // (empty, or holding "=", "]", CR, LF or NUL, or a key starting with
    // ";" or "["). A value is cut at its first CR, LF or NUL.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // Adds an empty section when it is missing.
    bool AddSection(std::string_view section);

    std::string Bytes() const;

private:
    struct Line {
        std::string text;  // without its line end
        std::string end;   // "\r\n", "\n", "\r" or "" for a last line without one
    };
    // Index of the first header line of section, or -1.
    long FindSection(std::string_view section) const;
    // One past the last line of the section whose header is at index h.
    std::size_t SectionEnd(std::size_t h) const;
    void EnsureLastLineEnded();

    std::string mark_;  // a UTF-8 byte-order mark the file starts with
    std::vector<Line> lines_;
};

}  // namespace fw
