#pragma once
// Opening a web address (the maker's site from the About panel).

#include <string_view>

#include "platform/os/desktop_opener.h"

namespace fw {

// Opens an http or https address in the desktop's browser. The text (program
// text, at most 255 characters are taken) may lack its scheme
// ("www.example.com" opens http://www.example.com). Anything that is not an
// http or https address is ignored.
OpenResult OpenWebAddress(std::string_view text);

}  // namespace fw
