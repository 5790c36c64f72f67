// The machine document: everything the program knows about one machine
// beyond the pairs that the main window walks. The parallel pairs are the
// pair store's (the main window keeps them as the specification has them);
// the document holds the rest once: the machine's name and notes, the names
// of its shafts, the speed known at one shaft, and the unit its tables show.
// Stage kinds other than parallel pairs and the components of shafts arrive
// here as data, so that the windows, which are views of the document, need
// not change for them.
#pragma once

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

struct ReferenceSpeed {
    int shaft = 1; // 1 ... number of shafts
    QString text;  // as typed; the comma rule and the number syntax apply
    SpeedUnit unit = SpeedUnit::Hertz;
    bool operator==(const ReferenceSpeed &) const = default;
};

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
    ReferenceSpeed known; // an empty text: no speed known
    UnitChoice unit;      // what the tables show
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
