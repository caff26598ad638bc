#include "printing/print_settings.h"

#include <algorithm>

#include "platform/text/clock.h"

namespace printing {
namespace {

constexpr std::string_view kVersionText = "SongBook Print Setup File";

// Every setting in the order the file writes it, with its key.
const std::vector<SetupSetting<PrintSetup>>& Settings() {
    using P = PrintSetup;
    using K = SetupKind;
    static const std::vector<SetupSetting<P>> settings = {
        {"PrintSort", K::Number, &P::PrintSort, 1, 2},
        {"PrintFormat", K::Number, &P::PrintFormat, 1, 6},
        {"ReportHeader", K::Text, &P::ReportHeader, 0, 0, 35},
        {"HeaderFont", K::Typeface, &P::HeaderFont, 0, 0, 20},
        {"HeaderSetBold", K::Number, &P::HeaderSetBold},
        {"HeaderSetItalic", K::Number, &P::HeaderSetItalic},
        {"HeaderColor", K::Color, &P::HeaderColor},
        {"HeaderBackgroundColor", K::Color, &P::HeaderBackgroundColor},
        {"PrintFont", K::Typeface, &P::PrintFont, 0, 0, 20},
        {"TitleBold", K::Number, &P::TitleBold},
        {"TitleItalics", K::Number, &P::TitleItalics},
        {"ArtistBold", K::Number, &P::ArtistBold},
        {"ArtistItalics", K::Number, &P::ArtistItalics},
        {"MfrBold", K::Number, &P::MfrBold},
        {"MfrItalics", K::Number, &P::MfrItalics},
        {"DiskTrackBold", K::Number, &P::DiskTrackBold},
        {"DiskTrackItalics", K::Number, &P::DiskTrackItalics},
        {"WordWrap", K::Number, &P::WordWrap},
        {"ShowTM", K::Number, &P::ShowTM},
        {"SetFonts", K::Number, &P::SetFonts, 1, 3},
        {"CaseStyle", K::Number, &P::CaseStyle, 1, 2},
        {"BodyColor", K::Color, &P::BodyColor},
        {"BodyBackgroundColor", K::Color, &P::BodyBackgroundColor},
        {"NameFormat", K::Number, &P::NameFormat},
        {"ReportFooter", K::Text, &P::ReportFooter, 0, 0, 35},
        {"FooterFont", K::Typeface, &P::FooterFont, 0, 0, 20},
        {"FooterSetBold", K::Number, &P::FooterSetBold},
        {"FooterSetItalic", K::Number, &P::FooterSetItalic},
        {"FooterColor", K::Color, &P::FooterColor},
        {"FooterBackgroundColor", K::Color, &P::FooterBackgroundColor},
        {"FilterReport", K::Number, &P::FilterReport},
        {"StartDate", K::Date, &P::StartDate},
        {"EndDate", K::Date, &P::EndDate},
        {"RemoveDuplicates", K::Number, &P::RemoveDuplicates},
        {"ColumnBarFill", K::Color, &P::ColumnBarFill},
        {"ColumnBarBorderColor", K::Color, &P::ColumnBarBorderColor},
        {"ColumnBarTextColor", K::Color, &P::ColumnBarTextColor},
        {"ColumnBarFont", K::Typeface, &P::ColumnBarFont, 0, 0, 20},
        {"ColumnBarSetBold", K::Number, &P::ColumnBarSetBold},
        {"ColumnBarSetItalic", K::Number, &P::ColumnBarSetItalic},
        {"StartingPageNumber", K::Clamped, &P::StartingPageNumber, 0, 65535},
        {"RemoveVocals", K::Number, &P::RemoveVocals},
        {"OffsetPages", K::Number, &P::OffsetPages},
        {"Offset", K::Clamped, &P::Offset, 0, 500},
        {"PaperType", K::Number, &P::PaperType, 0, 2},
        {"ShowMake", K::Number, &P::ShowMake},
        {"FilterGenre", K::Number, &P::FilterGenre},
        {"PrintGenre", K::Text, &P::PrintGenre, 0, 0, 40},
        {"FilterDuets", K::Number, &P::FilterDuets},
        {"ignoreomits", K::Number, &P::ignoreomits},
        {"PageBreakOffset", K::Clamped, &P::PAGEBREAKOFFSET, -5, 5},
    };
    return settings;
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

std::string PrintSetupFileName(std::string_view typed) { return SetupFileName(typed, ".psf"); }

bool SavePrintSetup(std::string_view file, const PrintSetup& setup) {
    return SaveSetupFile(file, kVersionText, Settings(), setup);
}

RecallResult RecallPrintSetup(std::string_view file, PrintSetup& setup, std::vector<std::string>& repaired) {
    const RecallResult result = RecallSetupFile(file, kVersionText, Settings(), setup, repaired);
    if (result != RecallResult::Recalled) return result;
    if (setup.PaperType == 0) setup.PaperType = 1;  // older files wrote 0 for Letter
    // Without the date filter the dates are today's, whatever the file holds.
    if (setup.FilterReport != 1) {
        setup.StartDate = setup.EndDate = fw::TODAY();
        std::erase_if(repaired, [](const std::string& k) { return k == "StartDate" || k == "EndDate"; });
    }
    return result;
}

}  // namespace printing
