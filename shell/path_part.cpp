#include "shell/path_part.h"

#include "platform/data/names/path_names.h"
#include "platform/text/strings.h"

namespace shell {

std::string PathPart(std::string_view path, int part, bool withExtension) {
    path = std::string_view(path.data(), fw::CLIP(path).size());
    // Scan from the end: the last point before any separator starts the
    // extension; the first separator met ends the file name.
    std::size_t nameStart = 0;
    std::size_t point = std::string_view::npos;
    for (std::size_t i = path.size(); i > 0; --i) {
        const char c = path[i - 1];
        if (fw::IsPathSeparator(c)) {
            nameStart = i;
            break;
        }
        if (c == '.' && point == std::string_view::npos) point = i - 1;
    }
    const std::size_t nameEnd = point == std::string_view::npos ? path.size() : point;
    const std::string name(path.substr(nameStart, nameEnd - nameStart));
    const std::string ext = point == std::string_view::npos ? std::string() : std::string(path.substr(point + 1));
    if (withExtension) return fw::CLIP(ext.empty() ? name : name + "." + ext);
    switch (part) {
        case path_part::Name: return fw::CLIP(name);
        case path_part::Extension: return fw::CLIP(ext);
        case path_part::Folder: return fw::CLIP(path.substr(0, nameStart));
        default: return {};
    }
}

}  // namespace shell
