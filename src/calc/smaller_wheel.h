// Which wheel is the smaller one: the indicator, the mode (automatic or by
// the user), and which way round the difference rows are labelled.
#pragma once

#include <QString>

namespace calc {

struct SmallerWheelState {
    QString smallerWheel = QStringLiteral("1"); // "1", "2", or empty for equal teeth counts
    QString mode = QStringLiteral("1");         // "1" automatic, "2" chosen by the user
    // The main window's difference row reads "Fr2 - ... Fr1=" instead of
    // "Fr1 - ... Fr2=".
    bool mainRowFr2First = false;
    // The variants window's title reads "Fr2 - Fr1" instead of "Fr1 - Fr2".
    bool variantsFr2First = false;
};

inline bool isAutomatic(const SmallerWheelState &s) {
    return s.mode == QLatin1String("1");
}

// Wheel 2 is the smaller one: the indicator is neither "1" nor empty.
inline bool wheel2Smaller(const SmallerWheelState &s) {
    return s.smallerWheel != QLatin1String("1") && !s.smallerWheel.isEmpty();
}

// The caption of the mode item names the mode that choosing it switches to.
QString modeItemCaption(const SmallerWheelState &s);

// The mode item: switches between automatic and chosen by the user; the
// indicator and the labels stay.
void toggleSmallerWheelMode(SmallerWheelState &s);

// The smaller-wheel button (manual mode): "1" becomes "2", anything else "1";
// only the main window's labels follow.
void pressSmallerWheelButton(SmallerWheelState &s);

// The automatic part of the smaller-wheel step: the indicator from the teeth
// counts; equal counts empty it and leave the labels alone.
void decideSmallerWheel(SmallerWheelState &s, double z1, double z2);

} // namespace calc
