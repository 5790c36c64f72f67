// The spectrum window on the real main window, through its module: opened by
// its menu item and F11, a measurement opened (and a bad one refused with the
// old one kept), the peak table naming the mesh and its sidebands, a click on
// a peak listing its explanations, the harmonic and sideband cursors and the
// spacing sent to the machine search, the speed corrected from a peak, the
// families switched off, the exports, a dropped file and the settings kept.
#include "main_window_fixture.h"
#include "ui/machine/machine_search_window.h"
#include "ui/machine/match_table_model.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QWheelEvent>
#include <QtEndian>
#include <QtTest>
#include <qcustomplot.h>

#include <cmath>
#include <numbers>

using namespace uitest;

namespace {

// A gear mesh at `mesh` Hz whose amplitude follows a 25 Hz shaft, and the
// shaft itself: 16-bit PCM at 8192 samples per second, four seconds.
QByteArray meshWav(double mesh) {
    const int rate = 8192, n = 8192 * 4;
    QByteArray data;
    for (int j = 0; j < n; ++j) {
        const double t = double(j) / rate;
        const double v = 0.5 * (1 + 0.5 * std::cos(2 * std::numbers::pi * 25 * t)) *
                             std::sin(2 * std::numbers::pi * mesh * t) +
                         0.05 * std::sin(2 * std::numbers::pi * 25 * t);
        const auto s = qint16(std::lround(v * 32767));
        data.append(char(s & 0xff)).append(char((s >> 8) & 0xff));
    }
    QByteArray h("RIFF");
    const auto u32 = [&](quint32 v) { h.append(reinterpret_cast<const char *>(&v), 4); };
    const auto u16 = [&](quint16 v) { h.append(reinterpret_cast<const char *>(&v), 2); };
    u32(quint32(36 + data.size()));
    h.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    h.append("data");
    u32(quint32(data.size()));
    return h + data;
}

QString writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

} // namespace

class SpectrumWindowTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    QWidget *window = nullptr;
    SpectrumView *view = nullptr;

    template <class W> W *child(const char *name) const {
        W *w = window->findChild<W *>(QLatin1String(name));
        if (!w)
            qWarning("no %s", name);
        return w;
    }
    QCustomPlot *plot() const { return window->findChild<QCustomPlot *>(); }
    QAbstractItemModel *peaks() const { return child<QTableView>("peakView")->model(); }
    QAbstractItemModel *matches() const { return child<QTableView>("matchView")->model(); }
    QStringList column(QAbstractItemModel *m, int c) const {
        QStringList out;
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->index(r, c).data().toString();
        return out;
    }
    bool open(const QString &path) {
        bool ok = false;
        const auto seen = closeModalsDuring([&] { ok = view->openFile(path); });
        return ok && seen.isEmpty();
    }
    QString meshFile(double mesh = 1000.0) {
        return writeFile(fixture->workDir.filePath(QStringLiteral("mesh.wav")), meshWav(mesh));
    }
    void clickAtFrequency(double hertz) {
        QCustomPlot *p = plot();
        const QPoint at(int(std::lround(p->xAxis->coordToPixel(hertz))),
                        int(p->axisRect()->center().y()));
        QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, at);
    }
    // The mouse over the plot, no button pressed, as the window system sends it.
    static void hover(QWidget *w, QPoint at) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    void reopen() {
        form.reset(createWindows());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        machineController(form.get())->spectrumAction->trigger();
        window = form->findChild<QWidget *>(QStringLiteral("SpectrumWindow"));
        QVERIFY(window);
    }
    void zoomTo(double low, double high) {
        plot()->xAxis->setRange(low, high);
        plot()->replot();
    }

private slots:
    void init() {
        QVERIFY(startMainWindow());
        calculate("40", "25", "80"); // Fz 1000 Hz, Fr1 25 Hz, Fr2 12,5 Hz
        // F11 with the focus in an input field of the main window.
        QTest::keyClick(form->Edit1, Qt::Key_F11);
        window = form->findChild<QWidget *>(QStringLiteral("SpectrumWindow"));
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        view = machineController(form.get())->spectrumView();
        QVERIFY(view);
    }
    void cleanup() {
        window = nullptr;
        view = nullptr;
        stopMainWindow();
    }

    void menu_item_and_key_open_one_window() {
        QAction *item = machineController(form.get())->spectrumAction;
        QCOMPARE(item->text(), QStringLiteral("Спект&р…"));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::Key_F11));
        QCOMPARE(window->windowTitle(), QStringLiteral("Спектр"));
        QVERIFY(!window->isModal());
        // Within the screen, however low it is.
        const QRect screen = window->screen()->availableGeometry();
        QVERIFY2(window->frameGeometry().height() <= screen.height() &&
                     window->minimumSizeHint().height() <= screen.height() - 60,
                 qPrintable(QStringLiteral("%1 / %2 of %3")
                                .arg(window->frameGeometry().height())
                                .arg(window->minimumSizeHint().height())
                                .arg(screen.height())));
        window->hide();
        item->trigger();
        QVERIFY(window->isVisible());
        QCOMPARE(form->findChildren<QWidget *>(QStringLiteral("SpectrumWindow")).size(), 1);
        QCOMPARE(machineController(form.get())->spectrumView(), view);
        // The menu's keys work in the spectrum window too.
        QTest::keyClick(child<QPushButton>("openButton"), Qt::Key_F9);
        QVERIFY(machineController(form.get())->hasTrainWindow());
    }

    void waveform_gives_named_peaks() {
        QVERIFY(open(meshFile()));
        // 8192 lines of 16 384 samples at 8192 per second.
        QCOMPARE(child<QLabel>("resolutionLabel")->text(), QStringLiteral("Δf = 0,5 Гц"));
        QVERIFY(
            child<QLabel>("fileLabel")->text().startsWith(QStringLiteral("mesh.wav: WAV, 16 бит")));
        QCOMPARE(window->windowTitle(), QStringLiteral("Спектр — mesh.wav"));
        QAbstractItemModel *m = peaks();
        QCOMPARE(m->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Объяснение"));
        QVERIFY(m->rowCount() >= 4);
        QCOMPARE(m->index(0, 1).data().toString(), QStringLiteral("1000"));
        QCOMPARE(m->index(0, 3).data().toString(), QStringLiteral("Fz (пара 1)"));
        // Each explained by its simplest line first (equal lines follow it).
        QStringList firstFour;
        for (const QString &names : column(m, 3).mid(0, 4))
            firstFour << names.section(QStringLiteral(" = "), 0, 0);
        firstFour.sort();
        QCOMPARE(firstFour,
                 (QStringList{QStringLiteral("Fr (вал 1)"), QStringLiteral("Fz (пара 1)"),
                              QStringLiteral("Fz (пара 1) + Fr (вал 1)"),
                              QStringLiteral("Fz (пара 1) − Fr (вал 1)")}));
        // RMS of the mesh's sine: 0,5 of 16-bit full scale (32767 / 32768) over √2.
        QCOMPARE(m->index(0, 2).data().toString(), QStringLiteral("0,3535"));
    }

    void bad_file_is_refused_and_the_old_one_kept() {
        QVERIFY(open(meshFile()));
        const QString before = child<QLabel>("fileLabel")->text();
        const int rows = peaks()->rowCount();
        const QString bad =
            writeFile(fixture->workDir.filePath(QStringLiteral("плохой.txt")), "f;A\n1;2\n2;x\n");
        bool ok = true;
        const auto seen = closeModalsDuring([&] { ok = view->openFile(bad); });
        QVERIFY(!ok);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].texts.join(' '),
                 QStringLiteral("Файл «плохой.txt», строка 3: «2;x» — не числа данных."));
        QCOMPARE(child<QLabel>("fileLabel")->text(), before);
        QCOMPARE(peaks()->rowCount(), rows);
    }

    void click_on_a_peak_lists_its_explanations() {
        QVERIFY(open(meshFile()));
        zoomTo(900, 1100);
        clickAtFrequency(1024.0); // beside the upper sideband: snaps to it
        QCOMPARE(child<QTabWidget>("tabs")->currentIndex(), 0); // the table lists it
        QVERIFY(child<QLabel>("pickedLabel")->text().startsWith(QStringLiteral("Пик 1025 Гц")));
        QCOMPARE(matches()->index(0, 0).data().toString().section(QStringLiteral(" = "), 0, 0),
                 QStringLiteral("Fz (пара 1) + Fr (вал 1)"));
        // The same columns and ranking as the machine search.
        QCOMPARE(matches()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Значение, Гц"));
        // Equal lines share the row, as in the machine search.
        QCOMPARE(column(matches(), 0).first(),
                 QStringLiteral("Fz (пара 1) + Fr (вал 1) = Fz (пара 1) + 2·Fr (вал 2)"));
        QCOMPARE(child<QTableView>("peakView")->currentIndex().row() >= 0, true);
    }

    void cursors_mark_harmonics_and_sidebands() {
        QVERIFY(open(meshFile()));
        child<QRadioButton>("cursorHarmonic")->click();
        zoomTo(0, 200);
        clickAtFrequency(25.0);
        QCOMPARE(child<QLabel>("cursorLabel")->text(), QStringLiteral("Гармоники 25 Гц"));
        child<QRadioButton>("cursorSideband")->click();
        zoomTo(900, 1100);
        clickAtFrequency(1000.0);
        QVERIFY(!child<QPushButton>("spacingButton")->isEnabled());
        clickAtFrequency(975.5);
        // Both cursors stay: the harmonics of 25 Hz and the sidebands of 1000 Hz.
        QCOMPARE(child<QLabel>("cursorLabel")->text(),
                 QStringLiteral("Гармоники 25 Гц; центр 1000 Гц, расстояние 25 Гц"));
        // The spacing goes into the machine search's spacing mode, searched.
        QPushButton *send = child<QPushButton>("spacingButton");
        QVERIFY(send->isEnabled());
        const auto seen = closeModalsDuring([&] { send->click(); });
        QVERIFY2(seen.isEmpty(), describe(seen));
        auto *search = form->findChild<MachineSearchWindow *>();
        QVERIFY(search && search->isVisible());
        QVERIFY(search->spacingMode->isChecked());
        QCOMPARE(search->frequencyEdit->text(), QStringLiteral("25"));
        QVERIFY(search->model->rowCount() > 0);
        QCOMPARE(search->model->index(0, 0).data().toString().section(QStringLiteral(" = "), 0, 0),
                 QStringLiteral("Fr (вал 1)"));
        child<QPushButton>("clearCursorsButton")->click();
        QCOMPARE(child<QLabel>("cursorLabel")->text(), QString());
        QVERIFY(!send->isEnabled());
    }

    void spectrum_in_orders_follows_its_shaft() {
        // Orders of shaft 1: the mesh of the 40-tooth wheel at order 40.
        QByteArray text("Порядок;Амплитуда\n");
        for (int k = 1; k <= 600; ++k)
            text += QByteArray::number(k / 10.0) + ";" + (k == 400 ? "1" : "0.01") + "\n";
        child<QComboBox>("textUnitBox")->setCurrentIndex(2);
        QVERIFY(open(writeFile(fixture->workDir.filePath(QStringLiteral("orders.txt")), text)));
        const auto top = [&] {
            return std::pair(peaks()->index(0, 1).data().toString(),
                             peaks()->index(0, 3).data().toString());
        };
        QCOMPARE(top().first, QStringLiteral("1000"));
        QVERIFY2(top().second.startsWith(QStringLiteral("Fz (пара 1)")), qPrintable(top().second));
        // The speed corrected to 30 Hz: the mesh is still order 40, now 1200 Hz.
        machineController(form.get())->setKnownSpeed({1, QStringLiteral("30"), {}});
        QCOMPARE(top().first, QStringLiteral("1200"));
        QVERIFY2(top().second.startsWith(QStringLiteral("Fz (пара 1)")), qPrintable(top().second));
    }

    void speed_follows_a_peak_named_by_the_user() {
        // The nameplate says 25 Hz, but the mesh sits at 1010 Hz: 25,25 Hz.
        QVERIFY(open(meshFile(1010.0)));
        child<QLineEdit>("toleranceEdit")->setText(QStringLiteral("2"));
        child<QComboBox>("toleranceUnitBox")->setCurrentIndex(1); // %
        zoomTo(900, 1100);
        clickAtFrequency(1010.0);
        QTableView *list = child<QTableView>("matchView");
        // Nearer lines come first (Fz + 1·Fr2 at 1012,5 Hz); the user knows it is the mesh.
        const int row = int(column(list->model(), 0).indexOf(QStringLiteral("Fz (пара 1)")));
        QVERIFY(row > 0);
        list->selectRow(row);
        QPushButton *speed = child<QPushButton>("speedButton");
        QVERIFY(speed->isEnabled());
        const auto seen = closeModalsDuring([&] { speed->click(); }, pressButton("acceptButton"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, QStringLiteral("speedConfirm"));
        QVERIFY2(seen[0].texts.join(' ').contains(QStringLiteral("25 → 25,25 Гц (+1 %)")),
                 qPrintable(seen[0].texts.join(' ')));
        const machine::MachineDocument &doc = machineController(form.get())->document();
        QCOMPARE(doc.known, (machine::ReferenceSpeed{1, "25,25", machine::SpeedUnit::Hertz}));
        // The overlay follows: the mesh now sits on the peak.
        QCOMPARE(peaks()->index(0, 3).data().toString(), QStringLiteral("Fz (пара 1)"));
        QCOMPARE(peaks()->index(0, 4).data().toString(), QStringLiteral("0"));
    }

    void families_come_from_the_list_and_switch_off() {
        QVERIFY(open(meshFile()));
        QStringList names;
        for (QCheckBox *b : child<QWidget>("familiesGroup")->findChildren<QCheckBox *>())
            names << b->text();
        QCOMPARE(names, (QStringList{"Валы", "Fz", "Боковые Fz", "APF", "HTF"}));
        zoomTo(900, 1100);
        QCustomPlot *p = plot();
        const QPoint at(int(std::lround(p->xAxis->coordToPixel(1025.0))),
                        p->axisRect()->center().y());
        hover(p, at);
        // One of the two equal lines there: by shaft 1 or twice by shaft 2.
        const QString readout = child<QLabel>("readoutLabel")->text();
        QVERIFY2(readout.contains(QStringLiteral("Fz (пара 1) + Fr (вал 1)")) ||
                     readout.contains(QStringLiteral("Fz (пара 1) + 2·Fr (вал 2)")),
                 qPrintable(readout));
        window->findChild<QCheckBox *>(QStringLiteral("family Боковые Fz"))->click();
        hover(p, at + QPoint(1, 0));
        QVERIFY2(child<QLabel>("readoutLabel")
                     ->text()
                     .contains(QStringLiteral("ближайшая линия: Fz (пара 1)")),
                 qPrintable(child<QLabel>("readoutLabel")->text()));
    }

    void exports_table_and_pictures() {
        QVERIFY(open(meshFile()));
        const QString csv = fixture->workDir.filePath(QStringLiteral("пики.csv"));
        auto *exportTable = child<QPushButton>("exportTableButton");
        auto seen = closeModalsDuring([&] { exportTable->click(); }, choosing(csv));
        QCOMPARE(seen.size(), 1);
        const QByteArray bytes = fileBytes(csv);
        QVERIFY(bytes.startsWith(
            "\xEF\xBB\xBF№;\"Частота, Гц\";Амплитуда;Объяснение;\"Отклонение, Гц\"\r\n"));
        QVERIFY(bytes.contains(QStringLiteral(";Fz (пара 1);").toUtf8()));
        // The other convention of the train export, chosen in the dialog.
        const QString international = fixture->workDir.filePath(QStringLiteral("peaks.csv"));
        seen = closeModalsDuring([&] { exportTable->click(); },
                                 [&](QWidget *modal) {
                                     auto *dialog = qobject_cast<QFileDialog *>(modal);
                                     QVERIFY(dialog);
                                     dialog->selectNameFilter(dialog->nameFilters().value(1));
                                     choosing(international)(modal);
                                 });
        QCOMPARE(seen.size(), 1);
        QVERIFY(fileBytes(international)
                    .startsWith("\xEF\xBB\xBF№,\"Частота, Гц\",Амплитуда,Объяснение,"));
        const std::pair<const char *, QByteArray> pictures[] = {
            {"рисунок.png", "\x89PNG"}, {"рисунок.svg", "<?xml"}, {"рисунок.pdf", "%PDF"}};
        for (const auto &[name, magic] : pictures) {
            const QString path = fixture->workDir.filePath(QString::fromUtf8(name));
            seen = closeModalsDuring([&] { child<QPushButton>("exportPictureButton")->click(); },
                                     choosing(path));
            QCOMPARE(seen.size(), 1);
            QVERIFY2(fileBytes(path).startsWith(magic), name);
        }
        QVERIFY(
            fileBytes(fixture->workDir.filePath(QStringLiteral("рисунок.svg"))).contains("1000"));
    }

    void dropped_file_opens() {
        const QString path = meshFile();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        const auto seen = closeModalsDuring([&] { QApplication::sendEvent(window, &drop); });
        QVERIFY2(seen.isEmpty(), describe(seen));
        QCOMPARE(window->windowTitle(), QStringLiteral("Спектр — mesh.wav"));
    }

    void keys_zoom_and_pan_and_the_axes_follow_the_machines_unit() {
        QVERIFY(open(meshFile()));
        QCustomPlot *p = plot();
        QCOMPARE(p->xAxis->range().upper, 4096.0); // half the sampling rate
        p->setFocus();
        QTest::keyClick(p, Qt::Key_Plus);
        QCOMPARE(p->xAxis->range().size(), 2048.0);
        QTest::keyClick(p, Qt::Key_Right);
        QCOMPARE(p->xAxis->range().lower, 1024.0 + 204.8);
        QTest::keyClick(p, Qt::Key_Minus);
        QCOMPARE(p->xAxis->range().size(), 4096.0);
        QTest::keyClick(p, Qt::Key_Home);
        QCOMPARE(p->xAxis->range(), QCPRange(0.0, 4096.0));
        // The wheel zooms the frequency axis around the mouse.
        const QPoint at(int(p->xAxis->coordToPixel(1000.0)), p->axisRect()->center().y());
        QWheelEvent wheel(at, p->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(p, &wheel);
        QVERIFY(p->xAxis->range().size() < 4096.0);
        QVERIFY(p->xAxis->range().contains(1000.0));
        QCOMPARE(p->yAxis->scaleType(), QCPAxis::stLogarithmic);
        child<QCheckBox>("logBox")->click();
        QCOMPARE(p->yAxis->scaleType(), QCPAxis::stLinear);
        // The machine's unit: об/мин and CPM, the frequencies 60 times larger.
        machineController(form.get())->setUnit({machine::Unit::PerMinute, 1});
        QCOMPARE(p->xAxis->label(), QStringLiteral("Частота, CPM"));
        QCOMPARE(p->xAxis->range().upper, 4096.0 * 60);
        QCOMPARE(peaks()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Частота, CPM"));
        QCOMPARE(peaks()->index(0, 1).data().toString(), QStringLiteral("60000"));
    }

    void machine_file_refers_to_the_last_measurement() {
        QDir(fixture->workDir.path()).mkdir(QStringLiteral("замеры"));
        const QString wav = writeFile(fixture->workDir.filePath(QStringLiteral("замеры/mesh.wav")),
                                      meshWav(1000.0));
        QVERIFY(open(wav));
        MachineController *machine = machineController(form.get());
        QVERIFY(machine->modified());
        const QString file = fixture->workDir.filePath(QStringLiteral("редуктор.json"));
        QVERIFY(machine->saveTo(file));
        QVERIFY(fileBytes(file).contains(
            QStringLiteral("\"measurement\": \"замеры/mesh.wav\"").toUtf8()));
        // The next run opens the machine file, and the spectrum window its measurement.
        reopen();
        machine = machineController(form.get());
        const auto seen = closeModalsDuring([&] { QVERIFY(machine->openFile(file)); });
        QVERIFY2(seen.isEmpty(), describe(seen));
        QCOMPARE(window->windowTitle(), QStringLiteral("Спектр — mesh.wav"));
        QVERIFY(!machine->modified());
    }

    void settings_are_kept_for_the_next_run() {
        child<QComboBox>("windowBox")->setCurrentIndex(1); // flat-top
        child<QCheckBox>("labelsBox")->setChecked(true);
        window->hide();
        // The next run of the program, with the same user folders.
        reopen();
        QCOMPARE(child<QComboBox>("windowBox")->currentIndex(), 1);
        QVERIFY(child<QCheckBox>("labelsBox")->isChecked());
        // A damaged file falls back to the defaults.
        form.reset();
        const QString file = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                             QStringLiteral("/spectrum.json");
        QVERIFY(fileBytes(file).contains("\"window\": 1"));
        writeFile(file, "{\"window\": 77, \"lines\": \"many\"}");
        reopen();
        QCOMPARE(child<QComboBox>("windowBox")->currentIndex(), 0);
        QCOMPARE(child<QComboBox>("linesBox")->currentText(), QStringLiteral("8192"));
    }
};

QTEST_MAIN(SpectrumWindowTest)
#include "tst_spectrum_window.moc"
