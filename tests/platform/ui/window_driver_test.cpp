// A window from a layout file with a control of each kind, driven through
// the test driver as a user would: its events, their order, USE variables,
// pictures, the accept-all pass, properties, alert keys and pop-ups.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/text/fixed_string.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/events.h"
#include "platform/ui/layout.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace {

using fw::Prop;
using fw::testing::Driver;
using fw::testing::GTestFailures;

std::string EventName(int e) {
    switch (e) {
    case fw::Event::Accepted: return "Accepted";
    case fw::Event::NewSelection: return "NewSelection";
    case fw::Event::AlertKey: return "AlertKey";
    case fw::Event::Rejected: return "Rejected";
    case fw::Event::TabChanging: return "TabChanging";
    case fw::Event::Selected: return "Selected";
    case fw::Event::OpenWindow: return "OpenWindow";
    case fw::Event::GainFocus: return "GainFocus";
    case fw::Event::CloseWindow: return "CloseWindow";
    case fw::Event::Completed: return "Completed";
    case fw::Event::Timer: return "Timer";
    case fw::Event::Sized: return "Sized";
    default: return std::to_string(e);
    }
}

struct Sample {
    fw::FString<20> name;
    long count = 0;
    fw::FString<20> font;
    fw::FString<20> genre;
    fw::FString<1> print;
    long size = 0;
    long copies = 1;
    long percent = 0;
    std::vector<std::string> log;
    int popup = -1;
    bool acceptAllSeen = false;

    // The events a test looks at, without focus moves.
    std::vector<std::string> Events() const {
        std::vector<std::string> out;
        for (const auto& l : log)
            if (l.rfind("Selected", 0) != 0) out.push_back(l);
        return out;
    }
};

void SampleWindow(Sample& s) {
    fw::Window w("SAMPLE");
    w.Use("?NAME", s.name);
    w.Use("?COUNT", s.count);
    w.Use("?FONT", s.font);
    w.Use("?GENRE", s.genre);
    w.Use("?PRINT", s.print);
    w.Use("?SIZE", s.size);
    w.Use("?COPIES", s.copies);
    w.Use("?BAR", s.percent);
    w.Open();
    while (fw::ACCEPT()) {
        const int e = fw::EVENT();
        std::string entry = EventName(e);
        if (fw::FIELD()) entry += " " + w.Find(fw::FIELD())->Layout().spelling;
        if (e == fw::Event::AlertKey) {
            char code[16];
            std::snprintf(code, sizeof code, " %Xh", fw::KEYCODE());
            entry += code;
        }
        if (e == fw::Event::Sized) continue;
        s.log.push_back(entry);
        if (fw::GetProp({}, Prop::AcceptAll).Bool()) s.acceptAllSeen = true;
        if (e == fw::Event::Completed) fw::POST(fw::Event::CloseWindow);
        if (fw::ACCEPTED() == "?OK") fw::SELECT();
        if (fw::ACCEPTED() == "?ITEMPOPUP") s.popup = fw::POPUP("&Insert|~&Display All Tracks|-|&Delete");
        if (fw::ACCEPTED() == "?TOOLPRINT") {
            s.percent = 40;
            fw::DISPLAY("?BAR");
        }
    }
}

class WindowDriverTest : public ::testing::Test {
protected:
    void SetUp() override { fw::SetLayoutFolder(CV_TEST_DIR "/layouts"); }
    void TearDown() override { fw::SetLayoutFolder({}); }
};

TEST_F(WindowDriverTest, OpensWithOpenWindowThenGainFocusInDialogUnits) {
    Driver d(GTestFailures());
    Sample s;
    d.Start([&] { SampleWindow(s); });
    ASSERT_GE(s.log.size(), 2u);
    EXPECT_EQ(s.log[0], "OpenWindow");
    EXPECT_EQ(s.log[1], "GainFocus");
    fw::Window* w = d.FindWindow("sample");  // labels are found whatever their case
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(d.Caption("SAMPLE"), "Sample");
    // Positions read back in the dialog units they were drawn in.
    EXPECT_EQ(w->Get(Prop::Xpos, w->Feq("?OK")).Int(), 240);
    EXPECT_EQ(w->Get(Prop::Width, w->Feq("?OK")).Int(), 50);
    EXPECT_EQ(w->Get(Prop::Height, w->Feq("?COUNT")).Int(), 12);
    EXPECT_EQ(w->Get(Prop::Width).Int(), 300);
    EXPECT_EQ(w->Get(Prop::Type, w->Feq("?TAB1")).Int(), 38);
    EXPECT_EQ(w->Get(Prop::Type, w->Feq("?ITEMPOPUP")).Int(), 20);
    w->Set(Prop::Xpos, 100, w->Feq("?OK"));
    EXPECT_EQ(w->Get(Prop::Xpos, w->Feq("?OK")).Int(), 100);
    d.CloseWindow();
    EXPECT_EQ(s.log.back(), "CloseWindow");
    EXPECT_FALSE(d.IsOpen("SAMPLE"));
}

TEST_F(WindowDriverTest, EntriesReadThroughTheirPictureAndRefuseBadInput) {
    Driver d(GTestFailures());
    Sample s;
    d.Start([&] { SampleWindow(s); });
    s.log.clear();
    d.Type("?NAME", "Danny Boy");
    EXPECT_EQ(s.name.Str(), "Danny Boy");
    struct Case {
        const char* typed;
        const char* event;
        long count;
    };
    for (const Case& c : {Case{"abc", "Rejected ?COUNT", 0}, Case{"600", "Rejected ?COUNT", 0},
                          Case{"1,234", "Rejected ?COUNT", 0}, Case{"42", "Accepted ?COUNT", 42}}) {
        if (std::string(c.event).rfind("Rejected", 0) == 0)
            d.AnswerMessage("Please enter a number from 1 to 500.", fw::Button::Ok);
        d.Type("?COUNT", c.typed);
        EXPECT_EQ(d.UnusedAnswers(), 0u) << c.typed;
        EXPECT_EQ(s.Events().back(), c.event) << c.typed;
        EXPECT_EQ(s.count, c.count) << c.typed;
    }
    EXPECT_EQ(d.Text("?COUNT"), "   42");  // shown again through @n5
}

TEST_F(WindowDriverTest, AcceptAllPassValidatesEachFieldThenCompletes) {
    Driver d(GTestFailures());
    Sample s;
    d.Start([&] { SampleWindow(s); });
    d.AnswerMessage("Please enter a number from 1 to 500.", fw::Button::Ok);
    d.Type("?COUNT", "abc");
    s.log.clear();
    d.AnswerMessage("Please enter a number from 1 to 500.", fw::Button::Ok);
    d.Press("?OK");
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    // OK is not pressed while an entry holds typing it refused: the entry
    // refuses it again and keeps the focus.
    EXPECT_EQ(s.Events(), (std::vector<std::string>{"Rejected ?COUNT"}));
    EXPECT_FALSE(s.acceptAllSeen);
    EXPECT_EQ(d.FindWindow("SAMPLE")->Focus(), d.FindWindow("SAMPLE")->Feq("?COUNT"));
    d.Type("?COUNT", "7");
    s.log.clear();
    d.Press("?OK");
    EXPECT_EQ(s.Events(), (std::vector<std::string>{"Accepted ?OK", "Accepted ?NAME", "Accepted ?COUNT", "Accepted ?FONT",
                                                    "Accepted ?GENRE", "Accepted ?PRINT", "Accepted ?SIZE",
                                                    "Accepted ?COPIES", "Completed", "CloseWindow"}));
    EXPECT_TRUE(s.acceptAllSeen);
    EXPECT_FALSE(d.IsOpen("SAMPLE"));
}

// Leaving a refused entry for another control says why and brings the focus
// back with the text selected; Enter (the default button) and OK are not
// pressed over it; leaving for Cancel or closing the window refuses nothing.
TEST_F(WindowDriverTest, ARefusedEntryKeepsTheFocusUntilPutRightOrCancelled) {
    Driver d(GTestFailures());
    Sample s;
    s.count = 5;
    d.Start([&] { SampleWindow(s); });
    fw::Window* w = d.FindWindow("SAMPLE");
    QWidget* count = w->Find("?COUNT")->Widget();
    auto* edit = qobject_cast<QLineEdit*>(count);
    ASSERT_NE(edit, nullptr);
    const std::string refusal = "Please enter a number from 1 to 500.";

    d.TypeKeys("?COUNT", "x");  // typed, not yet taken
    s.log.clear();
    d.AnswerMessage(refusal, fw::Button::Ok);
    w->Find("?NAME")->Widget()->setFocus(Qt::TabFocusReason);
    d.Settle();
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(s.Events(), (std::vector<std::string>{"Rejected ?COUNT"}));
    EXPECT_EQ(QApplication::focusWidget(), count);
    EXPECT_EQ(edit->selectedText().toStdString(), d.Text("?COUNT"));
    EXPECT_EQ(s.count, 5);

    s.log.clear();
    d.AnswerMessage(refusal, fw::Button::Ok);
    d.Key("?COUNT", fw::KeyCode::Enter);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(s.Events(), (std::vector<std::string>{"Rejected ?COUNT"})) << "OK was not pressed";
    EXPECT_TRUE(d.IsOpen("SAMPLE"));

    // Going to Cancel says nothing; the close it leads to happens.
    s.log.clear();
    w->Find("?CANCEL")->Widget()->setFocus(Qt::MouseFocusReason);
    d.Settle();
    EXPECT_TRUE(s.Events().empty());
    EXPECT_EQ(s.count, 5);
    d.Press("?CANCEL");
    EXPECT_FALSE(d.IsOpen("SAMPLE"));
    EXPECT_TRUE(d.Messages().size() == 2u);
}

TEST_F(WindowDriverTest, ChoicesChecksOptionsAndSpins) {
    Driver d(GTestFailures());
    Sample s;
    s.font = "Times New Roman";
    s.size = 2;
    d.Start([&] { SampleWindow(s); });
    EXPECT_EQ(d.Highlight("?FONT"), 3);  // the row of the variable's value
    EXPECT_EQ(d.Highlight("?SIZE"), 2);
    d.Choose("?FONT", 2);
    EXPECT_EQ(s.font.Str(), "Courier");
    d.Choose("?GENRE", 3);
    EXPECT_EQ(s.genre.Str(), "Country");
    d.Type("?GENRE", "Jazz");  // a combo keeps typed text
    EXPECT_EQ(s.genre.Str(), "Jazz");
    d.Check("?PRINT", true);
    EXPECT_EQ(s.print.Str(), "X");
    d.Check("?PRINT", false);
    EXPECT_EQ(s.print.Str(), "");
    d.Choose("?SIZE", 1);
    EXPECT_EQ(s.size, 1);
    EXPECT_EQ(s.Events().back(), "Accepted ?SIZE");
    fw::Window* w = d.FindWindow("SAMPLE");
    w->Set(Prop::Disable, 1, w->Feq("?SIZE:LARGE"));  // one radio of the option
    EXPECT_FALSE(d.Enabled("?SIZE:LARGE"));
    EXPECT_TRUE(d.Enabled("?SIZE:SMALL"));
    d.AnswerMessage("Please enter a number from 1 to 100.", fw::Button::Ok);
    d.Type("?COPIES", "150");
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(s.Events().back(), "Rejected ?COPIES");
    EXPECT_EQ(s.copies, 1);
    w->Set(Prop::RangeHigh, 200, w->Feq("?COPIES"));  // the range set at run time
    d.Type("?COPIES", "150");
    EXPECT_EQ(s.copies, 150);
    d.Choose("?COPIES", 1);  // one step up
    EXPECT_EQ(s.Events().back(), "NewSelection ?COPIES");
}

TEST_F(WindowDriverTest, ContainersListsSheetsAndAlertKeys) {
    Driver d(GTestFailures());
    Sample s;
    d.Start([&] { SampleWindow(s); });
    fw::Window* w = d.FindWindow("SAMPLE");
    w->Set(Prop::Hide, 1, w->Feq("?GROUP1"));
    EXPECT_TRUE(d.Hidden("?DETAIL"));
    w->Set(Prop::Hide, 0, w->Feq("?GROUP1"));
    EXPECT_FALSE(d.Hidden("?DETAIL"));
    EXPECT_FALSE(d.Hidden("?ON1"));
    EXPECT_TRUE(d.Hidden("?ON2"));
    s.log.clear();
    d.Choose("?SHEET", 2);
    EXPECT_EQ(s.Events(), (std::vector<std::string>{"TabChanging ?SHEET", "NewSelection ?SHEET"}));
    EXPECT_TRUE(d.Hidden("?ON1"));
    EXPECT_FALSE(d.Hidden("?ON2"));
    EXPECT_EQ(w->Get(Prop::ChoiceFEQ, w->Feq("?SHEET")).Int(), w->Feq("?TAB2"));

    EXPECT_EQ(d.Rows("?LIST"), (std::vector<std::string>{"one", "two", "three"}));
    s.log.clear();
    d.Choose("?LIST", 2);
    d.Press("?LIST");  // Enter on the highlight
    d.Key("?LIST", fw::KeyCode::Insert);
    d.Key("?LIST", fw::KeyCode::MouseLeft2);
    d.Key("?NAME", fw::KeyCode::CtrlApostrophe);  // the ditto key
    d.Key("?OK", fw::KeyCode::MouseRight);        // alerted window-wide
    d.Key("?OK", fw::KeyCode::F1);                // not alerted: no event
    EXPECT_EQ(s.Events(), (std::vector<std::string>{"NewSelection ?LIST", "Accepted ?LIST", "AlertKey ?LIST 2Dh",
                                                    "AlertKey ?LIST 5h", "AlertKey ?NAME 2DEh", "AlertKey ?OK 2h"}));
    EXPECT_EQ(d.Highlight("?LIST"), 2);
}

TEST_F(WindowDriverTest, PropertiesMenusPopupsAndDisplay) {
    Driver d(GTestFailures());
    Sample s;
    d.Start([&] { SampleWindow(s); });
    fw::Window* w = d.FindWindow("SAMPLE");
    const int ok = w->Feq("?OK");
    struct Case {
        Prop prop;
        fw::PropValue value;
    };
    for (const Case& c : {Case{Prop::Text, "&Save"}, Case{Prop::FontName, "Arial"}, Case{Prop::FontSize, 12},
                          Case{Prop::FontStyle, 700 + 4096}, Case{Prop::FontColor, 0x0000FF}, Case{Prop::Color, 0x808080},
                          Case{Prop::Msg, "Saves it"}, Case{Prop::Tip, "Line 1|Line 2"}}) {
        w->Set(c.prop, c.value, ok);
        EXPECT_EQ(w->Get(c.prop, ok).Str(), c.value.Str()) << fw::PropName(c.prop);
    }
    EXPECT_EQ(d.Text("?OK"), "&Save");
    w->Set(Prop::Disable, 1, ok);
    EXPECT_FALSE(d.Enabled("?OK"));
    w->Set(Prop::Text, "Working");
    EXPECT_EQ(d.Caption("SAMPLE"), "Working");
    w->Set(Prop::StatusText, "zone two", 0, 2);
    EXPECT_EQ(w->Get(Prop::StatusText, 0, 2).Str(), "zone two");

    d.AnswerPopup(4);
    d.Press("?ITEMPOPUP");
    EXPECT_EQ(s.popup, 4);
    d.AnswerPopup(0);
    d.Press("?ITEMPOPUP");
    EXPECT_EQ(s.popup, 0);

    d.Press("?TOOLPRINT");  // a tool-bar button; its handler DISPLAYs the bar
    EXPECT_EQ(d.Text("?BAR"), "40");
    EXPECT_EQ(w->Get(Prop::Fill, w->Feq("?BOX")).Int(), 0xFFFF);
}

// A picture of the sample window for a developer to look at: runs only
// when CV_SCREENSHOT_DIR names a folder (see docs/architecture.md).
TEST_F(WindowDriverTest, ScreenshotWhenAsked) {
    const QByteArray dir = qgetenv("CV_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    Driver d(GTestFailures());
    Sample s;
    s.name = "Danny Boy";
    s.count = 12;
    s.font = "Courier";
    s.print = "X";
    s.size = 2;
    s.percent = 60;
    d.Start([&] { SampleWindow(s); });
    EXPECT_TRUE(d.Screenshot("SAMPLE", dir.toStdString() + "/SAMPLE.png"));
}

// -- message boxes and common dialogs --

TEST(MessagesAndDialogs, MessageButtonsDefaultsAndTextLists) {
    Driver d(GTestFailures());
    std::vector<int> results;
    d.AnswerMessage("Delete this|listing?", fw::Button::Yes);
    d.AnswerMessage("Print", 2);
    d.Start([&] {
        results.push_back(fw::MESSAGE("Delete this|listing?", "Confirm", fw::Icon::Question, fw::Button::Yes + fw::Button::No,
                                      fw::Button::No));
        results.push_back(fw::MESSAGE("Print what?", "", "", "&This Listing|&Entire Disc|&Cancel", 1));
    });
    EXPECT_EQ(results, (std::vector<int>{fw::Button::Yes, 2}));
    EXPECT_EQ(d.Messages(), (std::vector<std::string>{"Confirm: Delete this\nlisting?", ": Print what?"}));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

TEST(MessagesAndDialogs, AnUnexpectedMessageFailsWithItsTextAndTakesTheDefault) {
    std::vector<std::string> failures;
    int result = 0;
    {
        Driver d([&](const std::string& m) { failures.push_back(m); });
        d.Start([&] { result = fw::MESSAGE("Disc Already Added!", "Add", fw::Icon::Hand, fw::Button::Ok + fw::Button::Cancel,
                                           fw::Button::Cancel); });
    }
    EXPECT_EQ(result, fw::Button::Cancel);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("Disc Already Added!"), std::string::npos);
}

TEST(MessagesAndDialogs, ASystemModalBoxBlocksStart) {
    Driver d(GTestFailures());
    int started = -1;
    bool otherRan = false;
    d.AnswerMessage("tagged", fw::Button::Yes);
    d.Start([&] {
        // While the box is up no START succeeds; the box is answered by the
        // script during the wait, so START after it works again.
        fw::MESSAGE("There are still disc(s) tagged", "", fw::Icon::Question, fw::Button::Yes + fw::Button::No, 0,
                    fw::MessageStyle::SystemModal);
        started = fw::START([&] { otherRan = true; });
    });
    EXPECT_GT(started, 0);
    EXPECT_TRUE(otherRan);
}

TEST(MessagesAndDialogs, CommonDialogsAnswerFromTheScript) {
    Driver d(GTestFailures());
    fw::FString<10> file("old");
    std::string folder;
    long color = 0xFF;
    std::string face = "Arial";
    int size = 10, style = 400;
    long fontColor = 0;
    std::vector<bool> chosen;
    std::string cwd = QDir::currentPath().toStdString();
    d.AnswerFileDialog("/tmp/songbooks/Party.SBK");
    d.AnswerFileDialog("");
    d.AnswerColorDialog(0x800040);
    d.AnswerFontDialog("Times New Roman", 14, 0x0000FF, 700 + 4096);
    d.AnswerPrinterDialog(false);
    d.Start([&] {
        chosen.push_back(fw::FILEDIALOG("Choose SongBook to Open", file, "SongBook|*.SBK", fw::FileDialogFlag::LongName));
        chosen.push_back(fw::FILEDIALOG("Select New Folder", folder, "", fw::FileDialogFlag::Directory));
        chosen.push_back(fw::COLORDIALOG("Choose Box Color", color));
        chosen.push_back(fw::FONTDIALOG("Choose Header Font", face, size, fontColor, style));
        chosen.push_back(fw::PRINTERDIALOG("Select A Printer"));
    });
    EXPECT_EQ(chosen, (std::vector<bool>{true, false, true, true, false}));
    EXPECT_EQ(file.Str(), "/tmp/songb");  // cut to the variable's length
    EXPECT_EQ(folder, "");
    EXPECT_EQ(color, 0x800040);
    EXPECT_EQ(face, "Times New Roman");
    EXPECT_EQ(size, 14);
    EXPECT_EQ(fontColor, 0x0000FF);
    EXPECT_EQ(style, 700 + 4096);
    EXPECT_EQ(QDir::currentPath().toStdString(), cwd);
}

TEST(MessagesAndDialogs, MdiChildrenTileMinimiseMaximiseAndActivate) {
    Driver d(GTestFailures());
    auto layout = [](const std::string& label, const std::string& kind) {
        return fw::ParseLayout("window " + label + "\nkind " + kind + "\nat 0 0 200 120\n", label);
    };
    std::vector<std::string> log;
    d.Start([&] {
        fw::Window frame(layout("FRAME", "frame"));
        frame.Open();
        while (fw::ACCEPT())
            if (fw::EVENT() == fw::Event::OpenWindow)
                for (const char* name : {"ONE", "TWO"})
                    fw::START([&, name] {
                        fw::Window w(layout(name, "mdi"));
                        w.Open();
                        while (fw::ACCEPT())
                            if (fw::EVENT() == fw::Event::GainFocus) log.push_back(std::string(name) + " GainFocus");
                    });
    });
    ASSERT_TRUE(d.IsOpen("ONE"));
    ASSERT_TRUE(d.IsOpen("TWO"));
    fw::Window* one = d.FindWindow("ONE");
    EXPECT_EQ(d.FindWindow("FRAME")->MdiArea()->subWindowList().size(), 2);
    fw::TileWindows();
    fw::CascadeWindows();
    one->Set(Prop::Iconize, 1);
    EXPECT_EQ(one->Get(Prop::Iconize).Int(), 1);
    one->Set(Prop::Maximize, 1);
    EXPECT_EQ(one->Get(Prop::Maximize).Int(), 1);
    one->Set(Prop::Maximize, 0);
    EXPECT_EQ(one->Get(Prop::Maximize).Int(), 0);
    log.clear();
    one->Set(Prop::Active, 1);
    d.Settle();
    EXPECT_EQ(log, std::vector<std::string>{"ONE GainFocus"});
    EXPECT_EQ(one->Get(Prop::Active).Int(), 1);
}

TEST(MessagesAndDialogs, CursorsAndToolTipSwitch) {
    fw::SETCURSOR(fw::Cursor::Wait);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    fw::SETCURSOR();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(fw::NoTips());
    fw::SetNoTips(true);
    EXPECT_TRUE(fw::NoTips());
    fw::SetNoTips(false);
}

}  // namespace
