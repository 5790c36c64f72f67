// Small helpers shared by the windows: the program's fonts and colours, and
// the creation of a named child widget at a pixel position.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QValidator>
#include <QWidget>
#include <type_traits>

class QLineEdit;
class QStyle;

namespace kit {

namespace colour {
inline const QColor black{0, 0, 0};
inline const QColor navy{0, 0, 128};
inline const QColor blue{0, 0, 255};
inline const QColor maroon{128, 0, 0};
inline const QColor red{255, 0, 0};
inline const QColor green{0, 128, 0};
inline const QColor lime{0, 255, 0};
inline const QColor silver{192, 192, 192};
inline const QColor yellow{255, 255, 0};
inline const QColor white{255, 255, 255};
} // namespace colour

// "MS Sans Serif" and "Times New Roman" with their metric-compatible
// stand-ins, so that texts fit the pixel layout on Linux too.
QFont sansFont(int pixelSize, bool bold = false);
QFont serifFont(int pixelSize, bool bold = false);

// The windows' own light palette. Their texts are colour-coded for light
// backgrounds (navy, maroon, red), so a dark desktop theme must not replace
// it: each window and each menu takes this palette as its own.
QPalette lightPalette();
// Gives a window, its menus and the program's hints the light palette.
// Windows do not pass their palette on to child windows such as menus.
void useLightPalette(QWidget *window);

// Qt's Fusion style for all windows, whatever the desktop's style. The
// windows are laid out to the pixel and coloured for the light palette: a
// style with wider paddings cuts their texts, and a dark style (Adwaita-Dark)
// paints the buttons dark whatever the palette says.
void useFusionStyle();
// The style that draws: Fusion for the program's own style and for a style
// that only changes a part of it.
QString drawingStyleName(const QStyle *style);

// Sets one colour role of a widget's own palette.
void setColour(QWidget *w, QPalette::ColorRole role, const QColor &c);

// Writes a result into a read-only box so that it reads from its first
// digit: a number wider than its box is cut at the end, not at the start.
void showResult(QLineEdit *box, const QString &text);

// A validator that takes a text of at most `limit` characters, counted as
// the program counts them (a character outside the Basic Multilingual Plane
// once), so that an edit holds what the document keeps and no more.
class CharacterLimit : public QValidator {
public:
    CharacterLimit(qsizetype limit, QObject *parent) : QValidator(parent), limit(limit) {}
    State validate(QString &input, int &) const override;

private:
    qsizetype limit;
};

// A child widget with its objectName, at a position in its parent's pixels.
// A label shows its text as it stands (plain_text.h).
template <class W> W *make(QWidget *parent, const QString &name, const QRect &geometry) {
    auto *w = new W(parent);
    w->setObjectName(name);
    w->setGeometry(geometry);
    if constexpr (std::is_base_of_v<QLabel, W>)
        w->setTextFormat(Qt::PlainText);
    return w;
}

} // namespace kit
