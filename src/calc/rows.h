// The one description of the pair's rows: the eleven modulation rows (two
// frequencies, an operator, two coefficients, their places in the captured
// and parse-status orders, every text that names them) and the three
// harmonic rows. The calculation, the search, the list texts and titles, the
// coefficient buttons and the windows' labels all read these tables; the row
// formula itself is rowValue() below and exists nowhere else.
#pragma once

#include "calc/frequency_table.h"

#include <array>
#include <cstdint>

namespace calc {

enum class RowOperator : std::uint8_t {
    Plus,       // k1·a + k2·b
    Minus,      // k1·a − k2·b
    Times,      // k1·a · k2·b
    Difference, // k1·faster − k2·slower: the smaller wheel's shaft comes first
};

// The texts that name a row: the main window's operator and operand labels
// ("Fz +", "Fr1="), the list line's texts ("Fz+", "Fr1=") and the opening of
// the list title ("Fz + Fr1 (").
struct RowTexts {
    const char *operatorLabel;
    const char *operandLabel;
    const char *lineFirst;
    const char *lineSecond;
    const char *titleOpening;
};

struct RowSpec {
    Entry entry;
    const char *name;
    Entry first;  // the frequency under k1 (for Difference: Fr1 as wheel 1 is the smaller)
    Entry second; // the frequency under k2
    RowOperator op;
    Entry k1;
    Entry k2;
    int k1Status; // the coefficients' places among the parse statuses
    int k2Status;
    RowTexts texts;
    bool usesFm;
};

inline constexpr int kRowCount = 11;

// In the order of the search families and of the captured coefficients
// (k1 then k2 of each row, after Z1, Fr1, Z2, Fm).
inline constexpr std::array<RowSpec, kRowCount> kRows{{
    {Entry::FzPlusFr1,
     "FzPlusFr1",
     Entry::Fz,
     Entry::Fr1,
     RowOperator::Plus,
     Entry::FzPlusFr1_k1,
     Entry::FzPlusFr1_k2,
     4,
     5,
     {"Fz +", "Fr1=", "Fz+", "Fr1=", "Fz + Fr1 ("},
     false},
    {Entry::FzMinusFr1,
     "FzMinusFr1",
     Entry::Fz,
     Entry::Fr1,
     RowOperator::Minus,
     Entry::FzMinusFr1_k1,
     Entry::FzMinusFr1_k2,
     6,
     7,
     {"Fz -", "Fr1=", "Fz-", "Fr1=", "Fz - Fr1 ("},
     false},
    {Entry::FzPlusFr2,
     "FzPlusFr2",
     Entry::Fz,
     Entry::Fr2,
     RowOperator::Plus,
     Entry::FzPlusFr2_k1,
     Entry::FzPlusFr2_k2,
     8,
     9,
     {"Fz +", "Fr2=", "Fz+", "Fr2=", "Fz + Fr2 ("},
     false},
    {Entry::FzMinusFr2,
     "FzMinusFr2",
     Entry::Fz,
     Entry::Fr2,
     RowOperator::Minus,
     Entry::FzMinusFr2_k1,
     Entry::FzMinusFr2_k2,
     10,
     11,
     {"Fz -", "Fr2=", "Fz-", "Fr2=", "Fz - Fr2 ("},
     false},
    {Entry::Fr1TimesFr2,
     "Fr1TimesFr2",
     Entry::Fr1,
     Entry::Fr2,
     RowOperator::Times,
     Entry::Fr1TimesFr2_k1,
     Entry::Fr1TimesFr2_k2,
     20,
     21,
     {"Fr1 *", "Fr2=", "Fr1*", "Fr2=", "Fr1 * Fr2 ("},
     false},
    {Entry::Fr1PlusFr2,
     "Fr1PlusFr2",
     Entry::Fr1,
     Entry::Fr2,
     RowOperator::Plus,
     Entry::Fr1PlusFr2_k1,
     Entry::Fr1PlusFr2_k2,
     22,
     23,
     {"Fr1+", "Fr2=", "Fr1+", "Fr2=", "Fr1 + Fr2 ("},
     false},
    {Entry::FrDifference,
     "FrDifference",
     Entry::Fr1,
     Entry::Fr2,
     RowOperator::Difference,
     Entry::FrDifference_k1,
     Entry::FrDifference_k2,
     25,
     24,
     {"Fr1 -", "Fr2=", "Fr1-", "Fr2=", "Fr1 - Fr2 ("},
     false},
    {Entry::FmPlusFr1,
     "FmPlusFr1",
     Entry::Fm,
     Entry::Fr1,
     RowOperator::Plus,
     Entry::FmPlusFr1_k1,
     Entry::FmPlusFr1_k2,
     12,
     13,
     {"Fm+", "Fr1=", "Fm+", "Fr1=", "Fm + Fr1 ("},
     true},
    {Entry::FmMinusFr1,
     "FmMinusFr1",
     Entry::Fm,
     Entry::Fr1,
     RowOperator::Minus,
     Entry::FmMinusFr1_k1,
     Entry::FmMinusFr1_k2,
     14,
     15,
     {"Fm -", "Fr1=", "Fm-", "Fr1=", "Fm - Fr1 ("},
     true},
    {Entry::FmPlusFr2,
     "FmPlusFr2",
     Entry::Fm,
     Entry::Fr2,
     RowOperator::Plus,
     Entry::FmPlusFr2_k1,
     Entry::FmPlusFr2_k2,
     16,
     17,
     {"Fm+", "Fr2=", "Fm+", "Fr2=", "Fm + Fr2 ("},
     true},
    {Entry::FmMinusFr2,
     "FmMinusFr2",
     Entry::Fm,
     Entry::Fr2,
     RowOperator::Minus,
     Entry::FmMinusFr2_k1,
     Entry::FmMinusFr2_k2,
     18,
     19,
     {"Fm -", "Fr2=", "Fm-", "Fr2=", "Fm - Fr2 ("},
     true},
}};

// The difference row's texts when wheel 2 is the smaller one (its shaft is
// the faster and comes first): the list lines read "Fr2-"/"Fr1=", and the
// list window shows the second title.
inline constexpr RowTexts kReversedDifferenceTexts{"Fr2 -", "Fr1=", "Fr2-", "Fr1=", "Fr2 - Fr1 ("};

// The order in which the calculation computes the rows after the smaller-
// wheel step (which computes FrDifference): a fault stops it, and the rows
// before the failing one stay computed.
inline constexpr std::array<Entry, 10> kRowComputeOrder{{
    Entry::FzPlusFr1,
    Entry::FzMinusFr1,
    Entry::FzPlusFr2,
    Entry::FzMinusFr2,
    Entry::Fr1TimesFr2,
    Entry::FmPlusFr1,
    Entry::FmMinusFr1,
    Entry::FmPlusFr2,
    Entry::FmMinusFr2,
    Entry::Fr1PlusFr2,
}};

constexpr int rowIndex(Entry e) {
    for (int i = 0; i < kRowCount; ++i)
        if (kRows[static_cast<std::size_t>(i)].entry == e)
            return i;
    return -1;
}
constexpr const RowSpec &rowOf(Entry e) {
    return kRows[static_cast<std::size_t>(rowIndex(e))];
}

// The row that adds (or subtracts) `second` to `first`, such as FzMinusFr2
// for Fz, Fr2 and Minus; nullptr when no row has that shape.
constexpr const RowSpec *rowWith(Entry first, Entry second, RowOperator op) {
    for (const RowSpec &row : kRows)
        if (row.first == first && row.second == second && row.op == op)
            return &row;
    return nullptr;
}
static_assert(rowWith(Entry::Fm, Entry::Fr2, RowOperator::Minus)->entry == Entry::FmMinusFr2);
static_assert(rowWith(Entry::Fz, Entry::Fz, RowOperator::Plus) == nullptr);

// The texts of a row, the difference row turned round when wheel 2 is the
// smaller one.
constexpr const RowTexts &rowTexts(const RowSpec &row, bool wheel2Smaller) {
    return row.op == RowOperator::Difference && wheel2Smaller ? kReversedDifferenceTexts
                                                              : row.texts;
}

// How a product of four factors is grouped: the calculation multiplies from
// left to right, k1·Fr1·k2·Fr2; the search multiplies the two harmonics,
// (a·Fr1)·(b·Fr2). Both are kept exactly, so each value is reproducible.
enum class ProductGrouping : std::uint8_t { LeftToRight, Harmonics };

// The row formula. `Arith` supplies mul, add and sub over its value type:
// plain doubles for the search's hot loop, checked steps for the calculation.
// For Difference, `a` and `b` are already the faster and the slower shaft.
template <class Arith>
constexpr typename Arith::Value rowValue(RowOperator op, double k1, double a, double k2, double b,
                                         ProductGrouping grouping) {
    // Each step on its own line: the order of the steps is the order in
    // which a fault is found.
    const auto left = Arith::mul(k1, a);
    if (op == RowOperator::Times && grouping == ProductGrouping::LeftToRight)
        return Arith::mul(Arith::mul(left, k2), b);
    const auto right = Arith::mul(k2, b);
    switch (op) {
    case RowOperator::Plus:
        return Arith::add(left, right);
    case RowOperator::Minus:
    case RowOperator::Difference:
        return Arith::sub(left, right);
    case RowOperator::Times:
        break;
    }
    return Arith::mul(left, right);
}

struct PlainArith {
    using Value = double;
    static constexpr double mul(double x, double y) { return x * y; }
    static constexpr double add(double x, double y) { return x + y; }
    static constexpr double sub(double x, double y) { return x - y; }
};

// One input of a calculation, in the order of the captured texts.
struct InputSpec {
    Entry entry;          // where its parsed value goes
    int parseStatusIndex; // its place among the parse statuses
};

namespace detail {
constexpr std::array<InputSpec, kInputCount> inputsFromRows() {
    std::array<InputSpec, kInputCount> inputs{
        {{Entry::Z1, 0}, {Entry::Fr1, 1}, {Entry::Z2, 2}, {Entry::Fm, 3}}};
    std::size_t i = 4;
    for (const RowSpec &row : kRows) {
        inputs[i++] = {row.k1, row.k1Status};
        inputs[i++] = {row.k2, row.k2Status};
    }
    return inputs;
}
} // namespace detail

// Z1, Fr1, Z2, Fm, then k1 and k2 of each row in row order.
inline constexpr std::array<InputSpec, kInputCount> kInputs = detail::inputsFromRows();

// The three harmonic rows: a base frequency and its ×1/3, ×1/2, ×2, ×3.
struct HarmonicRowSpec {
    Entry base;
    Entry third;
    Entry half;
    Entry twice;
    Entry thrice;
};
inline constexpr std::array<HarmonicRowSpec, 3> kHarmonicRows{{
    {Entry::Fr1, Entry::Fr1Third, Entry::Fr1Half, Entry::Fr1X2, Entry::Fr1X3},
    {Entry::Fr2, Entry::Fr2Third, Entry::Fr2Half, Entry::Fr2X2, Entry::Fr2X3},
    {Entry::Fz, Entry::FzThird, Entry::FzHalf, Entry::FzX2, Entry::FzX3},
}};
constexpr const HarmonicRowSpec &harmonicRowOf(Entry base) {
    for (const HarmonicRowSpec &h : kHarmonicRows)
        if (h.base == base)
            return h;
    return kHarmonicRows[0];
}

} // namespace calc
