#include "printing/cd_label_setup.h"

#include <string>
#include <vector>

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "printing/cd_label_reports.h"
#include "printing/label_settings.h"
#include "printing/tag_file.h"
#include "shell/browse_page.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/help_convention.h"
#include "shell/tag_list.h"
#include "shell/tag_scheme.h"

#include "shell/data_dictionary_prefixes.h"

namespace printing {
namespace {

constexpr const char* kWindow = "P1$CDLABELSETUP";
constexpr const char* kList = "?LIST";
constexpr const char* kTextColourButton = "?BUTTON9";
constexpr const char* kBackColourButton = "?BUTTON9:2";
constexpr const char* kPrintButton = "?PRINTLABELS";
constexpr const char* kCloseButton = "?CANCEL";
constexpr const char* kHelpButton = "?HELP";
constexpr const char* kSampleTexts[] = {"?SAMPLEBRAND",  "?SAMPLEORIGINAL", "?SAMPLEALTERNATE", "?SAMPLETRACKS",
                                        "?SAMPLEFOOTER", "?MINIORIGINAL",   "?MINIALTERNATE",   "?MINITRACKS",
                                        "?MINIFOOTER"};

// A disc is tagged when a tag holds both its IDs.
bool SamePair(const shell::TagEntry& e, const std::string& unq, const std::string& alt) {
    return shell::SameDiscId(e.unq, unq) && shell::SameDiscId(e.alt, alt);
}

// Every disc of the book, by its two IDs.
std::vector<shell::TagEntry> BookDiscs() {
    std::vector<shell::TagEntry> discs;
    fw::File& file = shell::SBDiscs();
    fw::SET(file);
    for (fw::NEXT(file); fw::ERRORCODE() == 0; fw::NEXT(file)) discs.push_back({SBD.UNQDISKID.Str(), SBD.ALTDISKID.Str()});
    return discs;
}

std::vector<LabelTag> LabelTags(const shell::TagList& tags) {
    std::vector<LabelTag> out;
    for (const shell::TagEntry& e : tags.Entries()) out.push_back({e.unq, e.alt});
    return out;
}

bool WriteTags(const shell::TagList& tags, const char* consequence) {
    std::string error;
    if (WriteTagFile(LabelTags(tags), error)) return true;
    fw::MESSAGE(error + "|" + consequence, "TagFile", fw::Icon::Exclamation, fw::Button::Ok);
    return false;
}

struct LabelSetupWindow {
    LabelSetupWindow() : list(kList, {}), scheme(kList, {}, Semantics()), browse(Plan(), list) { scheme.Attach(browse); }

    shell::BrowsePlan Plan() {
        shell::BrowsePlan desc;
        desc.primary = &shell::SBDiscs();
        desc.orders = {{shell::SBDiscs().FindKey("SBD:KALTDISKID")}};
        desc.columns = [this] { return fw::ui::ListRow{scheme.Mark(), SBD.UNQDISKID.Str(), SBD.ALTDISKID.Str()}; };
        desc.check = [this] { return scheme.Shows(); };
        return desc;
    }
    shell::TagSemantics Semantics() {
        shell::TagSemantics t;
        t.isTagged = [this] {
            const std::string unq = SBD.UNQDISKID.Str(), alt = SBD.ALTDISKID.Str();
            return tags.Find([&](const shell::TagEntry& e) { return SamePair(e, unq, alt); }) != nullptr;
        };
        t.toggle = [this] {
            const std::string unq = SBD.UNQDISKID.Str(), alt = SBD.ALTDISKID.Str();
            if (tags.RemoveIf([&](const shell::TagEntry& e) { return SamePair(e, unq, alt); }) == 0)
                tags.Add({unq, alt});
        };
        t.tagAll = [this] {
            tags.Clear();
            for (shell::TagEntry& disc : BookDiscs()) tags.Add(std::move(disc));
        };
        t.untagAll = [this] { tags.Clear(); };
        t.reverse = [this] {
            const std::vector<shell::TagEntry> were = tags.Take();
            for (shell::TagEntry& disc : BookDiscs()) {
                bool tagged = false;
                for (const shell::TagEntry& e : were) tagged = tagged || SamePair(e, disc.unq, disc.alt);
                if (!tagged) tags.Add(std::move(disc));
            }
        };
        return t;
    }

    shell::TagList tags;
    shell::WindowBrowseList list;
    shell::TagScheme scheme;
    shell::PagedBrowse browse;
};

void ColourSamples(long text, long back) {
    for (const char* sample : kSampleTexts) fw::SetProp(sample, fw::Prop::FontColor, text);
    fw::SetProp("?SAMPLECIRCLE", fw::Prop::Fill, back);
}

void PrintLabels(LabelSetupWindow& w) {
    if (w.tags.Empty()) {
        fw::MESSAGE("Please tag the disc(s) you|wish to print labels for...", "No Disc(s) Selected",
                    fw::Icon::Exclamation, fw::Button::Ok);
        return;
    }
    // The tags stay when TAGFILE cannot be written, so nothing is lost;
    // they are cleared only once the labels went to the printer (not when
    // the host cancelled, answered No, or the printer refused the job).
    if (!WriteTags(w.tags, "No labels were printed.")) return;
    if (PrintLabelsOfType(LabelSettings().LABELTYPE)) w.tags.Clear();
    w.browse.ReloadPage(shell::ReloadKind::Keep);
}

}  // namespace

void CdLabelSetup() {
    struct Outcome {
        ~Outcome() { shell::ActionOutcome() = shell::outcome::Cancelled; }
    } outcome;
    LabelSettingsValues& s = LabelSettings();
    s.LabelTextColor = fw::report::kBlack;
    s.LabelBackColor = fw::report::kWhite;
    shell::FileUse discsInUse(shell::SBDiscsFile());

    fw::SetSystemIcon("~songbook.ico");
    fw::Window window(kWindow);
    window.Use("?LABELTYPE", s.LABELTYPE);
    window.Use("?LABELFOOTER", s.LABELFOOTER);
    window.Open();
    LabelSetupWindow w;
    w.scheme.Opened();
    ColourSamples(s.LabelTextColor, s.LabelBackColor);

    while (fw::ACCEPT()) {
        const int event = fw::EVENT();
        const fw::FieldId field = fw::FIELD();
        const int key = fw::KEYCODE();
        if (event == fw::Event::GainFocus) w.browse.RequestResync();
        w.browse.TakeEvent(event, field, key);
        if (w.scheme.TakeEvent(event, field, key)) {
            w.browse.SyncBrowse();
            continue;
        }
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == kTextColourButton || accepted == kBackColourButton) {
            const bool text = accepted == kTextColourButton;
            long colour = text ? s.LabelTextColor : s.LabelBackColor;
            if (fw::COLORDIALOG(text ? "Select Label Text Color" : "Select CD Label Background Color", colour))
                (text ? s.LabelTextColor : s.LabelBackColor) = static_cast<fw::report::Color>(colour);
            ColourSamples(s.LabelTextColor, s.LabelBackColor);
            w.browse.ReloadPage(shell::ReloadKind::Keep);
        } else if (accepted == kPrintButton) {
            w.browse.RereadHighlighted();
            PrintLabels(w);
        } else if (accepted == kHelpButton) {
            shell::ShowProgramHelp("PrintingLabels.htm");
        } else if (accepted == kCloseButton) {
            fw::POST(fw::Event::CloseWindow);
        }
        w.browse.SyncBrowse();
    }
    WriteTags(w.tags, "The tagged discs were not kept.");
}

}  // namespace printing
