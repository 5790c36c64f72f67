// What every measurement reader promises, checked on whatever it read: a
// refusal names the file; a spectrum has as many amplitudes as frequencies,
// at least two, within the bound, frequencies not negative and strictly
// rising, amplitudes finite and not negative; a waveform has a rate and
// finite samples within the bound. The peak finder then runs on it.
#pragma once

#include "fuzz_check.h"
#include "spectrum/peaks.h"

#include <cmath>

inline void checkMeasurement(const spectrum::ReadOutcome &read, const QString &name,
                             const std::string &shown) {
    if (!read.measurement) {
        FUZZ_CHECK(read.message.startsWith(QStringLiteral("Файл «") + name + QStringLiteral("»")),
                   shown + " refused with " + fuzz::quoted(read.message));
        return;
    }
    const spectrum::Measurement &m = *read.measurement;
    FUZZ_CHECK(m.spectrum.has_value() != m.waveform.has_value(), shown);
    if (m.waveform) {
        FUZZ_CHECK(m.waveform->rate > 0.0 && std::isfinite(m.waveform->rate), shown);
        FUZZ_CHECK(m.waveform->samples.size() <= spectrum::kSampleLimit, shown);
        for (const double v : m.waveform->samples)
            FUZZ_CHECK(std::isfinite(v), shown);
        return;
    }
    const spectrum::Spectrum &s = *m.spectrum;
    FUZZ_CHECK(s.frequency.size() == s.amplitude.size() && s.frequency.size() >= 2 &&
                   s.frequency.size() <= spectrum::kSampleLimit,
               shown);
    for (std::size_t i = 0; i < s.frequency.size(); ++i) {
        FUZZ_CHECK(std::isfinite(s.frequency[i]) && s.frequency[i] >= 0.0, shown);
        FUZZ_CHECK(i == 0 || s.frequency[i] > s.frequency[i - 1], shown);
        FUZZ_CHECK(std::isfinite(s.amplitude[i]) && s.amplitude[i] >= 0.0, shown);
    }
    for (const spectrum::Peak &p : spectrum::findPeaks(s, {6.0, 20})) {
        FUZZ_CHECK(p.line > 0 && p.line + 1 < s.frequency.size(), shown);
        FUZZ_CHECK(p.frequency >= s.frequency[p.line - 1] && p.frequency <= s.frequency[p.line + 1],
                   shown + " peak at " + fuzz::exact(p.frequency));
    }
}
