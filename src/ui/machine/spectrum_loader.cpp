// The module is found relative to the program, never through the library
// path, so that the program uses the module of its own build or package.
#include "ui/machine/spectrum_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#ifndef GEARFREQ_MODULE_RELATIVE_DIR
#define GEARFREQ_MODULE_RELATIVE_DIR "../lib/gearfreq"
#endif

QStringList spectrumModuleCandidates() {
    QStringList paths;
    const QString named = qEnvironmentVariable("GEARFREQ_SPECTRUM_MODULE");
    if (!named.isEmpty())
        paths << named;
    const QDir dir(QCoreApplication::applicationDirPath());
    paths << dir.filePath(QLatin1String(kSpectrumModuleName));
    paths << QDir::cleanPath(dir.filePath(QStringLiteral(GEARFREQ_MODULE_RELATIVE_DIR "/") +
                                          QLatin1String(kSpectrumModuleName)));
    return paths;
}

SpectrumModule loadSpectrumModule() {
    SpectrumModule module;
    for (const QString &path : spectrumModuleCandidates()) {
        if (!QFileInfo(path).isFile())
            continue;
        // Kept loaded for the rest of the run: the window's code lives in it.
        auto *library = new QLibrary(path, qApp);
        if (!library->load()) {
            module.error = QStringLiteral("Модуль спектра «%1» не загружается: %2")
                               .arg(path, library->errorString());
            return module;
        }
        const auto version =
            reinterpret_cast<SpectrumInterfaceVersion>(library->resolve(kSpectrumVersionSymbol));
        const auto factory =
            reinterpret_cast<SpectrumViewFactory>(library->resolve(kSpectrumFactorySymbol));
        if (!version || !factory || version() != kSpectrumInterfaceVersion) {
            module.error =
                QStringLiteral("Модуль спектра «%1» от другой версии программы.").arg(path);
            return module;
        }
        module.factory = factory;
        return module;
    }
    module.error = QStringLiteral("Модуль спектра (%1) не найден рядом с программой. "
                                  "Переустановите программу.")
                       .arg(QLatin1String(kSpectrumModuleName));
    return module;
}
