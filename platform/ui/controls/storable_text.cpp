#include "platform/ui/controls/storable_text.h"

#include "platform/text/codepage.h"

#include <QCursor>
#include <QToolTip>
#include <QWidget>

namespace fw {

std::string RefusedCharactersText(const std::string& characters) {
    return "These characters cannot be stored and were not taken: " + characters;
}

QValidator::State StorableTextValidator::validate(QString& input, int&) const {
    const std::string unstorable = UnstorableCharacters(input);
    if (unstorable.empty()) return Acceptable;
    refused_ = unstorable;
    QWidget* widget = qobject_cast<QWidget*>(parent());
    QToolTip::showText(widget ? widget->mapToGlobal(QPoint(0, widget->height())) : QCursor::pos(),
                       QString::fromStdString(RefusedCharactersText(unstorable)), widget);
    return Invalid;
}

}  // namespace fw
