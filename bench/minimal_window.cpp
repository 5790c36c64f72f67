// The second yardstick of the start-up benchmark: the smallest Qt Widgets
// program, one empty window of the main window's client size. It sets up no
// font at all; text_window is the one the program is measured against.
#include "ui/kit/quit_when_idle.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(721, 537);
    window.show();
    quitWhenIdleIfAsked(window);
    return app.exec();
}
