// The comma rule, the number syntax, the general decimal form and rounding.
#include "calc/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace calc {

namespace {
bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// strtod under the C locale, so that the point is the separator whatever the
// process locale says.
double strtodC(const std::string &s, bool *overflow) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const double v = strtod_l(s.c_str(), nullptr, cLocale);
    *overflow = std::isinf(v);
    return v;
}
} // namespace

QString applyCommaRule(const QString &text) {
    if (text.isEmpty())
        return text;
    qsizetype i = 0;
    while (i < text.size() - 1 && isDigit(text[i]))
        ++i;
    if (text[i] != QLatin1Char(','))
        return text;
    QString result = text;
    result[i] = QLatin1Char('.');
    return result;
}

ParsedNumber parseNumber(const QString &text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    const qsizetype numberStart = i;
    std::string ascii;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-'))
            ascii += '-';
        ++i;
    }
    if (i >= n) // empty, spaces only or a lone sign
        return {0.0, static_cast<int>(i + 1)};

    bool anyDigit = false;
    bool point = false;
    std::string mantissa;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            mantissa += static_cast<char>(c.unicode());
            anyDigit = true;
        } else if (c == QLatin1Char('.') && !point) {
            mantissa += '.';
            point = true;
        } else {
            break;
        }
    }
    std::string exponent;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ++i;
        exponent = "e";
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            exponent += static_cast<char>(text[i].unicode());
            ++i;
        }
        bool expDigit = false;
        while (i < n && isDigit(text[i])) {
            exponent += static_cast<char>(text[i].unicode());
            expDigit = true;
            ++i;
        }
        if (!expDigit)
            return {0.0, static_cast<int>(i + 1)};
    }
    if (i < n)
        return {0.0, static_cast<int>(i + 1)};

    // A mantissa without digits (a lone point, or nothing before the
    // exponent) reads as 0.
    if (!anyDigit)
        return {0.0, 0};
    ascii += mantissa + exponent;
    bool overflow = false;
    const double v = strtodC(ascii, &overflow);
    if (overflow)
        return {0.0, static_cast<int>(numberStart + 1)};
    return {v, 0};
}

std::size_t generalDecimalChars(double value, char *out) {
    if (value == 0.0) {
        out[0] = '0';
        return 1;
    }
    // 15 significant digits in scientific form: [-]d.dddddddddddddde[+-]x,
    // taken apart in place: the lists write a hundred thousand of these.
    char sci[48];
    const auto res = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14);
    const char *p = sci;
    std::size_t n = 0;
    if (*p == '-') {
        out[n++] = '-';
        ++p;
    }
    const char *e = std::find(p, static_cast<const char *>(res.ptr), 'e');
    char digits[16];
    std::size_t count = 0;
    digits[count++] = p[0];
    for (const char *d = p + 2; d < e; ++d)
        digits[count++] = *d;
    while (count > 1 && digits[count - 1] == '0')
        --count;
    int exp10 = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), res.ptr, exp10);

    if (exp10 >= -4 && exp10 < 15) {
        if (exp10 < 0) {
            out[n++] = '0';
            out[n++] = ',';
            for (int z = 0; z < -exp10 - 1; ++z)
                out[n++] = '0';
            n = std::copy(digits, digits + count, out + n) - out;
        } else {
            const auto intLen = static_cast<std::size_t>(exp10) + 1;
            for (std::size_t k = 0; k < std::max(count, intLen); ++k) {
                if (k == intLen)
                    out[n++] = ',';
                out[n++] = k < count ? digits[k] : '0';
            }
        }
    } else {
        out[n++] = digits[0];
        if (count > 1) {
            out[n++] = ',';
            n = std::copy(digits + 1, digits + count, out + n) - out;
        }
        out[n++] = 'E';
        n = std::to_chars(out + n, out + kGeneralDecimalMax, exp10).ptr - out;
    }
    return n;
}

QString generalDecimal(double value) {
    char buf[kGeneralDecimalMax];
    return QString::fromLatin1(buf, static_cast<qsizetype>(generalDecimalChars(value, buf)));
}

Rounded roundByPrecision(double value, std::int32_t precisionFactor) {
    if (precisionFactor <= 1)
        return {value, std::nullopt};
    const double product = value * static_cast<double>(precisionFactor);
    // nearbyint rounds by the current mode, which is to nearest, ties to even.
    const double rounded = std::nearbyint(product);
    // The double range of a signed 64-bit integer is [-2^63, 2^63).
    if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
        return {0.0, ArithFault::RoundingRange};
    const auto n = static_cast<std::int64_t>(rounded);
    return {static_cast<double>(n) / static_cast<double>(precisionFactor), std::nullopt};
}

DisplayText RoundToPrecision(double value, std::int32_t precisionFactor) {
    const Rounded r = roundByPrecision(value, precisionFactor);
    if (r.fault)
        return {QString(), r.fault};
    return {generalDecimal(r.value), std::nullopt};
}

int compareWithZero(const QString &text) {
    // "0" is one character, so the first character decides; every character
    // below "0" in code page 1251 is ASCII, and so has the same order here.
    if (text.isEmpty())
        return -1;
    const char16_t first = text[0].unicode();
    if (first < u'0')
        return -1;
    if (first > u'0')
        return 1;
    return text.size() == 1 ? 0 : 1;
}

} // namespace calc
