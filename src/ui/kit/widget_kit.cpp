// Fonts and colours of the windows.
#include "ui/kit/widget_kit.h"

#include "calc/input_text.h"
#include "ui/kit/pictures.h"

#include <QApplication>
#include <QGroupBox>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolTip>
#include <qdrawutil.h>

#include <array>
#include <optional>

namespace kit {

namespace {
QFont font(const QStringList &families, int pixelSize, bool bold) {
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
// Qt's Fusion light palette: active, inactive and disabled colour of each
// role in QPalette::ColorRole order, as ARGB.
struct RoleColours {
    QPalette::ColorRole role;
    QRgb active, inactive, disabled;
};
constexpr std::array<RoleColours, 21> kLightColours{{
    {QPalette::WindowText, 0xff000000, 0xff000000, 0xffbebebe},
    {QPalette::Button, 0xffefefef, 0xffefefef, 0xffefefef},
    {QPalette::Light, 0xffffffff, 0xffffffff, 0xffffffff},
    {QPalette::Midlight, 0xffcacaca, 0xffcacaca, 0xffcacaca},
    {QPalette::Dark, 0xff9f9f9f, 0xff9f9f9f, 0xffbebebe},
    {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8, 0xffb8b8b8},
    {QPalette::Text, 0xff000000, 0xff000000, 0xffbebebe},
    {QPalette::BrightText, 0xffffffff, 0xffffffff, 0xffffffff},
    {QPalette::ButtonText, 0xff000000, 0xff000000, 0xffbebebe},
    {QPalette::Base, 0xffffffff, 0xffffffff, 0xffefefef},
    {QPalette::Window, 0xffefefef, 0xffefefef, 0xffefefef},
    {QPalette::Shadow, 0xff767676, 0xff767676, 0xffb1b1b1},
    {QPalette::Highlight, 0xff308cc6, 0xff308cc6, 0xff919191},
    {QPalette::HighlightedText, 0xffffffff, 0xffffffff, 0xffffffff},
    {QPalette::Link, 0xff0000ff, 0xff0000ff, 0xff0000ff},
    {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff, 0xffff00ff},
    {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7, 0xfff7f7f7},
    {QPalette::NoRole, 0xff000000, 0xff000000, 0xff000000},
    {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc, 0xffffffdc},
    {QPalette::ToolTipText, 0xff000000, 0xff000000, 0xff000000},
    {QPalette::PlaceholderText, 0x80000000, 0x80000000, 0x80000000},
}};
static_assert(kLightColours.size() == QPalette::NColorRoles);

} // namespace

QPalette lightPalette() {
    QPalette palette;
    for (const RoleColours &c : kLightColours) {
        palette.setColor(QPalette::Active, c.role, QColor::fromRgba(c.active));
        palette.setColor(QPalette::Inactive, c.role, QColor::fromRgba(c.inactive));
        palette.setColor(QPalette::Disabled, c.role, QColor::fromRgba(c.disabled));
    }
    return palette;
}

void useLightPalette(QWidget *window) {
    const QPalette light = lightPalette();
    window->setPalette(light);
    for (QMenu *menu : window->findChildren<QMenu *>())
        menu->setPalette(light);
    // Menus made on demand (the edits' standard menu) and hints are windows
    // of their own that take the application's palette for their class.
    QApplication::setPalette(light, "QMenu");
    QToolTip::setPalette(light);
}

namespace {
// Fusion, without reading image files at the start. Qt's image reader
// loads every image-format plugin it has (and the SVG library with them)
// the first time it is asked to read a file, whatever its format, unless it
// is told the format and not to guess; that cost the start about 2 ms of
// processor time and a mebibyte of memory. Fusion reads two pictures for the
// main window: the menu bar's button for items it has no room for (which a
// fixed window never shows) is drawn here instead, and the group boxes'
// frame picture is read once with its format told.
class ProgramStyle : public QProxyStyle {
public:
    ProgramStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    QIcon standardIcon(StandardPixmap picture, const QStyleOption *option,
                       const QWidget *widget) const override {
        if (picture == SP_ToolBarHorizontalExtensionButton)
            return pictures::moreItems(Qt::Horizontal);
        if (picture == SP_ToolBarVerticalExtensionButton)
            return pictures::moreItems(Qt::Vertical);
        return QProxyStyle::standardIcon(picture, option, widget);
    }

    // Fusion's group box frame, drawn as Fusion draws it, in bands: Qt's
    // raster engine hands a drawing of 96 pixel rows or more to a pool of
    // threads, and the first such drawing starts the threads (two here),
    // which costs the first paint more than the few frames it would share.
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override {
        if (element == PE_FrameGroupBox && !groupBoxFrame().isNull()) {
            const auto *box = qobject_cast<const QGroupBox *>(widget);
            const int top = box && !box->isCheckable() && box->title().isEmpty()
                                ? kGroupBoxTopMargin
                                : qMax(baseStyle()->pixelMetric(PM_ExclusiveIndicatorHeight),
                                       option->fontMetrics.height()) +
                                      kGroupBoxTopMargin;
            const QRect frame = option->rect.adjusted(0, top, 0, 0);
            const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
            const int band = qMax(1, int(kBandRows / ratio));
            const QMargins margins(kRim, kRim, kRim, kRim);
            const QRect reach = frame.marginsAdded(margins);
            if (frame.height() <= band) {
                drawFrame(painter, frame, margins, QRect());
                return;
            }
            // Clipped to each band in turn; the outer bands reach as far as
            // the corners may. A repaint of a few edits in a group leaves
            // out the bands it does not touch.
            const QRectF painted = paintedArea(painter);
            for (int y = frame.top(); y <= frame.bottom(); y += band) {
                const int from = y == frame.top() ? reach.top() : y;
                const int to = y + band > frame.bottom() ? reach.bottom() : y + band - 1;
                const QRect part(QPoint(reach.left(), from), QPoint(reach.right(), to));
                if (painted.isNull() || painted.intersects(QRectF(part).adjusted(-1, -1, 1, 1)))
                    drawFrame(painter, frame, margins, part);
            }
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

private:
    static constexpr int kGroupBoxTopMargin = 3;
    static constexpr int kBandRows = 80; // device pixel rows, below the pool's 96
    static constexpr int kRim = 6;       // the frame picture's border, every side

    // What the painting is clipped to (the region being repainted), in the
    // painter's own units; null when it cannot be told.
    static QRectF paintedArea(QPainter *painter) {
        const QPaintEngine *engine = painter->paintEngine();
        if (!engine || engine->systemClip().isEmpty())
            return {};
        bool invertible = false;
        const QTransform toLogical = painter->deviceTransform().inverted(&invertible);
        if (!invertible)
            return {};
        QRectF area = toLogical.mapRect(QRectF(engine->systemClip().boundingRect()));
        if (painter->hasClipping())
            area &= painter->clipBoundingRect();
        return area.isEmpty() ? QRectF() : area;
    }

    // The picture's centre is one translucent colour, stretched over the
    // whole inside of the frame; a fill of that colour gives the same pixels
    // for a fraction of the cost of drawing a stretched picture. So the
    // picture draws the rim only, and the inside is filled. A null band
    // draws the whole frame unclipped.
    void drawFrame(QPainter *painter, const QRect &frame, const QMargins &margins,
                   const QRect &band) const {
        const QRect inside = frame.marginsRemoved(margins);
        const bool fill = interior_ && inside.isValid();
        if (band.isNull() && !fill) {
            qDrawBorderPixmap(painter, frame, margins, groupBoxFrame());
            return;
        }
        const QRect reach = band.isNull() ? frame.marginsAdded(margins) : band;
        painter->save();
        if (fill)
            painter->setClipRegion(QRegion(reach).subtracted(inside), Qt::IntersectClip);
        else
            painter->setClipRect(reach, Qt::IntersectClip);
        qDrawBorderPixmap(painter, frame, margins, groupBoxFrame());
        painter->restore();
        if (fill)
            painter->fillRect(inside & reach, *interior_);
    }

    const QPixmap &groupBoxFrame() const {
        if (!frameRead_) {
            frameRead_ = true;
            QImageReader reader(
                QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"));
            reader.setAutoDetectImageFormat(false);
            reader.setFormat("png");
            const QImage image = reader.read();
            frame_ = QPixmap::fromImage(image);
            interior_ = uniformCentre(image);
        }
        return frame_;
    }

    // The colour of the picture's centre (inside its rim) when every
    // pixel there has it, and a fill of that colour blends to the same bytes:
    // its premultiplied form is the picture's own.
    static std::optional<QColor> uniformCentre(const QImage &image) {
        const QImage centre = image.copy(image.rect().adjusted(kRim, kRim, -kRim, -kRim))
                                  .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (centre.isNull())
            return std::nullopt;
        const QRgb first = reinterpret_cast<const QRgb *>(centre.constScanLine(0))[0];
        for (int y = 0; y < centre.height(); ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(centre.constScanLine(y));
            for (int x = 0; x < centre.width(); ++x)
                if (row[x] != first)
                    return std::nullopt;
        }
        const QRgb plain = qUnpremultiply(first);
        if (qPremultiply(plain) != first)
            return std::nullopt;
        return QColor::fromRgba(plain);
    }

    mutable bool frameRead_ = false;
    mutable QPixmap frame_;
    mutable std::optional<QColor> interior_;
};
} // namespace

void useFusionStyle() {
    if (!dynamic_cast<ProgramStyle *>(QApplication::style()))
        QApplication::setStyle(new ProgramStyle);
}

QString drawingStyleName(const QStyle *style) {
    const auto *proxy = qobject_cast<const QProxyStyle *>(style);
    return proxy && proxy->baseStyle() ? drawingStyleName(proxy->baseStyle()) : style->name();
}

QFont sansFont(int pixelSize, bool bold) {
    return font({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")}, pixelSize,
                bold);
}

QFont serifFont(int pixelSize, bool bold) {
    return font({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")}, pixelSize,
                bold);
}

void showResult(QLineEdit *box, const QString &text) {
    box->setText(text);
    box->setCursorPosition(0);
}

QValidator::State CharacterLimit::validate(QString &input, int &) const {
    return calc::characterCount(input) <= limit ? Acceptable : Invalid;
}

void setColour(QWidget *w, QPalette::ColorRole role, const QColor &c) {
    // The disabled look stays the style's own, so a disabled button greys out.
    QPalette p = w->palette();
    p.setColor(QPalette::Active, role, c);
    p.setColor(QPalette::Inactive, role, c);
    w->setPalette(p);
}

} // namespace kit
