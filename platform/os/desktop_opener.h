#pragma once
// Everything the program hands to the desktop (help pages, web addresses)
// goes through one opener, so tests can record what would be opened and
// no browser starts.

#include <QUrl>
#include <functional>

namespace fw {

using DesktopOpener = std::function<void(const QUrl&)>;

// Replaces the opener; an empty one restores QDesktopServices::openUrl.
void SetDesktopOpener(DesktopOpener opener);
// Opens url with the desktop's default application; failures are ignored.
void OpenOnDesktop(const QUrl& url);

}  // namespace fw
