// A measurement as text: a spectrum in two columns (frequency, amplitude) or
// a waveform in one column at a sampling rate the user gives.
//
// Any lines before the first line of numbers are a header and are skipped;
// blank lines are skipped anywhere. The first line of numbers sets the
// dialect for the whole file:
//   - ";" or a tab separates the columns, and a number may have a decimal
//     comma or point;
//   - otherwise blanks separate the columns when there are two or more
//     fields; a comma inside a field is then a decimal comma;
//   - a comma between fields with a decimal point ("12.5,0.03"), or several
//     commas, separates the columns;
//   - a single comma in a line without a point or blank is a decimal comma
//     ("0,125": one column).
// Extra columns after the second are ignored. After the first line of
// numbers every non-blank line must be numbers too: anything else is refused
// with its line number.
#pragma once

#include "spectrum/measurement.h"

#include <QByteArray>
#include <QString>

namespace spectrum {

enum class FrequencyUnit : std::uint8_t { Hertz, PerMinute, Orders };

struct TextOptions {
    FrequencyUnit unit = FrequencyUnit::Hertz; // of the frequency column
    double ordersHertz = 0.0;                  // the shaft's frequency, for orders
    double sampleRate = 0.0;                   // for a waveform in one column, Hz
};

ReadOutcome readText(const QByteArray &bytes, const QString &fileName, const TextOptions &options);

// One field as the dialect reads it: optional sign, digits with at most one
// decimal separator ("." or, when allowed, ","), an optional exponent.
// Nothing else (no "inf", "nan", hexadecimal or blanks).
std::optional<double> readField(std::string_view field, bool decimalComma);

} // namespace spectrum
