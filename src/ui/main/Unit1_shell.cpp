// The application shell's handlers on the main window: creation and
// closing, the settings file, the window size, About and the external
// calculator.
#include "ui/main/Unit1.h"

#include "settings/settings_file.h"
#include "ui/dialogs/Unit4.h"
#include "ui/dialogs/Unit5.h"
#include "ui/dialogs/Unit6.h"
#include "ui/kit/plain_text.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>

namespace {
constexpr int kClientWidth = 721;
constexpr int kClientHeight = 537;
} // namespace

void TForm1::FormCreate() {
    // Numbers are written by the core with a decimal comma; the Russian
    // default locale keeps Qt's own number texts in line with it.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    ProgramDir = QDir::currentPath();
    N33->trigger();
}

void TForm1::closeEvent(QCloseEvent *event) {
    FormClose();
    event->accept();
    // The program ends with its main window: the windows that stay open
    // beside it (About, the variants) must not keep it running.
    for (QWidget *w :
         {static_cast<QWidget *>(windows.form4), static_cast<QWidget *>(windows.form5)})
        if (w)
            w->hide();
}

void TForm1::FormClose() {
    N34->trigger();
}

void TForm1::N33Click() {
    const settings::LoadResult loaded = settings::loadPrecision(ProgramDir);
    PrecisionFactor = loaded.precisionFactor;
    if (!loaded.error.isEmpty())
        kit::showMessage(this, QMessageBox::Critical, windowTitle(), loaded.error);
    markPrecision(PrecisionFactor);
}

void TForm1::N34Click() {
    const QString error = settings::savePrecision(ProgramDir, PrecisionFactor);
    if (!error.isEmpty())
        kit::showMessage(this, QMessageBox::Critical, windowTitle(), error);
}

void TForm1::markPrecision(std::int32_t factor) {
    // A value that no item stands for leaves the marks as they are.
    for (QAction *item : precisionItems->actions())
        if (item->data().toInt() == factor)
            setPrecision(item);
}

void TForm1::N25Click() {
    // Sizeable: the surface follows the window, whatever size it is dragged to.
    surface->setMinimumSize(0, 0);
    surface->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    N30->setEnabled(true);
    N30->setChecked(false);
    N25->setEnabled(false);
    N25->setChecked(true);
}

void TForm1::N30Click() {
    // Back to the size the window starts with: a smaller client area would
    // cut off the function-key panel at the bottom.
    fixClientSize();
    N25->setEnabled(true);
    N25->setChecked(false);
    N30->setEnabled(false);
    N30->setChecked(true);
}

void TForm1::fixClientSize() {
    surface->setFixedSize(kClientWidth, kClientHeight);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(sizeHint());
    setFixedSize(sizeHint());
}

void TForm1::N17Click() {
    // The calculator is whatever program the user put beside the settings,
    // started by a path relative to the current folder, without waiting.
    const QFileInfo calculator(QDir::current(), QStringLiteral("CALC.exe"));
    if (!calculator.exists()) {
        if (windows.form6)
            windows.form6->exec();
        return;
    }
    // Any other failure (not a program, not executable) shows nothing.
    QProcess::startDetached(calculator.absoluteFilePath(), {}, QDir::currentPath());
}

void TForm1::N4Click() {
    if (windows.form4)
        windows.form4->bringUp();
}
