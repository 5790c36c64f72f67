// The smaller-wheel rule.
#include "calc/smaller_wheel.h"

namespace calc {

QString modeItemCaption(const SmallerWheelState &s) {
    return isAutomatic(s) ? QStringLiteral("Определять самостоятельно")
                          : QStringLiteral("Определять автоматически");
}

void toggleSmallerWheelMode(SmallerWheelState &s) {
    s.mode = isAutomatic(s) ? QStringLiteral("2") : QStringLiteral("1");
}

void pressSmallerWheelButton(SmallerWheelState &s) {
    if (s.smallerWheel == QLatin1String("1")) {
        s.smallerWheel = QStringLiteral("2");
        s.mainRowFr2First = true;
    } else {
        s.smallerWheel = QStringLiteral("1");
        s.mainRowFr2First = false;
    }
}

void decideSmallerWheel(SmallerWheelState &s, double z1, double z2) {
    if (z1 < z2) {
        s.smallerWheel = QStringLiteral("1");
        s.mainRowFr2First = false;
        s.variantsFr2First = false;
    } else if (z1 > z2) {
        s.smallerWheel = QStringLiteral("2");
        s.mainRowFr2First = true;
        s.variantsFr2First = true;
    } else {
        s.smallerWheel.clear();
    }
}

} // namespace calc
