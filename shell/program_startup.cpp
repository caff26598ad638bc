#include "shell/program_startup.h"

#include "shell/data_dictionary_globals.h"
#include "shell/main_frame.h"
#include "shell/message_box.h"
#include "shell/os_name.h"
#include "shell/program_procedures.h"
#include "shell/registry.h"

#include "platform/data/names/path_names.h"
#include "platform/os/program_font.h"
#include "platform/text/strings.h"

#include <utility>

namespace shell {
namespace {

std::function<void()>& Frame() {
    static std::function<void()> frame;
    return frame;
}

}  // namespace

std::optional<std::string> ReadInstallFolder() {
    const std::string folder = fw::CLIP(GetRegistryValue(0, kBasicKeyPath, "0", "InstallDir", kInstallSection));
    if (folder == "0" || folder.empty()) return std::nullopt;
    return folder;
}

HelpFiles ChooseHelpFiles(std::string_view installFolder, unsigned long majorVersion) {
    std::string base(installFolder);
    base += fw::kPathSeparator;
    base += "help";
    base += fw::kPathSeparator;
    base += "Mardo2";
    if (majorVersion > 4) return {base + ".chm", ""};
    return {base + ".hlp", base + ".hlp"};
}

bool StartProgram() {
    const std::optional<std::string> folder = ReadInstallFolder();
    if (!folder) {
        InstallFolder.Clear();
        ShowMessage(kNotInstalledText, kNotInstalledCaption, MessageIcon::Stop, button::OK, button::OK);
        return false;
    }
    InstallFolder = *folder;
    // An install that a crash interrupted is undone before anything opens
    // the files it was replacing.
    RunProgramProcedure("RecoverAutoUpdate");
    fw::AddFontResource(kProgramFontFile, InstallFolder.Clip());

    OsVersionInfo = fw::OsVersionInfo{};
    const bool queried = fw::GetVersionEx(OsVersionInfo);
    if (!queried) OsVersionInfo = fw::OsVersionInfo{};
    OsName = OsNameFor(queried, OsVersionInfo.platformId, OsVersionInfo.majorVersion, OsVersionInfo.minorVersion);

    const HelpFiles help = ChooseHelpFiles(InstallFolder.Clip(), OsVersionInfo.majorVersion);
    HelpFilePath = help.helpFilePath;
    WinHelpFilePath = help.winHelpFilePath;
    return true;
}

void EndProgram() { fw::RemoveFontResource(kProgramFontFile); }

void ProgramStartup() {
    if (!StartProgram()) return;
    if (const std::function<void()> frame = Frame()) frame();
    else MainFrame();
    EndProgram();
}

void SetMainFrame(std::function<void()> frame) { Frame() = std::move(frame); }

}  // namespace shell
