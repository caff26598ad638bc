#pragma once
// Help topics are HTML pages in the help folder of the install folder,
// opened in the desktop's browser.

#include <string>
#include <string_view>

#include "platform/os/desktop_opener.h"

namespace fw {

// The page shown for help without a topic.
inline constexpr std::string_view kHelpIndexPage = "index.htm";

// The file-system path of a topic's page ("WorkingWithSongBook.htm";
// a "::/" in front, even doubled, is dropped; an empty topic is the index
// page), or the empty text when the page does not exist or the topic is
// not a plain file name. The install folder is program text; "\" and "/"
// both separate, and names are found whatever their case.
std::string HelpPagePath(std::string_view installFolder, std::string_view topic);

// Opens the topic's page; a missing page does nothing visible (Ignored).
OpenResult ShowHelpTopic(std::string_view installFolder, std::string_view topic);

}  // namespace fw
