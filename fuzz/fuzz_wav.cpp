// Fuzz target: WAV through libsndfile on bytes in memory, then the averaged
// spectrum of what it read: finite, never negative.
#include "measurement_check.h"
#include "spectrum/transform.h"
#include "spectrum/wav_reader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::string shown = "file " + fuzz::quoted(bytes.left(256));
    const spectrum::ReadOutcome read = spectrum::readWav(bytes, QStringLiteral("fuzz.wav"));
    checkMeasurement(read, QStringLiteral("fuzz.wav"), shown);
    if (!read.measurement || read.measurement->waveform->samples.size() > (1 << 16))
        return 0;
    spectrum::TransformSettings settings;
    settings.lines = 1024;
    const spectrum::TransformOutcome t =
        spectrum::averagedSpectrum(*read.measurement->waveform, settings);
    if (t.spectrum)
        for (const double a : t.spectrum->amplitude)
            FUZZ_CHECK(std::isfinite(a) && a >= 0.0, shown);
    return 0;
}
