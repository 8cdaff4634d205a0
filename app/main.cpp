#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quorvane"));
    window.resize(830, 600);
    window.show();
    return QApplication::exec();
}
