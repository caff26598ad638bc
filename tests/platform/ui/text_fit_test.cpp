// The room texts need: a grown window holds its texts, its lists' columns
// and its title (also one set while it is open), and a message box is as
// wide as its title needs.
#include "platform/ui/text_fit.h"
#include "platform/ui/window.h"

#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/widgets/paged_list_widget.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextFit, AMessageBoxIsAsWideAsItsTitleNeeds) {
    const std::string caption = "Cantorvale V2 DedaDaru Virovir - A Long Title for a Short Message";
    QMessageBox box;
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText("OK?");
    ASSERT_LT(box.sizeHint().width(), fw::CaptionNeeds(caption)) << "the title is the widest part";
    fw::KeepCaptionWhole(box, caption);
    EXPECT_GE(box.sizeHint().width(), fw::CaptionNeeds(caption));
}

// A window whose texts are too wide for its designed size grows across
// until they fit, its controls in proportion; one whose texts fit keeps it.
TEST(TextFit, AWindowGrowsUntilItsTextsFit) {
    const auto window = [](const char* text) {
        return fw::ParseLayout(std::string("window GROWS\nat 0 0 100 40\n"
                                           "control ?TEXT string\n  at 4 4 60 10\n  text \"") + text +
                                   "\"\ncontrol ?OK button\n  text \"OK\"\n  at 70 20 24 14\n",
                               "GROWS");
    };
    const fw::Window fits(window("Short"));
    const fw::Window grows(window("A text too long for it"));
    const QWidget* text = grows.Find("?TEXT")->Widget();
    const auto need = fw::TextNeeds(grows.Find("?TEXT")->Layout(), text->font(), text->width());
    ASSERT_TRUE(need);
    EXPECT_LE(need->width(), text->width());
    EXPECT_GT(grows.Content()->width(), fits.Content()->width());
    EXPECT_NEAR(grows.Find("?OK")->Widget()->x() * 100, grows.Content()->width() * 70, 100) << "in proportion";
    EXPECT_EQ(fits.Content()->width(), fits.DuToPxX(100));
    EXPECT_EQ(fits.Find("?TEXT")->Widget()->width(), fits.DuToPxX(60));
}

// A window whose list is narrower than its columns widens by what the list
// lacks, as a strip at the list's right edge: a button left of the edge
// keeps its place, one right of it and the window move by the strip, a
// sheet around the list widens with it. Columns wider than the screen
// widen it to the screen's width, and the list scrolls across the rest.
TEST(TextFit, AWindowWidensItsListsUntilEveryColumnShowsWhole) {
    const auto window = [](const std::string& format) {
        return fw::ParseLayout("window LISTS\nat 0 0 300 120\n"
                               "control ?SHEET sheet\n  at 2 2 206 110\n"
                               "control ?TAB tab\n  parent ?SHEET\n  text \"One\"\n"
                               "control ?LIST list\n  parent ?TAB\n  at 4 16 200 80\n  format \"" + format +
                                   "\"\n  attr vscroll paged\n"
                               "control ?LEFT button\n  parent ?TAB\n  text \"L\"\n  at 4 98 30 12\n"
                               "control ?RIGHT button\n  text \"R\"\n  at 240 20 30 12\n",
                               "LISTS");
    };
    const std::string columns = "140L(2)|M~Title~@s40@135L(2)|M~Artist~@s40@32C|M~Disc ID~@s15@"
                                "32C|M~Track~@n_4B@21C|M~Omit?~@s1@5C|M~Mfg.~@s2@";
    const fw::Window fits(window("60L|M~Code~@s4@"));
    fw::Window widened(window(columns));
    widened.Root()->show();
    const auto& list = static_cast<const fw::ListControl&>(*widened.Find("?LIST"));
    const int strip = widened.Content()->width() - fits.Content()->width();
    ASSERT_GT(strip, 0);
    EXPECT_GE(list.List()->width(), list.List()->widthToShowColumns());
    EXPECT_EQ(list.List()->horizontalScrollBar()->maximum(), 0);
    // (A pixel either way: the strip is whole dialog units.)
    EXPECT_NEAR(list.List()->width() - fits.Find("?LIST")->Widget()->width(), strip, 1);
    EXPECT_NEAR(widened.Find("?SHEET")->Widget()->width() - fits.Find("?SHEET")->Widget()->width(), strip, 1);
    EXPECT_EQ(widened.Find("?LEFT")->Widget()->geometry(), fits.Find("?LEFT")->Widget()->geometry());
    EXPECT_NEAR(widened.Find("?RIGHT")->Widget()->x() - fits.Find("?RIGHT")->Widget()->x(), strip, 1);
    EXPECT_EQ(fits.Content()->width(), fits.DuToPxX(300)) << "a list that fits widens nothing";

    std::string wider;
    for (int i = 0; i < 12; ++i) wider += "100L|M~Title~@s40@";
    fw::Window screenWide(window(wider));
    screenWide.Root()->show();
    const int room = QGuiApplication::primaryScreen()->availableGeometry().width();
    EXPECT_LE(screenWide.Content()->width(), room);
    EXPECT_GT(screenWide.Content()->width(), room * 9 / 10) << "as wide as the screen allows";
    const auto* cut = static_cast<const fw::ListControl&>(*screenWide.Find("?LIST")).List();
    EXPECT_GT(cut->horizontalScrollBar()->maximum(), 0) << "the rest is scrolled to";
}

// A title set while the window is open that the title bar cannot show
// widens the window (a fixed one and a resizable one alike, on its own or
// in the frame) until it fits, never beyond the screen; a short title
// changes nothing.
TEST(TextFit, ATitleSetWhileOpenWidensTheWindowToShowIt) {
    const std::string longTitle = "Edit Main SongBase Track   (DiscID: PARTYTYME-12345  Track:4294967295)";
    fw::Window frame(fw::ParseLayout("window FRAME\nkind frame\nat 0 0 600 400\n", "FRAME"));
    for (const char* attr : {"", "attr resize\n", "kind mdi\n", "kind mdi\nattr resize\n"}) {
        SCOPED_TRACE(attr);
        const bool child = std::string(attr).find("mdi") != std::string::npos;
        if (child) frame.Open();
        fw::Window window(fw::ParseLayout(std::string("window TITLED\ncaption \"Short\"\nat 0 0 100 40\n") + attr +
                                              "control ?OK button\n  text \"OK\"\n  at 40 20 24 14\n",
                                          "TITLED"));
        window.Open();
        const int designed = window.Content()->width();
        window.Set(fw::Prop::Text, std::string("Shorter"));
        EXPECT_EQ(window.Content()->width(), designed);
        ASSERT_GT(fw::CaptionNeeds(longTitle), designed);
        window.Set(fw::Prop::Text, longTitle);
        EXPECT_EQ(window.Get(fw::Prop::Text).Str(), longTitle);
        EXPECT_GE(window.Content()->width(), fw::CaptionNeeds(longTitle));
        EXPECT_EQ(window.Get(fw::Prop::Width).Int(), window.PxToDuX(window.Content()->width()));
        window.Set(fw::Prop::Text, std::string(400, 'W'));
        const int room = child ? frame.MdiArea()->viewport()->width()
                               : QGuiApplication::primaryScreen()->availableGeometry().width();
        EXPECT_LE(window.Root()->frameGeometry().width(), room) << "never wider than the screen or the frame";
        EXPECT_GE(window.Root()->width(), window.Content()->width()) << "the window holds its client area";
        window.Close();
    }
    frame.Close();
}

}  // namespace
