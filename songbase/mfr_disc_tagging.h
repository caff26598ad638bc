#pragma once
// What tagging means in the add-discs window: the routines behind "&Tag",
// "tag &All", "&Untag all" and "&Rev tags" on the discs of one brand,
// over the window's own tag list. A disc the open book holds already is
// refused; every custom disc ID is checked when the disc is tagged
// (custom_disc_ids.h), also after a prompt returns, since other windows
// run while it waits. SBDiscs must be open on the calling thread.

#include "shell/tag_list.h"
#include "songbase/custom_disc_ids.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace songbase {

// A disc of the Main SongBase as the tagging needs it.
struct MfrDisc {
    std::string unq;     // DIS:UnqDiskID
    std::string diskId;  // DIS:DISKID, the number printed on it
};

// The discs of a brand in DIS:KMAKEID order (Discs open on this thread;
// DIS is left as it was).
std::vector<MfrDisc> DiscsOfBrand(std::int32_t makeId);

class MfrDiscTagging {
public:
    // The custom-ID prompt for one disc: the entry to add, or nothing when
    // cancelled. The window's is CustomDiscId.
    using Prompt = std::function<std::optional<shell::TagEntry>(std::string_view unq, const shell::TagList& tags)>;
    // "MultiTag Options": true when confirmed (the BATCH* settings hold the choice).
    using Options = std::function<bool(const shell::TagList& tags)>;

    MfrDiscTagging(shell::TagList& tags, Prompt prompt, Options options);

    // "&Tag": untags a tagged disc, else asks its custom ID and tags it.
    void Toggle(const MfrDisc& disc);
    // "tag &All" over the brand's discs, by the method chosen in the options.
    void TagAll(const std::vector<MfrDisc>& discs);
    // "&Untag all": the brand's tags go, other brands' stay.
    void UntagAll(const std::vector<MfrDisc>& discs);
    // "&Rev tags": the brand's untagged discs are tagged under their printed
    // disc number, its tagged ones untagged; other brands' tags go.
    void Reverse(const std::vector<MfrDisc>& discs);

    bool IsTagged(std::string_view unq) const { return tags_.FindDisc(unq) != nullptr; }

private:
    // Why an entry is not tagged: tagged already (nothing said), a disc of
    // the book, or its custom ID's problem.
    struct Refusal {
        bool silent = false;
        bool inBook = false;
        std::string altInBook;
        CustomIdProblem problem = CustomIdProblem::None;
        bool Refused() const { return silent || inBook || problem != CustomIdProblem::None; }
    };
    // The checks, the custom ID clipped; the book's disc looked up unless
    // the caller just did.
    Refusal Check(shell::TagEntry& entry, bool inBookChecked) const;
    static void Say(const Refusal& r, const shell::TagEntry& entry);
    // Adds the entry once every check passes; false (said so) when refused.
    bool AddChecked(shell::TagEntry entry);

    shell::TagList& tags_;
    Prompt prompt_;
    Options options_;
};

}  // namespace songbase
