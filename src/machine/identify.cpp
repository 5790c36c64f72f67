// Candidates of the chain, the window test and the ranking.
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

// The orders k of the request: 1 … max (or 0,5 … max in steps of 0,5); in the
// spacing mode the small multiples 1 … 3 (and 1/2 with the half step).
std::vector<double> harmonics(const IdentifyRequest &r) {
    std::vector<double> ks;
    const bool spacing = r.mode == IdentifyMode::Spacing;
    const int top = spacing ? 3 : r.maxHarmonic;
    for (int twice = 1; twice <= 2 * top; ++twice) {
        const bool half = twice % 2 == 1;
        if (half && !(r.halfStep && (!spacing || twice == 1)))
            continue;
        ks.push_back(twice / 2.0);
    }
    return ks;
}

class Collector {
public:
    Collector(const IdentifyRequest &r, std::vector<IdentifyMatch> &out)
        : target(r.target), tolerance(r.tolerance), out(out) {}

    void add(const Candidate &c) {
        const double d = c.value - target;
        if (std::abs(d) <= tolerance + tieMargin(target, c.value))
            out.push_back({c, d});
    }

    // k·base and, with sidebands, k·base ± m·Fr1 and k·base ± m·Fr2 of the pair.
    void addFamily(const IdentifyPair &p, Base base, double frequency, double k, int maxSideband) {
        Candidate c{k * frequency, k, 0, 1, base, Wheel::First, p.number};
        add(c);
        for (int m = 1; m <= maxSideband; ++m) {
            for (const Wheel w : {Wheel::First, Wheel::Second}) {
                const double side = m * (w == Wheel::First ? p.fr1 : p.fr2);
                for (const int sign : {1, -1}) {
                    c.value = k * frequency + sign * side;
                    c.m = m;
                    c.sign = sign;
                    c.wheel = w;
                    if (c.value > 0.0)
                        add(c);
                }
            }
        }
    }

private:
    double target;
    double tolerance;
    std::vector<IdentifyMatch> &out;
};

void collectPeak(const IdentifyChain &chain, const IdentifyRequest &r, double k, Collector &c) {
    for (const IdentifyShaft &s : chain.shafts)
        c.add({k * s.frequency, k, 0, 1, Base::Shaft, s.wheel, s.pair});
    for (const IdentifyPair &p : chain.pairs) {
        c.addFamily(p, Base::Fz, p.fz, k, r.maxSideband);
        if (p.apf)
            c.add({k * *p.apf, k, 0, 1, Base::Apf, Wheel::First, p.number});
        if (p.htf)
            c.add({k * *p.htf, k, 0, 1, Base::Htf, Wheel::First, p.number});
        if (p.fm)
            c.addFamily(p, Base::Fm, *p.fm, k, r.maxSideband);
    }
}

void collectSpacing(const IdentifyChain &chain, double k, Collector &c) {
    for (const IdentifyShaft &s : chain.shafts)
        c.add({k * s.frequency, k, 0, 1, Base::Shaft, s.wheel, s.pair});
    for (const IdentifyPair &p : chain.pairs) {
        if (p.apf)
            c.add({k * *p.apf, k, 0, 1, Base::Apf, Wheel::First, p.number});
        if (p.htf)
            c.add({k * *p.htf, k, 0, 1, Base::Htf, Wheel::First, p.number});
    }
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
        const double margin = tieMargin(target, first->candidate.value);
        // A distance within the margin of 0 is an exact match.
        const double lead = std::abs(first->distance) <= margin ? 0.0 : std::abs(first->distance);
        auto last = first;
        const double reach = std::abs(first->distance) + margin;
        while (last != matches.end() && std::abs(last->distance) <= reach)
            ++last;
        std::sort(first, last, [](const IdentifyMatch &a, const IdentifyMatch &b) {
            return simpler(a.candidate, b.candidate);
        });
        for (auto it = first; it != last; ++it)
            it->distance = lead == 0.0 ? 0.0 : std::copysign(lead, it->distance);
        first = last;
    }
}

bool sameShaft(double a, double b) {
    return std::abs(a - b) <= 1e-12 * std::max(a, b);
}

} // namespace

std::vector<IdentifyShaft> shaftsOf(const std::vector<IdentifyPair> &pairs) {
    std::vector<IdentifyShaft> shafts;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const IdentifyPair &p = pairs[i];
        if (i == 0 || !sameShaft(p.fr1, pairs[i - 1].fr2))
            shafts.push_back({p.fr1, p.number, Wheel::First});
        shafts.push_back({p.fr2, p.number, Wheel::Second});
    }
    return shafts;
}

IdentifyChain identifyChain(const Train &train) {
    IdentifyChain chain;
    for (const TrainPair &t : train.pairs) {
        if (!t.calculated)
            continue;
        IdentifyPair p;
        p.number = t.number;
        p.fr1 = t.fr1;
        p.fr2 = t.fr2;
        p.fz = t.fz;
        if (t.fm && *t.fm > 0.0)
            p.fm = t.fm;
        if (t.mesh.known) {
            p.apf = t.mesh.apf;
            p.htf = t.mesh.htf;
        }
        chain.pairs.push_back(p);
    }
    chain.shafts = shaftsOf(chain.pairs);
    return chain;
}

int complexity(const Candidate &c) {
    const auto twice = static_cast<int>(std::lround(2 * c.k));
    const int weight = twice % 2 == 0 ? twice / 2 : twice + 1;
    return weight + c.m;
}

bool simpler(const Candidate &a, const Candidate &b) {
    const auto key = [](const Candidate &c) {
        return std::make_tuple(complexity(c), c.m != 0, c.k, static_cast<int>(c.base), -c.sign, c.m,
                               c.pair, static_cast<int>(c.wheel));
    };
    return key(a) < key(b);
}

std::vector<IdentifyMatch> identify(const IdentifyChain &chain, const IdentifyRequest &request) {
    std::vector<IdentifyMatch> matches;
    Collector collector(request, matches);
    for (const double k : harmonics(request)) {
        if (request.mode == IdentifyMode::Spacing)
            collectSpacing(chain, k, collector);
        else
            collectPeak(chain, request, k, collector);
    }
    rank(matches, request.target);
    return matches;
}

} // namespace machine
