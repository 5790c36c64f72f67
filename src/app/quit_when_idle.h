// For the start-up benchmark: with GEARFREQ_QUIT_WHEN_IDLE set, the program
// quits as soon as its shown window has nothing left to do. When the
// variable names a file rather than "1", the wall-clock time of that moment
// (nanoseconds since the epoch) is written into it first, so that the
// benchmark can tell the start from the quitting.
#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <chrono>

inline void quitWhenIdleIfAsked()
{
    if (!qEnvironmentVariableIsSet("GEARFREQ_QUIT_WHEN_IDLE"))
        return;
    QTimer::singleShot(0, qApp, [] {
        const QString stamp = qEnvironmentVariable("GEARFREQ_QUIT_WHEN_IDLE");
        if (stamp != QLatin1String("1")) {
            const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::system_clock::now().time_since_epoch());
            QFile file(stamp);
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray::number(static_cast<qint64>(now.count())));
        }
        QCoreApplication::quit();
    });
}
