// Pictures drawn with QPainter: a pocket calculator, a fresh sheet with a
// gear, two triangles and a gear wheel for the window icon.
#include "ui/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <cmath>
#include <numbers>

namespace pictures {

namespace {

QPixmap blank(int size)
{
    QPixmap p(size, size);
    p.fill(Qt::transparent);
    return p;
}

void drawGear(QPainter &g, QPointF centre, double outer, double inner, int teeth,
              const QColor &fill)
{
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

QIcon triangle(bool up)
{
    QPixmap p(12, 8);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0, 0, 128));
    QPolygonF t;
    if (up)
        t << QPointF(6, 1) << QPointF(11, 7) << QPointF(1, 7);
    else
        t << QPointF(1, 1) << QPointF(11, 1) << QPointF(6, 7);
    g.drawPolygon(t);
    return QIcon(p);
}

} // namespace

QIcon calculator()
{
    QPixmap p = blank(16);
    QPainter g(&p);
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
    return QIcon(p);
}

QIcon newAggregate()
{
    QPixmap p = blank(16);
    QPainter g(&p);
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
    return QIcon(p);
}

QIcon triangleUp() { return triangle(true); }
QIcon triangleDown() { return triangle(false); }

QIcon windowIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap p = blank(size);
        QPainter g(&p);
        g.setRenderHint(QPainter::Antialiasing);
        const double s = size / 32.0;
        drawGear(g, QPointF(12 * s, 13 * s), 11 * s, 8 * s, 10, QColor(0, 0, 128));
        drawGear(g, QPointF(24 * s, 23 * s), 7.5 * s, 5.2 * s, 7, QColor(128, 0, 0));
        icon.addPixmap(p);
    }
    return icon;
}

} // namespace pictures
