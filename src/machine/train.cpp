// The train: each pair through the program's own calculation, the chain
// check, the shafts, the units and the chain that follows from a speed.
#include "machine/train.h"

#include "calc/calculate.h"
#include "calc/input_text.h"
#include "calc/rows.h"

#include <array>
#include <cmath>

namespace machine {

namespace {

using aggregate::GearPair;

constexpr std::size_t displayIndex(calc::Entry e) {
    for (std::size_t i = 0; i < calc::kDisplay.size(); ++i)
        if (calc::kDisplay[i] == e)
            return i;
    return calc::kDisplay.size();
}
constexpr std::size_t kFr2Shown = displayIndex(calc::Entry::Fr2);
static_assert(kFr2Shown < calc::kDisplay.size());

struct PairCalc {
    bool ok = false;
    QString problem;
    calc::FrequencyTable table;
    QString fr2Text;
};

// Why the calculation refused the inputs, in the words of the table.
QString refusalText(const calc::InputRefusal &r) {
    const QString name = QString::fromLatin1(
        calc::entryName(calc::kInputs[static_cast<std::size_t>(r.input)].entry));
    switch (r.why) {
    case calc::InputRefusal::Empty:
        return QStringLiteral("%1 не задано").arg(name);
    case calc::InputRefusal::NotANumber:
        return QStringLiteral("%1 не число").arg(name);
    case calc::InputRefusal::NotAboveZero:
        return QStringLiteral("%1 должно быть больше нуля").arg(name);
    case calc::InputRefusal::BelowZero:
        return QStringLiteral("%1 меньше нуля").arg(name);
    }
    return QStringLiteral("данные пары не рассчитываются");
}

// The pair through Calculate, automatic smaller wheel, every coefficient 0:
// so only what the pair itself gives can fail, and the texts are the main
// window's own.
PairCalc calculatePair(GearPair p, std::int32_t precisionFactor) {
    if (p.fm.isEmpty())
        p.fm = QStringLiteral("0");
    std::array<QString, calc::kInputCount> texts;
    texts.fill(QStringLiteral("0"));
    texts[calc::InZ1] = p.z1;
    texts[calc::InFr1] = p.fr1;
    texts[calc::InZ2] = p.z2;
    texts[calc::InFm] = p.fm;
    calc::PairState state;
    calc::SmallerWheelState wheel;
    const calc::CalcOutcome outcome = calc::Calculate(state, wheel, texts, precisionFactor);
    PairCalc out;
    out.table = state.table;
    switch (outcome.result) {
    case calc::CalcResult::Success:
        out.ok = true;
        out.fr2Text = (*outcome.display)[kFr2Shown];
        break;
    case calc::CalcResult::Fault:
        out.problem = calc::faultMessage(*outcome.fault);
        break;
    case calc::CalcResult::InputNotice:
        out.problem = refusalText(*outcome.refusal);
        break;
    case calc::CalcResult::SmallerWheelNotice:
        out.problem = QStringLiteral("данные пары не рассчитываются");
        break;
    }
    return out;
}

double parsedText(const QString &text) {
    return calc::readNumber(text).value;
}

// Fr2 from Fr1 as the calculation computes it in automatic mode (wheel 2
// the smaller one when Z1 > Z2), and Fr1 back from Fr2.
double secondShaft(double fr1, double z1, double z2) {
    return z1 > z2 ? fr1 * (z1 / z2) : fr1 / (z2 / z1);
}
double firstShaft(double fr2, double z1, double z2) {
    return z1 > z2 ? fr2 / (z1 / z2) : fr2 * (z2 / z1);
}

// A Fr1 text reads as `speed` shown under the current precision or any
// other the main window offers: "Далее >" may have written it so.
bool readsAs(const QString &fr1Text, double speed) {
    const double fr1 = parsedText(fr1Text);
    if (fr1 == speed || parsedText(calc::generalDecimal(speed)) == fr1)
        return true;
    for (const calc::PrecisionSetting &setting : calc::kPrecisionSettings) {
        const calc::DisplayText shown = calc::RoundToPrecision(speed, setting.factor);
        if (!shown.fault && parsedText(shown.text) == fr1)
            return true;
    }
    return false;
}

// A Fr1 text follows from the pair before when it reads as the Fr2 that
// the main window shows for that pair as typed (the walk of "Далее >").
bool followsFrom(const TrainPair &before, const QString &fr1Text) {
    return parsedText(fr1Text) == parsedText(before.fr2Text) || readsAs(fr1Text, before.typedFr2);
}

QString shownHertz(double value, std::int32_t precisionFactor) {
    const calc::DisplayText shown = calc::RoundToPrecision(value, precisionFactor);
    return shown.fault ? calc::generalDecimal(value) : shown.text;
}

TrainPair trainPair(int number, const GearPair &texts, PairSource source, std::int32_t precision) {
    TrainPair t;
    t.number = number;
    t.texts = texts;
    t.source = source;
    const PairCalc c = calculatePair(texts, precision);
    if (!c.ok) {
        t.problem = c.problem;
        return t;
    }
    using calc::Entry;
    t.calculated = true;
    t.z1 = c.table[Entry::Z1];
    t.z2 = c.table[Entry::Z2];
    t.typedFr1 = c.table[Entry::Fr1];
    t.typedFr2 = c.table[Entry::Fr2];
    t.gearRatio = c.table[Entry::GearRatio];
    if (texts.fm != QLatin1String("0") && !texts.fm.isEmpty())
        t.fm = c.table[Entry::Fm];
    t.fr2Text = c.fr2Text;
    return t;
}

void setSpeeds(TrainPair &p, double fr1, double fr2) {
    p.fr1 = fr1;
    p.fr2 = fr2;
    p.fz = p.z1 * fr1;
    p.mesh = meshFigures(p.z1, p.z2, p.fz);
}

// The speeds from the first pair's Fr1: each pair drives the next exactly,
// unless a Fr1 typed mid-chain starts it afresh.
void followTypedChain(std::vector<TrainPair> &pairs, std::int32_t precision) {
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        TrainPair &p = pairs[i];
        if (!p.calculated)
            continue;
        double fr1 = p.typedFr1;
        if (i > 0 && pairs[i - 1].calculated) {
            const TrainPair &before = pairs[i - 1];
            if (followsFrom(before, p.texts.fr1)) {
                fr1 = before.fr2;
                // Only a text rounded coarser than the fifteen digits shown.
                p.fr1TextDiffers = parsedText(p.texts.fr1) != parsedText(calc::generalDecimal(fr1));
            } else {
                p.chainBroken = true;
                p.chainFr1 = before.fr2;
                p.chainFr1Text = shownHertz(before.fr2, precision);
            }
        }
        setSpeeds(p, fr1, secondShaft(fr1, p.z1, p.z2));
    }
}

// The speed of every shaft from the speed known at one of them; an error
// when a pair on the way does not calculate.
struct KnownSpeeds {
    std::vector<double> shafts;
    QString error;
};
KnownSpeeds speedsFromKnown(const std::vector<TrainPair> &pairs, const ReferenceSpeed &known) {
    const int shafts = static_cast<int>(pairs.size()) + 1;
    if (pairs.empty())
        return {{}, QStringLiteral("в агрегате нет рассчитанных пар")};
    if (known.shaft < 1 || known.shaft > shafts)
        return {{},
                QStringLiteral("вала %1 нет: у агрегата валы 1–%2").arg(known.shaft).arg(shafts)};
    const SpeedValue speed = referenceHertz(known);
    if (!speed.hertz)
        return {{}, speed.error};
    for (const TrainPair &p : pairs)
        if (!p.calculated)
            return {{}, QStringLiteral("пара %1: %2").arg(p.number).arg(p.problem)};
    std::vector<double> f(static_cast<std::size_t>(shafts));
    const std::size_t s = static_cast<std::size_t>(known.shaft - 1);
    f[s] = *speed.hertz;
    for (std::size_t k = s + 1; k < f.size(); ++k)
        f[k] = secondShaft(f[k - 1], pairs[k - 1].z1, pairs[k - 1].z2);
    for (std::size_t k = s; k-- > 0;)
        f[k] = firstShaft(f[k + 1], pairs[k].z1, pairs[k].z2);
    for (const double v : f)
        if (!std::isfinite(v) || !(v > 0.0))
            return {{}, QStringLiteral("скорость вала выходит за пределы чисел программы")};
    return {f, QString()};
}

void fillShafts(Train &train) {
    const std::size_t n = train.pairs.size();
    if (n == 0)
        return;
    train.shafts.assign(n + 1, std::nullopt);
    for (std::size_t k = 0; k < n; ++k) {
        if (train.pairs[k].calculated)
            train.shafts[k] = train.pairs[k].fr1;
        else if (k > 0 && train.pairs[k - 1].calculated)
            train.shafts[k] = train.pairs[k - 1].fr2;
    }
    if (train.pairs[n - 1].calculated)
        train.shafts[n] = train.pairs[n - 1].fr2;

    double ratio = 1.0;
    for (const TrainPair &p : train.pairs) {
        if (!p.calculated)
            return;
        ratio *= p.z2 / p.z1;
    }
    if (std::isfinite(ratio) && ratio > 0.0)
        train.totalRatio = ratio;
}

ChainRewrite refused(const QString &why) {
    return {{}, {}, why};
}

// Teeth counts as the calculation reads them, if they pass its checks.
std::optional<std::pair<double, double>> teethOf(const GearPair &p) {
    for (const QString &t : {p.z1, p.z2})
        if (calc::compareWithZero(t) <= 0 || calc::readNumber(t).status != 0)
            return std::nullopt;
    const double z1 = parsedText(p.z1), z2 = parsedText(p.z2);
    if (!(z1 > 0.0) || !(z2 > 0.0))
        return std::nullopt;
    return std::pair{z1, z2};
}

GearPair captured(const GearPair &p) {
    return {calc::capturedText(p.z1), calc::capturedText(p.fr1), calc::capturedText(p.z2),
            calc::capturedText(p.fm)};
}

} // namespace

std::optional<double> Train::shaft(int k) const {
    if (k < 1 || k > shaftCount())
        return std::nullopt;
    return shafts[static_cast<std::size_t>(k - 1)];
}

ChainPairs storedChain(const TrainSource &source) {
    ChainPairs chain;
    int k = 1;
    for (; k <= aggregate::kPairCount && source.store.occupied(k); ++k) {
        chain.pairs.push_back(source.store.load(k));
        chain.sources.push_back(PairSource::Stored);
    }
    if (k <= aggregate::kPairCount && source.currentPair == k && source.shownCalculated) {
        chain.pairs.push_back(captured(source.shown));
        chain.sources.push_back(PairSource::InFields);
    }
    return chain;
}

ChainPairs chainPairs(const TrainSource &source) {
    ChainPairs chain = storedChain(source);
    // A stored pair calculated in the fields with other texts: the pair the
    // user sees calculated is the one the machine works with.
    const auto shown = static_cast<std::size_t>(source.currentPair - 1);
    if (source.shownCalculated && shown < chain.pairs.size() &&
        chain.sources[shown] == PairSource::Stored &&
        chain.pairs[shown] != captured(source.shown)) {
        chain.pairs[shown] = captured(source.shown);
        chain.sources[shown] = PairSource::Edited;
    }
    return chain;
}

Train buildTrain(const ChainPairs &chain, std::int32_t precisionFactor,
                 const ReferenceSpeed &known) {
    Train train;
    train.precisionFactor = precisionFactor;
    for (std::size_t i = 0; i < chain.pairs.size(); ++i)
        train.pairs.push_back(
            trainPair(static_cast<int>(i) + 1, chain.pairs[i], chain.sources[i], precisionFactor));
    const KnownSpeeds speeds =
        known.text.isEmpty() ? KnownSpeeds{} : speedsFromKnown(train.pairs, known);
    if (speeds.shafts.empty()) {
        train.knownProblem = speeds.error;
        followTypedChain(train.pairs, precisionFactor);
    } else {
        train.followsKnown = true;
        for (std::size_t i = 0; i < train.pairs.size(); ++i) {
            TrainPair &p = train.pairs[i];
            setSpeeds(p, speeds.shafts[i], speeds.shafts[i + 1]);
            p.fr1TextDiffers = !readsAs(p.texts.fr1, p.fr1);
        }
    }
    fillShafts(train);
    return train;
}

Train buildTrain(const std::vector<GearPair> &pairs, bool lastInFields,
                 std::int32_t precisionFactor) {
    ChainPairs chain;
    chain.pairs = pairs;
    chain.sources.assign(pairs.size(), PairSource::Stored);
    if (lastInFields && !pairs.empty())
        chain.sources.back() = PairSource::InFields;
    return buildTrain(chain, precisionFactor);
}

std::optional<double> toUnit(double hertz, const UnitChoice &unit, const Train &train) {
    switch (unit.unit) {
    case Unit::Hertz:
        return hertz;
    case Unit::PerMinute:
        return hertz * 60.0;
    case Unit::Orders:
        break;
    }
    const std::optional<double> base = train.shaft(unit.ordersShaft);
    if (!base || !(*base > 0.0))
        return std::nullopt;
    const double orders = hertz / *base;
    if (!std::isfinite(orders))
        return std::nullopt;
    return orders;
}

std::optional<double> fromUnit(double value, const UnitChoice &unit, const Train &train) {
    switch (unit.unit) {
    case Unit::Hertz:
        return value;
    case Unit::PerMinute:
        return value / 60.0;
    case Unit::Orders:
        break;
    }
    const std::optional<double> base = train.shaft(unit.ordersShaft);
    if (!base || !(*base > 0.0))
        return std::nullopt;
    return value * *base;
}

QString unitName(const UnitChoice &unit, bool shaftFrequency) {
    switch (unit.unit) {
    case Unit::Hertz:
        return QStringLiteral("Гц");
    case Unit::PerMinute:
        return shaftFrequency ? QStringLiteral("об/мин") : QStringLiteral("CPM");
    case Unit::Orders:
        break;
    }
    return QStringLiteral("порядки вала %1").arg(unit.ordersShaft);
}

QString speedUnitName(SpeedUnit unit) {
    return unit == SpeedUnit::Hertz ? QStringLiteral("Гц") : QStringLiteral("об/мин");
}

SpeedValue referenceHertz(const ReferenceSpeed &reference) {
    if (reference.text.trimmed().isEmpty())
        return {std::nullopt, QStringLiteral("скорость не задана")};
    const calc::ParsedNumber p = calc::readNumber(reference.text);
    if (!calc::fitsTextLimit(reference.text) || p.status != 0)
        return {std::nullopt,
                QStringLiteral("скорость «%1» не число").arg(calc::excerpt(reference.text))};
    if (!(p.value > 0.0))
        return {std::nullopt, QStringLiteral("скорость должна быть больше нуля")};
    const double hertz = reference.unit == SpeedUnit::Hertz ? p.value : p.value / 60.0;
    if (!(hertz > 0.0))
        return {std::nullopt, QStringLiteral("скорость слишком мала")};
    if (!(hertz <= kKnownSpeedLimitHertz))
        return {std::nullopt,
                QStringLiteral("скорость больше %1 Гц (%2 об/мин) — так быстро вал не вращается")
                    .arg(calc::generalDecimal(kKnownSpeedLimitHertz),
                         calc::generalDecimal(kKnownSpeedLimitHertz * 60.0))};
    return {hertz, QString()};
}

ChainRewrite followSpeed(const std::vector<GearPair> &pairs, const ReferenceSpeed &reference,
                         std::int32_t precisionFactor) {
    const int shafts = static_cast<int>(pairs.size()) + 1;
    if (pairs.empty())
        return refused(QStringLiteral("в агрегате нет рассчитанных пар"));
    if (reference.shaft < 1 || reference.shaft > shafts)
        return refused(
            QStringLiteral("вала %1 нет: у агрегата валы 1–%2").arg(reference.shaft).arg(shafts));
    const SpeedValue speed = referenceHertz(reference);
    if (!speed.hertz)
        return refused(speed.error);

    // Back to shaft 1 through the teeth: Fr1 = Fr2 x Z2 / Z1 for each pair
    // between shaft 1 and the reference shaft.
    double fr1 = *speed.hertz;
    for (int k = reference.shaft - 1; k >= 1; --k) {
        const auto teeth = teethOf(pairs[static_cast<std::size_t>(k - 1)]);
        if (!teeth)
            return refused(QStringLiteral("пара %1: числа зубьев не рассчитываются").arg(k));
        fr1 = fr1 * teeth->second / teeth->first;
    }
    if (!std::isfinite(fr1) || !(fr1 > 0.0))
        return refused(QStringLiteral("скорость вала 1 выходит за пределы чисел программы"));

    ChainRewrite out;
    out.pairs = pairs;
    out.pairs[0].fr1 = calc::generalDecimal(fr1);
    for (std::size_t k = 0; k < out.pairs.size(); ++k) {
        const PairCalc c = calculatePair(out.pairs[k], precisionFactor);
        if (!c.ok)
            return refused(QStringLiteral("пара %1: %2").arg(k + 1).arg(c.problem));
        if (k + 1 < out.pairs.size())
            out.pairs[k + 1].fr1 = c.fr2Text;
        else
            out.lastFr2Text = c.fr2Text;
    }
    return out;
}

ChainWriteBack planWriteBack(const TrainSource &source, const ChainRewrite &rewrite) {
    ChainWriteBack plan;
    const ChainPairs chain = storedChain(source);
    if (!rewrite.error.isEmpty() || rewrite.pairs.size() != chain.pairs.size())
        return plan;
    const int n = static_cast<int>(rewrite.pairs.size());
    const int stored = chain.lastInFields() ? n - 1 : n;
    for (int k = 1; k <= stored; ++k)
        plan.slotTexts.emplace_back(k, rewrite.pairs[static_cast<std::size_t>(k - 1)]);
    const int current = source.currentPair;
    if (current <= stored) {
        plan.fields = rewrite.pairs[static_cast<std::size_t>(current - 1)];
        plan.recalculate = true;
        plan.clearCalculated = true;
    } else if (current == n && chain.lastInFields()) {
        plan.fields = source.shown;
        plan.fields->fr1 = rewrite.pairs.back().fr1;
        plan.recalculate = true;
    } else if (current == n + 1) {
        plan.fields = source.shown;
        plan.fields->fr1 = rewrite.lastFr2Text;
    }
    return plan;
}

} // namespace machine
