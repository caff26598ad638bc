#pragma once
// The program's start and end: the install folder, the program font, the
// operating system's name and the help file, then the frame.
//
// No desktop-wide setting is changed while the program runs, so an end by
// a halt leaves nothing of the user's desktop to put back.

#include "platform/os/os_version.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace shell {

// The program's folder in the user's configuration folder (settings and
// INI files), given to the platform at start (fw::SetConfigFolderName).
inline constexpr std::string_view kConfigFolderName = "cantorvale";
inline constexpr std::string_view kProgramFontFile = "SLASH_0.TTF";
inline constexpr std::string_view kNotInstalledText = "Incorrect Program Installation, Please Reinstall";
inline constexpr std::string_view kNotInstalledCaption = "Progam Halt";

// The version query's result; every Help button reads its major version.
inline fw::OsVersionInfo OsVersionInfo;

// InstallDir of the settings store with trailing blanks cut, or nothing when
// the program is not installed: the value is missing, "0" or empty (an
// unreadable store reads as empty, and an empty folder would put every data
// file at the file-system root).
std::optional<std::string> ReadInstallFolder();

struct HelpFiles {
    std::string helpFilePath;     // HelpFilePath
    std::string winHelpFilePath;  // WinHelpFilePath: only for the old-style help file
};
// The help file of the install folder: the compiled help for a major
// version above 4, else the old-style help file.
HelpFiles ChooseHelpFiles(std::string_view installFolder, unsigned long majorVersion);

// The start before the frame: InstallFolder from the settings store; when
// the program is not installed, the reinstall message and false. Otherwise
// the program font is added, OsVersionInfo, OsName, HelpFilePath and
// WinHelpFilePath are set, and the result is true.
bool StartProgram();
// The end after the frame: the program font is removed.
void EndProgram();

// The whole program: StartProgram, the frame, EndProgram.
void ProgramStartup();
// The frame ProgramStartup calls (MainFrame unless replaced; empty: MainFrame
// again); it returns when the user has closed it.
void SetMainFrame(std::function<void()> frame);

}  // namespace shell
