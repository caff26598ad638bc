// The frame, the Quick Start panel and the About panel, through the test
// driver as a user meets them.
#include "window_fixture.h"

#include "shell/data_dictionary_thread_state.h"
#include "shell/main_frame.h"
#include "shell/program_events.h"

#include "platform/os/os_version.h"
#include "platform/runtime/scheduler.h"
#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

using namespace shell::program_event;

constexpr const char* kFrame = "P1$APPFRAME";
constexpr const char* kQuickStart = "P1$QUICKSTARTWINDOW";
constexpr const char* kAbout = "P1$ABOUTWINDOW";

class MainFrameTest : public ShellWindowTest {
protected:
    // The enable state a user sees: frame Open, frame AutoUpdate, Quick
    // Start's Start and AutoUpdate.
    struct Items {
        bool open, update, start, quickUpdate;
        bool operator==(const Items&) const = default;
    };
    Items Shown() {
        return {d().Enabled("?FILEOPENSONGBOOK", kFrame), d().Enabled("?FILEUPDATEDATAFILES", kFrame),
                d().Enabled("?BUTTON1", kQuickStart), d().Enabled("?BUTTON1:3", kQuickStart)};
    }
    void Post(int event) {
        shell::PostFrameEvent(event);
        d().Settle();
    }
    // Later parts' procedures as stand-ins that signal as the real ones do.
    void InstallStandIns() {
        shell::SetBrowseSongBook([] {
            shell::PostFrameEvent(DisableAutoUpdate);
            shell::PostFrameEvent(DisableOpenAndUpdate);
            ServeStandInWindow("SONGBOOKSTANDIN");
            shell::PostFrameEvent(EnableAutoUpdate);
            shell::PostFrameEvent(EnableOpenAndUpdate);
        });
        shell::SetAutoUpdateWizard([] {
            shell::PostFrameEvent(DisableOpenAndUpdate);
            ServeStandInWindow("WIZARDSTANDIN");
            shell::PostFrameEvent(EnableOpenAndUpdate);
        });
    }
};

TEST_F(MainFrameTest, NotInstalledShowsTheReinstallMessageAndNoFrame) {
    struct Case { const char* name; const char* value; };
    const Case cases[] = {{"missing", nullptr}, {"zero", "0"}, {"empty", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(fw::SettingsFilePath());
        if (c.value) SetInstallDir(c.value);
        fw::testing::Driver run(fw::testing::GTestFailures());
        run.AnswerMessage("Incorrect Program Installation, Please Reinstall", fw::Button::Ok);
        run.Start(shell::ProgramStartup);
        EXPECT_EQ(run.Messages(), std::vector<std::string>{"Progam Halt: Incorrect Program Installation, Please Reinstall"});
        EXPECT_FALSE(run.IsOpen(kFrame));
        EXPECT_TRUE(fw::OpenWindows().empty());
        EXPECT_TRUE(fw::runtime::LiveThreads().empty()) << "the program did not end";
    }
}

TEST_F(MainFrameTest, InstalledFolderOpensTheFrameWithItsCaptionAndQuickStart) {
    StartProgram();
    ASSERT_TRUE(d().IsOpen(kFrame));
    EXPECT_TRUE(d().Messages().empty());
    EXPECT_EQ(d().Caption(kFrame), "Cantorvale V2 DedaDaru Virovir BASIC 2.6.2232C");
    EXPECT_EQ(shell::FrameThread, d().FindWindow(kFrame)->Thread());

    // The panel runs on a thread of its own, inside the frame.
    fw::Window* panel = d().FindWindow(kQuickStart);
    ASSERT_NE(panel, nullptr);
    EXPECT_NE(panel->Thread(), shell::FrameThread);
    const QList<QMdiSubWindow*> children = d().FindWindow(kFrame)->MdiArea()->subWindowList();
    ASSERT_EQ(children.size(), 1);
    EXPECT_EQ(children[0], panel->Root());
    EXPECT_EQ(d().Text("?GLO:COMPANYNAME", kQuickStart), "Cantorvale Project");

    EXPECT_EQ(shell::KaraokeName.Str(), install_ + "/MAIN.TPS");
    EXPECT_EQ(shell::AutoUpdateListName.Str(), install_ + "/autoupdate.lst");
}

TEST_F(MainFrameTest, CaptionIsComposedAgainOnGainFocus) {
    StartProgram();
    fw::Window* frame = d().FindWindow(kFrame);
    frame->Set(fw::Prop::Text, "changed");
    d().Activate(kQuickStart);
    d().Activate(kFrame);
    EXPECT_EQ(d().Caption(kFrame), shell::FrameCaption());
}

TEST_F(MainFrameTest, ItemsOfProceduresNotInTheProgramStayDisabled) {
    StartProgram();
    EXPECT_EQ(Shown(), (Items{false, false, false, false}));
    // No event turns them on while there is nothing to run.
    Post(EnableOpenAndUpdate);
    Post(EnableAutoUpdate);
    EXPECT_EQ(Shown(), (Items{false, false, false, false}));
}

TEST_F(MainFrameTest, ProgramEventsAreCounted) {
    InstallStandIns();
    StartProgram();
    const Items allOn{true, true, true, true}, allOff{false, false, false, false};
    const Items updateOff{true, false, true, false};
    ASSERT_EQ(Shown(), allOn);

    struct Step { const char* what; std::vector<int> events; Items after; };
    const Step steps[] = {
        {"a stray enable counts nothing", {EnableOpenAndUpdate, EnableAutoUpdate}, allOn},
        {"a song-book window starts", {DisableAutoUpdate, DisableOpenAndUpdate}, allOff},
        {"a second one starts", {DisableAutoUpdate, DisableOpenAndUpdate}, allOff},
        {"one of them ends", {EnableAutoUpdate, EnableOpenAndUpdate}, allOff},
        {"the last one ends", {EnableAutoUpdate, EnableOpenAndUpdate}, allOn},
        {"the wizard opens", {DisableOpenAndUpdate}, allOff},
        {"the wizard ends", {EnableOpenAndUpdate}, allOn},
        {"AutoUpdate alone off", {DisableAutoUpdate}, updateOff},
        {"and on again", {EnableAutoUpdate}, allOn},
    };
    for (const Step& s : steps) {
        for (int e : s.events) Post(e);
        EXPECT_EQ(Shown(), s.after) << s.what;
    }
}

TEST_F(MainFrameTest, OpenStartsTheSongBookWindowOnANewThreadAndHoldsTheItemsUntilItEnds) {
    InstallStandIns();
    StartProgram();
    ASSERT_TRUE(d().Press("?FILEOPENSONGBOOK"));
    fw::Window* book = d().FindWindow("SONGBOOKSTANDIN");
    ASSERT_NE(book, nullptr);
    EXPECT_NE(book->Thread(), shell::FrameThread);
    EXPECT_NE(book->Thread(), d().FindWindow(kQuickStart)->Thread());
    EXPECT_EQ(Shown(), (Items{false, false, false, false}));

    d().Press("?STANDINCLOSE");
    EXPECT_FALSE(d().IsOpen("SONGBOOKSTANDIN"));
    EXPECT_EQ(Shown(), (Items{true, true, true, true}));
}

TEST_F(MainFrameTest, QuickStartRunsItsProceduresOnItsOwnThreadAndReactsAgainAfterwards) {
    InstallStandIns();
    StartProgram();
    const int panelThread = d().FindWindow(kQuickStart)->Thread();
    for (const char* button : {"?BUTTON1", "?BUTTON1:3", "?BUTTON1"}) {
        SCOPED_TRACE(button);
        ASSERT_TRUE(d().Press(button, kQuickStart));
        fw::Window* called = fw::TopWindow(panelThread);
        ASSERT_NE(called, nullptr);
        EXPECT_NE(called->Label(), kQuickStart);
        // The frame's items are held while it runs.
        EXPECT_FALSE(d().Enabled("?FILEOPENSONGBOOK", kFrame));
        EXPECT_FALSE(d().Enabled("?FILEUPDATEDATAFILES", kFrame));
        d().Press("?STANDINCLOSE");
        EXPECT_EQ(Shown(), (Items{true, true, true, true}));
    }
}

TEST_F(MainFrameTest, AutoUpdateFromTheFrameRunsOnTheFrameThread) {
    InstallStandIns();
    StartProgram();
    ASSERT_TRUE(d().Press("?FILEUPDATEDATAFILES"));
    fw::Window* wizard = d().FindWindow("WIZARDSTANDIN");
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(wizard->Thread(), shell::FrameThread);
    EXPECT_FALSE(d().Enabled("?FILEOPENSONGBOOK", kFrame)) << "the frame is inside the call";
    EXPECT_FALSE(d().Enabled("?BUTTON1:3", kQuickStart));
    d().Press("?STANDINCLOSE");
    EXPECT_EQ(Shown(), (Items{true, true, true, true}));
}

TEST_F(MainFrameTest, ToolTipsItemTogglesTheTips) {
    StartProgram();
    ASSERT_FALSE(fw::NoTips());
    d().Press("?UTILITIESHIDETOOLTIPS");
    EXPECT_TRUE(fw::NoTips());
    d().Press("?UTILITIESHIDETOOLTIPS");
    EXPECT_FALSE(fw::NoTips());
}

TEST_F(MainFrameTest, HelpItemOpensTheIndexPage) {
    StartProgram();
    d().Press("?HELPINDEX");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "file://" + install_ + "/help/index.htm");
}

TEST_F(MainFrameTest, SizeRestoreAndMaximizeMarkTheFrameResized) {
    StartProgram();
    fw::Window* frame = d().FindWindow(kFrame);
    struct Case { const char* what; fw::Prop prop; int value; };
    const Case cases[] = {
        {"size", fw::Prop::Width, 500}, {"maximise", fw::Prop::Maximize, 1}, {"restore", fw::Prop::Maximize, 0},
    };
    for (const Case& c : cases) {
        shell::FrameResized = 0;
        frame->Set(c.prop, c.value);
        d().Settle();
        EXPECT_EQ(shell::FrameResized, 1) << c.what;
    }
    EXPECT_EQ(d().Caption(kFrame), shell::FrameCaption()) << "the caption after Sized";
}

TEST_F(MainFrameTest, ExitClosesQuickStartAndTheFrameAndEndsTheProgram) {
    StartProgram();
    d().Press("?EXIT");
    EXPECT_FALSE(d().IsOpen(kFrame));
    EXPECT_FALSE(d().IsOpen(kQuickStart));
    EXPECT_TRUE(fw::runtime::LiveThreads().empty());
}

TEST_F(MainFrameTest, AboutShowsTheMakerAndOpensItsWebAddressOnlyWhenThereIsOne) {
    StartProgram();
    d().Press("?HELPABOUTCANTORVALEPLUS");
    fw::Window* about = d().FindWindow(kAbout);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->Thread(), shell::FrameThread) << "a call on the frame's thread";
    EXPECT_FALSE(d().Enabled("?HELPINDEX", kFrame));
    EXPECT_EQ(d().Text("?GLO:COMPANYNAME", kAbout), "Cantorvale Project");

    d().Press("?WEBBUTTON");
    EXPECT_TRUE(opened.empty()) << "no CompanyWebAddress: nothing opens";
    EXPECT_TRUE(d().Messages().empty());

    shell::PutRegistryValue(0, shell::kSiteKeyPath, "CompanyWebAddress", shell::kSettingsSection,
                            "https://cantorvale.example.org/   ");
    d().Press("?WEBBUTTON");
    EXPECT_EQ(opened, std::vector<std::string>{"https://cantorvale.example.org/"});
    EXPECT_TRUE(d().IsOpen(kAbout));

    // Only web addresses are handed to the desktop.
    shell::PutRegistryValue(0, shell::kSiteKeyPath, "CompanyWebAddress", shell::kSettingsSection, "/usr/bin/xterm");
    d().Press("?WEBBUTTON");
    EXPECT_EQ(opened.size(), 1u);

    d().Press("?BUTTON2");
    EXPECT_FALSE(d().IsOpen(kAbout));
    EXPECT_TRUE(d().Enabled("?HELPINDEX", kFrame));
}

// Enter presses the default button and Escape the Close button, as in a
// dialog, whatever control the key reaches first.
TEST_F(MainFrameTest, EnterAndEscapeCloseAbout) {
    StartProgram();
    for (int key : {fw::KeyCode::Enter, fw::KeyCode::Esc}) {
        SCOPED_TRACE(key);
        d().Press("?HELPABOUTCANTORVALEPLUS");
        ASSERT_TRUE(d().IsOpen(kAbout));
        d().Key("?GLO:COMPANYNAME", key, kAbout);
        EXPECT_FALSE(d().IsOpen(kAbout));
    }
}

TEST_F(MainFrameTest, ProgramEventsPostedWhileTheFrameIsInACallAreCountedAfterIt) {
    InstallStandIns();
    StartProgram();
    d().Press("?HELPABOUTCANTORVALEPLUS");
    // A song-book window starts from Quick Start while About is open.
    Post(DisableAutoUpdate);
    Post(DisableOpenAndUpdate);
    d().Press("?BUTTON2", kAbout);
    EXPECT_EQ(Shown(), (Items{false, false, false, false}));
    Post(EnableAutoUpdate);
    Post(EnableOpenAndUpdate);
    EXPECT_EQ(Shown(), (Items{true, true, true, true}));
}

}  // namespace
