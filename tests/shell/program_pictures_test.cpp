// The program's pictures: every icon and image a window layout names is in
// the icon set and loads, and so is every picture the program's windows
// name, including those of windows whose layouts come later. With
// CV_SCREENSHOT_DIR set, a sheet of the whole set at 16 and 32 pixels is
// written there to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/text/codepage.h"
#include "platform/ui/layout.h"
#include "platform/ui/qt_bridge.h"

namespace {

class ProgramPictures : public ::testing::Test {
protected:
    void SetUp() override { fw::SetLayoutFolder(CV_SOURCE_DIR "/resources/layouts"); }
    void TearDown() override { fw::SetLayoutFolder({}); }
};

bool NamesPicture(const std::string& text) {
    const std::string upper = fw::UpperText(text);
    for (const char* ext : {".ICO", ".BMP", ".GIF", ".PNG", ".JPG", ".SVG"})
        if (upper.size() > 4 && upper.compare(upper.size() - 4, 4, ext) == 0) return true;
    return false;
}

// Loads as a picture and as an icon, at a size a window shows.
void ExpectLoads(const std::string& name, const std::string& where) {
    const std::string path = fw::ImagePath(name);
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(path))) << where << " names " << name << ", which the set lacks";
    QImageReader reader(QString::fromStdString(path));
    reader.setScaledSize({32, 32});
    EXPECT_FALSE(reader.read().isNull()) << name << ": " << reader.errorString().toStdString();
    const QIcon icon = fw::IconFromName(name);
    EXPECT_FALSE(icon.pixmap(16, 16).isNull()) << name << " gives no icon";
}

TEST_F(ProgramPictures, EveryPictureALayoutNamesLoads) {
    int named = 0;
    for (const std::string& label : fw::LayoutLabels()) {
        const fw::WindowLayout l = fw::LoadLayout(label);
        if (!l.icon.empty()) ++named, ExpectLoads(l.icon, label);
        for (const auto& c : l.controls) {
            if (!c.icon.empty()) ++named, ExpectLoads(c.icon, label + " " + c.spelling);
            if (c.kind == fw::ControlKind::Image && NamesPicture(c.text)) ++named, ExpectLoads(c.text, label + " " + c.spelling);
        }
    }
    EXPECT_GT(named, 10);
}

// Every picture the windows of the program name, as they spell them.
const std::vector<std::string> kProgramPictures = {
    "~songbook.ico", "OPENBOOK.ICO", "OpenBook2.ICO", "BACKUP.ICO", "backup.gif", "restore.gif", "rename2.gif",
    "delete.gif", "S_DELETE.ICO", "EDITBK2.ICO", "FINDSONG.ICO", "~findsong.ico", "Search.ico", "Addsongs.ico",
    "Addtrack.ico", "Mandisk.ico", "Cusdisk.ico", "Cddisc.ico", "Diskbook.ico", "Book.ico", "Printer.ico",
    "renumberdisc.ICO", "update1.ico", "~update1.ico", "~update2.ico", "~update3.ico", "~update4.ico",
    "requestslipicon.bmp", "addscreenlogo.bmp", "rudezevizori.bmp", "Style1.bmp", "Style2.bmp", "Style3.bmp",
    "Style4.bmp", "Style5.bmp", "Style6.bmp", "didazavuzez2osplash.bmp",
};

std::vector<std::string> AllPictures() {
    std::vector<std::string> all = kProgramPictures;
    // The install animation's sixteen frames, "~Time005.ico" to "~Time020.ico".
    for (int n = 5; n <= 20; ++n) all.push_back("~Time" + std::string(n < 10 ? "00" : "0") + std::to_string(n) + ".ico");
    return all;
}

TEST_F(ProgramPictures, EveryPictureTheWindowsNameLoads) {
    for (const std::string& name : AllPictures()) ExpectLoads(name, "the program");
}

TEST_F(ProgramPictures, ABareNameTheSetLacksIsAFileAndAFolderNameIsNeverTheSet) {
    const QString folder = QDir::tempPath() + "/cv_pictures_test";
    QDir().mkpath(folder);
    const QString logo = folder + "/Book.ico";
    QImage(8, 8, QImage::Format_RGB32).save(logo, "PNG");
    // A host's own file with a folder is that file, even when the set has the name.
    EXPECT_EQ(fw::ImagePath(fw::A(logo)), fw::A(logo));
    EXPECT_EQ(QFileInfo(QString::fromStdString(fw::ImagePath("Book.ico"))).suffix(), "svg");
    EXPECT_EQ(fw::ImagePath("NoSuchPicture.bmp"), "NoSuchPicture.bmp");
    QDir(folder).removeRecursively();
}

TEST_F(ProgramPictures, SheetWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    const std::vector<std::string> all = AllPictures();
    const int columns = 8, cell = 120;
    const int rows = (static_cast<int>(all.size()) + columns - 1) / columns;
    for (const bool dark : {false, true}) {
        QImage sheet(columns * cell, rows * cell, QImage::Format_RGB32);
        sheet.fill(dark ? QColor(0x2b, 0x2b, 0x2b) : Qt::white);
        QPainter p(&sheet);
        p.setPen(dark ? Qt::white : Qt::black);
        for (int i = 0; i < static_cast<int>(all.size()); ++i) {
            const QPoint at((i % columns) * cell, (i / columns) * cell);
            const QIcon icon = fw::IconFromName(all[i]);
            p.drawPixmap(at + QPoint(10, 10), icon.pixmap(16, 16));
            p.drawPixmap(at + QPoint(40, 10), icon.pixmap(32, 32));
            QImageReader reader(QString::fromStdString(fw::ImagePath(all[i])));
            reader.setScaledSize(reader.size().scaled(64, 48, Qt::KeepAspectRatio));
            p.drawImage(at + QPoint(10, 48), reader.read());
            p.drawText(QRect(at.x(), at.y() + cell - 18, cell, 16), Qt::AlignCenter, QString::fromStdString(all[i]));
        }
        p.end();
        EXPECT_TRUE(sheet.save(QString(dir) + (dark ? "/pictures_dark.png" : "/pictures.png")));
    }
}

}  // namespace
