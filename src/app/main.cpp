// The program entry.
#include "ui/kit/quit_when_idle.h"
#include "ui/main/Unit1.h"
#include "ui/startup.h"

#include <QApplication>
#include <memory>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    std::unique_ptr<TForm1> mainWindow(createWindows());
    mainWindow->show();
    quitWhenIdleIfAsked(*mainWindow);
    return app.exec();
}
