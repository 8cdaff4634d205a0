#include "CommandLine.h"

#include "ui/window/MainWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTreeView>

namespace quorvane::app {

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine line;
    if (arguments.contains(QStringLiteral("--help"))) {
        line.action = Action::PrintHelp;
    } else if (arguments.contains(QStringLiteral("--version"))) {
        line.action = Action::PrintVersion;
    } else if (!arguments.isEmpty()) {
        line.folder = arguments.first();
    }
    return line;
}

QString helpText()
{
    return QCoreApplication::translate(
        "CommandLine", "Usage: quorvane [FOLDER]  (opens FOLDER in the folder tree; without it, "
                       "the desktop folder)");
}

QString startFolder(const QString& argument)
{
    if (argument.isEmpty()) {
        return {};
    }
    const QFileInfo info(argument);
    if (!info.isDir()) {
        return {};
    }
    return QDir::cleanPath(info.absoluteFilePath());
}

void openFolderAtStart(ui::Tfom_Main& window, const QString& argument)
{
    const QString folder = startFolder(argument);
    if (folder.isEmpty()) {
        return;
    }
    window.selectFolder(folder);
    window.trr_DirList->expand(window.trr_DirList->currentIndex());
}

} // namespace quorvane::app
