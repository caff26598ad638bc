#include "songbase/own_track_lists.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "platform/text/strings.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"
#include "shell/warnings.h"

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

namespace {

// Reads `file` from the position set before, calling `take` for each record
// until it returns false; false after a read error (warning 35 shown). The
// file's buffer is left as it was.
template <class Rec, class Take>
bool ReadRecords(fw::File& file, Rec& buffer, const char* label, Take take) {
    const Rec kept = buffer;
    fw::NEXT(file);
    while (fw::ERRORCODE() == 0 && take()) fw::NEXT(file);
    const int code = fw::ERRORCODE();
    buffer = kept;
    fw::ClearError();
    if (code != 0 && code != fw::RecordNotAvailable) {
        fw::SetError(code);
        shell::ShowWarningOneText(35, label);
        return false;
    }
    return true;
}

void AppendRow(std::string& from, std::string_view text, std::string_view value) {
    if (!from.empty()) from += '|';
    from.append(text);
    from += "|#";
    from.append(value);
}

}  // namespace

std::optional<std::string> BrandCodes::Find(std::string_view typed) const {
    for (const std::string& c : codes)
        if (fw::CompareFolded(c, typed) == 0) return c;
    return std::nullopt;
}

std::optional<BrandCodes> ReadBrandCodes() {
    fw::File& file = shell::MAKEID();
    fw::SET(file.FindKey("MAK:KMAKEID"));
    BrandCodes out;
    const bool read = ReadRecords(file, MAK, "MAKEID", [&] {
        const std::string code = MAK.MAKEID.Str();
        out.codes.push_back(code);
        AppendRow(out.from, code + "  " + MAK.MAKEDESC.Str(), code);
        return true;
    });
    if (!read) return std::nullopt;
    return out;
}

std::shared_ptr<const fw::PickList> ReadBookCustomIds() {
    fw::File& file = shell::SBDiscs();
    fw::SET(file);
    std::vector<std::string> ids;
    if (!ReadRecords(file, SBD, "SBDiscs", [&] {
            ids.push_back(SBD.ALTDISKID.Str());
            return true;
        }))
        return nullptr;
    return std::make_shared<const fw::PickList>(std::move(ids), fw::PickList::Duplicates::Drop);
}

std::shared_ptr<const fw::PickList> ReadArtistsOfTitle(std::string_view title) {
    std::vector<std::string> artists;
    if (!fw::CLIP(title).empty()) {
        fw::File& file = shell::KARAOKE();
        const fw::Key key = file.FindKey("KAR:KTITLE");
        const shell::KaraokeRec kept = KAR;
        fw::ClearRecord(&KAR, shell::KaraokeRec::Decl());
        KAR.Title = title;
        fw::SET(key, key);
        KAR = kept;
        if (!ReadRecords(file, KAR, "KARAOKE", [&] {
                if (fw::CompareFolded(KAR.Title.View(), title) != 0) return false;
                artists.push_back(KAR.Artist.Str());
                return true;
            }))
            return nullptr;
    }
    return std::make_shared<const fw::PickList>(std::move(artists), fw::PickList::Duplicates::Drop);
}

std::optional<std::string> ReadBrandRows() {
    fw::File& file = shell::DMake();
    fw::SET(file.FindKey("BRA:KMAKE"));
    std::string from;
    if (!ReadRecords(file, BRA, "DMake", [&] {
            AppendRow(from, BRA.MAKE.Str(), std::to_string(BRA.MakeID));
            return true;
        }))
        return std::nullopt;
    return from;
}

std::string ProposedBrandCode(std::int32_t makeId) {
    fw::File& file = shell::Discs();
    const fw::Key key = file.FindKey("DIS:KMAKEID");
    const shell::DiscsRec kept = DIS;
    fw::ClearRecord(&DIS, shell::DiscsRec::Decl());
    DIS.MakeID = makeId;
    fw::SET(key, key);
    fw::NEXT(file);
    std::string code;
    // Only a disc of that brand: the first disc after it may be another brand's.
    if (fw::ERRORCODE() == 0 && DIS.MakeID == makeId) code = std::string(DIS.UnqDiskID.Clip().substr(0, 2));
    DIS = kept;
    fw::ClearError();
    return code;
}

}  // namespace songbase
