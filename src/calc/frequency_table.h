// The state of the current pair: the 52 entries of the frequency table, the
// 26 inputs of a calculation with their captured texts and parse statuses,
// and the order of the shown values.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace calc {

enum class Entry : int {
    Z1,
    Fr1,
    Z2,
    Fm,
    Fz,
    FzPlusFr1,
    GearRatio,
    FzX2,
    FzX3,
    FzHalf,
    FzThird,
    FzMinusFr1,
    FzPlusFr2,
    FzMinusFr2,
    FmPlusFr1,
    FmMinusFr1,
    FmPlusFr2,
    FmMinusFr2,
    Fr1TimesFr2,
    Fr1PlusFr2,
    FrDifference,
    Fr1X2,
    Fr1X3,
    Fr1Half,
    Fr1Third,
    Fr2,
    Fr2X2,
    Fr2X3,
    Fr2Half,
    Fr2Third,
    FzPlusFr1_k1,
    FzPlusFr1_k2,
    FzPlusFr2_k1,
    FzPlusFr2_k2,
    FmPlusFr1_k1,
    FmPlusFr1_k2,
    FmPlusFr2_k1,
    FmPlusFr2_k2,
    FzMinusFr1_k1,
    FzMinusFr1_k2,
    FzMinusFr2_k1,
    FzMinusFr2_k2,
    FmMinusFr1_k1,
    FmMinusFr1_k2,
    FmMinusFr2_k1,
    FmMinusFr2_k2,
    Fr1TimesFr2_k1,
    Fr1TimesFr2_k2,
    Fr1PlusFr2_k1,
    Fr1PlusFr2_k2,
    FrDifference_k2,
    FrDifference_k1,
};
inline constexpr int kEntryCount = 52;

struct FrequencyTable {
    std::array<double, kEntryCount> values{};
    double &operator[](Entry e) { return values[static_cast<std::size_t>(e)]; }
    double operator[](Entry e) const { return values[static_cast<std::size_t>(e)]; }
};

// Each entry's name, in the order of Entry.
inline constexpr std::array<const char *, kEntryCount> kEntryNames{{
    "Z1",
    "Fr1",
    "Z2",
    "Fm",
    "Fz",
    "FzPlusFr1",
    "GearRatio",
    "FzX2",
    "FzX3",
    "FzHalf",
    "FzThird",
    "FzMinusFr1",
    "FzPlusFr2",
    "FzMinusFr2",
    "FmPlusFr1",
    "FmMinusFr1",
    "FmPlusFr2",
    "FmMinusFr2",
    "Fr1TimesFr2",
    "Fr1PlusFr2",
    "FrDifference",
    "Fr1X2",
    "Fr1X3",
    "Fr1Half",
    "Fr1Third",
    "Fr2",
    "Fr2X2",
    "Fr2X3",
    "Fr2Half",
    "Fr2Third",
    "FzPlusFr1_k1",
    "FzPlusFr1_k2",
    "FzPlusFr2_k1",
    "FzPlusFr2_k2",
    "FmPlusFr1_k1",
    "FmPlusFr1_k2",
    "FmPlusFr2_k1",
    "FmPlusFr2_k2",
    "FzMinusFr1_k1",
    "FzMinusFr1_k2",
    "FzMinusFr2_k1",
    "FzMinusFr2_k2",
    "FmMinusFr1_k1",
    "FmMinusFr1_k2",
    "FmMinusFr2_k1",
    "FmMinusFr2_k2",
    "Fr1TimesFr2_k1",
    "Fr1TimesFr2_k2",
    "Fr1PlusFr2_k1",
    "Fr1PlusFr2_k2",
    "FrDifference_k2",
    "FrDifference_k1",
}};
constexpr const char *entryName(Entry e) {
    return kEntryNames[static_cast<std::size_t>(e)];
}

// The 26 inputs of a calculation: Z1, Fr1, Z2, Fm, then the coefficients of
// the rows (calc/rows.h), which also holds their order.
inline constexpr int kInputCount = 26;

// Indexes of the four pair inputs among the captured texts.
enum InputIndex : int { InZ1 = 0, InFr1 = 1, InZ2 = 2, InFm = 3 };

// The 27 shown values, in the order they are written.
inline constexpr int kDisplayCount = 27;
inline constexpr std::array<Entry, kDisplayCount> kDisplay{{
    Entry::Fz,          Entry::GearRatio,  Entry::FzX2,         Entry::FzX3,
    Entry::FzHalf,      Entry::FzThird,    Entry::Fr1,          Entry::Fr1X2,
    Entry::Fr1X3,       Entry::Fr1Half,    Entry::Fr1Third,     Entry::Fr2,
    Entry::Fr2X2,       Entry::Fr2X3,      Entry::Fr2Half,      Entry::Fr2Third,
    Entry::FzPlusFr1,   Entry::FzMinusFr1, Entry::FzPlusFr2,    Entry::FzMinusFr2,
    Entry::FmPlusFr1,   Entry::FmMinusFr1, Entry::FmPlusFr2,    Entry::FmMinusFr2,
    Entry::Fr1TimesFr2, Entry::Fr1PlusFr2, Entry::FrDifference,
}};

struct CalcOutcome;
struct SmallerWheelState;

// Everything the calculation keeps about the current pair.
class PairState {
public:
    std::array<QString, kInputCount> inputTexts; // as captured: cut to 50, comma rule applied
    std::array<std::int32_t, kInputCount> parseStatus{}; // in the parse-status order
    FrequencyTable table;

    // 1 once a calculation of the pair shown has succeeded, else 0. Only a
    // successful calculation sets it; a move to another pair clears it.
    std::int32_t pairCalculated() const { return pairCalculated_; }
    void clearCalculated() { pairCalculated_ = 0; }

private:
    friend CalcOutcome Calculate(PairState &pair, SmallerWheelState &wheel,
                                 const std::array<QString, kInputCount> &editTexts,
                                 std::int32_t precisionFactor);
    std::int32_t pairCalculated_ = 0;
};

} // namespace calc
