// The window test over the machine's lines, and the ranking.
#include "machine/identify.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace machine {

namespace {

// Mathematically equal values reached by different products differ in their
// last bits only; 1e-9 of the values compared is far above that and far
// below any difference an analyser resolves. It scales with the values, not
// with the tolerance, so a wide window does not blur the distances in it.
constexpr double kTieRelative = 1e-9;

double tieMargin(double target, double value) {
    return kTieRelative * std::max(std::abs(target), std::abs(value));
}

// Sorts by distance, then gathers each run of distances within the tie
// margin of the run's first (smallest) one into a group that shares that
// distance and is ordered by simplicity.
void rank(std::vector<IdentifyMatch> &matches, double target) {
    std::sort(matches.begin(), matches.end(), [](const IdentifyMatch &a, const IdentifyMatch &b) {
        return std::abs(a.distance) < std::abs(b.distance);
    });
    auto first = matches.begin();
    while (first != matches.end()) {
        const double margin = tieMargin(target, first->line.value);
        // A distance within the margin of 0 is an exact match.
        const double lead = std::abs(first->distance) <= margin ? 0.0 : std::abs(first->distance);
        auto last = first;
        const double reach = std::abs(first->distance) + margin;
        while (last != matches.end() && std::abs(last->distance) <= reach)
            ++last;
        std::sort(first, last, [](const IdentifyMatch &a, const IdentifyMatch &b) {
            return simpler(a.line, b.line);
        });
        for (auto it = first; it != last; ++it)
            it->distance = lead == 0.0 ? 0.0 : std::copysign(lead, it->distance);
        first = last;
    }
}

} // namespace

LineOptions lineOptions(const IdentifyRequest &request) {
    return {request.maxHarmonic, request.halfStep, request.maxSideband,
            request.mode == IdentifyMode::Spacing};
}

std::vector<IdentifyMatch> identify(const Train &train, const IdentifyRequest &request) {
    std::vector<IdentifyMatch> matches;
    const double target = request.target;
    const double tolerance = request.tolerance;
    forEachLine(train, lineOptions(request), [&](const Line &line) {
        const double d = line.value - target;
        if (std::abs(d) <= tolerance + tieMargin(target, line.value))
            matches.push_back({line, d});
    });
    rank(matches, target);
    return matches;
}

} // namespace machine
