#include "platform/os/desktop_opener.h"

#include <QDesktopServices>

namespace fw {
namespace {

DesktopOpener& Opener() {
    static DesktopOpener opener;
    return opener;
}

}  // namespace

void SetDesktopOpener(DesktopOpener opener) { Opener() = std::move(opener); }

bool OpenOnDesktop(const QUrl& url) {
    if (Opener()) return Opener()(url);
    return QDesktopServices::openUrl(url);
}

}  // namespace fw
