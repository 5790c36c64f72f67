// The gear train of one machine as a whole: the pairs of the aggregate with
// every frequency the main window shows for them plus Na, APF and HTF, the
// shafts between them, the total ratio, the units the engineer reads in, and
// the chain that follows from a speed known at any shaft.
//
// Shafts are numbered from the input: shaft 1 carries wheel 1 of pair 1,
// shaft k + 1 carries wheel 2 of pair k and wheel 1 of pair k + 1. Each pair
// is computed exactly as the main window's calculation computes it (wheel 2
// is the smaller one when Z1 > Z2), and a pair's Fr1 follows from the pair
// before when it is the Fr2 text the main window shows for that pair.
#pragma once

#include "aggregate/pair_store.h"
#include "machine/mesh.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace machine {

inline constexpr int kShaftLimit = aggregate::kPairCount + 1;

// One pair of the train.
struct TrainPair {
    int number = 0;            // 1 ... 9
    aggregate::GearPair texts; // as the store holds them (or as the input fields hold them)
    bool inFields = false;     // the calculated pair in the input fields, not stored yet
    // The texts calculate; otherwise `problem` says why and no value below is set.
    bool calculated = false;
    QString problem;
    double z1 = 0.0, z2 = 0.0;
    double fr1 = 0.0, fr2 = 0.0, fz = 0.0; // Hz
    double gearRatio = 0.0;                // larger teeth count over the smaller, >= 1
    std::optional<double> fm;              // when the Fm text is not "0"
    QString fr2Text;                       // Fr2 as the main window shows it
    MeshFigures mesh;
    // The Fr1 text does not follow from the pair before; chainFr1Text is
    // what the chain gives (the Fr2 text shown for the pair before).
    bool chainBroken = false;
    QString chainFr1Text;
};

struct Train {
    std::vector<TrainPair> pairs;
    // Rotation frequency of shaft k at index k - 1, Hz: pairs.size() + 1
    // shafts, each the Fr1 of the pair it drives (the last one the last
    // Fr2). Unknown where the pair that would give it does not calculate.
    std::vector<std::optional<double>> shafts;
    // Speed of shaft 1 over speed of the last shaft (the product of Z2 / Z1):
    // above 1 for a reduction. Absent when a pair does not calculate.
    std::optional<double> totalRatio;
    std::int32_t precisionFactor = 1;

    int shaftCount() const { return static_cast<int>(shafts.size()); }
    // Frequency of shaft k (1-based), if known.
    std::optional<double> shaft(int k) const;
};

// What a train is built from: the pair store and the pair in the input fields.
struct TrainSource {
    aggregate::PairStore store;
    int currentPair = 1;
    aggregate::GearPair shown;    // the four input fields
    bool shownCalculated = false; // PairCalculated of the pair in the fields
    std::int32_t precisionFactor = 1;
};

// The pair in the input fields counts as calculated while the calculated
// flag is set and the fields still hold what the last calculation read
// (a new aggregate blanks the fields but keeps the flag).
bool fieldsCalculated(std::int32_t pairCalculated, const std::array<QString, 4> &capturedTexts,
                      const aggregate::GearPair &fields);

// The pairs of the chain: the stored slots 1 ... n (the occupied slots from
// slot 1 on, up to the first free one), then the pair in the input fields
// when it is pair n + 1, has been calculated and is not stored yet.
struct ChainPairs {
    std::vector<aggregate::GearPair> pairs;
    bool lastInFields = false;
};
ChainPairs chainPairs(const TrainSource &source);

Train buildTrain(const std::vector<aggregate::GearPair> &pairs, bool lastInFields,
                 std::int32_t precisionFactor);
Train buildTrain(const TrainSource &source);

// --- units

enum class Unit {
    Hertz,     // "Гц"
    PerMinute, // "об/мин" for shafts, "CPM" for the other frequencies
    Orders,    // multiples of the rotation frequency of one shaft
};

struct UnitChoice {
    Unit unit = Unit::Hertz;
    int ordersShaft = 1; // the shaft the orders refer to
};

// A frequency in hertz in the chosen unit; orders are unknown while the
// shaft they refer to is unknown or stands still.
std::optional<double> toUnit(double hertz, const UnitChoice &unit, const Train &train);

// "Гц", "об/мин" / "CPM", "порядки вала 2".
QString unitName(const UnitChoice &unit, bool shaftFrequency);

// --- a speed at any shaft

enum class SpeedUnit { Hertz, PerMinute };

struct ReferenceSpeed {
    int shaft = 1; // 1 ... number of shafts
    QString text;  // as typed; the comma rule and the number syntax apply
    SpeedUnit unit = SpeedUnit::Hertz;
    bool operator==(const ReferenceSpeed &) const = default;
};

QString speedUnitName(SpeedUnit unit); // "Гц", "об/мин"

// The typed speed in hertz, or the reason it is not a speed.
struct SpeedValue {
    std::optional<double> hertz;
    QString error;
};
SpeedValue referenceHertz(const ReferenceSpeed &reference);

// The chain that follows from the speed at the reference shaft: pair 1's
// Fr1 becomes that shaft's speed carried back through the teeth counts, in
// the general decimal form, and every next pair's Fr1 the Fr2 text the main
// window shows for the pair before, as "Далее >" would set it. Teeth counts
// and Fm stay. On failure `pairs` is empty and `error` says why.
struct ChainRewrite {
    std::vector<aggregate::GearPair> pairs;
    QString lastFr2Text; // the Fr2 text shown for the last pair: the next pair's Fr1
    QString error;
};
ChainRewrite followSpeed(const std::vector<aggregate::GearPair> &pairs,
                         const ReferenceSpeed &reference, std::int32_t precisionFactor);

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
