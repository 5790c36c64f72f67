// The machine-wide identification of a peak: every line of the machine
// (lines.h) that lies within the tolerance of a frequency, ranked by
// distance and then by simplicity; and the spacing mode, which explains the
// distance between two peaks by a shaft, APF or HTF.
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
};

// The lines a request looks among.
LineOptions lineOptions(const IdentifyRequest &request);

struct IdentifyMatch {
    Line line;
    // value − target, Hz. Matches whose distances differ only by rounding
    // error (mathematically equal) share the smallest one of their group.
    double distance = 0.0;
};

// All matches of the request among the train's lines, best first. Ties in
// distance are decided by simpler(); none is dropped.
std::vector<IdentifyMatch> identify(const Train &train, const IdentifyRequest &request);

} // namespace machine
