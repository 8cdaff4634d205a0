#include "app/CommandLine.h"
#include "core/settings/LanguageSetting.h"
#include "core/settings/SettingsFile.h"
#include "ui/window/Application.h"
#include "ui/window/MainWindow.h"
#include "ui/window/MessageBoxes.h"
#include "ui/window/Translations.h"

#include <cstdio>

namespace {

QStringList argumentsAfterName(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    using quorvane::app::CommandLine;
    // --help and --version answer before the application starts, so they work without a display.
    switch (CommandLine::parse(argumentsAfterName(argc, argv)).action) {
    case CommandLine::Action::PrintHelp: {
        // The help speaks the language the window would.
        const QCoreApplication application(argc, argv);
        const quorvane::core::SettingsFile settings(
            quorvane::core::locateSettingsFile(QCoreApplication::applicationFilePath().toStdString()));
        quorvane::ui::applyLanguage(quorvane::core::readLanguageChoice(settings.load()));
        std::puts(quorvane::app::helpText().toLocal8Bit().constData());
        return 0;
    }
    case CommandLine::Action::PrintVersion:
        std::puts("quorvane " QUORVANE_VERSION);
        return 0;
    case CommandLine::Action::OpenWindow:
        break;
    }

    // Qt's FFmpeg media backend fails without an audio device; the GStreamer one plays into a
    // silent sink.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) {
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    }
    quorvane::ui::Application application(argc, argv);
    quorvane::ui::QtMessageBoxes boxes;
    quorvane::ui::Tfom_Main window(
        boxes, quorvane::core::locateSettingsFile(QApplication::applicationFilePath().toStdString()));
    // The application has taken its own options (-platform, -style, ...) out of the arguments.
    quorvane::app::openFolderAtStart(window, CommandLine::parse(QApplication::arguments().mid(1)).folder);
    window.show();
    return quorvane::ui::Application::exec();
}
