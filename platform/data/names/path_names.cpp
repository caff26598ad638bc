#include "platform/data/names/path_names.h"

#include "platform/text/codepage.h"

#include <filesystem>
#include <system_error>

namespace fw {

std::string ResolvePath(std::string_view path) {
    namespace fs = std::filesystem;
    std::string p(path);
    for (auto& c : p)
        if (c == '\\') c = '/';
    fs::path in(p);
    fs::path out = in.is_absolute() ? in.root_path() : fs::path();
    bool missing = false;
    for (const auto& part : in.relative_path()) {
        fs::path exact = out / part;
        std::error_code ec;
        if (missing || fs::exists(exact, ec)) {
            out = exact;
            continue;
        }
        bool found = false;
        const fs::path dir = out.empty() ? fs::path(".") : out;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (CompareFolded(name, part.string()) == 0 && name.size() == part.string().size()) {
                out /= name;
                found = true;
                break;
            }
        }
        if (!found) {
            out = exact;
            missing = true;
        }
    }
    return out.string();
}

}  // namespace fw
