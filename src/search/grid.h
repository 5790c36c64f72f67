// The grid walk of SearchByFrequency: the eleven families of combinations of
// a pair's frequencies, the walk over the coefficient pairs (a, b) with the
// window, bound and rounding tests, and what the window writes from it: the
// first match of each family for its modulation row, each family's list text
// for the variants window, and the twelve list titles.
//
// The walk records matches compactly and formats nothing; the texts are made
// afterwards, one whole list text per family.
#pragma once

#include "calc/arith_fault.h"
#include "calc/frequency_table.h"
#include "search/search_parameters.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace search {

// The families in the order in which they are tested at every grid point; the
// same order as calc::kModulation.
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
inline constexpr int kFamilyCount = 11;

// The frequency that bounds a coefficient: MaxFrequency / base >= coefficient.
enum class Base : std::uint8_t { Fz, Fr1, Fr2, Fm };

struct FamilySpec {
    Family family;
    calc::Entry entry; // the modulation entry that receives its candidate
    Base baseA;
    Base baseB;
    const char *firstText;  // between a and b in a line
    const char *secondText; // between b and the value
    bool usesFm;            // takes part only when the Fm text compares above "0"
    const char *list;       // its list in the variants window
};

// FrDifference lists "Fr2-"/"Fr1=" instead when Z1 > Z2 (see GridResult::fr2First).
inline constexpr std::array<FamilySpec, kFamilyCount> kFamilies{{
    {Family::FzPlusFr1, calc::Entry::FzPlusFr1, Base::Fz, Base::Fr1, "Fz+", "Fr1=", false, "Memo1"},
    {Family::FzMinusFr1, calc::Entry::FzMinusFr1, Base::Fz, Base::Fr1, "Fz-", "Fr1=", false,
     "Memo2"},
    {Family::FzPlusFr2, calc::Entry::FzPlusFr2, Base::Fz, Base::Fr2, "Fz+", "Fr2=", false, "Memo3"},
    {Family::FzMinusFr2, calc::Entry::FzMinusFr2, Base::Fz, Base::Fr2, "Fz-", "Fr2=", false,
     "Memo4"},
    {Family::Fr1TimesFr2, calc::Entry::Fr1TimesFr2, Base::Fr1, Base::Fr2, "Fr1*", "Fr2=", false,
     "Memo5"},
    {Family::Fr1PlusFr2, calc::Entry::Fr1PlusFr2, Base::Fr1, Base::Fr2, "Fr1+", "Fr2=", false,
     "Memo6"},
    {Family::FrDifference, calc::Entry::FrDifference, Base::Fr1, Base::Fr2, "Fr1-", "Fr2=", false,
     "Memo7"},
    {Family::FmPlusFr1, calc::Entry::FmPlusFr1, Base::Fm, Base::Fr1, "Fm+", "Fr1=", true, "Memo8"},
    {Family::FmMinusFr1, calc::Entry::FmMinusFr1, Base::Fm, Base::Fr1, "Fm-", "Fr1=", true,
     "Memo9"},
    {Family::FmPlusFr2, calc::Entry::FmPlusFr2, Base::Fm, Base::Fr2, "Fm+", "Fr2=", true, "Memo10"},
    {Family::FmMinusFr2, calc::Entry::FmMinusFr2, Base::Fm, Base::Fr2, "Fm-", "Fr2=", true,
     "Memo11"},
}};

inline constexpr const FamilySpec &familySpec(Family f) {
    return kFamilies[static_cast<std::size_t>(f)];
}

// The titles of the variants window's lists. Label7 and Label8 share one
// place and both carry the FrDifference count.
struct TitleSpec {
    const char *label;
    const char *opening;
    Family family;
};
inline constexpr int kTitleCount = 12;
inline constexpr std::array<TitleSpec, kTitleCount> kTitles{{
    {"Label1", "Fz + Fr1 (", Family::FzPlusFr1},
    {"Label2", "Fz - Fr1 (", Family::FzMinusFr1},
    {"Label3", "Fz + Fr2 (", Family::FzPlusFr2},
    {"Label4", "Fz - Fr2 (", Family::FzMinusFr2},
    {"Label5", "Fr1 * Fr2 (", Family::Fr1TimesFr2},
    {"Label6", "Fr1 + Fr2 (", Family::Fr1PlusFr2},
    {"Label7", "Fr1 - Fr2 (", Family::FrDifference},
    {"Label8", "Fr2 - Fr1 (", Family::FrDifference},
    {"Label9", "Fm + Fr1 (", Family::FmPlusFr1},
    {"Label10", "Fm - Fr1 (", Family::FmMinusFr1},
    {"Label11", "Fm + Fr2 (", Family::FmPlusFr2},
    {"Label12", "Fm - Fr2 (", Family::FmMinusFr2},
}};

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
inline double candidate(Family f, const GridPair &p, bool fr2First, double a, double b) {
    switch (f) {
    case Family::FzPlusFr1:
        return a * p.fz + b * p.fr1;
    case Family::FzMinusFr1:
        return a * p.fz - b * p.fr1;
    case Family::FzPlusFr2:
        return a * p.fz + b * p.fr2;
    case Family::FzMinusFr2:
        return a * p.fz - b * p.fr2;
    case Family::Fr1TimesFr2:
        return (a * p.fr1) * (b * p.fr2);
    case Family::Fr1PlusFr2:
        return a * p.fr1 + b * p.fr2;
    case Family::FrDifference:
        return fr2First ? a * p.fr2 - b * p.fr1 : a * p.fr1 - b * p.fr2;
    case Family::FmPlusFr1:
        return a * p.fm + b * p.fr1;
    case Family::FmMinusFr1:
        return a * p.fm - b * p.fr1;
    case Family::FmPlusFr2:
        return a * p.fm + b * p.fr2;
    case Family::FmMinusFr2:
        return a * p.fm - b * p.fr2;
    }
    return 0.0;
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

// All lines of a family joined by '\n', empty without a match.
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
