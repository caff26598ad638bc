#include "shell/tag_list.h"

#include "platform/text/codepage.h"
#include "platform/text/strings.h"

#include <algorithm>

namespace shell {

namespace {

int Compare(std::string_view a, std::string_view b) { return fw::CompareFolded(a, b); }

bool DefaultOrder(const TagEntry& a, const TagEntry& b) {
    if (int c = Compare(a.unq, b.unq)) return c < 0;
    if (int c = Compare(a.alt, b.alt)) return c < 0;
    return Compare(a.genre, b.genre) < 0;
}

}  // namespace

bool SameDiscId(std::string_view a, std::string_view b) { return Compare(fw::CLIP(a), fw::CLIP(b)) == 0; }

static std::string Folded(std::string_view id) { return fw::UpperText(fw::CLIP(id)); }

TagList::TagList() : order_(DefaultOrder), byDisc_(true) {}
TagList::TagList(Order order) : byDisc_(!order) { order_ = order ? std::move(order) : Order(DefaultOrder); }

void TagList::Reindex() {
    customIds_.clear();
    for (const TagEntry& e : entries_) customIds_.insert(Folded(e.alt));
}

const TagEntry* TagList::Find(const std::function<bool(const TagEntry&)>& match) const {
    auto it = std::find_if(entries_.begin(), entries_.end(), match);
    return it == entries_.end() ? nullptr : &*it;
}

const TagEntry* TagList::FindDisc(std::string_view unq) const {
    if (byDisc_) {
        auto it = std::lower_bound(entries_.begin(), entries_.end(), unq,
                                   [](const TagEntry& e, std::string_view id) { return Compare(e.unq, id) < 0; });
        return it != entries_.end() && SameDiscId(it->unq, unq) ? &*it : nullptr;
    }
    return Find([unq](const TagEntry& e) { return SameDiscId(e.unq, unq); });
}

bool TagList::CustomIdUsed(std::string_view alt, std::string_view exceptUnq) const {
    if (customIds_.count(Folded(alt)) == 0) return false;
    return Find([&](const TagEntry& e) {
               return SameDiscId(e.alt, alt) && (exceptUnq.empty() || !SameDiscId(e.unq, exceptUnq));
           }) != nullptr;
}

void TagList::Add(TagEntry entry) {
    auto at = std::upper_bound(entries_.begin(), entries_.end(), entry, order_);
    customIds_.insert(Folded(entry.alt));
    entries_.insert(at, std::move(entry));
    ++changes_;
}

int TagList::RemoveIf(const std::function<bool(const TagEntry&)>& match) {
    const auto before = entries_.size();
    std::erase_if(entries_, match);
    const int removed = static_cast<int>(before - entries_.size());
    if (removed > 0) {
        ++changes_;
        Reindex();
    }
    return removed;
}

int TagList::RemoveDisc(std::string_view unq) {
    return RemoveIf([unq](const TagEntry& e) { return SameDiscId(e.unq, unq); });
}

void TagList::RemoveAt(int n) {
    if (n < 1 || n > Count()) return;
    customIds_.erase(customIds_.find(Folded(entries_[static_cast<std::size_t>(n - 1)].alt)));
    entries_.erase(entries_.begin() + (n - 1));
    ++changes_;
}

void TagList::Clear() {
    if (entries_.empty()) return;
    entries_.clear();
    customIds_.clear();
    ++changes_;
}

std::vector<TagEntry> TagList::Take() {
    std::vector<TagEntry> out = std::move(entries_);
    entries_.clear();
    customIds_.clear();
    ++changes_;
    return out;
}

}  // namespace shell
