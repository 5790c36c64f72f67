// The calculation of a pair as a core operation: capture and parse the 26
// inputs, check them, decide the smaller wheel, fill the frequency table and
// produce the texts of the 27 result edits.
#pragma once

#include "calc/arith_fault.h"
#include "calc/frequency_table.h"
#include "calc/smaller_wheel.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace calc {

enum class CalcResult {
    Success,
    InputNotice, // bad input: "Вводите данные для расчета правильно"
    SmallerWheelNotice, // the chosen smaller wheel contradicts the teeth counts
    Fault,              // an arithmetic fault, see CalcOutcome::fault
};

// Which input a refused run stopped at, and why: the first of the 26 whose
// text does not parse, else the first that fails the check against "0".
struct InputRefusal {
    enum Why { Empty, NotANumber, NotAboveZero, BelowZero };
    int input = 0; // index into kInputs
    Why why = Empty;
    bool operator==(const InputRefusal &) const = default;
};

struct CalcOutcome {
    CalcResult result = CalcResult::Success;
    std::optional<ArithFault> fault;
    std::optional<InputRefusal> refusal; // with InputNotice
    // Present when the run reached the display: on success, and on a fault in
    // the rounding pass, where the edits before the failing one end rounded
    // and the others unrounded. In the order of kDisplay.
    std::optional<std::array<QString, kDisplayCount>> display;
};

// editTexts are the texts the 26 input edits hold now, in the order of
// kInputs, after the empty Fm has become "0". What a run writes before it
// stops stays written in `pair` and `wheel`; pairCalculated is set to 1 only
// on success.
CalcOutcome Calculate(PairState &pair, SmallerWheelState &wheel,
                      const std::array<QString, kInputCount> &editTexts,
                      std::int32_t precisionFactor);

// The pair in the four fields (Z1, Fr1, Z2, Fm) is the one the last
// successful calculation read: the calculated flag is set and each field
// reads as the calculation captured it (a new aggregate blanks the fields
// but keeps the flag).
bool fieldsCalculated(const PairState &pair, const std::array<QString, 4> &fields);

// The Fm rules around a run. Before it: an empty Fm edit becomes "0" (and
// keeps it even if the run fails).
QString fmTextBeforeCalculation(const QString &fmText);

// After a successful run: what the window writes into the Fm rows' edits.
// Without an intermediate frequency (the Fm edit holds exactly "0") each Fm
// row's coefficients become "1" and its result is emptied; the frequency
// table keeps what was computed. Nothing otherwise.
struct EntryWrite {
    Entry entry;
    bool result; // the row's result edit rather than an input edit
    QString text;
    bool operator==(const EntryWrite &) const = default;
};
std::vector<EntryWrite> fmRowResets(const QString &fmText);

} // namespace calc
