// Helpers of the monkey tests that need none of their state: the run's
// settings from the environment, the quiet platform warnings, the watch that
// reports a hung action, typing any text, the texts with characters outside
// the Basic Multilingual Plane, what a list of the variants window should
// hold and show, and the stand-in calculator that the run puts into its
// working directory.
#pragma once

#include "ui/kit/line_memo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace monkey {

// MONKEY_SEED, MONKEY_ACTIONS and the like; the fallback when unset or not a number.
inline int environmentInt(const char *name, long long fallback) {
    bool ok = false;
    const long long value = qEnvironmentVariable(name).toLongLong(&ok);
    return ok ? int(value) : int(fallback);
}

// The offscreen platform says so for every raise and grab; those lines would
// bury the run's own output.
inline QtMessageHandler &previousMessageHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}
inline void quietPlatformHandler(QtMsgType type, const QMessageLogContext &context,
                                 const QString &message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousMessageHandler())
        previousMessageHandler()(type, context, message);
}
inline void quietPlatformWarnings(bool quiet) {
    if (quiet)
        previousMessageHandler() = qInstallMessageHandler(quietPlatformHandler);
    else
        qInstallMessageHandler(previousMessageHandler());
}

// Reports an action that never returns, then ends the process: the run
// cannot report it itself. `onHang` lets go of what the process would leave
// behind (a mount), from the watch's own thread.
class HangWatch {
public:
    explicit HangWatch(std::chrono::seconds limit, std::function<void()> onHang = {})
        : limit_(limit), onHang_(std::move(onHang)), thread_([this] { watch(); }) {}
    ~HangWatch() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    HangWatch(const HangWatch &) = delete;
    HangWatch &operator=(const HangWatch &) = delete;

    void begin(const QByteArray &report) {
        std::lock_guard lock(mutex_);
        report_ = report;
        started_ = std::chrono::steady_clock::now();
        running_ = true;
    }
    void end() {
        std::lock_guard lock(mutex_);
        running_ = false;
    }

private:
    void watch() {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            wake_.wait_for(lock, std::chrono::seconds(1));
            if (running_ && std::chrono::steady_clock::now() - started_ > limit_) {
                std::fprintf(stderr, "MONKEY: an action did not return within %lld s\n%s\n",
                             static_cast<long long>(limit_.count()), report_.constData());
                std::fflush(stderr);
                if (onHang_)
                    onHang_();
                std::abort();
            }
        }
    }

    const std::chrono::seconds limit_;
    const std::function<void()> onHang_;
    std::mutex mutex_;
    std::condition_variable wake_;
    QByteArray report_;
    std::chrono::steady_clock::time_point started_;
    bool running_ = false;
    bool stop_ = false;
    std::thread thread_;
};

// Types a text key by key as a keyboard would, any character: QTest's own
// keyClicks takes Latin-1 only. A character outside the Basic Multilingual
// Plane comes as one key event with both halves.
inline void typeKeys(QWidget *target, const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size()) {
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, text.mid(i, 2),
                                Qt::NoModifier);
            ++i;
            continue;
        }
        const char latin = c.toLatin1();
        const Qt::Key key = (c.unicode() < 0x80 && latin) ? Qt::Key(QTest::asciiToKey(latin))
                                                          : Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, target, key, QString(c), Qt::NoModifier);
    }
}

// Characters that take two UTF-16 units: a face, a Gothic letter and a
// mathematical digit zero, which is a digit only to Unicode.
inline const QStringList &outsideBmp() {
    static const QStringList chars = {QStringLiteral(u"\U0001F600"), QStringLiteral(u"\U00010348"),
                                      QStringLiteral(u"\U0001D7D8")};
    return chars;
}

inline bool hasLoneSurrogate(const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

// The first n UTF-16 units of a text, less one where a character would be cut.
inline QString wholeLeft(const QString &text, qsizetype n) {
    QString s = text.left(n);
    if (!s.isEmpty() && s.back().isHighSurrogate() && s.size() < text.size())
        s.chop(1);
    return s;
}

// --- the lists of the variants window

// The lines a list shows: a final line break ends the last line.
inline QStringList memoLines(const LineMemo *memo) {
    QString text = memo->toPlainText();
    if (text.isEmpty())
        return {};
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.split(QLatin1Char('\n'));
}

// The text that selecting lines first..last of a list copies: the lines as
// given, the last line of the list with its final line break.
inline QString selectionOf(const LineMemo *memo, int first, int last) {
    const QStringList lines = memoLines(memo);
    QString s = lines.mid(first, last - first + 1).join(QLatin1Char('\n'));
    if (last == int(lines.size()) - 1 && memo->toPlainText().endsWith(QLatin1Char('\n')))
        s += QLatin1Char('\n');
    return s;
}

// The lines wholly inside the list's view, if any.
inline std::optional<std::pair<int, int>> linesInView(const LineMemo *memo) {
    const int height = memo->viewport()->height();
    int first = -1, last = -1;
    for (int line = memo->verticalScrollBar()->value(); line < memo->lineCount(); ++line) {
        const QRect r = memo->lineRect(line);
        if (r.top() < 0)
            continue;
        if (r.bottom() >= height)
            break;
        if (first < 0)
            first = line;
        last = line;
    }
    if (first < 0)
        return std::nullopt;
    return std::make_pair(first, last);
}

// How far past the viewport's right edge the widest line in view reaches,
// in pixels; the list leaves a text edit's margin of 4 pixels before its text.
inline qreal overhangInView(const LineMemo *memo) {
    constexpr qreal kMargin = 4;
    const QFontMetricsF metrics(memo->font());
    const qreal x = kMargin - memo->horizontalScrollBar()->value();
    const QStringList lines = memoLines(memo);
    qreal overhang = -1e9;
    if (const auto view = linesInView(memo))
        for (int line = view->first; line <= view->second; ++line)
            overhang = std::max(overhang, x + metrics.horizontalAdvance(lines.at(line)) -
                                              memo->viewport()->width());
    return overhang;
}

// --- the external calculator

enum class CalculatorFile { Missing, Script, NotExecutable, Folder };

inline const char *calculatorFileName(CalculatorFile f) {
    switch (f) {
    case CalculatorFile::Missing:
        return "missing";
    case CalculatorFile::Script:
        return "a script";
    case CalculatorFile::NotExecutable:
        return "not executable";
    case CalculatorFile::Folder:
        return "a folder";
    }
    return "?";
}

inline const QString kCalculator = QStringLiteral("CALC.exe");
// Each start of the stand-in calculator adds a line to this file.
inline const QString kLaunchLog = QStringLiteral("calc-launches");

// Puts the calculator into the working directory as asked. The script lets
// go of the test's output at once and then stays a few seconds, longer than
// an action may take, so a launch that waited for it would show.
inline bool placeCalculator(const QDir &dir, CalculatorFile f) {
    const QString path = dir.filePath(kCalculator);
    QFile::remove(path);
    dir.rmdir(kCalculator);
    switch (f) {
    case CalculatorFile::Missing:
        return !QFileInfo::exists(path);
    case CalculatorFile::Folder:
        return dir.mkdir(kCalculator);
    case CalculatorFile::Script:
    case CalculatorFile::NotExecutable: {
        QFile script(path);
        if (!script.open(QIODevice::WriteOnly))
            return false;
        script.write("#!/bin/sh\n"
                     "exec </dev/null >/dev/null 2>&1\n"
                     "echo started >> " +
                     kLaunchLog.toLatin1() +
                     "\n"
                     "sleep 3\n"
                     "exit 0\n");
        script.close();
        QFileDevice::Permissions p = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        if (f == CalculatorFile::Script)
            p |= QFileDevice::ExeOwner | QFileDevice::ExeUser;
        return script.setPermissions(p);
    }
    }
    return false;
}

inline int launchesLogged(const QDir &dir) {
    QFile log(dir.filePath(kLaunchLog));
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    return int(log.readAll().count('\n'));
}

} // namespace monkey
