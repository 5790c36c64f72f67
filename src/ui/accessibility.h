// Accessible names: what a screen reader announces for each box and each
// picture button of the main window. Without them every input edit took the
// title of its group ("Исходнные данные") and picture buttons had no name.
#pragma once

#include "calc/rows.h"

#include <QString>

class TForm1;

namespace accessibility {

// The name of the box that holds an input of the calculation (Z1 ... Fm and
// the coefficients) or one of its shown values, composed from the row
// tables: "Z1, число зубьев 1-го колеса", "Fz + Fr1, результат",
// "Fz + Fr1, коэффициент при Fz".
QString inputName(const calc::InputSpec &input);
// A quantity of the pair by itself: "Fr2, оборотная частота 2-го колеса, Гц".
QString quantityName(calc::Entry entry);
QString displayName(calc::Entry entry);

// Names every box and picture button of the main window; once, after the
// layout is built.
void nameMainWindow(TForm1 &window);

} // namespace accessibility
