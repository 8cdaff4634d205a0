#include "core/SettingsFile.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxes.h"

int main(int argc, char* argv[])
{
    // Qt's FFmpeg media backend fails without an audio device; the GStreamer one plays into a
    // silent sink.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) {
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    }
    quorvane::ui::Application application(argc, argv);
    quorvane::ui::QtMessageBoxes boxes;
    quorvane::ui::Tfom_Main window(
        boxes, quorvane::core::locateSettingsFile(QApplication::applicationFilePath().toStdString()));
    window.show();
    return quorvane::ui::Application::exec();
}
