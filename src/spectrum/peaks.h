// The peaks of a spectrum: local maxima that stand out of the local noise
// floor (the running median of the lines around them) by a threshold, the
// highest first, and the frequency and amplitude of a peak between lines.
#pragma once

#include "spectrum/measurement.h"

namespace spectrum {

struct Peak {
    double frequency = 0.0;  // Hz, interpolated between lines
    double amplitude = 0.0;  // corrected by the window's response where it is known
    std::size_t line = 0;    // the highest line of the peak
    double prominence = 0.0; // dB over the local noise floor
};

inline constexpr int kPeakCountLimit = 500;

struct PeakSettings {
    double thresholdDb = 10.0; // over the local noise floor
    int maxCount = 50;         // 1 … kPeakCountLimit
    bool operator==(const PeakSettings &) const = default;
};

// The significant peaks, sorted by amplitude, the highest first. The floor
// is never taken below 100 dB under the highest line.
std::vector<Peak> findPeaks(const Spectrum &spectrum, const PeakSettings &settings);

// The local noise floor at every line: the median of the lines within ±32
// lines, taken every 16 lines and joined by straight lines.
std::vector<double> noiseFloor(const std::vector<double> &amplitude);

// The peak at `line` (a local maximum) between the lines: for a window the
// program knows, the offset that gives the two highest lines' ratio under
// the window's response, and the amplitude that response reduced; for an
// analyser's spectrum, a parabola through the logarithms of three lines,
// and the amplitude of the line.
Peak refinedPeak(const Spectrum &spectrum, std::size_t line);

// The highest line within `reach` Hz of `frequency`, refined; none for an
// empty spectrum.
std::optional<Peak> snapToPeak(const Spectrum &spectrum, double frequency, double reach);

} // namespace spectrum
