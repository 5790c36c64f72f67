// Drawing the spectrum, the marks over it, and the zoom and pan.
#include "ui/machine/spectrum_plot.h"

#include <algorithm>
#include <cmath>

namespace {

// Past this many marks in view, labels would only cover each other.
constexpr int kLabelledLines = 60;

} // namespace

MarkLayer::MarkLayer(QCustomPlot *plot) : QCPLayerable(plot, QStringLiteral("machine")) {}

void MarkLayer::applyDefaultAntialiasingHint(QCPPainter *painter) const {
    applyAntialiasingHint(painter, false, QCP::aeOther);
}

QRect MarkLayer::clipRect() const {
    return mParentPlot->axisRect()->rect();
}

void MarkLayer::drawMark(QCPPainter *painter, const PlotMark &m, const QRect &area, int row) {
    QCPAxis *x = mParentPlot->xAxis;
    const double px = x->coordToPixel(m.x);
    if (m.halfBand > 0.0) {
        const double left = x->coordToPixel(m.x - m.halfBand);
        const double right = x->coordToPixel(m.x + m.halfBand);
        if (right - left >= 2.0) {
            QColor band = m.colour;
            band.setAlpha(40);
            painter->fillRect(QRectF(left, area.top(), right - left, area.height()), band);
        }
    }
    painter->setPen(QPen(m.colour, 1, m.style));
    painter->drawLine(QLineF(px, area.top(), px, area.bottom()));
    if (row < 0 || m.label.isEmpty())
        return;
    painter->save();
    painter->translate(px + 2, area.top() + 4 + 12 * (row % 3));
    painter->rotate(90);
    painter->drawText(QPointF(0, 0), m.label);
    painter->restore();
}

void MarkLayer::drawLines(QCPPainter *painter, double low, double high) {
    const QRect area = clipRect();
    const auto first =
        std::lower_bound(lines.begin(), lines.end(), low,
                         [](const PlotMark &m, double v) { return m.x + m.halfBand < v; });
    const auto last = std::upper_bound(
        first, lines.end(), high, [](double v, const PlotMark &m) { return v < m.x - m.halfBand; });
    drawnLines = int(last - first);
    const bool labelled = labels && drawnLines <= kLabelledLines;
    int row = 0;
    for (auto it = first; it != last; ++it)
        drawMark(painter, *it, area, labelled ? row++ : -1);
}

void MarkLayer::draw(QCPPainter *painter) {
    const QCPRange range = mParentPlot->xAxis->range();
    drawLines(painter, range.lower, range.upper);
    const QRect area = clipRect();
    int row = 0;
    for (const PlotMark &c : cursors)
        if (c.x >= range.lower && c.x <= range.upper)
            drawMark(painter, c, area, row++);
    QCPAxis *x = mParentPlot->xAxis;
    QCPAxis *y = mParentPlot->yAxis;
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        const QPointF at(x->coordToPixel(peaks[i].x()), y->coordToPixel(peaks[i].y()));
        const bool chosen = int(i) == selectedPeak;
        const double r = chosen ? 6 : 3.5;
        painter->setPen(QPen(chosen ? QColor(200, 0, 0) : QColor(0, 0, 128), chosen ? 2 : 1));
        painter->setBrush(Qt::NoBrush);
        const QPointF tip = at - QPointF(0, 3);
        painter->drawPolygon(QPolygonF{tip, tip + QPointF(-r, -2 * r), tip + QPointF(r, -2 * r)});
    }
}

SpectrumPlot::SpectrumPlot(QWidget *parent) : QCustomPlot(parent) {
    setObjectName(QStringLiteral("spectrumPlot"));
    setFocusPolicy(Qt::StrongFocus);
    // The readout and the hints follow the mouse without a button pressed.
    setMouseTracking(true);
    setAntialiasedElements(QCP::aeNone);
    setNoAntialiasingOnDrag(true);
    graph = addGraph();
    graph->setPen(QPen(QColor(0, 0, 0), 1));
    graph->setAdaptiveSampling(true);
    addLayer(QStringLiteral("machine"), layer(QStringLiteral("main")), QCustomPlot::limAbove);
    marks = new MarkLayer(this);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    axisRect()->setRangeDrag(Qt::Horizontal);
    axisRect()->setRangeZoom(Qt::Horizontal);
    axisRect()->setRangeZoomFactor(0.8, 1.0);
    selectionRect()->setPen(QPen(QColor(0, 0, 128), 1, Qt::DashLine));
    connect(this, &QCustomPlot::mousePress, this, &SpectrumPlot::pressed);
    connect(this, &QCustomPlot::mouseRelease, this, &SpectrumPlot::released);
    connect(this, &QCustomPlot::mouseMove, this, &SpectrumPlot::moved);
    connect(xAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this,
            &SpectrumPlot::fitAmplitude);
    setLogarithmic(true);
}

void SpectrumPlot::setSpectrum(const QVector<double> &x, const QVector<double> &y) {
    QVector<double> shown = y;
    if (log)
        for (double &v : shown)
            if (!(v > 0.0))
                v = std::nan(""); // a gap: a logarithmic axis has no zero
    graph->setData(x, shown, true);
    fullLow = x.isEmpty() ? 0.0 : x.front();
    fullHigh = x.isEmpty() ? 1.0 : std::max(x.back(), fullLow + 1e-9);
    showAll();
}

void SpectrumPlot::setLogarithmic(bool on) {
    log = on;
    yAxis->setScaleType(on ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
    yAxis->setTicker(on ? QSharedPointer<QCPAxisTicker>(new QCPAxisTickerLog)
                        : QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
    // Powers of ten on a logarithmic axis ("10⁻³"), plain numbers otherwise.
    yAxis->setNumberFormat(on ? QStringLiteral("eb") : QStringLiteral("gb"));
    yAxis->setNumberPrecision(on ? 0 : 6);
}

void SpectrumPlot::showAll() {
    xAxis->setRange(fullLow, fullHigh);
    fitAmplitude();
    replot();
}

void SpectrumPlot::zoomAround(double centre, double factor) {
    const QCPRange r = xAxis->range();
    xAxis->setRange(centre - (centre - r.lower) * factor, centre + (r.upper - centre) * factor);
    replot();
}

void SpectrumPlot::fitAmplitude() {
    const QCPRange r = xAxis->range();
    double top = 0.0;
    const QSharedPointer<QCPGraphDataContainer> data = graph->data();
    for (auto it = data->findBegin(r.lower, false); it != data->findEnd(r.upper, false); ++it)
        if (std::isfinite(it->value))
            top = std::max(top, it->value);
    if (!(top > 0.0))
        top = 1.0;
    if (log)
        yAxis->setRange(top * 1e-5, top * 3);
    else
        yAxis->setRange(0.0, top * 1.1);
}

void SpectrumPlot::keyPressEvent(QKeyEvent *event) {
    const QCPRange r = xAxis->range();
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomAround(r.center(), 0.5);
        return;
    case Qt::Key_Minus:
        zoomAround(r.center(), 2.0);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const double step = r.size() / 10 * (event->key() == Qt::Key_Left ? -1 : 1);
        xAxis->setRange(r.lower + step, r.upper + step);
        replot();
        return;
    }
    case Qt::Key_Home:
        showAll();
        return;
    default:
        QCustomPlot::keyPressEvent(event);
    }
}

void SpectrumPlot::pressed(QMouseEvent *event) {
    pressPos = event->pos();
    // The band to zoom into is drawn with the right button or with Shift;
    // otherwise the left button pans.
    const bool band = event->button() == Qt::RightButton ||
                      (event->button() == Qt::LeftButton && event->modifiers() & Qt::ShiftModifier);
    setSelectionRectMode(band ? QCP::srmZoom : QCP::srmNone);
    setFocus(Qt::MouseFocusReason);
}

void SpectrumPlot::released(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton || (event->pos() - pressPos).manhattanLength() > 3)
        return;
    if (!axisRect()->rect().contains(event->pos()))
        return;
    emit clickedAt(xAxis->pixelToCoord(event->pos().x()));
}

void SpectrumPlot::moved(QMouseEvent *event) {
    if (event->buttons() == Qt::NoButton && axisRect()->rect().contains(event->pos()))
        emit hoveredAt(xAxis->pixelToCoord(event->pos().x()), event->globalPosition().toPoint());
}
