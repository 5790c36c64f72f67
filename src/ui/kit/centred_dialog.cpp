// The notices' common window.
#include "ui/kit/centred_dialog.h"

#include "ui/kit/widget_kit.h"
#include "ui/kit/window_frame.h"

#include <QAbstractButton>
#include <QCloseEvent>
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
    kit::useLightPalette(this);
    setFixedSize(size);
}

void CentredDialog::setClosingButton(QAbstractButton *button) {
    closingButton_ = button;
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

// A close that the window system asks for presses the button first. Qt
// ignores the button's own close while this one runs, so the window then
// closes here just as the button would have closed it.
void CentredDialog::closeEvent(QCloseEvent *event) {
    if (event->spontaneous() && closingButton_ && isVisible())
        closingButton_->click();
    QDialog::closeEvent(event);
}
