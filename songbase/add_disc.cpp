#include "songbase/add_disc.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/warnings.h"
#include "shell/window_placement.h"
#include "songbase/own_track_lists.h"
#include "songbase/own_tracks.h"

#include <cstdint>
#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

namespace {

constexpr const char* kCustomCheck = "?ISCUSTOM";
constexpr const char* kCustomIdEntry = "?SBD:ALTDISKID";
constexpr const char* kBrandList = "?SBD:MAKEID";
constexpr const char* kBrandCodeCombo = "?SBD:MAKETYPE";
constexpr const char* kPlacementFile = "songbook.ini";
constexpr const char* kPlacementSection = "adddisc";

// A custom disc needs nothing more: the brand groups give way to the texts.
void ShowCustom(bool custom) {
    for (const char* group : {"?GROUP2", "?GROUP3", "?GROUP4"}) {
        if (custom) fw::HIDE(group);
        else fw::UNHIDE(group);
    }
    for (const char* text : {"?STRING1", "?STRING1:2", "?STRING1:3"}) {
        if (custom) fw::UNHIDE(text);
        else fw::HIDE(text);
    }
}

void TakeCustomCheck(std::uint8_t custom) {
    SBD.MakeID = 0;
    SBD.MAKETYPE = custom ? kCustomBrandCode : "";
    ShowCustom(custom != 0);
}

// "Ok": the checks, then the disc; false while the window stays. After a
// refusal the whole record is as the user entered it.
bool AddTheDisc(std::uint8_t custom) {
    if (SBD.ALTDISKID.Blank()) {
        fw::MESSAGE(kCustomIdRequiredText);
        fw::SELECT(kCustomIdEntry);
        return false;
    }
    const shell::SBDiscsRec entered = SBD;
    if (SBD.UNQDISKID.Blank()) SBD.UNQDISKID = SBD.ALTDISKID;
    if (custom) {
        SBD.MakeID = kCustomBrandNumber;
        SBD.MAKETYPE = kCustomBrandCode;
        SBD.UNQDISKID = SBD.ALTDISKID;
    }
    std::string existing;
    const NewDiscProblem problem = CheckNewDisc(&existing);
    if (problem == NewDiscProblem::CustomIdUsed) fw::MESSAGE(kCustomIdUsedText);
    if (problem == NewDiscProblem::UniqueIdExists) fw::MESSAGE(DiscExistsText(existing));
    if (problem == NewDiscProblem::None) {
        fw::ADD(shell::SBDiscs());
        if (fw::ERRORCODE() == 0) {
            SBK.UnqDiskID = SBD.ALTDISKID;
            return true;
        }
        shell::ShowWarningNoText(14);
    }
    SBD = entered;
    fw::DISPLAY();
    fw::SELECT(kCustomIdEntry);
    return false;
}

}  // namespace

void AddDisc() {
    struct Outcome {
        ~Outcome() { shell::ActionOutcome() = shell::outcome::Cancelled; }
    } outcome;
    fw::ClearRecord(&SBD, shell::SBDiscsRec::Decl());
    std::uint8_t isCustom = 0;
    shell::FileUse brands(shell::DMakeFile());
    shell::FileUse discs(shell::DiscsFile());
    shell::FileUse codes(shell::MakeIdFile(), false);
    shell::FileUse bookDiscs(shell::SBDiscsFile());

    fw::Window window{std::string(kAddDiscWindow)};
    window.Use(kCustomCheck, isCustom);
    window.Use(kCustomIdEntry, SBD.ALTDISKID);
    window.Use("?SBD:UNQDISKID", SBD.UNQDISKID);
    window.Use(kBrandList, SBD.MakeID);
    window.Use(kBrandCodeCombo, SBD.MAKETYPE);
    window.Open();
    fw::SetSystemIcon("~songbook.ico");
    shell::RestoreWindowPlacement(kPlacementFile, kPlacementSection);
    TakeCustomCheck(isCustom);

    BrandCodes brandCodes;
    bool added = false;
    while (fw::ACCEPT()) {
        const int event = fw::EVENT();
        if (event == fw::Event::OpenWindow) {
            const std::optional<std::string> brandRows = ReadBrandRows();
            std::optional<BrandCodes> read = brandRows ? ReadBrandCodes() : std::nullopt;
            if (!read) {
                fw::POST(fw::Event::CloseWindow);
                continue;
            }
            brandCodes = std::move(*read);
            fw::SetProp(kBrandList, fw::Prop::From, *brandRows);
            fw::SetProp(kBrandCodeCombo, fw::Prop::From, brandCodes.from);
            fw::DISPLAY();
            fw::SELECT(kCustomIdEntry);
            continue;
        }
        if (event == fw::Event::CloseWindow) {
            shell::SaveWindowPlacement(kPlacementFile, kPlacementSection);
            continue;
        }
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == 0) continue;
        if (accepted == kCustomCheck) {
            TakeCustomCheck(isCustom);
            fw::DISPLAY();
        } else if (accepted == kBrandList) {
            SBD.MAKETYPE = ProposedBrandCode(SBD.MakeID);
            fw::DISPLAY(kBrandCodeCombo);
        } else if (accepted == kBrandCodeCombo) {
            if (const auto code = brandCodes.Find(SBD.MAKETYPE.Clip())) {
                SBD.MAKETYPE = *code;
                fw::DISPLAY(kBrandCodeCombo);
            } else if (!SBD.MAKETYPE.Blank()) {
                fw::SELECT(kBrandCodeCombo);
            }
        } else if (accepted == "?OKBUTTON") {
            if (AddTheDisc(isCustom)) {
                added = true;
                fw::POST(fw::Event::CloseWindow);
            }
        } else if (accepted == "?CANCELBUTTON") {
            fw::POST(fw::Event::CloseWindow);
        }
    }
    if (!added) fw::ClearRecord(&SBD, shell::SBDiscsRec::Decl());
}

}  // namespace songbase
