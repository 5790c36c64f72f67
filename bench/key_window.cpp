// The yardstick of the search benchmark through X: what the window system
// alone costs a key that brings a window up. A window of the main window's
// client size with one line of text and the focus; F2 brings up a second
// window of the list window's size with one line of text (shown, raised and
// activated as the list window is) and, when it is up already, changes that
// line; Escape there hides it and F2 there comes back to the main window's
// handler, as the list window passes its function keys on.
#include "yardstick_font.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>

namespace {

class ListWindow : public QWidget {
public:
    explicit ListWindow(QWidget *owner) : QWidget(owner, Qt::Window), line_(this) {
        setWindowTitle(QStringLiteral("варианты"));
        setFixedSize(654, 519);
        setFont(yardstickFont(11, true));
        line_.setGeometry(8, 8, 600, 20);
    }
    void bringUp() {
        line_.setText(QStringLiteral("совпадение %1").arg(++count_));
        show();
        raise();
        activateWindow();
    }

protected:
    void keyPressEvent(QKeyEvent *event) override {
        if (event->key() == Qt::Key_Escape)
            hide();
        else if (event->key() == Qt::Key_F2)
            bringUp();
        else
            QWidget::keyPressEvent(event);
    }

private:
    QLabel line_;
    int count_ = 0;
};

class MainWindow : public QWidget {
public:
    MainWindow()
        : line_(QStringLiteral("Частоты зубчатых передач: Fz = Z1 × Fr1"), this), list_(this) {
        setWindowTitle(QStringLiteral("Частоты зубчатых передач"));
        setFixedSize(721, 537);
        setFont(yardstickFont(11, false));
        line_.setFont(yardstickFont(11, true));
        line_.move(8, 8);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override {
        if (event->key() == Qt::Key_F2)
            list_.bringUp();
        else
            QWidget::keyPressEvent(event);
    }

private:
    QLabel line_;
    ListWindow list_;
};

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    MainWindow window;
    window.show();
    window.setFocus();
    return app.exec();
}
