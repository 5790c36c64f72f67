// The grid walk of SearchByFrequency: the eleven families of combinations of
// a pair's frequencies, the walk over the coefficient pairs (a, b) with the
// window, bound and rounding tests, and what the window writes from it: the
// first match of each family for its modulation row, each family's list text
// for the variants window, and the twelve list titles.
//
// The walk records matches compactly and formats nothing; the window makes a
// list's lines one by one when they are shown (list_lines.h).
#pragma once

#include "calc/arith_fault.h"
#include "calc/frequency_table.h"
#include "calc/rows.h"
#include "search/search_parameters.h"

#include <QString>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <vector>

namespace search {

// The families in the order in which they are tested at every grid point:
// the rows of calc::kRows, in their order.
enum class Family : std::uint8_t {
    FzPlusFr1,
    FzMinusFr1,
    FzPlusFr2,
    FzMinusFr2,
    Fr1TimesFr2,
    Fr1PlusFr2,
    FrDifference,
    FmPlusFr1,
    FmMinusFr1,
    FmPlusFr2,
    FmMinusFr2,
};
inline constexpr int kFamilyCount = calc::kRowCount;

constexpr const calc::RowSpec &rowOf(Family f) {
    return calc::kRows[static_cast<std::size_t>(f)];
}

// The frequency that bounds a coefficient: MaxFrequency / base >= coefficient.
enum class Base : std::uint8_t { Fz, Fr1, Fr2, Fm };

constexpr Base baseOf(calc::Entry operand) {
    return operand == calc::Entry::Fz    ? Base::Fz
           : operand == calc::Entry::Fr1 ? Base::Fr1
           : operand == calc::Entry::Fr2 ? Base::Fr2
                                         : Base::Fm;
}

struct FamilySpec {
    Family family;
    calc::Entry entry; // the modulation entry that receives its candidate
    Base baseA;
    Base baseB;
    bool usesFm; // takes part only when the Fm text compares above "0"
};

namespace detail {
constexpr std::array<FamilySpec, kFamilyCount> familiesFromRows() {
    std::array<FamilySpec, kFamilyCount> families{};
    for (std::size_t i = 0; i < families.size(); ++i) {
        const calc::RowSpec &row = calc::kRows[i];
        families[i] = {static_cast<Family>(i), row.entry, baseOf(row.first), baseOf(row.second),
                       row.usesFm};
    }
    return families;
}
} // namespace detail

inline constexpr std::array<FamilySpec, kFamilyCount> kFamilies = detail::familiesFromRows();

inline constexpr const FamilySpec &familySpec(Family f) {
    return kFamilies[static_cast<std::size_t>(f)];
}

// Each family is the row of its name: the enumeration follows the row table.
static_assert(kFamilies.size() == calc::kRows.size());
static_assert(familySpec(Family::FzPlusFr1).entry == calc::Entry::FzPlusFr1);
static_assert(familySpec(Family::FzMinusFr1).entry == calc::Entry::FzMinusFr1);
static_assert(familySpec(Family::FzPlusFr2).entry == calc::Entry::FzPlusFr2);
static_assert(familySpec(Family::FzMinusFr2).entry == calc::Entry::FzMinusFr2);
static_assert(familySpec(Family::Fr1TimesFr2).entry == calc::Entry::Fr1TimesFr2);
static_assert(familySpec(Family::Fr1PlusFr2).entry == calc::Entry::Fr1PlusFr2);
static_assert(familySpec(Family::FrDifference).entry == calc::Entry::FrDifference);
static_assert(familySpec(Family::FmPlusFr1).entry == calc::Entry::FmPlusFr1);
static_assert(familySpec(Family::FmMinusFr1).entry == calc::Entry::FmMinusFr1);
static_assert(familySpec(Family::FmPlusFr2).entry == calc::Entry::FmPlusFr2);
static_assert(familySpec(Family::FmMinusFr2).entry == calc::Entry::FmMinusFr2);

// The titles of the variants window's lists: one per row, the difference
// row twice (wheel 1, then wheel 2 the smaller); both carry its count.
struct TitleSpec {
    const char *opening;
    Family family;
};
inline constexpr int kTitleCount = kFamilyCount + 1;

namespace detail {
constexpr std::array<TitleSpec, kTitleCount> titlesFromRows() {
    std::array<TitleSpec, kTitleCount> titles{};
    std::size_t t = 0;
    for (std::size_t i = 0; i < calc::kRows.size(); ++i) {
        titles[t++] = {calc::kRows[i].texts.titleOpening, static_cast<Family>(i)};
        if (calc::kRows[i].op == calc::RowOperator::Difference)
            titles[t++] = {calc::kReversedDifferenceTexts.titleOpening, static_cast<Family>(i)};
    }
    return titles;
}
} // namespace detail

inline constexpr std::array<TitleSpec, kTitleCount> kTitles = detail::titlesFromRows();

// The values of the last calculation that the walk reads.
struct GridPair {
    double z1 = 0.0;
    double z2 = 0.0;
    double fr1 = 0.0;
    double fr2 = 0.0;
    double fz = 0.0;
    double fm = 0.0;
    // The captured Fm text compares above "0": families 8 to 11 take part.
    bool fmActive = false;
};

// From the frequency table and the captured texts of the last calculation.
GridPair gridPair(const calc::PairState &pair);

// The candidate of family f at the coefficients (a, b), before rounding. The
// walk and the texts made afterwards both use this one formula, so a value
// written from a match is the value that was tested.
inline double baseValue(const GridPair &p, Base base) {
    switch (base) {
    case Base::Fz:
        return p.fz;
    case Base::Fr1:
        return p.fr1;
    case Base::Fr2:
        return p.fr2;
    case Base::Fm:
        return p.fm;
    }
    return 0.0;
}

inline double candidate(Family f, const GridPair &p, bool fr2First, double a, double b) {
    const calc::RowSpec &row = rowOf(f);
    const bool reversed = row.op == calc::RowOperator::Difference && fr2First;
    const double x = baseValue(p, baseOf(reversed ? row.second : row.first));
    const double y = baseValue(p, baseOf(reversed ? row.first : row.second));
    return calc::rowValue<calc::PlainArith>(row.op, a, x, b, y, calc::ProductGrouping::Harmonics);
}

// What a walk found. The matches are kept as one bit per grid point and
// family (bit ib · n + ia of hits, n the number of coefficients), so that
// even the largest grid with every candidate matching writes a few
// kilobytes; their values are worked out again from the pair when they are
// written. Read them through the functions below.
struct GridResult {
    GridPair pair;
    std::int32_t precisionFactor = 1;
    // FrDifference is a·Fr2 − b·Fr1 (Z1 > Z2) rather than a·Fr1 − b·Fr2.
    bool fr2First = false;
    // The values a and b run through: 0, then repeated additions of the step
    // while not above MaxHarmonic. Both coefficients run through the same values.
    std::vector<double> coefficients;
    std::array<std::vector<std::uint64_t>, kFamilyCount> hits;
    // The match counters.
    std::array<std::int32_t, kFamilyCount> counts{};
    // The walk was abandoned at this fault; the matches before it stay, the
    // counters are not complete.
    std::optional<calc::ArithFault> fault;
    // The candidates of the last grid point reached, as the walk left them in
    // the modulation entries (rounded as far as the rounding got). None when
    // the grid had no point.
    std::optional<std::array<double, kFamilyCount>> lastCandidates;
};

// The most values a coefficient runs through: 0 to 50 in steps of 0,5, the
// largest grid the window can ask for. A caller that passes a finer step or
// a higher limit gets the first 101 values, never a grid of gigabytes.
inline constexpr std::size_t kMaxCoefficientValues = 101;

// Walks the grid: b outer, a inner, each from 0 while not above MaxHarmonic;
// at each point all eleven candidates are computed, then rounded by the
// precision, then tested family by family. parameters.harmonicStep must be
// above 0 (parseSearchParameters refuses anything else).
GridResult walkGrid(const GridPair &pair, const SearchParameters &parameters,
                    std::int32_t precisionFactor);

// One match as the window writes it: the tested (rounded) value and the
// coefficients.
struct Match {
    double value = 0.0;
    double a = 0.0;
    double b = 0.0;
    bool operator==(const Match &) const = default;
};

// Calls fn(ia, ib) for each match of f in grid order, with the indices of
// its coefficients a and b.
template <typename Fn> void forEachHit(const GridResult &result, Family f, Fn fn) {
    const std::size_t n = result.coefficients.size();
    const std::vector<std::uint64_t> &words = result.hits[static_cast<std::size_t>(f)];
    for (std::size_t w = 0; w < words.size(); ++w) {
        for (std::uint64_t bits = words[w]; bits != 0; bits &= bits - 1) {
            const std::size_t point = w * 64 + static_cast<std::size_t>(std::countr_zero(bits));
            fn(point % n, point / n);
        }
    }
}

// The tested value of a match: its candidate with the walk's rounding, which
// succeeded for this point when the walk passed it.
double matchValue(const GridResult &result, Family f, double a, double b);

// The matches of a family in grid order: b ascending, then a ascending.
std::vector<Match> matchesOf(const GridResult &result, Family f);

// The texts of a modulation row: result, k1 and k2.
struct RowTexts {
    QString result;
    QString k1;
    QString k2;
    bool operator==(const RowTexts &) const = default;
};

std::optional<RowTexts> firstMatch(const GridResult &result, Family f);

std::int32_t matchCount(const GridResult &result, Family f);

// One line of a family, such as 2Fz+1Fr1=1234,5.
QString lineText(const GridResult &result, Family f, const Match &m);

// All lines of a family joined by '\n', empty without a match: the whole list
// formatted at once, which the window never needs; it is what the lines made
// one by one are held to.
QString listText(const GridResult &result, Family f);

// The twelve titles in the order of kTitles, such as "Fz + Fr1 (3)". Only for
// a walk without a fault: after a fault the titles keep their texts.
std::array<QString, kTitleCount> titleTexts(const GridResult &result);

// The variants window comes up by itself: the walk completed and some family
// matched more than once.
bool bringsUpVariants(const GridResult &result);

// Leaves the candidates of the last grid point in the modulation entries.
void applyCandidates(calc::FrequencyTable &table, const GridResult &result);

} // namespace search
