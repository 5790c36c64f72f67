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

// "по паре 1", "по планетарной ступени 1", "по ременной передаче 1".
QString byStage(const Train &t, const TrainStage *s) {
    if (!s)
        return {};
    switch (s->kind) {
    case StageKind::Pair:
        return QStringLiteral("по паре %1").arg(t.pairs[static_cast<std::size_t>(s->index)].number);
    case StageKind::Planetary:
        return QStringLiteral("по планетарной ступени %1")
            .arg(t.planetaries[static_cast<std::size_t>(s->index)].number);
    case StageKind::Belt:
        return QStringLiteral("по ременной передаче %1")
            .arg(t.belts[static_cast<std::size_t>(s->index)].number);
    }
    return {};
}

// What of stage `s` sits on its input shaft (first) or output shaft.
QString stageSide(const Train &t, const TrainStage &s, bool input) {
    const auto i = static_cast<std::size_t>(s.index);
    switch (s.kind) {
    case StageKind::Pair:
        return QStringLiteral("колесо %1 пары %2").arg(input ? 1 : 2).arg(t.pairs[i].number);
    case StageKind::Planetary: {
        const TrainPlanetary &x = t.planetaries[i];
        return QStringLiteral("%1 планетарной %2")
            .arg(memberName(input ? x.stage.input : outputMember(x.stage)))
            .arg(x.number);
    }
    case StageKind::Belt:
        return QStringLiteral("%1 шкив ременной %2")
            .arg(input ? QStringLiteral("ведущий") : QStringLiteral("ведомый"))
            .arg(t.belts[i].number);
    }
    return {};
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
            const TrainStage *before = train.stageFrom(p.inputShaft - 1);
            parts << QStringLiteral("цепь разорвана: %1 Fr1 = %2")
                         .arg(byStage(train, before), speedText(p.chainFr1));
            c.hint = QStringLiteral("Fr1 этой пары (%1 Гц) не следует из скорости вала %2 %3")
                         .arg(p.texts.fr1)
                         .arg(p.inputShaft)
                         .arg(byStage(train, before));
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

QString shaftPlace(const Train &t, int k) {
    const int shafts = t.shaftCount();
    const TrainStage *in = t.stageFrom(k), *out = t.stageFrom(k - 1);
    if (k == 1 && in)
        return QStringLiteral("входной: ") + stageSide(t, *in, true);
    if (k == shafts && out)
        return QStringLiteral("выходной: ") + stageSide(t, *out, false);
    if (in && out)
        return stageSide(t, *out, false) + QStringLiteral(", ") + stageSide(t, *in, true);
    return {};
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
        row[ColShaftPlace] = cell(shaftPlace(train, k));
        const std::optional<double> hz = train.shaft(k);
        const std::optional<double> v = hz ? toUnit(*hz, unit, train) : std::nullopt;
        if (!v)
            row[ColShaftFrequency] =
                missing(hz ? QStringLiteral("частота вала %1 неизвестна").arg(unit.ordersShaft)
                           : QStringLiteral("пара перед валом не рассчитывается"));
        else
            row[ColShaftFrequency] = number(tableNumber(*v, train.precisionFactor));
        // A broken chain: the shaft turns at the next pair's Fr1, the stage
        // before says otherwise.
        const TrainStage *next = train.stageFrom(k);
        if (k >= 2 && next && next->kind == StageKind::Pair &&
            train.pairs[static_cast<std::size_t>(next->index)].chainBroken) {
            const TrainPair &p = train.pairs[static_cast<std::size_t>(next->index)];
            const std::optional<double> other = toUnit(p.chainFr1, unit, train);
            row[ColShaftPlace].text +=
                QStringLiteral("; %1: %2 %3")
                    .arg(byStage(train, train.stageFrom(k - 1)),
                         other ? tableNumber(*other, train.precisionFactor) : kDash,
                         unitName(unit, true));
            row[ColShaftPlace].marked = true;
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
    if (train.stages.empty())
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

// --- the tables of planetary stages, belts and bearings

// A value in the table's unit, or why it is missing.
class UnitCells {
public:
    UnitCells(const Train &train, const UnitChoice &unit) : train(train), unit(unit) {}
    TableCell operator()(std::optional<double> hertz, const QString &why) const {
        if (!hertz)
            return missing(why);
        const std::optional<double> v = toUnit(*hertz, unit, train);
        if (!v)
            return missing(
                QStringLiteral("частота вала %1 неизвестна или равна нулю").arg(unit.ordersShaft));
        return number(tableNumber(*v, train.precisionFactor));
    }
    TableCell plain(double value) const {
        return number(tableNumber(value, train.precisionFactor));
    }

private:
    const Train &train;
    const UnitChoice &unit;
};

QString shaftsText(int input) {
    return QStringLiteral("%1 → %2").arg(input).arg(input + 1);
}

// Where the strongest line near Fz lies, by the rule of strongestMeshOrder.
QString strongestText(const TrainPlanetary &x, const UnitCells &value) {
    const std::optional<int> n = strongestMeshOrder(x.stage, 1);
    if (!n)
        return QStringLiteral("Fz (сателлиты не проходят мимо датчика)");
    if (*n == 0)
        return QStringLiteral("Fz");
    const PlanetaryFigures &f = *x.figures;
    const double spacing = f.planetPass / x.stage.planets;
    return QStringLiteral("Fz %1 %2·|fc − fнеп| = %3")
        .arg(*n > 0 ? QStringLiteral("+") : QStringLiteral("−"))
        .arg(std::abs(*n))
        .arg(value(f.mesh + *n * spacing, {}).text);
}

struct PlanetaryLabel {
    PlanetaryRow row;
    const char *text;
    HeaderUnit unit;
    const char *hint;
};
constexpr PlanetaryLabel kPlanetaryLabels[] = {
    {RowPlanetaryShafts, "Валы (вход → выход)", HeaderUnit::None, ""},
    {RowPlanetaryTeeth, "Zs / Zp / Zr", HeaderUnit::None, "Зубья солнца, сателлита и венца"},
    {RowPlanets, "Сателлитов, N", HeaderUnit::None, ""},
    {RowFixed, "Неподвижно", HeaderUnit::None, ""},
    {RowDriven, "Ведущее → ведомое", HeaderUnit::None, ""},
    {RowPlanetaryRatio, "Передаточное отношение", HeaderUnit::None,
     "Скорость входного вала к скорости выходного (формула Виллиса); минус — выходной вал "
     "вращается в обратную сторону"},
    {RowSun, "Солнце, %1", HeaderUnit::Shaft, "Минус — против вращения входного вала"},
    {RowCarrier, "Водило, %1", HeaderUnit::Shaft, "Минус — против вращения входного вала"},
    {RowRing, "Венец, %1", HeaderUnit::Shaft, "Минус — против вращения входного вала"},
    {RowPlanet, "Сателлиты, %1", HeaderUnit::Shaft, "Абсолютная частота вращения сателлитов"},
    {RowPlanetRelative, "Frсат: сателлиты относительно водила, %1", HeaderUnit::Shaft,
     "−(fs − fc)·Zs/Zp: с этой частотой вращаются подшипники сателлитов"},
    {RowPlanetaryMesh, "Fz, %1", HeaderUnit::Other,
     "Зубцовая частота: Zs·|fs − fc| = Zr·|fr − fc|"},
    {RowSunFault, "Fсолн, %1", HeaderUnit::Other,
     "Дефект зуба солнца: он встречает N сателлитов за оборот относительно водила, N·|fs − fc|"},
    {RowRingFault, "Fвен, %1", HeaderUnit::Other, "Дефект зуба венца: N·|fr − fc|"},
    {RowPlanetFault, "Fсат, %1", HeaderUnit::Other,
     "Дефект зуба сателлита, одна сторона зуба (с солнцем или с венцом): Fz / Zp"},
    {RowPlanetFaultBoth, "2·Fсат, %1", HeaderUnit::Other,
     "Дефект зуба сателлита, обе стороны: 2·Fz / Zp"},
    {RowPlanetPass, "Fпер, %1", HeaderUnit::Other,
     "Сателлиты проходят точку неподвижного звена: N·|fc − f неподвижного|; при неподвижном "
     "водиле не проходят"},
    {RowStrongest, "Сильнейшая линия у Fz", HeaderUnit::None,
     "Датчик на неподвижном звене: колебания N сателлитов складываются только на частотах, "
     "кратных N·|fc − fнеп|, поэтому при Zr (у неподвижного солнца — Zs), не кратном N, "
     "сильнейшая линия не на Fz (McFadden, Smith, 1985)"},
    {RowPlanetaryNote, "Примечание", HeaderUnit::None, ""},
};
constexpr bool planetaryLabelsFollowRows() {
    int i = 0;
    for (const PlanetaryLabel &l : kPlanetaryLabels)
        if (l.row != i++)
            return false;
    return i == kPlanetaryRowCount;
}
static_assert(planetaryLabelsFollowRows(), "one label per planetary row, in row order");

// One column of the planetary table.
std::vector<TableCell> planetaryColumn(const TrainPlanetary &x, const UnitCells &value) {
    std::vector<TableCell> c(kPlanetaryRowCount);
    const PlanetaryStage &s = x.stage;
    c[RowPlanetaryShafts] = cell(shaftsText(x.inputShaft));
    c[RowPlanetaryTeeth] =
        cell(QStringLiteral("%1 / %2 / %3").arg(s.sun).arg(s.planet).arg(s.ring));
    c[RowPlanets] = number(QString::number(s.planets));
    c[RowFixed] = cell(memberName(s.fixed));
    c[RowDriven] = cell(memberName(s.input) + QStringLiteral(" → ") + memberName(outputMember(s)));
    QStringList notes;
    if (!x.problem.isEmpty()) {
        notes << QStringLiteral("не вращается: ") + x.problem;
        for (int r = RowPlanetaryRatio; r < RowPlanetaryNote; ++r)
            c[static_cast<std::size_t>(r)] = missing(x.problem);
        c[RowPlanetaryNote] = cell(notes.join(QStringLiteral("; ")));
        return c;
    }
    c[RowPlanetaryRatio] = value.plain(planetaryRatio(s));
    const std::optional<PlanetaryFigures> &f = x.figures;
    const QString unknown = QStringLiteral("скорость входного вала неизвестна");
    const auto at = [&](double PlanetaryFigures::*m) {
        return value(f ? std::optional(*f.*m) : std::nullopt, unknown);
    };
    c[RowSun] = at(&PlanetaryFigures::sun);
    c[RowCarrier] = at(&PlanetaryFigures::carrier);
    c[RowRing] = at(&PlanetaryFigures::ring);
    c[RowPlanet] = at(&PlanetaryFigures::planet);
    c[RowPlanetRelative] = at(&PlanetaryFigures::planetRelative);
    c[RowPlanetaryMesh] = at(&PlanetaryFigures::mesh);
    c[RowSunFault] = at(&PlanetaryFigures::sunFault);
    c[RowRingFault] = at(&PlanetaryFigures::ringFault);
    c[RowPlanetFault] = at(&PlanetaryFigures::planetFault);
    c[RowPlanetFaultBoth] = at(&PlanetaryFigures::planetFaultBoth);
    c[RowPlanetPass] = f && f->planetPass == 0.0
                           ? missing(QStringLiteral("водило неподвижно: сателлиты не проходят"))
                           : at(&PlanetaryFigures::planetPass);
    c[RowStrongest] = f ? cell(strongestText(x, value)) : missing(unknown);
    if (planetaryRatio(s) < 0)
        notes << QStringLiteral("выходной вал вращается в обратную сторону");
    notes << x.remarks;
    c[RowPlanetaryNote] = cell(notes.join(QStringLiteral("; ")));
    return c;
}

TextTable planetaryTable(const Train &train, const UnitCells &value, const QString &shaftUnit,
                         const QString &otherUnit) {
    TextTable t;
    if (train.planetaries.empty())
        return t;
    t.headers << QStringLiteral("Величина");
    t.headerHints << QString();
    std::vector<std::vector<TableCell>> columns;
    for (const TrainPlanetary &x : train.planetaries) {
        t.headers << QStringLiteral("Планетарная %1").arg(x.number);
        t.headerHints << QString();
        columns.push_back(planetaryColumn(x, value));
    }
    for (const PlanetaryLabel &l : kPlanetaryLabels) {
        const QString text = QString::fromUtf8(l.text);
        std::vector<TableCell> row{
            cell(l.unit == HeaderUnit::None
                     ? text
                     : text.arg(l.unit == HeaderUnit::Shaft ? shaftUnit : otherUnit),
                 QString::fromUtf8(l.hint))};
        for (const std::vector<TableCell> &c : columns)
            row.push_back(c[static_cast<std::size_t>(l.row)]);
        t.rows.push_back(std::move(row));
    }
    return t;
}

TextTable stageTable(const Train &train) {
    TextTable t;
    t.headers = {QStringLiteral("№"), QStringLiteral("Ступень"), QStringLiteral("Что"),
                 QStringLiteral("Валы")};
    t.headerHints = {{}, {}, {}, QStringLiteral("Входной вал → выходной")};
    static_assert(kStageColumnCount == 4, "one heading per stage column");
    for (std::size_t i = 0; i < train.stages.size(); ++i) {
        const TrainStage &s = train.stages[i];
        const auto at = static_cast<std::size_t>(s.index);
        QString what;
        if (s.kind == StageKind::Pair) {
            const TrainPair &p = train.pairs[at];
            what = QStringLiteral("Z1 %1, Z2 %2").arg(p.texts.z1, p.texts.z2);
        } else if (s.kind == StageKind::Planetary) {
            const PlanetaryStage &x = train.planetaries[at].stage;
            what = QStringLiteral("Zs %1, Zp %2, Zr %3, N %4; неподвижно: %5; %6 → %7")
                       .arg(x.sun)
                       .arg(x.planet)
                       .arg(x.ring)
                       .arg(x.planets)
                       .arg(memberName(x.fixed), memberName(x.input), memberName(outputMember(x)));
        } else {
            const BeltStage &b = train.belts[at].stage;
            what = QStringLiteral("D1 %1, D2 %2, L %3 мм")
                       .arg(calc::generalDecimal(b.driving), calc::generalDecimal(b.driven),
                            calc::generalDecimal(b.length));
            if (b.slipPercent != 0)
                what += QStringLiteral("; проскальзывание %1 %")
                            .arg(calc::generalDecimal(b.slipPercent));
        }
        t.rows.push_back({number(QString::number(i + 1)), cell(train.stageName(s)), cell(what),
                          cell(shaftsText(s.inputShaft))});
    }
    return t;
}

TextTable beltTable(const Train &train, const UnitCells &value, const QString &otherUnit) {
    TextTable t;
    if (train.belts.empty())
        return t;
    t.headers = {QStringLiteral("Ремённая"),  QStringLiteral("Валы"),
                 QStringLiteral("D1, мм"),    QStringLiteral("D2, мм"),
                 QStringLiteral("L, мм"),     QStringLiteral("Проскальзывание, %"),
                 QStringLiteral("i"),         QStringLiteral("Fрем, ") + otherUnit,
                 QStringLiteral("Примечание")};
    t.headerHints = {{},
                     {},
                     QStringLiteral("Расчётный диаметр ведущего шкива"),
                     QStringLiteral("Расчётный диаметр ведомого шкива"),
                     QStringLiteral("Расчётная длина ремня"),
                     QStringLiteral("На сколько ведомый шкив отстаёт от ремня"),
                     QStringLiteral("Скорость ведущего вала к скорости ведомого"),
                     QStringLiteral("Частота прохода ремня: точка ремня проходит шкив π·D1·f1 / L "
                                    "раз в секунду; источник низких субсинхронных линий"),
                     {}};
    static_assert(kBeltColumnCount == 9, "one heading per belt column");
    for (const TrainBelt &x : train.belts) {
        std::vector<TableCell> row(kBeltColumnCount);
        const BeltStage &b = x.stage;
        row[ColBelt] = number(QString::number(x.number));
        row[ColBeltShafts] = cell(shaftsText(x.inputShaft));
        row[ColDriving] = number(calc::generalDecimal(b.driving));
        row[ColDriven] = number(calc::generalDecimal(b.driven));
        row[ColLength] = number(calc::generalDecimal(b.length));
        row[ColSlip] = number(calc::generalDecimal(b.slipPercent));
        QStringList notes = x.remarks;
        if (!x.problem.isEmpty()) {
            row[ColBeltRatio] = missing(x.problem);
            row[ColBeltPass] = missing(x.problem);
            notes.prepend(QStringLiteral("не вращается: ") + x.problem);
        } else {
            row[ColBeltRatio] = value.plain(beltRatio(b));
            row[ColBeltPass] = value(x.figures ? std::optional(x.figures->beltPass) : std::nullopt,
                                     QStringLiteral("скорость ведущего вала неизвестна"));
        }
        row[ColBeltNote] = cell(notes.join(QStringLiteral("; ")));
        t.rows.push_back(std::move(row));
    }
    return t;
}

TextTable bearingTable(const Train &train, const UnitCells &value, const QString &otherUnit,
                       const MachineDocument &document) {
    TextTable t;
    if (train.bearings.empty())
        return t;
    const QString carrier = QStringLiteral(" (кратно частоте вращения вала или сателлитов)");
    t.headers = {QStringLiteral("№"),
                 QStringLiteral("Подшипник"),
                 QStringLiteral("Где"),
                 QStringLiteral("Вращается"),
                 QStringLiteral("FTF, ") + otherUnit,
                 QStringLiteral("BPFO, ") + otherUnit,
                 QStringLiteral("BPFI, ") + otherUnit,
                 QStringLiteral("BSF, ") + otherUnit,
                 QStringLiteral("2·BSF, ") + otherUnit,
                 QStringLiteral("FTF, ×"),
                 QStringLiteral("BPFO, ×"),
                 QStringLiteral("BPFI, ×"),
                 QStringLiteral("BSF, ×"),
                 QStringLiteral("Примечание")};
    QStringList hints{{}, {}, {}, QStringLiteral("Какое кольцо вращается вместе с валом")};
    for (const BearingLineRow &l : kBearingLines)
        hints << QString::fromUtf8(l.symbol) + QStringLiteral(": ") + QString::fromUtf8(l.meaning);
    hints << hints[ColFtf] + carrier << hints[ColBpfo] + carrier << hints[ColBpfi] + carrier
          << hints[ColBsf] + carrier << QString();
    t.headerHints = hints;
    static_assert(kBearingColumnCount == 14, "one heading per bearing column");
    for (const TrainBearing &b : train.bearings) {
        std::vector<TableCell> row(kBearingColumnCount);
        row[ColBearing] = number(QString::number(b.number));
        row[ColDesignation] = cell(b.mounted.bearing.designation);
        QString place = b.place;
        if (!b.mounted.onPlanets() && !document.shaftName(b.mounted.shaft).isEmpty())
            place += QStringLiteral(" «%1»").arg(document.shaftName(b.mounted.shaft));
        row[ColBearingPlace] = cell(place);
        row[ColTurning] = cell(b.mounted.bearing.turning == TurningRing::Inner
                                   ? QStringLiteral("внутреннее кольцо")
                                   : QStringLiteral("наружное кольцо"));
        QStringList notes;
        if (!b.problem.isEmpty()) {
            for (int c = ColFtf; c < ColBearingNote; ++c)
                row[static_cast<std::size_t>(c)] = missing(b.problem);
            notes << b.problem;
        } else {
            const QString unknown = QStringLiteral("скорость неизвестна");
            for (int i = 0; i < kBearingLineCount; ++i) {
                const double factor = bearingFactor(b.factors, kBearingLines[i].line);
                row[static_cast<std::size_t>(ColFtf + i)] =
                    value(b.speed ? std::optional(factor * *b.speed) : std::nullopt, unknown);
                if (i < 4)
                    row[static_cast<std::size_t>(ColFtfFactor + i)] = value.plain(factor);
            }
            notes << b.remarks;
            if (!b.mounted.bearing.byGeometry)
                notes << (b.mounted.bearing.catalogueSpin == SpinConvention::BothRings
                              ? QStringLiteral("BSF каталога — дефект тела качения (2·BSF)")
                              : QStringLiteral("BSF каталога — вращение тела качения"));
        }
        row[ColBearingNote] = cell(notes.join(QStringLiteral("; ")));
        t.rows.push_back(std::move(row));
    }
    return t;
}

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
    const UnitCells value(train, unit);
    t.stages = stageTable(train);
    t.planetaries = planetaryTable(train, value, shaftUnit, otherUnit);
    t.belts = beltTable(train, value, otherUnit);
    t.bearings = bearingTable(train, value, otherUnit, document);
    t.totalRatio = totalRatioText(train);
    t.summary = summary(train, unit, document);
    return t;
}

} // namespace machine
