#include "songbase/custom_disc_ids.h"

#include "platform/data/file_ops.h"
#include "platform/os/beep.h"
#include "platform/runtime/error_state.h"
#include "platform/text/numbers.h"
#include "platform/text/picture.h"
#include "platform/text/strings.h"
#include "platform/ui/message.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"

#include <algorithm>
#include <cmath>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

namespace {

// Restores SBD (and the error state) on the way out of a look-up.
struct KeptDisc {
    KeptDisc() : disc(SBD) {}
    ~KeptDisc() {
        SBD = disc;
        fw::ClearError();
    }
    shell::SBDiscsRec disc;
};

}  // namespace

std::int64_t CustomIdNumber(std::string_view id) {
    const std::string text = fw::DEFORMAT(id);
    if (!fw::IsNumericText(text)) return 0;
    const double value = fw::NumericValue(text);
    if (!std::isfinite(value)) return 0;
    const double whole = std::trunc(value);
    if (whole > static_cast<double>(kMaxCustomNumber) || whole < -static_cast<double>(kMaxCustomNumber)) return 0;
    return static_cast<std::int64_t>(whole);
}

std::string ClipCustomId(std::string_view id) {
    return fw::CLIP(fw::CLIP(id).substr(0, std::min(kCustomIdLength, fw::CLIP(id).size())));
}

std::int64_t HighestCustomNumber(const shell::TagList& tags) {
    std::int64_t highest = 0;
    {
        KeptDisc kept;
        fw::File& discs = shell::SBDiscs();
        fw::SET(discs);
        for (fw::NEXT(discs); fw::ERRORCODE() == 0; fw::NEXT(discs))
            highest = std::max(highest, CustomIdNumber(SBD.ALTDISKID.Clip()));
    }
    for (const shell::TagEntry& e : tags.Entries()) highest = std::max(highest, CustomIdNumber(e.alt));
    return highest;
}

std::int64_t NextCustomNumber(const shell::TagList& tags) { return HighestCustomNumber(tags) + 1; }

std::string NumberedCustomId(std::string_view prefix, std::int64_t number, std::string_view suffix) {
    return ClipCustomId(fw::CLIP(prefix) + std::to_string(number) + fw::CLIP(suffix));
}

bool DiscInBook(std::string_view unq, std::string* altInBook) {
    KeptDisc kept;
    fw::File& discs = shell::SBDiscs();
    SBD.UNQDISKID = fw::CLIP(unq);
    fw::GET(discs, discs.FindKey("SBD:KUNQDISKID"));
    if (fw::ERRORCODE() != 0) return false;
    if (altInBook) *altInBook = SBD.ALTDISKID.Str();
    return true;
}

CustomIdProblem CheckCustomId(std::string_view id, const shell::TagList& tags, std::string_view unq) {
    const std::string clipped = ClipCustomId(id);
    if (clipped.empty()) return CustomIdProblem::Blank;
    if (tags.CustomIdUsed(clipped, unq)) return CustomIdProblem::UsedByTag;
    KeptDisc kept;
    fw::File& discs = shell::SBDiscs();
    SBD.ALTDISKID = clipped;
    fw::GET(discs, discs.FindKey("SBD:KALTDISKID"));
    if (fw::ERRORCODE() == 0 && !shell::SameDiscId(SBD.UNQDISKID.Clip(), unq)) return CustomIdProblem::UsedInBook;
    return CustomIdProblem::None;
}

std::string_view CustomIdProblemText(CustomIdProblem problem) {
    switch (problem) {
    case CustomIdProblem::Blank: return kCustomIdBlankText;
    case CustomIdProblem::UsedByTag:
    case CustomIdProblem::UsedInBook: return kCustomIdUsedText;
    case CustomIdProblem::None: break;
    }
    return {};
}

std::string DiscAlreadyAddedText(std::string_view altInBook) {
    fw::FString<15> alt{altInBook};  // with its trailing blanks, as stored
    return "This disc has already been added to this SongBook.||Custom Disc ID: " + std::string(alt.data, 15) +
           "||To preserve data integrity duplicate disc entries are not allowed.";
}

std::string CustomIdRefusedText(std::string_view unq, std::string_view id, CustomIdProblem problem) {
    const std::string disc = "Disc " + fw::CLIP(unq) + " has not been tagged.||";
    if (problem == CustomIdProblem::Blank) return disc + "Its Custom Disc ID would be blank.";
    const std::string where = problem == CustomIdProblem::UsedByTag ? "by another tagged disc." : "in this SongBook.";
    return disc + "Its Custom Disc ID " + ClipCustomId(id) + " is already used " + where;
}

void RefuseDiscAlreadyAdded(std::string_view altInBook) {
    fw::BEEP();
    fw::MESSAGE(DiscAlreadyAddedText(altInBook), kDiscAlreadyAddedCaption, fw::Icon::Hand, fw::Button::Ok);
}

void RefuseCustomId(std::string_view unq, std::string_view id, CustomIdProblem problem) {
    fw::BEEP();
    fw::MESSAGE(CustomIdRefusedText(unq, id, problem), CustomIdProblemText(problem), fw::Icon::Hand, fw::Button::Ok);
}

}  // namespace songbase
