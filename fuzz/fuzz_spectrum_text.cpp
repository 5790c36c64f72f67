// Fuzz target: the text reader of spectra and waveforms (any dialect, any
// header), then the peak finder on what it read.
#include "measurement_check.h"
#include "spectrum/text_reader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    spectrum::TextOptions options;
    options.sampleRate = 1000.0;
    // The first byte chooses the unit of the frequency column.
    options.unit = size > 0 ? spectrum::FrequencyUnit(data[0] % 3) : spectrum::FrequencyUnit::Hertz;
    options.ordersHertz = 24.5;
    checkMeasurement(spectrum::readText(bytes, QStringLiteral("fuzz.txt"), options),
                     QStringLiteral("fuzz.txt"), "text " + fuzz::quoted(bytes));
    return 0;
}
