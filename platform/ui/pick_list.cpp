#include "platform/ui/pick_list.h"

#include "platform/text/codepage.h"
#include "platform/text/strings.h"

#include <algorithm>
#include <numeric>

namespace fw {

PickList::PickList(std::vector<std::string> texts, Duplicates duplicates) {
    std::vector<std::string> clipped;
    clipped.reserve(texts.size());
    for (std::string& t : texts) {
        std::string c(CLIP(t));
        if (!c.empty()) clipped.push_back(std::move(c));
    }
    std::vector<std::string> folded;
    folded.reserve(clipped.size());
    for (const std::string& t : clipped) folded.push_back(UpperText(t));
    std::vector<std::size_t> order(clipped.size());
    std::iota(order.begin(), order.end(), 0);
    // Upper case first, then the bytes themselves: the order of CompareFolded.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (const int c = folded[a].compare(folded[b]); c != 0) return c < 0;
        return clipped[a] < clipped[b];
    });
    texts_.reserve(order.size());
    folded_.reserve(order.size());
    for (std::size_t i : order) {
        if (duplicates == Duplicates::Drop && !folded_.empty() && folded_.back() == folded[i]) continue;
        texts_.push_back(std::move(clipped[i]));
        folded_.push_back(std::move(folded[i]));
    }
}

std::pair<std::size_t, std::size_t> PickList::PrefixRange(std::string_view prefix) const {
    const std::string p = UpperText(prefix);
    const auto first = std::lower_bound(folded_.begin(), folded_.end(), p);
    const auto last = std::partition_point(first, folded_.end(), [&](const std::string& f) {
        return f.compare(0, p.size(), p) == 0;
    });
    return {static_cast<std::size_t>(first - folded_.begin()), static_cast<std::size_t>(last - folded_.begin())};
}

std::size_t PickList::Find(std::string_view text) const {
    const std::string p = UpperText(CLIP(text));
    if (p.empty()) return npos;
    const auto it = std::lower_bound(folded_.begin(), folded_.end(), p);
    return it != folded_.end() && *it == p ? static_cast<std::size_t>(it - folded_.begin()) : npos;
}

}  // namespace fw
