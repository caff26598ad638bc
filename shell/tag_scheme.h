#pragma once
// The tagging scheme of a paged list: the tag mark (0BBh) in the list's
// first column, a double-click in that column toggling the row's tag, the
// buttons "&Tag", "tag &All", "&Untag all", "&Rev tags" and the show-tags
// button cycling "Show All" -> "Showing Tagged" -> "Showing UnTagged". A
// window states what tagging means for its list (TagSemantics, usually
// over a TagList it owns); the scheme does the rest:
//
//   shell::TagScheme scheme("?LIST:2", {}, semantics);
//   desc.columns = [&] { return fw::ui::ListRow{scheme.Mark(), DIS.UnqDiskID.Str()}; };
//   desc.check = [&] { return scheme.Shows(); };
//   shell::PagedBrowse discs(desc, list);
//   scheme.Attach(discs);
//   scheme.Opened();                         // after the window has opened
//   while (fw::ACCEPT()) {
//       discs.TakeEvent(...);                // the list's own handling first
//       if (scheme.TakeEvent(fw::EVENT(), fw::FIELD(), fw::KEYCODE())) continue;
//       ...
//   }
//
// Every button re-reads the highlighted row first and reloads the list
// afterwards, keeping the highlight; the bulk buttons show the wait cursor.

#include "platform/ui/window_api.h"

#include <functional>
#include <string>
#include <string_view>

namespace shell {

class PagedBrowse;

inline constexpr char kTagMark = '\xBB';
inline constexpr std::string_view kTagMarkText = "\xBB";

enum class TagShowMode : int { All = 0, Tagged = 1, Untagged = 2 };
// "Show All", "Showing Tagged", "Showing UnTagged".
std::string_view TagShowText(TagShowMode mode);

struct TagButtons {
    std::string tag = "?DASTAG";
    std::string tagAll = "?DASTAGALL";
    std::string untagAll = "?DASUNTAGALL";
    std::string reverse = "?DASREVTAG";
    std::string show = "?DASSHOWTAG";
};

// What the list's tags mean. Each runs with the highlighted row's records
// in the buffers (toggle) or walks the list's records itself (the others).
struct TagSemantics {
    std::function<bool()> isTagged;  // the record in the list's buffers
    std::function<void()> toggle;    // "&Tag" and the double-click
    std::function<void()> tagAll;
    std::function<void()> untagAll;
    std::function<void()> reverse;
    bool tagAllWaits = true;  // false: "tag &All" asks first and shows the wait cursor itself
};

class TagScheme {
public:
    TagScheme(std::string list, TagButtons buttons, TagSemantics semantics);

    void Attach(PagedBrowse& browse);
    // The show-tags button reads "Show All"; call once the window is open.
    void Opened();

    // The Tag column of the record in the buffers: the mark or a blank.
    std::string Mark() const;
    // The list's record check: whether the show mode shows the record.
    bool Shows() const;
    TagShowMode ShowMode() const { return mode_; }

    // The window's event, after the list's own handling; true when the
    // scheme took it (the window's pass ends there).
    bool TakeEvent(int event, int field, int keyCode);

    // Runs one of the window's own bulk operations the scheme's way: the
    // mouse-down column moved off the Tag column, the wait cursor, the list
    // reloaded with its highlight kept.
    void RunBulk(const std::function<void()>& operation, bool wait = true);

private:
    bool IsButton(int field, const std::string& equate) const;
    void Reload();

    std::string list_;
    TagButtons buttons_;
    TagSemantics semantics_;
    PagedBrowse* browse_ = nullptr;
    TagShowMode mode_ = TagShowMode::All;
};

}  // namespace shell
