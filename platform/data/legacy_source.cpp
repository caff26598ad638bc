#include "platform/data/legacy_source.h"

#include <cstdio>
#include <vector>

namespace fw {
namespace {
std::vector<LegacyFormat>& Formats() {
    static auto* v = new std::vector<LegacyFormat>;
    return *v;
}
}  // namespace

void RegisterLegacyFormat(LegacyFormat format) { Formats().push_back(std::move(format)); }

const LegacyFormat* FindLegacyFormat(const std::string& path) {
    if (Formats().empty()) return nullptr;
    std::FILE* fp = std::fopen(path.c_str(), "rb");
    if (!fp) return nullptr;
    char head[512];
    const std::size_t got = std::fread(head, 1, sizeof head, fp);
    std::fclose(fp);
    for (const auto& f : Formats())
        if (f.recognises && f.recognises(std::string_view(head, got))) return &f;
    return nullptr;
}

}  // namespace fw
