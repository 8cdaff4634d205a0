#pragma once

#include <QString>
#include <QStringList>

namespace quorvane::ui {
class Tfom_Main;
}

namespace quorvane::app {

// What the command line asks for. A file manager's "Open with" hands over one folder; desktop
// users also expect --help and --version. Nothing else is read: any other argument counts as the
// folder, and one that is not a folder opens the default folder.
struct CommandLine
{
    enum class Action
    {
        OpenWindow,
        PrintHelp,
        PrintVersion,
    };

    Action action = Action::OpenWindow;
    QString folder; // the first argument as given; empty without one

    // Reads the arguments that follow the program's name.
    static CommandLine parse(const QStringList& arguments);
};

// The one line --help prints.
QString helpText();

// The folder an argument names as an absolute path without "." or ".." parts, or empty when it
// names no existing folder (missing, a file, empty).
QString startFolder(const QString& argument);

// Opens the window on the folder the argument names, selected in the tree and expanded, so that
// the tree's change notification lists it; the window stays on its default folder otherwise.
void openFolderAtStart(ui::Tfom_Main& window, const QString& argument);

} // namespace quorvane::app
