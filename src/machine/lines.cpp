// The machine's lines: shafts, orders, names and the simplicity order.
#include "machine/lines.h"

#include "calc/number_text.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace machine {

namespace {

const QString kMinus = QStringLiteral("\u2212");
const QString kDot = QStringLiteral("\u00B7");

bool sameShaft(double a, double b) {
    return std::abs(a - b) <= 1e-12 * std::max(a, b);
}

QString baseSymbol(const Line &line) {
    switch (line.base) {
    case Base::Shaft:
        return line.wheel == Wheel::First ? QStringLiteral("Fr1") : QStringLiteral("Fr2");
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

std::vector<LineShaft> lineShafts(const Train &train) {
    std::vector<LineShaft> shafts;
    const TrainPair *before = nullptr;
    for (const TrainPair &p : train.pairs) {
        if (!p.calculated)
            continue;
        if (!before || !sameShaft(p.fr1, before->fr2))
            shafts.push_back({p.fr1, p.number, Wheel::First});
        shafts.push_back({p.fr2, p.number, Wheel::Second});
        before = &p;
    }
    return shafts;
}

std::vector<double> lineOrders(const LineOptions &options) {
    std::vector<double> ks;
    const int top = options.spacing ? 3 : options.maxHarmonic;
    for (int twice = 1; twice <= 2 * top; ++twice) {
        const bool half = twice % 2 == 1;
        if (half && !(options.halfStep && (!options.spacing || twice == 1)))
            continue;
        ks.push_back(twice / 2.0);
    }
    return ks;
}

std::vector<Line> machineLines(const Train &train, const LineOptions &options) {
    std::vector<Line> lines;
    forEachLine(train, options, [&](const Line &line) { lines.push_back(line); });
    return lines;
}

QString shaftName(const LineShaft &shaft) {
    return (shaft.wheel == Wheel::First ? QStringLiteral("Fr1") : QStringLiteral("Fr2")) +
           pairSuffix(shaft.pair);
}

QString lineName(const Line &line) {
    QString name = line.k == 1.0 ? QString() : calc::generalDecimal(line.k) + kDot;
    name += baseSymbol(line);
    if (line.m != 0) {
        name += line.sign > 0 ? QStringLiteral(" + ")
                              : QStringLiteral(" ") + kMinus + QStringLiteral(" ");
        name += QString::number(line.m) + kDot;
        name += line.wheel == Wheel::First ? QStringLiteral("Fr1") : QStringLiteral("Fr2");
    }
    return name + pairSuffix(line.pair);
}

int complexity(const Line &line) {
    const auto twice = static_cast<int>(std::lround(2 * line.k));
    const int weight = twice % 2 == 0 ? twice / 2 : twice + 1;
    return weight + line.m;
}

bool simpler(const Line &a, const Line &b) {
    const auto key = [](const Line &l) {
        return std::make_tuple(complexity(l), l.m != 0, l.k, static_cast<int>(l.base), -l.sign, l.m,
                               l.pair, static_cast<int>(l.wheel));
    };
    return key(a) < key(b);
}

} // namespace machine
