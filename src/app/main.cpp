// The program entry.
#include "app/startup.h"
#include "ui/Unit1.h"

#include <QApplication>
#include <QTimer>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::unique_ptr<TForm1> mainWindow(createWindows());
    mainWindow->show();
    // For the start-up benchmark: leave as soon as the shown window has
    // nothing left to do.
    if (qEnvironmentVariableIsSet("GEARFREQ_QUIT_WHEN_IDLE"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
