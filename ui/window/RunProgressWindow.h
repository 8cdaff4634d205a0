#pragma once

#include "core/runs/RunFailure.h"

#include <QElapsedTimer>
#include <QString>
#include <cstddef>
#include <memory>

class QProgressDialog;
class QWidget;

namespace quorvane::ui {

// A modal progress dialog for a long run, fed by the run's progress callbacks. It appears only
// once a run has taken a moment, so short runs never flash it; while it is up, the window keeps
// repainting and takes no input.
class RunProgressWindow
{
public:
    static constexpr int showAfterMilliseconds = 200;

    RunProgressWindow(QWidget* parent, QString label);
    ~RunProgressWindow();
    RunProgressWindow(const RunProgressWindow&) = delete;
    RunProgressWindow& operator=(const RunProgressWindow&) = delete;

    void update(std::size_t done, std::size_t total);
    core::RunProgress callback();
    // Closes the dialog when the run has ended.
    void finish();

    bool shown() const { return dialog_ != nullptr; }

private:
    QWidget* parent_;
    QString label_;
    QElapsedTimer clock_;
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace quorvane::ui
