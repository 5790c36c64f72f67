// A measurement as the spectrum window holds it: a spectrum (frequency and
// amplitude lines) or a time waveform (samples at a rate), with the bounds
// every reader keeps, so that a file of any size opens in bounded memory and
// time or is refused with a message.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace spectrum {

// At most this many samples of a waveform or lines of a spectrum (2^24).
inline constexpr std::size_t kSampleLimit = std::size_t(1) << 24;
// No value of a measurement (frequency, amplitude or sample) is larger than
// this: past it a file holds no measurement, and squares of such values (the
// power of a spectrum) would leave the range of the arithmetic.
inline constexpr double kValueLimit = 1e12;
// Whether a value read from a file may be kept.
inline bool keepable(double v) {
    return v >= -kValueLimit && v <= kValueLimit;
}
// At most this many bytes are read from a file: 2^24 text lines of about
// sixteen characters, or 2^24 samples of 64 bits with room for a header.
inline constexpr qint64 kFileByteLimit = qint64(256) << 20;

// The window the spectrum of a waveform was made with; a spectrum read from
// a file comes from an analyser whose window the program does not know.
enum class Window : std::uint8_t { Hann, FlatTop, Rectangular, Unknown };

struct Spectrum {
    std::vector<double> frequency; // Hz, strictly increasing
    std::vector<double> amplitude; // not negative
    double resolution = 0.0;       // Δf, Hz: the line spacing
    Window window = Window::Unknown;
    bool empty() const { return frequency.empty(); }
};

struct Waveform {
    std::vector<double> samples;
    double rate = 0.0; // samples per second
};

// What a file held, and what the window says about it ("канал 1 из 2").
struct Measurement {
    std::optional<Spectrum> spectrum;
    std::optional<Waveform> waveform;
    QString note;
    // A spectrum whose frequencies were orders of a shaft: the shaft's
    // frequency they were converted with (0 for any other), so that the
    // spectrum can follow when that speed is corrected.
    double ordersHertz = 0.0;
};

// A reader's outcome: the measurement, or a message in Russian naming the
// file (and the line, where there is one) and what is wrong there.
struct ReadOutcome {
    std::optional<Measurement> measurement;
    QString message;
    int line = 0; // 1-based line of the fault in a text file, 0 where none applies
};

// The message of a refused file: "Файл «name», строка 12: …" or
// "Файл «name»: …".
QString faultText(const QString &fileName, int line, const QString &what);
// "значение больше 10¹² по модулю."
QString tooLargeText();

// The line spacing of strictly increasing frequencies: the median of the
// differences, so that an analyser's rounding of a few values does not
// change it.
double medianSpacing(const std::vector<double> &frequency);

} // namespace spectrum
