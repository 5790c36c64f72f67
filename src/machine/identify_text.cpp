// Units, input checks, line names and display texts of the identification.
#include "machine/identify_text.h"

#include "calc/input_text.h"
#include "machine/train_table.h"

#include <cmath>

namespace machine {

namespace {

struct ReadNumber {
    std::optional<double> value;
    QString message;
};

// `what` in the nominative ("Частота"), `empty` the message for an empty box.
ReadNumber readNumber(const QString &text, const QString &what, const QString &empty) {
    if (text.trimmed().isEmpty())
        return {std::nullopt, empty};
    const calc::ParsedNumber n = calc::readSignedNumber(text);
    if (n.status == 0 && calc::fitsTextLimit(text))
        return {n.value, {}};
    return {std::nullopt, QStringLiteral("%1 «%2» — не число.").arg(what, calc::excerpt(text))};
}

bool anyCalculated(const Train &train) {
    for (const TrainPair &p : train.pairs)
        if (p.calculated)
            return true;
    return false;
}

QString checkOptions(const Train &train, const IdentifyInput &in) {
    if (!anyCalculated(train))
        return QStringLiteral("В агрегате нет рассчитанной пары. Рассчитайте пару (F1) и "
                              "повторите поиск.");
    if (!fromUnit(1.0, in.unit, train))
        return QStringLiteral("Частота вала %1 неизвестна: выберите для порядков другой вал.")
            .arg(in.unit.ordersShaft);
    if (in.maxHarmonic < 1 || in.maxHarmonic > kHarmonicLimit)
        return QStringLiteral("Наибольшая гармоника — целое число от 1 до %1.").arg(kHarmonicLimit);
    if (in.maxSideband < 0 || in.maxSideband > kSidebandLimit)
        return QStringLiteral("Наибольший порядок боковой — целое число от 0 до %1.")
            .arg(kSidebandLimit);
    return {};
}

// The sign is written for a positive distance too, so that above and below
// read apart at a glance.
QString distanceText(double value) {
    const QString text = significantText(value, 4);
    return value > 0.0 ? QLatin1Char('+') + text : text;
}

} // namespace

RequestOutcome makeRequest(const Train &train, const IdentifyInput &in) {
    if (const QString m = checkOptions(train, in); !m.isEmpty())
        return {std::nullopt, m};
    const bool spacing = in.mode == IdentifyMode::Spacing;
    const QString what =
        spacing ? QStringLiteral("Расстояние между пиками") : QStringLiteral("Частота");
    const ReadNumber f = readNumber(in.frequency, what,
                                    spacing ? QStringLiteral("Введите расстояние между пиками.")
                                            : QStringLiteral("Введите частоту."));
    if (!f.value)
        return {std::nullopt, f.message};
    if (!(*f.value > 0.0))
        return {std::nullopt,
                spacing ? QStringLiteral("Расстояние между пиками должно быть больше нуля.")
                        : QStringLiteral("Частота должна быть больше нуля.")};
    const ReadNumber t =
        readNumber(in.tolerance, QStringLiteral("Допуск"), QStringLiteral("Введите допуск."));
    if (!t.value)
        return {std::nullopt, t.message};
    if (*t.value < 0.0)
        return {std::nullopt, QStringLiteral("Допуск не может быть отрицательным.")};
    const ReadNumber res = in.resolution.trimmed().isEmpty()
                               ? ReadNumber{0.0, {}}
                               : readNumber(in.resolution, QStringLiteral("Разрешение"), QString());
    if (!res.value)
        return {std::nullopt, res.message};
    if (*res.value < 0.0)
        return {std::nullopt, QStringLiteral("Разрешение не может быть отрицательным.")};
    if (in.toleranceUnit == ToleranceUnit::Lines && !(*res.value > 0.0))
        return {std::nullopt, QStringLiteral("Допуск в линиях спектра: введите разрешение "
                                             "спектра (расстояние между линиями).")};

    IdentifyRequest r;
    r.mode = in.mode;
    r.target = *fromUnit(*f.value, in.unit, train);
    // The unit is proportional: its step in hertz scales the tolerance.
    const double hertzPerUnit = *fromUnit(1.0, in.unit, train);
    r.resolution = *res.value * hertzPerUnit;
    switch (in.toleranceUnit) {
    case ToleranceUnit::PeakUnit:
        r.tolerance = *t.value * hertzPerUnit;
        break;
    case ToleranceUnit::Percent:
        r.tolerance = r.target * *t.value / 100.0;
        break;
    case ToleranceUnit::Lines:
        r.tolerance = *t.value * r.resolution;
        break;
    }
    // Without a resolution, differences under a tenth of the tolerance are
    // far below what the spectrum resolves.
    if (r.resolution == 0.0)
        r.resolution = r.tolerance / 10.0;
    r.maxHarmonic = in.maxHarmonic;
    r.halfStep = in.halfStep;
    r.maxSideband = in.maxSideband;
    r.allShafts = in.allShafts;
    r.intermodulation = in.intermodulation;
    if (!std::isfinite(r.target) || !std::isfinite(r.tolerance) || !(r.target > 0.0))
        return {std::nullopt, QStringLiteral("%1 или допуск вне пределов счёта.").arg(what)};
    if (r.tolerance > kToleranceLimitShare * r.target)
        return {std::nullopt,
                QStringLiteral("Допуск — не больше %1 % от %2: шире не объяснить ни одного пика.")
                    .arg(calc::generalDecimal(100 * kToleranceLimitShare),
                         spacing ? QStringLiteral("расстояния между пиками")
                                 : QStringLiteral("частоты пика"))};
    return {r, {}};
}

std::array<QString, kColumnCount> columnHeadings(const UnitChoice &unit) {
    const QString u = unitName(unit, true);
    return {QStringLiteral("Составляющая"), QStringLiteral("Значение, ") + u,
            QStringLiteral("Отклонение, ") + u, QStringLiteral("Отклонение, %")};
}

MatchRow matchRow(const Train &train, const IdentifyRequest &request, const UnitChoice &unit,
                  const MatchGroup &group, const LineNames &names) {
    MatchRow row;
    row.line = group.lines.front();
    QStringList texts;
    for (const Line &line : group.lines)
        texts << lineName(line, names);
    row.texts[0] = texts.join(QStringLiteral(" = "));
    row.texts[1] =
        tableNumber(toUnit(group.value, unit, train).value_or(0.0), train.precisionFactor);
    // The distance is a difference: in orders it scales as the values do.
    const double perHertz = toUnit(1.0, unit, train).value_or(0.0);
    row.texts[2] = distanceText(group.distance * perHertz);
    row.texts[3] = distanceText(100.0 * group.distance / request.target);
    return row;
}

std::vector<MatchRow> matchRows(const Train &train, const IdentifyRequest &request,
                                const UnitChoice &unit, const std::vector<MatchGroup> &groups,
                                const LineNames &names) {
    std::vector<MatchRow> rows;
    rows.reserve(groups.size());
    for (const MatchGroup &g : groups)
        rows.push_back(matchRow(train, request, unit, g, names));
    return rows;
}

} // namespace machine
