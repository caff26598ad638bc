#include "platform/os/archive/archive_names.h"

#include "platform/text/codepage.h"

namespace fw {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool HasDriveLetter(std::string_view name) {
    if (name.size() < 2 || name[1] != ':') return false;
    const char c = name[0];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string_view WithoutDrive(std::string_view name) {
    return HasDriveLetter(name) ? name.substr(2) : name;
}

}  // namespace

std::string ArchiveBaseName(std::string_view entryName) {
    const std::string_view rest = WithoutDrive(entryName);
    size_t start = 0;
    for (size_t i = 0; i < rest.size(); ++i)
        if (IsSeparator(rest[i])) start = i + 1;
    return std::string(rest.substr(start));
}

bool IsArchiveFolderName(std::string_view entryName) {
    return !entryName.empty() && IsSeparator(entryName.back());
}

std::string ArchiveNameRefusal(std::string_view entryName) {
    if (entryName.empty()) return "the name is empty";
    if (IsSeparator(entryName.front())) return "the name is absolute";
    const std::string_view rest = WithoutDrive(entryName);
    size_t start = 0;
    for (size_t i = 0; i <= rest.size(); ++i) {
        if (i < rest.size() && !IsSeparator(rest[i])) continue;
        if (rest.substr(start, i - start) == "..") return "the name leads out of the folder";
        start = i + 1;
    }
    if (IsArchiveFolderName(entryName)) return {};
    const std::string base = ArchiveBaseName(entryName);
    if (base.empty() || base == ".") return "the name has no file name";
    for (unsigned char c : base)
        if (c < 0x20 || c == 0x7F) return "the name holds a control character";
    return {};
}

bool SameArchiveBaseName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareFolded(a, b) == 0;
}

}  // namespace fw
