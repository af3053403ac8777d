// gtest entry point for tests that need a QApplication. Windows are never
// shown on a real display: the offscreen platform is used unless the caller
// chose another one. Qt's standard folders are its test folders.
#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Tests never reach the machine's own device service: without a system
    // bus the browser lists and opens devices directly. The tests of the
    // device service point this at a private bus of their own.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/harnwick-tests-have-no-system-bus");
    QApplication app(argc, argv);
    // The user's own cache and data folders are never touched by a test.
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
