// The parameters of SearchByFrequency as the five boxes of the group
// "Калькулятор" hold them: the texts put into empty boxes, the check that the
// pair inputs still are those of the last calculation, the parse of the five
// texts and the upper limits with the texts they leave in their boxes.
#pragma once

#include "calc/frequency_table.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace search {

// The five parameter boxes, in the order in which they are parsed.
enum class ParameterBox : int { Target, Tolerance, HarmonicStep, MaxFrequency, MaxHarmonic };
inline constexpr int kParameterCount = 5;

inline constexpr std::array<const char *, kParameterCount> kParameterBoxNames{
    {"Target", "Tolerance", "HarmonicStep", "MaxFrequency", "MaxHarmonic"}};

// The texts of the five boxes, indexed by ParameterBox.
struct ParameterTexts {
    std::array<QString, kParameterCount> texts;
    QString &operator[](ParameterBox b) { return texts[static_cast<std::size_t>(b)]; }
    const QString &operator[](ParameterBox b) const { return texts[static_cast<std::size_t>(b)]; }
};

// A text the window writes into one of the boxes.
struct BoxText {
    ParameterBox box;
    QString text;
    bool operator==(const BoxText &) const = default;
};

// The parsed values, as the grid uses them.
struct SearchParameters {
    double target = 0.0;
    double tolerance = 0.0;
    double harmonicStep = 1.0;
    double maxFrequency = 0.0;
    double maxHarmonic = 0.0;
};

enum class SearchNotice {
    None,
    InputsChanged, // "Не был выполнен расчет с новыми данными"
    BadInput,      // "Вводите данные для расчета правильно"
};

// Empty Tolerance, MaxHarmonic and MaxFrequency boxes get "0", "10" and
// "1000", in this order; `texts` is updated and the writes are returned.
std::vector<BoxText> fillEmptyParameters(ParameterTexts &texts);

// The input boxes Z1, Fr1, Z2, Fm (in that order) still hold what the last
// calculation captured: each cut to 50 characters and passed through the comma
// rule, compared with the first four captured texts.
bool inputsMatchCalculation(const std::array<QString, 4> &inputEdits,
                            const std::array<QString, calc::kInputCount> &inputTexts);

// The five texts, each cut to 50 characters, through the comma rule and the
// number syntax, then the harmonic step's own text compared with "0". A step
// whose value is not above 0 is refused as well: it would never advance the
// grid. No value when anything is refused.
std::optional<SearchParameters> parseSearchParameters(const ParameterTexts &texts);

// Tolerance above 20, MaxHarmonic above 50 and MaxFrequency above 40000 are
// lowered, in this order; each returned write is the box's new text.
std::vector<BoxText> applyUpperLimits(SearchParameters &parameters);

// Everything a run decides before the grid, for the window to apply in the
// order of the run: write `defaults`; on InputsChanged show that notice and
// stop; empty the result boxes; on BadInput show that notice and stop; fill
// the variants window's caption and summary; write `limits`; walk the grid
// with `parameters`.
struct SearchPreparation {
    std::vector<BoxText> defaults;
    SearchNotice notice = SearchNotice::None;
    SearchParameters parameters; // meaningful only without a notice
    std::vector<BoxText> limits;
};

SearchPreparation prepareSearch(const ParameterTexts &boxTexts,
                                const std::array<QString, 4> &inputEdits,
                                const std::array<QString, calc::kInputCount> &inputTexts);

// The coefficient edits a manual-search button fills with the entry field's
// number: the coefficient under `base` (Fz, Fr1, Fr2 or Fm) in every row that
// has it, the difference row by which wheel is the smaller one.
std::vector<calc::Entry> coefficientTargets(calc::Entry base, bool wheel1Smaller);

} // namespace search
