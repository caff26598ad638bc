#include "printing/request_card_setup.h"

#include <QImageReader>

#include <string>
#include <vector>

#include "platform/runtime/scheduler.h"
#include "platform/text/strings.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "printing/request_card_settings.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/help_convention.h"
#include "shell/program_procedures.h"

namespace printing {
namespace {

constexpr const char* kFilter = "Request Setup File|*.RSF";
constexpr const char* kLogoFilter =
    "Compuserve GIF (*.gif)|*.gif|OS/2 BitMap (*.bmp)|*.bmp|ICON File (*.ico)|*.ico|Windows Meta File "
    "(*.wmf)|*.wmf|JPEG Format (*.jpg)|*.jpg|All Files (*.*)|*.*";

// The sample footer's place beside a logo and without one (window units).
constexpr int kFooterX = 178, kFooterY = 136, kFooterWidth = 198;
constexpr int kFooterBesideLogoX = 180, kFooterBesideLogoY = 120, kFooterBesideLogoWidth = 155;

void ApplyFont(const char* sample, const std::string& face, long size, long style, long color) {
    fw::SetProp(sample, fw::Prop::FontName, face);
    fw::SetProp(sample, fw::Prop::FontSize, size);
    fw::SetProp(sample, fw::Prop::FontStyle, style);
    fw::SetProp(sample, fw::Prop::FontColor, color);
}

// Whether a logo file can be shown; says why not.
bool LogoReadable(const std::string& file) {
    const std::string upper = fw::UPPER(fw::CLIP(file));
    if (upper.size() >= 4 && upper.compare(upper.size() - 4, 4, ".WMF") == 0) {
        fw::MESSAGE("Windows Meta File pictures cannot be used as a logo.|Please choose a GIF, BMP, ICO or JPEG "
                    "picture.",
                    "Logo", fw::Icon::Exclamation, fw::Button::Ok);
        return false;
    }
    QImageReader reader(QString::fromStdString(fw::ImagePath(fw::CLIP(file))));
    if (reader.canRead()) return true;
    fw::MESSAGE("The logo " + fw::CLIP(file) + " cannot be read as a picture.", "Logo", fw::Icon::Exclamation,
                fw::Button::Ok);
    return false;
}

// Shows the logo beside the sample's footer, or takes it away.
void ShowLogo(const std::string& file) {
    const bool shown = !fw::CLIP(file).empty();
    fw::SetProp("?LOGO", fw::Prop::Text, shown ? fw::CLIP(file) : std::string());
    shown ? fw::UNHIDE("?LOGO") : fw::HIDE("?LOGO");
    fw::SetProp("?SONGREQUESTFOOTERTEXT:2", fw::Prop::Xpos, shown ? kFooterBesideLogoX : kFooterX);
    fw::SetProp("?SONGREQUESTFOOTERTEXT:2", fw::Prop::Ypos, shown ? kFooterBesideLogoY : kFooterY);
    fw::SetProp("?SONGREQUESTFOOTERTEXT:2", fw::Prop::Width, shown ? kFooterBesideLogoWidth : kFooterWidth);
}

// The font dialog on one text's font; the sample shows it 2 points smaller.
void ChooseFont(const char* title, const char* sample, std::string& face, long& size, long& style, long& color) {
    int chosenSize = static_cast<int>(size), chosenStyle = static_cast<int>(style);
    long chosenColor = color;
    std::string chosenFace = face;
    if (!fw::FONTDIALOG(title, chosenFace, chosenSize, chosenColor, chosenStyle)) return;
    face = chosenFace;
    size = chosenSize;
    style = chosenStyle;
    color = chosenColor;
    ApplyFont(sample, face, size - 2, style, color);
    fw::DISPLAY();
}

bool SaveSetup(const char* title) {
    RequestCardSetupValues& s = RequestCardSettings();
    std::string name;
    if (!fw::FILEDIALOG(title, name, kFilter,
                        fw::FileDialogFlag::Save | fw::FileDialogFlag::KeepDir | fw::FileDialogFlag::LongName))
        return false;
    const std::string file = RequestSetupFileName(name);
    if (!SaveRequestSetup(file, s))
        fw::MESSAGE("The request card setup could not be saved to " + file, "ERROR", fw::Icon::Hand, fw::Button::Ok);
    return true;
}

void RecallSetup() {
    if (fw::MESSAGE("Do you wish to save the current setup?", "", fw::Icon::Question, "&Yes|&No", 2) == 1 &&
        !SaveSetup("Enter Name of Request Setup File"))
        return;
    std::string name;
    if (!fw::FILEDIALOG("Enter Name of Request Setup File", name, kFilter,
                        fw::FileDialogFlag::KeepDir | fw::FileDialogFlag::LongName))
        return;
    RequestCardSetupValues& s = RequestCardSettings();
    std::vector<std::string> repaired;
    if (RecallRequestSetup(name, s, repaired) != RecallResult::Recalled) {
        fw::MESSAGE("Invalid Request Setup File", "ERROR", fw::Icon::Hand, fw::Button::Ok);
        return;
    }
    if (!repaired.empty())
        fw::MESSAGE(RepairedMessage("Request Setup File", repaired), "Recall Setup", fw::Icon::Exclamation,
                    fw::Button::Ok);
    ApplyFont("?SONGREQUESTHEADERTEXT:2", s.SongRequestHeaderFont, s.SongRequestHeaderFontSize,
              s.SongRequestHeaderFontStyle, s.SongRequestHeaderColor);
    ApplyFont("?SONGREQUESTFOOTERTEXT:2", s.SongRequestFooterFont, s.SongRequestFooterFontSize,
              s.SongRequestFooterFontStyle, s.SongRequestFooterColor);
    // A logo the file names but that cannot be shown is left out.
    if (!fw::CLIP(s.SongRequestLogoFilename).empty() && !LogoReadable(s.SongRequestLogoFilename))
        s.SongRequestLogoFilename.clear();
    ShowLogo(s.SongRequestLogoFilename);
    fw::DISPLAY();
}

}  // namespace

void RequestCardSetup() {
    RequestCardSetupValues& s = RequestCardSettings();
    s = RequestCardSetupValues{};
    fw::SetSystemIcon("~songbook.ico");
    fw::Window window("P1$REQUESTCARDSETUP");
    window.Use("?SONGREQUESTHEADERTEXT:2", s.SongRequestHeaderText);
    window.Use("?SONGREQUESTFOOTERTEXT:2", s.SongRequestFooterText);
    window.Use("?SONGREQUESTHEADERTEXT", s.SongRequestHeaderText);
    window.Use("?SONGREQUESTFOOTERTEXT", s.SongRequestFooterText);
    window.Use("?SONGREQUESTLOGOFILENAME", s.SongRequestLogoFilename);
    window.Use("?NUMBEROFSLIPS", s.NUMBEROFSLIPS);
    window.Use("?USEHASHMARKS", s.UseHashMarks);
    window.Open();
    if (!shell::HasProgramProcedure("PrintRequestSlips")) fw::DISABLE("?OKBUTTON");
    while (fw::ACCEPT()) {
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == 0) continue;
        if (accepted == "?HEADERTEXTCOLOR") {
            ChooseFont("Choose Header Font", "?SONGREQUESTHEADERTEXT:2", s.SongRequestHeaderFont,
                       s.SongRequestHeaderFontSize, s.SongRequestHeaderFontStyle, s.SongRequestHeaderColor);
        } else if (accepted == "?HEADERTEXTCOLOR:2") {
            ChooseFont("Choose Footer Font", "?SONGREQUESTFOOTERTEXT:2", s.SongRequestFooterFont,
                       s.SongRequestFooterFontSize, s.SongRequestFooterFontStyle, s.SongRequestFooterColor);
        } else if (accepted == "?SELECTIMAGE") {
            std::string file = s.SongRequestLogoFilename;
            if (fw::FILEDIALOG("Please Select Logo Image File", file, kLogoFilter,
                               fw::FileDialogFlag::KeepDir | fw::FileDialogFlag::LongName) &&
                LogoReadable(file)) {
                s.SongRequestLogoFilename = file;
                ShowLogo(file);
                fw::DISPLAY();
            }
        } else if (accepted == "?SONGREQUESTLOGOFILENAME") {
            if (!fw::CLIP(s.SongRequestLogoFilename).empty() && !LogoReadable(s.SongRequestLogoFilename))
                s.SongRequestLogoFilename.clear();
            ShowLogo(s.SongRequestLogoFilename);
            fw::DISPLAY();
        } else if (accepted == "?BUTTON6") {
            SaveSetup("Enter Name of Request Card Setup File");
        } else if (accepted == "?BUTTON7") {
            RecallSetup();
        } else if (accepted == "?OKBUTTON") {
            if (const shell::ProgramProcedure& print = shell::ProgramProcedureNamed("PrintRequestSlips"))
                fw::START(print);
            fw::DISPLAY();
        } else if (accepted == "?BUTTON8") {
            shell::ShowProgramHelp("PrintingSongRequestCards.htm");
        } else {
            fw::DISPLAY();  // the sample follows the texts as they are typed
        }
    }
    shell::ActionOutcome() = shell::outcome::Cancelled;
}

}  // namespace printing
