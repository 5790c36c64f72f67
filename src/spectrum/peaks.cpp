// Peak finding, the noise floor and the interpolation between lines.
#include "spectrum/peaks.h"

#include "spectrum/transform.h"

#include <algorithm>
#include <cmath>

namespace spectrum {

namespace {

constexpr std::size_t kReach = 32;     // lines on each side of the noise floor's median
constexpr std::size_t kStep = 16;      // lines between two medians
constexpr double kDynamicRange = 1e-5; // 100 dB

double median(std::vector<double> &v) {
    const auto middle = v.begin() + std::ptrdiff_t(v.size() / 2);
    std::nth_element(v.begin(), middle, v.end());
    return *middle;
}

double decibels(double ratio) {
    return 20.0 * std::log10(ratio);
}

// The offset δ (0 … 0,5 lines) at which the window's response gives the
// neighbour's ratio to the highest line, by bisection: the ratio grows with δ.
double offsetForRatio(Window window, double ratio) {
    const auto ratioAt = [window](double d) {
        return windowResponse(window, 1.0 - d) / windowResponse(window, d);
    };
    double low = 0.0, high = 0.5;
    if (ratio <= ratioAt(low))
        return low;
    if (ratio >= ratioAt(high))
        return high;
    for (int i = 0; i < 40; ++i) {
        const double mid = (low + high) / 2;
        (ratioAt(mid) < ratio ? low : high) = mid;
    }
    return (low + high) / 2;
}

} // namespace

std::vector<double> noiseFloor(const std::vector<double> &a) {
    const std::size_t n = a.size();
    std::vector<double> floor(n, 0.0);
    if (n == 0)
        return floor;
    std::vector<std::size_t> centres;
    std::vector<double> medians;
    std::vector<double> scratch;
    for (std::size_t c = 0;; c += kStep) {
        c = std::min(c, n - 1);
        const std::size_t from = c > kReach ? c - kReach : 0;
        const std::size_t to = std::min(n, c + kReach + 1);
        scratch.assign(a.begin() + std::ptrdiff_t(from), a.begin() + std::ptrdiff_t(to));
        centres.push_back(c);
        medians.push_back(median(scratch));
        if (c == n - 1)
            break;
    }
    std::size_t seg = 0;
    for (std::size_t i = 0; i < n; ++i) {
        while (seg + 1 < centres.size() && centres[seg + 1] < i)
            ++seg;
        if (seg + 1 >= centres.size() || i <= centres[seg]) {
            floor[i] = medians[seg];
            continue;
        }
        const double t = double(i - centres[seg]) / double(centres[seg + 1] - centres[seg]);
        floor[i] = medians[seg] + t * (medians[seg + 1] - medians[seg]);
    }
    return floor;
}

Peak refinedPeak(const Spectrum &s, std::size_t i) {
    Peak p{s.frequency[i], s.amplitude[i], i, 0.0};
    const std::size_t n = s.amplitude.size();
    if (i == 0 || i + 1 >= n || !(s.amplitude[i] > 0.0))
        return p;
    const double left = s.amplitude[i - 1], centre = s.amplitude[i], right = s.amplitude[i + 1];
    const double rightStep = s.frequency[i + 1] - s.frequency[i];
    const double leftStep = s.frequency[i] - s.frequency[i - 1];
    if (s.window != Window::Unknown) {
        const bool towardsRight = right >= left;
        const double offset = offsetForRatio(s.window, std::max(left, right) / centre);
        p.amplitude = centre / windowResponse(s.window, offset);
        p.frequency += towardsRight ? offset * rightStep : -offset * leftStep;
        return p;
    }
    if (left > 0.0 && right > 0.0) {
        const double l = std::log(left), c = std::log(centre), r = std::log(right);
        const double bend = l - 2 * c + r;
        const double offset = bend < 0.0 ? std::clamp(0.5 * (l - r) / bend, -0.5, 0.5) : 0.0;
        p.frequency += offset * (offset >= 0.0 ? rightStep : leftStep);
    }
    return p;
}

std::vector<Peak> findPeaks(const Spectrum &s, const PeakSettings &settings) {
    const std::vector<double> &a = s.amplitude;
    std::vector<double> floor = noiseFloor(a);
    // Nothing 100 dB below the highest line counts: an analyser's dynamic
    // range ends there, and a signal without noise would otherwise show the
    // rounding of the arithmetic as peaks.
    const double bottom = a.empty() ? 0.0 : *std::max_element(a.begin(), a.end()) * kDynamicRange;
    for (double &f : floor)
        f = std::max(f, bottom);
    const double ratio = std::pow(10.0, settings.thresholdDb / 20.0);
    std::vector<std::size_t> maxima;
    for (std::size_t i = 1; i + 1 < a.size(); ++i)
        if (a[i] > a[i - 1] && a[i] >= a[i + 1] && a[i] > 0.0 && a[i] >= ratio * floor[i])
            maxima.push_back(i);
    const std::size_t keep = std::min<std::size_t>(
        maxima.size(), std::size_t(std::clamp(settings.maxCount, 1, kPeakCountLimit)));
    std::partial_sort(maxima.begin(), maxima.begin() + std::ptrdiff_t(keep), maxima.end(),
                      [&](std::size_t x, std::size_t y) { return a[x] > a[y]; });
    maxima.resize(keep);
    std::vector<Peak> peaks;
    peaks.reserve(keep);
    for (const std::size_t i : maxima) {
        Peak p = refinedPeak(s, i);
        p.prominence = floor[i] > 0.0 ? decibels(a[i] / floor[i]) : HUGE_VAL;
        peaks.push_back(p);
    }
    std::stable_sort(peaks.begin(), peaks.end(),
                     [](const Peak &x, const Peak &y) { return x.amplitude > y.amplitude; });
    return peaks;
}

std::optional<Peak> snapToPeak(const Spectrum &s, double frequency, double reach) {
    if (s.empty())
        return std::nullopt;
    const auto lo = std::lower_bound(s.frequency.begin(), s.frequency.end(), frequency - reach);
    auto hi = std::upper_bound(s.frequency.begin(), s.frequency.end(), frequency + reach);
    std::size_t from = std::size_t(lo - s.frequency.begin());
    std::size_t to = std::size_t(hi - s.frequency.begin());
    if (from >= to) {
        // Nothing within reach: the nearest line.
        const std::size_t j = std::min(from, s.frequency.size() - 1);
        from =
            j > 0 && std::abs(s.frequency[j - 1] - frequency) < std::abs(s.frequency[j] - frequency)
                ? j - 1
                : j;
        to = from + 1;
    }
    const auto best = std::max_element(s.amplitude.begin() + std::ptrdiff_t(from),
                                       s.amplitude.begin() + std::ptrdiff_t(to));
    return refinedPeak(s, std::size_t(best - s.amplitude.begin()));
}

} // namespace spectrum
