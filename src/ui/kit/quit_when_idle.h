// For the start-up benchmark: with GEARFREQ_QUIT_WHEN_IDLE set, the program
// quits as soon as its main window has been painted for the first time and
// the event queue is empty. When the variable names a file rather than "1",
// the wall-clock time of that moment (nanoseconds since the epoch) is
// written into it first, so that the benchmark can tell the start from the
// quitting. The yardsticks of the benchmark use the same watcher.
#pragma once

#include "settings/safe_write.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>

class FirstPaintWatcher : public QObject {
public:
    explicit FirstPaintWatcher(QWidget *window) : QObject(window) {
        window->installEventFilter(this);
    }

protected:
    // The paint event reaches the filter before the window paints; the check
    // is queued behind it, so that by then the window and its children are
    // painted and the picture has gone to the screen.
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, &FirstPaintWatcher::quitOnceIdle);
        }
        return false;
    }

private:
    void quitOnceIdle() {
        // Whatever the start left queued behind the paint (posted events,
        // window-system events, due timers) belongs to the start-up too. The
        // bound only keeps a program that never settles from running on.
        QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
        for (int round = 0; round < 1000 && dispatcher->processEvents(QEventLoop::AllEvents);
             ++round) {
        }
        const QString stamp = qEnvironmentVariable("GEARFREQ_QUIT_WHEN_IDLE");
        if (stamp != QLatin1String("1")) {
            const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::system_clock::now().time_since_epoch());
            // A benchmark reads the stamp; a failed write only costs it a run.
            settings::writeFileSafely(stamp, QByteArray::number(static_cast<qint64>(now.count())));
        }
        QCoreApplication::quit();
    }
};

// Call after showing the main window and before the event loop starts.
inline void quitWhenIdleIfAsked(QWidget &mainWindow) {
    if (qEnvironmentVariableIsSet("GEARFREQ_QUIT_WHEN_IDLE"))
        new FirstPaintWatcher(&mainWindow);
}
