#pragma once

#include "MessageBoxes.h"

#include <QApplication>

namespace quorvane::ui {

// The program's application object. An exception that escapes an event handler is shown by the
// error report, a box with its text titled "Quorvane", and the event loop goes on.
class Application : public QApplication
{
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    QtMessageBoxes boxes_;
};

// Gives the running application its name and its launcher.
void nameApplication();

// The text an error report shows for the exception being handled.
QString currentExceptionText();

} // namespace quorvane::ui
