#include "songbook/book_paths.h"

#include "platform/data/names/path_names.h"
#include "platform/os/archive/archive_files.h"
#include "platform/text/codepage.h"

namespace songbook {
namespace {

std::string_view ExtensionOf(std::string_view fileName) {
    const size_t dot = fileName.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && fw::CompareFolded(a, b) == 0;
}

size_t LastSeparator(std::string_view path) {
    for (size_t i = path.size(); i-- > 0;)
        if (fw::IsPathSeparator(path[i])) return i;
    return std::string_view::npos;
}

}  // namespace

std::optional<BookFormat> ListingsFormat(std::string_view fileName) {
    const std::string name = FileNameOf(fileName);
    const std::string_view ext = ExtensionOf(name);
    if (SameText(ext, ".2bk")) return BookFormat::Current;
    if (SameText(ext, ".sbk")) return BookFormat::Older;
    return std::nullopt;
}

bool IsBookFileName(std::string_view fileName) {
    const std::string name = FileNameOf(fileName);
    const std::string_view ext = ExtensionOf(name);
    for (std::string_view known : {".2bk", ".2bd", ".sbk", ".sbd"})
        if (SameText(ext, known)) return true;
    return false;
}

std::string_view ListingsExtension(BookFormat format) { return format == BookFormat::Current ? ".2bk" : ".sbk"; }
std::string_view DiscsExtension(BookFormat format) { return format == BookFormat::Current ? ".2bd" : ".sbd"; }

std::string FileNameOf(std::string_view path) {
    const size_t sep = LastSeparator(path);
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string FolderOf(std::string_view path) {
    const size_t sep = LastSeparator(path);
    if (sep == std::string_view::npos) return "";
    // A root keeps its separator: "/", "C:\".
    if (sep == 0 || (sep == 2 && path[1] == ':')) return std::string(path.substr(0, sep + 1));
    return std::string(path.substr(0, sep));
}

std::string BookNameOf(std::string_view path) {
    const std::string name = FileNameOf(path);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    std::string out(folder);
    if (!fw::IsPathSeparator(out.back())) out.push_back(fw::kPathSeparator);
    return out + std::string(name);
}

std::string DiskPath(std::string_view programPath) { return fw::archive_files::DiskPath(programPath); }
std::string ProgramPath(std::string_view diskPath) { return fw::archive_files::ProgramPath(std::string(diskPath)); }

}  // namespace songbook
