// The yardstick of the start-up benchmark: a minimal Qt Widgets program with
// one window of the main window's client size that shows one line of text in
// the main window's fonts ("MS Sans Serif" asked for first, "Liberation Sans"
// found), so that it pays the font set-up that every window with text pays.
#include "ui/kit/quit_when_idle.h"
#include "yardstick_font.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Частоты зубчатых передач"));
    window.setFont(yardstickFont(11, false));
    window.setFixedSize(721, 537);
    QLabel line(QStringLiteral("Частоты зубчатых передач: Fz = Z1 × Fr1"), &window);
    line.setFont(yardstickFont(11, true));
    line.move(8, 8);
    window.show();
    quitWhenIdleIfAsked(window);
    return app.exec();
}
