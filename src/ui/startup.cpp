// createWindows: the start-up order of the windows.
#include "ui/startup.h"

#include "ui/dialogs/Unit2.h"
#include "ui/dialogs/Unit3.h"
#include "ui/dialogs/Unit4.h"
#include "ui/dialogs/Unit5.h"
#include "ui/dialogs/Unit6.h"
#include "ui/dialogs/Unit7.h"
#include "ui/kit/plain_text.h"
#include "ui/kit/widget_kit.h"
#include "ui/machine/machine_controller.h"
#include "ui/main/Unit1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
// Qt's own texts (the standard edit menu, message box buttons) in Russian.
void installRussianTranslation() {
    auto *translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
} // namespace

TForm1 *createWindows() {
    QApplication::setApplicationName(QStringLiteral("gearfreq"));
    // No display name: on X11 Qt would append it to every other window's
    // title ("результаты пойска значения 250 — …"), and each window shows
    // its own title as it stands.
    installRussianTranslation();
    kit::useFusionStyle();
    // Hints are shown as written, whatever a file or the user put in them.
    kit::installPlainHints();

    // The main window comes first: its own creation runs before any other
    // window exists. The others live as long as it does and start hidden.
    auto *form1 = new TForm1;
    SecondaryWindows windows;
    windows.form2 = new TForm2(form1);
    windows.form3 = new TForm3(form1);
    windows.form4 = new TForm4(form1);
    windows.form5 = new TForm5(form1);
    windows.form6 = new TForm6(form1);
    windows.form7 = new TForm7(form1);
    form1->setSecondaryWindows(windows);
    // The machine windows beyond them: their menu "Агрегат" and the
    // document they show, following the main window through its API.
    new MachineController(form1);
    return form1;
}
