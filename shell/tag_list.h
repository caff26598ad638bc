#pragma once
// The tags of one tagging window: the discs (or tracks) the user has
// tagged, each with the custom disc ID and genre it carries. Every window
// that tags owns a list of its own (the add-discs window, the label setup,
// the export), so no window sees or clears another's tags; a worker that
// consumes the tags takes them by value.
//
//   shell::TagList tags;                       // ordered by disc ID, custom ID, genre
//   tags.Add({.unq = "AV4127", .alt = "101"});
//   if (tags.FindDisc("av4127")) ...           // disc IDs compare ignoring case
//   std::vector<shell::TagEntry> work = tags.Take();   // the list is empty afterwards

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

struct TagEntry {
    std::string unq;     // the manufacturer's disc ID (QUEUNQDISKID)
    std::string alt;     // the custom disc ID it gets or has (DISKID)
    std::uint16_t track = 0;  // a tagged track's number (TRACKNO)
    std::string genre;   // the genre for every track of the disc (QUEGENRE)
    bool operator==(const TagEntry&) const = default;
};

class TagList {
public:
    // Strict weak order of the entries; the default is disc ID, custom ID,
    // genre, each compared ignoring letter case.
    using Order = std::function<bool(const TagEntry&, const TagEntry&)>;
    TagList();
    explicit TagList(Order order);

    bool Empty() const { return entries_.empty(); }
    int Count() const { return static_cast<int>(entries_.size()); }
    const std::vector<TagEntry>& Entries() const { return entries_; }
    const TagEntry& At(int n) const { return entries_.at(static_cast<std::size_t>(n - 1)); }  // from 1

    // The first entry that matches; nullptr when none does.
    const TagEntry* Find(const std::function<bool(const TagEntry&)>& match) const;
    // The first entry of this disc (disc IDs compared ignoring case).
    const TagEntry* FindDisc(std::string_view unq) const;
    // Whether another entry than `exceptUnq`'s has this custom ID, compared
    // ignoring case.
    bool CustomIdUsed(std::string_view alt, std::string_view exceptUnq = {}) const;

    // Sorted insert after the entries that do not sort above it.
    void Add(TagEntry entry);
    // Removes every entry that matches; how many went.
    int RemoveIf(const std::function<bool(const TagEntry&)>& match);
    int RemoveDisc(std::string_view unq);
    void RemoveAt(int n);  // from 1; nothing outside 1..Count()
    void Clear();
    // Every entry, moved out; the list is empty afterwards.
    std::vector<TagEntry> Take();

    // Bumped by every change, so a window can tell when to show the list again.
    std::uint64_t Changes() const { return changes_; }

private:
    void Reindex();

    Order order_;
    bool byDisc_ = false;  // the default order: disc look-ups by binary search
    std::vector<TagEntry> entries_;
    std::multiset<std::string> customIds_;  // folded, for CustomIdUsed
    std::uint64_t changes_ = 0;
};

// Disc IDs and custom disc IDs are the same ID in any letter case.
bool SameDiscId(std::string_view a, std::string_view b);

}  // namespace shell
