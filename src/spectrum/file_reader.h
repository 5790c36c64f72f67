// Opening a measurement file: read through the bounded reader (a regular
// file only, never more than kFileByteLimit bytes, never blocking on a
// pipe), then told apart by its content: WAV, universal file (data set 58)
// or text.
#pragma once

#include "spectrum/text_reader.h"

namespace spectrum {

ReadOutcome readMeasurementFile(const QString &path, const TextOptions &options);

// The same for bytes already read (the fuzz targets and the tests use it).
ReadOutcome readMeasurementBytes(const QByteArray &bytes, const QString &fileName,
                                 const TextOptions &options);

} // namespace spectrum
