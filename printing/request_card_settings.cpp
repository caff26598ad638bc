#include "printing/request_card_settings.h"

namespace printing {
namespace {

constexpr std::string_view kVersionText = "Request Setup File";
// A path of any length, up to what one INI value holds.
constexpr std::size_t kPathLength = 1023;

const std::vector<SetupSetting<RequestCardSetupValues>>& Settings() {
    using R = RequestCardSetupValues;
    using K = SetupKind;
    static const std::vector<SetupSetting<R>> settings = {
        {"SongRequestHeaderText", K::Text, &R::SongRequestHeaderText, 0, 0, 40},
        {"SongRequestHeaderFont", K::FaceName, &R::SongRequestHeaderFont, 0, 0, 20},
        {"SongRequestHeaderFontSize", K::Clamped, &R::SongRequestHeaderFontSize, 4, 72},
        {"SongRequestHeaderFontStyle", K::FontStyle, &R::SongRequestHeaderFontStyle},
        {"SongRequestHeaderColor", K::Color, &R::SongRequestHeaderColor},
        {"SongRequestFooterText", K::Text, &R::SongRequestFooterText, 0, 0, 40},
        {"SongRequestFooterFont", K::FaceName, &R::SongRequestFooterFont, 0, 0, 20},
        {"SongRequestFooterFontSize", K::Clamped, &R::SongRequestFooterFontSize, 4, 72},
        {"SongRequestFooterFontStyle", K::FontStyle, &R::SongRequestFooterFontStyle},
        {"SongRequestFooterColor", K::Color, &R::SongRequestFooterColor},
        {"SongRequestLogoFilename", K::Text, &R::SongRequestLogoFilename, 0, 0, kPathLength},
        {"UseHashMarks", K::Number, &R::UseHashMarks},
    };
    return settings;
}

}  // namespace

RequestCardSetupValues& RequestCardSettings() {
    static RequestCardSetupValues settings;
    return settings;
}

std::string RequestSetupFileName(std::string_view typed) { return SetupFileName(typed, ".rsf"); }

bool SaveRequestSetup(std::string_view file, const RequestCardSetupValues& design) {
    return SaveSetupFile(file, kVersionText, Settings(), design);
}

RecallResult RecallRequestSetup(std::string_view file, RequestCardSetupValues& design,
                                std::vector<std::string>& repaired) {
    return RecallSetupFile(file, kVersionText, Settings(), design, repaired);
}

}  // namespace printing
