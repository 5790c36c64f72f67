// The shape the notices and the About window share: a fixed-size window
// with a title bar only, centred on the desktop whenever it comes up from
// hidden, and closed only by its own button: Escape does nothing, and a
// window manager that closes it anyway (Alt+F4, a close box it draws
// regardless) presses that button.
#pragma once

#include <QDialog>

class QAbstractButton;
class QCloseEvent;
class QKeyEvent;
class QShowEvent;

// Moves a top-level window so that its frame is centred on the available
// desktop of its screen.
void centreOnDesktop(QWidget *window);

class CentredDialog : public QDialog {
    Q_OBJECT
public:
    CentredDialog(QWidget *parent, const QString &objectName, const QString &title,
                  const QSize &size, const QFont &font);

protected:
    // The button that closes the window; every other way of closing it
    // presses this button, so that whatever the button does besides closing
    // happens on every route.
    void setClosingButton(QAbstractButton *button);

    // A showing from hidden centres the window, also when it has a parent
    // (QDialog would centre it over the parent); bringing up the open window
    // leaves it where the user put it.
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QAbstractButton *closingButton_ = nullptr;
};
