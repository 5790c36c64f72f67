// The scene of the spectrum window's pictures (scripts/screenshot-spectrum):
// the program's windows with a two-stage reducer calculated, a measured
// waveform of it opened in the spectrum window, its meshes and sidebands
// named in the peak table, both cursors set, a family switched off and a
// peak chosen. Prints
// "ready" when the scene stands and then runs until it is closed.
#include "ui/machine/machine_controller.h"
#include "ui/main/Unit1.h"
#include "ui/startup.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <qcustomplot.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>

namespace {

// 32-bit float samples at 4096 per second: shaft 1 at 22,5 Hz with its
// mesh (13 teeth: 292,5 Hz) modulated by it, the mesh of stage 2 (8 teeth on
// the 8,357 Hz shaft), a line nothing in the machine explains (173,3 Hz),
// and a little noise.
QByteArray reducerWav() {
    const int rate = 4096, n = 1 << 18;
    const double pi = std::numbers::pi, fr1 = 22.5, fr2 = 22.5 * 13 / 35, fz2 = 8 * fr2;
    QByteArray data;
    unsigned noise = 12345;
    for (int j = 0; j < n; ++j) {
        const double t = double(j) / rate;
        noise = noise * 1103515245u + 12345u;
        const double v =
            0.08 * std::sin(2 * pi * fr1 * t) + 0.03 * std::sin(2 * pi * 2 * fr1 * t) +
            0.5 * (1 + 0.4 * std::cos(2 * pi * fr1 * t)) * std::sin(2 * pi * 13 * fr1 * t) +
            0.15 * std::sin(2 * pi * 26 * fr1 * t) + 0.05 * std::sin(2 * pi * fr2 * t) +
            0.25 * std::sin(2 * pi * fz2 * t) + 0.06 * std::sin(2 * pi * 173.3 * t) +
            0.004 * (double(noise >> 16) / 32768.0 - 1.0);
        const float f = float(v);
        data.append(reinterpret_cast<const char *>(&f), 4);
    }
    QByteArray h("RIFF");
    const auto u32 = [&](quint32 v) { h.append(reinterpret_cast<const char *>(&v), 4); };
    const auto u16 = [&](quint16 v) { h.append(reinterpret_cast<const char *>(&v), 2); };
    u32(quint32(36 + data.size()));
    h.append("WAVEfmt ");
    u32(16), u16(3), u16(1), u32(rate), u32(rate * 4), u16(4), u16(32);
    h.append("data");
    u32(quint32(data.size()));
    return h + data;
}

void click(QCustomPlot *plot, double hertz) {
    const QPoint at(int(std::lround(plot->xAxis->coordToPixel(hertz))),
                    plot->axisRect()->center().y());
    QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, at);
}

} // namespace

int main(int argc, char *argv[]) {
    // The window's settings of this run stay in a folder of its own, so
    // that neither the user's settings change it nor it theirs.
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    QApplication app(argc, argv);
    QDir::setCurrent(dir.path());
    const QString wav = dir.filePath(QStringLiteral("редуктор.wav"));
    QFile f(wav);
    if (!f.open(QIODevice::WriteOnly) || f.write(reducerWav()) < 0)
        return 1;
    f.close();
    std::unique_ptr<TForm1> form(createWindows());
    form->show();
    const auto pair = [&](const char *z1, const QString &fr1, const char *z2) {
        form->Edit1->setText(QLatin1String(z1));
        if (!fr1.isEmpty())
            form->Edit2->setText(fr1);
        form->Edit3->setText(QLatin1String(z2));
        form->Edit4->setText(QStringLiteral("0"));
        form->SpeedButton1->click();
    };
    pair("13", QStringLiteral("22,5"), "35");
    form->SpeedButton31->click(); // "Далее >": pair 2 on the shaft pair 1 drives
    pair("8", {}, "42");
    MachineController *controller = form->findChild<MachineController *>();
    SpectrumView *view = controller->spectrumView();
    if (!view || !view->openFile(wav))
        return 1;
    QWidget *window = view->widget();
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return 1;
    auto *plot = window->findChild<QCustomPlot *>();
    // HTF's harmonics crowd the lowest hertz: their family is switched off.
    if (auto *htf = window->findChild<QCheckBox *>(QStringLiteral("family HTF")))
        htf->click();
    plot->xAxis->setRange(0, 420);
    plot->replot();
    window->findChild<QRadioButton *>(QStringLiteral("cursorHarmonic"))->click();
    click(plot, 22.5);
    window->findChild<QRadioButton *>(QStringLiteral("cursorSideband"))->click();
    click(plot, 292.5);
    click(plot, 270.0);
    window->findChild<QRadioButton *>(QStringLiteral("cursorNone"))->click();
    click(plot, 173.3);
    window->raise();
    window->activateWindow();
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
