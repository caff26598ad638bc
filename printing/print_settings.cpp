#include "printing/print_settings.h"

#include <algorithm>
#include <charconv>
#include <variant>

#include "platform/config/atomic_file.h"
#include "platform/config/ini_document.h"
#include "platform/config/ini_file.h"
#include "platform/text/clock.h"
#include "platform/text/codepage.h"
#include "platform/text/dates.h"
#include "platform/text/numbers.h"
#include "platform/text/strings.h"
#include "shell/path_part.h"

namespace printing {
namespace {

constexpr std::string_view kVersionSection = "Version";
constexpr std::string_view kSettingsSection = "Settings";
constexpr std::string_view kVersionText = "SongBook Print Setup File";
constexpr long kColorLimit = 0xFFFFFF;

enum class Kind { Number, Clamped, Color, Date, Text, Typeface };

struct Setting {
    std::string_view key;
    Kind kind;
    std::variant<long PrintSetup::*, std::string PrintSetup::*> member;
    long low = 0, high = 1;     // numbers
    std::size_t length = 0;     // texts
};

// Every setting in the order the file writes it, with its key.
const std::vector<Setting>& Settings() {
    using P = PrintSetup;
    static const std::vector<Setting> settings = {
        {"PrintSort", Kind::Number, &P::PrintSort, 1, 2},
        {"PrintFormat", Kind::Number, &P::PrintFormat, 1, 6},
        {"ReportHeader", Kind::Text, &P::ReportHeader, 0, 0, 35},
        {"HeaderFont", Kind::Typeface, &P::HeaderFont, 0, 0, 20},
        {"HeaderSetBold", Kind::Number, &P::HeaderSetBold},
        {"HeaderSetItalic", Kind::Number, &P::HeaderSetItalic},
        {"HeaderColor", Kind::Color, &P::HeaderColor},
        {"HeaderBackgroundColor", Kind::Color, &P::HeaderBackgroundColor},
        {"PrintFont", Kind::Typeface, &P::PrintFont, 0, 0, 20},
        {"TitleBold", Kind::Number, &P::TitleBold},
        {"TitleItalics", Kind::Number, &P::TitleItalics},
        {"ArtistBold", Kind::Number, &P::ArtistBold},
        {"ArtistItalics", Kind::Number, &P::ArtistItalics},
        {"MfrBold", Kind::Number, &P::MfrBold},
        {"MfrItalics", Kind::Number, &P::MfrItalics},
        {"DiskTrackBold", Kind::Number, &P::DiskTrackBold},
        {"DiskTrackItalics", Kind::Number, &P::DiskTrackItalics},
        {"WordWrap", Kind::Number, &P::WordWrap},
        {"ShowTM", Kind::Number, &P::ShowTM},
        {"SetFonts", Kind::Number, &P::SetFonts, 1, 3},
        {"CaseStyle", Kind::Number, &P::CaseStyle, 1, 2},
        {"BodyColor", Kind::Color, &P::BodyColor},
        {"BodyBackgroundColor", Kind::Color, &P::BodyBackgroundColor},
        {"NameFormat", Kind::Number, &P::NameFormat},
        {"ReportFooter", Kind::Text, &P::ReportFooter, 0, 0, 35},
        {"FooterFont", Kind::Typeface, &P::FooterFont, 0, 0, 20},
        {"FooterSetBold", Kind::Number, &P::FooterSetBold},
        {"FooterSetItalic", Kind::Number, &P::FooterSetItalic},
        {"FooterColor", Kind::Color, &P::FooterColor},
        {"FooterBackgroundColor", Kind::Color, &P::FooterBackgroundColor},
        {"FilterReport", Kind::Number, &P::FilterReport},
        {"StartDate", Kind::Date, &P::StartDate},
        {"EndDate", Kind::Date, &P::EndDate},
        {"RemoveDuplicates", Kind::Number, &P::RemoveDuplicates},
        {"ColumnBarFill", Kind::Color, &P::ColumnBarFill},
        {"ColumnBarBorderColor", Kind::Color, &P::ColumnBarBorderColor},
        {"ColumnBarTextColor", Kind::Color, &P::ColumnBarTextColor},
        {"ColumnBarFont", Kind::Typeface, &P::ColumnBarFont, 0, 0, 20},
        {"ColumnBarSetBold", Kind::Number, &P::ColumnBarSetBold},
        {"ColumnBarSetItalic", Kind::Number, &P::ColumnBarSetItalic},
        {"StartingPageNumber", Kind::Clamped, &P::StartingPageNumber, 0, 65535},
        {"RemoveVocals", Kind::Number, &P::RemoveVocals},
        {"OffsetPages", Kind::Number, &P::OffsetPages},
        {"Offset", Kind::Clamped, &P::Offset, 0, 500},
        {"PaperType", Kind::Number, &P::PaperType, 1, 2},
        {"ShowMake", Kind::Number, &P::ShowMake},
        {"FilterGenre", Kind::Number, &P::FilterGenre},
        {"PrintGenre", Kind::Text, &P::PrintGenre, 0, 0, 40},
        {"FilterDuets", Kind::Number, &P::FilterDuets},
        {"ignoreomits", Kind::Number, &P::ignoreomits},
        {"PageBreakOffset", Kind::Clamped, &P::PAGEBREAKOFFSET, -5, 5},
    };
    return settings;
}

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

// Brings one recalled value into shape; false when it had to be repaired.
bool Recall(const Setting& s, const std::optional<std::string>& raw, PrintSetup& into) {
    static const PrintSetup initial;
    if (auto text = std::get_if<std::string PrintSetup::*>(&s.member)) {
        std::string value = raw ? fw::CLIP(raw->substr(0, std::min(raw->size(), s.length))) : std::string();
        if (s.kind == Kind::Typeface && !IsTypeface(value)) {
            into.*(*text) = initial.*(*text);
            return false;
        }
        into.*(*text) = value;
        return raw.has_value();
    }
    long PrintSetup::*number = std::get<long PrintSetup::*>(s.member);
    long value = 0;
    if (!raw || !ParseWhole(*raw, value)) {
        into.*number = s.kind == Kind::Date ? fw::TODAY() : initial.*number;
        return false;
    }
    bool inRange = true;
    switch (s.kind) {
        case Kind::Color: inRange = value >= 0 && value <= kColorLimit; break;
        case Kind::Date: inRange = value >= 0 && value <= fw::kLastDayNumber; break;
        default: inRange = value >= s.low && value <= s.high; break;
    }
    if (inRange) {
        into.*number = value;
        return true;
    }
    if (s.kind == Kind::Clamped)
        into.*number = std::clamp(value, s.low, s.high);
    else
        into.*number = s.kind == Kind::Date ? fw::TODAY() : initial.*number;
    return false;
}

}  // namespace

PrintSetup& PrintSettings() {
    static PrintSetup settings;
    return settings;
}

std::string& ReportFooterText() {
    static std::string text;
    return text;
}

const std::vector<std::string>& PrintTypefaces() {
    static const std::vector<std::string> faces = {"Arial", "Courier", "Times New Roman", "Modern", "Marlet"};
    return faces;
}

std::string PrintSetupFileName(std::string_view typed) {
    return shell::PathPart(typed, shell::path_part::Folder) + shell::PathPart(typed, shell::path_part::Name) + ".psf";
}

bool SavePrintSetup(std::string_view file, const PrintSetup& setup) {
    const std::string path = fw::IniFilePath(file);
    std::string bytes;
    if (fw::ReadWholeFile(path, bytes) == fw::FileReadResult::Failed) return false;
    fw::IniDocument ini(bytes);
    bool ok = ini.Set(kVersionSection, "Version", kVersionText);
    for (const Setting& s : Settings()) {
        std::string value;
        if (auto text = std::get_if<std::string PrintSetup::*>(&s.member))
            value = fw::CLIP(setup.*(*text));
        else
            value = fw::NumberText(setup.*std::get<long PrintSetup::*>(s.member));
        ok = ini.Set(kSettingsSection, s.key, value) && ok;
    }
    return ok && fw::ReplaceFileAtomically(path, ini.Bytes());
}

RecallResult RecallPrintSetup(std::string_view file, PrintSetup& setup, std::vector<std::string>& repaired) {
    repaired.clear();
    std::string bytes;
    if (fw::ReadWholeFile(fw::IniFilePath(file), bytes) != fw::FileReadResult::Read) return RecallResult::NotASetupFile;
    const fw::IniDocument ini(bytes);
    if (ini.Get(kVersionSection, "Version").value_or("") != kVersionText) return RecallResult::NotASetupFile;
    PrintSetup recalled = setup;
    for (const Setting& s : Settings()) {
        std::optional<std::string> raw = ini.Get(kSettingsSection, s.key);
        if (s.key == "PaperType" && raw && fw::CLIP(*raw) == "0") raw = "1";  // older files wrote 0 for Letter
        if (!Recall(s, raw, recalled)) repaired.emplace_back(s.key);
    }
    // Without the date filter the dates are today's, whatever the file holds.
    if (recalled.FilterReport != 1) {
        recalled.StartDate = recalled.EndDate = fw::TODAY();
        std::erase_if(repaired, [](const std::string& k) { return k == "StartDate" || k == "EndDate"; });
    }
    setup = recalled;
    return RecallResult::Recalled;
}

}  // namespace printing
