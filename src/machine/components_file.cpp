// Stages, bearings and the bearing library as JSON.
#include "machine/components_file.h"

#include "calc/input_text.h"
#include "machine/machine_file.h"
#include "settings/safe_write.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace machine {

namespace {

// The words the file uses for each choice, one table each.
template <class E> struct Word {
    E value;
    const char *word;
};
constexpr Word<StageKind> kKinds[] = {{StageKind::Planetary, "planetary"},
                                      {StageKind::Belt, "belt"}};
constexpr Word<Member> kMembers[] = {
    {Member::Sun, "sun"}, {Member::Carrier, "carrier"}, {Member::Ring, "ring"}};
constexpr Word<TurningRing> kRings[] = {{TurningRing::Inner, "inner"},
                                        {TurningRing::Outer, "outer"}};
constexpr Word<SpinConvention> kSpins[] = {{SpinConvention::Spin, "spin"},
                                           {SpinConvention::BothRings, "bothRings"}};

template <class E, std::size_t N> QByteArray wordOf(const Word<E> (&table)[N], E value) {
    for (const Word<E> &w : table)
        if (w.value == value)
            return QByteArray("\"") + w.word + '"';
    return "\"\"";
}

QByteArray number(double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest).toLatin1();
}

// Reads the fields of one object; the first problem ends it.
class Fields {
public:
    Fields(const QJsonObject &o, QString where) : o(o), where(std::move(where)) {}
    QString error;

    bool whole(const char *key, int low, int high, int &out) {
        const QJsonValue v = o.value(QLatin1String(key));
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || std::floor(d) != d || d < low || d > high)
            return fail(QStringLiteral("поле \"%1\" должно быть целым числом от %2 до %3")
                            .arg(QLatin1String(key))
                            .arg(low)
                            .arg(high));
        out = static_cast<int>(d);
        return true;
    }
    // low < out <= high, or low <= out when `fromLow`.
    bool real(const char *key, double low, double high, double &out, bool fromLow = false) {
        const QJsonValue v = o.value(QLatin1String(key));
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || !(fromLow ? d >= low : d > low) || !(d <= high))
            return fail(QStringLiteral("поле \"%1\" должно быть числом %2 %3 и не больше %4")
                            .arg(QLatin1String(key),
                                 fromLow ? QStringLiteral("от") : QStringLiteral("больше"))
                            .arg(low)
                            .arg(high));
        out = d;
        return true;
    }
    template <class E, std::size_t N>
    bool word(const char *key, const Word<E> (&table)[N], E &out) {
        const QString text = o.value(QLatin1String(key)).toString();
        for (const Word<E> &w : table)
            if (text == QLatin1String(w.word)) {
                out = w.value;
                return true;
            }
        QStringList words;
        for (const Word<E> &w : table)
            words << QStringLiteral("\"%1\"").arg(QLatin1String(w.word));
        return fail(QStringLiteral("поле \"%1\" должно быть одним из: %2")
                        .arg(QLatin1String(key), words.join(QStringLiteral(", "))));
    }
    bool text(const char *key, int limit, QString &out) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) {
            out.clear();
            return true;
        }
        out = v.toString();
        if (!v.isString() || calc::characterCount(out) > limit || !out.isValidUtf16())
            return fail(QStringLiteral("поле \"%1\" должно быть строкой не длиннее %2 символов")
                            .arg(QLatin1String(key))
                            .arg(limit));
        return true;
    }
    bool object(const char *key, QJsonObject &out) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isObject())
            return fail(QStringLiteral("поле \"%1\" должно быть объектом").arg(QLatin1String(key)));
        out = v.toObject();
        return true;
    }
    bool fail(const QString &why) {
        error = where + QStringLiteral(": ") + why;
        return false;
    }
    const QString &place() const { return where; }

private:
    QJsonObject o;
    QString where;
};

QByteArray stageJson(const ExtraStage &e) {
    QByteArray out = "{\"kind\": " + wordOf(kKinds, e.kind) +
                     ", \"afterPairs\": " + QByteArray::number(e.afterPairs);
    if (e.kind == StageKind::Planetary) {
        const PlanetaryStage &p = e.planetary;
        out += ", \"sun\": " + QByteArray::number(p.sun) +
               ", \"planet\": " + QByteArray::number(p.planet) +
               ", \"ring\": " + QByteArray::number(p.ring) +
               ", \"planets\": " + QByteArray::number(p.planets) +
               ", \"fixed\": " + wordOf(kMembers, p.fixed) +
               ", \"input\": " + wordOf(kMembers, p.input);
    } else {
        const BeltStage &b = e.belt;
        out += ", \"driving\": " + number(b.driving) + ", \"driven\": " + number(b.driven) +
               ", \"length\": " + number(b.length) + ", \"slip\": " + number(b.slipPercent);
    }
    return out + "}";
}

// The bearing's own fields, after whatever says where it sits.
QByteArray bearingFields(const Bearing &b) {
    QByteArray out = "\"designation\": " + jsonString(b.designation) +
                     ", \"turning\": " + wordOf(kRings, b.turning);
    if (b.byGeometry) {
        const BearingGeometry &g = b.geometry;
        out += ", \"geometry\": {\"elements\": " + QByteArray::number(g.elements) +
               ", \"elementDiameter\": " + number(g.elementDiameter) +
               ", \"pitchDiameter\": " + number(g.pitchDiameter) +
               ", \"contactAngle\": " + number(g.contactAngleDegrees) + "}";
    } else {
        const BearingFactors &f = b.catalogue;
        out += ", \"factors\": {\"FTF\": " + number(f.ftf) + ", \"BPFO\": " + number(f.bpfo) +
               ", \"BPFI\": " + number(f.bpfi) + ", \"BSF\": " + number(f.bsf) +
               ", \"BSFis\": " + wordOf(kSpins, b.catalogueSpin) + "}";
    }
    return out;
}

QByteArray list(const std::vector<QByteArray> &items, const QByteArray &indent) {
    if (items.empty())
        return "[]";
    QByteArray out = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i == 0 ? "\n" : ",\n") + indent + "  " + items[i];
    return out + "\n" + indent + "]";
}

QString readStage(const QJsonObject &o, int number, ExtraStage &e) {
    Fields f(o, QStringLiteral("ступень %1").arg(number));
    if (!f.word("kind", kKinds, e.kind) ||
        !f.whole("afterPairs", 0, aggregate::kPairCount, e.afterPairs))
        return f.error;
    if (e.kind == StageKind::Planetary) {
        PlanetaryStage &p = e.planetary;
        if (!f.whole("sun", 1, kPlanetaryTeethLimit, p.sun) ||
            !f.whole("planet", 1, kPlanetaryTeethLimit, p.planet) ||
            !f.whole("ring", 1, kPlanetaryTeethLimit, p.ring) ||
            !f.whole("planets", 1, kPlanetLimit, p.planets) ||
            !f.word("fixed", kMembers, p.fixed) || !f.word("input", kMembers, p.input))
            return f.error;
        if (p.fixed == p.input)
            return QStringLiteral("ступень %1: неподвижное звено не может быть ведущим")
                .arg(number);
        return {};
    }
    BeltStage &b = e.belt;
    if (!f.real("driving", 0, kBeltSizeLimit, b.driving) ||
        !f.real("driven", 0, kBeltSizeLimit, b.driven) ||
        !f.real("length", 0, kBeltSizeLimit, b.length) ||
        !f.real("slip", 0, kSlipLimit, b.slipPercent, true))
        return f.error;
    return {};
}

QString readBearing(Fields &f, const QJsonObject &o, Bearing &b) {
    QJsonObject inner;
    if (!f.text("designation", kDesignationLimit, b.designation) ||
        !f.word("turning", kRings, b.turning))
        return f.error;
    b.byGeometry = o.contains(QLatin1String("geometry"));
    if (b.byGeometry) {
        BearingGeometry &g = b.geometry;
        if (!f.object("geometry", inner))
            return f.error;
        Fields gf(inner, f.place() + QStringLiteral(", geometry"));
        if (!gf.whole("elements", 3, kElementLimit, g.elements) ||
            !gf.real("elementDiameter", 0, kBearingSizeLimit, g.elementDiameter) ||
            !gf.real("pitchDiameter", 0, kBearingSizeLimit, g.pitchDiameter) ||
            !gf.real("contactAngle", 0, 89.999, g.contactAngleDegrees, true))
            return gf.error;
        return {};
    }
    if (!f.object("factors", inner))
        return f.error;
    Fields ff(inner, f.place() + QStringLiteral(", factors"));
    BearingFactors &c = b.catalogue;
    if (!ff.real("FTF", 0, 1, c.ftf) || !ff.real("BPFO", 0, kElementLimit, c.bpfo) ||
        !ff.real("BPFI", 0, kElementLimit, c.bpfi) || !ff.real("BSF", 0, kElementLimit, c.bsf) ||
        !ff.word("BSFis", kSpins, b.catalogueSpin))
        return ff.error;
    return {};
}

} // namespace

QByteArray stagesJson(const std::vector<ExtraStage> &stages, const QByteArray &indent) {
    std::vector<QByteArray> items;
    for (const ExtraStage &e : stages)
        items.push_back(stageJson(e));
    return list(items, indent);
}

QByteArray bearingsJson(const std::vector<MountedBearing> &bearings, const QByteArray &indent) {
    std::vector<QByteArray> items;
    for (const MountedBearing &b : bearings)
        items.push_back("{" +
                        (b.onPlanets() ? "\"planetsOf\": " + QByteArray::number(b.planetsOf + 1)
                                       : "\"shaft\": " + QByteArray::number(b.shaft)) +
                        ", " + bearingFields(b.bearing) + "}");
    return list(items, indent);
}

QString readStages(const QJsonValue &value, std::vector<ExtraStage> &out) {
    if (!value.isArray())
        return QStringLiteral("поле \"stages\" должно быть списком");
    const QJsonArray items = value.toArray();
    if (items.size() > kExtraStageLimit)
        return QStringLiteral("ступеней кроме пар больше %1").arg(kExtraStageLimit);
    out.clear();
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (!items[i].isObject())
            return QStringLiteral("ступень %1 должна быть объектом").arg(i + 1);
        ExtraStage e;
        if (const QString why = readStage(items[i].toObject(), int(i) + 1, e); !why.isEmpty())
            return why;
        out.push_back(e);
    }
    std::stable_sort(out.begin(), out.end(), [](const ExtraStage &a, const ExtraStage &b) {
        return a.afterPairs < b.afterPairs;
    });
    return {};
}

QString readBearings(const QJsonValue &value, const std::vector<ExtraStage> &stages,
                     std::vector<MountedBearing> &out) {
    if (!value.isArray())
        return QStringLiteral("поле \"bearings\" должно быть списком");
    const QJsonArray items = value.toArray();
    if (items.size() > kBearingLimit)
        return QStringLiteral("подшипников больше %1").arg(kBearingLimit);
    out.clear();
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString where = QStringLiteral("подшипник %1").arg(i + 1);
        if (!items[i].isObject())
            return where + QStringLiteral(" должен быть объектом");
        const QJsonObject o = items[i].toObject();
        Fields f(o, where);
        MountedBearing b;
        if (o.contains(QLatin1String("planetsOf"))) {
            int stage = 0;
            if (!f.whole("planetsOf", 1, std::max<int>(1, int(stages.size())), stage))
                return f.error;
            if (stages.empty() ||
                stages[static_cast<std::size_t>(stage - 1)].kind != StageKind::Planetary)
                return where + QStringLiteral(": ступень %1 не планетарная").arg(stage);
            b.shaft = 0;
            b.planetsOf = stage - 1;
        } else if (!f.whole("shaft", 1, kShaftLimit, b.shaft)) {
            return f.error;
        }
        if (const QString why = readBearing(f, o, b.bearing); !why.isEmpty())
            return why;
        out.push_back(b);
    }
    return {};
}

QByteArray bearingLibraryBytes(const std::vector<Bearing> &bearings) {
    std::vector<QByteArray> items;
    for (const Bearing &b : bearings)
        items.push_back("{" + bearingFields(b) + "}");
    return "{\n  \"format\": \"" + QByteArray(kBearingLibraryFormat) +
           "\",\n  \"version\": 1,\n  \"bearings\": " + list(items, "  ") + "\n}\n";
}

BearingLibraryRead parseBearingLibrary(const QByteArray &bytes) {
    QString why;
    const std::optional<QJsonObject> root = jsonObject(bytes, &why);
    if (!root)
        return {{}, why};
    if (root->value(QLatin1String("format")).toString() != QLatin1String(kBearingLibraryFormat) ||
        root->value(QLatin1String("version")).toDouble() != 1)
        return {{}, QStringLiteral("это не библиотека подшипников этой версии")};
    const QJsonArray items = root->value(QLatin1String("bearings")).toArray();
    if (items.size() > kBearingLibraryLimit)
        return {{}, QStringLiteral("подшипников больше %1").arg(kBearingLibraryLimit)};
    BearingLibraryRead out;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QJsonObject o = items[i].toObject();
        Fields f(o, QStringLiteral("подшипник %1").arg(i + 1));
        Bearing b;
        if (const QString bad = readBearing(f, o, b); !bad.isEmpty())
            return {{}, bad};
        out.bearings.push_back(b);
    }
    return out;
}

BearingLibraryRead readBearingLibrary(const QString &path) {
    const settings::ReadOutcome read = settings::readFilePrefix(path, kBearingLibraryFileLimit);
    if (read.notRegular)
        return {{}, QStringLiteral("это не обычный файл")};
    if (read.errorCode != 0)
        return {{}, settings::systemReason(read.errorCode)};
    if (!read.opened)
        return {};
    if (read.truncated)
        return {{}, QStringLiteral("файл больше %1 КБ").arg(kBearingLibraryFileLimit / 1024)};
    return parseBearingLibrary(read.bytes);
}

QString bearingLibraryPath(const QString &configFolder) {
    return QDir(configFolder).filePath(QStringLiteral("bearings.json"));
}

std::vector<Bearing> withBearing(std::vector<Bearing> library, const Bearing &bearing) {
    std::erase_if(library, [&](const Bearing &b) { return b.designation == bearing.designation; });
    library.insert(library.begin(), bearing);
    if (library.size() > static_cast<std::size_t>(kBearingLibraryLimit))
        library.resize(kBearingLibraryLimit);
    return library;
}

} // namespace machine
