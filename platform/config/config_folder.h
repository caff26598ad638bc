#pragma once
// The program's configuration folder: $XDG_CONFIG_HOME/NAME, or
// ~/.config/NAME when XDG_CONFIG_HOME is unset or not absolute, where NAME
// is the folder name the program gives at its start (the executable's name
// until it does). Bare INI file names and the settings store live here.

#include <string>
#include <string_view>

namespace fw {

// The folder as a file-system path (UTF-8), without a trailing separator.
std::string ConfigFolder();
// The program's own folder name under the user's configuration folder;
// called once at start, before any setting is read.
void SetConfigFolderName(std::string_view name);
// Points the folder elsewhere (tests use a temporary folder); an empty
// path goes back to the default.
void SetConfigFolder(std::string_view path);

}  // namespace fw
