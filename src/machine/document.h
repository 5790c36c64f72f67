// The machine document: everything the program knows about one machine
// beyond the pairs that the main window walks. The parallel pairs are the
// pair store's (the main window keeps them as its walk has always had them);
// the document holds the rest once: the machine's name and notes, the names
// of its shafts, the stages beside the pairs (planetary, belt) and where
// they sit among them, the bearings of the shafts, the speed known at one
// shaft, and the unit its tables show.
//
// The chain of stages is the pairs in their order with the other stages
// between them: a stage placed after k pairs comes after pair k (before
// pair 1 for k = 0), in the order of the list among those placed alike.
// Stage i joins shaft i to shaft i + 1.
#pragma once

#include "machine/bearing.h"
#include "machine/stages.h"

#include <QString>
#include <vector>

namespace machine {

// --- units

enum class Unit {
    Hertz,     // "Гц"
    PerMinute, // "об/мин" for shafts, "CPM" for the other frequencies
    Orders,    // multiples of the rotation frequency of one shaft
};

struct UnitChoice {
    Unit unit = Unit::Hertz;
    int ordersShaft = 1; // the shaft the orders refer to
    bool operator==(const UnitChoice &) const = default;
};

// --- a speed known at one shaft

enum class SpeedUnit { Hertz, PerMinute };

// A known shaft speed above this is a typing error, not a machine: 100 kHz
// is 6 000 000 об/мин, far beyond the fastest turbine rotor, and keeps every
// frequency derived from it (harmonics, sidebands) well inside a double.
inline constexpr double kKnownSpeedLimitHertz = 1e5;

struct ReferenceSpeed {
    int shaft = 1; // 1 ... number of shafts
    QString text;  // as typed; the comma rule and the number syntax apply
    SpeedUnit unit = SpeedUnit::Hertz;
    bool operator==(const ReferenceSpeed &) const = default;
};

// --- stages beside the pairs, and the bearings

enum class StageKind : std::uint8_t { Pair, Planetary, Belt };

struct ExtraStage {
    StageKind kind = StageKind::Planetary; // Planetary or Belt
    PlanetaryStage planetary;
    BeltStage belt;
    int afterPairs = 0; // how many parallel pairs come before it
    bool operator==(const ExtraStage &) const = default;
};
inline constexpr int kExtraStageLimit = 6;

// A bearing on a shaft, or on the planets of a planetary stage (the extra
// stage of that index, where the planets turn relative to the carrier).
struct MountedBearing {
    int shaft = 1;      // 1 … the shafts; 0 on planets
    int planetsOf = -1; // index into extraStages, or -1
    Bearing bearing;
    bool onPlanets() const { return planetsOf >= 0; }
    bool operator==(const MountedBearing &) const = default;
};
inline constexpr int kBearingLimit = 40;

// --- the document

inline constexpr int kNameLimit = 200;
inline constexpr int kNotesLimit = 20000;
inline constexpr int kShaftNameLimit = 50;
inline constexpr int kMeasurementPathLimit = 4096;

struct MachineDocument {
    QString name;  // at most kNameLimit characters
    QString notes; // at most kNotesLimit characters
    // The user's names of shafts 1, 2, …; an empty or missing name: none.
    std::vector<QString> shaftNames;
    ReferenceSpeed known;                // an empty text: no speed known
    UnitChoice unit;                     // what the tables show
    std::vector<ExtraStage> extraStages; // in chain order, afterPairs never falling
    std::vector<MountedBearing> bearings;
    // The last measurement opened in the spectrum window: relative to the
    // machine file's folder, or absolute while the machine has no file.
    QString measurement;
    bool operator==(const MachineDocument &) const = default;

    // The known speed, when one was typed.
    bool hasKnownSpeed() const { return !known.text.isEmpty(); }
    QString shaftName(int shaft) const {
        return shaft >= 1 && shaft <= static_cast<int>(shaftNames.size())
                   ? shaftNames[static_cast<std::size_t>(shaft - 1)]
                   : QString();
    }
};

} // namespace machine
