#include <QGuiApplication>
#include <gtest/gtest.h>

// Text in the pictures needs the font database, which needs one application object for the whole
// run; no window is ever shown, so the tests run off screen.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
