// Windows, the averaged spectrum and the envelope, with FFTW.
#include "spectrum/transform.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <memory>
#include <numbers>

namespace spectrum {

namespace {

constexpr double kPi = std::numbers::pi;

// The cosine-sum coefficients of each window: w = Σ (−1)^j a_j cos(2πjn/N).
// The flat-top is the five-term window with 0,01 dB scalloping that
// analysers call "flat top" (coherent gain 0,2156, noise bandwidth 3,77
// lines).
std::vector<double> coefficients(Window w) {
    switch (w) {
    case Window::Hann:
        return {0.5, 0.5};
    case Window::FlatTop:
        return {0.21557895, 0.41663158, 0.277263158, 0.083578947, 0.006947368};
    case Window::Rectangular:
    case Window::Unknown:
        break;
    }
    return {1.0};
}

struct FftwFree {
    void operator()(void *p) const { fftw_free(p); }
};
template <class T> using FftwBuffer = std::unique_ptr<T[], FftwFree>;

template <class T> FftwBuffer<T> fftwBuffer(std::size_t n) {
    return FftwBuffer<T>(static_cast<T *>(fftw_malloc(sizeof(T) * std::max<std::size_t>(n, 1))));
}

struct Plan {
    fftw_plan plan = nullptr;
    explicit Plan(fftw_plan p) : plan(p) {}
    ~Plan() {
        if (plan)
            fftw_destroy_plan(plan);
    }
    Plan(const Plan &) = delete;
    Plan &operator=(const Plan &) = delete;
};

int fittingTransform(std::size_t samples, int lines) {
    int n = 2 * lines;
    while (n > 64 && std::size_t(n) > samples)
        n /= 2;
    return n;
}

// Averaged power |X_k|² of the windowed segments, k = 0 … n/2.
std::vector<double> averagedPower(const std::vector<double> &x, const std::vector<double> &window,
                                  int step, int *averages) {
    const int n = int(window.size());
    auto in = fftwBuffer<double>(std::size_t(n));
    auto out = fftwBuffer<fftw_complex>(std::size_t(n / 2 + 1));
    const Plan plan(fftw_plan_dft_r2c_1d(n, in.get(), out.get(), FFTW_ESTIMATE));
    std::vector<double> power(std::size_t(n / 2 + 1), 0.0);
    int count = 0;
    for (std::size_t start = 0; start + std::size_t(n) <= x.size(); start += std::size_t(step)) {
        for (int j = 0; j < n; ++j)
            in[std::size_t(j)] = x[start + std::size_t(j)] * window[std::size_t(j)];
        fftw_execute(plan.plan);
        for (int k = 0; k <= n / 2; ++k)
            power[std::size_t(k)] += out[k][0] * out[k][0] + out[k][1] * out[k][1];
        ++count;
    }
    for (double &p : power)
        p /= std::max(count, 1);
    *averages = count;
    return power;
}

double integrationFactor(Integration i) {
    switch (i) {
    case Integration::FromMetresPerSecondSquared:
        return 1000.0;
    case Integration::FromStandardGravity:
        return 9806.65;
    case Integration::None:
        break;
    }
    return 1.0;
}

void integrate(Spectrum &s, const TransformSettings &settings) {
    const double factor = integrationFactor(settings.integration);
    for (std::size_t k = 0; k < s.frequency.size(); ++k) {
        const double f = s.frequency[k];
        s.amplitude[k] =
            k < 3 || f < settings.lowCut ? 0.0 : s.amplitude[k] * factor / (2 * kPi * f);
    }
}

} // namespace

QString windowName(Window window) {
    switch (window) {
    case Window::Hann:
        return QStringLiteral("Хэннинга");
    case Window::FlatTop:
        return QStringLiteral("с плоской вершиной");
    case Window::Rectangular:
        return QStringLiteral("прямоугольное");
    case Window::Unknown:
        break;
    }
    return QStringLiteral("неизвестно");
}

std::vector<double> windowSamples(Window window, int n) {
    const std::vector<double> a = coefficients(window);
    std::vector<double> w(std::size_t(std::max(n, 0)));
    for (int j = 0; j < n; ++j) {
        double v = 0.0;
        for (std::size_t t = 0; t < a.size(); ++t)
            v += (t % 2 ? -a[t] : a[t]) * std::cos(2 * kPi * double(t) * j / n);
        w[std::size_t(j)] = v;
    }
    return w;
}

double windowResponse(Window window, double offset) {
    // The cosine-sum window's transform is a sum of shifted Dirichlet kernels,
    // which for a long window are sinc functions: exact to O(1/N²).
    const std::vector<double> a = coefficients(window);
    const auto sinc = [](double x) { return x == 0.0 ? 1.0 : std::sin(kPi * x) / (kPi * x); };
    double sum = 0.0;
    for (std::size_t t = 0; t < a.size(); ++t) {
        const double weight = t == 0 ? a[0] : a[t] / 2.0;
        sum +=
            weight * (t == 0 ? sinc(offset) : sinc(offset - double(t)) + sinc(offset + double(t)));
    }
    return std::abs(sum) / a[0];
}

TransformOutcome averagedSpectrum(const Waveform &waveform, const TransformSettings &settings) {
    TransformOutcome out;
    if (!(waveform.rate > 0.0) || waveform.samples.size() < 128) {
        out.message = QStringLiteral("Сигнал слишком короткий для спектра (нужно не меньше 128 "
                                     "отсчётов).");
        return out;
    }
    std::vector<double> envelope;
    if (settings.envelope) {
        envelope = bandEnvelope(waveform, settings.bandLow, settings.bandHigh, &out.message);
        if (envelope.empty())
            return out;
    }
    const std::vector<double> &x = settings.envelope ? envelope : waveform.samples;
    const int n = fittingTransform(x.size(), std::clamp(settings.lines, 64, kLineChoices.back()));
    const std::vector<double> window = windowSamples(settings.window, n);
    const int overlap = std::clamp(settings.overlapPercent, 0, 90);
    const int step = std::max(1, int(std::lround(n * (100 - overlap) / 100.0)));
    const std::vector<double> power = averagedPower(x, window, step, &out.averages);
    double gain = 0.0;
    for (double w : window)
        gain += w;
    Spectrum s;
    s.window = settings.window;
    s.resolution = waveform.rate / n;
    s.frequency.resize(power.size());
    s.amplitude.resize(power.size());
    const double rms = settings.amplitude == Amplitude::Rms ? std::sqrt(0.5) : 1.0;
    for (std::size_t k = 0; k < power.size(); ++k) {
        const bool edge = k == 0 || k + 1 == power.size();
        s.frequency[k] = double(k) * s.resolution;
        s.amplitude[k] = std::sqrt(power[k]) / gain * (edge ? 1.0 : 2.0 * rms);
    }
    if (settings.integration != Integration::None && !settings.envelope)
        integrate(s, settings);
    out.lines = n / 2;
    out.note = QStringLiteral("окно %1, %2 линий, усреднений %3, перекрытие %4 %")
                   .arg(windowName(settings.window))
                   .arg(out.lines)
                   .arg(out.averages)
                   .arg(overlap);
    out.spectrum = std::move(s);
    return out;
}

std::vector<double> bandEnvelope(const Waveform &waveform, double low, double high,
                                 QString *message) {
    const double nyquist = waveform.rate / 2;
    if (!(low > 0.0) || !(high > low) || !(high <= nyquist)) {
        *message = QStringLiteral("Полоса огибающей должна лежать между 0 и %1 Гц (половина "
                                  "частоты дискретизации), нижняя граница — ниже верхней.")
                       .arg(nyquist);
        return {};
    }
    const std::size_t size = waveform.samples.size();
    std::size_t n = 1;
    while (n < size)
        n *= 2;
    auto in = fftwBuffer<double>(n);
    auto spectrum = fftwBuffer<fftw_complex>(n);
    double mean = 0.0;
    for (double v : waveform.samples)
        mean += v;
    mean /= double(size);
    for (std::size_t j = 0; j < n; ++j)
        in[j] = j < size ? waveform.samples[j] - mean : 0.0;
    {
        const Plan forward(fftw_plan_dft_r2c_1d(int(n), in.get(), spectrum.get(), FFTW_ESTIMATE));
        fftw_execute(forward.plan);
    }
    // The analytic signal of the band: its positive frequencies doubled, all
    // others gone.
    const double df = waveform.rate / double(n);
    for (std::size_t k = 0; k < n; ++k) {
        const bool keep = k <= n / 2 && double(k) * df >= low && double(k) * df <= high;
        spectrum[k][0] = keep ? 2 * spectrum[k][0] : 0.0;
        spectrum[k][1] = keep ? 2 * spectrum[k][1] : 0.0;
    }
    const Plan backward(
        fftw_plan_dft_1d(int(n), spectrum.get(), spectrum.get(), FFTW_BACKWARD, FFTW_ESTIMATE));
    fftw_execute(backward.plan);
    std::vector<double> envelope(size);
    double envelopeMean = 0.0;
    for (std::size_t j = 0; j < size; ++j) {
        envelope[j] = std::hypot(spectrum[j][0], spectrum[j][1]) / double(n);
        envelopeMean += envelope[j];
    }
    envelopeMean /= double(size);
    for (double &e : envelope)
        e -= envelopeMean;
    return envelope;
}

} // namespace spectrum
