#include "shell/registry.h"

namespace shell {

std::string GetRegistryValue(int root, std::string_view keyPath, std::string_view deflt, std::string_view valueName,
                             std::string_view section) {
    return fw::GetSettingsValue(root, keyPath, deflt, valueName, section).Text();
}

void PutRegistryValue(int root, std::string_view keyPath, std::string_view valueName, std::string_view section,
                      std::string_view value) {
    fw::PutSettingsValue(root, keyPath, valueName, section, value);
}

void PutRegistryValue(int root, std::string_view keyPath, std::string_view valueName, std::string_view section,
                      long long number) {
    fw::PutSettingsNumber(root, keyPath, valueName, section, number);
}

int RegistryStatus() { return fw::SettingsStatus(); }

}  // namespace shell
