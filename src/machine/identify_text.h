// The identification as the user reads and types it: the frequency in Гц,
// об/мин or orders of a shaft, the tolerance in Гц or %, the checks of the
// typed texts with their messages, the line names ("Fz − 3·Fr2 (пара 1)")
// and the display texts of every column, with a decimal comma.
#pragma once

#include "machine/identify.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace machine {

enum class FrequencyUnit : std::uint8_t { Hertz, Rpm, Orders };
enum class ToleranceUnit : std::uint8_t { Hertz, Percent };

// The unit of the frequency typed and of the values shown. For orders,
// `shaft` is the index into IdentifyChain::shafts of the reference shaft.
struct UnitChoice {
    FrequencyUnit unit = FrequencyUnit::Hertz;
    int shaft = 0;
};

// What the window holds: two typed texts and the choices of its other inputs.
struct IdentifyInput {
    IdentifyMode mode = IdentifyMode::Peak;
    QString frequency;
    UnitChoice unit;
    QString tolerance;
    ToleranceUnit toleranceUnit = ToleranceUnit::Hertz;
    int maxHarmonic = 10;
    bool halfStep = false;
    int maxSideband = 3;
};

// A request in hertz, or the message that says what is wrong with the input.
struct RequestOutcome {
    std::optional<IdentifyRequest> request;
    QString message;
};

// The texts are read with the program's comma rule and number syntax.
RequestOutcome makeRequest(const IdentifyChain &chain, const IdentifyInput &input);

// The name of a shaft in the lists: "Fr1 (пара 1)", "Fr2 (пара 3)".
QString shaftName(const IdentifyShaft &shaft);

// "Fz − 3·Fr2 (пара 1)", "0,5·Fz (пара 1)", "4·Fr1 (пара 1)", "APF (пара 2)":
// a coefficient 1 of the harmonic is left out, a sideband's order is always
// written.
QString lineName(const Candidate &c);

// The unit as a column heading shows it: "Гц", "об/мин", "порядки Fr2 (пара 1)".
QString unitText(const IdentifyChain &chain, const UnitChoice &unit);

inline constexpr int kColumnCount = 4;

// Column headings: the line, its value, its distance in the unit and in %.
std::array<QString, kColumnCount> columnHeadings(const IdentifyChain &chain,
                                                 const UnitChoice &unit);

// One line of the results as it is shown, and the pair it brings into the
// main window when chosen.
struct MatchRow {
    std::array<QString, kColumnCount> texts;
    int pair = 1;
};

std::vector<MatchRow> matchRows(const IdentifyChain &chain, const IdentifyRequest &request,
                                const UnitChoice &unit, const std::vector<IdentifyMatch> &matches);

// The number in fixed notation with at most `digits` significant digits, no
// trailing zeros and a decimal comma; a forced sign when `sign` is set
// (except for 0).
QString significantText(double value, int digits, bool sign = false);

} // namespace machine
