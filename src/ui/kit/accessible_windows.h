// What a screen reader needs of the windows beyond the main window:
//   - a window made as a plain QWidget is exposed as a window, not as a
//     "filler" (Qt gives such widgets no role of their own);
//   - a combo box is named by what it chooses, not by its current value
//     (Qt names every combo box by its value on Linux);
//   - a message line that changes is announced, and the control the user
//     reaches next carries it as its description;
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

// The combo box is read as `name`, its value as the choice shown.
void nameByRole(QComboBox *box, const QString &name);

// Shows `text` in the label and tells assistive technology that it changed;
// `describes` (the result list, the field a message is about) carries the
// text as its description, read when it takes the focus.
void announce(QLabel *label, const QString &text, QWidget *describes = nullptr);

// The combo box offers `prefix` + 1 … count, keeps the number chosen where
// it still exists and says whether the choice had to change.
bool offerNumbers(QComboBox *box, const QString &prefix, int count);

} // namespace kit
