// The one list of the machine's lines: every frequency a spectrum of the
// machine may show, from its train with exact speeds. Each shaft, each mesh
// Fz with its harmonics (and half orders), APF, HTF, Fm, the sideband
// families k·Fz ± m·Fr and k·Fm ± m·Fr by the shafts of the pair (or by
// every shaft of the machine), and the intermodulation of two meshes; each
// planetary stage's mesh with its sidebands and its fault frequencies (sun,
// ring, planet, planet pass, the planets' own speed); each belt's pass
// frequency; each bearing's FTF, BPFO, BPFI and BSF (whose second order is
// the element defect, 2·BSF) with the sidebands of the turning ring's
// defect by the speed of what carries it and of BSF by the cage. The train
// table, the machine-wide identification and every later consumer (the
// spectrum overlay) read this list; its names are made here, once.
#pragma once

#include "machine/train.h"

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

namespace machine {

// What a line multiplies: a shaft, or a frequency of a pair; Intermodulation
// is Fz of one pair plus or minus Fz of another.
enum class Base : std::uint8_t {
    Shaft,
    Fz,
    Apf,
    Htf,
    Fm,
    Intermodulation,
    Planetary, // of a planetary stage: `kind` is a PlanetaryLine
    Belt,      // a belt's pass frequency
    Bearing,   // of a bearing: `kind` is a BearingLine
};

// The lines of a planetary stage, in the order they are listed.
enum class PlanetaryLine : std::uint8_t {
    Mesh,        // Fz
    SunFault,    // N·|fs − fc|
    RingFault,   // N·|fr − fc|
    PlanetFault, // Fz/Zp; its second order is the fault on both flanks
    PlanetPass,  // N·|fc − f_fixed|
    PlanetSpeed, // the planets relative to the carrier
};

// What a sideband is spaced by: a shaft's speed, the planets' speed
// relative to their carrier, or a bearing's cage (FTF).
enum class Modulator : std::uint8_t { Shaft, Planets, Cage };

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
// modulates; for intermodulation, `other` is the second pair. A bearing's
// line has its shaft in `shaft` (number 0 on planets, with the planetary
// stage in `other`) whatever modulates it.
struct Line {
    double value = 0.0; // Hz
    double k = 1.0;
    int m = 0;
    int sign = 1;
    Base base = Base::Fz;
    int pair = 0; // the pair of Fz, APF, HTF, Fm (0 for a shaft line)
    LineShaft shaft;
    int other = 0;
    int component = 0;     // the planetary, belt or bearing number (1, 2, …)
    std::uint8_t kind = 0; // PlanetaryLine or BearingLine
    Modulator by = Modulator::Shaft;
};

// What the names of lines need beyond the train: the shafts' names and the
// bearings' designations given by the user.
struct LineNames {
    LineNames(std::vector<QString> shafts = {}, std::vector<QString> bearings = {})
        : shafts(std::move(shafts)), bearings(std::move(bearings)) {}
    std::vector<QString> shafts;
    std::vector<QString> bearings; // by bearing number − 1
};
LineNames lineNames(const MachineDocument &document);

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
// each stage that turns the indices of its own two shafts in that list.
struct LineShafts {
    std::vector<LineShaft> shafts;
    std::vector<std::pair<int, int>> ofPair;  // by pair index: input, output (-1: none)
    std::vector<std::pair<int, int>> ofStage; // by stage index
};
LineShafts lineShafts(const Train &train);

// The orders k of the options, in the order the list walks them.
std::vector<double> lineOrders(const LineOptions &options);

// Calls visit(const Line &) for every line, order by order: the shafts,
// then each calculated pair's Fz with its sidebands, APF, HTF and Fm with
// its sidebands, each planetary stage's lines, each belt's, each bearing's
// (whole orders only, for the faults of components); then the
// intermodulation. Lines at or below zero are left out.
template <class Visit>
void forEachLine(const Train &train, const LineOptions &options, Visit &&visit);

std::vector<Line> machineLines(const Train &train, const LineOptions &options);

// "Fz (пара 1) − 3·Fr (вал 2)", "0,5·Fz (пара 1)", "4·Fr (вал 1)",
// "APF (пара 2)", "Fz (пара 2) − Fz (пара 1)", "Fсолн (планетарная 1)",
// "BPFO подшипника 6205 (вал 1)", "BSF подшипника 6205 (вал 1) − FTF": an
// order or a count of 1 is left out. A shaft the user named is named so:
// "Fr (вал 3 «барабан»)"; a bearing without a designation by its number.
QString lineName(const Line &line, const LineNames &names = {});
QString shaftName(const LineShaft &shaft, const std::vector<QString> &shaftNames = {});

// The symbol of a planetary line: "Fz", "Fсолн", "Fвен", "Fсат", "Fпер", "Frсат".
QString planetarySymbol(PlanetaryLine line);

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

// `line` at order k with its sidebands by each of `by`.
template <class Visit>
void family(Line line, double frequency, double k, int maxSideband,
            const std::vector<LineShaft> &by, Visit &visit) {
    line.value = k * frequency;
    line.k = k;
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

template <class Visit>
void family(const TrainPair &p, Base base, double frequency, double k, int maxSideband,
            const std::vector<LineShaft> &by, Visit &visit) {
    family(Line{0.0, k, 0, 1, base, p.number, {}, 0}, frequency, k, maxSideband, by, visit);
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

// The shafts a stage's sidebands are spaced by: its own two, or every one.
inline const std::vector<LineShaft> &sidebandShafts(const LineShafts &shafts, std::size_t stage,
                                                    bool allShafts, std::vector<LineShaft> &own) {
    if (allShafts)
        return shafts.shafts;
    own.clear();
    const auto [in, out] = shafts.ofStage[stage];
    for (const int i : {in, out})
        if (i >= 0)
            own.push_back(shafts.shafts[static_cast<std::size_t>(i)]);
    return own;
}

template <class Visit>
void planetary(const TrainPlanetary &x, double k, const LineOptions &o,
               const std::vector<LineShaft> &by, Visit &visit) {
    const PlanetaryFigures &f = *x.figures;
    Line line{0.0, k, 0, 1, Base::Planetary, 0, {}, 0};
    line.component = x.number;
    const auto plain = [&](PlanetaryLine kind, double frequency) {
        line.kind = static_cast<std::uint8_t>(kind);
        line.value = k * frequency;
        if (line.value > 0.0)
            visit(std::as_const(line));
    };
    const bool whole = k == static_cast<int>(k);
    if (o.spacing) {
        if (whole)
            plain(PlanetaryLine::PlanetPass, f.planetPass);
        return;
    }
    line.kind = static_cast<std::uint8_t>(PlanetaryLine::Mesh);
    family(line, f.mesh, k, o.maxSideband, by, visit);
    if (!whole)
        return;
    plain(PlanetaryLine::SunFault, f.sunFault);
    plain(PlanetaryLine::RingFault, f.ringFault);
    plain(PlanetaryLine::PlanetFault, f.planetFault);
    plain(PlanetaryLine::PlanetPass, f.planetPass);
    plain(PlanetaryLine::PlanetSpeed, std::abs(f.planetRelative));
}

template <class Visit>
void bearing(const TrainBearing &b, int planetaryNumber, double k, const LineOptions &o,
             Visit &visit) {
    const double speed = *b.speed;
    const LineShaft mount{speed, b.mounted.onPlanets() ? 0 : b.mounted.shaft, 0};
    Line line{0.0, k, 0, 1, Base::Bearing, 0, mount, planetaryNumber};
    line.component = b.number;
    const Modulator carrier = b.mounted.onPlanets() ? Modulator::Planets : Modulator::Shaft;
    const BearingLine turningDefect =
        b.mounted.bearing.turning == TurningRing::Inner ? BearingLine::Bpfi : BearingLine::Bpfo;
    const double cage = b.factors.ftf * speed;
    for (const BearingLine kind :
         {BearingLine::Ftf, BearingLine::Bpfo, BearingLine::Bpfi, BearingLine::Bsf}) {
        if (o.spacing && kind != BearingLine::Ftf)
            continue;
        const double base = k * bearingFactor(b.factors, kind) * speed;
        line.kind = static_cast<std::uint8_t>(kind);
        line.value = base;
        line.m = 0;
        line.sign = 1;
        line.by = Modulator::Shaft;
        visit(std::as_const(line));
        const bool byCarrier = kind == turningDefect, byCage = kind == BearingLine::Bsf;
        if (o.spacing || !(byCarrier || byCage))
            continue;
        line.by = byCarrier ? carrier : Modulator::Cage;
        const double step = byCarrier ? speed : cage;
        for (int m = 1; m <= o.maxSideband; ++m)
            for (const int sign : {1, -1}) {
                line.value = base + sign * m * step;
                line.m = m;
                line.sign = sign;
                if (line.value > 0.0)
                    visit(std::as_const(line));
            }
    }
}

} // namespace detail

template <class Visit>
void forEachLine(const Train &train, const LineOptions &options, Visit &&visit) {
    const LineShafts shafts = lineShafts(train);
    const int sidebands = options.spacing ? 0 : options.maxSideband;
    std::vector<LineShaft> own;
    for (const double k : lineOrders(options)) {
        for (const LineShaft &s : shafts.shafts)
            visit(Line{k * s.frequency, k, 0, 1, Base::Shaft, 0, s, 0});
        for (std::size_t i = 0; i < train.stages.size(); ++i) {
            const TrainStage &stage = train.stages[i];
            const auto index = static_cast<std::size_t>(stage.index);
            if (stage.kind == StageKind::Planetary) {
                const TrainPlanetary &x = train.planetaries[index];
                if (x.figures)
                    detail::planetary(x, k, options,
                                      detail::sidebandShafts(shafts, i, options.allShafts, own),
                                      visit);
                continue;
            }
            if (stage.kind == StageKind::Belt) {
                const TrainBelt &x = train.belts[index];
                if (x.figures && !options.spacing && k == static_cast<int>(k))
                    visit(Line{k * x.figures->beltPass, k, 0, 1, Base::Belt, 0, {}, 0, x.number});
                continue;
            }
            const TrainPair &p = train.pairs[index];
            if (!p.calculated)
                continue;
            const std::vector<LineShaft> &by =
                detail::sidebandShafts(shafts, i, options.allShafts, own);
            if (!options.spacing)
                detail::family(p, Base::Fz, p.fz, k, sidebands, by, visit);
            if (p.mesh.known) {
                visit(Line{k * p.mesh.apf, k, 0, 1, Base::Apf, p.number, {}, 0});
                visit(Line{k * p.mesh.htf, k, 0, 1, Base::Htf, p.number, {}, 0});
            }
            if (!options.spacing && p.fm && *p.fm > 0.0)
                detail::family(p, Base::Fm, *p.fm, k, sidebands, by, visit);
        }
        if (k != static_cast<int>(k))
            continue;
        for (const TrainBearing &b : train.bearings) {
            if (!b.speed || !(*b.speed > 0.0))
                continue;
            int planetary = 0;
            for (const TrainPlanetary &x : train.planetaries)
                if (b.mounted.onPlanets() && x.extraIndex == b.mounted.planetsOf)
                    planetary = x.number;
            detail::bearing(b, planetary, k, options, visit);
        }
    }
    if (options.intermodulation && !options.spacing)
        detail::intermodulation(train, visit);
}

} // namespace machine
