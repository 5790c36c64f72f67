// The machine's speed from a peak: the engineer names the line a peak is
// (Fz of pair 2, say), and the known speed is changed so that this line sits
// on the peak. Every line of the list but Fm and its sidebands is a fixed
// multiple of the shaft speeds, so the speed scales by peak / line.
#pragma once

#include "machine/document.h"
#include "machine/lines.h"

#include <QString>
#include <optional>

namespace machine {
struct Train;
}

namespace spectrum {

// The change of speed allowed in one step: a slip is a few per cent, a
// larger change means the peak was taken for another line.
inline constexpr double kSpeedChangeLimitPercent = 30.0;

struct SpeedChange {
    std::optional<machine::ReferenceSpeed> known; // the new known speed
    double percent = 0.0;                         // its change
    QString text;                                 // what the user confirms, or why not
};

// The known speed stays at its shaft and unit when one is followed;
// otherwise the speed of shaft 1 in Гц becomes the known one.
SpeedChange speedForPeak(const machine::Train &train, const machine::MachineDocument &document,
                         const machine::Line &line, double peakHertz);

} // namespace spectrum
