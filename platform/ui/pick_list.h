#pragma once
// The entries of a large drop-down pick list (tens or hundreds of thousands
// of titles or artists): texts in the program's folded order, searched by
// binary search. A window fills one once and shares it (it is immutable),
// a combo shows it through a model and narrows it as the user types
// (fw::SetPickList), so no text of all the entries is ever built.
//
//   auto titles = std::make_shared<const fw::PickList>(std::move(texts), fw::PickList::Duplicates::Drop);
//   fw::SetPickList("?STI:TITLE", titles);
//   if (titles->Find(typed) == fw::PickList::npos) fw::SELECT("?STI:TITLE");

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fw {

class PickList {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    enum class Duplicates { Keep, Drop };

    PickList() = default;
    // Sorted by the folded comparison of keys and searches (upper case,
    // then byte order, trailing blanks ignored), ties in their given order;
    // Drop keeps the first of texts that are equal so compared. Trailing
    // blanks are cut; blank texts are left out.
    explicit PickList(std::vector<std::string> texts, Duplicates duplicates = Duplicates::Keep);

    std::size_t Size() const { return texts_.size(); }
    bool Empty() const { return texts_.empty(); }
    const std::string& At(std::size_t i) const { return texts_[i]; }  // from 0

    // The entries that begin with `prefix`, letter case ignored, as
    // [first, last); the whole list for an empty prefix.
    std::pair<std::size_t, std::size_t> PrefixRange(std::string_view prefix) const;
    // The first entry equal to `text` (letter case and trailing blanks
    // ignored), or npos.
    std::size_t Find(std::string_view text) const;

private:
    std::vector<std::string> texts_;
    std::vector<std::string> folded_;  // upper case, same order
};

}  // namespace fw
