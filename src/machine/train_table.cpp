// The texts of the train table, CSV and the clipboard text.
#include "machine/train_table.h"

#include "calc/number_text.h"

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

// Fr1, Fr2, Fz and i in hertz read as the main window shows them.
QString mainWindowText(double value, std::int32_t precisionFactor) {
    const calc::DisplayText shown = calc::RoundToPrecision(value, precisionFactor);
    return shown.fault ? calc::generalDecimal(value) : shown.text;
}

class PairRow {
public:
    PairRow(const Train &train, const UnitChoice &unit) : train(train), unit(unit) {}

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
        const std::int32_t precision = train.precisionFactor;
        row[ColZ1] = cell(calc::generalDecimal(p.z1));
        row[ColZ2] = cell(calc::generalDecimal(p.z2));
        row[ColRatio] = cell(mainWindowText(p.gearRatio, precision));
        row[ColFr1] = inUnit(p.fr1, true);
        row[ColFr2] = inUnit(p.fr2, true);
        row[ColFz] = inUnit(p.fz, true);
        mesh(p.mesh, row);
        return row;
    }

private:
    const Train &train;
    const UnitChoice &unit;

    TableCell inUnit(double hertz, bool asMainWindow) const {
        if (unit.unit == Unit::Hertz && asMainWindow)
            return cell(mainWindowText(hertz, train.precisionFactor));
        const std::optional<double> v = toUnit(hertz, unit, train);
        if (!v)
            return missing(
                QStringLiteral("частота вала %1 неизвестна или равна нулю").arg(unit.ordersShaft));
        return cell(tableNumber(*v, train.precisionFactor));
    }
    void mesh(const MeshFigures &m, std::vector<TableCell> &row) const {
        if (!m.known) {
            const QString why = QStringLiteral("Нет: %1").arg(m.reason);
            for (int c : {ColNa, ColApf, ColHtf, ColHtfPeriod, ColHunting})
                row[static_cast<std::size_t>(c)] = missing(why);
            return;
        }
        row[ColNa] = cell(QString::number(m.na));
        row[ColApf] = inUnit(m.apf, false);
        row[ColHtf] = inUnit(m.htf, false);
        row[ColHtfPeriod] = m.htfPeriod ? cell(tableNumber(*m.htfPeriod, train.precisionFactor))
                                        : missing(QStringLiteral("HTF равна нулю"));
        row[ColHunting] = cell(m.hunting ? QStringLiteral("да") : QStringLiteral("нет"));
    }

    static TableCell note(const TrainPair &p) {
        QStringList parts;
        TableCell c;
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
        if (p.inFields)
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

TextTable shaftTable(const Train &train, const UnitChoice &unit) {
    TextTable t;
    t.headers = {QStringLiteral("Вал"),
                 QStringLiteral("Частота вращения, %1").arg(unitName(unit, true)),
                 QStringLiteral("Расположение")};
    for (int k = 1; k <= train.shaftCount(); ++k) {
        std::vector<TableCell> row(kShaftColumnCount);
        row[ColShaft] = cell(QString::number(k));
        row[ColShaftPlace] = cell(shaftPlace(k, train.shaftCount()));
        const std::optional<double> hz = train.shaft(k);
        const std::optional<double> v = hz ? toUnit(*hz, unit, train) : std::nullopt;
        if (!v)
            row[ColShaftFrequency] =
                missing(hz ? QStringLiteral("частота вала %1 неизвестна").arg(unit.ordersShaft)
                           : QStringLiteral("пара перед валом не рассчитывается"));
        else if (unit.unit == Unit::Hertz)
            row[ColShaftFrequency] = cell(mainWindowText(*v, train.precisionFactor));
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

TrainTables trainTables(const Train &train, const UnitChoice &unit) {
    TrainTables t;
    const QString shaftUnit = unitName(unit, true);
    const QString otherUnit = unitName(unit, false);
    t.pairs.headers = {QStringLiteral("Пара"),
                       QStringLiteral("Z1"),
                       QStringLiteral("Z2"),
                       QStringLiteral("i"),
                       QStringLiteral("Fr1, %1").arg(shaftUnit),
                       QStringLiteral("Fr2, %1").arg(shaftUnit),
                       QStringLiteral("Fz, %1").arg(otherUnit),
                       QStringLiteral("Na"),
                       QStringLiteral("APF, %1").arg(otherUnit),
                       QStringLiteral("HTF, %1").arg(otherUnit),
                       QStringLiteral("Период HTF, с"),
                       QStringLiteral("Охотящаяся"),
                       QStringLiteral("Примечание")};
    const PairRow row(train, unit);
    for (const TrainPair &p : train.pairs)
        t.pairs.rows.push_back(row(p));
    t.shafts = shaftTable(train, unit);
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
