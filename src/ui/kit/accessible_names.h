// Accessible names: what a screen reader announces for each box of the
// calculation, composed from its row tables. Without them every input edit
// took the title of its group ("Исходнные данные").
#pragma once

#include "calc/rows.h"

#include <QString>

namespace accessibility {

// The name of the box that holds an input of the calculation (Z1 ... Fm and
// the coefficients) or one of its shown values, composed from the row
// tables: "Z1, число зубьев 1-го колеса", "Fz + Fr1, результат",
// "Fz + Fr1, коэффициент при Fz".
QString inputName(const calc::InputSpec &input);
// A quantity of the pair by itself: "Fr2, оборотная частота 2-го колеса, Гц".
QString quantityName(calc::Entry entry);
QString displayName(calc::Entry entry);

} // namespace accessibility
