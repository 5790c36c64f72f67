// Line access into the matches of a walk.
#include "search/list_lines.h"

#include "calc/number_text.h"

#include <algorithm>
#include <bit>

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
    std::int64_t widest = 0;
    forEachHit(*result_, family_, [&](std::size_t ia, std::size_t ib) {
        char value[calc::kGeneralDecimalMax];
        const std::size_t length =
            calc::generalDecimalChars(matchValue(*result_, family_, coef[ia], coef[ib]), value);
        widest = std::max(widest,
                          coefWidth[ia] + coefWidth[ib] + fixed + widthOf(value, length, advances));
    });
    return widest;
}

} // namespace search
