#include <QApplication>
#include <gtest/gtest.h>

// The widget tests need one application object for their whole run. They run off screen also when
// the build lists them, where no display and no preset environment are at hand.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
