#pragma once
// The program's configuration folder: $XDG_CONFIG_HOME/cantorvale, or
// ~/.config/cantorvale when XDG_CONFIG_HOME is unset or not absolute.
// Bare INI file names and the settings store live here.

#include <string>
#include <string_view>

namespace fw {

// The folder as a file-system path (UTF-8), without a trailing separator.
std::string ConfigFolder();
// Points the folder elsewhere (tests use a temporary folder); an empty
// path goes back to the default.
void SetConfigFolder(std::string_view path);

}  // namespace fw
