// The user's preferences file.
#include "settings/user_preferences.h"

#include "settings/safe_read.h"
#include "settings/safe_write.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

namespace settings {

namespace {
// Far above a file of nine paths.
constexpr qint64 kPreferencesLimit = 64 * 1024;
} // namespace

QByteArray preferencesBytes(const UserPreferences &p) {
    QJsonObject o;
    if (p.internationalCsv)
        o.insert(QStringLiteral("internationalCsv"), *p.internationalCsv);
    o.insert(QStringLiteral("recentFiles"), QJsonArray::fromStringList(p.recentFiles));
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

UserPreferences parsePreferences(const QByteArray &bytes) {
    UserPreferences p;
    const QJsonObject o = QJsonDocument::fromJson(bytes).object();
    if (const QJsonValue v = o.value(QStringLiteral("internationalCsv")); v.isBool())
        p.internationalCsv = v.toBool();
    for (const QJsonValue &v : o.value(QStringLiteral("recentFiles")).toArray())
        if (v.isString() && !v.toString().isEmpty() && v.toString().isValidUtf16() &&
            p.recentFiles.size() < kRecentFileLimit && !p.recentFiles.contains(v.toString()))
            p.recentFiles << v.toString();
    return p;
}

bool internationalCsvFirst(const UserPreferences &preferences) {
    const QLocale locale = QLocale::system();
    return preferences.internationalCsv.value_or(locale.language() != QLocale::C &&
                                                 locale.decimalPoint() == QLatin1String("."));
}

QString preferencesPath(const QString &configFolder) {
    return QDir(configFolder).filePath(QStringLiteral("preferences.json"));
}

UserPreferences readPreferences(const QString &path) {
    const ReadOutcome read = readFilePrefix(path, kPreferencesLimit);
    return read.opened && !read.truncated ? parsePreferences(read.bytes) : UserPreferences{};
}

QString writePreferences(const QString &path, const UserPreferences &preferences) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("Не удалось создать папку «%1»")
            .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
    const WriteOutcome outcome = writeFile(path, preferencesBytes(preferences));
    return outcome.ok() ? QString() : writeFailureText(path, outcome);
}

QStringList withRecent(QStringList recent, const QString &file) {
    recent.removeAll(file);
    recent.prepend(file);
    while (recent.size() > kRecentFileLimit)
        recent.removeLast();
    return recent;
}

} // namespace settings
