// Writing and reading the machine file.
#include "machine/machine_file.h"

#include "calc/input_text.h"
#include "machine/components_file.h"
#include "settings/safe_write.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringDecoder>

#include <cmath>

namespace machine {

namespace {

using aggregate::GearPair;

constexpr const char *kPairKeys[4] = {"Z1", "Fr1", "Z2", "Fm"};

QString *pairField(GearPair &p, int i) {
    QString *fields[4] = {&p.z1, &p.fr1, &p.z2, &p.fm};
    return fields[i];
}

QByteArray pairObject(GearPair p) {
    QByteArray out = "{";
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            out += ", ";
        out += jsonString(QString::fromLatin1(kPairKeys[i])) + ": " + jsonString(*pairField(p, i));
    }
    return out + "}";
}

QString unitKey(Unit unit);

QString kFieldMessage(const QString &where, const char *key) {
    return where.isEmpty() ? QStringLiteral("нет поля \"%1\"").arg(QLatin1String(key))
                           : QStringLiteral("%1: нет поля \"%2\"").arg(where, QLatin1String(key));
}

// Reads the fields of the parsed document; the first problem ends it.
class Reader {
public:
    QString error;

    bool string(const QJsonObject &o, const char *key, int limit, QString &out,
                const QString &where = {}) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return fail(kFieldMessage(where, key));
        if (!v.isString())
            return fail(prefix(where) +
                        QStringLiteral("поле \"%1\" должно быть строкой").arg(QLatin1String(key)));
        out = v.toString();
        if (calc::characterCount(out) > limit)
            return fail(prefix(where) + QStringLiteral("текст поля \"%1\" длиннее %2 символов")
                                            .arg(QLatin1String(key))
                                            .arg(limit));
        // A "\\ud800" escape without its pair is no character: it could not
        // be written back as UTF-8.
        if (!out.isValidUtf16())
            return fail(
                prefix(where) +
                QStringLiteral("в тексте поля \"%1\" недопустимый символ").arg(QLatin1String(key)));
        return true;
    }

    bool whole(const QJsonObject &o, const char *key, int low, int high, int &out,
               const QString &where = {}) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return fail(kFieldMessage(where, key));
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || std::floor(d) != d || d < low || d > high)
            return fail(prefix(where) + QStringLiteral("поле \"%1\" должно быть целым числом от "
                                                       "%2 до %3")
                                            .arg(QLatin1String(key))
                                            .arg(low)
                                            .arg(high));
        out = static_cast<int>(d);
        return true;
    }

    bool object(const QJsonObject &o, const char *key, QJsonObject &out,
                const QString &where = {}) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return fail(kFieldMessage(where, key));
        if (!v.isObject())
            return fail(prefix(where) +
                        QStringLiteral("поле \"%1\" должно быть объектом").arg(QLatin1String(key)));
        out = v.toObject();
        return true;
    }

    bool pair(const QJsonObject &o, const QString &where, GearPair &out) {
        for (int i = 0; i < 4; ++i)
            if (!string(o, kPairKeys[i], calc::kTextLimit, *pairField(out, i), where))
                return false;
        return true;
    }

    bool fail(const QString &why) {
        error = why;
        return false;
    }

private:
    static QString prefix(const QString &where) {
        return where.isEmpty() ? QString() : where + QStringLiteral(": ");
    }
};

bool readHeader(Reader &r, const QJsonObject &root, int &versionRead) {
    QString format;
    if (!r.string(root, "format", 100, format))
        return false;
    if (format != QLatin1String(kMachineFormat))
        return r.fail(
            QStringLiteral("это не файл агрегата (формат \"%1\")").arg(calc::excerpt(format)));
    const QJsonValue version = root.value(QLatin1String("version"));
    if (version.isUndefined())
        return r.fail(QStringLiteral("нет поля \"version\""));
    const double v = version.toDouble(-1);
    if (v != 1 && v != kMachineFormatVersion)
        return r.fail(
            QStringLiteral("файл другой версии формата (%1), программа читает версии 1–%2")
                .arg(version.isDouble() ? QString::number(version.toDouble())
                                        : QStringLiteral("не число"))
                .arg(kMachineFormatVersion));
    versionRead = static_cast<int>(v);
    return true;
}

// From version 2: the stages beside the pairs and the bearings, each list
// optional.
bool readComponents(Reader &r, const QJsonObject &root, int version, MachineState &s) {
    if (version < 2)
        return true;
    MachineDocument &d = s.document;
    if (root.contains(QLatin1String("stages")))
        if (const QString why = readStages(root.value(QLatin1String("stages")), d.extraStages);
            !why.isEmpty())
            return r.fail(why);
    if (root.contains(QLatin1String("bearings")))
        if (const QString why =
                readBearings(root.value(QLatin1String("bearings")), d.extraStages, d.bearings);
            !why.isEmpty())
            return r.fail(why);
    return true;
}

bool readPairs(Reader &r, const QJsonObject &root, MachineState &s) {
    const QJsonValue pairs = root.value(QLatin1String("pairs"));
    if (pairs.isUndefined())
        return r.fail(QStringLiteral("нет поля \"pairs\""));
    if (!pairs.isArray())
        return r.fail(QStringLiteral("поле \"pairs\" должно быть списком"));
    const QJsonArray list = pairs.toArray();
    if (list.size() > aggregate::kPairCount)
        return r.fail(QStringLiteral("в файле %1 пар, а в агрегате их не больше %2")
                          .arg(list.size())
                          .arg(aggregate::kPairCount));
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString where = QStringLiteral("пара %1").arg(i + 1);
        if (!list[i].isObject())
            return r.fail(where + QStringLiteral(": должна быть объектом"));
        if (!r.pair(list[i].toObject(), where, s.pairSlots[static_cast<std::size_t>(i)]))
            return false;
    }
    return true;
}

bool readReference(Reader &r, const QJsonObject &root, MachineState &s) {
    const QJsonValue v = root.value(QLatin1String("reference"));
    if (v.isUndefined())
        return r.fail(QStringLiteral("нет поля \"reference\""));
    if (v.isNull())
        return true;
    if (!v.isObject())
        return r.fail(QStringLiteral("поле \"reference\" должно быть объектом или null"));
    const QJsonObject o = v.toObject();
    const QString where = QStringLiteral("reference");
    ReferenceSpeed ref;
    QString unit;
    if (!r.whole(o, "shaft", 1, kShaftLimit, ref.shaft, where) ||
        !r.string(o, "speed", calc::kTextLimit, ref.text, where) ||
        !r.string(o, "unit", 20, unit, where))
        return false;
    if (unit == speedUnitName(SpeedUnit::Hertz))
        ref.unit = SpeedUnit::Hertz;
    else if (unit == speedUnitName(SpeedUnit::PerMinute))
        ref.unit = SpeedUnit::PerMinute;
    else
        return r.fail(QStringLiteral("reference: единица \"%1\" не «Гц» и не «об/мин»").arg(unit));
    s.document.known = ref;
    return true;
}

// The table's unit as the file names it.
constexpr std::pair<Unit, const char *> kUnitKeys[] = {
    {Unit::Hertz, "Гц"}, {Unit::PerMinute, "об/мин"}, {Unit::Orders, "порядки"}};

// Optional: the names the user gave the shafts.
bool readShaftNames(Reader &r, const QJsonObject &root, MachineState &s) {
    const QJsonValue v = root.value(QLatin1String("shaftNames"));
    if (v.isUndefined())
        return true;
    if (!v.isArray())
        return r.fail(QStringLiteral("поле \"shaftNames\" должно быть списком"));
    const QJsonArray names = v.toArray();
    if (names.size() > kShaftLimit)
        return r.fail(QStringLiteral("в поле \"shaftNames\" больше %1 валов").arg(kShaftLimit));
    for (qsizetype k = 0; k < names.size(); ++k) {
        const QString where = QStringLiteral("shaftNames");
        QJsonObject one{{QStringLiteral("name"), names[k]}};
        QString name;
        if (!r.string(one, "name", kShaftNameLimit, name,
                      where + QStringLiteral(", вал %1").arg(k + 1)))
            return false;
        s.document.shaftNames.push_back(name);
    }
    return true;
}

// Optional: the unit the table shows.
bool readTableUnit(Reader &r, const QJsonObject &root, MachineState &s) {
    if (!root.contains(QLatin1String("tableUnit")))
        return true;
    QJsonObject o;
    QString unit;
    const QString where = QStringLiteral("tableUnit");
    UnitChoice &choice = s.document.unit;
    if (!r.object(root, "tableUnit", o) || !r.string(o, "unit", 20, unit, where) ||
        !r.whole(o, "ordersShaft", 1, kShaftLimit, choice.ordersShaft, where))
        return false;
    for (const auto &[u, key] : kUnitKeys)
        if (unit == QString::fromUtf8(key)) {
            choice.unit = u;
            return true;
        }
    return r.fail(
        QStringLiteral("tableUnit: единица \"%1\" не «Гц», не «об/мин» и не «порядки»").arg(unit));
}

// Optional: the last measurement, a path relative to the file.
bool readMeasurement(Reader &r, const QJsonObject &root, MachineState &s) {
    if (!root.contains(QLatin1String("measurement")))
        return true;
    return r.string(root, "measurement", kMeasurementPathLimit, s.document.measurement,
                    QStringLiteral("measurement"));
}

// Why the bytes cannot be a text file at all, if they cannot.
QString binaryProblem(const QByteArray &bytes) {
    if (bytes.contains('\0'))
        return QStringLiteral("файл двоичный (в нём нулевые байты), а не текст");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(bytes);
    if (utf8.hasError())
        return QStringLiteral("файл не в кодировке UTF-8 (двоичные данные или другая кодировка)");
    return {};
}

QString tooLarge() {
    return QStringLiteral("файл больше %1 КБ, это не файл агрегата").arg(kMachineFileLimit / 1024);
}

MachineFileRead failure(const QString &fileName, const QString &why) {
    return {
        std::nullopt,
        QStringLiteral("Файл агрегата «%1» не открыт: %2.").arg(calc::excerpt(fileName, 80), why),
        {}};
}

QString unitKey(Unit unit) {
    for (const auto &[u, key] : kUnitKeys)
        if (u == unit)
            return QString::fromUtf8(key);
    return {};
}

} // namespace

QByteArray jsonString(const QString &text) {
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += "\\u00" +
                       QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    return out + "\"";
}

MachineState captureState(const MachineDocument &document, const aggregate::PairStore &store,
                          int currentPair, const GearPair &inputs) {
    using calc::capturedText;
    MachineState s;
    s.document = document;
    MachineDocument &d = s.document;
    d.name = calc::leftCharacters(d.name, kNameLimit);
    d.notes = calc::leftCharacters(d.notes, kNotesLimit);
    for (QString &shaft : d.shaftNames)
        shaft = calc::leftCharacters(shaft, kShaftNameLimit);
    for (MountedBearing &b : d.bearings)
        b.bearing.designation = calc::leftCharacters(b.bearing.designation, kDesignationLimit);
    while (!d.shaftNames.empty() && d.shaftNames.back().isEmpty())
        d.shaftNames.pop_back();
    if (d.shaftNames.size() > std::size_t(kShaftLimit))
        d.shaftNames.resize(kShaftLimit);
    d.known.text = capturedText(d.known.text);
    d.measurement = calc::leftCharacters(d.measurement, kMeasurementPathLimit);
    for (int k = 1; k <= aggregate::kPairCount; ++k)
        s.pairSlots[static_cast<std::size_t>(k - 1)] = store.load(k);
    s.currentPair = currentPair;
    s.inputs = {capturedText(inputs.z1), capturedText(inputs.fr1), capturedText(inputs.z2),
                capturedText(inputs.fm)};
    return s;
}

QByteArray machineFileBytes(const MachineState &s) {
    int used = 0;
    for (int k = 0; k < aggregate::kPairCount; ++k) {
        const GearPair &p = s.pairSlots[static_cast<std::size_t>(k)];
        if (!p.z1.isEmpty() || !p.fr1.isEmpty() || !p.z2.isEmpty() || !p.fm.isEmpty())
            used = k + 1;
    }
    QByteArray out = "{\n";
    out += "  \"format\": " + jsonString(QString::fromLatin1(kMachineFormat)) + ",\n";
    // Version 1 while nothing needs 2, so that earlier programs still read it.
    const bool components = !s.document.extraStages.empty() || !s.document.bearings.empty();
    out += "  \"version\": " + QByteArray::number(components ? kMachineFormatVersion : 1) + ",\n";
    const MachineDocument &d = s.document;
    out += "  \"name\": " + jsonString(d.name) + ",\n";
    out += "  \"notes\": " + jsonString(d.notes) + ",\n";
    out += "  \"currentPair\": " + QByteArray::number(s.currentPair) + ",\n";
    out += "  \"inputs\": " + pairObject(s.inputs) + ",\n";
    out += "  \"pairs\": [";
    for (int k = 0; k < used; ++k)
        out += QByteArray(k == 0 ? "\n" : ",\n") + "    " +
               pairObject(s.pairSlots[static_cast<std::size_t>(k)]);
    out += used == 0 ? "],\n" : "\n  ],\n";
    out += "  \"reference\": ";
    if (d.hasKnownSpeed())
        out += "{\"shaft\": " + QByteArray::number(d.known.shaft) +
               ", \"speed\": " + jsonString(d.known.text) +
               ", \"unit\": " + jsonString(speedUnitName(d.known.unit)) + "}";
    else
        out += "null";
    if (!d.shaftNames.empty()) {
        out += ",\n  \"shaftNames\": [";
        for (std::size_t k = 0; k < d.shaftNames.size(); ++k)
            out += (k == 0 ? "" : ", ") + jsonString(d.shaftNames[k]);
        out += "]";
    }
    if (d.unit != UnitChoice{})
        out += ",\n  \"tableUnit\": {\"unit\": " + jsonString(unitKey(d.unit.unit)) +
               ", \"ordersShaft\": " + QByteArray::number(d.unit.ordersShaft) + "}";
    if (!d.measurement.isEmpty())
        out += ",\n  \"measurement\": " + jsonString(d.measurement);
    if (!d.extraStages.empty())
        out += ",\n  \"stages\": " + stagesJson(d.extraStages, "  ");
    if (!d.bearings.empty())
        out += ",\n  \"bearings\": " + bearingsJson(d.bearings, "  ");
    return out + "\n}\n";
}

aggregate::AggregateState restoredAggregate(const MachineState &state) {
    aggregate::AggregateState a;
    for (int k = 1; k <= aggregate::kPairCount; ++k) {
        const GearPair &p = state.pairSlots[static_cast<std::size_t>(k - 1)];
        if (!p.z1.isEmpty() || !p.fr1.isEmpty() || !p.z2.isEmpty() || !p.fm.isEmpty())
            a.storeSlot(k, p);
    }
    const int j = state.currentPair;
    a.CurrentPair = j;
    a.nextEnabled = j < aggregate::kPairCount && a.PairStore.occupied(j);
    a.backEnabled = j > 1;
    return a;
}

std::optional<QJsonObject> jsonObject(const QByteArray &bytes, QString *why) {
    if (bytes.size() > kMachineFileLimit) {
        *why = tooLarge();
        return std::nullopt;
    }
    if (bytes.trimmed().isEmpty()) {
        *why = QStringLiteral("файл пуст");
        return std::nullopt;
    }
    if (const QString binary = binaryProblem(bytes); !binary.isEmpty()) {
        *why = binary;
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *why = QStringLiteral("это не JSON (ошибка около байта %1)").arg(parseError.offset);
        return std::nullopt;
    }
    if (!doc.isObject()) {
        *why = QStringLiteral("в файле JSON не объект, а список или значение");
        return std::nullopt;
    }
    return doc.object();
}

MachineFileRead parseMachineObject(const QJsonObject &root, const QString &fileName) {
    Reader r;
    MachineState s;
    QJsonObject inputs;
    int version = 0;
    const bool ok =
        readHeader(r, root, version) && r.string(root, "name", kNameLimit, s.document.name) &&
        r.string(root, "notes", kNotesLimit, s.document.notes) &&
        r.whole(root, "currentPair", 1, aggregate::kPairCount, s.currentPair) &&
        r.object(root, "inputs", inputs) && r.pair(inputs, QStringLiteral("inputs"), s.inputs) &&
        readPairs(r, root, s) && readReference(r, root, s) && readShaftNames(r, root, s) &&
        readTableUnit(r, root, s) && readMeasurement(r, root, s) &&
        readComponents(r, root, version, s);
    if (!ok)
        return failure(fileName, r.error);
    return {s, QString(), {}};
}

MachineFileRead parseMachineFile(const QByteArray &bytes, const QString &fileName) {
    QString why;
    const std::optional<QJsonObject> root = jsonObject(bytes, &why);
    return root ? parseMachineObject(*root, fileName) : failure(fileName, why);
}

MachineFileRead readMachineFile(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    const settings::ReadOutcome read =
        settings::readFilePrefix(path, kMachineFileLimit, settings::Links::Followed);
    // A folder, a pipe or a device is no machine file.
    if (read.notRegular)
        return failure(name, QStringLiteral("это не обычный файл"));
    if (read.errorCode != 0)
        return failure(name, settings::systemReason(read.errorCode));
    if (!read.opened)
        return failure(name, QStringLiteral("файла нет"));
    if (read.truncated)
        return failure(name, tooLarge());
    MachineFileRead out = parseMachineFile(read.bytes, name);
    out.stamp = settings::stampOf(read.bytes);
    return out;
}

QString resolvedFilePath(const QString &path) {
    QString current = QFileInfo(path).absoluteFilePath();
    // A chain of links, each relative to its own folder; a loop ends it.
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            break;
        current = info.symLinkTarget();
    }
    const QString canonical = QFileInfo(current).canonicalFilePath();
    return canonical.isEmpty() ? current : canonical;
}

QString suggestedFileName(const QString &machineName, const QString &suffix) {
    static const QString kSpecial = QStringLiteral("\"/\\<>|*?:");
    QString name;
    bool blank = false;
    for (const QChar c : machineName) {
        const bool space = c.isSpace() || c.category() == QChar::Other_Control ||
                           c.category() == QChar::Other_Format;
        if (space) {
            blank = !name.isEmpty();
            continue;
        }
        if (blank)
            name += QLatin1Char(' ');
        blank = false;
        name += kSpecial.contains(c) ? QLatin1Char('_') : c;
    }
    // A leading dot would hide the file; trailing dots vanish on some systems.
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    while (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    name = name.trimmed();
    // 255 bytes is the usual limit of a file name; a character is kept whole.
    const qsizetype room = 255 - QByteArray(".").size() - suffix.toUtf8().size();
    while (name.toUtf8().size() > room)
        name = calc::leftCharacters(name, calc::characterCount(name) - 1).trimmed();
    if (name.isEmpty())
        name = QStringLiteral("агрегат");
    return name + QLatin1Char('.') + suffix;
}

} // namespace machine
