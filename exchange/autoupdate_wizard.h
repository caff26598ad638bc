#pragma once
// AutoUpdateWizard: brings the Main SongBase data files, and when the user
// wants it the program, up to date from the update server.
//
// Next fetches the instruction list, decides by the record count and the
// versions what is needed, asks, downloads every file with its size
// checked, inflates each beside the file it replaces and checks it, and
// only then swaps the files in under the install journal
// (install_journal.h). Any failure leaves every installed file as it was.

#include <string>

namespace exchange {

// The update server: the settings value UpdateServer (key path of the
// program's settings, section "AutoUpdate"), else this address.
inline constexpr const char* kDefaultUpdateServer = "https://cantorvale.example.org";
inline constexpr const char* kUpdateSection = "AutoUpdate";
std::string UpdateServerAddress();

void AutoUpdateWizard();

// At program start, before any data file opens: finishes what a crash
// left of an install in the install folder (rolls it back, or clears up
// one that was complete) and keeps a note of what it did.
void RecoverAutoUpdate();
// The note's text (empty: none); shown once, by the frame when it opens
// or by the wizard, then forgotten.
std::string AutoUpdateNotice();
void ShowAutoUpdateNotice();

}  // namespace exchange
