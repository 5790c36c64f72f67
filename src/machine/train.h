// The gear train of one machine as a whole, with exact kinematics: the pairs
// of the aggregate with every frequency the main window shows for them plus
// Na, APF and HTF, the shafts between them, the total ratio, the units the
// engineer reads in, and the chain that follows from a speed known at any
// shaft.
//
// The stages are the pairs with the planetary and belt stages of the
// document between them (stage_chain.h); shafts are numbered from the
// input: stage i joins shaft i to shaft i + 1, so without other stages shaft
// 1 carries wheel 1 of pair 1 and shaft k + 1 wheel 2 of pair k and wheel 1
// of pair k + 1. The speeds follow from the first pair's Fr1 (or from the
// known speed) through every stage's ratio and the teeth counts exactly, each pair computed as the
// main window's calculation computes it (wheel 2 is the smaller one when Z1 > Z2). The Fr1 texts
// that "Далее >" wrote for the pairs after the first are the Fr2 the main window showed, rounded
// for showing: they do not change the speeds, they only get a remark. A Fr1 typed mid-chain that
// does not follow from the pair before starts the chain afresh there and is marked as a broken
// chain. The precision setting changes how a value is shown, never a speed.
#pragma once

#include "aggregate/pair_store.h"
#include "machine/document.h"
#include "machine/mesh.h"
#include "machine/stage_chain.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace machine {

inline constexpr int kShaftLimit = aggregate::kPairCount + kExtraStageLimit + 1;

// Where the pair of a row comes from and what the note column says of it.
enum class PairSource : std::uint8_t {
    Stored,   // a slot of the pair store
    Edited,   // a stored pair, calculated in the input fields with other texts
    InFields, // the newest pair, calculated in the input fields, not stored yet
};

// One pair of the train.
struct TrainPair {
    int number = 0;            // 1 ... 9
    int inputShaft = 0;        // the shaft of wheel 1
    aggregate::GearPair texts; // as the store holds them (or as the input fields hold them)
    PairSource source = PairSource::Stored;
    bool inFields() const { return source != PairSource::Stored; }
    // The texts calculate; otherwise `problem` says why and no value below is set.
    bool calculated = false;
    QString problem;
    double z1 = 0.0, z2 = 0.0;
    double fr1 = 0.0, fr2 = 0.0, fz = 0.0; // Hz, exact
    double gearRatio = 0.0;                // larger teeth count over the smaller, >= 1
    std::optional<double> fm;              // when the Fm text is not "0"
    // The pair as its own texts give it, and the Fr2 text the main window
    // shows for it: what "Далее >" writes into the next pair.
    double typedFr1 = 0.0, typedFr2 = 0.0;
    QString fr2Text;
    MeshFigures mesh;
    // The Fr1 text does not follow from the pair before: the chain starts
    // afresh here; chainFr1 is the speed the chain gives (Hz), chainFr1Text
    // that speed as the main window would show it.
    bool chainBroken = false;
    double chainFr1 = 0.0;
    QString chainFr1Text;
    // The Fr1 text reads otherwise than the exact speed, by the rounding of
    // "Далее >" or because a known speed rules the chain: a quiet remark.
    bool fr1TextDiffers = false;
};

// A planetary or belt stage of the train: the speeds of its members follow
// from the speed of its input shaft, when that is known.
struct TrainPlanetary {
    int number = 0;     // 1, 2, … among the planetary stages
    int extraIndex = 0; // in the document's extraStages
    int inputShaft = 0;
    PlanetaryStage stage;
    QString problem; // it cannot turn
    QStringList remarks;
    std::optional<PlanetaryFigures> figures;
    double input = 0.0; // Hz, with the figures
};
struct TrainBelt {
    int number = 0;
    int extraIndex = 0;
    int inputShaft = 0;
    BeltStage stage;
    QString problem;
    QStringList remarks;
    std::optional<BeltFigures> figures;
    double input = 0.0;
};
// A stage in chain order: the index into pairs, planetaries or belts.
struct TrainStage {
    StageKind kind = StageKind::Pair;
    int index = 0;
    int inputShaft = 0;
};
// A bearing with the speed of what carries it (the shaft, or the planets
// relative to their carrier).
struct TrainBearing {
    int number = 0; // 1, 2, … in the document's order
    MountedBearing mounted;
    QString place; // "вал 2", "сателлиты планетарной 1"
    QString problem;
    QStringList remarks;
    BearingFactors factors;
    std::optional<double> speed; // Hz
};

struct Train {
    std::vector<TrainPair> pairs;
    std::vector<TrainPlanetary> planetaries;
    std::vector<TrainBelt> belts;
    std::vector<TrainStage> stages;
    std::vector<TrainBearing> bearings;
    // Rotation frequency of shaft k at index k - 1, Hz: stages.size() + 1
    // shafts, each the input speed of the stage it drives (the last one the
    // last stage's output). Unknown where the stage that would give it does
    // not turn.
    std::vector<std::optional<double>> shafts;
    // Speed of shaft 1 over speed of the last shaft (the product of every
    // stage's ratio): above 1 for a reduction. Absent when a stage does not
    // turn.
    std::optional<double> totalRatio;
    std::int32_t precisionFactor = 1;
    // The speeds follow the known speed (a speed was typed and it could be
    // followed); otherwise knownProblem says why not, when one was typed.
    bool followsKnown = false;
    QString knownProblem;

    int shaftCount() const { return static_cast<int>(shafts.size()); }
    // Frequency of shaft k (1-based), if known.
    std::optional<double> shaft(int k) const;
    // The stage whose input is shaft k, if any.
    const TrainStage *stageFrom(int shaft) const;
    // "пара 2", "планетарная 1", "ременная 1".
    QString stageName(const TrainStage &stage) const;
};

// What a train is built from: the pair store and the pair in the input fields.
struct TrainSource {
    aggregate::PairStore store;
    int currentPair = 1;
    aggregate::GearPair shown;    // the four input fields
    bool shownCalculated = false; // calculated, and unchanged since
    std::int32_t precisionFactor = 1;
};

// The pairs of the chain: the stored slots 1 ... n (the occupied slots from
// slot 1 on, up to the first free one), then the pair in the input fields
// when it is pair n + 1, has been calculated and is not stored yet. A
// stored pair calculated in the fields with other texts takes its slot's
// place: the pair shown is the pair used.
struct ChainPairs {
    std::vector<aggregate::GearPair> pairs;
    std::vector<PairSource> sources; // one per pair
    bool lastInFields() const { return !sources.empty() && sources.back() == PairSource::InFields; }
};
ChainPairs chainPairs(const TrainSource &source);
// The chain as it stands in the store (and the calculated newest pair),
// without the edits of a stored pair in the fields: what the write-back and
// the machine file work on.
ChainPairs storedChain(const TrainSource &source);

// The train of a chain, with the speeds from the first pair's Fr1, or from
// the known speed when one is given and can be followed; with the
// document's other stages and bearings.
Train buildTrain(const ChainPairs &chain, std::int32_t precisionFactor,
                 const MachineDocument &document);
Train buildTrain(const ChainPairs &chain, std::int32_t precisionFactor,
                 const ReferenceSpeed &known = {});
Train buildTrain(const std::vector<aggregate::GearPair> &pairs, bool lastInFields,
                 std::int32_t precisionFactor);

// --- units

// A frequency in hertz in the chosen unit, and back; orders are unknown
// while the shaft they refer to is unknown or stands still.
std::optional<double> toUnit(double hertz, const UnitChoice &unit, const Train &train);
std::optional<double> fromUnit(double value, const UnitChoice &unit, const Train &train);

// "Гц", "об/мин" / "CPM", "порядки вала 2".
QString unitName(const UnitChoice &unit, bool shaftFrequency);

// --- a speed at any shaft

QString speedUnitName(SpeedUnit unit); // "Гц", "об/мин"

// The typed speed in hertz, or the reason it is not a speed.
struct SpeedValue {
    std::optional<double> hertz;
    QString error;
};
SpeedValue referenceHertz(const ReferenceSpeed &reference);

// The chain that follows from the speed at the reference shaft, as the
// pairs would hold it: pair 1's Fr1 becomes the speed of its shaft carried
// through the teeth counts and the other stages, in the general decimal
// form, and every next pair's Fr1 the Fr2 text the main window shows for the
// pair before, as "Далее >" would set it, or, after a planetary or belt
// stage, the speed that stage gives in the general decimal form. Teeth
// counts and Fm stay. On failure `pairs` is empty and `error` says why.
struct ChainRewrite {
    std::vector<aggregate::GearPair> pairs;
    QString lastFr2Text; // the Fr2 text shown for the last pair: the next pair's Fr1
    QString error;
};
ChainRewrite followSpeed(const std::vector<aggregate::GearPair> &pairs,
                         const ReferenceSpeed &reference, std::int32_t precisionFactor,
                         const std::vector<ExtraStage> &extras = {});

// Where a rewritten chain goes: the stored pairs back into their slots; the
// input fields get the pair shown as a jump to it would load it (a stored
// pair, whose unsaved edits give way as on every move) or, for the pair in
// the fields that is not stored yet, its own texts with the new Fr1.
struct ChainWriteBack {
    std::vector<std::pair<int, aggregate::GearPair>> slotTexts; // slot number, texts
    std::optional<aggregate::GearPair> fields;
    // The pair shown is recalculated as the moves do: a stored pair then
    // counts as not calculated since it was loaded, as after a jump; the pair
    // in the fields keeps what its calculation sets. A newest pair that was
    // never calculated only gets its Fr1, as "Далее >" gives it, and is not
    // calculated.
    bool recalculate = false;
    bool clearCalculated = false;
};
ChainWriteBack planWriteBack(const TrainSource &source, const ChainRewrite &rewrite);

} // namespace machine
