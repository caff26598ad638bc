#pragma once
// Everything the program hands to the desktop (help pages, web addresses)
// goes through one opener, so tests can record what would be opened and
// no browser starts.

#include <QUrl>
#include <functional>

namespace fw {

// An opener returns whether the desktop took the address.
using DesktopOpener = std::function<bool(const QUrl&)>;

// What became of a request to open something.
enum class OpenResult {
    Ignored,  // nothing to open (no such page, not an address that is opened)
    Opened,
    Failed,   // the desktop has no browser or viewer that could be started
};

// Replaces the opener; an empty one restores QDesktopServices::openUrl.
void SetDesktopOpener(DesktopOpener opener);
// Opens url with the desktop's default application; false when none could
// be started.
bool OpenOnDesktop(const QUrl& url);

}  // namespace fw
