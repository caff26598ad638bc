#pragma once
// Everything the program hands to the desktop (help pages, web addresses)
// goes through one opener, so tests can record what would be opened and
// no browser starts.

#include <QUrl>
#include <cstddef>
#include <functional>
#include <type_traits>

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
inline void SetDesktopOpener(std::nullptr_t) { SetDesktopOpener(DesktopOpener()); }
// An opener that only records: the desktop always takes the address.
template <class Recorder>
    requires std::is_void_v<std::invoke_result_t<Recorder&, const QUrl&>>
void SetDesktopOpener(Recorder recorder) {
    SetDesktopOpener(DesktopOpener([recorder = std::move(recorder)](const QUrl& url) mutable {
        recorder(url);
        return true;
    }));
}
// Opens url with the desktop's default application; false when none could
// be started.
bool OpenOnDesktop(const QUrl& url);

}  // namespace fw
