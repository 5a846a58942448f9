// Test entry point for the Qt-side libraries: one QApplication for the run
// (headless through QT_QPA_PLATFORM=offscreen).
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Test discovery runs the executable outside ctest's environment:
    // stay headless there too.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
