// The machine-wide identification of a peak: every harmonic and sideband
// combination of every pair of the chain that lies within the tolerance of a
// frequency, ranked by distance and then by simplicity; and the spacing mode,
// which explains the distance between two peaks by a shaft, APF or HTF.
//
// Everything here works in hertz; the units the user reads and types are
// converted in identify_text.h.
#pragma once

#include "machine/train.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace machine {

// One calculated pair of the chain as the identification reads it.
struct IdentifyPair {
    int number = 1; // 1 to 9, as the pair items name it
    double fr1 = 0.0;
    double fr2 = 0.0;
    double fz = 0.0;
    std::optional<double> fm;  // only when an intermediate frequency is given
    std::optional<double> apf; // only for whole teeth counts
    std::optional<double> htf; // only for whole teeth counts
};

// A shaft of the chain, named after the wheel of the pair it is listed with:
// the input shaft is Fr1 of the first pair, every other shaft Fr2 of the pair
// it leaves from.
enum class Wheel : std::uint8_t { First, Second };

struct IdentifyShaft {
    double frequency = 0.0;
    int pair = 1;
    Wheel wheel = Wheel::First;
};

struct IdentifyChain {
    std::vector<IdentifyPair> pairs;
    std::vector<IdentifyShaft> shafts;
};

// The shafts of a chain of pairs: the first pair's Fr1, then every pair's
// Fr2. A pair whose Fr1 is not the Fr2 of the pair before it (a chain typed
// with another speed mid-way) adds its Fr1 as a shaft of its own, so that
// the frequencies the main window shows for that pair are all searched.
std::vector<IdentifyShaft> shaftsOf(const std::vector<IdentifyPair> &pairs);

// The pairs of the train that calculate, with their shafts.
IdentifyChain identifyChain(const Train &train);

enum class IdentifyMode : std::uint8_t { Peak, Spacing };

struct IdentifyRequest {
    IdentifyMode mode = IdentifyMode::Peak;
    double target = 0.0;    // Hz, above 0
    double tolerance = 0.0; // Hz, not below 0
    int maxHarmonic = 10;   // 1 to 50
    bool halfStep = false;  // harmonics run 0,5, 1, 1,5 … rather than 1, 2, 3 …
    int maxSideband = 3;    // 0 to 20
};

inline constexpr int kHarmonicLimit = 50;
inline constexpr int kSidebandLimit = 20;

// What a line multiplies: a shaft, or a frequency of a pair.
enum class Base : std::uint8_t { Shaft, Fz, Apf, Htf, Fm };

// A candidate k·base + sign·m·(Fr1 or Fr2 of the pair); m = 0 for a plain
// harmonic. For a shaft, `pair` and `wheel` name it (see IdentifyShaft);
// for a sideband, `wheel` is the shaft of the pair that modulates.
struct Candidate {
    double value = 0.0;
    double k = 1.0;
    int m = 0;
    int sign = 1;
    Base base = Base::Fz;
    Wheel wheel = Wheel::First;
    int pair = 1;
};

struct IdentifyMatch {
    Candidate candidate;
    // value − target, Hz. Matches whose distances differ only by rounding
    // error (mathematically equal) share the smallest one of their group.
    double distance = 0.0;
};

// The weight of a line in the simplicity order: k + m, where a half order
// n/2 weighs n + 1, so that the fundamental comes before its half and a whole
// order before the half order next to it.
int complexity(const Candidate &c);

// Strict simplicity order for equally distant lines: smaller complexity;
// a plain harmonic before a sideband combination; the smaller k; the shaft,
// then Fz, APF, HTF, Fm; + before −; the smaller m; then pair and wheel.
bool simpler(const Candidate &a, const Candidate &b);

// All matches of the request, best first. Ties in distance are decided by
// simpler(); none is dropped.
std::vector<IdentifyMatch> identify(const IdentifyChain &chain, const IdentifyRequest &request);

} // namespace machine
