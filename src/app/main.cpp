// The program entry: the command line, then the windows.
#include "ui/kit/quit_when_idle.h"
#include "ui/main/Unit1.h"
#include "ui/startup.h"

#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const StartOptions options = parseStartOptions(arguments);
    // Answered without a window, so without a display too.
    if (!options.error.isEmpty() || options.help || options.version) {
        const QString text = !options.error.isEmpty() ? options.error
                             : options.help           ? helpText()
                                                      : versionText();
        std::fputs(text.toLocal8Bit().constData(), options.error.isEmpty() ? stdout : stderr);
        if (!text.endsWith(QLatin1Char('\n')))
            std::fputc('\n', options.error.isEmpty() ? stdout : stderr);
        return options.error.isEmpty() ? 0 : 2;
    }
    if (options.fromMenu && !enterUserFolder())
        std::fputs("gearfreq: папка пользователя недоступна, работаю в текущей\n", stderr);
    shareOneHeap();
    FontSetupAhead fonts;
    QApplication app(argc, argv);
    fonts.finish();
    std::unique_ptr<TForm1> mainWindow(createWindows());
    mainWindow->show();
    openStartFiles(mainWindow.get(), options.files);
    quitWhenIdleIfAsked(*mainWindow);
    return app.exec();
}
