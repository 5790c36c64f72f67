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

struct Match {
    Line line;
    double distance;
};

// Gathers the lines of equal value (within the tie margin of the group's
// first) into groups that share the smallest distance, simplest line first,
// and orders the groups by distance, the one below before the one above.
std::vector<MatchGroup> gather(std::vector<Match> &matches, double target) {
    std::sort(matches.begin(), matches.end(),
              [](const Match &a, const Match &b) { return a.distance < b.distance; });
    std::vector<MatchGroup> groups;
    auto first = matches.begin();
    while (first != matches.end()) {
        const double margin = tieMargin(target, first->line.value);
        auto last = first;
        double closest = first->distance;
        while (last != matches.end() && last->distance - first->distance <= margin) {
            if (std::abs(last->distance) < std::abs(closest))
                closest = last->distance;
            ++last;
        }
        MatchGroup g;
        for (auto it = first; it != last; ++it)
            g.lines.push_back(it->line);
        std::sort(g.lines.begin(), g.lines.end(), simpler);
        g.value = g.lines.front().value;
        // A distance within the margin of 0 is an exact match.
        g.distance = std::abs(closest) <= margin ? 0.0 : closest;
        groups.push_back(std::move(g));
        first = last;
    }
    std::stable_sort(groups.begin(), groups.end(), [](const MatchGroup &a, const MatchGroup &b) {
        const double da = std::abs(a.distance), db = std::abs(b.distance);
        return da != db ? da < db : a.distance < b.distance;
    });
    return groups;
}

// Within each band of distances no wider than the resolution (counted from
// the band's closest group), the simpler explanation first.
void rankWithinResolution(std::vector<MatchGroup> &groups, double resolution) {
    auto first = groups.begin();
    while (first != groups.end()) {
        const double reach = std::abs(first->distance) + resolution;
        auto last = first;
        while (last != groups.end() && std::abs(last->distance) <= reach)
            ++last;
        std::stable_sort(first, last, [](const MatchGroup &a, const MatchGroup &b) {
            return simpler(a.lines.front(), b.lines.front());
        });
        first = last;
    }
}

} // namespace

LineOptions lineOptions(const IdentifyRequest &request) {
    LineOptions o;
    o.maxHarmonic = request.maxHarmonic;
    o.halfStep = request.halfStep;
    o.maxSideband = request.maxSideband;
    o.spacing = request.mode == IdentifyMode::Spacing;
    o.allShafts = request.allShafts;
    o.intermodulation = request.intermodulation;
    return o;
}

std::vector<MatchGroup> identify(const Train &train, const IdentifyRequest &request) {
    std::vector<Match> matches;
    const double target = request.target;
    const double tolerance = request.tolerance;
    forEachLine(train, lineOptions(request), [&](const Line &line) {
        const double d = line.value - target;
        if (std::abs(d) <= tolerance + tieMargin(target, line.value))
            matches.push_back({line, d});
    });
    std::vector<MatchGroup> groups = gather(matches, target);
    if (request.resolution > 0.0)
        rankWithinResolution(groups, request.resolution);
    return groups;
}

} // namespace machine
