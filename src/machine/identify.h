// The machine-wide identification of a peak: every line of the machine
// (lines.h) that lies within the tolerance of a frequency, lines of equal
// value gathered into one group, the groups ranked by distance but, within a
// band narrower than the spectrum's resolution, the simpler explanation
// first; and the spacing mode, which explains the distance between two
// peaks by a shaft, APF or HTF.
//
// Everything here works in hertz; the units the user reads and types are
// converted in identify_text.h.
#pragma once

#include "machine/lines.h"

#include <cstdint>
#include <vector>

namespace machine {

enum class IdentifyMode : std::uint8_t { Peak, Spacing };

struct IdentifyRequest {
    IdentifyMode mode = IdentifyMode::Peak;
    double target = 0.0;    // Hz, above 0
    double tolerance = 0.0; // Hz, not below 0
    int maxHarmonic = 10;   // 1 to 50
    bool halfStep = false;  // harmonics run 0,5, 1, 1,5 … rather than 1, 2, 3 …
    int maxSideband = 3;    // 0 to 20
    bool allShafts = false; // sidebands by every shaft, not only the pair's own
    bool intermodulation = false;
    // Distances closer than this are not told apart: the simpler explanation
    // goes first. Hz, not below 0.
    double resolution = 0.0;
};

// The widest tolerance a request may have, as a share of the peak: beyond it
// every line of a machine would match and nothing would be explained.
inline constexpr double kToleranceLimitShare = 0.1;

// The lines a request looks among.
LineOptions lineOptions(const IdentifyRequest &request);

// Lines of one value (mathematically equal, apart from rounding error), the
// simplest first: one row of the results.
struct MatchGroup {
    std::vector<Line> lines;
    double value = 0.0;    // Hz, of the simplest line
    double distance = 0.0; // value − target, Hz; 0 for an exact match
};

// All matches of the request among the train's lines, best first: by
// distance, and within a band of the resolution by simpler(); none is
// dropped.
std::vector<MatchGroup> identify(const Train &train, const IdentifyRequest &request);

} // namespace machine
