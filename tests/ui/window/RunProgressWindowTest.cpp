#include "ui/window/RunProgressWindow.h"

#include <QProgressDialog>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace quorvane::ui {
namespace {

TEST(RunProgressWindow, AShortRunNeverShowsTheDialog)
{
    QWidget window;
    RunProgressWindow progress(&window, QStringLiteral("working"));
    progress.update(256, 1000);
    progress.update(1000, 1000);
    EXPECT_FALSE(progress.shown());
}

TEST(RunProgressWindow, ARunThatTakesAMomentShowsAModalDialogWithItsProgressUntilItEnds)
{
    QWidget window;
    RunProgressWindow progress(&window, QStringLiteral("working"));
    QTest::qWait(RunProgressWindow::showAfterMilliseconds + 20);
    progress.callback()(256, 1000);
    ASSERT_TRUE(progress.shown());
    const auto* dialog = window.findChild<QProgressDialog*>(QStringLiteral("dlg_Progress"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->value(), 256);
    EXPECT_EQ(dialog->maximum(), 1000);
    progress.finish();
    EXPECT_FALSE(progress.shown());
    EXPECT_EQ(window.findChild<QProgressDialog*>(QStringLiteral("dlg_Progress")), nullptr);
}

} // namespace
} // namespace quorvane::ui
