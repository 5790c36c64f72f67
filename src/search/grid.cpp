// The grid walk and the texts made from its matches.
#include "search/grid.h"

#include "calc/number_text.h"

#include <bit>
#include <cmath>
#include <utility>

namespace search {

namespace {

std::vector<double> coefficientValues(const SearchParameters &parameters) {
    std::vector<double> values;
    for (double x = 0.0; x <= parameters.maxHarmonic && values.size() < kMaxCoefficientValues;) {
        values.push_back(x);
        const double next = x + parameters.harmonicStep;
        if (!(next > x)) // a step too small to move on: the values would repeat forever
            break;
        x = next;
    }
    return values;
}

using Candidates = std::array<double, kFamilyCount>;

// All eleven candidates of a point, each by the one formula of its family.
template <std::size_t... K>
void computeCandidates(Candidates &out, const GridPair &pair, bool fr2First, double a, double b,
                       std::index_sequence<K...>) {
    ((out[K] = candidate(static_cast<Family>(K), pair, fr2First, a, b)), ...);
}

// The walk proper: run() returns at the end of the grid or at a fault.
class Walk {
public:
    Walk(const SearchParameters &parameters, GridResult &result)
        : result(result), low(calc::checkedSub(parameters.target, parameters.tolerance)),
          high(calc::checkedAdd(parameters.target, parameters.tolerance)) {
        // MaxFrequency / base does not change over the grid; a zero base is a
        // fault only once a candidate inside the window asks for it.
        std::array<calc::Checked, 4> quotients;
        for (std::size_t b = 0; b < quotients.size(); ++b)
            quotients[b] = calc::checkedDiv(parameters.maxFrequency,
                                            baseValue(result.pair, static_cast<Base>(b)));
        for (const FamilySpec &fam : kFamilies) {
            const auto k = static_cast<std::size_t>(fam.family);
            if (!fam.usesFm || result.pair.fmActive)
                active[activeCount++] = k;
            limitA[k] = quotients[static_cast<std::size_t>(fam.baseA)];
            limitB[k] = quotients[static_cast<std::size_t>(fam.baseB)];
        }
    }

    void run() {
        const std::vector<double> &coef = result.coefficients;
        const std::size_t n = coef.size();
        Candidates next{};
        for (std::size_t ib = 0; ib < n; ++ib) {
            for (std::size_t ia = 0; ia < n; ++ia) {
                reached = true;
                computeCandidates(next, result.pair, result.fr2First, coef[ia], coef[ib],
                                  std::make_index_sequence<kFamilyCount>{});
                if (!store(next) || !round() || !test(coef[ia], coef[ib], ib * n + ia))
                    return;
            }
        }
    }

    bool reached = false;
    Candidates candidates{};

private:
    bool fail(calc::ArithFault f) {
        result.fault = f;
        return false;
    }

    // An overflow on the way to a candidate leaves it infinite or NaN, and
    // then v - v is NaN; the candidates before the first such one count as
    // stored.
    bool store(const Candidates &next) {
        double sum = 0.0;
        for (const double v : next)
            sum += v - v;
        if (sum != 0.0) {
            std::size_t k = 0;
            while (std::isfinite(next[k]))
                ++k;
            std::copy(next.begin(), next.begin() + static_cast<std::ptrdiff_t>(k),
                      candidates.begin());
            return fail(calc::ArithFault::Overflow);
        }
        candidates = next;
        return true;
    }

    bool round() {
        if (result.precisionFactor <= 1)
            return true;
        for (double &v : candidates) {
            const calc::Rounded r = calc::roundByPrecision(v, result.precisionFactor);
            if (r.fault)
                return fail(*r.fault);
            v = r.value;
        }
        return true;
    }

    bool test(double a, double b, std::size_t point) {
        if (!low.ok || !high.ok)
            return windowFault();
        const double lo = low.value;
        const double hi = high.value;
        for (std::size_t j = 0; j < activeCount; ++j) {
            const std::size_t k = active[j];
            const double v = candidates[k];
            if (v < lo || v > hi)
                continue;
            // Bounds are tested only inside the window: only there can a
            // zero base be a fault.
            if (!limitA[k].ok)
                return fail(limitA[k].fault);
            if (!(limitA[k].value >= a))
                continue;
            if (!limitB[k].ok)
                return fail(limitB[k].fault);
            if (!(limitB[k].value >= b))
                continue;
            result.hits[k][point / 64] |= std::uint64_t(1) << (point % 64);
            ++result.counts[k];
        }
        return true;
    }

    // Target ± Tolerance beyond the double range: the window test faults at
    // the first candidate that needs the failing end, whatever its family.
    bool windowFault() {
        if (!low.ok)
            return fail(low.fault);
        for (const double v : candidates)
            if (v >= low.value)
                return fail(high.fault);
        return true;
    }

    GridResult &result;
    const calc::Checked low;
    const calc::Checked high;
    std::array<std::size_t, kFamilyCount> active{};
    std::size_t activeCount = 0;
    std::array<calc::Checked, kFamilyCount> limitA;
    std::array<calc::Checked, kFamilyCount> limitB;
};

QString text(const char *latin1) {
    return QString::fromLatin1(latin1);
}

struct LineTexts {
    QString first;
    QString second;
};

LineTexts lineTexts(const GridResult &result, Family f) {
    const calc::RowTexts &t = calc::rowTexts(rowOf(f), result.fr2First);
    return {text(t.lineFirst), text(t.lineSecond)};
}

} // namespace

double matchValue(const GridResult &result, Family f, double a, double b) {
    const double v = candidate(f, result.pair, result.fr2First, a, b);
    return calc::roundByPrecision(v, result.precisionFactor).value;
}

GridPair gridPair(const calc::PairState &pair) {
    const calc::FrequencyTable &t = pair.table;
    GridPair g;
    g.z1 = t[calc::Entry::Z1];
    g.z2 = t[calc::Entry::Z2];
    g.fr1 = t[calc::Entry::Fr1];
    g.fr2 = t[calc::Entry::Fr2];
    g.fz = t[calc::Entry::Fz];
    g.fm = t[calc::Entry::Fm];
    g.fmActive = calc::compareWithZero(pair.inputTexts[calc::InFm]) > 0;
    return g;
}

GridResult walkGrid(const GridPair &pair, const SearchParameters &parameters,
                    std::int32_t precisionFactor) {
    GridResult result;
    result.pair = pair;
    result.precisionFactor = precisionFactor;
    result.fr2First = pair.z1 > pair.z2;
    result.coefficients = coefficientValues(parameters);
    const std::size_t n = result.coefficients.size();
    for (std::vector<std::uint64_t> &words : result.hits)
        words.assign((n * n + 63) / 64, 0);

    Walk walk(parameters, result);
    walk.run();
    if (walk.reached)
        result.lastCandidates = walk.candidates;
    return result;
}

std::vector<Match> matchesOf(const GridResult &result, Family f) {
    std::vector<Match> matches;
    matches.reserve(static_cast<std::size_t>(result.counts[static_cast<std::size_t>(f)]));
    forEachHit(result, f, [&](std::size_t ia, std::size_t ib) {
        const double a = result.coefficients[ia];
        const double b = result.coefficients[ib];
        matches.push_back({matchValue(result, f, a, b), a, b});
    });
    return matches;
}

std::optional<RowTexts> firstMatch(const GridResult &result, Family f) {
    std::optional<RowTexts> first;
    forEachHit(result, f, [&](std::size_t ia, std::size_t ib) {
        if (first)
            return;
        const double a = result.coefficients[ia];
        const double b = result.coefficients[ib];
        first = RowTexts{calc::generalDecimal(matchValue(result, f, a, b)), calc::generalDecimal(a),
                         calc::generalDecimal(b)};
    });
    return first;
}

std::int32_t matchCount(const GridResult &result, Family f) {
    return result.counts[static_cast<std::size_t>(f)];
}

QString lineText(const GridResult &result, Family f, const Match &m) {
    const LineTexts t = lineTexts(result, f);
    return calc::generalDecimal(m.a) + t.first + calc::generalDecimal(m.b) + t.second +
           calc::generalDecimal(m.value);
}

QString listText(const GridResult &result, Family f) {
    const LineTexts t = lineTexts(result, f);
    // Coefficients repeat from line to line: write each one once.
    std::vector<QString> coef(result.coefficients.size());
    const auto coefText = [&](std::size_t i) -> const QString & {
        if (coef[i].isEmpty())
            coef[i] = calc::generalDecimal(result.coefficients[i]);
        return coef[i];
    };
    QString out;
    out.reserve(qsizetype(matchCount(result, f)) * 24);
    forEachHit(result, f, [&](std::size_t ia, std::size_t ib) {
        if (!out.isEmpty())
            out += QLatin1Char('\n');
        out += coefText(ia);
        out += t.first;
        out += coefText(ib);
        out += t.second;
        char value[calc::kGeneralDecimalMax];
        const std::size_t n = calc::generalDecimalChars(
            matchValue(result, f, result.coefficients[ia], result.coefficients[ib]), value);
        out += QLatin1StringView(value, static_cast<qsizetype>(n));
    });
    return out;
}

std::array<QString, kTitleCount> titleTexts(const GridResult &result) {
    std::array<QString, kTitleCount> titles;
    for (std::size_t i = 0; i < titles.size(); ++i)
        titles[i] = text(kTitles[i].opening) +
                    QString::number(matchCount(result, kTitles[i].family)) + QLatin1Char(')');
    return titles;
}

bool bringsUpVariants(const GridResult &result) {
    if (result.fault)
        return false;
    for (const std::int32_t count : result.counts)
        if (count > 1)
            return true;
    return false;
}

void applyCandidates(calc::FrequencyTable &table, const GridResult &result) {
    if (!result.lastCandidates)
        return;
    for (const FamilySpec &fam : kFamilies)
        table[fam.entry] = (*result.lastCandidates)[static_cast<std::size_t>(fam.family)];
}

} // namespace search
