#pragma once
// The program's one way of handing a document to the desktop. Only web
// addresses (http, https) are handed on: the text comes from the settings
// store, and opening anything else it might name is not wanted.

#include <string_view>

namespace shell {

// Opens the text (trailing blanks cut, at most 255 characters) with the
// desktop's browser; anything else, or a blank text, does nothing.
// Returns whether it was handed on.
bool ShellOpenDocument(std::string_view text);

}  // namespace shell
