#include "shell/window_placement.h"

#include "tests/platform/config/config_fixture.h"

#include "platform/config/ini_file.h"

namespace {

using shell::WindowGeometry;

struct FakeWindow : shell::PlacementWindow {
    bool maximized = false;
    bool minimized = false;
    bool resizable = true;
    WindowGeometry geometry{50, 60, 300, 200};
    int stateChanges = 0;

    bool Maximized() const override { return maximized; }
    bool Minimized() const override { return minimized; }
    bool Resizable() const override { return resizable; }
    WindowGeometry NormalGeometry() const override { return geometry; }
    void SetNormalGeometry(const WindowGeometry& g) override {
        geometry.x = g.x;
        geometry.y = g.y;
        if (resizable) {
            geometry.width = g.width;
            geometry.height = g.height;
        }
    }
    void SetMaximized(bool m) override {
        maximized = m;
        ++stateChanges;
    }
};

constexpr const char* kIni = "songbook.ini";

class WindowPlacementTest : public ConfigFolderTest {
protected:
    void Write(const char* section, const char* maximize, const char* x, const char* y, const char* w, const char* h) {
        fw::PUTINI(section, "Maximize", maximize, kIni);
        fw::PUTINI(section, "XPosit", x, kIni);
        fw::PUTINI(section, "YPosit", y, kIni);
        fw::PUTINI(section, "Width", w, kIni);
        fw::PUTINI(section, "Height", h, kIni);
    }
};

TEST_F(WindowPlacementTest, MaximisedWindowSavesItsNormalGeometryAndComesBackMaximised) {
    FakeWindow saved;
    saved.maximized = true;
    saved.geometry = {120, 80, 640, 480};
    shell::SaveWindowPlacement(saved, kIni, "adddisc");
    EXPECT_EQ(ReadFile(fw::IniFilePath(kIni)),
              "[adddisc]\r\nMaximize=Yes\r\nXPosit=120\r\nYPosit=80\r\nWidth=640\r\nHeight=480\r\n");

    FakeWindow restored;
    shell::RestoreWindowPlacement(restored, kIni, "ADDDISC");
    EXPECT_EQ(restored.geometry, (WindowGeometry{120, 80, 640, 480}));
    EXPECT_TRUE(restored.maximized);
}

TEST_F(WindowPlacementTest, MinimisedWindowWritesNothing) {
    Write("gettingstarted", "No", "10", "20", "30", "40");
    const std::string before = ReadFile(fw::IniFilePath(kIni));
    FakeWindow w;
    w.minimized = true;
    shell::SaveWindowPlacement(w, kIni, "gettingstarted");
    shell::SaveWindowPlacement(w, kIni, "RenameSongBook");
    EXPECT_EQ(ReadFile(fw::IniFilePath(kIni)), before);
}

TEST_F(WindowPlacementTest, RestoreCases) {
    struct Case {
        const char* name;
        const char* section;  // written with the values below, or nullptr for none
        const char* maximize;
        const char* x;
        const char* y;
        const char* w;
        const char* h;
        bool startMaximized;
        bool resizable;
        WindowGeometry expect;
        bool expectMaximized;
        int expectStateChanges;
    };
    const WindowGeometry design{50, 60, 300, 200};
    const Case cases[] = {
        {"no section", nullptr, "", "", "", "", "", false, true, design, false, 0},
        {"XPosit 0", "s", "Yes", "0", "20", "30", "40", false, true, design, false, 0},
        {"normal", "s", "No", "10", "20", "30", "40", false, true, {10, 20, 30, 40}, false, 1},
        {"not resizable keeps its size", "s", "No", "10", "20", "30", "40", false, false, {10, 20, 300, 200}, false,
         1},
        {"YPosit 0: no move, state applied", "s", "Yes", "10", "0", "30", "40", false, true, design, true, 1},
        {"Width 0: no move", "s", "No", "10", "20", "0", "40", false, true, design, false, 1},
        {"already maximised: no move, then normal", "s", "No", "10", "20", "30", "40", true, true, design, false, 1},
        {"Maximize not Yes is normal", "s", "yes", "10", "20", "30", "40", false, true, {10, 20, 30, 40}, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(fw::IniFilePath(kIni));
        if (c.section) Write(c.section, c.maximize, c.x, c.y, c.w, c.h);
        FakeWindow w;
        w.maximized = c.startMaximized;
        w.resizable = c.resizable;
        shell::RestoreWindowPlacement(w, kIni, "s");
        EXPECT_EQ(w.geometry, c.expect);
        EXPECT_EQ(w.maximized, c.expectMaximized);
        EXPECT_EQ(w.stateChanges, c.expectStateChanges);
    }
}

TEST_F(WindowPlacementTest, CurrentTargetFormsActOnTheProvidedWindow) {
    shell::SaveWindowPlacement(kIni, "adddisc");  // no provider: nothing happens
    EXPECT_FALSE(std::filesystem::exists(fw::IniFilePath(kIni)));

    FakeWindow w;
    w.geometry = {7, 8, 9, 10};
    shell::SetPlacementWindowProvider([&]() -> shell::PlacementWindow* { return &w; });
    shell::SaveWindowPlacement(kIni, "adddisc");
    w.geometry = {1, 1, 1, 1};
    shell::RestoreWindowPlacement(kIni, "adddisc");
    EXPECT_EQ(w.geometry, (WindowGeometry{7, 8, 9, 10}));
    shell::SetPlacementWindowProvider(nullptr);
}

}  // namespace
