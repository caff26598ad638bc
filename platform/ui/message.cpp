#include "platform/ui/message.h"

#include <QMessageBox>
#include <QPushButton>

#include <memory>

#include "platform/ui/dialog_hub.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/text_fit.h"
#include "platform/text/codepage.h"

namespace fw {
namespace {

struct ButtonDef {
    int value;
    const char* label;
};
constexpr ButtonDef kButtons[] = {
    {Button::Ok, "&OK"},         {Button::Yes, "&Yes"},       {Button::No, "&No"},
    {Button::Abort, "&Abort"},   {Button::Retry, "&Retry"},   {Button::Ignore, "&Ignore"},
    {Button::Cancel, "Cancel"},  {Button::Help, "&Help"},
};

std::string LineBreaks(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '|') c = '\n';
    return out;
}

QMessageBox::Icon BoxIcon(std::string_view icon) {
    if (icon == Icon::Hand) return QMessageBox::Critical;
    if (icon == Icon::Question) return QMessageBox::Question;
    if (icon == Icon::Exclamation) return QMessageBox::Warning;
    if (icon == Icon::Asterisk) return QMessageBox::Information;
    return QMessageBox::NoIcon;
}

std::string& DefaultCaption() {
    static std::string caption;
    return caption;
}

}  // namespace

void SetDefaultMessageCaption(std::string caption) { DefaultCaption() = std::move(caption); }

int MESSAGE(std::string_view text, std::string_view caption, std::string_view icon, MessageButtons buttons,
            int defaultButton, int style) {
    PendingDialog d;
    d.kind = DialogKind::Message;
    if (caption.empty()) caption = DefaultCaption();
    d.title = std::string(caption);
    d.text = LineBreaks(text);
    d.systemModal = (style & MessageStyle::SystemModal) != 0;
    if (!buttons.texts.empty()) {
        std::size_t start = 0;
        int position = 0;
        for (;;) {
            std::size_t bar = buttons.texts.find('|', start);
            d.buttons.push_back(buttons.texts.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
            d.values.push_back(++position);
            if (bar == std::string::npos) break;
            start = bar + 1;
        }
    } else {
        int sum = buttons.values ? buttons.values : Button::Ok;
        for (const auto& b : kButtons)
            if (sum & b.value) {
                d.buttons.push_back(b.label);
                d.values.push_back(b.value);
            }
    }
    d.defaultAnswer = d.values.front();
    for (int v : d.values)
        if (v == defaultButton) d.defaultAnswer = v;
    // Closing the box: Cancel, else No, else the default.
    int escape = d.defaultAnswer;
    if (buttons.texts.empty()) {
        for (int v : d.values)
            if (v == Button::No) escape = v;
        for (int v : d.values)
            if (v == Button::Cancel) escape = v;
    } else {
        // Text buttons: a button reading "Cancel" is what closing the box means.
        for (std::size_t i = 0; i < d.buttons.size(); ++i) {
            std::string plain;
            for (char c : d.buttons[i])
                if (c != '&') plain += c;
            if (CompareFolded(plain, "Cancel") == 0) escape = d.values[i];
        }
    }

    auto box = std::make_unique<QMessageBox>(DialogParent());
    // The text and caption show as they stand: no rich text, whatever
    // characters a title or file name in them brings.
    box->setWindowTitle(TitleText(caption));
    box->setTextFormat(Qt::PlainText);
    box->setText(Q(d.text));
    KeepCaptionWhole(*box, caption);
    box->setIcon(BoxIcon(icon));
    box->setWindowModality(d.systemModal ? Qt::ApplicationModal : Qt::NonModal);
    std::vector<std::pair<QAbstractButton*, int>> map;
    for (std::size_t i = 0; i < d.buttons.size(); ++i) {
        QPushButton* b = box->addButton(Q(d.buttons[i]), QMessageBox::AcceptRole);
        map.emplace_back(b, d.values[i]);
        if (d.values[i] == d.defaultAnswer) box->setDefaultButton(b);
    }
    QMessageBox* raw = box.get();
    QObject::connect(raw, &QMessageBox::finished, raw, [raw, map, escape, &d] {
        DialogAnswer a;
        a.button = escape;
        for (const auto& [b, v] : map)
            if (raw->clickedButton() == b) a.button = v;
        a.ok = true;
        d.answer(a);
    });
    return WaitForAnswer(d, raw).button;
}

}  // namespace fw
