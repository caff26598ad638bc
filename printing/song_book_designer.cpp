#include "printing/song_book_designer.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/os/beep.h"
#include "platform/runtime/scheduler.h"
#include "platform/text/clock.h"
#include "platform/text/strings.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "printing/print_settings.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/help_convention.h"
#include "shell/program_procedures.h"

namespace printing {
namespace {

constexpr long kSelectedTabColor = 0x0000FF;  // red
constexpr const char* kFilter = "Print Setup File|*.PSF";
constexpr const char* kTitleSample = "Sample Song Title";
constexpr const char* kArtistSample = "Artist, Joe";

long Style(long bold, long italic) { return (bold ? 700 : 400) + (italic ? 4096 : 0); }

void SetFont(const char* control, const std::string& face, long color, long style) {
    fw::SetProp(control, fw::Prop::FontName, face);
    fw::SetProp(control, fw::Prop::FontColor, color);
    fw::SetProp(control, fw::Prop::FontStyle, style);
}

void Fill(const char* box, long color) { fw::SetProp(box, fw::Prop::Fill, color); }

void ShowWhen(bool on, std::initializer_list<const char*> controls) {
    for (const char* c : controls) on ? fw::UNHIDE(c) : fw::HIDE(c);
}

const std::initializer_list<const char*> kOffsetControls = {"?OFFSETPROMPT", "?OFFSET", "?OFFSETAMTPROMPT"};
const std::initializer_list<const char*> kDateControls = {"?STARTDATE:PROMPT", "?STARTDATE", "?ENDDATE:PROMPT",
                                                          "?ENDDATE"};
const std::initializer_list<const char*> kSizeRadios = {"?SETFONTS:SMALL", "?SETFONTS:MEDIUM", "?SETFONTS:LARGE"};

// The colour buttons: the setting each edits and the dialog's title.
struct ColorButton {
    const char* button;
    const char* box;
    long PrintSetup::*setting;
    const char* title;
};
const std::vector<ColorButton>& ColorButtons() {
    static const std::vector<ColorButton> buttons = {
        {"?HEADERCOLORBUTTON", "?HEADERCOLORBOX", &PrintSetup::HeaderColor, "Choose Box Color"},
        {"?HEADERBACKBUTTON", "?HEADERBACKBOX", &PrintSetup::HeaderBackgroundColor, "Choose Header Background Color"},
        {"?BARTEXTBUTTON", "?BARTEXTBOX", &PrintSetup::ColumnBarTextColor, "Select Column Heading Text Color"},
        {"?BARFILLBUTTON", "?BARFILLBOX", &PrintSetup::ColumnBarFill, "Choose Column Bar Fill Color"},
        {"?BARBORDERBUTTON", "?BARBORDERBOX", &PrintSetup::ColumnBarBorderColor, "Choose Column Bar Border Color"},
        {"?BODYCOLORBUTTON", "?BODYCOLORBOX", &PrintSetup::BodyColor, "Choose Body Text Foreground Color"},
        {"?BODYBACKBUTTON", "?BODYBACKBOX", &PrintSetup::BodyBackgroundColor, "Choose Body Text Background Color"},
        {"?FOOTERCOLORBUTTON", "?FOOTERCOLORBOX", &PrintSetup::FooterColor, "Choose Footer Text Foreground Color"},
        {"?FOOTERBACKBUTTON", "?FOOTERBACKBOX", &PrintSetup::FooterBackgroundColor,
         "Choose Footer Text Background Color"},
    };
    return buttons;
}

class Designer {
public:
    void Run();

private:
    void Bind(fw::Window& window);
    void Refresh();
    void ColourTabs();
    void PrintSongBookNow();
    bool SaveDesign();
    void RecallDesign();

    std::string sample1_, sample2_;  // the body sample's two fields
    std::string setupFile_;
    bool opened_ = false;
};

void Designer::Bind(fw::Window& window) {
    PrintSetup& s = PrintSettings();
    window.Use("?PRINTSORT", s.PrintSort);
    window.Use("?PRINTFORMAT", s.PrintFormat);
    window.Use("?REPORTHEADER", s.ReportHeader);
    window.Use("?HEADERFONT", s.HeaderFont);
    window.Use("?HEADERSETBOLD", s.HeaderSetBold);
    window.Use("?HEADERSETITALIC", s.HeaderSetItalic);
    window.Use("?COLUMNBARFONT", s.ColumnBarFont);
    window.Use("?COLUMNBARSETBOLD", s.ColumnBarSetBold);
    window.Use("?COLUMNBARSETITALIC", s.ColumnBarSetItalic);
    window.Use("?SAMPLEHEADER", s.ReportHeader);
    window.Use("?SETFONTS", s.SetFonts);
    window.Use("?CASESTYLE", s.CaseStyle);
    window.Use("?PRINTFONT", s.PrintFont);
    window.Use("?TITLEBOLD", s.TitleBold);
    window.Use("?TITLEITALICS", s.TitleItalics);
    window.Use("?ARTISTBOLD", s.ArtistBold);
    window.Use("?ARTISTITALICS", s.ArtistItalics);
    window.Use("?MFRBOLD", s.MfrBold);
    window.Use("?MFRITALICS", s.MfrItalics);
    window.Use("?DISKTRACKBOLD", s.DiskTrackBold);
    window.Use("?DISKTRACKITALICS", s.DiskTrackItalics);
    window.Use("?NAMEFORMAT", s.NameFormat);
    window.Use("?SAMPLE1", sample1_);
    window.Use("?SAMPLE2", sample2_);
    window.Use("?REPORTFOOTER", s.ReportFooter);
    window.Use("?FOOTERFONT", s.FooterFont);
    window.Use("?FOOTERSETBOLD", s.FooterSetBold);
    window.Use("?FOOTERSETITALIC", s.FooterSetItalic);
    window.Use("?SAMPLEFOOTER", s.ReportFooter);
    window.Use("?WORDWRAP", s.WordWrap);
    window.Use("?SHOWTM", s.ShowTM);
    window.Use("?SHOWMAKE", s.ShowMake);
    window.Use("?IGNOREOMITS", s.ignoreomits);
    window.Use("?STARTINGPAGENUMBER", s.StartingPageNumber);
    window.Use("?PAPERTYPE", s.PaperType);
    window.Use("?OFFSETPAGES", s.OffsetPages);
    window.Use("?OFFSET", s.Offset);
    window.Use("?GLO:PAGEBREAKOFFSET", s.PAGEBREAKOFFSET);
    window.Use("?REMOVEDUPLICATES", s.RemoveDuplicates);
    window.Use("?REMOVEVOCALS", s.RemoveVocals);
    window.Use("?FILTERREPORT", s.FilterReport);
    window.Use("?STARTDATE", s.StartDate);
    window.Use("?ENDDATE", s.EndDate);
    window.Use("?CURRENTFILE", setupFile_);
}

// Redraws the whole sample and the controls that depend on the settings.
void Designer::Refresh() {
    if (fw::TargetWindow().Get(fw::Prop::AcceptAll).Bool()) return;
    PrintSetup& s = PrintSettings();
    SetFont("?SAMPLEHEADER", s.HeaderFont, s.HeaderColor, Style(s.HeaderSetBold, s.HeaderSetItalic));
    for (const char* heading : {"?SAMPLEHEADTITLE", "?SAMPLEHEADARTIST", "?SAMPLEHEADSONG"}) {
        SetFont(heading, s.ColumnBarFont, s.ColumnBarTextColor, Style(s.ColumnBarSetBold, s.ColumnBarSetItalic));
        fw::SetProp(heading, fw::Prop::Color, s.ColumnBarFill);
    }
    Fill("?SAMPLEBAR", s.ColumnBarFill);
    fw::SetProp("?SAMPLEBAR", fw::Prop::Color, s.ColumnBarBorderColor);
    for (const ColorButton& b : ColorButtons()) Fill(b.box, s.*b.setting);

    const bool byTitle = s.PrintSort != 2;
    const long titleStyle = Style(s.TitleBold, s.TitleItalics), artistStyle = Style(s.ArtistBold, s.ArtistItalics);
    SetFont("?SAMPLE1", s.PrintFont, s.BodyColor, byTitle ? titleStyle : artistStyle);
    SetFont("?SAMPLE2", s.PrintFont, s.BodyColor, byTitle ? artistStyle : titleStyle);
    SetFont("?SAMPLEMFR", s.PrintFont, s.BodyColor, Style(s.MfrBold, s.MfrItalics));
    SetFont("?SAMPLESONG", s.PrintFont, s.BodyColor, Style(s.DiskTrackBold, s.DiskTrackItalics));
    const long size = s.SetFonts == 1 ? 8 : s.SetFonts == 2 ? 10 : 12;
    for (const char* field : {"?SAMPLE1", "?SAMPLE2", "?SAMPLEMFR", "?SAMPLESONG"})
        fw::SetProp(field, fw::Prop::FontSize, size);

    SetFont("?SAMPLEFOOTER", s.FooterFont, s.FooterColor, Style(s.FooterSetBold, s.FooterSetItalic));

    if (s.StartDate == 0) s.StartDate = fw::TODAY();
    ShowWhen(s.FilterReport == 1, kDateControls);
    ShowWhen(s.OffsetPages == 1, kOffsetControls);

    // The two-column styles have no large print.
    const bool twoColumns = s.PrintFormat == 5 || s.PrintFormat == 6;
    if (twoColumns && s.SetFonts == 3) s.SetFonts = 2;
    for (const char* radio : kSizeRadios) fw::ENABLE(radio);
    if (twoColumns) fw::DISABLE("?SETFONTS:LARGE");
    if (s.PrintFormat == 4)
        for (const char* radio : kSizeRadios) fw::DISABLE(radio);

    sample1_ = byTitle ? kTitleSample : kArtistSample;
    sample2_ = byTitle ? kArtistSample : kTitleSample;
    if (s.CaseStyle == 2) {
        sample1_ = fw::UPPER(sample1_);
        sample2_ = fw::UPPER(sample2_);
    }
    fw::DISPLAY();
}

// The chosen tab's caption is red; the others keep their own colours.
void Designer::ColourTabs() {
    const int chosen = fw::CHOICE("?SHEET1");
    int n = 0;
    for (const char* tab : {"?TAB1", "?TAB2", "?TAB3", "?TAB4", "?TAB5"})
        fw::SetProp(tab, fw::Prop::FontColor, ++n == chosen ? kSelectedTabColor : -1L);
}

void Designer::PrintSongBookNow() {
    PrintSetup& s = PrintSettings();
    s.ReportHeader = fw::CLIP(s.ReportHeader);
    ReportFooterText() = s.ReportFooter;
    if (const shell::ProgramProcedure& print = shell::ProgramProcedureNamed("PrintSongBook")) fw::START(print);
    Refresh();
}

bool Designer::SaveDesign() {
    std::string name = setupFile_;
    if (!fw::FILEDIALOG("Enter Name of SongBook Design File", name, kFilter,
                        fw::FileDialogFlag::Save | fw::FileDialogFlag::KeepDir | fw::FileDialogFlag::LongName))
        return false;
    const std::string file = PrintSetupFileName(name);
    if (!SavePrintSetup(file, PrintSettings())) {
        fw::MESSAGE("The SongBook design could not be saved to " + file, "ERROR", fw::Icon::Hand, fw::Button::Ok);
        return true;
    }
    setupFile_ = file;
    fw::DISPLAY("?CURRENTFILE");
    return true;
}

void Designer::RecallDesign() {
    if (fw::MESSAGE("Do you wish to save the current design?", "", fw::Icon::Question, "&Yes|&No", 2) == 1 &&
        !SaveDesign())
        return;
    std::string name = setupFile_;
    if (!fw::FILEDIALOG("Enter Name of SongBook Design File to Recall", name, kFilter,
                        fw::FileDialogFlag::KeepDir | fw::FileDialogFlag::LongName))
        return;
    std::vector<std::string> repaired;
    if (RecallPrintSetup(name, PrintSettings(), repaired) != RecallResult::Recalled) {
        fw::MESSAGE("Invalid SongBook Print Setup File", "ERROR", fw::Icon::Hand, fw::Button::Ok);
        return;
    }
    setupFile_ = name;
    if (!repaired.empty())
        fw::MESSAGE(RepairedMessage("SongBook Print Setup File", repaired), "Recall Design", fw::Icon::Exclamation,
                    fw::Button::Ok);
    Refresh();
}

void Designer::Run() {
    PrintSettings().PAGEBREAKOFFSET = 0;
    fw::SetSystemIcon("~songbook.ico");
    fw::Window window("P1$DESIGNER");
    Bind(window);
    window.Open();
    const PrintSetup& s = PrintSettings();
    ShowWhen(s.OffsetPages == 1, kOffsetControls);
    ShowWhen(s.FilterReport == 1, kDateControls);
    if (!shell::HasProgramProcedure("PrintSongBook")) fw::DISABLE("?PRINTSONGBOOK");
    while (fw::ACCEPT()) {
        const int event = fw::EVENT();
        if ((event == fw::Event::OpenWindow || event == fw::Event::GainFocus) && !opened_) {
            opened_ = true;
            PrintSettings().EndDate = fw::TODAY();
            PrintSettings().Offset = 80;
            ColourTabs();
            Refresh();
            fw::SELECT("?PRINTSONGBOOK");
            continue;
        }
        if (event == fw::Event::GainFocus) Refresh();
        if (event == fw::Event::Rejected) {
            fw::BEEP();
            fw::SELECT(fw::FIELD().number);
            continue;
        }
        const fw::FieldId field = fw::FIELD();
        if (field == "?SHEET1" && event == fw::Event::NewSelection) ColourTabs();
        if (event != fw::Event::Accepted) continue;
        if (field == "?PRINTSONGBOOK") {
            PrintSongBookNow();
        } else if (field == "?PAGEBREAKBUTTON") {
            PageBreakOffsetAdjustment();
            Refresh();
        } else if (field == "?SAVEDESIGN") {
            SaveDesign();
        } else if (field == "?RECALLDESIGN") {
            RecallDesign();
        } else if (field == "?HELPBUTTON") {
            shell::ShowProgramHelp("PrintingSongBooks.htm");
        } else if (field == "?CLOSEBUTTON") {
            fw::POST(fw::Event::CloseWindow);
        } else {
            for (const ColorButton& b : ColorButtons()) {
                if (field != b.button) continue;
                long value = PrintSettings().*b.setting;
                if (fw::COLORDIALOG(b.title, value)) PrintSettings().*b.setting = value;
            }
            Refresh();  // every change shows in the sample at once
        }
    }
    shell::ActionOutcome() = shell::outcome::Cancelled;
}

}  // namespace

void SongBookDesigner() { Designer().Run(); }

void PageBreakOffsetAdjustment() {
    fw::Window window("P1$PAGEBREAKOFFSET");
    window.Use("?GLO:PAGEBREAKOFFSET", PrintSettings().PAGEBREAKOFFSET);
    window.Open();
    while (fw::ACCEPT())
        if (fw::ACCEPTED() == "?OK") fw::POST(fw::Event::CloseWindow);
}

}  // namespace printing
