// The spectrum of a waveform against physics: the windows' coherent gain,
// noise bandwidth and scalloping against their published values, sines of
// known frequency and amplitude recovered within each window's stated
// accuracy (at the line and between lines, RMS and peak), acceleration
// integrated to velocity, the envelope of an amplitude-modulated carrier,
// and a mesh modulated by its shaft giving Fz ± Fr with the machine's names.
#include "machine/train.h"
#include "spectrum/machine_overlay.h"
#include "spectrum/peaks.h"
#include "spectrum/transform.h"

#include <QTest>

#include <cmath>
#include <complex>
#include <numbers>

using namespace spectrum;

namespace {

constexpr double kPi = std::numbers::pi;

struct Tone {
    double frequency;
    double amplitude; // peak
};

Waveform tones(const std::vector<Tone> &parts, double rate, std::size_t n) {
    Waveform w{std::vector<double>(n, 0.0), rate};
    for (std::size_t j = 0; j < n; ++j)
        for (const Tone &t : parts)
            w.samples[j] += t.amplitude * std::sin(2 * kPi * t.frequency * double(j) / rate + 0.3);
    return w;
}

// The amplitude of the window's transform `offset` lines from a line,
// relative to its sum: a direct sum, independent of the program's formula.
double dftResponse(const std::vector<double> &w, double offset) {
    std::complex<double> sum;
    double plain = 0.0;
    const double n = double(w.size());
    for (std::size_t j = 0; j < w.size(); ++j) {
        sum += w[j] * std::polar(1.0, -2 * kPi * offset * double(j) / n);
        plain += w[j];
    }
    return std::abs(sum) / plain;
}

double decibels(double ratio) {
    return 20 * std::log10(ratio);
}

std::optional<Peak> peakNear(const std::vector<Peak> &peaks, double f, double reach) {
    for (const Peak &p : peaks)
        if (std::abs(p.frequency - f) <= reach)
            return p;
    return std::nullopt;
}

} // namespace

class SpectrumTransformTest : public QObject {
    Q_OBJECT

private slots:
    void windows_match_their_published_figures_data();
    void windows_match_their_published_figures();
    void sine_amplitude_within_the_windows_accuracy_data();
    void sine_amplitude_within_the_windows_accuracy();
    void peak_finder_recovers_tones_between_lines_data();
    void peak_finder_recovers_tones_between_lines();
    void averaging_counts_segments_with_overlap_data();
    void averaging_counts_segments_with_overlap();
    void short_waveform_gets_fewer_lines();
    void acceleration_becomes_velocity_data();
    void acceleration_becomes_velocity();
    void envelope_shows_the_modulation();
    void envelope_band_outside_the_signal_is_refused_data();
    void envelope_band_outside_the_signal_is_refused();
    void modulated_mesh_gives_named_sidebands();
};

void SpectrumTransformTest::windows_match_their_published_figures_data() {
    QTest::addColumn<Window>("window");
    QTest::addColumn<double>("coherentGain");
    QTest::addColumn<double>("noiseBandwidth"); // lines
    QTest::addColumn<double>("scallopingDb");   // loss half a line away
    QTest::addColumn<double>("scallopingTolerance");
    // Harris (1978), Table 1; the flat-top as National Instruments and
    // MATLAB's flattopwin give it (gain 0,2156, 3,77 lines, under 0,01 dB).
    QTest::newRow("rectangular") << Window::Rectangular << 1.0 << 1.00 << 3.92 << 0.01;
    QTest::newRow("hann") << Window::Hann << 0.5 << 1.50 << 1.42 << 0.01;
    QTest::newRow("flat-top") << Window::FlatTop << 0.2156 << 3.77 << 0.0 << 0.01;
}

void SpectrumTransformTest::windows_match_their_published_figures() {
    QFETCH(Window, window);
    QFETCH(double, coherentGain);
    QFETCH(double, noiseBandwidth);
    QFETCH(double, scallopingDb);
    QFETCH(double, scallopingTolerance);
    const std::vector<double> w = windowSamples(window, 4096);
    double sum = 0.0, squares = 0.0;
    for (double v : w) {
        sum += v;
        squares += v * v;
    }
    QVERIFY2(std::abs(sum / 4096 - coherentGain) < 5e-4, qPrintable(QString::number(sum / 4096)));
    const double enbw = 4096 * squares / (sum * sum);
    QVERIFY2(std::abs(enbw - noiseBandwidth) < 0.01, qPrintable(QString::number(enbw)));
    const double loss = -decibels(dftResponse(w, 0.5));
    QVERIFY2(std::abs(loss - scallopingDb) < scallopingTolerance,
             qPrintable(QString::number(loss)));
    // The response the peak finder corrects with follows the direct sum.
    for (const double offset : {0.1, 0.25, 0.4, 0.5, 0.75, 1.0})
        QVERIFY2(std::abs(windowResponse(window, offset) - dftResponse(w, offset)) < 1e-5,
                 qPrintable(QString::number(offset)));
}

void SpectrumTransformTest::sine_amplitude_within_the_windows_accuracy_data() {
    QTest::addColumn<Window>("window");
    QTest::addColumn<double>("offset"); // lines between the tone and its line
    QTest::addColumn<Amplitude>("amplitude");
    QTest::addColumn<double>("accuracy"); // the stated accuracy at the highest line, either way
    for (const double offset : {0.0, 0.25, 0.5}) {
        const QByteArray at = "tone " + QByteArray::number(offset) + " line off";
        QTest::newRow("flat-top, rms, " + at)
            << Window::FlatTop << offset << Amplitude::Rms << 0.0012;
        QTest::newRow("flat-top, peak, " + at)
            << Window::FlatTop << offset << Amplitude::Peak << 0.0012;
        QTest::newRow("hann, rms, " + at) << Window::Hann << offset << Amplitude::Rms << 0.153;
        QTest::newRow("rectangular, peak, " + at)
            << Window::Rectangular << offset << Amplitude::Peak << 0.364;
    }
}

void SpectrumTransformTest::sine_amplitude_within_the_windows_accuracy() {
    QFETCH(Window, window);
    QFETCH(double, offset);
    QFETCH(Amplitude, amplitude);
    QFETCH(double, accuracy);
    // 1 Hz lines: 8192 samples per second, 4096 lines.
    const double f = 700.0 + offset;
    const Waveform w = tones({{f, 2.0}}, 8192, 8192 * 8);
    TransformSettings settings;
    settings.window = window;
    settings.lines = 4096;
    settings.amplitude = amplitude;
    const TransformOutcome out = averagedSpectrum(w, settings);
    QVERIFY(out.spectrum);
    QCOMPARE(out.spectrum->resolution, 1.0);
    const std::size_t line = std::size_t(std::lround(f));
    const double expected = amplitude == Amplitude::Rms ? 2.0 / std::sqrt(2.0) : 2.0;
    const double read = out.spectrum->amplitude[line];
    QVERIFY2(std::abs(read / expected - 1) <= accuracy,
             qPrintable(QStringLiteral("%1 against %2").arg(read).arg(expected)));
    // Only the scalloping of the window, no more: at the line itself it is exact.
    if (offset == 0.0)
        QVERIFY(std::abs(read - expected) < 1e-9 * expected);
}

void SpectrumTransformTest::peak_finder_recovers_tones_between_lines_data() {
    QTest::addColumn<Window>("window");
    QTest::addColumn<double>("frequencyAccuracy"); // lines
    QTest::addColumn<double>("amplitudeAccuracy"); // relative
    QTest::newRow("hann") << Window::Hann << 0.01 << 0.005;
    QTest::newRow("flat-top") << Window::FlatTop << 0.05 << 0.001;
    QTest::newRow("rectangular") << Window::Rectangular << 0.05 << 0.05;
}

void SpectrumTransformTest::peak_finder_recovers_tones_between_lines() {
    QFETCH(Window, window);
    QFETCH(double, frequencyAccuracy);
    QFETCH(double, amplitudeAccuracy);
    const std::vector<Tone> parts{{100.37, 2.0}, {1234.5, 0.5}, {2500.81, 0.125}};
    const Waveform w = tones(parts, 8192, 8192 * 4);
    TransformSettings settings;
    settings.window = window;
    settings.lines = 4096;
    settings.amplitude = Amplitude::Peak;
    settings.overlapPercent = 0;
    const TransformOutcome out = averagedSpectrum(w, settings);
    QVERIFY(out.spectrum);
    const std::vector<Peak> peaks = findPeaks(*out.spectrum, {10.0, 20});
    QVERIFY(peaks.size() >= parts.size());
    for (const Tone &t : parts) {
        const auto p = peakNear(peaks, t.frequency, 1.0);
        QVERIFY2(p, qPrintable(QString::number(t.frequency)));
        QVERIFY2(std::abs(p->frequency - t.frequency) < frequencyAccuracy,
                 qPrintable(QStringLiteral("%1 for %2").arg(p->frequency).arg(t.frequency)));
        QVERIFY2(std::abs(p->amplitude / t.amplitude - 1) < amplitudeAccuracy,
                 qPrintable(QStringLiteral("%1 for %2").arg(p->amplitude).arg(t.amplitude)));
    }
    // Highest first.
    QCOMPARE(peaks[0].line, std::size_t(100));
}

void SpectrumTransformTest::averaging_counts_segments_with_overlap_data() {
    QTest::addColumn<int>("overlap");
    QTest::addColumn<int>("averages");
    // 16 segments of 2048 samples in 32 768, and the overlapping ones between.
    QTest::newRow("none") << 0 << 16;
    QTest::newRow("half") << 50 << 31;
    QTest::newRow("three quarters") << 75 << 61;
}

void SpectrumTransformTest::averaging_counts_segments_with_overlap() {
    QFETCH(int, overlap);
    QFETCH(int, averages);
    TransformSettings settings;
    settings.lines = 1024;
    settings.overlapPercent = overlap;
    const TransformOutcome out = averagedSpectrum(tones({{50, 1}}, 2048, 32768), settings);
    QCOMPARE(out.averages, averages);
    QCOMPARE(out.lines, 1024);
    QCOMPARE(out.spectrum->frequency.size(), std::size_t(1025));
    QCOMPARE(out.spectrum->frequency.back(), 1024.0);
}

void SpectrumTransformTest::short_waveform_gets_fewer_lines() {
    TransformSettings settings;
    settings.lines = 65536;
    const TransformOutcome out = averagedSpectrum(tones({{50, 1}}, 1000, 5000), settings);
    QVERIFY(out.spectrum);
    QCOMPARE(out.lines, 2048); // the largest transform of 4096 samples that fits
    QCOMPARE(out.averages, 1);
    const TransformOutcome tooShort = averagedSpectrum(tones({{50, 1}}, 1000, 100), settings);
    QVERIFY(!tooShort.spectrum);
    QVERIFY(!tooShort.message.isEmpty());
}

void SpectrumTransformTest::acceleration_becomes_velocity_data() {
    QTest::addColumn<Integration>("integration");
    QTest::addColumn<double>("toMillimetres"); // per unit of acceleration, before 1/(2πf)
    QTest::newRow("m/s2 to mm/s") << Integration::FromMetresPerSecondSquared << 1000.0;
    QTest::newRow("g to mm/s") << Integration::FromStandardGravity << 9806.65;
}

void SpectrumTransformTest::acceleration_becomes_velocity() {
    QFETCH(Integration, integration);
    QFETCH(double, toMillimetres);
    // a(t) = A sin(2πft) has the velocity A/(2πf) (the ISO 10816 relation).
    const double f = 160.0, a = 3.0;
    TransformSettings settings;
    settings.window = Window::FlatTop;
    settings.lines = 4096;
    settings.amplitude = Amplitude::Peak;
    settings.integration = integration;
    const TransformOutcome out = averagedSpectrum(tones({{f, a}}, 8192, 8192 * 4), settings);
    const double expected = a * toMillimetres / (2 * kPi * f);
    const double read = out.spectrum->amplitude[160];
    QVERIFY2(std::abs(read / expected - 1) < 0.001,
             qPrintable(QStringLiteral("%1 against %2").arg(read).arg(expected)));
    // Below the cut-off nothing is formed: 1/f would blow the lowest lines up.
    QCOMPARE(out.spectrum->amplitude[0], 0.0);
    QCOMPARE(out.spectrum->amplitude[1], 0.0);
}

void SpectrumTransformTest::envelope_shows_the_modulation() {
    // A 3 kHz carrier whose amplitude 1 + 0,4·cos(2π·37 t) varies: the
    // envelope spectrum has 0,4 at 37 Hz (peak), and nothing at the carrier.
    const double rate = 16384, fm = 37.0, depth = 0.4;
    Waveform w{std::vector<double>(16384 * 4), rate};
    for (std::size_t j = 0; j < w.samples.size(); ++j) {
        const double t = double(j) / rate;
        w.samples[j] = (1 + depth * std::cos(2 * kPi * fm * t)) * std::sin(2 * kPi * 3000 * t);
    }
    TransformSettings settings;
    settings.window = Window::FlatTop;
    settings.lines = 8192;
    settings.amplitude = Amplitude::Peak;
    settings.envelope = true;
    settings.bandLow = 2000;
    settings.bandHigh = 4000;
    const TransformOutcome out = averagedSpectrum(w, settings);
    QVERIFY2(out.spectrum, qPrintable(out.message));
    const std::vector<Peak> peaks = findPeaks(*out.spectrum, {10.0, 5});
    QVERIFY(!peaks.empty());
    QVERIFY2(std::abs(peaks[0].frequency - fm) < 0.05,
             qPrintable(QString::number(peaks[0].frequency)));
    QVERIFY2(std::abs(peaks[0].amplitude - depth) < 0.004,
             qPrintable(QString::number(peaks[0].amplitude)));
    QVERIFY(out.spectrum->amplitude[3000] < 1e-3);
}

void SpectrumTransformTest::envelope_band_outside_the_signal_is_refused_data() {
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::newRow("above half the rate") << 1000.0 << 5000.0;
    QTest::newRow("upside down") << 3000.0 << 2000.0;
    QTest::newRow("from zero") << 0.0 << 2000.0;
}

void SpectrumTransformTest::envelope_band_outside_the_signal_is_refused() {
    QFETCH(double, low);
    QFETCH(double, high);
    TransformSettings settings;
    settings.envelope = true;
    settings.bandLow = low;
    settings.bandHigh = high;
    const TransformOutcome out = averagedSpectrum(tones({{50, 1}}, 8000, 8000), settings);
    QVERIFY(!out.spectrum);
    QVERIFY(out.message.contains(QStringLiteral("4000")));
}

void SpectrumTransformTest::modulated_mesh_gives_named_sidebands() {
    // The worked pair: Z1 40 at Fr1 25 Hz, Z2 80: Fz 1000 Hz. The mesh's
    // amplitude follows shaft 1: (1 + 0,5·cos 2π·25t)·sin 2π·1000t has
    // lines at 1000 Hz (1) and at 1000 ± 25 Hz (0,25 each).
    const machine::Train train =
        machine::buildTrain(std::vector<aggregate::GearPair>{{"40", "25", "80", "0"}}, false, 1);
    const double rate = 8192;
    Waveform w{std::vector<double>(8192 * 8), rate};
    for (std::size_t j = 0; j < w.samples.size(); ++j) {
        const double t = double(j) / rate;
        w.samples[j] = (1 + 0.5 * std::cos(2 * kPi * 25 * t)) * std::sin(2 * kPi * 1000 * t);
    }
    TransformSettings settings;
    settings.lines = 4096;
    settings.amplitude = Amplitude::Peak;
    const TransformOutcome out = averagedSpectrum(w, settings);
    const std::vector<Peak> peaks = findPeaks(*out.spectrum, {20.0, 10});
    QCOMPARE(peaks.size(), std::size_t(3));
    const std::vector<PeakNote> notes =
        notePeaks(train, peaks, {out.spectrum->resolution, false, 10, 3});
    const QStringList expected{QStringLiteral("Fz (пара 1)"),
                               QStringLiteral("Fz (пара 1) − Fr (вал 1)"),
                               QStringLiteral("Fz (пара 1) + Fr (вал 1)")};
    const std::vector<double> amplitudes{1.0, 0.25, 0.25};
    const std::vector<double> frequencies{1000, 975, 1025};
    // The two sidebands are equally high: their order is by line.
    QStringList names;
    for (std::size_t i = 0; i < 3; ++i) {
        const PeakNote &n = notes[i];
        const std::size_t k = n.peak.frequency < 990 ? 1 : n.peak.frequency > 1010 ? 2 : 0;
        QVERIFY(!n.matches.empty());
        QCOMPARE(machine::lineName(n.matches.front().lines.front()), expected[qsizetype(k)]);
        QVERIFY(std::abs(n.peak.frequency - frequencies[k]) < 0.01);
        QVERIFY(std::abs(n.peak.amplitude - amplitudes[k]) < 0.005 * amplitudes[k]);
        names << peakRow(train, {}, n, int(i) + 1)[3];
    }
    QCOMPARE(names.first(), expected.first());
}

QTEST_GUILESS_MAIN(SpectrumTransformTest)
#include "tst_spectrum_transform.moc"
