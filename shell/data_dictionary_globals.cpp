#include "shell/data_dictionary_globals.h"

#include "shell/data_dictionary_file_entry.h"

#include "platform/data/names/path_names.h"

#include <string>

namespace shell {

GloGlobals& Glo() {
    static GloGlobals glo;
    return glo;
}

void SetSongBaseFileNames(std::string_view installFolder) {
    const auto join = [&](std::string_view name) {
        std::string path(installFolder);
        path += fw::kPathSeparator;
        path += name;
        return path;
    };
    for (const FileEntry* f : DataFiles())
        if (!f->fixedName.empty()) *f->nameVariable = join(f->fixedName);
    AutoUpdateListName = join(kAutoUpdateListFileName);
}

void InitialiseSharedGlobals() {
    ProgramTitle = kProgramTitle;
    ProgramVersion = kProgramVersion;
    Glo() = GloGlobals{};
    FrameThread = SearchThread = SongBookIsOpen = FrameResized = 0;
    for (fw::FString<128>* name :
         {&SongBookName, &SBDiscsName, &KaraokeName, &DiscsName, &DMakeName, &MakeIdName, &SArtistName,
          &STitleName, &GenreName, &AutoUpdateListName, &SongBook11Name, &SBDiscs11Name, &InstallFolder,
          &HelpFilePath})
        name->Clear();
    SongBook15Name.Clear();
    RepairInName.Clear();
    RepairOutName.Clear();
    OsName.Clear();
    WinHelpFilePath.Clear();
    WebAddress.Clear();
    SavedErrorCode = SavedFileErrorCode = 0;
    SavedErrorText.Clear();
    SavedFileErrorText.Clear();
}

}  // namespace shell
