// Line access into the matches of a walk.
#include "search/list_lines.h"

#include "calc/number_text.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>

namespace search {

namespace {

std::int64_t widthOf(const char *chars, std::size_t n, const CharAdvances &advances) {
    std::int64_t w = 0;
    for (std::size_t i = 0; i < n; ++i)
        w += advances[static_cast<unsigned char>(chars[i])];
    return w;
}

std::int64_t widthOf(const QString &latin1, const CharAdvances &advances) {
    std::int64_t w = 0;
    for (const QChar c : latin1)
        w += advances[c.unicode() & 0xff];
    return w;
}

// What a value's width needs from the font when its digits all advance alike.
struct DigitWidths {
    std::int64_t digit;
    std::int64_t comma;
    std::int64_t minus;
};

// a · b − p exactly, p being the rounded product (Dekker's product: each
// factor split into halves whose products are exact).
double productError(double a, double b, double p) {
    const auto split = [](double x, double &high, double &low) {
        const double c = 134217729.0 * x; // 2^27 + 1
        high = c - (c - x);
        low = x - high;
    };
    double ah = 0, al = 0, bh = 0, bl = 0;
    split(a, ah, al);
    split(b, bh, bl);
    return ((ah * bh - p) + ah * bl + al * bh) + al * bl;
}

// The width of generalDecimal(v) in fixed notation, from its count of
// significant digits, without writing the characters: v scaled to 15 digits
// and rounded is the text's digits (for the exponent forms, and a value on a
// rounding half, nothing is returned and the value is written out).
std::optional<std::int64_t> fixedWidth(double v, const DigitWidths &w) {
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                        1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
    // 1e-4 to 1e13: the exponents of the fixed notation checked here.
    static constexpr double kDecades[] = {1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1,  1e2,  1e3,  1e4,
                                          1e5,  1e6,  1e7,  1e8,  1e9, 1e10, 1e11, 1e12, 1e13};
    const double x = std::fabs(v);
    if (!(x >= 1e-4 && x < 1e14))
        return std::nullopt;
    // A guess (the negative powers are not exact): a wrong one gives a
    // scaled value outside 15 digits.
    const int e =
        int(std::upper_bound(std::begin(kDecades), std::end(kDecades), x) - std::begin(kDecades)) -
        5;
    const double scale = kPow10[14 - e];
    const double scaled = x * scale;
    double m = std::nearbyint(scaled);
    double off = scaled - m;
    // Near a half the product's own rounding may have decided: its error,
    // found exactly (the power of ten is exact), rounds it as the exact value
    // would be; only a value all but on a half is written out.
    if (std::fabs(off) > 0.375) {
        off += productError(x, scale, scaled);
        if (std::fabs(std::fabs(off) - 0.5) < 1e-6)
            return std::nullopt;
        if (off > 0.5)
            m += 1;
        else if (off < -0.5)
            m -= 1;
    }
    if (m < 1e14 || m >= 1e15)
        return std::nullopt;
    // The trailing zeros, which the text drops; constant divisors keep it quick.
    auto digits = static_cast<std::uint64_t>(m);
    int zeros = 0;
    if (digits % 100000000 == 0) {
        digits /= 100000000;
        zeros += 8;
    }
    if (digits % 10000 == 0) {
        digits /= 10000;
        zeros += 4;
    }
    if (digits % 100 == 0) {
        digits /= 100;
        zeros += 2;
    }
    if (digits % 10 == 0)
        zeros += 1;
    const int significant = 15 - zeros;
    // Fixed notation: 0,000ddd below 1, otherwise the integer digits (zeros
    // filled in) and the decimals after a comma.
    const int shown = e < 0 ? significant - e : std::max(significant, e + 1);
    const bool comma = e < 0 || significant > e + 1;
    return shown * w.digit + (comma ? w.comma : 0) + (v < 0 ? w.minus : 0);
}

// The position of the k-th set bit (from 0) of a word that has more than k.
int nthSetBit(std::uint64_t bits, int k) {
    for (; k > 0; --k)
        bits &= bits - 1;
    return std::countr_zero(bits);
}

} // namespace

ListLines::ListLines(std::shared_ptr<const GridResult> result, Family family)
    : result_(std::move(result)), family_(family) {
    const calc::RowTexts &t = calc::rowTexts(rowOf(family), result_->fr2First);
    first_ = QString::fromLatin1(t.lineFirst);
    second_ = QString::fromLatin1(t.lineSecond);
    const std::vector<std::uint64_t> &words = result_->hits[static_cast<std::size_t>(family)];
    before_.reserve(words.size());
    std::int32_t sum = 0;
    for (const std::uint64_t word : words) {
        before_.push_back(sum);
        sum += std::popcount(word);
    }
    count_ = sum;
}

std::size_t ListLines::pointOf(int index) const {
    // The last word with fewer matches before it than `index` + 1 holds it.
    const auto word = std::upper_bound(before_.begin(), before_.end(), index) - before_.begin() - 1;
    const std::uint64_t bits =
        result_->hits[static_cast<std::size_t>(family_)][static_cast<std::size_t>(word)];
    return static_cast<std::size_t>(word) * 64 +
           static_cast<std::size_t>(nthSetBit(bits, index - before_[std::size_t(word)]));
}

QString ListLines::line(int index) const {
    const std::size_t n = result_->coefficients.size();
    const std::size_t point = pointOf(index);
    const double a = result_->coefficients[point % n];
    const double b = result_->coefficients[point / n];
    return lineText(*result_, family_, Match{matchValue(*result_, family_, a, b), a, b});
}

std::int64_t ListLines::widest(const CharAdvances &advances) const {
    const std::vector<double> &coef = result_->coefficients;
    const std::size_t n = coef.size();
    std::vector<std::int64_t> coefWidth(n);
    for (std::size_t i = 0; i < n; ++i) {
        char text[calc::kGeneralDecimalMax];
        coefWidth[i] = widthOf(text, calc::generalDecimalChars(coef[i], text), advances);
    }
    const std::int64_t fixed = widthOf(first_, advances) + widthOf(second_, advances);
    // Most fonts give the digits one advance; then a value's width follows
    // from how many digits it has, which is cheaper to find than its text.
    const bool tabular = std::all_of(advances.begin() + '1', advances.begin() + '9' + 1,
                                     [&](std::int32_t a) { return a == advances['0']; });
    const DigitWidths digitWidths{advances['0'], advances[','], advances['-']};
    std::int64_t widest = 0;
    forEachHit(*result_, family_, [&](std::size_t ia, std::size_t ib) {
        const double v = matchValue(*result_, family_, coef[ia], coef[ib]);
        std::optional<std::int64_t> width =
            tabular && v != 0.0 ? fixedWidth(v, digitWidths) : std::nullopt;
        if (!width) {
            char value[calc::kGeneralDecimalMax];
            width = widthOf(value, calc::generalDecimalChars(v, value), advances);
        }
        widest = std::max(widest, coefWidth[ia] + coefWidth[ib] + fixed + *width);
    });
    return widest;
}

} // namespace search
