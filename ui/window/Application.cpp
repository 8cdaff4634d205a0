#include "Application.h"

#include <exception>

namespace quorvane::ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    nameApplication();
}

void nameApplication()
{
    // No display name of its own: the desktop would append it to every window title that does not
    // end with it, and the window's title already starts with the program's name.
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    // Ties the window to its launcher, so that docks and task bars show the launcher's icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVANE_APP_ID));
}

QString currentExceptionText()
{
    try {
        throw;
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QCoreApplication::translate("Application", "不明なエラーが発生しました");
    }
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        boxes_.reportError(currentExceptionText());
        return false;
    }
}

} // namespace quorvane::ui
