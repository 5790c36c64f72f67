// The one list of the machine's lines: every frequency a spectrum of the
// machine may show, from its train with exact speeds. Each shaft, each mesh
// Fz with its harmonics (and half orders), APF, HTF, Fm, and the sideband
// families k·Fz ± m·Fr and k·Fm ± m·Fr by the shafts of the pair. The train
// table, the machine-wide identification and every later consumer (the
// spectrum overlay) read this list; its names are made here, once.
#pragma once

#include "machine/train.h"

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

namespace machine {

// What a line multiplies: a shaft, or a frequency of a pair.
enum class Base : std::uint8_t { Shaft, Fz, Apf, Htf, Fm };

// A shaft of the chain, named after the wheel of the pair it is listed with:
// the input shaft is Fr1 of the first pair, every other shaft Fr2 of the
// pair it leaves from. A pair whose Fr1 starts the chain afresh (typed
// mid-chain) adds its Fr1 as a shaft of its own.
enum class Wheel : std::uint8_t { First, Second };

// A line k·base + sign·m·(Fr1 or Fr2 of the pair); m = 0 for a plain
// harmonic. For a shaft, `pair` and `wheel` name it; for a sideband,
// `wheel` is the shaft of the pair that modulates.
struct Line {
    double value = 0.0; // Hz
    double k = 1.0;
    int m = 0;
    int sign = 1;
    Base base = Base::Fz;
    Wheel wheel = Wheel::First;
    int pair = 1;
};

// Which lines: the orders 1 … maxHarmonic (with the half orders when
// halfStep), each with the sidebands 1 … maxSideband. The spacing set holds
// only what spaces the lines of a spectrum: shafts, APF and HTF at the small
// multiples 1 … 3 (and 1/2 with the half step).
struct LineOptions {
    int maxHarmonic = 1;
    bool halfStep = false;
    int maxSideband = 0;
    bool spacing = false;
};

inline constexpr int kHarmonicLimit = 50;
inline constexpr int kSidebandLimit = 20;

// The shafts of the train in the order the lines list them.
struct LineShaft {
    double frequency = 0.0;
    int pair = 1;
    Wheel wheel = Wheel::First;
};
std::vector<LineShaft> lineShafts(const Train &train);

// The orders k of the options, in the order the list walks them.
std::vector<double> lineOrders(const LineOptions &options);

// Calls visit(const Line &) for every line, order by order: the shafts,
// then each calculated pair's Fz with its sidebands, APF, HTF and Fm with its
// sidebands. Sidebands below zero are left out.
template <class Visit>
void forEachLine(const Train &train, const LineOptions &options, Visit &&visit);

std::vector<Line> machineLines(const Train &train, const LineOptions &options);

// "Fz − 3·Fr2 (пара 1)", "0,5·Fz (пара 1)", "4·Fr1 (пара 1)", "APF (пара 2)":
// a coefficient 1 of the harmonic is left out, a sideband's order is always
// written.
QString lineName(const Line &line);
// The name of a shaft in the lists: "Fr1 (пара 1)", "Fr2 (пара 3)".
QString shaftName(const LineShaft &shaft);

// The weight of a line in the simplicity order: k + m, where a half order
// n/2 weighs n + 1, so that the fundamental comes before its half and a whole
// order before the half order next to it.
int complexity(const Line &line);
// Strict simplicity order for equally distant lines: smaller complexity;
// a plain harmonic before a sideband combination; the smaller k; the shaft,
// then Fz, APF, HTF, Fm; + before −; the smaller m; then pair and wheel.
bool simpler(const Line &a, const Line &b);

// --- implementation of forEachLine

namespace detail {

template <class Visit>
void family(const TrainPair &p, Base base, double frequency, double k, int maxSideband,
            Visit &visit) {
    Line line{k * frequency, k, 0, 1, base, Wheel::First, p.number};
    visit(std::as_const(line));
    for (int m = 1; m <= maxSideband; ++m) {
        for (const Wheel w : {Wheel::First, Wheel::Second}) {
            const double side = m * (w == Wheel::First ? p.fr1 : p.fr2);
            for (const int sign : {1, -1}) {
                line.value = k * frequency + sign * side;
                line.m = m;
                line.sign = sign;
                line.wheel = w;
                if (line.value > 0.0)
                    visit(std::as_const(line));
            }
        }
    }
}

} // namespace detail

template <class Visit>
void forEachLine(const Train &train, const LineOptions &options, Visit &&visit) {
    const std::vector<LineShaft> shafts = lineShafts(train);
    const int sidebands = options.spacing ? 0 : options.maxSideband;
    for (const double k : lineOrders(options)) {
        for (const LineShaft &s : shafts)
            visit(Line{k * s.frequency, k, 0, 1, Base::Shaft, s.wheel, s.pair});
        for (const TrainPair &p : train.pairs) {
            if (!p.calculated)
                continue;
            if (!options.spacing)
                detail::family(p, Base::Fz, p.fz, k, sidebands, visit);
            if (p.mesh.known) {
                visit(Line{k * p.mesh.apf, k, 0, 1, Base::Apf, Wheel::First, p.number});
                visit(Line{k * p.mesh.htf, k, 0, 1, Base::Htf, Wheel::First, p.number});
            }
            if (!options.spacing && p.fm && *p.fm > 0.0)
                detail::family(p, Base::Fm, *p.fm, k, sidebands, visit);
        }
    }
}

} // namespace machine
