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
    case Base::Planetary: // named by their kind, in lineName
    case Base::Belt:
    case Base::Bearing:
        break;
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
    out.ofStage.assign(train.stages.size(), {-1, -1});
    int lastOut = -1;                      // the output of the stage before, in the list
    const TrainPair *pairBefore = nullptr; // the stage before, when it is a pair
    for (std::size_t i = 0; i < train.stages.size(); ++i) {
        const TrainStage &stage = train.stages[i];
        const auto index = static_cast<std::size_t>(stage.index);
        double in = 0.0, outSpeed = 0.0;
        const TrainPair *pair = nullptr;
        if (stage.kind == StageKind::Pair && train.pairs[index].calculated) {
            pair = &train.pairs[index];
            in = pair->fr1;
            outSpeed = pair->fr2;
        } else if (stage.kind == StageKind::Planetary && train.planetaries[index].figures) {
            in = train.planetaries[index].input;
            outSpeed = std::abs(train.planetaries[index].figures->output);
        } else if (stage.kind == StageKind::Belt && train.belts[index].figures) {
            in = train.belts[index].input;
            outSpeed = train.belts[index].figures->output;
        } else {
            // After a stage that does not turn, the shaft is a new one
            // whatever its speed.
            lastOut = -1;
            pairBefore = nullptr;
            continue;
        }
        int inIndex = lastOut;
        if (lastOut < 0 ||
            !sameShaft(in, out.shafts[static_cast<std::size_t>(lastOut)].frequency)) {
            // A pair that starts afresh: the shaft's speed by the pair before
            // keeps its place, named after that pair.
            if (lastOut >= 0 && pair && pairBefore)
                out.shafts[static_cast<std::size_t>(lastOut)].via = pairBefore->number;
            out.shafts.push_back({in, stage.inputShaft, 0});
            inIndex = static_cast<int>(out.shafts.size()) - 1;
        }
        out.shafts.push_back({outSpeed, stage.inputShaft + 1, 0});
        lastOut = static_cast<int>(out.shafts.size()) - 1;
        out.ofStage[i] = {inIndex, lastOut};
        if (pair)
            out.ofPair[index] = {inIndex, lastOut};
        pairBefore = pair;
    }
    return out;
}

LineNames lineNames(const MachineDocument &document) {
    LineNames names(document.shaftNames);
    for (const MountedBearing &b : document.bearings)
        names.bearings.push_back(b.bearing.designation);
    return names;
}

QString planetarySymbol(PlanetaryLine line) {
    static const QString symbols[] = {QStringLiteral("Fz"),   QStringLiteral("Fсолн"),
                                      QStringLiteral("Fвен"), QStringLiteral("Fсат"),
                                      QStringLiteral("Fпер"), QStringLiteral("Frсат")};
    return symbols[static_cast<int>(line)];
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

namespace {

QString bearingName(const Line &line, const LineNames &names) {
    const auto at = static_cast<std::size_t>(line.component - 1);
    const QString designation = at < names.bearings.size() ? names.bearings[at] : QString();
    QString name =
        QStringLiteral("подшипника ") +
        (designation.isEmpty() ? QStringLiteral("№%1").arg(line.component) : designation);
    return name + (line.shaft.number == 0
                       ? QStringLiteral(" (сателлиты планетарной %1)").arg(line.other)
                       : QStringLiteral(" (вал %1)").arg(line.shaft.number));
}

} // namespace

QString lineName(const Line &line, const LineNames &names) {
    const QString sign =
        line.sign > 0 ? QStringLiteral(" + ") : QStringLiteral(" ") + kMinus + QStringLiteral(" ");
    QString name;
    switch (line.base) {
    case Base::Shaft:
        return times(line.k) + shaftName(line.shaft, names.shafts);
    case Base::Intermodulation:
        return QStringLiteral("Fz") + pairSuffix(line.pair) + sign + QStringLiteral("Fz") +
               pairSuffix(line.other);
    case Base::Planetary:
        name = times(line.k) + planetarySymbol(static_cast<PlanetaryLine>(line.kind)) +
               QStringLiteral(" (планетарная %1)").arg(line.component);
        break;
    case Base::Belt:
        return times(line.k) + QStringLiteral("Fрем (ременная %1)").arg(line.component);
    case Base::Bearing:
        name = times(line.k) + QString::fromUtf8(kBearingLines[line.kind].symbol) +
               QLatin1Char(' ') + bearingName(line, names);
        break;
    default:
        name = times(line.k) + baseSymbol(line.base) + pairSuffix(line.pair);
        break;
    }
    if (line.m == 0)
        return name;
    switch (line.by) {
    case Modulator::Shaft:
        return name + sign + times(line.m) + shaftName(line.shaft, names.shafts);
    case Modulator::Planets:
        return name + sign + times(line.m) +
               QStringLiteral("Frсат (планетарная %1)").arg(line.other);
    case Modulator::Cage:
        break;
    }
    return name + sign + times(line.m) + QStringLiteral("FTF");
}

int complexity(const Line &line) {
    const auto twice = static_cast<int>(std::lround(2 * line.k));
    const int weight = twice % 2 == 0 ? twice / 2 : twice + 1;
    return weight + line.m;
}

bool simpler(const Line &a, const Line &b) {
    const auto key = [](const Line &l) {
        return std::make_tuple(complexity(l), l.m != 0, l.k, static_cast<int>(l.base), -l.sign, l.m,
                               l.pair, l.component, l.kind, l.shaft.number, l.shaft.via, l.other);
    };
    return key(a) < key(b);
}

} // namespace machine
