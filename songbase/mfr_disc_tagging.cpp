#include "songbase/mfr_disc_tagging.h"

#include "platform/data/file_ops.h"
#include "platform/data/read_together.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_files.h"
#include "songbase/custom_disc_ids.h"

#include <optional>


#include "shell/data_dictionary_prefixes.h"

namespace songbase {

namespace {

struct WaitCursor {
    explicit WaitCursor(bool on) : on(on) {
        if (on) fw::SETCURSOR(fw::Cursor::Wait);
    }
    ~WaitCursor() {
        if (on) fw::SETCURSOR();
    }
    bool on;
};

}  // namespace

std::vector<MfrDisc> DiscsOfBrand(std::int32_t makeId) {
    std::vector<MfrDisc> out;
    const shell::DiscsRec kept = DIS;
    fw::File& discs = shell::Discs();
    const fw::Key key = discs.FindKey("DIS:KMAKEID");
    fw::ClearRecord(&DIS, shell::DiscsRec::Decl());
    DIS.MakeID = makeId;
    fw::SET(key, key);
    for (fw::NEXT(discs); fw::ERRORCODE() == 0 && DIS.MakeID == makeId; fw::NEXT(discs))
        out.push_back({DIS.UnqDiskID.Str(), DIS.DISKID.Str()});
    DIS = kept;
    fw::ClearError();
    return out;
}

MfrDiscTagging::MfrDiscTagging(shell::TagList& tags, Prompt prompt, Options options)
    : tags_(tags), prompt_(std::move(prompt)), options_(std::move(options)) {}

MfrDiscTagging::Refusal MfrDiscTagging::Check(shell::TagEntry& entry, bool inBookChecked) const {
    // Checked again after a prompt: it may have waited while FastFind or
    // another window tagged the disc, added it to the book or took the ID.
    Refusal r;
    if (IsTagged(entry.unq)) {
        r.silent = true;
        return r;
    }
    if (!inBookChecked && DiscInBook(entry.unq, &r.altInBook)) {
        r.inBook = true;
        return r;
    }
    entry.alt = ClipCustomId(entry.alt);
    r.problem = CheckCustomId(entry.alt, tags_, entry.unq);
    return r;
}

void MfrDiscTagging::Say(const Refusal& r, const shell::TagEntry& entry) {
    if (r.inBook) RefuseDiscAlreadyAdded(r.altInBook);
    else if (r.problem != CustomIdProblem::None) RefuseCustomId(entry.unq, entry.alt, r.problem);
}

bool MfrDiscTagging::AddChecked(shell::TagEntry entry) {
    const Refusal r = Check(entry, false);
    if (r.Refused()) {
        Say(r, entry);
        return false;
    }
    tags_.Add(std::move(entry));
    return true;
}

void MfrDiscTagging::Toggle(const MfrDisc& disc) {
    if (IsTagged(disc.unq)) {
        tags_.RemoveDisc(disc.unq);
        return;
    }
    std::string altInBook;
    if (DiscInBook(disc.unq, &altInBook)) {
        RefuseDiscAlreadyAdded(altInBook);
        return;
    }
    std::optional<shell::TagEntry> entry = prompt_ ? prompt_(disc.unq, tags_) : std::nullopt;
    if (!entry) return;
    entry->unq = disc.unq;
    AddChecked(std::move(*entry));
}

void MfrDiscTagging::TagAll(const std::vector<MfrDisc>& discs) {
    if (!options_ || !options_(tags_)) return;
    const int method = BATCHADDTYPE;
    if (method < 1 || method > 3) return;
    WaitCursor wait(method == 1 || method == 3);
    std::int64_t counter = static_cast<std::int64_t>(BATCHSTARTINGNUMBER) - 1;
    const std::string prefix = BATCHPRE.Str();
    const std::string suffix = BATCHSUF.Str();
    // The book's look-ups share one read lock, let go before a box or a
    // prompt lets other windows run.
    std::optional<fw::ReadTogether> reading;
    for (const MfrDisc& disc : discs) {
        if (IsTagged(disc.unq)) continue;
        ++counter;  // also for a disc refused below
        if (!reading) reading.emplace(std::initializer_list<fw::File*>{&shell::SBDiscs()});
        std::string altInBook;
        if (DiscInBook(disc.unq, &altInBook)) {
            reading.reset();
            RefuseDiscAlreadyAdded(altInBook);
            continue;
        }
        shell::TagEntry entry{disc.unq, {}, 0, {}};
        if (method == 2) {
            reading.reset();
            std::optional<shell::TagEntry> asked = prompt_ ? prompt_(disc.unq, tags_) : std::nullopt;
            if (!asked) continue;
            entry.alt = asked->alt;
            entry.genre = asked->genre;
            AddChecked(std::move(entry));
            continue;
        }
        entry.alt = method == 1 ? NumberedCustomId(prefix, counter, suffix) : disc.unq;
        // Nothing ran since the look-up above: the book needs no second one.
        const Refusal r = Check(entry, true);
        if (r.Refused()) {
            reading.reset();
            Say(r, entry);
            continue;
        }
        tags_.Add(std::move(entry));
    }
}

void MfrDiscTagging::UntagAll(const std::vector<MfrDisc>& discs) {
    for (const MfrDisc& disc : discs) tags_.RemoveDisc(disc.unq);
}

void MfrDiscTagging::Reverse(const std::vector<MfrDisc>& discs) {
    shell::TagList wasTagged;
    for (const shell::TagEntry& e : tags_.Entries()) wasTagged.Add({e.unq, {}, 0, {}});
    tags_.Clear();
    for (const MfrDisc& disc : discs) {
        if (wasTagged.FindDisc(disc.unq)) continue;
        shell::TagEntry entry{disc.unq, ClipCustomId(disc.diskId), 0, {}};
        if (const CustomIdProblem problem = CheckCustomId(entry.alt, tags_, entry.unq); problem != CustomIdProblem::None) {
            RefuseCustomId(entry.unq, entry.alt, problem);
            continue;
        }
        tags_.Add(std::move(entry));
    }
}

}  // namespace songbase
