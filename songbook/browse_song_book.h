#pragma once
// The song-book window: chooses the book (or shows the one already open),
// opens or creates its .2bk/.2bd pair, brings brand numbers up to date,
// and runs the window on the open book until it closes.
//
// One book is open at a time. SongBookName and SongBookIsOpen stay set
// until the last window on the book has closed; a window started while
// another is still choosing a book brings that one to the front and ends.

#include "shell/program_events.h"
#include <functional>
#include <string>
#include <string_view>

namespace songbook {

// The window posts the frame's two "disable" events (shell/program_events.h)
// when it starts and the two "enable" events when it ends, on every path,
// so the frame can count them.
namespace frame_event = shell::program_event;

// Runs the song-book window on the calling thread; ActionOutcome becomes
// 1 when a Select button closed it, else 2.
void BrowseSongBook();

// How the window chooses a book: the chosen file's full path, or blank
// when the user gave up. Null restores the default, the SongBook File
// Explorer.
using BookChooser = std::function<std::string()>;
void SetBookChooser(BookChooser chooser);

// The listing form the lists' Insert, Change and Delete buttons call (the
// record in the buffers, the request in RequestedAction). Null restores the
// default, UpdateSongBookListing.
void SetListingForm(std::function<void()> form);

// Called before the event loop when the book has no listings (the Getting
// Started window). Null restores that default.
void SetGettingStarted(std::function<void()> gettingStarted);

// The windows showing the open book now.
int SongBookWindowsOpen();

// The names a chosen book file maps to: the current pair in the chosen
// file's folder with its base name, whatever extension was chosen, and the
// older pair of the same name.
struct BookNames {
    std::string listings;      // folder + base name + ".2bk"
    std::string discs;         // ... ".2bd"
    std::string olderListings; // ... ".sbk"
    std::string olderDiscs;    // ... ".sbd"
    bool olderFormat = false;  // the chosen file is an .sbk (any case)
};
BookNames MapBookNames(std::string_view chosen);

// Texts of the window's messages.
inline constexpr std::string_view kConversionQuestion =
    "This SongBook was created with an earlier|version of Cantorvale Plus.||"
    "The songbook must be converted to the new format.||Proceed?";
inline constexpr std::string_view kConversionCaption = "File Conversion Necessary";
inline constexpr std::string_view kFatalCaption = "Program ERROR!";
inline constexpr std::string_view kOpenBookCaption = "Open SongBook";
inline constexpr std::string_view kSearchNotFound = "Search Text Not Found...";
// A book whose files fail the quick check on opening; nothing is written to it.
inline constexpr std::string_view kDamagedBookText =
    "This SongBook Is Damaged and Was Not Opened.|Please Restore It from a Backup "
    "(SongBook File Explorer, Restore SongBook).";

// "Program Error #N|Unable to <verb> <name>, Program will be terminated"
std::string FatalText(int errorCode, std::string_view verb, std::string_view name);
// A file that cannot be opened as a book; the user chooses again.
std::string CannotOpenText(int errorCode, std::string_view name, std::string_view reason);
// The book's discs file is missing; the user chooses again.
std::string DiscsMissingText(std::string_view discsName);

}  // namespace songbook
