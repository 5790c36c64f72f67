// How the teeth of a pair meet: the number of assembly phases Na = gcd(Z1, Z2),
// the assembly-phase frequency Fz / Na and the hunting-tooth frequency
// Fz / lcm(Z1, Z2) with its period. They exist only for whole teeth counts.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace machine {

// Every whole number up to 2^53 is exact in a double; above it a teeth count
// can no longer be told from its neighbours.
inline constexpr double kLargestWholeTeeth = 9007199254740992.0;

// The teeth count as a whole number >= 1, or nothing.
std::optional<std::uint64_t> wholeTeeth(double z);

struct MeshFigures {
    // Both teeth counts are whole numbers >= 1; otherwise `reason` says why
    // the figures below do not exist.
    bool known = false;
    QString reason;
    std::uint64_t na = 0; // number of assembly phases, gcd(Z1, Z2)
    double apf = 0.0;     // assembly-phase frequency Fz / Na, Hz
    double htf = 0.0;     // hunting-tooth frequency Fz / lcm(Z1, Z2), Hz
    // 1 / HTF in seconds: the shortest record in which the same two teeth
    // meet again. Absent when HTF is zero or its inverse is beyond a double.
    std::optional<double> htfPeriod;
    bool hunting = false; // Na = 1: every tooth meets every tooth of the other wheel
};

// z1, z2 as the calculation parsed them; fz = Z1 x Fr1 of the same pair.
MeshFigures meshFigures(double z1, double z2, double fz);

} // namespace machine
