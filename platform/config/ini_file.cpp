#include "platform/config/ini_file.h"

#include "platform/config/atomic_file.h"
#include "platform/config/config_folder.h"
#include "platform/config/ini_document.h"
#include "platform/data/names/path_names.h"
#include "platform/text/codepage.h"

#include <filesystem>
#include <system_error>

namespace fw {
namespace {

bool IsBareName(std::string_view file) { return file.find_first_of("/\\") == std::string_view::npos; }

}  // namespace

std::string IniFilePath(std::string_view file) {
    const std::string name = AnsiToUtf8(file);
    return ResolvePath(IsBareName(file) ? ConfigFolder() + "/" + name : name);
}

std::string GETINI(std::string_view section, std::string_view entry, std::string_view deflt,
                   std::string_view file) {
    std::string bytes;
    if (file.empty() || ReadWholeFile(IniFilePath(file), bytes) != FileReadResult::Read) return std::string(deflt.substr(0, kIniValueLimit));
    std::optional<std::string> value = IniDocument(bytes).Get(section, entry);
    if (!value) return std::string(deflt.substr(0, kIniValueLimit));
    if (value->size() > kIniValueLimit) value->resize(kIniValueLimit);
    return *value;
}

bool PUTINI(std::string_view section, std::string_view entry, std::string_view value, std::string_view file) {
    if (file.empty()) return false;
    const std::string path = IniFilePath(file);
    std::string bytes;
    if (ReadWholeFile(path, bytes) == FileReadResult::Failed) return false;
    IniDocument doc(bytes);
    if (!doc.Set(section, entry, value.substr(0, kIniValueLimit))) return false;
    const std::string out = doc.Bytes();
    if (out == bytes) return true;
    if (IsBareName(file)) {
        std::error_code ec;
        std::filesystem::create_directories(ConfigFolder(), ec);
    }
    return ReplaceFileAtomically(path, out);
}

}  // namespace fw
