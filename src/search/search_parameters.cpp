// Defaults, the inputs check, parsing and upper limits of the search.
#include "search/search_parameters.h"

#include "calc/input_text.h"

#include "calc/rows.h"

#include "calc/number_text.h"

namespace search {

std::vector<BoxText> fillEmptyParameters(ParameterTexts &texts) {
    struct Default {
        ParameterBox box;
        const char *text;
    };
    static constexpr Default kDefaults[] = {
        {ParameterBox::Tolerance, "0"},
        {ParameterBox::MaxHarmonic, "10"},
        {ParameterBox::MaxFrequency, "1000"},
    };
    std::vector<BoxText> writes;
    for (const Default &d : kDefaults) {
        if (texts[d.box].isEmpty()) {
            texts[d.box] = QString::fromLatin1(d.text);
            writes.push_back({d.box, texts[d.box]});
        }
    }
    return writes;
}

bool inputsMatchCalculation(const std::array<QString, 4> &inputEdits,
                            const std::array<QString, calc::kInputCount> &inputTexts) {
    for (std::size_t i = 0; i < inputEdits.size(); ++i)
        if (calc::numberText(inputEdits[i]) != inputTexts[i])
            return false;
    return true;
}

std::optional<SearchParameters> parseSearchParameters(const ParameterTexts &texts) {
    std::array<double, kParameterCount> values{};
    bool allParsed = true;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const calc::ParsedNumber p = calc::readNumber(texts.texts[i]);
        values[i] = p.value;
        allParsed = allParsed && p.status == 0;
    }
    if (!allParsed)
        return std::nullopt;
    // The step's text is compared as shown, before the comma rule.
    if (calc::compareWithZero(texts[ParameterBox::HarmonicStep]) <= 0)
        return std::nullopt;
    SearchParameters p;
    p.target = values[static_cast<std::size_t>(ParameterBox::Target)];
    p.tolerance = values[static_cast<std::size_t>(ParameterBox::Tolerance)];
    p.harmonicStep = values[static_cast<std::size_t>(ParameterBox::HarmonicStep)];
    p.maxFrequency = values[static_cast<std::size_t>(ParameterBox::MaxFrequency)];
    p.maxHarmonic = values[static_cast<std::size_t>(ParameterBox::MaxHarmonic)];
    // Texts such as 00 pass the text check with the value 0, and a grid with
    // that step would never end.
    if (!(p.harmonicStep > 0.0))
        return std::nullopt;
    return p;
}

std::vector<BoxText> applyUpperLimits(SearchParameters &parameters) {
    std::vector<BoxText> writes;
    const auto limit = [&writes](double &value, double ceiling, ParameterBox box,
                                 const char *text) {
        if (value > ceiling) {
            value = ceiling;
            writes.push_back({box, QString::fromLatin1(text)});
        }
    };
    limit(parameters.tolerance, 20.0, ParameterBox::Tolerance, "20");
    limit(parameters.maxHarmonic, 50.0, ParameterBox::MaxHarmonic, "50");
    limit(parameters.maxFrequency, 40000.0, ParameterBox::MaxFrequency, "40000");
    return writes;
}

SearchPreparation prepareSearch(const ParameterTexts &boxTexts,
                                const std::array<QString, 4> &inputEdits,
                                const std::array<QString, calc::kInputCount> &inputTexts) {
    SearchPreparation prep;
    ParameterTexts texts = boxTexts;
    prep.defaults = fillEmptyParameters(texts);
    if (!inputsMatchCalculation(inputEdits, inputTexts)) {
        prep.notice = SearchNotice::InputsChanged;
        return prep;
    }
    const std::optional<SearchParameters> parsed = parseSearchParameters(texts);
    if (!parsed) {
        prep.notice = SearchNotice::BadInput;
        return prep;
    }
    prep.parameters = *parsed;
    prep.limits = applyUpperLimits(prep.parameters);
    return prep;
}
std::vector<calc::Entry> coefficientTargets(calc::Entry base, bool wheel1Smaller) {
    std::vector<calc::Entry> targets;
    for (const calc::RowSpec &row : calc::kRows) {
        const bool turned = row.op == calc::RowOperator::Difference && !wheel1Smaller;
        const calc::Entry first = turned ? row.second : row.first;
        const calc::Entry second = turned ? row.first : row.second;
        if (first == base)
            targets.push_back(row.k1);
        if (second == base)
            targets.push_back(row.k2);
    }
    return targets;
}

} // namespace search
