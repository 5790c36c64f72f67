// Fuzz target: data set 58 of the universal file format, then the peak
// finder on the spectrum it read; and the same bytes through the choice of
// reader by the file's look (a universal file, a WAV, else text).
#include "measurement_check.h"
#include "spectrum/file_reader.h"
#include "spectrum/uff_reader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    spectrum::TextOptions options;
    options.ordersHertz = 24.5;
    checkMeasurement(spectrum::readUff(bytes, QStringLiteral("fuzz.uff"), options),
                     QStringLiteral("fuzz.uff"), "file " + fuzz::quoted(bytes));
    checkMeasurement(spectrum::readMeasurementBytes(bytes, QStringLiteral("fuzz.uff"), options),
                     QStringLiteral("fuzz.uff"), "file " + fuzz::quoted(bytes));
    return 0;
}
