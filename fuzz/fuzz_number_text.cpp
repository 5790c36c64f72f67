// Fuzz target: the comma rule and the number syntax on arbitrary text, the
// bytes read once as Latin-1 and once as UTF-8.
//
// Properties: no crash and no undefined behaviour; the comma rule turns at
// most one character, the comma that ends the leading digits, into a point
// and is idempotent; the status is 0 or a position in 1..size+1; a number is
// finite, is read the same way every time and agrees with strtod in the C
// locale on the same text.
#include "calc/number_text.h"
#include "fuzz_check.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

qsizetype leadingDigits(const QString &text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
        ++i;
    return i;
}

bool sameDouble(double a, double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

void checkCommaRule(const QString &text, const QString &ruled) {
    FUZZ_CHECK(ruled.size() == text.size(),
               "text " + fuzz::quoted(text) + " became " + fuzz::quoted(ruled));
    qsizetype changedAt = -1;
    int changes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == ruled[i])
            continue;
        ++changes;
        changedAt = i;
        FUZZ_CHECK(text[i] == QLatin1Char(',') && ruled[i] == QLatin1Char('.'),
                   "text " + fuzz::quoted(text) + " became " + fuzz::quoted(ruled));
    }
    FUZZ_CHECK(changes <= 1, "text " + fuzz::quoted(text) + " became " + fuzz::quoted(ruled));

    const qsizetype digits = leadingDigits(text);
    const bool commaEndsDigits = digits < text.size() && text[digits] == QLatin1Char(',');
    FUZZ_CHECK(commaEndsDigits == (changes == 1) && (changes == 0 || changedAt == digits),
               "text " + fuzz::quoted(text) + " became " + fuzz::quoted(ruled));
    FUZZ_CHECK(calc::applyCommaRule(ruled) == ruled, "second pass over " + fuzz::quoted(ruled) +
                                                         " gave " +
                                                         fuzz::quoted(calc::applyCommaRule(ruled)));
}

// strtod on the same text: a number in the program's syntax is also one for
// strtod, except a mantissa without digits ("." or "-.e5"), which the
// program reads as 0 and strtod not at all.
void checkAgainstStrtod(const QString &text, const calc::ParsedNumber &parsed) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string ascii = text.toStdString();
    const char *begin = ascii.c_str();
    while (*begin == ' ')
        ++begin;
    char *end = nullptr;
    const double expected = strtod_l(begin, &end, cLocale);
    if (end == begin) {
        FUZZ_CHECK(parsed.value == 0.0, "text " + fuzz::quoted(text) +
                                            " without mantissa digits read " +
                                            fuzz::exact(parsed.value));
        return;
    }
    FUZZ_CHECK(*end == '\0', "text " + fuzz::quoted(text) + " is a number, strtod stops at " +
                                 std::to_string(end - ascii.c_str() + 1));
    FUZZ_CHECK(sameDouble(parsed.value, expected), "text " + fuzz::quoted(text) + " read " +
                                                       fuzz::exact(parsed.value) + ", strtod " +
                                                       fuzz::exact(expected));
}

void check(const QString &text) {
    const QString ruled = calc::applyCommaRule(text);
    checkCommaRule(text, ruled);

    const calc::ParsedNumber first = calc::parseNumber(ruled);
    const calc::ParsedNumber second = calc::parseNumber(ruled);
    FUZZ_CHECK(first.status == second.status && sameDouble(first.value, second.value),
               "text " + fuzz::quoted(ruled) + " read as " + std::to_string(first.status) + "/" +
                   fuzz::exact(first.value) + ", then " + std::to_string(second.status) + "/" +
                   fuzz::exact(second.value));
    FUZZ_CHECK(first.status == 0 || (first.status >= 1 && first.status <= ruled.size() + 1),
               "text " + fuzz::quoted(ruled) + " gave status " + std::to_string(first.status));
    if (first.status != 0)
        return;
    FUZZ_CHECK(std::isfinite(first.value),
               "text " + fuzz::quoted(ruled) + " read " + fuzz::exact(first.value));
    checkAgainstStrtod(ruled, first);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const auto *chars = reinterpret_cast<const char *>(data);
    const auto n = static_cast<qsizetype>(size);
    check(QString::fromLatin1(chars, n));
    check(QString::fromUtf8(chars, n));
    return 0;
}
