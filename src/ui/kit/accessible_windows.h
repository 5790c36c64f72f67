// What a screen reader needs of the windows beyond the main window:
//   - a window made as a plain QWidget is exposed as a window, not as a
//     "filler" (Qt gives such widgets no role of their own);
//   - a message line that changes is announced;
//   - a line of shaft numbers in a combo box offers the shafts there are.
#pragma once

#include <QString>

class QComboBox;
class QLabel;
class QWidget;

namespace kit {

// The widgets of this class are exposed as windows. Call before the first
// one is made; the class name is the one of Q_OBJECT.
void exposeAsWindow(const char *className);

// Shows `text` in the label and tells assistive technology that it changed.
void announce(QLabel *label, const QString &text);

// The combo box offers `prefix` + 1 … count, keeps the number chosen where
// it still exists and says whether the choice had to change.
bool offerNumbers(QComboBox *box, const QString &prefix, int count);

} // namespace kit
