#include "printing/cd_label_reports.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/os/beep.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/message.h"
#include "printing/label_settings.h"
#include "printing/report_delivery.h"
#include "printing/report_destination.h"
#include "printing/tag_file.h"
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

TextFont Arial(int size, int style = 400) { return {"Arial", size, style, kBlack}; }

Element TextAt(const char* name, Rect rect, TextFont font, Align align = Align::Left) {
    Element e;
    e.name = name;
    e.rect = rect;
    e.font = std::move(font);
    e.align = align;
    e.shrinkToFit = true;  // a text too wide for its place on the label prints smaller, whole
    return e;
}

Element Circle(const char* name, int y) {
    Element e;
    e.name = name;
    e.kind = ElementKind::Ellipse;
    e.rect = {1771, y, 5000, 5000};
    return e;
}

// Full size: the whole page is the detail area; a label is its header,
// 18 track rows and its footer, 4940 in all, so two fit a sheet.
ReportDefinition CdLabelDefinition() {
    static const BandRow bands[] = {
        {"FORM", BandRole::Form, 0, 0, 0},
        {"LABELHEADER", BandRole::Detail, 0, 0, 1875},
        {"LABELDETAIL", BandRole::Detail, 0, 0, 135},
        {"LABELFOOTER", BandRole::Detail, 0, 0, 635},
    };
    const ElementRow elements[] = {
        {"FORM", Circle("UPPERCIRCLE", 510)},
        {"FORM", Circle("LOWERCIRCLE", 5521)},
        {"LABELHEADER", TextAt("BRA:MAKE", {2688, 1271, 3400, 190}, Arial(12, 700))},
        {"LABELHEADER", TextAt("SBK:UNQDISKID", {3646, 1458, 2300, 130}, Arial(8))},
        {"LABELHEADER", TextAt("SBD:ALTDISKID", {2833, 1563, 3300, 290}, Arial(18, 700))},
        // The track number ends a little before its title, so "10." never touches it.
        {"LABELDETAIL", TextAt("LEFTTRACK", {2200, 0, 190, 135}, Arial(8, 700), Align::Right)},
        {"LABELDETAIL", TextAt("LEFTTITLE", {2427, 0, 1156, 135}, Arial(8, 700))},
        {"LABELDETAIL", TextAt("RIGHTTRACK", {5034, 0, 190, 135}, Arial(8, 700), Align::Right)},
        {"LABELDETAIL", TextAt("RIGHTTITLE", {5260, 0, 1156, 135}, Arial(8, 700))},
        {"LABELFOOTER", TextAt("LABELFOOTER", {3250, 135, 2500, 135}, Arial(8, 700))},
        {"LABELFOOTER", TextAt("BYLINE", {2604, 375, 3365, 100}, Arial(6), Align::Centre)},
    };
    ReportDefinition d = BuildDefinition({}, bands, elements);
    d.detailArea = {0, 0, d.paper.Width(), d.paper.Height()};
    return d;
}

// Mini-labels: 4 across and 20 down at a pitch of 1938 by 490 from
// (125, 490); each label's texts lie 115 across and 10 down in its cell.
ReportDefinition MiniLabelDefinition() {
    static const BandRow bands[] = {{"MINILABEL", BandRole::Detail, 115, 10, 490}};
    const ElementRow elements[] = {
        {"MINILABEL", TextAt("SBD:UNQDISKID", {73, 31, 1823, 100}, Arial(6))},
        {"MINILABEL", TextAt("SBD:ALTDISKID", {10, 135, 1927, 230}, Arial(14, 700))},
        {"MINILABEL", TextAt("LABELFOOTER", {63, 365, 1823, 100}, Arial(6))},
    };
    ReportDefinition d = BuildDefinition({}, bands, elements);
    d.flow = Flow::Grid;
    d.grid = {125, 490, 1938, 490, 4, 20};
    return d;
}

void ColourEveryText(Report& r, Color color) {
    for (Band& b : r.Bands())
        for (Element& e : b.elements)
            if (e.kind == ElementKind::Text) e.font.color = color;
}

}  // namespace

std::string LabelByLine() {
    return shell::ProgramTitle.Str() + " - " + std::string(GLO.COMPANYNAME.Clip());
}

CdLabelSheets::CdLabelSheets(int labels) : report_(CdLabelDefinition()), labels_(labels) {
    const LabelSettingsValues& s = LabelSettings();
    ColourEveryText(report_, s.LabelTextColor);
    report_.Element("LABELFOOTER").text = s.LABELFOOTER.Str();
    report_.Element("BYLINE").text = LabelByLine();
    // A sheet starts with a label on its upper circle; the lower one is
    // filled only when another label follows on it.
    report_.OnPageStart([this](int, int) {
        const Color back = LabelSettings().LabelBackColor;
        report_.Element("UPPERCIRCLE").fill = back;
        report_.Element("LOWERCIRCLE").fill = labels_ - printed_ >= 2 ? back : kNoColor;
    });
}

void CdLabelSheets::Print(const LabelDisc& disc) {
    const LabelSettingsValues& s = LabelSettings();
    report_.Element("BRA:MAKE").text = disc.brand;
    report_.Element("SBK:UNQDISKID").text = disc.unq;
    report_.Element("SBD:ALTDISKID").text = disc.alt;
    report_.Print("LABELHEADER");
    for (const LabelRow& row : LabelRows(BuildLabelTrackList(disc.tracks))) {
        report_.Element("LEFTTRACK").text = row.left.track;
        report_.Element("LEFTTITLE").text = row.left.title;
        report_.Element("RIGHTTRACK").text = row.right.track;
        report_.Element("RIGHTTITLE").text = row.right.title;
        // A filler's "." is drawn in the circle's colour, so it does not show.
        report_.Element("LEFTTRACK").font.color = row.filler ? s.LabelBackColor : s.LabelTextColor;
        report_.Print("LABELDETAIL");
    }
    report_.Element("LEFTTRACK").font.color = s.LabelTextColor;
    report_.Print("LABELFOOTER");
    ++printed_;
}

MiniLabelSheets::MiniLabelSheets() : report_(MiniLabelDefinition()) {
    const LabelSettingsValues& s = LabelSettings();
    ColourEveryText(report_, s.LabelTextColor);
    report_.Element("LABELFOOTER").text = s.LABELFOOTER.Str();
}

void MiniLabelSheets::Print(const LabelDisc& disc) {
    report_.Element("SBD:UNQDISKID").text = disc.unq;
    report_.Element("SBD:ALTDISKID").text = disc.alt;
    report_.Print("MINILABEL");
}

namespace {

// A look-up's outcome: found, not there (blank fields), or an error that
// ends the report.
bool ReadFailed() { return fw::ERRORCODE() != 0 && fw::ERRORCODE() != fw::BadRecErr && fw::ERRORCODE() != fw::RecordNotAvailable; }

// The tagged disc's brand and, for full-size labels, its tracks 1 to 24.
// False after a read error (warning 35 shown).
bool LookUpDisc(const LabelTag& tag, bool withTracks, const char* label, LabelDisc& disc) {
    disc = LabelDisc{.brand = "", .unq = tag.unq, .alt = tag.alt, .tracks = {}};
    fw::File& discs = shell::SBDiscs();
    fw::ClearRecord(&SBD, *shell::SBDiscsFile().record);
    SBD.ALTDISKID = tag.alt;
    fw::GET(discs, discs.FindKey("SBD:KALTDISKID"));
    const bool discFound = fw::ERRORCODE() == 0;
    if (ReadFailed()) return shell::ShowWarningOneText(35, label), false;
    if (!discFound) fw::ClearRecord(&SBD, *shell::SBDiscsFile().record);
    if (!withTracks) return true;
    if (discFound) {
        fw::File& brands = shell::DMake();
        fw::ClearRecord(&BRA, *shell::DMakeFile().record);
        BRA.MakeID = SBD.MakeID;
        fw::GET(brands, brands.FindKey("BRA:KMAKEID"));
        if (ReadFailed()) return shell::ShowWarningOneText(35, label), false;
        if (fw::ERRORCODE() == 0) disc.brand = BRA.MAKE.Str();
    }
    fw::File& book = shell::SongBook();
    for (int track = 1; track <= kLabelLastTrack; ++track) {
        fw::ClearRecord(&SBK, *shell::SongBookFile().record);
        SBK.UnqDiskID = tag.unq;
        SBK.DISKTRACKNO = static_cast<std::uint32_t>(track);
        fw::GET(book, book.FindKey("SBK:KUnqDiskID"));
        if (ReadFailed()) return shell::ShowWarningOneText(35, label), false;
        if (fw::ERRORCODE() == 0) disc.tracks.push_back({track, SBK.Title.Str()});
    }
    return true;
}

bool ConfirmLabelsLoaded(const char* what) {
    fw::BEEP();
    return fw::MESSAGE(std::string("Please ensure that you have compatable ") + what +
                           " loaded in your printer|Refer to the users manual for supported labels.|Proceed with "
                           "printing?",
                       "Load Print Labels", fw::Icon::Question, fw::Button::Yes + fw::Button::No,
                       fw::Button::Yes) == fw::Button::Yes;
}

// The common run of both reports: destination, the tagged discs a
// progress pass at 25 a tick, then the preview or the print.
template <class Sheets>
bool RunLabelReport(bool fullSize) {
    shell::ActionOutcome() = shell::outcome::Cancelled;
    // TAGFILE is read before the destination window waits for the user, so
    // another label setup writing it meanwhile cannot change these labels.
    std::vector<LabelTag> tags;
    std::string error;
    if (!ReadTagFile(tags, error)) {
        shell::ShowWarningOneText(35, "TagFile");
        return false;
    }
    ReportPreviewer previewer;
    if (ReportDestinationWindow(previewer) == 1) return false;
    shell::FileUse discsInUse(shell::SBDiscsFile());
    std::unique_ptr<shell::FileUse> bookInUse, brandsInUse;
    if (fullSize) {
        bookInUse = std::make_unique<shell::FileUse>(shell::SongBookFile());
        brandsInUse = std::make_unique<shell::FileUse>(shell::DMakeFile());
    }
    Sheets sheets = [&] {
        if constexpr (std::is_same_v<Sheets, CdLabelSheets>) return CdLabelSheets(static_cast<int>(tags.size()));
        else return MiniLabelSheets();
    }();
    std::size_t next = 0;
    const LabelTag* current = nullptr;
    const char* label = fullSize ? "TagFile" : "SBDiscs";
    shell::StepSource step(
        [&] {
            if (next >= tags.size()) return static_cast<int>(fw::RecordNotAvailable);
            current = &tags[next++];
            return 0;
        },
        label);
    shell::ProgressPlan plan(step);
    plan.estimate = [&] { return static_cast<long>(tags.size()); };
    plan.texts.caption = fullSize ? "Generating CD Labels" : "Generating Mini-Labels";
    plan.action = [&] {
        LabelDisc disc;
        if (!LookUpDisc(*current, fullSize, label, disc)) return shell::PassState::Failed;
        sheets.Print(disc);
        return shell::PassState::Running;
    };
    if (shell::RunProgressProcess(plan) != shell::PassState::Completed) {
        shell::ActionOutcome() = shell::outcome::Cancelled;
        return false;
    }
    fw::report::PageList pages = sheets.Finish();
    const bool printed =
        DeliverReport(previewer, pages,
                      {fullSize ? "CD Label Previewer" : "SongBook Preview", "No Zoom",
                       [fullSize] { return ConfirmLabelsLoaded(fullSize ? "CD labels" : "labels"); }});
    shell::ActionOutcome() = shell::outcome::Completed;
    return printed;
}

}  // namespace

void PrintCdLabels() { RunLabelReport<CdLabelSheets>(true); }
void PrintMiniLabels() { RunLabelReport<MiniLabelSheets>(false); }

bool PrintLabelsOfType(int labelType) {
    if (labelType == label_type::FullSize) return RunLabelReport<CdLabelSheets>(true);
    if (labelType == label_type::Mini) return RunLabelReport<MiniLabelSheets>(false);
    return false;
}

}  // namespace printing
