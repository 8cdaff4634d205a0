#include "RunProgressWindow.h"

#include <QApplication>
#include <QProgressDialog>
#include <limits>

namespace quorvane::ui {

namespace {

int clampedCount(std::size_t count)
{
    return static_cast<int>(std::min<std::size_t>(count, std::numeric_limits<int>::max()));
}

} // namespace

RunProgressWindow::RunProgressWindow(QWidget* parent, QString label)
    : parent_(parent), label_(std::move(label))
{
    clock_.start();
}

RunProgressWindow::~RunProgressWindow() = default;

void RunProgressWindow::update(std::size_t done, std::size_t total)
{
    if (!dialog_) {
        if (done >= total || clock_.elapsed() < showAfterMilliseconds) {
            return;
        }
        dialog_ = std::make_unique<QProgressDialog>(label_, QString(), 0, clampedCount(total), parent_);
        dialog_->setObjectName(QStringLiteral("dlg_Progress"));
        dialog_->setWindowTitle(QStringLiteral("Quorvane"));
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setCancelButton(nullptr);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->show();
    }
    dialog_->setMaximum(clampedCount(total));
    dialog_->setValue(clampedCount(done));
    // The run holds the event loop; letting it turn here keeps the window painted. Input goes
    // nowhere while the modal dialog is up.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

core::RunProgress RunProgressWindow::callback()
{
    return [this](std::size_t done, std::size_t total) {
        update(done, total);
    };
}

void RunProgressWindow::finish()
{
    if (dialog_) {
        dialog_->hide();
        dialog_.reset();
    }
}

} // namespace quorvane::ui
