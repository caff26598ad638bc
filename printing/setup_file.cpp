#include "printing/setup_file.h"

#include <algorithm>
#include <charconv>

#include "platform/config/atomic_file.h"
#include "platform/config/ini_document.h"
#include "platform/config/ini_file.h"
#include "platform/text/clock.h"
#include "platform/text/codepage.h"
#include "platform/text/dates.h"
#include "platform/text/numbers.h"
#include "platform/text/strings.h"
#include "printing/print_settings.h"
#include "shell/path_part.h"

namespace printing {
namespace {

constexpr std::string_view kVersionSection = "Version";
constexpr std::string_view kSettingsSection = "Settings";
constexpr long kColorLimit = 0xFFFFFF;

bool ParseWhole(std::string_view text, long& value) {
    const std::string clipped = fw::CLIP(text);
    std::string_view s = clipped;
    s.remove_prefix(std::min(s.find_first_not_of(' '), s.size()));
    if (s.empty()) return false;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return error == std::errc() && end == s.data() + s.size();
}

bool IsTypeface(std::string_view name) {
    for (const std::string& face : PrintTypefaces())
        if (fw::CompareFolded(face, name) == 0) return true;
    return false;
}

bool InRange(const setup_file::Value& v, long value) {
    switch (v.kind) {
        case SetupKind::Color: return value >= 0 && value <= kColorLimit;
        case SetupKind::Date: return value >= 0 && value <= fw::kLastDayNumber;
        case SetupKind::FontStyle: return (value & ~(0xFFFL | 4096L)) == 0 && (value & 0xFFF) <= 900;
        default: return value >= v.low && value <= v.high;
    }
}

// Brings one value from the file into shape; false when it had to be repaired.
bool Take(setup_file::Value& v, const std::optional<std::string>& raw) {
    if (v.text) {
        std::string value = raw ? fw::CLIP(raw->substr(0, std::min(raw->size(), v.length))) : std::string();
        const bool bad = (v.kind == SetupKind::Typeface && !IsTypeface(value)) ||
                         (v.kind == SetupKind::FaceName && value.empty());
        *v.text = bad ? v.initialText : value;
        return raw.has_value() && !bad;
    }
    long value = 0;
    if (raw && ParseWhole(*raw, value) && InRange(v, value)) {
        *v.number = value;
        return true;
    }
    if (raw && v.kind == SetupKind::Clamped && ParseWhole(*raw, value))
        *v.number = std::clamp(value, v.low, v.high);
    else
        *v.number = v.kind == SetupKind::Date ? fw::TODAY() : v.initialNumber;
    return false;
}

}  // namespace

namespace setup_file {

bool Save(std::string_view file, std::string_view version, const std::vector<Value>& values) {
    const std::string path = fw::IniFilePath(file);
    std::string bytes;
    if (fw::ReadWholeFile(path, bytes) == fw::FileReadResult::Failed) return false;
    fw::IniDocument ini(bytes);
    bool ok = ini.Set(kVersionSection, "Version", version);
    for (const Value& v : values)
        ok = ini.Set(kSettingsSection, v.key, v.text ? fw::CLIP(*v.text) : fw::NumberText(*v.number)) && ok;
    return ok && fw::ReplaceFileAtomically(path, ini.Bytes());
}

std::optional<std::vector<std::string>> Recall(std::string_view file, std::string_view version,
                                               std::vector<Value>& values) {
    std::string bytes;
    if (fw::ReadWholeFile(fw::IniFilePath(file), bytes) != fw::FileReadResult::Read) return std::nullopt;
    const fw::IniDocument ini(bytes);
    if (ini.Get(kVersionSection, "Version").value_or("") != version) return std::nullopt;
    std::vector<std::string> repaired;
    for (Value& v : values)
        if (!Take(v, ini.Get(kSettingsSection, v.key))) repaired.emplace_back(v.key);
    return repaired;
}

}  // namespace setup_file

std::string RepairedMessage(std::string_view fileKind, const std::vector<std::string>& keys) {
    std::string list;
    for (const std::string& key : keys) list += (list.empty() ? "" : ", ") + key;
    return "This " + std::string(fileKind) +
           " was repaired: these settings were missing or out of range and now have their standard values:|" + list;
}

std::string SetupFileName(std::string_view typed, std::string_view extension) {
    return shell::PathPart(typed, shell::path_part::Folder) + shell::PathPart(typed, shell::path_part::Name) +
           std::string(extension);
}

}  // namespace printing
