// Fuzz target: the general decimal form and RoundToPrecision. An input is a
// double (8 bytes) and a precision factor (4 bytes, int32), both in the
// machine's byte order; missing bytes are zero.
//
// Properties: the text has no "inf", "nan" or point, its only separator is
// one comma, it has the general decimal form (at most 15 significant digits,
// no needless zeros, E only outside 0,0001 .. below 1E15), and the program
// reads it back (comma rule, then number syntax) as the value rounded to 15
// significant digits; the rounding step rounds half to even and reports a
// fault exactly when the rounded product leaves [-2^63, 2^63).
#include "calc/number_text.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace {

constexpr std::size_t kInputSize = sizeof(double) + sizeof(std::int32_t);

locale_t cLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

struct FifteenDigits {
    double value; // infinite when the rounding leaves the double range
    int exponent; // of the leading digit after rounding
};

// The value rounded to 15 significant digits by the C library.
FifteenDigits roundedTo15Digits(double value) {
    const locale_t previous = uselocale(cLocale());
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    uselocale(previous);
    const char *e = std::strchr(buf, 'e');
    return {strtod_l(buf, nullptr, cLocale()), e ? std::atoi(e + 1) : 0};
}

bool isDigitChar(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The form apart from the value: at most 15 significant digits, no
// trailing zeros after the comma, no leading zeros, fixed notation for
// exponents -4..14, otherwise one digit, the fraction and E with the
// exponent. With the value read back this leaves one text only.
void checkForm(const QString &text, int exponent, const std::string &shown) {
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QString body = negative ? text.mid(1) : text;
    const qsizetype ePos = body.indexOf(QLatin1Char('E'));
    const QString mantissa = ePos < 0 ? body : body.left(ePos);
    const qsizetype comma = mantissa.indexOf(QLatin1Char(','));
    const QString integral = comma < 0 ? mantissa : mantissa.left(comma);
    const QString fraction = comma < 0 ? QString() : mantissa.mid(comma + 1);

    FUZZ_CHECK(text != QLatin1String("-0"), shown);
    FUZZ_CHECK(!integral.isEmpty() && std::all_of(integral.begin(), integral.end(), isDigitChar),
               shown);
    FUZZ_CHECK(std::all_of(fraction.begin(), fraction.end(), isDigitChar), shown);
    FUZZ_CHECK(comma < 0 || (!fraction.isEmpty() && !fraction.endsWith(QLatin1Char('0'))),
               shown + " has a trailing zero or an empty fraction");
    FUZZ_CHECK(integral == QLatin1String("0") || !integral.startsWith(QLatin1Char('0')),
               shown + " has a leading zero");
    QString significant = integral + fraction;
    while (significant.startsWith(QLatin1Char('0')))
        significant.remove(0, 1);
    FUZZ_CHECK(significant.size() <= 15, shown + " has more than 15 significant digits");

    const bool fixed = exponent >= -4 && exponent < 15;
    if (text == QLatin1String("0"))
        return;
    if (fixed) {
        FUZZ_CHECK(ePos < 0,
                   shown + ": exponent " + std::to_string(exponent) + " is written fixed");
        return;
    }
    FUZZ_CHECK(ePos >= 0, shown + ": exponent " + std::to_string(exponent) + " needs the E form");
    FUZZ_CHECK(integral.size() == 1 && integral != QLatin1String("0"), shown);
    FUZZ_CHECK(body.mid(ePos + 1) == QString::number(exponent),
               shown + ": exponent " + std::to_string(exponent));
}

void checkText(double value, const QString &text) {
    const std::string shown = "value " + fuzz::exact(value) + " written " + fuzz::quoted(text);
    FUZZ_CHECK(!text.isEmpty(), shown);
    FUZZ_CHECK(!text.contains(QLatin1String("inf"), Qt::CaseInsensitive) &&
                   !text.contains(QLatin1String("nan"), Qt::CaseInsensitive),
               shown);
    FUZZ_CHECK(!text.contains(QLatin1Char('.')), shown);
    FUZZ_CHECK(text.count(QLatin1Char(',')) <= 1, shown);
    for (const QChar c : text) {
        FUZZ_CHECK((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(',') ||
                       c == QLatin1Char('-') || c == QLatin1Char('E'),
                   shown);
    }

    // The comma rule looks only behind the leading digits, so a negative
    // number with a fraction keeps its comma and is refused there; what
    // follows the sign reads back.
    const bool negative = text.startsWith(QLatin1Char('-'));
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (negative && comma >= 0) {
        const calc::ParsedNumber whole = calc::parseNumber(calc::applyCommaRule(text));
        FUZZ_CHECK(whole.status == comma + 1,
                   shown + " refused at " + std::to_string(whole.status));
    }
    const QString magnitude = negative && comma >= 0 ? text.mid(1) : text;
    const calc::ParsedNumber parsed = calc::parseNumber(calc::applyCommaRule(magnitude));
    const FifteenDigits rounded = roundedTo15Digits(value);
    const double expected = rounded.value;
    checkForm(text, rounded.exponent, shown);
    if (std::isinf(expected)) {
        // Fifteen digits round beyond the largest double: the text is beyond
        // the double range, and the number syntax refuses it as such.
        FUZZ_CHECK(parsed.status == 1, shown + " gave status " + std::to_string(parsed.status));
        return;
    }
    FUZZ_CHECK(parsed.status == 0, shown + " refused at " + std::to_string(parsed.status));
    const double read = magnitude.size() == text.size() ? parsed.value : -parsed.value;
    FUZZ_CHECK(read == expected,
               shown + " read back " + fuzz::exact(read) + ", expected " + fuzz::exact(expected));
}

// Rounding half to even, done the long way round.
double roundHalfEven(double x) {
    const double down = std::floor(x);
    const double fraction = x - down;
    if (fraction < 0.5)
        return down;
    if (fraction > 0.5)
        return down + 1.0;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

void checkRounding(double value, std::int32_t factor) {
    const std::string shown = "value " + fuzz::exact(value) + " factor " + std::to_string(factor);
    const calc::Rounded r = calc::roundByPrecision(value, factor);
    const calc::DisplayText d = calc::RoundToPrecision(value, factor);
    FUZZ_CHECK(d.fault == r.fault, shown);

    if (factor <= 1) {
        FUZZ_CHECK(!r.fault && std::memcmp(&r.value, &value, sizeof value) == 0, shown);
        FUZZ_CHECK(d.text == calc::generalDecimal(value), shown + " shown " + fuzz::quoted(d.text));
        return;
    }

    const double product = value * static_cast<double>(factor);
    const double integral = std::isfinite(product) ? roundHalfEven(product) : product;
    const double limit = std::ldexp(1.0, 63);
    const bool outside = !(integral >= -limit && integral < limit);
    FUZZ_CHECK(r.fault.has_value() == outside,
               shown + (outside ? " product beyond 64 bits not reported" : " false fault"));
    if (outside) {
        FUZZ_CHECK(*r.fault == calc::ArithFault::RoundingRange && d.text.isEmpty(), shown);
        return;
    }
    const double expected =
        static_cast<double>(static_cast<std::int64_t>(integral)) / static_cast<double>(factor);
    FUZZ_CHECK(std::memcmp(&r.value, &expected, sizeof expected) == 0,
               shown + " rounded to " + fuzz::exact(r.value) + ", expected " +
                   fuzz::exact(expected));
    FUZZ_CHECK(d.text == calc::generalDecimal(r.value), shown + " shown " + fuzz::quoted(d.text));
    checkText(r.value, d.text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size > kInputSize)
        return -1; // longer inputs add nothing; keep them out of the corpus
    unsigned char bytes[kInputSize] = {};
    if (size > 0)
        std::memcpy(bytes, data, size);
    double value = 0.0;
    std::int32_t factor = 0;
    std::memcpy(&value, bytes, sizeof value);
    std::memcpy(&factor, bytes + sizeof value, sizeof factor);
    if (!std::isfinite(value))
        return 0;
    checkText(value, calc::generalDecimal(value));
    checkRounding(value, factor);
    return 0;
}
