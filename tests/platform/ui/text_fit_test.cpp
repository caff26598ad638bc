// The room texts need: a grown window holds its texts and its title, and a
// message box is as wide as its title needs.
#include "platform/ui/text_fit.h"
#include "platform/ui/window.h"

#include <QApplication>
#include <QMessageBox>
#include <gtest/gtest.h>

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

}  // namespace
