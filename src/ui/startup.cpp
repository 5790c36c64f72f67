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
#include "ui/kit/window_frame.h"
#include "ui/machine/machine_controller.h"
#include "ui/main/Unit1.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>
#include <fontconfig/fontconfig.h>
#include <system_error>
#ifdef __GLIBC__
#include <malloc.h>
#endif

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

void shareOneHeap() {
#ifdef __GLIBC__
    // A thread's first allocation would give it a heap of its own, and what
    // the font thread frees there while reading the configuration (and the
    // window system's reader thread in its own) would stay apart, unused by
    // the windows built next: about 0.15 MiB more at the start's peak. The
    // program's few threads share the main heap instead.
    mallopt(M_ARENA_MAX, 1);
#endif
}

FontSetupAhead::FontSetupAhead() {
    // Qt's font database starts with the same call; the configuration is
    // made once per process and made safely when two threads ask for it.
    try {
        reader_ = std::thread([] { FcInit(); });
    } catch (const std::system_error &) {
        // No thread to spare: Qt reads the configuration when it needs it.
    }
}

FontSetupAhead::~FontSetupAhead() {
    finish();
}

void FontSetupAhead::finish() {
    if (reader_.joinable())
        reader_.join();
}

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
    // The window manager works out the main window's frame while the other
    // windows are built; its first showing is centred by that frame.
    windowFrame::askForFrameEarly(form1);
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

StartOptions parseStartOptions(const QStringList &arguments) {
    // Qt's own options, and the ones of them that take a value.
    static const QStringList qtWithValue{"-platform",        "-platformpluginpath",
                                         "-platformtheme",   "-plugin",
                                         "-qwindowgeometry", "-qwindowtitle",
                                         "-qwindowicon",     "-style",
                                         "-stylesheet",      "-session",
                                         "-display",         "-title",
                                         "-geometry"};
    static const QStringList qtAlone{"-reverse", "-nograb", "-dograb", "-sync", "-widgetcount"};
    StartOptions o;
    bool filesOnly = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (filesOnly || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            // Relative to the folder the program was started in, before a
            // start from the menu changes it.
            o.files << QFileInfo(a).absoluteFilePath();
        } else if (a == QLatin1String("--")) {
            filesOnly = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            o.version = true;
        } else if (a == QLatin1String("--from-menu")) {
            o.fromMenu = true;
        } else if (qtWithValue.contains(a)) {
            ++i;
        } else if (!qtAlone.contains(a) && o.error.isEmpty()) {
            o.error =
                QStringLiteral("gearfreq: неизвестный параметр «%1»; справка: gearfreq --help")
                    .arg(a);
        }
    }
    return o;
}

QString versionText() {
    return QStringLiteral("gearfreq %1").arg(QStringLiteral(GEARFREQ_VERSION));
}

QString helpText() {
    return QStringLiteral(
        "Использование: gearfreq [ПАРАМЕТР]... [ФАЙЛ]\n"
        "Частоты зубчатых передач: зубцовые частоты, боковые полосы и частоты валов\n"
        "агрегата для вибродиагностики.\n"
        "\n"
        "  ФАЙЛ            открыть файл агрегата (*.gearfreq, прежние *.json)\n"
        "  --from-menu     запуск из меню: программа работает в папке пользователя\n"
        "                  (~/.config/gearfreq), и файл настроек лежит там\n"
        "  -h, --help      показать эту справку и выйти\n"
        "  -v, --version   показать версию и выйти\n"
        "\n"
        "Запущенная из терминала, программа хранит файл настроек VeviVerezoz.bmp\n"
        "в папке, из которой её запустили. Подробнее: man gearfreq.\n");
}

QString userFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("gearfreq"));
}

bool enterUserFolder() {
    const QString folder = userFolder();
    return QDir().mkpath(folder) && QDir::setCurrent(folder);
}

void openStartFiles(TForm1 *form, const QStringList &files) {
    if (files.isEmpty())
        return;
    form->findChild<MachineController *>()->openFile(files.constFirst());
}
