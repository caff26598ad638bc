#pragma once
// The program's shared globals: one copy for all threads. Only one program
// thread runs at a time and hands over only inside framework calls, so none
// of them needs a lock.
//
// Declared here are the identity texts, the signalling bytes, the file-name
// variables and the start-up values. Other shared globals are declared by the
// part of the program that owns them.

#include "platform/text/fixed_string.h"

#include <cstdint>
#include <string_view>

namespace shell {

// The maker's name and web address. The address is the installer's to write
// into the settings store (CompanyWebAddress); the program only reads it.
inline constexpr std::string_view kCompanyName = "Cantorvale Project";
inline constexpr std::string_view kCompanyWebAddress = "https://cantorvale.example.org/";

// Identity texts.
inline constexpr std::string_view kProgramTitle = "Cantorvale V2 DedaDaru Virovir BASIC";
inline constexpr std::string_view kProgramVersion = "2.6.2232";
inline fw::FString<40> ProgramTitle{kProgramTitle};
inline fw::FString<20> ProgramVersion{kProgramVersion};

// Globals written GLO:Name in the design (GLO.Name in code, see
// data_dictionary_prefixes.h). Their owners add further members here.
struct GloGlobals {
    fw::FString<40> COMPANYNAME{kCompanyName};
};
GloGlobals& Glo();

// Signalling bytes between threads.
inline std::uint8_t FrameThread = 0;     // the frame's thread number, target of the events 401h-404h
inline std::uint8_t SearchThread = 0;    // the running Search Main SongBase window's thread, 0 when none
inline std::uint8_t SongBookIsOpen = 0;  // 1 while a song-book window has a book open
inline std::uint8_t FrameResized = 0;    // 1 after the frame was resized, until the song-book window re-lays out
// Counts the song-book window's openings and closings of a book, so a
// window that keeps the book open on its own thread sees when the open
// book is no longer the one it has.
inline std::uint32_t SongBookOpenings = 0;

// The multi-listing edit's request and the answer of its set-up dialog.
inline std::uint8_t MultiEditField = 0;    // 1 title, 2 artist, 3 disc ID
inline std::uint16_t DialogCancelled = 0;  // 0 confirmed, 1 cancelled

// File-name variables: full paths.
inline fw::FString<128> SongBookName;   // the open book's .2bk, set by the song-book window
inline fw::FString<128> SBDiscsName;    // the open book's .2bd
inline fw::FString<128> KaraokeName;    // the Main SongBase, set by the frame from the install folder
inline fw::FString<128> DiscsName;
inline fw::FString<128> DMakeName;
inline fw::FString<128> MakeIdName;
inline fw::FString<128> SArtistName;
inline fw::FString<128> STitleName;
inline fw::FString<128> GenreName;
inline fw::FString<128> AutoUpdateListName;
inline fw::FString<128> SongBook11Name;  // an older book being converted (.sxk, .sxd)
inline fw::FString<128> SBDiscs11Name;
inline fw::FString<256> SongBook15Name;  // an older .2bk layout being converted or repaired
inline fw::FString<256> RepairInName;
inline fw::FString<256> RepairOutName;

// Start-up values.
inline fw::FString<128> InstallFolder;   // the install and data folder, as read
inline fw::FString<20> OsName;
inline fw::FString<128> HelpFilePath;
inline fw::CString<256> WinHelpFilePath;
inline fw::FString<40> WebAddress;       // the maker's web address, read by the About panel

// The error saved by SaveFileError for the next warning (saved_error.h);
// SavedErrorCode 0 means nothing is saved.
inline std::int32_t SavedErrorCode = 0;
inline fw::CString<256> SavedErrorText;
inline std::int32_t SavedFileErrorCode = 0;
inline fw::CString<256> SavedFileErrorText;

inline constexpr std::string_view kAutoUpdateListFileName = "autoupdate.lst";

// Sets the Main SongBase's name variables and AutoUpdateListName to the
// folder, the path separator and each file's fixed name.
void SetSongBaseFileNames(std::string_view installFolder);

// Every shared global back to its value at program start: texts blank,
// numbers zero, the identity texts as above.
void InitialiseSharedGlobals();

}  // namespace shell
