// The state of the current pair: the 52 entries of the frequency table, the
// 26 inputs of a calculation with their captured texts and parse statuses,
// and the tables that tie each input and each shown value to its edit.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace calc {

enum class Entry : int {
    Z1, Fr1, Z2, Fm, Fz, FzPlusFr1, GearRatio, FzX2, FzX3, FzHalf, FzThird,
    FzMinusFr1, FzPlusFr2, FzMinusFr2, FmPlusFr1, FmMinusFr1, FmPlusFr2, FmMinusFr2,
    Fr1TimesFr2, Fr1PlusFr2, FrDifference, Fr1X2, Fr1X3, Fr1Half, Fr1Third,
    Fr2, Fr2X2, Fr2X3, Fr2Half, Fr2Third,
    FzPlusFr1_k1, FzPlusFr1_k2, FzPlusFr2_k1, FzPlusFr2_k2,
    FmPlusFr1_k1, FmPlusFr1_k2, FmPlusFr2_k1, FmPlusFr2_k2,
    FzMinusFr1_k1, FzMinusFr1_k2, FzMinusFr2_k1, FzMinusFr2_k2,
    FmMinusFr1_k1, FmMinusFr1_k2, FmMinusFr2_k1, FmMinusFr2_k2,
    Fr1TimesFr2_k1, Fr1TimesFr2_k2, Fr1PlusFr2_k1, Fr1PlusFr2_k2,
    FrDifference_k2, FrDifference_k1,
};
inline constexpr int kEntryCount = 52;

struct FrequencyTable {
    std::array<double, kEntryCount> values{};
    double &operator[](Entry e) { return values[static_cast<std::size_t>(e)]; }
    double operator[](Entry e) const { return values[static_cast<std::size_t>(e)]; }
};

inline constexpr int kInputCount = 26;

// One input of a calculation, in the order of the captured texts.
struct InputSpec {
    const char *name;       // Z1, FzPlusFr1_k1, ...
    const char *edit;       // objectName of the edit it is read from
    Entry entry;            // where its parsed value goes
    int parseStatusIndex;   // its place among the parse statuses
};

inline constexpr std::array<InputSpec, kInputCount> kInputs{{
    {"Z1", "Edit1", Entry::Z1, 0},
    {"Fr1", "Edit2", Entry::Fr1, 1},
    {"Z2", "Edit3", Entry::Z2, 2},
    {"Fm", "Edit4", Entry::Fm, 3},
    {"FzPlusFr1_k1", "Edit27", Entry::FzPlusFr1_k1, 4},
    {"FzPlusFr1_k2", "Edit29", Entry::FzPlusFr1_k2, 5},
    {"FzMinusFr1_k1", "Edit7", Entry::FzMinusFr1_k1, 6},
    {"FzMinusFr1_k2", "Edit12", Entry::FzMinusFr1_k2, 7},
    {"FzPlusFr2_k1", "Edit14", Entry::FzPlusFr2_k1, 8},
    {"FzPlusFr2_k2", "Edit15", Entry::FzPlusFr2_k2, 9},
    {"FzMinusFr2_k1", "Edit30", Entry::FzMinusFr2_k1, 10},
    {"FzMinusFr2_k2", "Edit32", Entry::FzMinusFr2_k2, 11},
    {"Fr1TimesFr2_k1", "Edit34", Entry::Fr1TimesFr2_k1, 20},
    {"Fr1TimesFr2_k2", "Edit35", Entry::Fr1TimesFr2_k2, 21},
    {"Fr1PlusFr2_k1", "Edit49", Entry::Fr1PlusFr2_k1, 22},
    {"Fr1PlusFr2_k2", "Edit50", Entry::Fr1PlusFr2_k2, 23},
    {"FrDifference_k1", "Edit52", Entry::FrDifference_k1, 25},
    {"FrDifference_k2", "Edit53", Entry::FrDifference_k2, 24},
    {"FmPlusFr1_k1", "Edit43", Entry::FmPlusFr1_k1, 12},
    {"FmPlusFr1_k2", "Edit44", Entry::FmPlusFr1_k2, 13},
    {"FmMinusFr1_k1", "Edit46", Entry::FmMinusFr1_k1, 14},
    {"FmMinusFr1_k2", "Edit47", Entry::FmMinusFr1_k2, 15},
    {"FmPlusFr2_k1", "Edit40", Entry::FmPlusFr2_k1, 16},
    {"FmPlusFr2_k2", "Edit41", Entry::FmPlusFr2_k2, 17},
    {"FmMinusFr2_k1", "Edit37", Entry::FmMinusFr2_k1, 18},
    {"FmMinusFr2_k2", "Edit38", Entry::FmMinusFr2_k2, 19},
}};

// Indexes into kInputs of the four pair inputs.
enum InputIndex : int { InZ1 = 0, InFr1 = 1, InZ2 = 2, InFm = 3 };

// The 27 shown values in the order they are written.
struct DisplaySpec {
    Entry entry;
    const char *edit;
};
inline constexpr int kDisplayCount = 27;
inline constexpr std::array<DisplaySpec, kDisplayCount> kDisplay{{
    {Entry::Fz, "Edit6"},          {Entry::GearRatio, "Edit26"},   {Entry::FzX2, "Edit8"},
    {Entry::FzX3, "Edit9"},        {Entry::FzHalf, "Edit10"},      {Entry::FzThird, "Edit11"},
    {Entry::Fr1, "Edit21"},        {Entry::Fr1X2, "Edit22"},       {Entry::Fr1X3, "Edit23"},
    {Entry::Fr1Half, "Edit24"},    {Entry::Fr1Third, "Edit25"},    {Entry::Fr2, "Edit16"},
    {Entry::Fr2X2, "Edit17"},      {Entry::Fr2X3, "Edit18"},       {Entry::Fr2Half, "Edit19"},
    {Entry::Fr2Third, "Edit20"},   {Entry::FzPlusFr1, "Edit31"},   {Entry::FzMinusFr1, "Edit13"},
    {Entry::FzPlusFr2, "Edit28"},  {Entry::FzMinusFr2, "Edit33"},  {Entry::FmPlusFr1, "Edit45"},
    {Entry::FmMinusFr1, "Edit48"}, {Entry::FmPlusFr2, "Edit42"},   {Entry::FmMinusFr2, "Edit39"},
    {Entry::Fr1TimesFr2, "Edit36"}, {Entry::Fr1PlusFr2, "Edit51"}, {Entry::FrDifference, "Edit54"},
}};

// The eleven modulation rows (sums and differences of two frequencies with
// a coefficient each), in the order of the search families.
struct ModulationSpec {
    const char *name;
    Entry value;
    Entry k1;
    Entry k2;
    const char *k1Edit;
    const char *k2Edit;
    const char *resultEdit;
    bool usesFm;
};
inline constexpr int kModulationCount = 11;
inline constexpr std::array<ModulationSpec, kModulationCount> kModulation{{
    {"FzPlusFr1", Entry::FzPlusFr1, Entry::FzPlusFr1_k1, Entry::FzPlusFr1_k2, "Edit27", "Edit29", "Edit31", false},
    {"FzMinusFr1", Entry::FzMinusFr1, Entry::FzMinusFr1_k1, Entry::FzMinusFr1_k2, "Edit7", "Edit12", "Edit13", false},
    {"FzPlusFr2", Entry::FzPlusFr2, Entry::FzPlusFr2_k1, Entry::FzPlusFr2_k2, "Edit14", "Edit15", "Edit28", false},
    {"FzMinusFr2", Entry::FzMinusFr2, Entry::FzMinusFr2_k1, Entry::FzMinusFr2_k2, "Edit30", "Edit32", "Edit33", false},
    {"Fr1TimesFr2", Entry::Fr1TimesFr2, Entry::Fr1TimesFr2_k1, Entry::Fr1TimesFr2_k2, "Edit34", "Edit35", "Edit36", false},
    {"Fr1PlusFr2", Entry::Fr1PlusFr2, Entry::Fr1PlusFr2_k1, Entry::Fr1PlusFr2_k2, "Edit49", "Edit50", "Edit51", false},
    {"FrDifference", Entry::FrDifference, Entry::FrDifference_k1, Entry::FrDifference_k2, "Edit52", "Edit53", "Edit54", false},
    {"FmPlusFr1", Entry::FmPlusFr1, Entry::FmPlusFr1_k1, Entry::FmPlusFr1_k2, "Edit43", "Edit44", "Edit45", true},
    {"FmMinusFr1", Entry::FmMinusFr1, Entry::FmMinusFr1_k1, Entry::FmMinusFr1_k2, "Edit46", "Edit47", "Edit48", true},
    {"FmPlusFr2", Entry::FmPlusFr2, Entry::FmPlusFr2_k1, Entry::FmPlusFr2_k2, "Edit40", "Edit41", "Edit42", true},
    {"FmMinusFr2", Entry::FmMinusFr2, Entry::FmMinusFr2_k1, Entry::FmMinusFr2_k2, "Edit37", "Edit38", "Edit39", true},
}};

// Everything the calculation keeps about the current pair.
struct PairState {
    std::array<QString, kInputCount> inputTexts;   // as captured: cut to 50, comma rule applied
    std::array<std::int32_t, kInputCount> parseStatus{}; // in the parse-status order
    FrequencyTable table;
    std::int32_t pairCalculated = 0;
};

// Captured texts are bounded to this many characters.
inline constexpr int kTextLimit = 50;

} // namespace calc
