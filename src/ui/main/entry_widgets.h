// The one ui-side map from the core's entries to the main window's edits:
// which edit holds each input and which shows each value, with every
// objectName. The core speaks of entries only; the layout builds the edits
// under these names and fills the window's lookup arrays from here once.
#pragma once

#include "calc/frequency_table.h"

#include <array>

class QLineEdit;
class TForm1;

namespace ui {

struct EntryWidget {
    calc::Entry entry;
    const char *name;
    QLineEdit *TForm1::*edit;
};

// The 26 inputs, in the order of calc::kInputs.
extern const std::array<EntryWidget, calc::kInputCount> kInputWidgets;
// The 27 shown values, in the order of calc::kDisplay.
extern const std::array<EntryWidget, calc::kDisplayCount> kResultWidgets;

// The objectName of the edit an input is typed into, or of the edit that
// shows a value; nullptr when the entry has none.
const char *inputEditName(calc::Entry e);
const char *resultEditName(calc::Entry e);

} // namespace ui
