// Calculate: the steps from the capture of the inputs to the texts of the
// result edits. Each entry is stored as soon as it is computed, so a run that
// stops at a fault leaves the entries before it written.
#include "calc/calculate.h"

#include "calc/input_text.h"

#include "calc/number_text.h"
#include "calc/rows.h"

#include <utility>

namespace calc {

namespace {

// Checked steps for the row formula: the first fault is carried through.
struct CheckedArith {
    using Value = Checked;
    static Checked mul(double x, double y) { return checkedMul(x, y); }
    static Checked mul(Checked x, double y) { return x.ok ? checkedMul(x.value, y) : x; }
    static Checked mul(Checked x, Checked y) {
        return !x.ok ? x : !y.ok ? y : checkedMul(x.value, y.value);
    }
    static Checked add(Checked x, Checked y) {
        return !x.ok ? x : !y.ok ? y : checkedAdd(x.value, y.value);
    }
    static Checked sub(Checked x, Checked y) {
        return !x.ok ? x : !y.ok ? y : checkedSub(x.value, y.value);
    }
};

// Runs the checked steps of one run and remembers the first fault. Each
// entry is stored as soon as it is computed.
class Steps {
public:
    explicit Steps(FrequencyTable &t) : table(t) {}

    std::optional<ArithFault> fault;

    bool set(Entry e, Checked c) {
        if (fault)
            return false;
        if (!c.ok) {
            fault = c.fault;
            return false;
        }
        table[e] = c.value;
        return true;
    }

    bool harmonics(Entry base) {
        const HarmonicRowSpec &h = harmonicRowOf(base);
        const double v = table[base];
        return set(h.twice, checkedMul(v, 2.0)) && set(h.thrice, checkedMul(v, 3.0)) &&
               set(h.half, checkedDiv(v, 2.0)) && set(h.third, checkedDiv(v, 3.0));
    }

    // A row by the one row formula; the difference row takes the faster
    // shaft first.
    bool row(const RowSpec &r, bool wheel2Smaller) {
        Entry first = r.first, second = r.second;
        if (r.op == RowOperator::Difference && wheel2Smaller)
            std::swap(first, second);
        return set(r.entry, rowValue<CheckedArith>(r.op, table[r.k1], table[first], table[r.k2],
                                                   table[second], ProductGrouping::LeftToRight));
    }

private:
    FrequencyTable &table;
};

CalcOutcome notice(CalcResult r) {
    return {r, std::nullopt, std::nullopt, std::nullopt};
}
CalcOutcome refused(InputRefusal why) {
    return {CalcResult::InputNotice, std::nullopt, why, std::nullopt};
}
CalcOutcome faultOutcome(ArithFault f) {
    return {CalcResult::Fault, f, std::nullopt, std::nullopt};
}

// Capture, the comma rule and parsing: all 26 before any status counts.
std::optional<InputRefusal> captureAndParse(PairState &pair,
                                            const std::array<QString, kInputCount> &editTexts) {
    for (std::size_t i = 0; i < kInputs.size(); ++i) {
        pair.inputTexts[i] = numberText(editTexts[i]);
        const ParsedNumber p = parseNumber(pair.inputTexts[i]);
        pair.table[kInputs[i].entry] = p.value;
        pair.parseStatus[static_cast<std::size_t>(kInputs[i].parseStatusIndex)] = p.status;
    }
    for (std::size_t i = 0; i < kInputs.size(); ++i)
        if (pair.parseStatus[static_cast<std::size_t>(kInputs[i].parseStatusIndex)] != 0)
            return InputRefusal{static_cast<int>(i), pair.inputTexts[i].isEmpty()
                                                         ? InputRefusal::Empty
                                                         : InputRefusal::NotANumber};
    return std::nullopt;
}

// The text check works on the edits' own texts, not on the captured copies.
std::optional<InputRefusal> textCheck(const std::array<QString, kInputCount> &editTexts) {
    for (const InputIndex i : {InZ1, InFr1, InZ2})
        if (compareWithZero(editTexts[i]) <= 0)
            return InputRefusal{i, InputRefusal::NotAboveZero};
    if (compareWithZero(editTexts[InFm]) < 0)
        return InputRefusal{InFm, InputRefusal::BelowZero};
    return std::nullopt;
}

// Fz and the harmonics of Fz and Fr1.
bool meshAndInputHarmonics(Steps &s, const FrequencyTable &t) {
    return s.set(Entry::Fz, checkedMul(t[Entry::Z1], t[Entry::Fr1])) && s.harmonics(Entry::Fz) &&
           s.harmonics(Entry::Fr1);
}

// The ratio and Fr2 by the smaller wheel, then Fr2's harmonics and the
// difference row.
bool wheel2Quantities(Steps &s, const FrequencyTable &t, bool wheel2) {
    const bool ratioAndFr2 =
        wheel2 ? s.set(Entry::GearRatio, checkedDiv(t[Entry::Z1], t[Entry::Z2])) &&
                     s.set(Entry::Fr2, checkedMul(t[Entry::Fr1], t[Entry::GearRatio]))
               : s.set(Entry::GearRatio, checkedDiv(t[Entry::Z2], t[Entry::Z1])) &&
                     s.set(Entry::Fr2, checkedDiv(t[Entry::Fr1], t[Entry::GearRatio]));
    return ratioAndFr2 && s.harmonics(Entry::Fr2) && s.row(rowOf(Entry::FrDifference), wheel2);
}

bool otherRows(Steps &s, bool wheel2) {
    for (const Entry e : kRowComputeOrder)
        if (!s.row(rowOf(e), wheel2))
            return false;
    return true;
}

// The display: first every text unrounded, then, with a precision, every
// text again rounded; a fault in the second pass leaves the rest unrounded.
CalcOutcome display(const FrequencyTable &t, std::int32_t precisionFactor) {
    CalcOutcome out;
    std::array<QString, kDisplayCount> texts;
    for (std::size_t i = 0; i < kDisplay.size(); ++i)
        texts[i] = generalDecimal(t[kDisplay[i]]);
    if (precisionFactor > 1) {
        for (std::size_t i = 0; i < kDisplay.size(); ++i) {
            const DisplayText d = RoundToPrecision(t[kDisplay[i]], precisionFactor);
            if (d.fault) {
                out.result = CalcResult::Fault;
                out.fault = d.fault;
                out.display = texts;
                return out;
            }
            texts[i] = d.text;
        }
    }
    out.display = texts;
    return out;
}

} // namespace

bool fieldsCalculated(const PairState &pair, const std::array<QString, 4> &fields) {
    if (pair.pairCalculated() != 1)
        return false;
    const std::array<InputIndex, 4> inputs{InZ1, InFr1, InZ2, InFm};
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (numberText(fields[i]) != pair.inputTexts[inputs[i]])
            return false;
    return true;
}

QString fmTextBeforeCalculation(const QString &fmText) {
    return fmText.isEmpty() ? QStringLiteral("0") : fmText;
}

std::vector<EntryWrite> fmRowResets(const QString &fmText) {
    std::vector<EntryWrite> writes;
    if (fmText != QLatin1String("0"))
        return writes;
    for (const RowSpec &row : kRows) {
        if (!row.usesFm)
            continue;
        writes.push_back({row.k1, false, QStringLiteral("1")});
        writes.push_back({row.k2, false, QStringLiteral("1")});
        writes.push_back({row.entry, true, QString()});
    }
    return writes;
}

CalcOutcome Calculate(PairState &pair, SmallerWheelState &wheel,
                      const std::array<QString, kInputCount> &editTexts,
                      std::int32_t precisionFactor) {
    FrequencyTable &t = pair.table;
    if (const std::optional<InputRefusal> why = captureAndParse(pair, editTexts))
        return refused(*why);
    if (const std::optional<InputRefusal> why = textCheck(editTexts))
        return refused(*why);

    Steps s(t);
    if (!meshAndInputHarmonics(s, t))
        return faultOutcome(*s.fault);

    if (isAutomatic(wheel))
        decideSmallerWheel(wheel, t[Entry::Z1], t[Entry::Z2]);
    const bool wheel2 = wheel2Smaller(wheel);
    if (wheel2 ? t[Entry::Z1] < t[Entry::Z2] : t[Entry::Z1] > t[Entry::Z2])
        return notice(CalcResult::SmallerWheelNotice);
    if (!wheel2Quantities(s, t, wheel2) || !otherRows(s, wheel2))
        return faultOutcome(*s.fault);

    CalcOutcome out = display(t, precisionFactor);
    if (out.result == CalcResult::Success)
        pair.pairCalculated_ = 1;
    return out;
}

} // namespace calc
