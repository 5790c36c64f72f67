// Reading and writing the settings file.
#include "app/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <limits>

namespace settings {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

constexpr qsizetype kMaxRun = 32;

QString writeError(const QString &path, const QString &reason)
{
    return QStringLiteral("Не удалось записать файл настроек «%1»: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}
} // namespace

QString settingsPath(const QString &programDir)
{
    return QDir(programDir).filePath(QString::fromLatin1(kFileName));
}

std::optional<std::int32_t> parsePrecision(const QByteArray &content)
{
    qsizetype i = 0;
    const qsizetype n = content.size();
    while (i < n && isBlank(content[i]))
        ++i;
    if (i == n)
        return 0;
    const qsizetype start = i;
    while (i < n && i - start < kMaxRun && !isBlank(content[i]))
        ++i;
    const QByteArray run = content.mid(start, i - start);

    qsizetype p = 0;
    bool negative = false;
    if (run[p] == '+' || run[p] == '-') {
        negative = run[p] == '-';
        ++p;
    }
    if (p == run.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; p < run.size(); ++p) {
        const char c = run[p];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

QByteArray formatPrecision(std::int32_t factor) { return QByteArray::number(factor) + "\r\n"; }

LoadResult loadPrecision(const QString &programDir)
{
    const QString path = settingsPath(programDir);
    // One create-and-reopen at most: a file that can be created but still
    // not read must not keep the program in a loop.
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Only a regular file is read: opening a named pipe would wait for a
        // writer, a device might never end.
        QFile file(path);
        if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) {
            const std::optional<std::int32_t> value = parsePrecision(file.readAll());
            return {value.value_or(1), QString()};
        }
        if (attempt == 0) {
            const QString error = savePrecision(programDir, 1);
            if (!error.isEmpty())
                return {1, error};
        }
    }
    return {1, QString()};
}

QString savePrecision(const QString &programDir, std::int32_t factor)
{
    const QString path = settingsPath(programDir);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return writeError(path, file.errorString());
    const QByteArray bytes = formatPrecision(factor);
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return writeError(path, reason);
    }
    if (!file.commit())
        return writeError(path, file.errorString());
    return QString();
}

} // namespace settings
