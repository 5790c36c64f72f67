// SpectrumPlot: the spectrum drawn by QCustomPlot, with the machine's lines,
// the cursors and the peaks drawn over it by one layer that paints only what
// is in view. The wheel zooms the frequency axis, dragging pans it, the
// right button (or Shift with the left one) draws a band to zoom into;
// +, −, the arrows and Home do the same from the keyboard. The amplitude
// axis follows what is in view. A click (no drag) reports its frequency.
#pragma once

#include <qcustomplot.h>

#include <vector>

// One vertical mark: a machine line with its tolerance band, a cursor mark
// or a peak. Positions are in the axis unit.
struct PlotMark {
    double x = 0.0;
    double halfBand = 0.0; // tolerance, drawn as a band around the line
    QColor colour;
    QString label;
    Qt::PenStyle style = Qt::SolidLine;
};

class MarkLayer : public QCPLayerable {
public:
    explicit MarkLayer(QCustomPlot *plot);
    std::vector<PlotMark> lines;   // sorted by x
    std::vector<PlotMark> cursors; // any order
    std::vector<QPointF> peaks;    // (x, amplitude)
    int selectedPeak = -1;
    bool labels = false;
    // Lines drawn in the last frame, for the tests and the benchmark.
    int drawnLines = 0;

protected:
    void applyDefaultAntialiasingHint(QCPPainter *painter) const override;
    void draw(QCPPainter *painter) override;
    QRect clipRect() const override;

private:
    void drawLines(QCPPainter *painter, double low, double high);
    void drawMark(QCPPainter *painter, const PlotMark &m, const QRect &area, int row);
};

class SpectrumPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit SpectrumPlot(QWidget *parent = nullptr);

    // x in the axis unit; y the amplitudes. Shows the whole spectrum.
    void setSpectrum(const QVector<double> &x, const QVector<double> &y);
    void setLogarithmic(bool on);
    bool logarithmic() const { return log; }
    void showAll();
    // Zooms the frequency axis by `factor` (< 1 zooms in) around `centre`.
    void zoomAround(double centre, double factor);
    void fitAmplitude();

    MarkLayer *marks = nullptr;
    QCPGraph *graph = nullptr;

signals:
    void clickedAt(double x);
    void hoveredAt(double x, QPoint globalPos);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool log = true;
    QPoint pressPos;
    double fullLow = 0.0, fullHigh = 1.0;
    void pressed(QMouseEvent *event);
    void released(QMouseEvent *event);
    void moved(QMouseEvent *event);
};
