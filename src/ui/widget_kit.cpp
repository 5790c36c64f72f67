// Fonts and colours of the windows.
#include "ui/widget_kit.h"

#include <QLineEdit>

namespace kit {

namespace {
QFont font(const QStringList &families, int pixelSize, bool bold)
{
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    // The windows show Latin and Cyrillic letters, digits and signs only, all
    // of which the fonts have: without looking up fallback fonts for other
    // scripts, each font costs a good deal less to load.
    f.setStyleStrategy(QFont::NoFontMerging);
    return f;
}
} // namespace

QFont sansFont(int pixelSize, bool bold)
{
    return font({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")}, pixelSize,
                bold);
}

QFont serifFont(int pixelSize, bool bold)
{
    return font({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")}, pixelSize,
                bold);
}

void showResult(QLineEdit *box, const QString &text)
{
    box->setText(text);
    box->setCursorPosition(0);
}

void setColour(QWidget *w, QPalette::ColorRole role, const QColor &c)
{
    // The disabled look stays the style's own, so a disabled button greys out.
    QPalette p = w->palette();
    p.setColor(QPalette::Active, role, c);
    p.setColor(QPalette::Inactive, role, c);
    w->setPalette(p);
}

} // namespace kit
