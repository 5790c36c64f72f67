// Reading and writing the settings file.
#include "settings/settings_file.h"

#include "settings/safe_read.h"
#include "settings/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <limits>

namespace settings {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

constexpr qsizetype kMaxRun = 32;

// What the reading rule needs: blanks, then a run of at most 32 characters
// and the character after it. Blanks are allowed up to 16 MiB, far beyond
// any file the program writes, so a hand-edited file with many blank lines
// still reads; past that the file does not hold a setting.
constexpr qsizetype kBlankLimit = 16 * 1024 * 1024;
constexpr qint64 kReadLimit = kBlankLimit + kMaxRun + 1;

QString writeError(const QString &path, const QString &reason) {
    return QStringLiteral("Не удалось записать файл настроек «%1»: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}
} // namespace

QString settingsPath(const QString &programDir) {
    return QDir(programDir).filePath(QString::fromLatin1(kFileName));
}

std::optional<std::int32_t> parsePrecision(const QByteArray &content) {
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

QByteArray formatPrecision(std::int32_t factor) {
    return QByteArray::number(factor) + "\r\n";
}

std::optional<std::int32_t> parsePrecisionPrefix(const QByteArray &prefix, bool truncated) {
    qsizetype firstNonBlank = 0;
    while (firstNonBlank < prefix.size() && isBlank(prefix[firstNonBlank]))
        ++firstNonBlank;
    // More blanks than the bound, or a file that goes on after nothing but
    // blanks: the number, if any, lies past what is read.
    if (firstNonBlank >= kBlankLimit || (truncated && firstNonBlank == prefix.size()))
        return std::nullopt;
    return parsePrecision(prefix);
}

LoadResult loadPrecision(const QString &programDir) {
    const QString path = settingsPath(programDir);
    // One create-and-reopen at most: a file that can be created but still
    // not read must not keep the program in a loop.
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Only a regular file is read, never through a symlink, and never
        // more than the bound: a pipe cannot stall the start, a huge file
        // cannot exhaust the memory.
        const ReadOutcome read = readFilePrefix(path, kReadLimit);
        if (read.opened && read.errorCode == 0)
            return {parsePrecisionPrefix(read.bytes, read.truncated).value_or(1), QString()};
        if (attempt == 0) {
            const QString error = savePrecision(programDir, 1);
            if (!error.isEmpty())
                return {1, error};
        }
    }
    return {1, QString()};
}

QString savePrecision(const QString &programDir, std::int32_t factor) {
    const QString path = settingsPath(programDir);
    const WriteOutcome outcome = writeFile(path, formatPrecision(factor), InPlace::Allowed);
    return outcome.ok() ? QString() : writeError(path, outcome.reason);
}

} // namespace settings
