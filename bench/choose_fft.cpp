// Which FFT library the spectrum uses: FFTW (double) against KissFFT (the
// float build Debian ships), on the two transforms the program makes: one
// 131 072-point real transform (a 65 536-line spectrum) and the averaged
// spectrum of a 2^20-sample waveform with 50 % overlap. Also the error of
// each against a direct sum on a short transform, since KissFFT in Debian is
// single precision. Prints milliseconds per run (median of 15) and the error.
#include <fftw3.h>
#include <kissfft/kiss_fftr.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>
#include <random>
#include <vector>

namespace {

template <class F> double medianMs(F &&run) {
    std::vector<double> ms;
    for (int i = 0; i < 15; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        run();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

std::vector<double> noise(std::size_t n) {
    std::mt19937 gen(7);
    std::normal_distribution<double> d;
    std::vector<double> x(n);
    for (double &v : x)
        v = d(gen);
    return x;
}

struct Fftw {
    int n;
    std::vector<double> in;
    fftw_complex *out;
    fftw_plan plan;
    explicit Fftw(int size) : n(size), in(std::size_t(size)) {
        out = fftw_alloc_complex(std::size_t(n / 2 + 1));
        plan = fftw_plan_dft_r2c_1d(n, in.data(), out, FFTW_ESTIMATE);
    }
    ~Fftw() {
        fftw_destroy_plan(plan);
        fftw_free(out);
    }
    double power(const double *x) {
        std::copy(x, x + n, in.begin());
        fftw_execute(plan);
        double s = 0;
        for (int k = 0; k <= n / 2; ++k)
            s += out[k][0] * out[k][0] + out[k][1] * out[k][1];
        return s;
    }
};

struct Kiss {
    int n;
    kiss_fftr_cfg cfg;
    std::vector<float> in;
    std::vector<kiss_fft_cpx> out;
    explicit Kiss(int size)
        : n(size), cfg(kiss_fftr_alloc(size, 0, nullptr, nullptr)), in(std::size_t(size)),
          out(std::size_t(size / 2 + 1)) {}
    ~Kiss() { kiss_fftr_free(cfg); }
    double power(const double *x) {
        std::transform(x, x + n, in.begin(), [](double v) { return float(v); });
        kiss_fftr(cfg, in.data(), out.data());
        double s = 0;
        for (int k = 0; k <= n / 2; ++k)
            s += double(out[std::size_t(k)].r) * out[std::size_t(k)].r +
                 double(out[std::size_t(k)].i) * out[std::size_t(k)].i;
        return s;
    }
};

template <class T> double welch(T &t, const std::vector<double> &x) {
    double s = 0;
    for (std::size_t start = 0; start + std::size_t(t.n) <= x.size(); start += std::size_t(t.n / 2))
        s += t.power(x.data() + start);
    return s;
}

// Largest error of the bins against the direct sum, relative to the largest bin.
template <class Get> double error(const std::vector<double> &x, Get &&bin) {
    const int n = int(x.size());
    double worst = 0, top = 0;
    for (int k = 0; k <= n / 2; ++k) {
        std::complex<double> sum;
        for (int j = 0; j < n; ++j)
            sum += x[std::size_t(j)] * std::polar(1.0, -2 * std::numbers::pi * k * j / n);
        worst = std::max(worst, std::abs(sum - bin(k)));
        top = std::max(top, std::abs(sum));
    }
    return worst / top;
}

} // namespace

int main() {
    const std::vector<double> x = noise(1 << 20);
    for (const int n : {1 << 17, 1 << 14}) {
        Fftw f(n);
        Kiss k(n);
        volatile double sink = 0;
        const double fOne = medianMs([&] { sink = f.power(x.data()); });
        const double kOne = medianMs([&] { sink = k.power(x.data()); });
        const double fAll = medianMs([&] { sink = welch(f, x); });
        const double kAll = medianMs([&] { sink = welch(k, x); });
        std::printf("n = %d: one transform FFTW %.2f ms, KissFFT %.2f ms; 2^20 samples averaged "
                    "(50 %% overlap) FFTW %.1f ms, KissFFT %.1f ms\n",
                    n, fOne, kOne, fAll, kAll);
    }
    const std::vector<double> shortX(x.begin(), x.begin() + 4096);
    Fftw f(4096);
    Kiss k(4096);
    f.power(shortX.data());
    k.power(shortX.data());
    const double fErr =
        error(shortX, [&](int b) { return std::complex<double>(f.out[b][0], f.out[b][1]); });
    const double kErr = error(shortX, [&](int b) {
        return std::complex<double>(k.out[std::size_t(b)].r, k.out[std::size_t(b)].i);
    });
    std::printf("4096 points against the direct sum: FFTW error %.1e, KissFFT error %.1e of the "
                "largest line\n",
                fErr, kErr);
}
