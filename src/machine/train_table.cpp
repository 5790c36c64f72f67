// The texts of the train tables.
#include "machine/train_table.h"

#include "calc/input_text.h"
#include "machine/lines.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace machine {

namespace {

const QString kDash = QStringLiteral("—");

TableCell cell(const QString &text, const QString &hint = {}) {
    return {text, hint, false, false};
}
TableCell number(const QString &text) {
    return {text, {}, false, true};
}
TableCell missing(const QString &hint) {
    return {kDash, hint, false, false};
}

// The frequencies of each pair as the one list of lines gives them: Fz,
// APF and HTF at order 1.
struct PairLines {
    std::optional<double> fz, apf, htf;
};
std::vector<PairLines> fundamentalLines(const Train &train) {
    std::vector<PairLines> out(train.pairs.size());
    forEachLine(train, LineOptions{}, [&](const Line &line) {
        if (line.pair < 1 || line.base == Base::Intermodulation)
            return;
        PairLines &p = out[static_cast<std::size_t>(line.pair - 1)];
        if (line.base == Base::Fz && line.m == 0)
            p.fz = line.value;
        else if (line.base == Base::Apf)
            p.apf = line.value;
        else if (line.base == Base::Htf)
            p.htf = line.value;
    });
    return out;
}

class PairRow {
public:
    PairRow(const Train &train, const UnitChoice &unit)
        : train(train), unit(unit), lines(fundamentalLines(train)) {}

    std::vector<TableCell> operator()(const TrainPair &p) const {
        std::vector<TableCell> row(kPairColumnCount);
        row[ColPair] = number(QString::number(p.number));
        row[ColNote] = note(p);
        if (!p.calculated) {
            row[ColZ1] = cell(p.texts.z1);
            row[ColZ2] = cell(p.texts.z2);
            for (int c = ColRatio; c < ColNote; ++c)
                row[static_cast<std::size_t>(c)] = missing(p.problem);
            return row;
        }
        const PairLines &own = lines[static_cast<std::size_t>(p.number - 1)];
        row[ColZ1] = number(calc::generalDecimal(p.z1));
        row[ColZ2] = number(calc::generalDecimal(p.z2));
        row[ColRatio] = number(tableNumber(p.gearRatio, train.precisionFactor));
        row[ColFr1] = inUnit(p.fr1);
        row[ColFr2] = inUnit(p.fr2);
        row[ColFz] = inUnit(own.fz.value_or(p.fz));
        mesh(p.mesh, own, row);
        return row;
    }

private:
    const Train &train;
    const UnitChoice &unit;
    std::vector<PairLines> lines;

    TableCell inUnit(double hertz) const {
        const std::optional<double> v = toUnit(hertz, unit, train);
        if (!v)
            return missing(
                QStringLiteral("частота вала %1 неизвестна или равна нулю").arg(unit.ordersShaft));
        return number(tableNumber(*v, train.precisionFactor));
    }
    // A shaft speed in a remark, in the table's unit: "8,4 об/мин".
    QString speedText(double hertz) const {
        const std::optional<double> v = toUnit(hertz, unit, train);
        return v ? tableNumber(*v, train.precisionFactor) + QLatin1Char(' ') + unitName(unit, true)
                 : calc::generalDecimal(hertz) + QStringLiteral(" Гц");
    }
    void mesh(const MeshFigures &m, const PairLines &own, std::vector<TableCell> &row) const {
        if (!m.known) {
            const QString why = QStringLiteral("Нет: %1").arg(m.reason);
            for (int c : {ColNa, ColApf, ColHtf, ColHtfPeriod, ColHunting})
                row[static_cast<std::size_t>(c)] = missing(why);
            return;
        }
        row[ColNa] = number(QString::number(m.na));
        row[ColApf] = inUnit(own.apf.value_or(m.apf));
        row[ColHtf] = inUnit(own.htf.value_or(m.htf));
        row[ColHtfPeriod] = m.htfPeriod ? number(tableNumber(*m.htfPeriod, train.precisionFactor))
                                        : missing(QStringLiteral("HTF равна нулю"));
        row[ColHunting] = cell(m.hunting ? QStringLiteral("да") : QStringLiteral("нет"));
    }

    TableCell note(const TrainPair &p) const {
        QStringList parts;
        TableCell c;
        if (p.fr1TextDiffers && !p.chainBroken) {
            const QString typed = speedText(p.typedFr1);
            parts
                << (train.followsKnown
                        ? QStringLiteral("в паре Fr1 = %1, по известной скорости иначе").arg(typed)
                        : QStringLiteral("в паре Fr1 = %1, округлено при «Далее >»").arg(typed));
        }
        if (p.chainBroken) {
            parts << QStringLiteral("цепь разорвана: по паре %1 Fr1 = %2")
                         .arg(p.number - 1)
                         .arg(speedText(p.chainFr1));
            c.hint = QStringLiteral("Fr1 этой пары (%1 Гц) не следует из Fr2 пары %2")
                         .arg(p.texts.fr1)
                         .arg(p.number - 1);
            c.marked = true;
        }
        if (!p.calculated)
            parts << QStringLiteral("не рассчитывается: %1").arg(p.problem);
        if (p.source == PairSource::Edited)
            parts << QStringLiteral("изменена в полях ввода, не записана в цепь");
        if (p.source == PairSource::InFields)
            parts << QStringLiteral("в полях ввода, не записана в цепь («Далее >»)");
        c.text = parts.join(QStringLiteral("; "));
        return c;
    }
};

QString shaftPlace(int k, int shafts) {
    if (k == 1)
        return QStringLiteral("входной: колесо 1 пары 1");
    if (k == shafts)
        return QStringLiteral("выходной: колесо 2 пары %1").arg(k - 1);
    return QStringLiteral("колесо 2 пары %1, колесо 1 пары %2").arg(k - 1).arg(k);
}

// The shafts' speeds in the table's unit; a broken chain's second speed of
// a shaft in its place column.
TextTable shaftTable(const Train &train, const UnitChoice &unit, const MachineDocument &document) {
    TextTable t;
    t.headers = {QStringLiteral("Вал"), QStringLiteral("Название"),
                 QStringLiteral("Частота вращения, %1").arg(unitName(unit, true)),
                 QStringLiteral("Расположение")};
    static_assert(kShaftColumnCount == 4, "one heading per shaft column");
    for (int k = 1; k <= train.shaftCount(); ++k) {
        std::vector<TableCell> row(kShaftColumnCount);
        row[ColShaft] = number(QString::number(k));
        row[ColShaftName] = cell(document.shaftName(k));
        row[ColShaftPlace] = cell(shaftPlace(k, train.shaftCount()));
        const std::optional<double> hz = train.shaft(k);
        const std::optional<double> v = hz ? toUnit(*hz, unit, train) : std::nullopt;
        if (!v)
            row[ColShaftFrequency] =
                missing(hz ? QStringLiteral("частота вала %1 неизвестна").arg(unit.ordersShaft)
                           : QStringLiteral("пара перед валом не рассчитывается"));
        else
            row[ColShaftFrequency] = number(tableNumber(*v, train.precisionFactor));
        // A broken chain: the shaft turns at the next pair's Fr1, the pair
        // before says otherwise.
        if (k >= 2 && k - 1 < static_cast<int>(train.pairs.size())) {
            const TrainPair &next = train.pairs[static_cast<std::size_t>(k - 1)];
            if (next.chainBroken) {
                const std::optional<double> other = toUnit(next.chainFr1, unit, train);
                row[ColShaftPlace].text +=
                    QStringLiteral("; по паре %1: %2 %3")
                        .arg(k - 1)
                        .arg(other ? tableNumber(*other, train.precisionFactor) : kDash,
                             unitName(unit, true));
                row[ColShaftPlace].marked = true;
            }
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

// The machine in a few labelled rows, its numbers in cells of their own.
std::vector<std::vector<TableCell>> summary(const Train &train, const UnitChoice &unit,
                                            const MachineDocument &d) {
    std::vector<std::vector<TableCell>> rows;
    rows.push_back({cell(QStringLiteral("Агрегат")), cell(d.name)});
    rows.push_back({cell(QStringLiteral("Примечания")), cell(d.notes)});
    if (d.hasKnownSpeed()) {
        const calc::ParsedNumber typed = calc::readNumber(d.known.text);
        rows.push_back(
            {cell(QStringLiteral("Известная скорость")),
             typed.status == 0 ? number(calc::generalDecimal(typed.value)) : cell(d.known.text),
             cell(speedUnitName(d.known.unit)), cell(QStringLiteral("вал %1").arg(d.known.shaft))});
    } else {
        rows.push_back(
            {cell(QStringLiteral("Известная скорость")), cell(QStringLiteral("не задана"))});
    }
    std::vector<TableCell> units{cell(QStringLiteral("Единицы")), cell(unitName(unit, true))};
    if (unitName(unit, false) != unitName(unit, true))
        units.push_back(cell(unitName(unit, false)));
    rows.push_back(std::move(units));
    std::vector<TableCell> ratio{
        cell(QStringLiteral("Общее передаточное отношение (вал 1 / вал %1)")
                 .arg(std::max(train.shaftCount(), 1)))};
    ratio.push_back(train.totalRatio ? number(tableNumber(*train.totalRatio, train.precisionFactor))
                                     : missing(QStringLiteral("пара цепи не рассчитывается")));
    rows.push_back(std::move(ratio));
    return rows;
}

QString totalRatioText(const Train &train) {
    if (train.pairs.empty())
        return QStringLiteral("В агрегате нет рассчитанных пар");
    const QString head =
        QStringLiteral("Общее передаточное отношение (вал 1 / вал %1): ").arg(train.shaftCount());
    if (!train.totalRatio)
        return head + kDash;
    return head + tableNumber(*train.totalRatio, train.precisionFactor);
}

// The pair table's headings, one per column in column order, with what the
// less known ones mean; a heading with a unit takes the unit of shafts
// (об/мин) or of the other lines (CPM).
enum class HeaderUnit { None, Shaft, Other };
struct PairHeader {
    PairColumn column;
    const char *text;
    HeaderUnit unit;
    const char *hint;
};
constexpr PairHeader kPairHeaders[] = {
    {ColPair, "Пара", HeaderUnit::None, ""},
    {ColZ1, "Z1", HeaderUnit::None, "Число зубьев колеса 1 (на входном валу пары)"},
    {ColZ2, "Z2", HeaderUnit::None, "Число зубьев колеса 2 (на выходном валу пары)"},
    {ColRatio, "i", HeaderUnit::None, "Передаточное число: большее число зубьев к меньшему"},
    {ColFr1, "Fr1, %1", HeaderUnit::Shaft, "Частота вращения колеса 1"},
    {ColFr2, "Fr2, %1", HeaderUnit::Shaft, "Частота вращения колеса 2"},
    {ColFz, "Fz, %1", HeaderUnit::Other, "Зубцовая частота: Z1 · Fr1"},
    {ColNa, "Na", HeaderUnit::None,
     "Число фаз сборки: наибольший общий делитель Z1 и Z2. Столько разных сочетаний зубьев "
     "повторяется в зацеплении"},
    {ColApf, "APF, %1", HeaderUnit::Other,
     "Частота фаз сборки: Fz / Na. Дефект сборки или повреждение нескольких зубьев"},
    {ColHtf, "HTF, %1", HeaderUnit::Other,
     "Частота охоты зуба: Fz / НОК(Z1, Z2). С этой частотой та же пара зубьев встречается "
     "снова; её видно при повреждении зуба на обоих колёсах"},
    {ColHtfPeriod, "Период HTF, с", HeaderUnit::None,
     "1 / HTF: сколько секунд записи нужно, чтобы та же пара зубьев встретилась снова"},
    {ColHunting, "Охотящаяся", HeaderUnit::None,
     "Охотящаяся пара (Na = 1): каждый зуб встречается с каждым зубом другого колеса, износ "
     "распределяется равномерно"},
    {ColNote, "Примечание", HeaderUnit::None, ""},
};
constexpr bool headersFollowColumns() {
    int i = 0;
    for (const PairHeader &h : kPairHeaders)
        if (h.column != i++)
            return false;
    return i == kPairColumnCount;
}
static_assert(headersFollowColumns(), "one heading per pair column, in column order");

} // namespace

double roundedToSignificant(double value, int digits) {
    if (value == 0.0 || !std::isfinite(value) || digits < 1 || digits > 15)
        return value;
    // Through the decimal text, not by powers of ten, which would round twice.
    char buf[64];
    const auto written =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
    double rounded = value;
    std::from_chars(buf, written.ptr, rounded);
    return rounded;
}

QString significantText(double value, int digits) {
    return calc::generalDecimal(roundedToSignificant(value, digits));
}

QString tableNumber(double value, std::int32_t precisionFactor) {
    if (precisionFactor <= 1)
        return calc::generalDecimal(value);
    const calc::Rounded byPrecision = calc::roundByPrecision(value, precisionFactor);
    const double six = roundedToSignificant(value, 6);
    if (byPrecision.fault)
        return calc::generalDecimal(six);
    if (std::fabs(byPrecision.value - value) <= std::fabs(six - value))
        return calc::generalDecimal(byPrecision.value);
    return calc::generalDecimal(six);
}

TrainTables trainTables(const Train &train, const UnitChoice &unit,
                        const MachineDocument &document) {
    TrainTables t;
    const QString shaftUnit = unitName(unit, true);
    const QString otherUnit = unitName(unit, false);
    for (const PairHeader &h : kPairHeaders) {
        const QString text = QString::fromUtf8(h.text);
        t.pairs.headers << (h.unit == HeaderUnit::None
                                ? text
                                : text.arg(h.unit == HeaderUnit::Shaft ? shaftUnit : otherUnit));
        t.pairs.headerHints << QString::fromUtf8(h.hint);
    }
    const PairRow row(train, unit);
    for (const TrainPair &p : train.pairs)
        t.pairs.rows.push_back(row(p));
    t.shafts = shaftTable(train, unit, document);
    t.totalRatio = totalRatioText(train);
    t.summary = summary(train, unit, document);
    return t;
}

} // namespace machine
