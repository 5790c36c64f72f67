// The notices' common window.
#include "ui/centred_dialog.h"

#include "ui/window_frame.h"

#include <QKeyEvent>
#include <QShowEvent>

void centreOnDesktop(QWidget *window) {
    windowFrame::centreOnDesktop(window);
}

CentredDialog::CentredDialog(QWidget *parent, const QString &objectName, const QString &title,
                             const QSize &size, const QFont &font)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(objectName);
    setWindowTitle(title);
    setFont(font);
    setFixedSize(size);
}

void CentredDialog::showEvent(QShowEvent *event) {
    if (!event->spontaneous())
        centreOnDesktop(this);
    QDialog::showEvent(event);
}

// The buttons are the only way out: a notice has no cancel route.
void CentredDialog::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

