// The font of the yardstick windows, asked for as the main window asks for
// its font: the same families ("MS Sans Serif" first, "Liberation Sans"
// found), size and strategy, so that they pay the same font set-up.
#pragma once

#include <QFont>
#include <QStringList>

inline QFont yardstickFont(int pixelSize, bool bold) {
    QFont f;
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::NoFontMerging);
    return f;
}
