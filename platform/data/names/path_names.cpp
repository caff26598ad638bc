#include "platform/data/names/path_names.h"

#include "platform/text/codepage.h"

#include <dirent.h>
#include <sys/stat.h>

#include <optional>

namespace fw {
namespace {

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

std::string ToNative(std::string_view ansi) {
    // Fixed-length texts arrive blank-padded; as on Windows, trailing blanks
    // are not part of a name.
    while (!ansi.empty() && ansi.back() == ' ') ansi.remove_suffix(1);
    std::string p = IsAscii(ansi) ? std::string(ansi) : AnsiToUtf8(ansi);
    for (auto& c : p)
        if (c == '\\') c = '/';
    return p;
}

// A native name folded for comparison, or nothing when it holds characters
// outside Windows-1252 (such names only match exactly).
std::optional<std::string> FoldName(std::string_view native) {
    if (IsAscii(native)) return UpperText(native);
    std::string ansi = Utf8ToAnsi(native);
    if (AnsiToUtf8(ansi) != native) return std::nullopt;
    return UpperText(ansi);
}

bool Exists(const std::string& native) {
    struct stat st;
    return lstat(native.c_str(), &st) == 0;
}

// The entry of `dir` whose name folds like `part`, or nothing.
std::optional<std::string> FindFolded(const std::string& dir, const std::string& part) {
    const auto want = FoldName(part);
    if (!want) return std::nullopt;
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return std::nullopt;
    std::optional<std::string> best;
    while (dirent* e = readdir(d)) {
        const std::string_view name(e->d_name);
        if (name.size() != part.size() && IsAscii(name)) continue;
        const auto folded = FoldName(name);
        if (folded && *folded == *want && (!best || name < *best)) best = std::string(name);
    }
    closedir(d);
    return best;
}

}  // namespace

PathParts SplitPath(std::string_view path) {
    PathParts parts;
    std::size_t sep = std::string_view::npos;
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsPathSeparator(path[i - 1])) {
            sep = i - 1;
            break;
        }
    const std::size_t nameStart = sep == std::string_view::npos ? 0 : sep + 1;
    parts.folder = std::string(path.substr(0, nameStart));
    const std::string_view file = path.substr(nameStart);
    const std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos) {
        parts.name = std::string(file);
    } else {
        parts.name = std::string(file.substr(0, dot));
        parts.extension = std::string(file.substr(dot + 1));
    }
    return parts;
}

std::string NativePathText(std::string_view path) { return ToNative(path); }

std::string ResolvePath(std::string_view path) { return ResolveNativePath(ToNative(path)); }

std::string ResolveNativePath(std::string_view native) {
    std::string p(native);
    for (auto& c : p)
        if (c == '\\') c = '/';
    if (p.empty() || Exists(p)) return p;

    std::string out;
    std::size_t i = 0;
    if (p[0] == '/') {
        out = "/";
        i = 1;
    }
    bool missing = false;
    while (i < p.size()) {
        std::size_t j = p.find('/', i);
        if (j == std::string::npos) j = p.size();
        const std::string part = p.substr(i, j - i);
        i = j + 1;
        if (part.empty()) continue;  // doubled separators
        const std::string dir = out;
        std::string exact = out;
        if (!exact.empty() && exact.back() != '/') exact += '/';
        exact += part;
        if (missing || part == "." || part == ".." || Exists(exact)) {
            out = exact;
        } else if (auto found = FindFolded(dir, part)) {
            out = dir;
            if (!out.empty() && out.back() != '/') out += '/';
            out += *found;
        } else {
            out = exact;
            missing = true;
        }
    }
    if (p.back() == '/' && !out.empty() && out.back() != '/') out += '/';
    return out;
}

std::string ProgramPathText(std::string_view native) {
    return IsAscii(native) ? std::string(native) : Utf8ToAnsi(native);
}

}  // namespace fw
