// The yardstick of the start-up benchmark: the smallest Qt Widgets program
// with one empty window of the main window's client size.
#include "app/quit_when_idle.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(721, 537);
    window.show();
    quitWhenIdleIfAsked();
    return app.exec();
}
