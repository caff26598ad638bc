#pragma once
// The program's own font, added for this program only while it runs.

#include <string_view>

namespace fw {

// Adds a font file. A bare name is looked for in the current folder, then
// in searchFolder (the install folder); names are found whatever their
// case. Adding a name that is already added does nothing. Returns whether
// the font is available.
bool AddFontResource(std::string_view fileName, std::string_view searchFolder = {});
// Removes a font added under the same name. Returns whether one was removed.
bool RemoveFontResource(std::string_view fileName);

}  // namespace fw
