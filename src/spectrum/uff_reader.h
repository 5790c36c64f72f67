// The ASCII universal file format, data set 58 (function at a point), as
// analysers export spectra and time records:
//
//       -1
//       58
//   five free text lines (the first is the record's title)
//   record 6: function type (1 time response, 2 auto spectrum, 3 cross
//             spectrum, 4 frequency response, 9 PSD, 12 spectrum, ...)
//   record 7: ordinate type (2 real single, 4 real double, 5 complex single,
//             6 complex double), number of values, even spacing (1) or not
//             (0), abscissa minimum, increment, z value
//   records 8 to 11: the axes (record 8's first field: 17 time, 18
//             frequency, 19 об/мин, 20 orders)
//   record 12: the values, blank-separated (x, y pairs when the spacing is
//             uneven; real and imaginary parts for complex values)
//       -1
//
// The first data set 58 in the file is read; other data sets are skipped.
// A time record becomes a waveform (its increment must be even); everything
// else a spectrum of magnitudes. The binary variant (58b) is refused.
#pragma once

#include "spectrum/text_reader.h"

namespace spectrum {

// `options` convert an abscissa in orders (its shaft's frequency); the
// sampling rate of a time record comes from the file.
ReadOutcome readUff(const QByteArray &bytes, const QString &fileName, const TextOptions &options);

// Whether the bytes start like a universal file (a "-1" line, then a data
// set number).
bool looksLikeUff(const QByteArray &bytes);

} // namespace spectrum
