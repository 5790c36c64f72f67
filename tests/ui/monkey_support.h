// Helpers of the monkey test that need none of its state: the texts with
// characters outside the Basic Multilingual Plane, what a list of the
// variants window should hold and show, and the stand-in calculator that the
// run puts into its working directory.
#pragma once

#include "ui/kit/line_memo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <utility>

namespace monkey {

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
