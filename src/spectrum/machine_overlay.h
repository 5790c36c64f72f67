// The machine on a spectrum: its lines (from the one list, machine/lines.h)
// sorted by frequency and grouped in the families the list holds, the
// explanation of each peak by the machine-wide identification, and the
// peak table as the user reads and exports it.
#pragma once

#include "machine/identify.h"
#include "machine/table_export.h"
#include "spectrum/peaks.h"

#include <QByteArray>
#include <QStringList>

namespace spectrum {

// A family of lines: what they multiply, and whether they are sidebands.
struct Family {
    machine::Base base = machine::Base::Shaft;
    bool sideband = false;
    bool operator==(const Family &) const = default;
};
Family familyOf(const machine::Line &line);
// "Валы", "Fz", "Боковые Fz", "APF", "HTF", "Fm", "Боковые Fm".
QString familyName(const Family &family);

struct Overlay {
    std::vector<machine::Line> lines; // by value, ascending
    std::vector<Family> families;     // as the list holds them, in its order
};
// The lines of `options` within (0, top] Hz.
Overlay machineOverlay(const machine::Train &train, const machine::LineOptions &options,
                       double top);

// The line nearest to `frequency` among those of the families switched on
// (a predicate), if any.
template <class On>
const machine::Line *nearestLine(const Overlay &overlay, double frequency, On &&on);

// What the identification makes of a peak: its ranked explanations within
// the tolerance, the best first.
struct PeakNote {
    Peak peak;
    std::vector<machine::MatchGroup> matches; // best first
};

struct NoteSettings {
    double tolerance = 0.0; // Hz, or per cent of each peak's frequency
    bool percent = false;
    int maxHarmonic = 10;
    int maxSideband = 3;
};
std::vector<PeakNote> notePeaks(const machine::Train &train, const std::vector<Peak> &peaks,
                                const NoteSettings &settings);

// The peak table's texts: number, frequency in the unit, amplitude, the best
// explanation or "не объяснён", its distance in the unit (three significant
// digits).
inline constexpr int kPeakColumnCount = 5;
QStringList peakHeadings(const machine::UnitChoice &unit);
// The explanation names every line of the best group, with the user's names
// of shafts and bearings.
QStringList peakRow(const machine::Train &train, const machine::UnitChoice &unit,
                    const PeakNote &note, int number, const machine::LineNames &names = {});
// The table as CSV in either convention of the train table's export
// (semicolons and decimal comma, or commas and decimal point), CR LF, UTF-8
// with a byte-order mark, every cell through machine::spreadsheetCell.
QByteArray peakCsv(const machine::Train &train, const machine::UnitChoice &unit,
                   const std::vector<PeakNote> &notes, const machine::LineNames &names = {},
                   machine::CsvConvention convention = machine::CsvConvention::Russian);

// --- implementation

template <class On>
const machine::Line *nearestLine(const Overlay &overlay, double frequency, On &&on) {
    const machine::Line *best = nullptr;
    double bestDistance = 0.0;
    for (const machine::Line &l : overlay.lines) {
        const double d = std::abs(l.value - frequency);
        if (on(familyOf(l)) && (!best || d < bestDistance)) {
            best = &l;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace spectrum
