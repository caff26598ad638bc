// Test main for tests that need Qt widgets: a QApplication on the
// offscreen platform, so no display is needed, with a screen as large as
// the desktop test's (tests/desktop/main_road.sh), where windows grow as
// far as they do there.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" CV_TEST_SUPPORT_DIR "/offscreen_screen.json");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
