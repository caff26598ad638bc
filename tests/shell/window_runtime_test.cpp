// The shell's seams on the window runtime: warnings as message boxes and
// halts, window placement and proportional resize on real windows, and the
// help convention.
#include "window_fixture.h"

#include "shell/help_convention.h"
#include "shell/shell_open.h"
#include "shell/warnings.h"
#include "shell/window_placement.h"

#include "platform/config/ini_file.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"

#include <functional>

namespace {

class WindowRuntimeTest : public ShellWindowTest {
protected:
    static fw::WindowLayout Layout() {
        return fw::ParseLayout(
            "window PLACED\ncaption \"Placed\"\nat 20 20 160 100\nattr resize\n"
            "control ?LEFT button\n  text \"A\"\n  at 10 20 40 14\n"
            "control ?WIDE string\n  text \"B\"\n  at 80 60 60 10\n",
            "PLACED");
    }
    // A window whose procedure restores its placement when it opens and
    // saves it when it is closed; resize as the program's resizable
    // windows do.
    // `maximised`: it opens maximised, as an MDI child opens beside a
    // maximised one.
    void StartPlacedWindow(bool maximised = false) {
        d().Start([maximised] {
            fw::Window window(Layout());
            window.Open();
            if (maximised) window.Set(fw::Prop::Maximize, 1);
            shell::RestoreWindowPlacement("songbook.ini", "placed");
            shell::WindowResizeState resize;
            shell::InitWindowResize(resize);
            while (fw::ACCEPT()) {
                if (fw::EVENT() == fw::Event::Sized) shell::ResizeWindowControls(resize);
                if (fw::EVENT() == fw::Event::CloseWindow) shell::SaveWindowPlacement("songbook.ini", "placed");
            }
            shell::EndWindowResize(resize);
        });
        ASSERT_NE(Placed(), nullptr);
    }
    fw::Window* Placed() { return d().FindWindow("PLACED"); }
    int Du(fw::Prop prop, int field = 0) { return static_cast<int>(Placed()->Get(prop, field).Int()); }
    shell::WindowGeometry Geometry() {
        return {Du(fw::Prop::Xpos), Du(fw::Prop::Ypos), Du(fw::Prop::Width), Du(fw::Prop::Height)};
    }
    void Place(const shell::WindowGeometry& g) {
        Placed()->Set(fw::Prop::Xpos, g.x);
        Placed()->Set(fw::Prop::Ypos, g.y);
        Placed()->Set(fw::Prop::Width, g.width);
        Placed()->Set(fw::Prop::Height, g.height);
        d().Settle();
    }
    static std::string Saved(const char* entry) { return fw::GETINI("placed", entry, "", "songbook.ini"); }
};

TEST_F(WindowRuntimeTest, WarningsAreMessageBoxesAndTheirHaltsEndTheProgram) {
    int answer = 0;
    d().AnswerMessage("SongBook key file is invalid.", fw::Button::Yes);
    d().Start([&] { answer = shell::ShowWarningOneText(2, "SongBook"); });
    EXPECT_EQ(answer, shell::button::Yes);
    EXPECT_EQ(d().Messages(), std::vector<std::string>{
                                  "Invalid Key: SongBook key file is invalid.  Do you want to rebuild the key?"});
    EXPECT_FALSE(d().Halted());

    bool returned = false;
    d().AnswerMessage("SongBook key file is invalid.", fw::Button::No);
    d().Start([&] {
        shell::ShowWarningOneText(2, "SongBook");
        returned = true;
    });
    EXPECT_TRUE(d().Halted());
    EXPECT_EQ(d().HaltText(), "Invalid Key!");
    EXPECT_FALSE(returned);
}

TEST_F(WindowRuntimeTest, PlacementIsSavedAndRestoredOnARealWindow) {
    StartPlacedWindow();
    const shell::WindowGeometry design = Geometry();
    const shell::WindowGeometry moved{30, 40, 200, 120};
    Place(moved);
    ASSERT_EQ(Geometry(), moved);
    d().CloseWindow("PLACED");
    EXPECT_EQ(Saved("Maximize"), "No");
    EXPECT_EQ(Saved("XPosit"), "30");
    EXPECT_EQ(Saved("Height"), "120");

    // Opened again where it was left, not at its design position.
    StartPlacedWindow();
    EXPECT_NE(Geometry(), design);
    EXPECT_EQ(Geometry(), moved);

    // A maximised window is saved with its normal geometry and comes back maximised.
    Placed()->Set(fw::Prop::Maximize, 1);
    d().Settle();
    d().CloseWindow("PLACED");
    EXPECT_EQ(Saved("Maximize"), "Yes");
    EXPECT_EQ(Saved("XPosit"), "30");
    EXPECT_EQ(Saved("Width"), "200");
    StartPlacedWindow();
    EXPECT_TRUE(Placed()->Get(fw::Prop::Maximize).Bool());

    // A minimised window saves nothing.
    Placed()->Set(fw::Prop::Maximize, 0);
    Place({50, 60, 180, 110});
    Placed()->Set(fw::Prop::Iconize, 1);
    d().Settle();
    d().CloseWindow("PLACED");
    EXPECT_EQ(Saved("Maximize"), "Yes");
    EXPECT_EQ(Saved("XPosit"), "30");
}

TEST_F(WindowRuntimeTest, ControlsScaleWithTheWindowFromTheirFirstGeometry) {
    StartPlacedWindow();
    const int left = Placed()->Feq("?LEFT"), wide = Placed()->Feq("?WIDE");
    const shell::WindowGeometry start = Geometry();
    const int x0 = Du(fw::Prop::Xpos, wide), y0 = Du(fw::Prop::Ypos, wide), w0 = Du(fw::Prop::Width, wide);

    Place({start.x, start.y, start.width * 2, start.height});
    // Pixel rounding of the dialog units allows one unit either way.
    EXPECT_NEAR(Du(fw::Prop::Xpos, wide), 2 * x0, 1);
    EXPECT_NEAR(Du(fw::Prop::Width, wide), 2 * w0, 1);
    EXPECT_EQ(Du(fw::Prop::Ypos, wide), y0);
    EXPECT_NEAR(Du(fw::Prop::Width, left), 80, 1);

    Place(start);
    EXPECT_EQ(Du(fw::Prop::Xpos, wide), x0);
    EXPECT_EQ(Du(fw::Prop::Width, wide), w0);
    EXPECT_EQ(Du(fw::Prop::Xpos, left), 10);
}

TEST_F(WindowRuntimeTest, AWindowOpenedMaximisedComesBackWholeWhenRestored) {
    StartPlacedWindow(true);
    ASSERT_TRUE(Placed()->Get(fw::Prop::Maximize).Bool());
    const int left = Placed()->Feq("?LEFT"), wide = Placed()->Feq("?WIDE");
    const shell::WindowGeometry maximised = Geometry();
    ASSERT_GT(maximised.width, 160);
    // Maximised, the controls fill the window as they fill it at its designed size.
    EXPECT_NEAR(Du(fw::Prop::Width, wide), 60 * maximised.width / 160, 1);
    EXPECT_NEAR(Du(fw::Prop::Ypos, wide), 60 * maximised.height / 100, 1);

    Placed()->Set(fw::Prop::Maximize, 0);
    d().Settle();
    EXPECT_EQ(Du(fw::Prop::Width), 160);
    EXPECT_EQ(Du(fw::Prop::Height), 100);
    const shell::WindowGeometry designed[] = {{10, 20, 40, 14}, {80, 60, 60, 10}};
    int n = 0;
    for (int control : {left, wide}) {
        SCOPED_TRACE(control);
        const shell::WindowGeometry& g = designed[n++];
        EXPECT_EQ(Du(fw::Prop::Xpos, control), g.x);
        EXPECT_EQ(Du(fw::Prop::Ypos, control), g.y);
        EXPECT_EQ(Du(fw::Prop::Width, control), g.width);
        EXPECT_EQ(Du(fw::Prop::Height, control), g.height);
    }
}

TEST_F(WindowRuntimeTest, HelpOpensTheTopicPageOrTheIndex) {
    WriteFile(install_ + "/help/WorkingWithSongBook.htm", "<html></html>");
    shell::InstallFolder = install_;
    const std::string index = "file://" + install_ + "/help/index.htm";
    const std::string topic = "file://" + install_ + "/help/WorkingWithSongBook.htm";
    struct Case { unsigned long major; const char* topic; bool shown; std::string url; };
    const Case cases[] = {
        {5, "", true, index},
        {5, "WorkingWithSongBook.htm", true, topic},
        {5, "::/WorkingWithSongBook.htm", true, topic},
        {5, "AddTracks.htm", false, ""},  // no page yet: nothing opens
        {4, "WorkingWithSongBook.htm", true, index},  // old-style help: always the index
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.topic);
        opened.clear();
        shell::OsVersionInfo.majorVersion = c.major;
        EXPECT_EQ(shell::ShowProgramHelp(c.topic), c.shown);
        EXPECT_EQ(opened, c.shown ? std::vector<std::string>{c.url} : std::vector<std::string>{});
    }
    shell::OsVersionInfo = {};
}

TEST_F(WindowRuntimeTest, HelpAndWebPagesSaySoWhenNoBrowserStarts) {
    shell::InstallFolder = install_;
    shell::OsVersionInfo.majorVersion = 5;
    openerWorks = false;
    bool shown = true;
    bool web = true;
    d().AnswerMessage("no web browser or viewer could be started", fw::Button::Ok);
    d().AnswerMessage("no web browser could be started", fw::Button::Ok);
    d().Start([&] {
        shown = shell::ShowProgramHelp();
        web = shell::ShellOpenDocument("https://cantorvale.example.org/");
    });
    EXPECT_FALSE(shown);
    EXPECT_FALSE(web);
    // Neither gives a caption of its own: the box shows the program's name.
    const std::string name(shell::kProgramTitle);
    ASSERT_EQ(d().Messages().size(), 2u);
    EXPECT_EQ(d().Messages()[0], name + ": The Help pages could not be shown: no web browser or viewer could be started.");
    EXPECT_EQ(d().Messages()[1].rfind(name + ": The web page https://cantorvale.example.org/", 0), 0u);
    shell::OsVersionInfo = {};
}

}  // namespace
