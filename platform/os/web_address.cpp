#include "platform/os/web_address.h"

#include "platform/os/desktop_opener.h"
#include "platform/text/codepage.h"

#include <QUrl>

namespace fw {

OpenResult OpenWebAddress(std::string_view text) {
    const QString input = AnsiToQString(text.substr(0, 255)).trimmed();
    if (input.isEmpty()) return OpenResult::Ignored;
    const QUrl url = QUrl::fromUserInput(input);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return OpenResult::Ignored;
    return OpenOnDesktop(url) ? OpenResult::Opened : OpenResult::Failed;
}

}  // namespace fw
