// The train: each pair through the program's own calculation, the chain
// check, the shafts, the units and the chain that follows from a speed.
#include "machine/train.h"

#include "calc/calculate.h"
#include "calc/input_text.h"
#include "calc/rows.h"

#include <algorithm>
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

// --- the stages' speeds

// A planetary or belt stage by itself: why it cannot turn, and the speed
// after it from the speed before, and back.
QString extraProblem(const ExtraStage &e) {
    return e.kind == StageKind::Planetary ? planetaryProblem(e.planetary) : beltProblem(e.belt);
}
double extraAfter(const ExtraStage &e, double input) {
    return e.kind == StageKind::Planetary ? std::fabs(planetaryFigures(e.planetary, input).output)
                                          : beltFigures(e.belt, input).output;
}
double extraBefore(const ExtraStage &e, double output) {
    return e.kind == StageKind::Planetary ? output * std::fabs(planetaryRatio(e.planetary))
                                          : output * beltRatio(e.belt);
}
QString extraName(const std::vector<ExtraStage> &extras, int index) {
    const StageKind kind = extras[static_cast<std::size_t>(index)].kind;
    const auto number = std::count_if(extras.begin(), extras.begin() + index + 1,
                                      [&](const ExtraStage &e) { return e.kind == kind; });
    return (kind == StageKind::Planetary ? QStringLiteral("планетарная %1")
                                         : QStringLiteral("ременная %1"))
        .arg(number);
}

// What each kind of stage does with a speed, in one place: whether it
// turns, the speed after it from the speed before (and back), and setting
// its figures from its input speed.
bool turns(const Train &t, const TrainStage &s) {
    switch (s.kind) {
    case StageKind::Pair:
        return t.pairs[static_cast<std::size_t>(s.index)].calculated;
    case StageKind::Planetary:
        return t.planetaries[static_cast<std::size_t>(s.index)].problem.isEmpty();
    case StageKind::Belt:
        return t.belts[static_cast<std::size_t>(s.index)].problem.isEmpty();
    }
    return false;
}

double after(const Train &t, const TrainStage &s, double input) {
    switch (s.kind) {
    case StageKind::Pair: {
        const TrainPair &p = t.pairs[static_cast<std::size_t>(s.index)];
        return secondShaft(input, p.z1, p.z2);
    }
    case StageKind::Planetary:
        return std::fabs(
            planetaryFigures(t.planetaries[static_cast<std::size_t>(s.index)].stage, input).output);
    case StageKind::Belt:
        return beltFigures(t.belts[static_cast<std::size_t>(s.index)].stage, input).output;
    }
    return 0.0;
}

double before(const Train &t, const TrainStage &s, double output) {
    switch (s.kind) {
    case StageKind::Pair: {
        const TrainPair &p = t.pairs[static_cast<std::size_t>(s.index)];
        return firstShaft(output, p.z1, p.z2);
    }
    case StageKind::Planetary:
        return output *
               std::fabs(planetaryRatio(t.planetaries[static_cast<std::size_t>(s.index)].stage));
    case StageKind::Belt:
        return output * beltRatio(t.belts[static_cast<std::size_t>(s.index)].stage);
    }
    return 0.0;
}

// Input speed over output speed.
double ratioOf(const Train &t, const TrainStage &s) {
    switch (s.kind) {
    case StageKind::Pair: {
        const TrainPair &p = t.pairs[static_cast<std::size_t>(s.index)];
        return p.z2 / p.z1;
    }
    case StageKind::Planetary:
        return std::fabs(planetaryRatio(t.planetaries[static_cast<std::size_t>(s.index)].stage));
    case StageKind::Belt:
        return beltRatio(t.belts[static_cast<std::size_t>(s.index)].stage);
    }
    return 0.0;
}

// The other stages take their speeds from the shaft before; a pair's own
// Fr2 follows from its Fr1.
void setInput(Train &t, const TrainStage &s, double input) {
    switch (s.kind) {
    case StageKind::Pair: {
        TrainPair &p = t.pairs[static_cast<std::size_t>(s.index)];
        setSpeeds(p, input, secondShaft(input, p.z1, p.z2));
        break;
    }
    case StageKind::Planetary: {
        TrainPlanetary &x = t.planetaries[static_cast<std::size_t>(s.index)];
        x.input = input;
        x.figures = planetaryFigures(x.stage, input);
        break;
    }
    case StageKind::Belt: {
        TrainBelt &x = t.belts[static_cast<std::size_t>(s.index)];
        x.input = input;
        x.figures = beltFigures(x.stage, input);
        break;
    }
    }
}

std::optional<double> inputSpeed(const Train &t, const TrainStage &s) {
    switch (s.kind) {
    case StageKind::Pair: {
        const TrainPair &p = t.pairs[static_cast<std::size_t>(s.index)];
        return p.calculated ? std::optional(p.fr1) : std::nullopt;
    }
    case StageKind::Planetary: {
        const TrainPlanetary &x = t.planetaries[static_cast<std::size_t>(s.index)];
        return x.figures ? std::optional(x.input) : std::nullopt;
    }
    case StageKind::Belt: {
        const TrainBelt &x = t.belts[static_cast<std::size_t>(s.index)];
        return x.figures ? std::optional(x.input) : std::nullopt;
    }
    }
    return std::nullopt;
}

std::optional<double> outputSpeed(const Train &t, const TrainStage &s) {
    switch (s.kind) {
    case StageKind::Pair: {
        const TrainPair &p = t.pairs[static_cast<std::size_t>(s.index)];
        return p.calculated ? std::optional(p.fr2) : std::nullopt;
    }
    case StageKind::Planetary: {
        const TrainPlanetary &x = t.planetaries[static_cast<std::size_t>(s.index)];
        return x.figures ? std::optional(std::fabs(x.figures->output)) : std::nullopt;
    }
    case StageKind::Belt: {
        const TrainBelt &x = t.belts[static_cast<std::size_t>(s.index)];
        return x.figures ? std::optional(x.figures->output) : std::nullopt;
    }
    }
    return std::nullopt;
}

// The speeds from the first pair's Fr1: each stage drives the next exactly,
// unless a Fr1 typed mid-chain starts it afresh. Stages before the first
// pair that has a speed get theirs backwards from it.
void followTypedChain(Train &t, std::int32_t precision) {
    std::optional<double> current;
    const TrainPair *pairBefore = nullptr; // the stage before, when it is a pair
    int first = -1;                        // the first stage with a speed
    for (std::size_t i = 0; i < t.stages.size(); ++i) {
        const TrainStage &s = t.stages[i];
        if (!turns(t, s)) {
            current.reset();
            pairBefore = nullptr;
            continue;
        }
        if (s.kind != StageKind::Pair) {
            pairBefore = nullptr;
            if (current) {
                setInput(t, s, *current);
                current = after(t, s, *current);
            }
            continue;
        }
        TrainPair &p = t.pairs[static_cast<std::size_t>(s.index)];
        double fr1 = p.typedFr1;
        if (current) {
            const bool follows =
                pairBefore ? followsFrom(*pairBefore, p.texts.fr1) : readsAs(p.texts.fr1, *current);
            if (follows) {
                fr1 = *current;
                // Only a text rounded coarser than the fifteen digits shown.
                p.fr1TextDiffers = parsedText(p.texts.fr1) != parsedText(calc::generalDecimal(fr1));
            } else {
                p.chainBroken = true;
                p.chainFr1 = *current;
                p.chainFr1Text = shownHertz(*current, precision);
            }
        }
        if (first < 0)
            first = static_cast<int>(i);
        setSpeeds(p, fr1, secondShaft(fr1, p.z1, p.z2));
        current = p.fr2;
        pairBefore = &p;
    }
    if (first <= 0)
        return;
    double speed =
        t.pairs[static_cast<std::size_t>(t.stages[static_cast<std::size_t>(first)].index)].fr1;
    for (int i = first - 1; i >= 0; --i) {
        const TrainStage &s = t.stages[static_cast<std::size_t>(i)];
        if (!turns(t, s))
            break;
        speed = before(t, s, speed);
        setInput(t, s, speed);
    }
}

// The speed of every shaft from the speed known at one of them; an error
// when a stage on the way does not turn.
struct KnownSpeeds {
    std::vector<double> shafts;
    QString error;
};
KnownSpeeds speedsFromKnown(const Train &t, const ReferenceSpeed &known) {
    const int shafts = static_cast<int>(t.stages.size()) + 1;
    if (t.stages.empty())
        return {{}, QStringLiteral("в агрегате нет рассчитанных пар")};
    if (known.shaft < 1 || known.shaft > shafts)
        return {{},
                QStringLiteral("вала %1 нет: у агрегата валы 1–%2").arg(known.shaft).arg(shafts)};
    const SpeedValue speed = referenceHertz(known);
    if (!speed.hertz)
        return {{}, speed.error};
    for (const TrainStage &s : t.stages)
        if (!turns(t, s))
            return {{},
                    t.stageName(s) + QStringLiteral(": ") +
                        (s.kind == StageKind::Pair
                             ? t.pairs[static_cast<std::size_t>(s.index)].problem
                         : s.kind == StageKind::Planetary
                             ? t.planetaries[static_cast<std::size_t>(s.index)].problem
                             : t.belts[static_cast<std::size_t>(s.index)].problem)};
    std::vector<double> f(static_cast<std::size_t>(shafts));
    const std::size_t k0 = static_cast<std::size_t>(known.shaft - 1);
    f[k0] = *speed.hertz;
    for (std::size_t k = k0 + 1; k < f.size(); ++k)
        f[k] = after(t, t.stages[k - 1], f[k - 1]);
    for (std::size_t k = k0; k-- > 0;)
        f[k] = before(t, t.stages[k], f[k + 1]);
    for (const double v : f)
        if (!std::isfinite(v) || !(v > 0.0))
            return {{}, QStringLiteral("скорость вала выходит за пределы чисел программы")};
    return {f, QString()};
}

void fillShafts(Train &t) {
    const std::size_t n = t.stages.size();
    if (n == 0)
        return;
    t.shafts.assign(n + 1, std::nullopt);
    for (std::size_t k = 0; k < n; ++k) {
        t.shafts[k] = inputSpeed(t, t.stages[k]);
        if (!t.shafts[k] && k > 0)
            t.shafts[k] = outputSpeed(t, t.stages[k - 1]);
    }
    t.shafts[n] = outputSpeed(t, t.stages[n - 1]);

    double ratio = 1.0;
    for (const TrainStage &s : t.stages) {
        if (!turns(t, s))
            return;
        ratio *= ratioOf(t, s);
    }
    if (std::isfinite(ratio) && ratio > 0.0)
        t.totalRatio = ratio;
}

// The stages of the document in chain order with the pairs.
void placeStages(Train &t, const std::vector<ExtraStage> &extras) {
    std::vector<int> indexOf(extras.size(), 0);
    for (std::size_t j = 0; j < extras.size(); ++j) {
        const ExtraStage &e = extras[j];
        if (e.kind == StageKind::Planetary) {
            TrainPlanetary x;
            x.number = static_cast<int>(t.planetaries.size()) + 1;
            x.extraIndex = static_cast<int>(j);
            x.stage = e.planetary;
            x.problem = planetaryProblem(e.planetary);
            if (x.problem.isEmpty())
                x.remarks = planetaryRemarks(e.planetary);
            indexOf[j] = static_cast<int>(t.planetaries.size());
            t.planetaries.push_back(x);
        } else {
            TrainBelt x;
            x.number = static_cast<int>(t.belts.size()) + 1;
            x.extraIndex = static_cast<int>(j);
            x.stage = e.belt;
            x.problem = beltProblem(e.belt);
            if (x.problem.isEmpty())
                x.remarks = beltRemarks(e.belt);
            indexOf[j] = static_cast<int>(t.belts.size());
            t.belts.push_back(x);
        }
    }
    const std::vector<ChainEntry> chain = chainOrder(static_cast<int>(t.pairs.size()), extras);
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const ChainEntry &c = chain[i];
        const int shaft = static_cast<int>(i) + 1;
        const int index =
            c.kind == StageKind::Pair ? c.index : indexOf[static_cast<std::size_t>(c.index)];
        t.stages.push_back({c.kind, index, shaft});
        if (c.kind == StageKind::Pair)
            t.pairs[static_cast<std::size_t>(index)].inputShaft = shaft;
        else if (c.kind == StageKind::Planetary)
            t.planetaries[static_cast<std::size_t>(index)].inputShaft = shaft;
        else
            t.belts[static_cast<std::size_t>(index)].inputShaft = shaft;
    }
}

void placeBearings(Train &t, const std::vector<MountedBearing> &bearings) {
    for (std::size_t b = 0; b < bearings.size(); ++b) {
        TrainBearing x;
        x.number = static_cast<int>(b) + 1;
        x.mounted = bearings[b];
        x.problem = bearingProblem(x.mounted.bearing);
        if (x.mounted.onPlanets()) {
            const auto it = std::find_if(
                t.planetaries.begin(), t.planetaries.end(),
                [&](const TrainPlanetary &p) { return p.extraIndex == x.mounted.planetsOf; });
            if (it == t.planetaries.end()) {
                x.place = QStringLiteral("сателлиты");
                if (x.problem.isEmpty())
                    x.problem = QStringLiteral("планетарной ступени этих сателлитов нет");
            } else {
                x.place = QStringLiteral("сателлиты планетарной %1").arg(it->number);
                if (it->figures)
                    x.speed = std::fabs(it->figures->planetRelative);
            }
        } else {
            x.place = QStringLiteral("вал %1").arg(x.mounted.shaft);
            if (x.mounted.shaft < 1 || x.mounted.shaft > t.shaftCount()) {
                if (x.problem.isEmpty())
                    x.problem = QStringLiteral("вала %1 нет").arg(x.mounted.shaft);
            } else {
                x.speed = t.shaft(x.mounted.shaft);
            }
        }
        if (x.problem.isEmpty()) {
            x.factors = bearingFactors(x.mounted.bearing);
            x.remarks = bearingRemarks(x.mounted.bearing);
        } else {
            x.speed.reset();
        }
        t.bearings.push_back(x);
    }
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

const TrainStage *Train::stageFrom(int shaft) const {
    return shaft >= 1 && shaft <= static_cast<int>(stages.size())
               ? &stages[static_cast<std::size_t>(shaft - 1)]
               : nullptr;
}

QString Train::stageName(const TrainStage &s) const {
    switch (s.kind) {
    case StageKind::Pair:
        return QStringLiteral("пара %1").arg(pairs[static_cast<std::size_t>(s.index)].number);
    case StageKind::Planetary:
        return QStringLiteral("планетарная %1")
            .arg(planetaries[static_cast<std::size_t>(s.index)].number);
    case StageKind::Belt:
        return QStringLiteral("ременная %1").arg(belts[static_cast<std::size_t>(s.index)].number);
    }
    return {};
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
                 const MachineDocument &document) {
    Train train;
    train.precisionFactor = precisionFactor;
    for (std::size_t i = 0; i < chain.pairs.size(); ++i)
        train.pairs.push_back(
            trainPair(static_cast<int>(i) + 1, chain.pairs[i], chain.sources[i], precisionFactor));
    placeStages(train, document.extraStages);
    const ReferenceSpeed &known = document.known;
    const KnownSpeeds speeds = known.text.isEmpty() ? KnownSpeeds{} : speedsFromKnown(train, known);
    if (speeds.shafts.empty()) {
        train.knownProblem = speeds.error;
        followTypedChain(train, precisionFactor);
    } else {
        train.followsKnown = true;
        for (std::size_t i = 0; i < train.stages.size(); ++i) {
            const TrainStage &s = train.stages[i];
            if (s.kind != StageKind::Pair) {
                setInput(train, s, speeds.shafts[i]);
                continue;
            }
            TrainPair &p = train.pairs[static_cast<std::size_t>(s.index)];
            setSpeeds(p, speeds.shafts[i], speeds.shafts[i + 1]);
            p.fr1TextDiffers = !readsAs(p.texts.fr1, p.fr1);
        }
    }
    fillShafts(train);
    placeBearings(train, document.bearings);
    return train;
}

Train buildTrain(const ChainPairs &chain, std::int32_t precisionFactor,
                 const ReferenceSpeed &known) {
    MachineDocument document;
    document.known = known;
    return buildTrain(chain, precisionFactor, document);
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
                         std::int32_t precisionFactor, const std::vector<ExtraStage> &extras) {
    const std::vector<ChainEntry> chain = chainOrder(static_cast<int>(pairs.size()), extras);
    const int shafts = static_cast<int>(chain.size()) + 1;
    if (pairs.empty())
        return refused(QStringLiteral("в агрегате нет рассчитанных пар"));
    if (reference.shaft < 1 || reference.shaft > shafts)
        return refused(
            QStringLiteral("вала %1 нет: у агрегата валы 1–%2").arg(reference.shaft).arg(shafts));
    const SpeedValue speed = referenceHertz(reference);
    if (!speed.hertz)
        return refused(speed.error);
    for (std::size_t i = 0; i < extras.size(); ++i)
        if (const QString why = extraProblem(extras[i]); !why.isEmpty())
            return refused(extraName(extras, static_cast<int>(i)) + QStringLiteral(": ") + why);

    // From the reference shaft to the shaft of pair 1's wheel 1: back
    // through the teeth (Fr1 = Fr2 x Z2 / Z1) and the other stages, or
    // forward through the stages before pair 1.
    const int first = static_cast<int>(
        std::find_if(chain.begin(), chain.end(),
                     [](const ChainEntry &c) { return c.kind == StageKind::Pair; }) -
        chain.begin());
    double fr1 = *speed.hertz;
    for (int k = reference.shaft - 2; k >= first; --k) {
        const ChainEntry &c = chain[static_cast<std::size_t>(k)];
        if (c.kind != StageKind::Pair) {
            fr1 = extraBefore(extras[static_cast<std::size_t>(c.index)], fr1);
            continue;
        }
        const auto teeth = teethOf(pairs[static_cast<std::size_t>(c.index)]);
        if (!teeth)
            return refused(
                QStringLiteral("пара %1: числа зубьев не рассчитываются").arg(c.index + 1));
        fr1 = fr1 * teeth->second / teeth->first;
    }
    for (int k = reference.shaft - 1; k < first; ++k)
        fr1 = extraAfter(extras[static_cast<std::size_t>(chain[static_cast<std::size_t>(k)].index)],
                         fr1);
    if (!std::isfinite(fr1) || !(fr1 > 0.0))
        return refused(QStringLiteral("скорость вала выходит за пределы чисел программы"));

    // Forward as the typed chain will follow it: after a pair its shown Fr2,
    // after another stage the exact speed it gives.
    ChainRewrite out;
    out.pairs = pairs;
    out.pairs[0].fr1 = calc::generalDecimal(fr1);
    double current = 0.0;
    for (std::size_t i = static_cast<std::size_t>(first); i < chain.size(); ++i) {
        const ChainEntry &c = chain[i];
        if (c.kind != StageKind::Pair) {
            current = extraAfter(extras[static_cast<std::size_t>(c.index)], current);
            continue;
        }
        GearPair &p = out.pairs[static_cast<std::size_t>(c.index)];
        if (c.index > 0 && chain[i - 1].kind != StageKind::Pair)
            p.fr1 = calc::generalDecimal(current);
        const PairCalc pc = calculatePair(p, precisionFactor);
        if (!pc.ok)
            return refused(QStringLiteral("пара %1: %2").arg(c.index + 1).arg(pc.problem));
        using calc::Entry;
        const double z1 = pc.table[Entry::Z1], z2 = pc.table[Entry::Z2];
        // Pair 1 from its own text; every later pair from the chain's speed,
        // which its text reads as.
        current = secondShaft(c.index == 0 ? pc.table[Entry::Fr1] : current, z1, z2);
        if (static_cast<std::size_t>(c.index) + 1 < out.pairs.size()) {
            if (i + 1 < chain.size() && chain[i + 1].kind == StageKind::Pair)
                out.pairs[static_cast<std::size_t>(c.index) + 1].fr1 = pc.fr2Text;
        } else {
            out.lastFr2Text = pc.fr2Text;
        }
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
