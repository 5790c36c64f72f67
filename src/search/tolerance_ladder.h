// StepTolerance: the arrows beside the tolerance box (and the keys Home and
// End) move the tolerance along a ladder of rungs 0,001 … 0,009, 0,01 … 0,09,
// 0,1 … 0,9, 1 … 10, wrapping at both ends.
#pragma once

#include <QString>
#include <optional>

namespace search {

enum class ToleranceDirection { Up, Down };

// The tolerance text, cut to 100 characters, through the comma rule and the
// number syntax; its value moved one rung, in the general decimal form. No
// value when the text does not parse (the box then stays as it is).
std::optional<QString> StepTolerance(const QString &toleranceText, ToleranceDirection direction);

// The value rule alone, on numbers.
double stepToleranceValue(double v, ToleranceDirection direction);

} // namespace search
