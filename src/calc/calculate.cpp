// Calculate: the steps from the capture of the inputs to the texts of the
// result edits. Each entry is stored as soon as it is computed, so a run that
// stops at a fault leaves the entries before it written.
#include "calc/calculate.h"

#include "calc/number_text.h"

namespace calc {

namespace {

// Runs the checked steps of one run and remembers the first fault.
class Steps {
public:
    explicit Steps(FrequencyTable &t) : table(t) {}

    bool failed() const { return fault.has_value(); }
    std::optional<ArithFault> fault;

    // entry = a op b; false once a fault has happened.
    bool set(Entry e, Checked c)
    {
        if (failed())
            return false;
        if (!c.ok) {
            fault = c.fault;
            return false;
        }
        table[e] = c.value;
        return true;
    }
    double operator[](Entry e) const { return table[e]; }

    // k1 * a (op) k2 * b, each product checked on its own.
    Checked combine(double k1, double a, double k2, double b, bool minus)
    {
        const Checked left = checkedMul(k1, a);
        if (!left.ok)
            return left;
        const Checked right = checkedMul(k2, b);
        if (!right.ok)
            return right;
        return minus ? checkedSub(left.value, right.value) : checkedAdd(left.value, right.value);
    }

    bool harmonics(Entry base, Entry x2, Entry x3, Entry half, Entry third)
    {
        const double v = table[base];
        return set(x2, checkedMul(v, 2.0)) && set(x3, checkedMul(v, 3.0)) &&
               set(half, checkedDiv(v, 2.0)) && set(third, checkedDiv(v, 3.0));
    }

    bool row(Entry result, Entry k1, Entry a, Entry k2, Entry b, bool minus)
    {
        return set(result, combine(table[k1], table[a], table[k2], table[b], minus));
    }

private:
    FrequencyTable &table;
};

CalcOutcome faultOutcome(ArithFault f) { return {CalcResult::Fault, f, std::nullopt}; }

} // namespace

CalcOutcome Calculate(PairState &pair, SmallerWheelState &wheel,
                      const std::array<QString, kInputCount> &editTexts,
                      std::int32_t precisionFactor)
{
    FrequencyTable &t = pair.table;

    // Capture, the comma rule and parsing: all 26 before any status counts.
    for (int i = 0; i < kInputCount; ++i) {
        const InputSpec &in = kInputs[static_cast<std::size_t>(i)];
        pair.inputTexts[static_cast<std::size_t>(i)] =
            applyCommaRule(editTexts[static_cast<std::size_t>(i)].left(kTextLimit));
        const ParsedNumber p = parseNumber(pair.inputTexts[static_cast<std::size_t>(i)]);
        t[in.entry] = p.value;
        pair.parseStatus[static_cast<std::size_t>(in.parseStatusIndex)] = p.status;
    }
    for (const std::int32_t status : pair.parseStatus)
        if (status != 0)
            return {CalcResult::InputNotice, std::nullopt, std::nullopt};

    // The text check works on the edits' own texts, not on the captured copies.
    if (compareWithZero(editTexts[InZ1]) <= 0 || compareWithZero(editTexts[InFr1]) <= 0 ||
        compareWithZero(editTexts[InZ2]) <= 0 || compareWithZero(editTexts[InFm]) < 0)
        return {CalcResult::InputNotice, std::nullopt, std::nullopt};

    Steps s(t);
    if (!s.set(Entry::Fz, checkedMul(t[Entry::Z1], t[Entry::Fr1])) ||
        !s.harmonics(Entry::Fz, Entry::FzX2, Entry::FzX3, Entry::FzHalf, Entry::FzThird) ||
        !s.harmonics(Entry::Fr1, Entry::Fr1X2, Entry::Fr1X3, Entry::Fr1Half, Entry::Fr1Third))
        return faultOutcome(*s.fault);

    // The smaller-wheel step.
    if (isAutomatic(wheel))
        decideSmallerWheel(wheel, t[Entry::Z1], t[Entry::Z2]);
    const bool wheel2 = wheel2Smaller(wheel);
    if (wheel2 ? t[Entry::Z1] < t[Entry::Z2] : t[Entry::Z1] > t[Entry::Z2])
        return {CalcResult::SmallerWheelNotice, std::nullopt, std::nullopt};
    if (wheel2) {
        if (!s.set(Entry::GearRatio, checkedDiv(t[Entry::Z1], t[Entry::Z2])) ||
            !s.set(Entry::Fr2, checkedMul(t[Entry::Fr1], t[Entry::GearRatio])))
            return faultOutcome(*s.fault);
    } else {
        if (!s.set(Entry::GearRatio, checkedDiv(t[Entry::Z2], t[Entry::Z1])) ||
            !s.set(Entry::Fr2, checkedDiv(t[Entry::Fr1], t[Entry::GearRatio])))
            return faultOutcome(*s.fault);
    }
    // The first term of the difference is the smaller (faster) wheel's shaft.
    const Entry faster = wheel2 ? Entry::Fr2 : Entry::Fr1;
    const Entry slower = wheel2 ? Entry::Fr1 : Entry::Fr2;
    if (!s.harmonics(Entry::Fr2, Entry::Fr2X2, Entry::Fr2X3, Entry::Fr2Half, Entry::Fr2Third) ||
        !s.row(Entry::FrDifference, Entry::FrDifference_k1, faster, Entry::FrDifference_k2, slower,
               true))
        return faultOutcome(*s.fault);

    // The other ten rows, in their order of computation.
    using E = Entry;
    if (!s.row(E::FzPlusFr1, E::FzPlusFr1_k1, E::Fz, E::FzPlusFr1_k2, E::Fr1, false) ||
        !s.row(E::FzMinusFr1, E::FzMinusFr1_k1, E::Fz, E::FzMinusFr1_k2, E::Fr1, true) ||
        !s.row(E::FzPlusFr2, E::FzPlusFr2_k1, E::Fz, E::FzPlusFr2_k2, E::Fr2, false) ||
        !s.row(E::FzMinusFr2, E::FzMinusFr2_k1, E::Fz, E::FzMinusFr2_k2, E::Fr2, true))
        return faultOutcome(*s.fault);
    {
        // k1 x Fr1 x k2 x Fr2, left to right.
        Checked c = checkedMul(t[E::Fr1TimesFr2_k1], t[E::Fr1]);
        if (c.ok)
            c = checkedMul(c.value, t[E::Fr1TimesFr2_k2]);
        if (c.ok)
            c = checkedMul(c.value, t[E::Fr2]);
        if (!s.set(E::Fr1TimesFr2, c))
            return faultOutcome(*s.fault);
    }
    if (!s.row(E::FmPlusFr1, E::FmPlusFr1_k1, E::Fm, E::FmPlusFr1_k2, E::Fr1, false) ||
        !s.row(E::FmMinusFr1, E::FmMinusFr1_k1, E::Fm, E::FmMinusFr1_k2, E::Fr1, true) ||
        !s.row(E::FmPlusFr2, E::FmPlusFr2_k1, E::Fm, E::FmPlusFr2_k2, E::Fr2, false) ||
        !s.row(E::FmMinusFr2, E::FmMinusFr2_k1, E::Fm, E::FmMinusFr2_k2, E::Fr2, true) ||
        !s.row(E::Fr1PlusFr2, E::Fr1PlusFr2_k1, E::Fr1, E::Fr1PlusFr2_k2, E::Fr2, false))
        return faultOutcome(*s.fault);

    // The display: first every text unrounded, then, with a precision, every
    // text again rounded; a fault in the second pass leaves the rest unrounded.
    CalcOutcome out;
    std::array<QString, kDisplayCount> texts;
    for (int i = 0; i < kDisplayCount; ++i)
        texts[static_cast<std::size_t>(i)] =
            generalDecimal(t[kDisplay[static_cast<std::size_t>(i)].entry]);
    if (precisionFactor > 1) {
        for (int i = 0; i < kDisplayCount; ++i) {
            const DisplayText d =
                RoundToPrecision(t[kDisplay[static_cast<std::size_t>(i)].entry], precisionFactor);
            if (d.fault) {
                out.result = CalcResult::Fault;
                out.fault = d.fault;
                out.display = texts;
                return out;
            }
            texts[static_cast<std::size_t>(i)] = d.text;
        }
    }
    out.display = texts;
    pair.pairCalculated = 1;
    return out;
}

} // namespace calc
