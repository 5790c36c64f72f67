// Numbers as the program reads and writes them: the comma rule, the number
// syntax with its error position, the general decimal form with a decimal
// comma, RoundToPrecision and the byte-wise comparison of a text with "0".
// Nothing here looks at the process locale.
#pragma once

#include "calc/arith_fault.h"

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace calc {

// Only the character where the leading run of digits stops is examined: a
// comma there becomes a point (12,5 -> 12.5, ,5 -> .5); -1,5 and 1,5,3 keep
// their commas and then fail the syntax.
QString applyCommaRule(const QString &text);

struct ParsedNumber {
    double value = 0.0;
    // 0 for a number, otherwise the 1-based position of the first character
    // that breaks the syntax (one past the end when the text stops too early).
    int status = 0;
};

// Leading spaces, optional sign, digits with at most one point, optional
// exponent. A value beyond the double range is refused like bad syntax, with
// the status pointing at the first character of the number.
ParsedNumber parseNumber(const QString &text);

// Up to 15 significant digits, decimal comma, no trailing zeros; fixed
// notation from 0,0001 up to below 1E15, otherwise 1,5E-5 or 1E15.
// The value must be finite.
QString generalDecimal(double value);

// The same characters written into `out` (at least kGeneralDecimalMax
// bytes), for callers that build long texts; returns how many.
inline constexpr std::size_t kGeneralDecimalMax = 32;
std::size_t generalDecimalChars(double value, char *out);

// The rounding step of RoundToPrecision: with a factor above 1 the value is
// scaled, rounded half to even through a signed 64-bit integer and scaled
// back; otherwise it is returned as it is.
struct Rounded {
    double value = 0.0;
    std::optional<ArithFault> fault;
};
Rounded roundByPrecision(double value, std::int32_t precisionFactor);

struct DisplayText {
    QString text;
    std::optional<ArithFault> fault;
};
DisplayText RoundToPrecision(double value, std::int32_t precisionFactor);

// The precision settings the menu offers, in menu order: the factor and the
// item's caption (with a decimal point, as the menu shows it).
struct PrecisionSetting {
    std::int32_t factor;
    const char *caption;
};
inline constexpr std::array<PrecisionSetting, 5> kPrecisionSettings{{
    {100, "0.00"},
    {1000, "0.000"},
    {10000, "0.0000"},
    {100000, "0.00000"},
    {1, "не округлять"},
}};

// Compares a text with "0" as strings of unsigned bytes: <0, 0 or >0.
int compareWithZero(const QString &text);

} // namespace calc
