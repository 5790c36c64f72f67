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

QString baseSymbol(Base base) {
    switch (base) {
    case Base::Shaft:
        return QStringLiteral("Fr");
    case Base::Fz:
    case Base::Intermodulation:
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

// "2·", or nothing for 1.
QString times(double k) {
    return k == 1.0 ? QString() : calc::generalDecimal(k) + kDot;
}

} // namespace

LineShafts lineShafts(const Train &train) {
    LineShafts out;
    out.ofPair.assign(train.pairs.size(), {-1, -1});
    const TrainPair *before = nullptr;
    for (std::size_t i = 0; i < train.pairs.size(); ++i) {
        const TrainPair &p = train.pairs[i];
        if (!p.calculated)
            continue;
        // A pair that starts afresh: the shaft's speed by the pair before
        // keeps its place, named after that pair. After a pair that does not
        // calculate, the shaft is a new one whatever its speed.
        const bool next = before && before->number == p.number - 1;
        if (next && !sameShaft(p.fr1, before->fr2))
            out.shafts.back().via = before->number;
        if (!next || !sameShaft(p.fr1, before->fr2))
            out.shafts.push_back({p.fr1, p.number, 0});
        const int in = static_cast<int>(out.shafts.size()) - 1;
        out.shafts.push_back({p.fr2, p.number + 1, 0});
        out.ofPair[i] = {in, in + 1};
        before = &p;
    }
    return out;
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

QString shaftName(const LineShaft &shaft, const std::vector<QString> &shaftNames) {
    QString name = QStringLiteral("вал %1").arg(shaft.number);
    const auto named = static_cast<std::size_t>(shaft.number - 1);
    if (named < shaftNames.size() && !shaftNames[named].isEmpty())
        name += QStringLiteral(" «%1»").arg(shaftNames[named]);
    if (shaft.via != 0)
        name += QStringLiteral(", по паре %1").arg(shaft.via);
    return QStringLiteral("Fr (") + name + QLatin1Char(')');
}

QString lineName(const Line &line, const std::vector<QString> &shaftNames) {
    const QString sign =
        line.sign > 0 ? QStringLiteral(" + ") : QStringLiteral(" ") + kMinus + QStringLiteral(" ");
    switch (line.base) {
    case Base::Shaft:
        return times(line.k) + shaftName(line.shaft, shaftNames);
    case Base::Intermodulation:
        return QStringLiteral("Fz") + pairSuffix(line.pair) + sign + QStringLiteral("Fz") +
               pairSuffix(line.other);
    default:
        break;
    }
    QString name = times(line.k) + baseSymbol(line.base) + pairSuffix(line.pair);
    if (line.m != 0)
        name += sign + times(line.m) + shaftName(line.shaft, shaftNames);
    return name;
}

int complexity(const Line &line) {
    const auto twice = static_cast<int>(std::lround(2 * line.k));
    const int weight = twice % 2 == 0 ? twice / 2 : twice + 1;
    return weight + line.m;
}

bool simpler(const Line &a, const Line &b) {
    const auto key = [](const Line &l) {
        return std::make_tuple(complexity(l), l.m != 0, l.k, static_cast<int>(l.base), -l.sign, l.m,
                               l.pair, l.shaft.number, l.shaft.via, l.other);
    };
    return key(a) < key(b);
}

} // namespace machine
