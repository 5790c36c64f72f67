// The arithmetic faults that end a calculation or a search, and the Russian
// message the user reads for each.
#pragma once

#include <QString>

namespace calc {

enum class ArithFault {
    DivisionByZero,   // x / 0 with x not 0
    InvalidOperation, // 0 / 0
    Overflow,         // a result beyond the double range
    RoundingRange,    // the rounding product does not fit a signed 64-bit integer
};

QString faultMessage(ArithFault fault);

// Checked floating-point steps: each returns the result or the fault that the
// operation raised. Operands are always finite.
struct Checked {
    double value = 0.0;
    bool ok = true;
    ArithFault fault = ArithFault::Overflow;
};
Checked checkedMul(double a, double b);
Checked checkedDiv(double a, double b);
Checked checkedAdd(double a, double b);
Checked checkedSub(double a, double b);

} // namespace calc
