// The yardstick of the start-up benchmark: the smallest Qt Widgets program
// with one empty window of the main window's client size.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(721, 537);
    window.show();
    if (qEnvironmentVariableIsSet("GEARFREQ_QUIT_WHEN_IDLE"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
