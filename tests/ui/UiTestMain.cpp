#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <gtest/gtest.h>

// The widget tests need one application object for their whole run. They run off screen also when
// the build lists them, where no display and no preset environment are at hand.
// The media backend's libraries (GLib, PulseAudio's client, GStreamer) keep allocations they never
// free; they are no leaks of ours. Each is named by its library, which the leak report shows also
// where no symbols are installed.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libglib-2.0.so\nleak:libpulse.so\nleak:libgst\n";
}

int main(int argc, char** argv)
{
    // The window tests read the window in Japanese, which the automatic language choice gives under
    // the C locale's messages; the other categories of the user's locale stay as they are.
    if (const QByteArray all = qgetenv("LC_ALL"); !all.isEmpty()) {
        for (const char* category : {"LC_COLLATE", "LC_CTYPE", "LC_NUMERIC", "LC_TIME"}) {
            if (qEnvironmentVariableIsEmpty(category)) {
                qputenv(category, all);
            }
        }
        qunsetenv("LC_ALL");
    }
    qputenv("LC_MESSAGES", "C.UTF-8");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) {
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    }
    // Every media player starts GStreamer's Vulkan device provider, and on a machine without a
    // graphics card Mesa's software Vulkan driver answers it with a pool of worker threads. The
    // leak checker's end-of-run thread walk now and then crashes on one of them ("Tracer caught
    // signal 11"), failing a test that passed; with the driver working on the calling thread there
    // is nothing to trip over, and the leak check itself runs as before.
    if (qEnvironmentVariableIsEmpty("LP_NUM_THREADS")) {
        qputenv("LP_NUM_THREADS", "0");
    }
    // A window keeps its journal beside its settings file, which every test puts in a folder of its
    // own; a window that looks for it in the user's state folder finds a fresh one, never the user's.
    QByteArray state = QDir::tempPath().toUtf8() + "/quorvane-state-XXXXXX";
    if (mkdtemp(state.data()) != nullptr) {
        qputenv("XDG_STATE_HOME", state);
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
