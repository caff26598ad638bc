// install_settings: the installer's writes into the settings store.
//   install_settings <install folder>
// Writes InstallDir (the folder, made absolute) and CompanyWebAddress, the
// two values the program reads and never writes.

#include "shell/data_dictionary_globals.h"
#include "shell/program_startup.h"
#include "shell/registry.h"

#include "platform/config/config_folder.h"
#include "platform/config/settings_store.h"
#include "platform/text/codepage.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

bool Put(std::string_view keyPath, std::string_view name, std::string_view section, std::string_view value) {
    shell::PutRegistryValue(0, keyPath, name, section, value);
    if (shell::RegistryStatus() == shell::registry_status::Ok) return true;
    std::fprintf(stderr, "install_settings: cannot write %.*s into %s\n", static_cast<int>(name.size()), name.data(),
                 fw::SettingsFilePath().c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || !*argv[1]) {
        std::fprintf(stderr, "usage: install_settings <install folder>\n");
        return 2;
    }
    // The program's settings store, not one named after this tool.
    fw::SetConfigFolderName(shell::kConfigFolderName);
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::absolute(argv[1], ec).lexically_normal();
    if (ec || !std::filesystem::is_directory(folder, ec)) {
        std::fprintf(stderr, "install_settings: %s is not a folder\n", argv[1]);
        return 1;
    }
    std::string native = folder.string();
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    // The program's paths are Windows-1252 text: a folder name it cannot
    // hold would name another folder.
    const std::string text = fw::Utf8ToAnsi(native);
    if (fw::AnsiToUtf8(text) != native) {
        std::fprintf(stderr, "install_settings: the folder name %s has characters the program cannot use\n",
                     native.c_str());
        return 1;
    }
    // Every path the program builds on the folder must fit its 128-character
    // name variables; the longest is the help file's.
    const std::size_t longest = std::string_view("/help/Mardo2.chm").size();
    if (text.size() + longest > shell::HelpFilePath.Size()) {
        std::fprintf(stderr, "install_settings: the folder name %s is longer than %zu characters\n", native.c_str(),
                     shell::HelpFilePath.Size() - longest);
        return 1;
    }
    if (!Put(shell::kBasicKeyPath, "InstallDir", shell::kInstallSection, text)) return 1;
    if (!Put(shell::kSiteKeyPath, "CompanyWebAddress", shell::kSettingsSection, shell::kCompanyWebAddress)) return 1;
    std::printf("InstallDir=%s in %s\n", native.c_str(), fw::SettingsFilePath().c_str());
    return 0;
}
