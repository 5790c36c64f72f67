// The texts of the train table, CSV and the clipboard text.
#include "machine/train_table.h"

#include "calc/number_text.h"
#include "machine/lines.h"

#include <charconv>
#include <cmath>

namespace machine {

namespace {

const QString kDash = QStringLiteral("—");

TableCell cell(const QString &text, const QString &hint = {}) {
    return {text, hint, false};
}
TableCell missing(const QString &hint) {
    return {kDash, hint, false};
}

// The frequencies of each pair as the one list of lines gives them: Fz,
// APF and HTF at order 1.
struct PairLines {
    std::optional<double> fz, apf, htf;
};
std::vector<PairLines> fundamentalLines(const Train &train) {
    std::vector<PairLines> out(train.pairs.size());
    forEachLine(train, LineOptions{}, [&](const Line &line) {
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
        row[ColPair] = cell(QString::number(p.number));
        row[ColNote] = note(p);
        if (!p.calculated) {
            row[ColZ1] = cell(p.texts.z1);
            row[ColZ2] = cell(p.texts.z2);
            for (int c = ColRatio; c < ColNote; ++c)
                row[static_cast<std::size_t>(c)] = missing(p.problem);
            return row;
        }
        const PairLines &own = lines[static_cast<std::size_t>(p.number - 1)];
        row[ColZ1] = cell(calc::generalDecimal(p.z1));
        row[ColZ2] = cell(calc::generalDecimal(p.z2));
        row[ColRatio] = cell(tableNumber(p.gearRatio, train.precisionFactor));
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
        return cell(tableNumber(*v, train.precisionFactor));
    }
    void mesh(const MeshFigures &m, const PairLines &own, std::vector<TableCell> &row) const {
        if (!m.known) {
            const QString why = QStringLiteral("Нет: %1").arg(m.reason);
            for (int c : {ColNa, ColApf, ColHtf, ColHtfPeriod, ColHunting})
                row[static_cast<std::size_t>(c)] = missing(why);
            return;
        }
        row[ColNa] = cell(QString::number(m.na));
        row[ColApf] = inUnit(own.apf.value_or(m.apf));
        row[ColHtf] = inUnit(own.htf.value_or(m.htf));
        row[ColHtfPeriod] = m.htfPeriod ? cell(tableNumber(*m.htfPeriod, train.precisionFactor))
                                        : missing(QStringLiteral("HTF равна нулю"));
        row[ColHunting] = cell(m.hunting ? QStringLiteral("да") : QStringLiteral("нет"));
    }

    TableCell note(const TrainPair &p) const {
        QStringList parts;
        TableCell c;
        if (p.fr1TextDiffers && !p.chainBroken) {
            const QString typed = calc::generalDecimal(p.typedFr1);
            parts
                << (train.followsKnown
                        ? QStringLiteral("в паре Fr1 = %1 Гц, по заданной скорости иначе")
                              .arg(typed)
                        : QStringLiteral("в паре Fr1 = %1 Гц, округлено при «Далее >»").arg(typed));
        }
        if (p.chainBroken) {
            parts << QStringLiteral("цепь разорвана: по паре %1 Fr1 = %2 Гц")
                         .arg(p.number - 1)
                         .arg(p.chainFr1Text);
            c.hint = QStringLiteral("Fr1 этой пары (%1) не следует из Fr2 пары %2 (%3 Гц)")
                         .arg(p.texts.fr1)
                         .arg(p.number - 1)
                         .arg(p.chainFr1Text);
            c.marked = true;
        }
        if (!p.calculated)
            parts << QStringLiteral("не рассчитывается: %1").arg(p.problem);
        if (p.source == PairSource::Edited)
            parts << QStringLiteral("изменена, не записана в цепь");
        if (p.source == PairSource::InFields)
            parts << QStringLiteral("в полях ввода, ещё не сохранена");
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

TextTable shaftTable(const Train &train, const UnitChoice &unit, const MachineDocument &document) {
    TextTable t;
    t.headers = {QStringLiteral("Вал"), QStringLiteral("Название"),
                 QStringLiteral("Частота вращения, %1").arg(unitName(unit, true)),
                 QStringLiteral("Расположение")};
    static_assert(kShaftColumnCount == 4, "one heading per shaft column");
    for (int k = 1; k <= train.shaftCount(); ++k) {
        std::vector<TableCell> row(kShaftColumnCount);
        row[ColShaft] = cell(QString::number(k));
        row[ColShaftName] = cell(document.shaftName(k));
        row[ColShaftPlace] = cell(shaftPlace(k, train.shaftCount()));
        const std::optional<double> hz = train.shaft(k);
        const std::optional<double> v = hz ? toUnit(*hz, unit, train) : std::nullopt;
        if (!v)
            row[ColShaftFrequency] =
                missing(hz ? QStringLiteral("частота вала %1 неизвестна").arg(unit.ordersShaft)
                           : QStringLiteral("пара перед валом не рассчитывается"));
        else
            row[ColShaftFrequency] = cell(tableNumber(*v, train.precisionFactor));
        // A broken chain: the shaft turns at the next pair's Fr1, the pair
        // before says otherwise.
        if (k >= 2 && k - 1 < static_cast<int>(train.pairs.size())) {
            const TrainPair &next = train.pairs[static_cast<std::size_t>(k - 1)];
            if (next.chainBroken) {
                row[ColShaftPlace].text +=
                    QStringLiteral("; по паре %1: %2 Гц").arg(k - 1).arg(next.chainFr1Text);
                row[ColShaftPlace].marked = true;
            }
        }
        t.rows.push_back(std::move(row));
    }
    return t;
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

QString csvField(const QString &cell) {
    const QString text = spreadsheetCell(cell);
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString tabField(const QString &cell) {
    QString text = spreadsheetCell(cell);
    for (QChar &c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

// Header and rows of both tables, then the total ratio, each field passed
// through `field`, joined by `separator` and `lineEnd`.
QString joined(const TrainTables &tables, QChar separator, const QString &lineEnd,
               QString (*field)(const QString &)) {
    QString out;
    auto line = [&](const QStringList &fields) {
        QStringList shown;
        for (const QString &f : fields)
            shown << field(f);
        out += shown.join(separator) + lineEnd;
    };
    for (const TextTable *t : {&tables.pairs, &tables.shafts}) {
        line(t->headers);
        for (const std::vector<TableCell> &row : t->rows) {
            QStringList texts;
            for (const TableCell &c : row)
                texts << c.text;
            line(texts);
        }
        out += lineEnd;
    }
    line({tables.totalRatio});
    return out;
}

// Sign, digits with at most one decimal comma or point, an exponent.
bool isPlainNumber(const QString &text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digits = [&] {
        const qsizetype from = i;
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            ++i;
        return i > from;
    };
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    if (!digits())
        return false;
    if (i < n && (text[i] == QLatin1Char(',') || text[i] == QLatin1Char('.'))) {
        ++i;
        if (!digits())
            return false;
    }
    if (i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            ++i;
        if (!digits())
            return false;
    }
    return i == n;
}

// The pair table's headings, one per column in column order; a heading with
// a unit takes the unit of shafts (об/мин) or of the other lines (CPM).
enum class HeaderUnit { None, Shaft, Other };
struct PairHeader {
    PairColumn column;
    const char *text;
    HeaderUnit unit;
};
constexpr PairHeader kPairHeaders[] = {
    {ColPair, "Пара", HeaderUnit::None},
    {ColZ1, "Z1", HeaderUnit::None},
    {ColZ2, "Z2", HeaderUnit::None},
    {ColRatio, "i", HeaderUnit::None},
    {ColFr1, "Fr1, %1", HeaderUnit::Shaft},
    {ColFr2, "Fr2, %1", HeaderUnit::Shaft},
    {ColFz, "Fz, %1", HeaderUnit::Other},
    {ColNa, "Na", HeaderUnit::None},
    {ColApf, "APF, %1", HeaderUnit::Other},
    {ColHtf, "HTF, %1", HeaderUnit::Other},
    {ColHtfPeriod, "Период HTF, с", HeaderUnit::None},
    {ColHunting, "Охотящаяся", HeaderUnit::None},
    {ColNote, "Примечание", HeaderUnit::None},
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

QString spreadsheetCell(const QString &text) {
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    if (text.isEmpty() || !kFormulaStarts.contains(text.front()) || isPlainNumber(text))
        return text;
    return QLatin1Char('\'') + text;
}

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
    }
    const PairRow row(train, unit);
    for (const TrainPair &p : train.pairs)
        t.pairs.rows.push_back(row(p));
    t.shafts = shaftTable(train, unit, document);
    t.totalRatio = totalRatioText(train);
    return t;
}

QByteArray trainCsv(const TrainTables &tables) {
    return QByteArray("\xEF\xBB\xBF") +
           joined(tables, QLatin1Char(';'), QStringLiteral("\r\n"), &csvField).toUtf8();
}

QString trainTabText(const TrainTables &tables) {
    return joined(tables, QLatin1Char('\t'), QStringLiteral("\n"), &tabField);
}

} // namespace machine
