// The shape the notices and the About window share: a fixed-size window
// with a title bar only, centred on the desktop whenever it comes up from
// hidden, and closed only by its own buttons (Escape does nothing).
#pragma once

#include <QDialog>

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
    // A showing from hidden centres the window, also when it has a parent
    // (QDialog would centre it over the parent); bringing up the open window
    // leaves it where the user put it.
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
