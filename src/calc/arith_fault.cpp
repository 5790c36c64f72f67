// Checked floating-point steps and the messages of the arithmetic faults.
#include "calc/arith_fault.h"

#include <cmath>

namespace calc {

QString faultMessage(ArithFault fault) {
    switch (fault) {
    case ArithFault::DivisionByZero:
        return QStringLiteral("Ошибка вычисления: деление на ноль.");
    case ArithFault::InvalidOperation:
        return QStringLiteral("Ошибка вычисления: недопустимая операция (ноль, делённый на ноль).");
    case ArithFault::Overflow:
        return QStringLiteral("Ошибка вычисления: переполнение, результат слишком велик.");
    case ArithFault::RoundingRange:
        return QStringLiteral("Ошибка округления: значение слишком велико для выбранной точности.");
    }
    return {};
}

namespace {
Checked finiteOrOverflow(double v) {
    if (std::isfinite(v))
        return {v, true, ArithFault::Overflow};
    return {0.0, false, ArithFault::Overflow};
}
} // namespace

Checked checkedMul(double a, double b) {
    return finiteOrOverflow(a * b);
}
Checked checkedAdd(double a, double b) {
    return finiteOrOverflow(a + b);
}
Checked checkedSub(double a, double b) {
    return finiteOrOverflow(a - b);
}

Checked checkedDiv(double a, double b) {
    if (b == 0.0)
        return {0.0, false, a == 0.0 ? ArithFault::InvalidOperation : ArithFault::DivisionByZero};
    return finiteOrOverflow(a / b);
}

} // namespace calc
