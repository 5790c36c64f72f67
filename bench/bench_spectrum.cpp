// The spectrum window's speed, each against its target, in Release on the
// offscreen platform, through the module as the program loads it:
//   - a WAV of 2^20 samples opened until its averaged spectrum is drawn
//     (< 150 ms);
//   - a frame of zooming a 65 536-line spectrum with every line of a
//     nine-stage machine drawn (< 16 ms);
//   - the peak table of 200 peaks explained by the nine-stage machine
//     (< 30 ms).
// Prints the median of each, the target and whether it was met, and the
// machine's load average.
#include "machine/train.h"
#include "nine_pair_reducer.h"
#include "spectrum/machine_overlay.h"
#include "spectrum/peaks.h"
#include "ui/machine/machine_controller.h"
#include "ui/main/Unit1.h"
#include "ui/startup.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <numbers>

namespace {

QByteArray wavBytes(int rate, int samples) {
    QByteArray data(qsizetype(samples) * 2, '\0');
    for (int j = 0; j < samples; ++j) {
        const double t = double(j) / rate;
        const double v = 0.3 * std::sin(2 * std::numbers::pi * 1210.7 * t) +
                         0.1 * std::sin(2 * std::numbers::pi * 49.5 * t) +
                         0.01 * std::sin(double(j) * 12.9898);
        const auto s = qint16(std::lround(v * 32767));
        data[2 * j] = char(s & 0xff);
        data[2 * j + 1] = char((s >> 8) & 0xff);
    }
    QByteArray h("RIFF");
    const auto u32 = [&](quint32 v) { h.append(reinterpret_cast<const char *>(&v), 4); };
    const auto u16 = [&](quint16 v) { h.append(reinterpret_cast<const char *>(&v), 2); };
    u32(quint32(36 + data.size()));
    h.append("WAVEfmt ");
    u32(16), u16(1), u16(1), u32(quint32(rate)), u32(quint32(rate * 2)), u16(2), u16(16);
    h.append("data");
    u32(quint32(data.size()));
    return h + data;
}

double medianMs(int runs, const std::function<void()> &run) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void report(const char *what, double ms, double target) {
    std::printf("%-72s %8.2f ms   target < %g ms: %s\n", what, ms, target,
                ms < target ? "met" : "MISSED");
}

void storeNinePairs(TForm1 &form) {
    aggregate::AggregateState a = form.aggregateState();
    const std::vector<aggregate::GearPair> pairs = ninePairReducer();
    for (std::size_t k = 0; k < pairs.size(); ++k)
        a.storeSlot(int(k) + 1, pairs[k]);
    form.replaceAggregate(a, std::nullopt, false, false);
}

// A 65 536-line spectrum with 400 peaks on a noisy floor.
spectrum::Spectrum manyPeaks() {
    spectrum::Spectrum s;
    s.resolution = 0.25;
    for (int i = 0; i < 65536; ++i) {
        s.frequency.push_back(i * 0.25);
        s.amplitude.push_back(0.01 * (1.2 + std::sin(i * 12.9898)) + (i % 160 == 80 ? 1.0 : 0.0));
    }
    return s;
}

} // namespace

int main(int argc, char *argv[]) {
    // The window's settings of this run stay in a folder of its own, so
    // that neither the user's settings change it nor it theirs.
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    QApplication app(argc, argv);
    QDir::setCurrent(dir.path());
    const QString wav = dir.filePath(QStringLiteral("long.wav"));
    QFile f(wav);
    if (!f.open(QIODevice::WriteOnly) || f.write(wavBytes(25600, 1 << 20)) < 0)
        return 1;
    f.close();

    std::unique_ptr<TForm1> form(createWindows());
    form->show();
    storeNinePairs(*form);
    MachineController *controller = form->findChild<MachineController *>();
    SpectrumView *view = controller->spectrumView();
    if (!view)
        return 1;
    QWidget *window = view->widget();
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return 1;
    auto *plot = window->findChild<QCustomPlot *>();
    const double open = medianMs(11, [&] {
        view->openFile(wav);
        plot->repaint();
        QCoreApplication::processEvents();
    });
    report("WAV of 2^20 samples to its averaged spectrum on screen (8192 lines)", open, 150);

    window->findChild<QComboBox *>(QStringLiteral("linesBox"))
        ->setCurrentText(QStringLiteral("65536"));
    for (const auto &[harmonics, sidebands] : {std::pair{10, 3}, std::pair{50, 5}}) {
        window->findChild<QSpinBox *>(QStringLiteral("maxHarmonicBox"))->setValue(harmonics);
        window->findChild<QSpinBox *>(QStringLiteral("maxSidebandBox"))->setValue(sidebands);
        plot->xAxis->setRange(0, 12800);
        int frame = 0;
        const double zoom = medianMs(41, [&] {
            const double span = 12800 * std::pow(0.8, frame++ % 20);
            plot->xAxis->setRange(std::max(0.0, 1210 - span / 2), 1210 + span / 2);
            plot->replot(QCustomPlot::rpImmediateRefresh);
        });
        const QByteArray what =
            QStringLiteral("zoom frame, 65 536 lines, nine stages, harmonics %1, "
                           "sidebands %2")
                .arg(harmonics)
                .arg(sidebands)
                .toUtf8();
        report(what.constData(), zoom, 16);
    }

    const machine::Train nine = machine::buildTrain(ninePairReducer(), false, 1);
    const spectrum::Spectrum s = manyPeaks();
    std::size_t found = 0;
    const double table = medianMs(21, [&] {
        const std::vector<spectrum::Peak> peaks = spectrum::findPeaks(s, {10.0, 200});
        found = spectrum::notePeaks(nine, peaks, {0.25, false, 10, 3}).size();
    });
    const QByteArray what =
        QStringLiteral("peak table of %1 peaks against the nine-stage machine").arg(found).toUtf8();
    report(what.constData(), table, 30);

    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::printf("load average: %s", load.readAll().constData());
    window->hide();
    return 0;
}
