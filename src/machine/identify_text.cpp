// Units, input checks, line names and display texts of the identification.
#include "machine/identify_text.h"

#include "calc/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace machine {

namespace {

const QString kMinus = QStringLiteral("\u2212");
const QString kDot = QStringLiteral("\u00B7");

// Hz per unit of the choice: 1, 1/60 or the reference shaft's frequency.
double hertzPerUnit(const IdentifyChain &chain, const UnitChoice &unit) {
    switch (unit.unit) {
    case FrequencyUnit::Hertz:
        return 1.0;
    case FrequencyUnit::Rpm:
        return 1.0 / 60.0;
    case FrequencyUnit::Orders:
        return chain.shafts[static_cast<std::size_t>(unit.shaft)].frequency;
    }
    return 1.0;
}

struct ReadNumber {
    std::optional<double> value;
    QString message;
};

// `what` in the nominative ("Частота"), `empty` the message for an empty box.
ReadNumber readNumber(const QString &text, const QString &what, const QString &empty) {
    if (text.trimmed().isEmpty())
        return {std::nullopt, empty};
    const calc::ParsedNumber n = calc::parseNumber(calc::applyCommaRule(text));
    if (n.status != 0)
        return {std::nullopt, QStringLiteral("%1 «%2» — не число.").arg(what, text)};
    return {n.value, {}};
}

QString checkOptions(const IdentifyChain &chain, const IdentifyInput &in) {
    if (chain.pairs.empty())
        return QStringLiteral("В агрегате нет рассчитанной пары. Рассчитайте пару (F1) и "
                              "повторите поиск.");
    if (in.unit.unit == FrequencyUnit::Orders &&
        (in.unit.shaft < 0 || in.unit.shaft >= static_cast<int>(chain.shafts.size())))
        return QStringLiteral("Выберите вал, к которому отнесены порядки.");
    if (in.maxHarmonic < 1 || in.maxHarmonic > kHarmonicLimit)
        return QStringLiteral("Наибольшая гармоника — целое число от 1 до %1.").arg(kHarmonicLimit);
    if (in.maxSideband < 0 || in.maxSideband > kSidebandLimit)
        return QStringLiteral("Наибольший порядок боковой — целое число от 0 до %1.")
            .arg(kSidebandLimit);
    return {};
}

QString coefficientText(double k) {
    return calc::generalDecimal(k);
}

QString baseSymbol(const Candidate &c) {
    switch (c.base) {
    case Base::Shaft:
        return c.wheel == Wheel::First ? QStringLiteral("Fr1") : QStringLiteral("Fr2");
    case Base::Fz:
        return QStringLiteral("Fz");
    case Base::Apf:
        return QStringLiteral("APF");
    case Base::Htf:
        return QStringLiteral("HTF");
    case Base::Fm:
        return QStringLiteral("Fm");
    }
    return {};
}

QString pairSuffix(int pair) {
    return QStringLiteral(" (пара %1)").arg(pair);
}

} // namespace

RequestOutcome makeRequest(const IdentifyChain &chain, const IdentifyInput &in) {
    if (const QString m = checkOptions(chain, in); !m.isEmpty())
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

    IdentifyRequest r;
    r.mode = in.mode;
    r.target = *f.value * hertzPerUnit(chain, in.unit);
    r.tolerance =
        in.toleranceUnit == ToleranceUnit::Percent ? r.target * *t.value / 100.0 : *t.value;
    r.maxHarmonic = in.maxHarmonic;
    r.halfStep = in.halfStep;
    r.maxSideband = in.maxSideband;
    if (!std::isfinite(r.target) || !std::isfinite(r.tolerance) || !(r.target > 0.0))
        return {std::nullopt, QStringLiteral("%1 или допуск вне пределов счёта.").arg(what)};
    return {r, {}};
}

QString shaftName(const IdentifyShaft &shaft) {
    return (shaft.wheel == Wheel::First ? QStringLiteral("Fr1") : QStringLiteral("Fr2")) +
           pairSuffix(shaft.pair);
}

QString lineName(const Candidate &c) {
    QString name = c.k == 1.0 ? QString() : coefficientText(c.k) + kDot;
    name += baseSymbol(c);
    if (c.m != 0) {
        name +=
            c.sign > 0 ? QStringLiteral(" + ") : QStringLiteral(" ") + kMinus + QStringLiteral(" ");
        name += QString::number(c.m) + kDot;
        name += c.wheel == Wheel::First ? QStringLiteral("Fr1") : QStringLiteral("Fr2");
    }
    return name + pairSuffix(c.pair);
}

QString unitText(const IdentifyChain &chain, const UnitChoice &unit) {
    switch (unit.unit) {
    case FrequencyUnit::Hertz:
        return QStringLiteral("Гц");
    case FrequencyUnit::Rpm:
        return QStringLiteral("об/мин");
    case FrequencyUnit::Orders:
        return QStringLiteral("порядки ") +
               shaftName(chain.shafts[static_cast<std::size_t>(unit.shaft)]);
    }
    return {};
}

std::array<QString, kColumnCount> columnHeadings(const IdentifyChain &chain,
                                                 const UnitChoice &unit) {
    const QString u = unitText(chain, unit);
    return {QStringLiteral("Составляющая"), QStringLiteral("Значение, ") + u,
            QStringLiteral("Отклонение, ") + u, QStringLiteral("Отклонение, %")};
}

std::vector<MatchRow> matchRows(const IdentifyChain &chain, const IdentifyRequest &request,
                                const UnitChoice &unit, const std::vector<IdentifyMatch> &matches) {
    const double perUnit = hertzPerUnit(chain, unit);
    std::vector<MatchRow> rows;
    rows.reserve(matches.size());
    for (const IdentifyMatch &m : matches) {
        MatchRow row;
        row.pair = m.candidate.pair;
        row.texts[0] = lineName(m.candidate);
        row.texts[1] = significantText(m.candidate.value / perUnit, 8);
        row.texts[2] = significantText(m.distance / perUnit, 4, true);
        row.texts[3] = significantText(100.0 * m.distance / request.target, 4, true);
        rows.push_back(std::move(row));
    }
    return rows;
}

QString significantText(double value, int digits, bool sign) {
    if (value == 0.0 || !std::isfinite(value))
        return value == 0.0 ? QStringLiteral("0") : QString();
    const int magnitude = static_cast<int>(std::floor(std::log10(std::abs(value))));
    const int decimals = std::clamp(digits - 1 - magnitude, 0, 30);
    char buf[400];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    QString text = QString::fromLatin1(buf, res.ptr - buf);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    if (text == QStringLiteral("-0") || text == QStringLiteral("0"))
        return QStringLiteral("0");
    return sign && value > 0 ? QLatin1Char('+') + text : text;
}

} // namespace machine
