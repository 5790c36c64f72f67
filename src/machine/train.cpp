// The train: each pair through the program's own calculation, the chain
// check, the shafts, the units and the chain that follows from a speed.
#include "machine/train.h"

#include "calc/calculate.h"
#include "calc/input_text.h"

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

// Why the calculation would refuse the inputs: the first text that is not a
// number, or that fails the check against "0".
QString inputProblem(const GearPair &p) {
    const std::array<std::pair<const char *, QString>, 4> texts{
        {{"Z1", p.z1}, {"Fr1", p.fr1}, {"Z2", p.z2}, {"Fm", p.fm}}};
    for (const auto &[name, text] : texts) {
        const QString n = QString::fromLatin1(name);
        if (text.isEmpty())
            return QStringLiteral("%1 не задано").arg(n);
        if (calc::readNumber(text).status != 0)
            return QStringLiteral("%1 не число").arg(n);
        const bool fm = n == QLatin1String("Fm");
        if (fm ? calc::compareWithZero(text) < 0 : calc::compareWithZero(text) <= 0)
            return fm ? QStringLiteral("Fm меньше нуля")
                      : QStringLiteral("%1 должно быть больше нуля").arg(n);
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
    default:
        out.problem = inputProblem(p);
        break;
    }
    return out;
}

double parsedText(const QString &text) {
    return calc::readNumber(text).value;
}

// A Fr1 text follows from the pair before when it reads as the Fr2 text the
// main window shows, under the current precision or any other it offers.
bool followsFrom(const TrainPair &before, const QString &fr1Text) {
    const double fr1 = parsedText(fr1Text);
    if (parsedText(before.fr2Text) == fr1)
        return true;
    // A Fr1 text made by "Далее >" under any precision setting follows.
    for (const calc::PrecisionSetting &setting : calc::kPrecisionSettings) {
        const calc::DisplayText shown = calc::RoundToPrecision(before.fr2, setting.factor);
        if (!shown.fault && parsedText(shown.text) == fr1)
            return true;
    }
    return false;
}

TrainPair trainPair(int number, const GearPair &texts, bool inFields, std::int32_t precision) {
    TrainPair t;
    t.number = number;
    t.texts = texts;
    t.inFields = inFields;
    const PairCalc c = calculatePair(texts, precision);
    if (!c.ok) {
        t.problem = c.problem;
        return t;
    }
    using calc::Entry;
    t.calculated = true;
    t.z1 = c.table[Entry::Z1];
    t.z2 = c.table[Entry::Z2];
    t.fr1 = c.table[Entry::Fr1];
    t.fr2 = c.table[Entry::Fr2];
    t.fz = c.table[Entry::Fz];
    t.gearRatio = c.table[Entry::GearRatio];
    if (texts.fm != QLatin1String("0") && !texts.fm.isEmpty())
        t.fm = c.table[Entry::Fm];
    t.fr2Text = c.fr2Text;
    t.mesh = meshFigures(t.z1, t.z2, t.fz);
    return t;
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

} // namespace

std::optional<double> Train::shaft(int k) const {
    if (k < 1 || k > shaftCount())
        return std::nullopt;
    return shafts[static_cast<std::size_t>(k - 1)];
}

bool fieldsCalculated(std::int32_t pairCalculated, const std::array<QString, 4> &capturedTexts,
                      const GearPair &fields) {
    if (pairCalculated != 1)
        return false;
    const std::array<QString, 4> texts{fields.z1, fields.fr1, fields.z2, fields.fm};
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (calc::numberText(texts[i]) != capturedTexts[i])
            return false;
    return true;
}

ChainPairs chainPairs(const TrainSource &source) {
    ChainPairs chain;
    int k = 1;
    for (; k <= aggregate::kPairCount && source.store.occupied(k); ++k)
        chain.pairs.push_back(source.store.load(k));
    if (k <= aggregate::kPairCount && source.currentPair == k && source.shownCalculated) {
        GearPair shown = source.shown;
        shown = {calc::capturedText(shown.z1), calc::capturedText(shown.fr1),
                 calc::capturedText(shown.z2), calc::capturedText(shown.fm)};
        chain.pairs.push_back(shown);
        chain.lastInFields = true;
    }
    return chain;
}

Train buildTrain(const std::vector<GearPair> &pairs, bool lastInFields,
                 std::int32_t precisionFactor) {
    Train train;
    train.precisionFactor = precisionFactor;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const bool inFields = lastInFields && i + 1 == pairs.size();
        TrainPair t = trainPair(static_cast<int>(i) + 1, pairs[i], inFields, precisionFactor);
        if (i > 0 && t.calculated && train.pairs[i - 1].calculated) {
            const TrainPair &before = train.pairs[i - 1];
            t.chainBroken = !followsFrom(before, t.texts.fr1);
            if (t.chainBroken)
                t.chainFr1Text = before.fr2Text;
        }
        train.pairs.push_back(std::move(t));
    }
    fillShafts(train);
    return train;
}

Train buildTrain(const TrainSource &source) {
    const ChainPairs chain = chainPairs(source);
    return buildTrain(chain.pairs, chain.lastInFields, source.precisionFactor);
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
        return {std::nullopt, QStringLiteral("скорость «%1» не число").arg(reference.text)};
    if (!(p.value > 0.0))
        return {std::nullopt, QStringLiteral("скорость должна быть больше нуля")};
    const double hertz = reference.unit == SpeedUnit::Hertz ? p.value : p.value / 60.0;
    if (!(hertz > 0.0))
        return {std::nullopt, QStringLiteral("скорость слишком мала")};
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
    const ChainPairs chain = chainPairs(source);
    if (!rewrite.error.isEmpty() || rewrite.pairs.size() != chain.pairs.size())
        return plan;
    const int n = static_cast<int>(rewrite.pairs.size());
    const int stored = chain.lastInFields ? n - 1 : n;
    for (int k = 1; k <= stored; ++k)
        plan.slotTexts.emplace_back(k, rewrite.pairs[static_cast<std::size_t>(k - 1)]);
    const int current = source.currentPair;
    if (current <= stored) {
        plan.fields = rewrite.pairs[static_cast<std::size_t>(current - 1)];
        plan.recalculate = true;
        plan.clearCalculated = true;
    } else if (current == n && chain.lastInFields) {
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
