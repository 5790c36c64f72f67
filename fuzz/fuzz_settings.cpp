// Fuzz target: the settings file. The bytes are read by parsePrecision
// directly and, through a real VeviVerezoz.bmp in a temporary folder, by
// loadPrecision; the value is then saved and loaded again.
//
// Properties: parsePrecision agrees with a reading of its own (blanks
// skipped, a run of at most 32 characters, a signed decimal integer of 32
// bits); loading gives that value, or 1 when there is none; a saved file
// holds digits, an optional leading '-' and CR LF only, leaves no temporary
// file behind and loads as the value saved.
#include "fuzz_check.h"
#include "settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <charconv>
#include <cstdint>
#include <cstdlib>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::optional<std::int32_t> expectedPrecision(const QByteArray &content) {
    const char *p = content.constData();
    const char *const end = p + content.size();
    while (p != end && isBlank(*p))
        ++p;
    if (p == end)
        return 0;
    const char *runEnd = p;
    while (runEnd != end && runEnd - p < 32 && !isBlank(*runEnd))
        ++runEnd;
    // from_chars takes a '-' but no '+'.
    if (*p == '+') {
        ++p;
        if (p == runEnd || *p == '-')
            return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [stop, error] = std::from_chars(p, runEnd, value);
    if (error != std::errc() || stop != runEnd)
        return std::nullopt;
    return value;
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly), "cannot read " + path.toStdString());
    return f.readAll();
}

bool isWrittenForm(const QByteArray &bytes) {
    if (!bytes.endsWith("\r\n"))
        return false;
    const QByteArray number = bytes.chopped(2);
    const qsizetype first = number.startsWith('-') ? 1 : 0;
    if (number.size() == first)
        return false;
    for (qsizetype i = first; i < number.size(); ++i) {
        if (number[i] < '0' || number[i] > '9')
            return false;
    }
    return true;
}

void checkFile(const QByteArray &content, std::int32_t parsedOrDefault) {
    static QTemporaryDir dir;
    FUZZ_CHECK(dir.isValid(), std::string("no temporary folder"));
    const QString path = settings::settingsPath(dir.path());
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                       f.write(content) == content.size(),
                   "cannot write " + path.toStdString());
    }
    const std::string shown = "file " + fuzz::quoted(content);

    const settings::LoadResult loaded = settings::loadPrecision(dir.path());
    FUZZ_CHECK(loaded.error.isEmpty(), shown + ": " + loaded.error.toStdString());
    FUZZ_CHECK(loaded.precisionFactor == parsedOrDefault,
               shown + " loaded " + std::to_string(loaded.precisionFactor) + ", expected " +
                   std::to_string(parsedOrDefault));
    FUZZ_CHECK(readFile(path) == content, shown + " was changed by loading");

    const QString saveError = settings::savePrecision(dir.path(), loaded.precisionFactor);
    FUZZ_CHECK(saveError.isEmpty(), shown + ": " + saveError.toStdString());
    const QByteArray written = readFile(path);
    FUZZ_CHECK(isWrittenForm(written), shown + " saved as " + fuzz::quoted(written));
    FUZZ_CHECK(written == settings::formatPrecision(loaded.precisionFactor),
               shown + " saved as " + fuzz::quoted(written));
    const QStringList entries =
        QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    FUZZ_CHECK(entries == QStringList{QString::fromLatin1(settings::kFileName)},
               shown + " left " + entries.join(QLatin1Char(' ')).toStdString());

    const settings::LoadResult again = settings::loadPrecision(dir.path());
    FUZZ_CHECK(again.error.isEmpty() && again.precisionFactor == loaded.precisionFactor,
               shown + " saved " + std::to_string(loaded.precisionFactor) + ", loaded again " +
                   std::to_string(again.precisionFactor));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<std::int32_t> parsed = settings::parsePrecision(content);
    const std::optional<std::int32_t> expected = expectedPrecision(content);
    FUZZ_CHECK(parsed == expected,
               "content " + fuzz::quoted(content) + " read " +
                   (parsed ? std::to_string(*parsed) : std::string("nothing")) + ", expected " +
                   (expected ? std::to_string(*expected) : std::string("nothing")));
    if (parsed) {
        FUZZ_CHECK(settings::parsePrecision(settings::formatPrecision(*parsed)) == parsed,
                   "value " + std::to_string(*parsed) + " written as " +
                       fuzz::quoted(settings::formatPrecision(*parsed)));
    }
    checkFile(content, parsed.value_or(1));
    return 0;
}
