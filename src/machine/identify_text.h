// The identification as the user reads and types it: the frequency in the
// train's units (Гц, об/мин, orders of a shaft), the tolerance in that unit,
// in % or in lines of the spectrum's resolution, the checks of the typed
// texts with their messages, and the display texts of every column, with a
// decimal comma.
#pragma once

#include "machine/identify.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace machine {

// The tolerance in the peak's own unit, in % of the peak, or in lines of the
// spectrum's resolution.
enum class ToleranceUnit : std::uint8_t { PeakUnit, Percent, Lines };

// What the window holds: the typed texts and the choices of its other inputs.
struct IdentifyInput {
    IdentifyMode mode = IdentifyMode::Peak;
    QString frequency;
    UnitChoice unit; // also the unit of the values shown
    QString tolerance;
    ToleranceUnit toleranceUnit = ToleranceUnit::PeakUnit;
    // The spectrum's line spacing, in the peak's unit; empty: not given, and
    // differences under a tenth of the tolerance are not told apart.
    QString resolution;
    int maxHarmonic = 10;
    bool halfStep = false;
    int maxSideband = 3;
    bool allShafts = false;
    bool intermodulation = false;
};

// A request in hertz, or the message that says what is wrong with the input.
struct RequestOutcome {
    std::optional<IdentifyRequest> request;
    QString message;
};

// The texts are read with the program's comma rule and number syntax.
RequestOutcome makeRequest(const Train &train, const IdentifyInput &input);

inline constexpr int kColumnCount = 4;

// Column headings: the line, its value, its distance in the unit and in %.
std::array<QString, kColumnCount> columnHeadings(const UnitChoice &unit);

// One row of the results as it is shown, and its simplest line: the pair it
// brings into the main window when chosen.
struct MatchRow {
    std::array<QString, kColumnCount> texts;
    Line line;
};

// Values as the train table shows them (tableNumber), distances with 4
// significant digits and a sign, in the general decimal form. A list makes
// the texts of the rows it shows only.
// The lines of a group are named in one cell, joined by " = ".
MatchRow matchRow(const Train &train, const IdentifyRequest &request, const UnitChoice &unit,
                  const MatchGroup &group, const LineNames &names = {});
std::vector<MatchRow> matchRows(const Train &train, const IdentifyRequest &request,
                                const UnitChoice &unit, const std::vector<MatchGroup> &groups,
                                const LineNames &names = {});

} // namespace machine
