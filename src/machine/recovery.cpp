// Writing and reading the recovery file.
#include "machine/recovery.h"

#include "settings/safe_read.h"
#include "settings/safe_write.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonValue>
#include <QRegularExpression>
#include <csignal>
#include <limits>
#include <sys/types.h>

namespace machine {

namespace {

RecoveryRead refused(const QString &why) {
    return {std::nullopt, QStringLiteral("Несохранённый агрегат не восстановить: %1.").arg(why)};
}

} // namespace

QByteArray recoveryBytes(const Recovery &r) {
    QByteArray out = "{\n";
    out += "  \"format\": \"" + QByteArray(kRecoveryFormat) + "\",\n";
    out += "  \"version\": 1,\n";
    out += "  \"file\": " + jsonString(r.file) + ",\n";
    out += "  \"savedAt\": " + jsonString(r.savedAt.toUTC().toString(Qt::ISODate)) + ",\n";
    out += "  \"machine\": " + machineFileBytes(r.state).trimmed() + "\n";
    return out + "}\n";
}

RecoveryRead parseRecovery(const QByteArray &bytes) {
    QString why;
    const std::optional<QJsonObject> root = jsonObject(bytes, &why);
    if (!root)
        return refused(why);
    if (root->value(QLatin1String("format")).toString() != QLatin1String(kRecoveryFormat) ||
        root->value(QLatin1String("version")).toInt(-1) != 1)
        return refused(QStringLiteral("это не файл восстановления этой версии программы"));
    const QJsonValue file = root->value(QLatin1String("file"));
    const QDateTime savedAt =
        QDateTime::fromString(root->value(QLatin1String("savedAt")).toString(), Qt::ISODate);
    const QJsonValue machine = root->value(QLatin1String("machine"));
    if (!file.isString() || !savedAt.isValid() || !machine.isObject())
        return refused(QStringLiteral("в нём нет полей \"file\", \"savedAt\" или \"machine\""));
    const MachineFileRead read = parseMachineObject(machine.toObject(), QStringLiteral("machine"));
    if (!read.state)
        return refused(read.error);
    return {Recovery{*read.state, file.toString(), savedAt}, QString()};
}

RecoveryRead readRecovery(const QString &path) {
    const settings::ReadOutcome read = settings::readFilePrefix(path, kMachineFileLimit);
    if (!read.opened && read.errorCode == 0 && !read.notRegular)
        return {};
    if (!read.opened)
        return refused(read.notRegular ? QStringLiteral("это не обычный файл")
                                       : settings::systemReason(read.errorCode));
    if (read.truncated)
        return refused(QStringLiteral("файл слишком велик"));
    return parseRecovery(read.bytes);
}

QString recoveryPath(const QString &dataFolder, const QDateTime &started, qint64 pid) {
    return QDir(dataFolder)
        .filePath(QStringLiteral("recovery-%1-%2.json")
                      .arg(started.toUTC().toString(QStringLiteral("yyyyMMddHHmmsszzz")))
                      .arg(pid));
}

QStringList leftRecoveryFiles(const QString &dataFolder, qint64 ownPid, const QString &ownFile) {
    QStringList files;
    // Names sort by their start time: the newest last. The names are picked
    // by hand: a name filter, like the pattern below, would be compiled into
    // a regular expression at every start, which costs the start memory.
    const QStringList names = QDir(dataFolder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &n : names) {
        if (!n.startsWith(QLatin1String("recovery-")) || !n.endsWith(QLatin1String(".json")))
            continue;
        // Made at the first file found: most starts find none.
        static const QRegularExpression name(QStringLiteral("^recovery-(\\d{17})-(\\d+)\\.json$"));
        const QRegularExpressionMatch m = name.match(n);
        if (!m.hasMatch())
            continue;
        const qint64 pid = m.captured(2).toLongLong();
        const QString file = QDir(dataFolder).filePath(n);
        // Another process that still runs writes its own file; ours is ours.
        const bool running = pid != ownPid && pid > 0 && pid <= std::numeric_limits<pid_t>::max() &&
                             ::kill(static_cast<pid_t>(pid), 0) == 0;
        if (running || QFileInfo(file).fileName() == QFileInfo(ownFile).fileName())
            continue;
        files.prepend(file);
    }
    return files;
}

} // namespace machine
