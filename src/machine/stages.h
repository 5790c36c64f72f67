// The stage kinds beside the parallel pairs, each formula once: the
// planetary stage (sun, planets, ring, carrier) by the Willis relation, and
// the belt drive. A stage joins the shaft before it to the shaft after it;
// its figures follow from the speed of the shaft before.
//
// Planetary: with fs, fc, fr the absolute speeds of sun, carrier and ring,
//   (fs − fc) / (fr − fc) = −Zr / Zs                      (Willis)
// one member fixed (speed 0), one on the shaft before, the third on the
// shaft after. The planets turn relative to the carrier at
// −(fs − fc)·Zs/Zp. The mesh frequency is Zs·|fs − fc| = Zr·|fr − fc|.
// Fault frequencies: a sun tooth meets the N planets at N·|fs − fc|, a ring
// tooth at N·|fr − fc|, a planet tooth meets the sun (or the ring) at Fz/Zp
// and both at 2·Fz/Zp; the planets pass a point of the fixed member at
// N·|fc − f_fixed|.
//
// Belt: the belt runs with the driving sheave, the driven one slips behind
// it: f2 = f1·D1/D2·(1 − s/100); the belt passes a point at π·D1·f1/L.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace machine {

// --- the planetary stage

enum class Member : std::uint8_t { Sun, Carrier, Ring };
inline constexpr int kMemberCount = 3;

struct PlanetaryStage {
    int sun = 0, planet = 0, ring = 0; // teeth Zs, Zp, Zr
    int planets = 0;                   // N
    Member fixed = Member::Ring;
    Member input = Member::Sun; // on the shaft before; the third member is on the shaft after
    bool operator==(const PlanetaryStage &) const = default;
};

inline constexpr int kPlanetaryTeethLimit = 10000;
inline constexpr int kPlanetLimit = 20;

// The member on the shaft after the stage.
Member outputMember(const PlanetaryStage &stage);

// Why the stage cannot turn (no teeth, a member both fixed and driven, …);
// empty when it can.
QString planetaryProblem(const PlanetaryStage &stage);
// What holds for most real stages but not for every one, and is said
// without refusing: the planets equally spaced only when (Zs + Zr)/N is
// whole; Zr = Zs + 2·Zp only without profile shift.
QStringList planetaryRemarks(const PlanetaryStage &stage);

// Speed of the shaft before over the speed of the shaft after, signed:
// negative when the output turns the other way (the fixed carrier).
double planetaryRatio(const PlanetaryStage &stage);

struct PlanetaryFigures {
    double sun = 0, carrier = 0, ring = 0, planet = 0; // absolute speeds, Hz, signed
    double planetRelative = 0;                         // planets relative to the carrier, signed
    double mesh = 0;                                   // Fz, Hz
    double sunFault = 0, ringFault = 0;                // N·|fs − fc|, N·|fr − fc|
    double planetFault = 0, planetFaultBoth = 0;       // Fz/Zp, 2·Fz/Zp
    double planetPass = 0; // N·|fc − f_fixed|: 0 when the carrier is fixed
    double output = 0;     // the speed of the shaft after, signed
};
// The figures for the shaft before turning at `inputHz` (a stage that can turn).
PlanetaryFigures planetaryFigures(const PlanetaryStage &stage, double inputHz);

// Where the strongest line near the k-th mesh harmonic lies, for a
// transducer on the fixed member, in orders n of the carrier's speed
// relative to it: k·Fz + n·|fc − f_fixed|. With N equally spaced planets the
// planets' vibrations add in phase only at multiples of N of that speed
// (P. D. McFadden, J. D. Smith, "An explanation for the asymmetry of the
// modulation sidebands about the tooth meshing frequency in epicyclic gear
// vibration", Proc. IMechE 199 C1 (1985) 65–70), so the line is at
// (k·Zf + n) ≡ 0 (mod N), Zf the teeth of the fixed member, with the
// smallest |n|; n = 0 when k·Zf is a multiple of N. Where two orders are
// equally near (N even), the upper one. None for a fixed carrier, where no
// planet passes the transducer.
std::optional<int> strongestMeshOrder(const PlanetaryStage &stage, int harmonic);

// --- the belt drive

struct BeltStage {
    double driving = 0, driven = 0; // pitch diameters D1, D2, mm
    double length = 0;              // belt pitch length L, mm
    double slipPercent = 0;         // 0 … kSlipLimit
    bool operator==(const BeltStage &) const = default;
};

inline constexpr double kSlipLimit = 20;
inline constexpr double kBeltSizeLimit = 100000; // mm

QString beltProblem(const BeltStage &stage);
// The belt shorter than the two half circumferences round its sheaves
// cannot reach round them: said, not refused (the centre distance is not
// known).
QStringList beltRemarks(const BeltStage &stage);

// Speed of the shaft before over the speed of the shaft after.
double beltRatio(const BeltStage &stage);

struct BeltFigures {
    double output = 0;   // Hz
    double beltPass = 0; // Hz: how often one point of the belt comes round
};
BeltFigures beltFigures(const BeltStage &stage, double inputHz);

// "солнце", "водило", "венец" (and in the other cases the grammar needs).
QString memberName(Member member);

} // namespace machine
