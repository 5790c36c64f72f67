// The spectrum of a waveform, as a vibration analyser makes it: windowed
// segments of 2 × lines samples (FFTW), their powers averaged with overlap
// (Welch), scaled so that a sine of amplitude A reads A as peak or A/√2 as
// RMS at its line; optionally integrated from acceleration to velocity, or
// made of the envelope of a band (band-pass, then the magnitude of the
// analytic signal) for bearing defects.
//
// Accuracy of a sine's amplitude read at its highest line (the scalloping
// of the window): flat-top within 0,12 % (0,01 dB) either way, Hann within 15,3 % and
// rectangular
// within 36,4 %; the peak finder (peaks.h) corrects the Hann and
// rectangular readings by the window's response between lines.
#pragma once

#include "spectrum/measurement.h"

#include <array>

namespace spectrum {

enum class Amplitude : std::uint8_t { Rms, Peak };
// Acceleration in m/s² or in g to velocity in mm/s.
enum class Integration : std::uint8_t { None, FromMetresPerSecondSquared, FromStandardGravity };

inline constexpr std::array<int, 7> kLineChoices{1024, 2048, 4096, 8192, 16384, 32768, 65536};
inline constexpr std::array<int, 4> kOverlapChoices{0, 50, 67, 75};

struct TransformSettings {
    Window window = Window::Hann;
    int lines = 8192; // one of kLineChoices; a shorter waveform gets fewer
    int overlapPercent = 50;
    Amplitude amplitude = Amplitude::Rms;
    Integration integration = Integration::None;
    double lowCut = 2.0; // Hz: below it (and below 3 lines) velocity is not formed
    bool envelope = false;
    double bandLow = 500.0, bandHigh = 5000.0; // Hz
    bool operator==(const TransformSettings &) const = default;
};

struct TransformOutcome {
    std::optional<Spectrum> spectrum;
    int averages = 0;
    int lines = 0;
    QString message; // why there is no spectrum
    QString note;    // "Hann, 8192 линий, 15 усреднений, перекрытие 50 %"
};

TransformOutcome averagedSpectrum(const Waveform &waveform, const TransformSettings &settings);

// The window's n samples, periodic (the DFT-even form analysers use).
std::vector<double> windowSamples(Window window, int n);

// The window's response to a sine `offset` lines (0 … 0,5) from the line it
// is read at, relative to its response at the line.
double windowResponse(Window window, double offset);

QString windowName(Window window);

// The envelope of the band [low, high] Hz: band-pass in the frequency
// domain, the magnitude of the analytic signal, its mean taken away.
// Empty with a message when the band is not inside (0, rate/2).
std::vector<double> bandEnvelope(const Waveform &waveform, double low, double high,
                                 QString *message);

} // namespace spectrum
