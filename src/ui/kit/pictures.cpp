// Pictures drawn with QPainter: a pocket calculator, a fresh sheet with a
// gear, two triangles and a gear wheel for the window icon. Each is drawn
// anew for the size and pixel density asked for, so that it stays sharp
// at 1.5× and 2× instead of being a 16-pixel bitmap blown up.
#include "ui/kit/pictures.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QStyle>
#include <QStyleOption>
#include <cmath>
#include <map>
#include <numbers>
#include <tuple>

namespace pictures {

namespace {

// Draws a picture in its own units: a `design` sized grid.
using Drawing = void (*)(QPainter &);

// An icon that paints its picture at whatever size and density is asked.
// `sizes` are the sizes it names when asked which it has: the window system
// takes a window icon in each of them (Qt paints four, up to 128 pixels, for
// an icon that names none), and every window of the program carries it.
class PaintedIcon : public QIconEngine {
public:
    PaintedIcon(Drawing draw, QSize design, QList<QSize> sizes = {})
        : draw_(draw), design_(design), sizes_(std::move(sizes)) {}

    QIconEngine *clone() const override { return new PaintedIcon(draw_, design_, sizes_); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return sizes_; }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap p = scaledPixmap(rect.size() * ratio, mode, state, ratio);
        p.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, p);
    }

    // `size` is in device pixels; the picture fills it, kept in proportion.
    // Each picture is painted once per size: every window asks for the window
    // icon when it is made, twice. The disabled look follows the style and
    // its palette at the time, and is made afresh.
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override {
        if (mode == QIcon::Disabled)
            return picture(size, mode, state);
        const auto key = std::make_tuple(size.width(), size.height(), int(mode));
        const auto kept = painted_.find(key);
        if (kept != painted_.end())
            return kept->second;
        return painted_[key] = picture(size, mode, state);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override {
        return design_.scaled(size, Qt::KeepAspectRatio);
    }

private:
    QPixmap picture(const QSize &size, QIcon::Mode mode, QIcon::State) {
        QPixmap p(size);
        p.fill(Qt::transparent);
        {
            QPainter g(&p);
            const QSize fitted = design_.scaled(size, Qt::KeepAspectRatio);
            g.translate((size.width() - fitted.width()) / 2.0,
                        (size.height() - fitted.height()) / 2.0);
            g.scale(qreal(fitted.width()) / design_.width(),
                    qreal(fitted.height()) / design_.height());
            draw_(g);
        }
        if (mode == QIcon::Disabled && qobject_cast<QApplication *>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            return QApplication::style()->generatedIconPixmap(mode, p, &option);
        }
        return p;
    }

    Drawing draw_;
    QSize design_;
    QList<QSize> sizes_;
    std::map<std::tuple<int, int, int>, QPixmap> painted_;
};

QIcon painted(Drawing draw, QSize design, QList<QSize> sizes = {}) {
    return QIcon(new PaintedIcon(draw, design, std::move(sizes)));
}

void drawGear(QPainter &g, QPointF centre, double outer, double inner, int teeth,
              const QColor &fill) {
    QPolygonF outline;
    for (int i = 0; i < teeth * 2; ++i) {
        const double a0 = std::numbers::pi * i / teeth;
        const double a1 = std::numbers::pi * (i + 1) / teeth;
        const double r = (i % 2 == 0) ? outer : inner;
        outline << centre + QPointF(r * std::cos(a0), r * std::sin(a0))
                << centre + QPointF(r * std::cos(a1), r * std::sin(a1));
    }
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(fill);
    g.drawPolygon(outline);
    g.setBrush(Qt::white);
    g.drawEllipse(centre, inner * 0.35, inner * 0.35);
}

void drawTriangle(QPainter &g, bool up) {
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0, 0, 128));
    QPolygonF t;
    if (up)
        t << QPointF(6, 1) << QPointF(11, 7) << QPointF(1, 7);
    else
        t << QPointF(1, 1) << QPointF(11, 1) << QPointF(6, 7);
    g.drawPolygon(t);
}

void drawCalculator(QPainter &g) {
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(QColor(192, 192, 192));
    g.drawRect(2, 0, 11, 15);
    g.setBrush(QColor(0, 128, 0));
    g.drawRect(4, 2, 7, 3);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(128, 0, 0));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            g.drawRect(4 + col * 3, 7 + row * 3, 2, 2);
}

void drawNewAggregate(QPainter &g) {
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(Qt::white);
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(10.5, 0.5);
    sheet.lineTo(13.5, 3.5);
    sheet.lineTo(13.5, 15.5);
    sheet.lineTo(2.5, 15.5);
    sheet.closeSubpath();
    g.drawPath(sheet);
    drawGear(g, QPointF(8, 9), 4.8, 3.4, 6, QColor(255, 200, 0));
}

// Two meshing wheels on a 32-unit grid.
void drawWindowIcon(QPainter &g) {
    g.setRenderHint(QPainter::Antialiasing);
    drawGear(g, QPointF(12, 13), 11, 8, 10, QColor(0, 0, 128));
    drawGear(g, QPointF(24, 23), 7.5, 5.2, 7, QColor(128, 0, 0));
}

// Two chevrons pointing right on an 8-unit grid.
void drawMoreItems(QPainter &g) {
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    g.setBrush(Qt::NoBrush);
    for (const double x : {1.0, 4.5}) {
        QPolygonF chevron;
        chevron << QPointF(x, 1) << QPointF(x + 2.5, 4) << QPointF(x, 7);
        g.drawPolyline(chevron);
    }
}

} // namespace

QIcon calculator() {
    return painted(drawCalculator, {16, 16});
}
QIcon newAggregate() {
    return painted(drawNewAggregate, {16, 16});
}
QIcon triangleUp() {
    return painted([](QPainter &g) { drawTriangle(g, true); }, {12, 8});
}
QIcon triangleDown() {
    return painted([](QPainter &g) { drawTriangle(g, false); }, {12, 8});
}
QIcon windowIcon() {
    return painted(drawWindowIcon, {32, 32}, {{16, 16}, {32, 32}, {48, 48}});
}
QIcon moreItems(Qt::Orientation along) {
    if (along == Qt::Horizontal)
        return painted(drawMoreItems, {8, 8});
    return painted(
        [](QPainter &g) {
            // The same chevrons turned to point down.
            g.translate(8, 0);
            g.rotate(90);
            drawMoreItems(g);
        },
        {8, 8});
}

} // namespace pictures
