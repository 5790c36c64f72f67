// The tolerance ladder. A value between two rungs moves by the step of its
// decade; the texts written back pass through the 15-digit general decimal
// form, which also takes sums such as 0,2 + 0,1 back onto the rung 0,3.
#include "search/tolerance_ladder.h"

#include "calc/input_text.h"

namespace search {

namespace {

constexpr int kToleranceTextLimit = 100;

double up(double v) {
    if (v >= 10)
        return 0.001;
    if (v >= 1)
        return v + 1;
    if (v >= 0.9)
        return 1;
    if (v >= 0.1)
        return v + 0.1;
    if (v >= 0.09)
        return 0.1;
    if (v >= 0.01)
        return v + 0.01;
    if (v >= 0.009)
        return 0.01;
    if (v >= 0.001)
        return v + 0.001;
    return 0.001;
}

double down(double v) {
    if (v > 10)
        return 10;
    if (v >= 2)
        return v - 1;
    if (v >= 1)
        return 0.9;
    if (v >= 0.2)
        return v - 0.1;
    if (v >= 0.1)
        return 0.09;
    if (v >= 0.02)
        return v - 0.01;
    if (v >= 0.01)
        return 0.009;
    if (v > 0.001) {
        const double w = v - 0.001;
        return w < 0.001 ? 10 : w;
    }
    return 10;
}

} // namespace

double stepToleranceValue(double v, ToleranceDirection direction) {
    return direction == ToleranceDirection::Up ? up(v) : down(v);
}

std::optional<QString> StepTolerance(const QString &toleranceText, ToleranceDirection direction) {
    const calc::ParsedNumber p = calc::parseNumber(
        calc::applyCommaRule(calc::leftCharacters(toleranceText, kToleranceTextLimit)));
    if (p.status != 0)
        return std::nullopt;
    return calc::generalDecimal(stepToleranceValue(p.value, direction));
}

} // namespace search
