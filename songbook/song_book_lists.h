#pragma once
// The song-book window's three lists as declarations: each list's view
// (primary file, joined file and the key that joins them), order, row
// fields, thumb field, the lookup before a listing form, its buttons, its
// search field and key, and its columns as a list FORMAT. The paged browse
// is built from these; nothing here reads a file.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace songbook {

enum class SongBookListKind : int { Title = 1, Artist = 2, Disc = 3 };  // VisibleList

// How a list finds the highlighted listing before a form. Every lookup is
// by the row's unique disc ID and track: a key that allows duplicates
// could find another listing equal in title, artist, track and date.
enum class ListingLookup {
    ByDiscAndTrack,  // GET(SongBook, SBK:KUnqDiskID) with the row's SBD:UNQDISKID and SBK:DISKTRACKNO
    None,            // the highlighted row read again, nothing more (an insert's cleared disc gets its brand back)
};

// Colours of every column (00BBGGRR): text 800040h on white, selected
// rows white on 800040h.
inline constexpr std::int32_t kListTextColor = 0x800040;
inline constexpr std::int32_t kListBackColor = 0xFFFFFF;

struct SongBookListDecl {
    SongBookListKind kind;
    std::string_view browseName;   // "BRW1"
    std::string_view listControl;  // "?LISTTITLE"
    std::string_view primaryFile;  // file label: the view's primary file
    std::string_view orderKey;     // the primary file's key giving the list's order
    std::string_view joinedFile;   // outer-joined child
    std::string_view joinKey;      // the child's key that the join follows
    std::vector<std::string_view> rowFields;  // in row order, "PRE:Field"
    std::string_view thumbField;   // the field the thumb steps follow
    ListingLookup lookup;
    std::string_view insertClears;  // file label whose record Insert clears first
    bool rereadAroundRowAfterForm;
    std::string_view warningFile;   // the file label named in warning 35
    std::string_view insertButton, changeButton, deleteButton, selectButton;
    std::string_view switchButton;  // the button that shows this list
    std::string_view searchField;   // "PRE:Field"
    std::string_view searchKey;
};

const SongBookListDecl& SongBookList(SongBookListKind kind);
// Title, artist and disc list, in that order.
const std::array<const SongBookListDecl*, 3>& SongBookLists();

// The fixed text under the lists.
inline constexpr std::string_view kDisclessText = "Disc ID (*) Denotes DiscLess Track (Cavs,MP3+G,etc.)";
// The custom disc ID of a discless track.
inline constexpr std::string_view kDisclessDiscId = "*";

}  // namespace songbook
