#include "printing/management_reports.h"

#include <string>
#include <vector>

#include "platform/data/file_ops.h"
#include "platform/data/names/name_ops.h"
#include "platform/data/view.h"
#include "platform/report/report.h"
#include "platform/runtime/error_state.h"
#include "printing/report_delivery.h"
#include "printing/report_destination.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/process_window.h"
#include "shell/warnings.h"

#include "shell/data_dictionary_prefixes.h"

namespace printing {
namespace {

using namespace fw::report;

constexpr int kRowHeight = 210;

struct Column {
    const char* name;
    const char* heading;
    int x, w;
};

Element Text(std::string name, Rect rect, TextFont font, std::string text = {}, Align align = Align::Left) {
    Element e;
    e.name = std::move(name);
    e.rect = rect;
    e.font = std::move(font);
    e.text = std::move(text);
    e.align = align;
    e.shrinkToFit = true;  // a text too wide for its column prints smaller, whole
    return e;
}

Element Rule(const char* name, int y, int width) {
    Element e;
    e.name = name;
    e.kind = ElementKind::Line;
    e.rect = {500, y, 7500, 0};
    e.borderWidth = width;
    return e;
}

// A Letter page: the title and the column headings at the top, a row a
// detail band with its separating line, the program and the page number
// at the foot.
ReportDefinition ManagementDefinition(const char* title, const std::vector<Column>& columns) {
    static const BandRow bands[] = {
        {"HEADER", BandRole::Header, 0, 0, 0},
        {"DETAIL", BandRole::Detail, 0, 0, kRowHeight},
        {"FOOTER", BandRole::Footer, 0, 10400, 0},
    };
    const TextFont heading{"Arial", 9, 700, kBlack}, detail{"Arial", 8, 400, kBlack}, foot{"Arial", 8, 400, kBlack};
    std::vector<ElementRow> elements{
        {"HEADER", Text("TITLE", {500, 450, 7500, 300}, {"Arial", 14, 700, kBlack}, title, Align::Centre)},
        {"HEADER", Rule("HEADINGLINE", 1090, 15)},
        {"DETAIL", Rule("LINE", kRowHeight - 10, 5)},
        {"FOOTER", Rule("FOOTERLINE", 0, 10)},
        {"FOOTER", Text("PROGRAM", {500, 60, 5000, 170}, foot, shell::ProgramTitle.Str() + " " + shell::ProgramVersion.Str())},
    };
    for (const Column& c : columns) {
        elements.push_back({"HEADER", Text(std::string("HEADING:") + c.name, {c.x, 880, c.w, 190}, heading, c.heading)});
        elements.push_back({"DETAIL", Text(c.name, {c.x, 25, c.w, 160}, detail)});
    }
    Element page = Text("PAGENUMBER", {6000, 60, 2000, 170}, foot, "Page: <<<#", Align::Right);
    page.source = TextSource::PageNumber;
    elements.push_back({"FOOTER", page});
    ReportDefinition d = BuildDefinition({}, bands, elements);
    d.detailArea = {0, 1150, d.paper.Width(), 10400 - 1150};
    return d;
}

// The brand code of the host's own discs, and its name in the song base's
// brand codes (the code itself when the song base has none).
constexpr std::string_view kCustomBrandCode = "CU";

bool IsCustomDisc() { return SBD.MAKETYPE.Clip() == kCustomBrandCode; }

std::string CustomBrandName() {
    std::string name(kCustomBrandCode);
    if (!fw::EXISTS(shell::MakeIdName.Clip())) return name;
    shell::FileUse codesInUse(shell::MakeIdFile());
    MAK.MAKEID = kCustomBrandCode;
    fw::File& codes = shell::MAKEID();
    fw::GET(codes, codes.FindKey("MAK:KMAKEID"));
    if (fw::ERRORCODE() == 0 && !MAK.MAKEDESC.Clip().empty()) name = MAK.MAKEDESC.Str();
    fw::SetError(0);
    return name;
}

// The pass over the view, then the preview or the print.
void RunManagementReport(shell::ProgressPlan& plan, Report& report, const char* previewTitle,
                         ReportPreviewer& previewer) {
    plan.texts.caption = "Generating Report";
    if (shell::RunProgressProcess(plan) != shell::PassState::Completed) return;
    PageList pages = report.Finish();
    DeliverReport(previewer, pages, {previewTitle, "Page Width", {}});
}

}  // namespace

void PrintSongTrackListing() {
    shell::ActionOutcome() = shell::outcome::Cancelled;
    ReportPreviewer previewer;
    if (ReportDestinationWindow(previewer) == 1) return;
    shell::FileUse discsInUse(shell::SBDiscsFile());
    shell::FileUse bookInUse(shell::SongBookFile());
    fw::File& discs = shell::SBDiscs();
    fw::File& book = shell::SongBook();

    Report report(ManagementDefinition("Song Track Listing by Disc ID & Track",
                                       {{"SBD:ALTDISKID", "Disc ID", 500, 1350},
                                        {"SBK:ARTIST", "Artist", 1900, 2750},
                                        {"SBK:TITLE", "Song Title", 4700, 2750},
                                        {"SBK:DISKTRACKNO", "Track", 7500, 500}}));
    shell::ViewSource view(discs, discs.FindKey("SBD:KALTDISKID"), shell::ActionMovesKey::No);
    view.joins = [&book](fw::View& v) { v.Join(book.FindKey("SBK:KUnqDiskID"), {"SBD:UNQDISKID"}); };
    shell::ProgressPlan plan(view);
    plan.estimate = [&discs] { return fw::RECORDS(discs); };
    plan.action = [&report] {
        report.Element("SBD:ALTDISKID").text = SBD.ALTDISKID.Str();
        report.Element("SBK:ARTIST").text = SBK.Artist.Str();
        report.Element("SBK:TITLE").text = SBK.Title.Str();
        report.Element("SBK:DISKTRACKNO").text = SBK.DISKTRACKNO == 0 ? "" : std::to_string(SBK.DISKTRACKNO);
        report.Print("DETAIL");
    };
    RunManagementReport(plan, report, "Song Track Report Preview", previewer);
}

void PrintDiscInventory() {
    shell::ActionOutcome() = shell::outcome::Cancelled;
    ReportPreviewer previewer;
    if (ReportDestinationWindow(previewer) == 1) return;
    shell::FileUse brandsInUse(shell::DMakeFile());
    shell::FileUse discsInUse(shell::SBDiscsFile());
    fw::File& brands = shell::DMake();
    fw::File& discs = shell::SBDiscs();

    Report report(ManagementDefinition("Disc Inventory Report", {{"BRA:MAKE", "Mfr./Brand/Series", 500, 3400},
                                                                 {"SBD:ALTDISKID", "Custom Disc ID", 4100, 1900},
                                                                 {"SBD:UNQDISKID", "Mfr. Disc ID", 6100, 1900}}));
    // The discs whose brand is unknown come first, under a blank brand;
    // then the brands in name order, each with its discs.
    struct Row {
        std::string alt, unq;
    };
    std::vector<Row> unknownBrand, custom;
    std::size_t nextUnknown = 0, nextCustom = 0;
    // The host's own discs carry the custom brand code: they are listed
    // under that brand, as the song-book window shows them, whatever real
    // brand shares their brand number.
    const std::string customBrand = CustomBrandName();
    fw::View byBrand(brands);
    byBrand.Join(discs.FindKey("SBD:KMAKEID"), {"BRA:MakeID"});
    byBrand.SetFilter("BRA:MakeID = SBD:MakeID");
    std::string brand, alt, unq;
    shell::StepSource step(
        [&]() -> int {
            if (nextUnknown < unknownBrand.size()) {
                const Row& row = unknownBrand[nextUnknown++];
                brand.clear();
                alt = row.alt;
                unq = row.unq;
                return 0;
            }
            if (nextCustom < custom.size()) {
                const Row& row = custom[nextCustom++];
                brand = customBrand;
                alt = row.alt;
                unq = row.unq;
                return 0;
            }
            do fw::NEXT(byBrand);
            while (fw::ERRORCODE() == 0 && IsCustomDisc());
            if (fw::ERRORCODE() != 0) return fw::ERRORCODE();
            brand = BRA.MAKE.Str();
            alt = SBD.ALTDISKID.Str();
            unq = SBD.UNQDISKID.Str();
            return 0;
        },
        "SBDiscs");
    step.start = [&] {
        fw::SET(discs.FindKey("SBD:KALTDISKID"));
        for (fw::NEXT(discs); fw::ERRORCODE() == 0; fw::NEXT(discs)) {
            const Row row{SBD.ALTDISKID.Str(), SBD.UNQDISKID.Str()};
            if (IsCustomDisc()) {
                custom.push_back(row);
                continue;
            }
            BRA.MakeID = SBD.MakeID;
            fw::GET(brands, brands.FindKey("BRA:KMAKEID"));
            if (fw::ERRORCODE() != 0) unknownBrand.push_back(row);
        }
        fw::SET(brands.FindKey("BRA:KMAKE"));
        fw::OPEN(byBrand, fw::ReadWrite | fw::DenyWrite);
        if (fw::ERRORCODE() != 0) shell::ShowWarningNoText(36);
    };
    shell::ProgressPlan plan(step);
    plan.estimate = [] { return 500L; };
    plan.quickScan = {&brands};
    plan.action = [&] {
        report.Element("BRA:MAKE").text = brand;
        report.Element("SBD:ALTDISKID").text = alt;
        report.Element("SBD:UNQDISKID").text = unq;
        report.Print("DETAIL");
    };
    RunManagementReport(plan, report, "Disc Inventory Report Preview", previewer);
    fw::CLOSE(byBrand);
}

}  // namespace printing
