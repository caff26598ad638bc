#include "platform/data/legacy_source.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace fw {
namespace {

std::vector<LegacyFormat>& Formats() {
    static auto* v = new std::vector<LegacyFormat>;
    return *v;
}

std::vector<const RecordDecl*>& EarlierLayouts() {
    static auto* v = new std::vector<const RecordDecl*>;
    return *v;
}

// The formats the program reads without being asked: registered once,
// before the first look-up.
void RegisterBuiltInFormats() {
    static bool started = false;
    if (started) return;
    started = true;
    RegisterTopSpeedFormat();
}

}  // namespace

void RegisterLegacyFormat(LegacyFormat format) {
    RegisterBuiltInFormats();  // first, so that a format registered here replaces a built-in one
    auto& formats = Formats();
    auto same = std::find_if(formats.begin(), formats.end(), [&](const LegacyFormat& f) { return f.name == format.name; });
    if (same != formats.end()) *same = std::move(format);
    else formats.push_back(std::move(format));
}

const LegacyFormat* FindLegacyFormat(const std::string& path) {
    RegisterBuiltInFormats();
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

void RegisterEarlierLayout(const RecordDecl& layout) {
    if (!IsEarlierLayout(layout)) EarlierLayouts().push_back(&layout);
}

bool IsEarlierLayout(const RecordDecl& layout) {
    const auto& v = EarlierLayouts();
    return std::find(v.begin(), v.end(), &layout) != v.end();
}

}  // namespace fw
