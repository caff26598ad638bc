#include "printing/request_slips.h"

#include <string>
#include <vector>

#include "platform/report/report_fonts.h"
#include "platform/runtime/error_state.h"
#include "platform/text/strings.h"
#include "platform/ui/message.h"
#include "printing/report_delivery.h"
#include "printing/report_destination.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/process_window.h"

namespace printing {
namespace {

using namespace fw::report;

Element Text(const char* name, Rect rect, TextFont font, std::string text) {
    Element e;
    e.name = name;
    e.rect = rect;
    e.font = std::move(font);
    e.text = std::move(text);
    e.shrinkToFit = true;  // the designed texts shrink rather than being cut
    return e;
}

Element Guide(int n, Rect rect) {
    Element e;
    e.name = "GUIDE" + std::to_string(n);
    e.kind = ElementKind::Line;
    e.rect = rect;
    return e;
}

// The header and, beside a logo, the footer lie where printers print on
// the slips at the sheet's top and left edges too.
constexpr int kHeaderY = 260;
constexpr int kFooterBesideLogoX = 260;

// Where the guides at the sheet's edges begin: inside the quarter inch
// that printers leave blank, clear of the width of the mark itself.
constexpr int kGuideEdge = 256;

// The 17 cutting guides marking the 2 by 4 grid: five marks down the
// centre line, and at each inner row edge a mark at both page edges and
// one across the centre.
std::vector<Element> Guides() {
    std::vector<Element> guides;
    int n = 0;
    // Marks at the sheet's edges start where printers can print.
    guides.push_back(Guide(++n, {4250, kGuideEdge, 0, 500 - kGuideEdge}));
    for (int y : {2500, 5125, 7750, 10250}) guides.push_back(Guide(++n, {4250, y, 0, 250}));
    for (int y : {2625, 5250, 7875, 10480}) {
        guides.push_back(Guide(++n, {kGuideEdge, y, 500 - kGuideEdge, 0}));
        guides.push_back(Guide(++n, {8000, y, 8500 - kGuideEdge - 8000, 0}));
        guides.push_back(Guide(++n, {4125, y, 250, 0}));
    }
    return guides;
}

TextFont DesignedFont(const std::string& face, long size, long style, long color) {
    return {fw::CLIP(face), static_cast<int>(size), static_cast<int>(style), static_cast<Color>(color)};
}

ReportDefinition SlipDefinition(const RequestCardSetupValues& s) {
    static const BandRow bands[] = {{"FORM", BandRole::Form, 0, 0, 0}, {"SLIP", BandRole::Detail, 0, 0, 2625}};
    const TextFont lines{"Arial", 10, 700, kBlack};
    const TextFont header = DesignedFont(s.SongRequestHeaderFont, s.SongRequestHeaderFontSize,
                                         s.SongRequestHeaderFontStyle, s.SongRequestHeaderColor);
    const TextFont footer = DesignedFont(s.SongRequestFooterFont, s.SongRequestFooterFontSize,
                                         s.SongRequestFooterFontStyle, s.SongRequestFooterColor);
    const std::string logo = fw::CLIP(s.SongRequestLogoFilename);
    std::vector<ElementRow> elements{
        {"SLIP", Text("SONGREQUESTHEADERTEXT", {406, kHeaderY, 3542, TextHeight(header)}, header,
                      fw::CLIP(s.SongRequestHeaderText))},
        {"SLIP", Text("NAME", {406, 583, 3448, 208}, lines, "Name: " + std::string(37, '_'))},
        {"SLIP", Text("SONGTITLE", {406, 948, 3448, 208}, lines, "Song Title: " + std::string(34, '_'))},
        {"SLIP", Text("ARTIST", {406, 1313, 3448, 208}, lines, "Artist: " + std::string(37, '_'))},
        {"SLIP", Text("SONGNUMBER", {406, 1698, 3448, 208}, lines,
                      "Song #: " + std::string(18, '_') + " Key(+/-) " + std::string(10, '_'))},
        // Beside a logo the footer starts further left.
        {"SLIP", Text("SONGREQUESTFOOTERTEXT", {logo.empty() ? 521 : kFooterBesideLogoX, 2115, logo.empty() ? 3458 : 3000, 208}, footer,
                      fw::CLIP(s.SongRequestFooterText))},
    };
    Element picture;
    picture.name = "LOGO";
    picture.kind = ElementKind::Image;
    picture.rect = {3300, 1938, 560, 560};
    picture.file = logo;
    picture.hidden = logo.empty();
    elements.push_back({"SLIP", picture});
    for (Element& guide : Guides()) {
        guide.hidden = s.UseHashMarks == 0;
        elements.push_back({"FORM", guide});
    }
    ReportDefinition d = BuildDefinition({}, bands, elements);
    d.flow = Flow::Grid;
    d.grid = {0, 0, 4250, 2625, 2, 4};
    return d;
}

}  // namespace

RequestSlipSheets::RequestSlipSheets(const RequestCardSetupValues& design) : report_(SlipDefinition(design)) {}

void PrintRequestSlips() {
    shell::ActionOutcome() = shell::outcome::Cancelled;
    const RequestCardSetupValues design = RequestCardSettings();
    ReportPreviewer previewer;
    if (ReportDestinationWindow(previewer) == 1) return;
    if (design.NUMBEROFSLIPS <= 0) {
        fw::MESSAGE("There are no request slips to print: the number of slips is 0.", "Song Request Slips",
                    fw::Icon::Asterisk);
        return;
    }
    RegisterReportFonts();
    RequestSlipSheets sheets(design);
    long printed = 0;
    shell::StepSource step(
        [&] { return printed < design.NUMBEROFSLIPS ? 0 : static_cast<int>(fw::RecordNotAvailable); }, "SongBook");
    shell::ProgressPlan plan(step);
    plan.estimate = [&] { return design.NUMBEROFSLIPS; };
    plan.measure.perTimerEvent = shell::kWholePass;  // every slip in the first tick
    plan.texts.caption = "Generating Report";
    plan.action = [&] {
        sheets.Print();
        ++printed;
    };
    if (shell::RunProgressProcess(plan) != shell::PassState::Completed) return;
    fw::report::PageList pages = sheets.Finish();
    DeliverReport(previewer, pages, {"Song Request Slip Previewer", "Page Width", {}});
}

}  // namespace printing
