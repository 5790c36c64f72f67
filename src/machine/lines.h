// The one list of the machine's lines: every frequency a spectrum of the
// machine may show, from its train with exact speeds. Each shaft, each mesh
// Fz with its harmonics (and half orders), APF, HTF, Fm, the sideband
// families k·Fz ± m·Fr and k·Fm ± m·Fr by the shafts of the pair (or by
// every shaft of the machine), and the intermodulation of two meshes. The
// train table, the machine-wide identification and every later consumer
// (the spectrum overlay) read this list; its names are made here, once.
#pragma once

#include "machine/train.h"

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

namespace machine {

// What a line multiplies: a shaft, or a frequency of a pair; Intermodulation
// is Fz of one pair plus or minus Fz of another.
enum class Base : std::uint8_t { Shaft, Fz, Apf, Htf, Fm, Intermodulation };

// A shaft speed of the train. Shafts are numbered from the input (shaft k + 1
// carries wheel 2 of pair k and wheel 1 of pair k + 1). Where a pair's Fr1
// starts the chain afresh (typed mid-chain), its shaft has two speeds: the
// pair's own Fr1, and the Fr2 of the pair before, which is listed as "via"
// that pair.
struct LineShaft {
    double frequency = 0.0;
    int number = 1;
    int via = 0; // the pair whose Fr2 gives this other speed of the shaft, or 0
    bool operator==(const LineShaft &) const = default;
};

// A line k·base + sign·m·(a shaft's speed); m = 0 for a plain harmonic.
// For a shaft line `shaft` is the shaft; for a sideband, the shaft that
// modulates; for intermodulation, `other` is the second pair.
struct Line {
    double value = 0.0; // Hz
    double k = 1.0;
    int m = 0;
    int sign = 1;
    Base base = Base::Fz;
    int pair = 0; // the pair of Fz, APF, HTF, Fm (0 for a shaft line)
    LineShaft shaft;
    int other = 0;
};

// Which lines: the orders 1 … maxHarmonic (with the half orders when
// halfStep), each with the sidebands 1 … maxSideband by the pair's own
// shafts, or by every shaft when allShafts; intermodulation adds Fz of
// every pair plus and minus Fz of every other. The spacing set holds only
// what spaces the lines of a spectrum: shafts, APF and HTF at the small
// multiples 1 … 3 (and 1/2 with the half step).
struct LineOptions {
    int maxHarmonic = 1;
    bool halfStep = false;
    int maxSideband = 0;
    bool spacing = false;
    bool allShafts = false;
    bool intermodulation = false;
};

inline constexpr int kHarmonicLimit = 50;
inline constexpr int kSidebandLimit = 20;

// The shaft speeds of the train in the order the lines list them, and for
// each calculated pair the indices of its own two shafts in that list.
struct LineShafts {
    std::vector<LineShaft> shafts;
    std::vector<std::pair<int, int>> ofPair; // by pair index: input, output (-1: none)
};
LineShafts lineShafts(const Train &train);

// The orders k of the options, in the order the list walks them.
std::vector<double> lineOrders(const LineOptions &options);

// Calls visit(const Line &) for every line, order by order: the shafts,
// then each calculated pair's Fz with its sidebands, APF, HTF and Fm with
// its sidebands; then the intermodulation. Lines at or below zero are left
// out.
template <class Visit>
void forEachLine(const Train &train, const LineOptions &options, Visit &&visit);

std::vector<Line> machineLines(const Train &train, const LineOptions &options);

// "Fz (пара 1) − 3·Fr (вал 2)", "0,5·Fz (пара 1)", "4·Fr (вал 1)",
// "APF (пара 2)", "Fz (пара 2) − Fz (пара 1)": an order or a count of 1 is
// left out. A shaft the user named is named so: "Fr (вал 3 «барабан»)".
QString lineName(const Line &line, const std::vector<QString> &shaftNames = {});
QString shaftName(const LineShaft &shaft, const std::vector<QString> &shaftNames = {});

// The weight of a line in the simplicity order: k + m, where a half order
// n/2 weighs n + 1, so that the fundamental comes before its half and a whole
// order before the half order next to it.
int complexity(const Line &line);
// Strict simplicity order for equally distant lines: smaller complexity;
// a plain harmonic before a sideband combination; the smaller k; the shaft,
// then Fz, APF, HTF, Fm, intermodulation; + before −; the smaller m; then
// pair and shaft.
bool simpler(const Line &a, const Line &b);

// --- implementation of forEachLine

namespace detail {

template <class Visit>
void family(const TrainPair &p, Base base, double frequency, double k, int maxSideband,
            const std::vector<LineShaft> &by, Visit &visit) {
    Line line{k * frequency, k, 0, 1, base, p.number, {}, 0};
    visit(std::as_const(line));
    for (int m = 1; m <= maxSideband; ++m) {
        for (const LineShaft &s : by) {
            for (const int sign : {1, -1}) {
                line.value = k * frequency + sign * m * s.frequency;
                line.m = m;
                line.sign = sign;
                line.shaft = s;
                if (line.value > 0.0)
                    visit(std::as_const(line));
            }
        }
    }
}

template <class Visit> void intermodulation(const Train &train, Visit &visit) {
    for (const TrainPair &a : train.pairs)
        for (const TrainPair &b : train.pairs) {
            if (!a.calculated || !b.calculated || a.number >= b.number)
                continue;
            visit(Line{a.fz + b.fz, 1.0, 1, 1, Base::Intermodulation, a.number, {}, b.number});
            // The difference from the larger mesh, so that it is never negative.
            const bool aLarger = a.fz >= b.fz;
            const double difference = aLarger ? a.fz - b.fz : b.fz - a.fz;
            if (difference > 0.0)
                visit(Line{difference,
                           1.0,
                           1,
                           -1,
                           Base::Intermodulation,
                           aLarger ? a.number : b.number,
                           {},
                           aLarger ? b.number : a.number});
        }
}

} // namespace detail

template <class Visit>
void forEachLine(const Train &train, const LineOptions &options, Visit &&visit) {
    const LineShafts shafts = lineShafts(train);
    const int sidebands = options.spacing ? 0 : options.maxSideband;
    std::vector<LineShaft> by;
    for (const double k : lineOrders(options)) {
        for (const LineShaft &s : shafts.shafts)
            visit(Line{k * s.frequency, k, 0, 1, Base::Shaft, 0, s, 0});
        for (std::size_t i = 0; i < train.pairs.size(); ++i) {
            const TrainPair &p = train.pairs[i];
            if (!p.calculated)
                continue;
            if (options.allShafts) {
                by = shafts.shafts;
            } else {
                const auto [in, out] = shafts.ofPair[i];
                by = {shafts.shafts[static_cast<std::size_t>(in)],
                      shafts.shafts[static_cast<std::size_t>(out)]};
            }
            if (!options.spacing)
                detail::family(p, Base::Fz, p.fz, k, sidebands, by, visit);
            if (p.mesh.known) {
                visit(Line{k * p.mesh.apf, k, 0, 1, Base::Apf, p.number, {}, 0});
                visit(Line{k * p.mesh.htf, k, 0, 1, Base::Htf, p.number, {}, 0});
            }
            if (!options.spacing && p.fm && *p.fm > 0.0)
                detail::family(p, Base::Fm, *p.fm, k, sidebands, by, visit);
        }
    }
    if (options.intermodulation && !options.spacing)
        detail::intermodulation(train, visit);
}

} // namespace machine
