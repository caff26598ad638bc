#include "platform/ui/common_dialogs.h"

#include <QColorDialog>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

#include "platform/ui/dialog_hub.h"
#include "platform/ui/qt_bridge.h"

namespace fw {
namespace {

// "SongBook|*.SBK|All Files|*.*" -> "SongBook (*.SBK);;All Files (*)".
QString QtFilter(std::string_view filter) {
    QStringList parts = Q(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(';', ' ');
        if (pattern == "*.*") pattern = "*";
        QString desc = parts[i];
        out << (desc.contains('(') ? desc.left(desc.indexOf('(')).trimmed() : desc) + " (" + pattern + ")";
    }
    return out.join(";;");
}

// "a|b|c" -> its items (the text is Windows-1252; "|" is the same byte).
std::vector<std::string> SplitItems(std::string_view items) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = items.find('|', start);
        out.emplace_back(items.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    return out;
}

// A menu text as it shows: "&&" is "&", another "&" marks the letter after it.
std::string WithoutMnemonics(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

}  // namespace

bool FILEDIALOG(std::string_view title, std::string& file, std::string_view filter, int flags) {
    PendingDialog d;
    d.kind = DialogKind::File;
    d.title = std::string(title);
    d.filter = std::string(filter);
    d.save = (flags & FileDialogFlag::Save) != 0;
    auto dialog = std::make_unique<QFileDialog>(DialogParent(), TitleText(title));
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    QFileInfo current(Q(file));
    dialog->setDirectory(!file.empty() && current.absoluteDir().exists() ? current.absolutePath() : QDir::currentPath());
    if (!file.empty()) dialog->selectFile(current.fileName());
    if (flags & FileDialogFlag::Directory) {
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly, true);
    } else if (d.save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
    } else {
        dialog->setFileMode(flags & FileDialogFlag::AnyFile ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    }
    if (!filter.empty()) dialog->setNameFilter(QtFilter(filter));
    QFileDialog* raw = dialog.get();
    QObject::connect(raw, &QFileDialog::finished, raw, [raw, &d](int result) {
        DialogAnswer a;
        a.ok = result == QDialog::Accepted && !raw->selectedFiles().isEmpty();
        if (a.ok) a.file = A(QDir::toNativeSeparators(raw->selectedFiles().front()));
        d.answer(a);
    });
    DialogAnswer a = WaitForAnswer(d, raw);
    if (!a.ok) return false;
    file = a.file;
    return true;
}

bool COLORDIALOG(std::string_view title, long& color) {
    PendingDialog d;
    d.kind = DialogKind::Color;
    d.title = std::string(title);
    auto dialog = std::make_unique<QColorDialog>(ColorFromValue(color), DialogParent());
    dialog->setWindowTitle(TitleText(title));
    dialog->setOption(QColorDialog::DontUseNativeDialog, true);
    QColorDialog* raw = dialog.get();
    QObject::connect(raw, &QDialog::finished, raw, [raw, &d](int result) {
        DialogAnswer a;
        a.ok = result == QDialog::Accepted;
        a.color = ValueFromColor(raw->selectedColor());
        d.answer(a);
    });
    DialogAnswer a = WaitForAnswer(d, raw);
    if (!a.ok) return false;
    color = a.color;
    return true;
}

bool FONTDIALOG(std::string_view title, std::string& typeface, int& size, long& color, int& style) {
    PendingDialog d;
    d.kind = DialogKind::Font;
    d.title = std::string(title);
    // Qt's font dialog has no colour: it sits in a dialog of ours with a
    // colour choice below it.
    auto dialog = std::make_unique<QDialog>(DialogParent());
    dialog->setWindowTitle(TitleText(title));
    auto* box = new QVBoxLayout(dialog.get());
    auto* fonts = new QFontDialog(dialog.get());
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    QFont initial(Q(typeface));
    if (size > 0) initial.setPointSize(size);
    ApplyFontStyle(initial, style);
    fonts->setCurrentFont(initial);
    box->addWidget(fonts);
    auto* colors = new QComboBox;
    const long palette[] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
                            0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (long c : palette) {
        QPixmap swatch(16, 16);
        swatch.fill(ColorFromValue(c));
        colors->addItem(QIcon(swatch), ColorFromValue(c).name(), QVariant::fromValue<qlonglong>(c));
        if (c == color) colors->setCurrentIndex(colors->count() - 1);
    }
    box->addWidget(new QLabel("Colour:"));
    box->addWidget(colors);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    box->addWidget(buttons);
    QDialog* raw = dialog.get();
    QObject::connect(buttons, &QDialogButtonBox::accepted, raw, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, raw, &QDialog::reject);
    QObject::connect(raw, &QDialog::finished, raw, [fonts, colors, &d](int result) {
        DialogAnswer a;
        a.ok = result == QDialog::Accepted;
        QFont f = fonts->currentFont();
        a.typeface = A(f.family());
        a.size = f.pointSize();
        a.style = FontStyleOf(f);
        a.color = static_cast<long>(colors->currentData().toLongLong());
        d.answer(a);
    });
    DialogAnswer a = WaitForAnswer(d, raw);
    if (!a.ok) return false;
    typeface = a.typeface;
    size = a.size;
    color = a.color;
    style = a.style;
    return true;
}

QPrinter& CurrentPrinter() {
    // At the printer's own resolution, so that paper and PDF lay texts out alike.
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

bool PRINTERDIALOG(std::string_view title) {
    PendingDialog d;
    d.kind = DialogKind::Printer;
    d.title = std::string(title);
    auto dialog = std::make_unique<QPrintDialog>(&CurrentPrinter(), DialogParent());
    dialog->setWindowTitle(TitleText(title));
    QDialog* raw = dialog.get();
    QObject::connect(raw, &QDialog::finished, raw, [&d](int result) {
        DialogAnswer a;
        a.ok = result == QDialog::Accepted;
        d.answer(a);
    });
    return WaitForAnswer(d, raw).ok;
}

void ShowPrinterSetup() {
    PendingDialog d;
    d.kind = DialogKind::PrinterSetup;
    d.title = "Print Setup";
    auto dialog = std::make_unique<QPageSetupDialog>(&CurrentPrinter(), DialogParent());
    QDialog* raw = dialog.get();
    QObject::connect(raw, &QDialog::finished, raw, [&d](int result) {
        DialogAnswer a;
        a.ok = result == QDialog::Accepted;
        d.answer(a);
    });
    WaitForAnswer(d, raw);
}

std::string Literal(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

int POPUP(std::string_view items) {
    std::vector<PopupItem> list;
    for (const std::string& raw : SplitItems(items)) {
        PopupItem item;
        if (raw == "-") {
            item.separator = true;
        } else {
            item.enabled = raw.empty() || raw.front() != '~';
            item.text = item.enabled ? raw : raw.substr(1);
        }
        list.push_back(std::move(item));
    }
    return POPUP(list);
}

int POPUP(const std::vector<PopupItem>& items) {
    PendingDialog d;
    d.kind = DialogKind::Popup;
    auto menu = std::make_unique<QMenu>(DialogParent());
    int number = 0;
    for (const PopupItem& item : items) {
        if (item.separator) {
            menu->addSeparator();
            continue;
        }
        ++number;
        QAction* act = menu->addAction(Q(item.text));
        act->setEnabled(item.enabled);
        d.buttons.push_back(WithoutMnemonics(item.text));
        d.values.push_back(item.enabled ? number : 0);
        QObject::connect(act, &QAction::triggered, menu.get(), [&d, number] {
            DialogAnswer a;
            a.ok = true;
            a.button = number;
            d.answer(a);
        });
    }
    QMenu* raw = menu.get();
    // A menu closed without a choice answers 0; a choice's trigger comes
    // after the hide, so the "none" answer waits a turn of the loop.
    QObject::connect(raw, &QMenu::aboutToHide, raw, [&d, raw] {
        QTimer::singleShot(0, raw, [&d] { d.answer(DialogAnswer{}); });
    });
    raw->popup(QCursor::pos());
    return WaitForAnswer(d, nullptr).button;
}

}  // namespace fw
