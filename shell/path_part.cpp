#include "shell/path_part.h"

#include "platform/data/names/path_names.h"
#include "platform/text/strings.h"

namespace shell {

std::string PathPart(std::string_view path, int part, bool withExtension) {
    const fw::PathParts parts = fw::SplitPath(fw::CLIP(path));
    const std::string name = fw::CLIP(parts.name);
    const std::string ext = fw::CLIP(parts.extension);
    if (withExtension) return ext.empty() ? name : name + "." + ext;
    switch (part) {
        case path_part::Name: return name;
        case path_part::Extension: return ext;
        case path_part::Folder: return fw::CLIP(parts.folder);
        default: return {};
    }
}

}  // namespace shell
