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

namespace calc {

enum class CalcResult {
    Success,
    InputNotice,        // bad input: "Вводите данные для расчета правильно"
    SmallerWheelNotice, // the chosen smaller wheel contradicts the teeth counts
    Fault,              // an arithmetic fault, see CalcOutcome::fault
};

struct CalcOutcome {
    CalcResult result = CalcResult::Success;
    std::optional<ArithFault> fault;
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

} // namespace calc
