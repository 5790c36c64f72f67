// Hints for boxes too narrow for their text. The result boxes have the widths
// of the window's design, and a long number shows only its first digits
// (333,333333333333 as "333,33333", 3,086419E51 as "3,086419"); such a box
// shows its whole text as its hint. A box whose text fits has no hint.
#pragma once

#include <QList>

class QLineEdit;

namespace fitHints {

// Whether the box shows its whole text, by the measure QLineEdit paints with.
bool textFits(const QLineEdit *box);

// Keeps the hints of these boxes up to date: on every change of the text,
// the font, the style or the size.
void watch(const QList<QLineEdit *> &boxes);

} // namespace fitHints
