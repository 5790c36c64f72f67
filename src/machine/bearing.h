// Rolling bearings: the defect frequencies as multiples of the speed of the
// shaft (or planet) that carries them, from the geometry or from the
// factors a catalogue prints. Each formula once, with γ = d/D·cos φ:
//
//   inner ring turning (outer fixed)        outer ring turning (inner fixed)
//   FTF  = (1 − γ)/2                        FTF  = (1 + γ)/2
//   BPFO = Z·(1 − γ)/2                      BPFO = Z·(1 − γ)/2
//   BPFI = Z·(1 + γ)/2                      BPFI = Z·(1 + γ)/2
//   BSF  = D/(2d)·(1 − γ²)                  BSF  = D/(2d)·(1 − γ²)
//
// FTF is the cage's speed (fundamental train frequency); BPFO and BPFI the
// rate at which elements roll over a point of the outer and of the inner
// ring; BSF the element's spin relative to the cage, the rate at which a
// point of it meets one ring: a defect on an element strikes both rings, at
// 2·BSF (the "ball defect frequency" some catalogues print as BSF). The
// table shows both, each named.
//
// Catalogue factors are given for the inner ring turning, as catalogues
// print them; with the outer ring turning, FTF becomes 1 − FTF (the others
// stay: they depend on the relative speed of the rings only).
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace machine {

struct BearingGeometry {
    int elements = 0;               // Z
    double elementDiameter = 0;     // d, mm
    double pitchDiameter = 0;       // D, mm
    double contactAngleDegrees = 0; // φ
    bool operator==(const BearingGeometry &) const = default;
};

// Multiples of the speed of the turning ring over the fixed one.
struct BearingFactors {
    double ftf = 0, bpfo = 0, bpfi = 0, bsf = 0;
    bool operator==(const BearingFactors &) const = default;
};

enum class TurningRing : std::uint8_t { Inner, Outer };

// A catalogue's "BSF" is the spin (BSF) or the defect frequency (2·BSF).
enum class SpinConvention : std::uint8_t { Spin, BothRings };

struct Bearing {
    QString designation; // free text: "6205-2RS", "NU 2212"
    bool byGeometry = true;
    BearingGeometry geometry;
    BearingFactors catalogue; // as printed (inner ring turning)
    SpinConvention catalogueSpin = SpinConvention::Spin;
    TurningRing turning = TurningRing::Inner;
    bool operator==(const Bearing &) const = default;
};

inline constexpr int kDesignationLimit = 50;
inline constexpr int kElementLimit = 200;
inline constexpr double kBearingSizeLimit = 10000; // mm

// Why the bearing gives no frequencies; empty when it does.
QString bearingProblem(const Bearing &bearing);
// Catalogue factors that contradict each other (BPFO + BPFI is the number
// of elements, BPFO = Z·FTF): said, not refused.
QStringList bearingRemarks(const Bearing &bearing);

// The factors for the ring that turns (a bearing without a problem).
BearingFactors bearingFactors(const Bearing &bearing);

// The defect lines of a bearing, in this order everywhere: the table's rows,
// the lines of the machine, the export.
enum class BearingLine : std::uint8_t { Ftf, Bpfo, Bpfi, Bsf, BallDefect };
inline constexpr int kBearingLineCount = 5;

struct BearingLineRow {
    BearingLine line;
    const char *symbol; // "BPFO"
    const char *meaning;
};
inline constexpr std::array<BearingLineRow, kBearingLineCount> kBearingLines{{
    {BearingLine::Ftf, "FTF", "сепаратор"},
    {BearingLine::Bpfo, "BPFO", "дефект наружного кольца"},
    {BearingLine::Bpfi, "BPFI", "дефект внутреннего кольца"},
    {BearingLine::Bsf, "BSF", "вращение тела качения (о одно кольцо)"},
    {BearingLine::BallDefect, "2·BSF", "дефект тела качения (об оба кольца)"},
}};

// The multiple of the shaft's speed of one line.
double bearingFactor(const BearingFactors &factors, BearingLine line);

} // namespace machine
