// A machine built in the train window as a user builds it: a planetary
// stage behind a calculated pair through its dialog, a bearing on a shaft
// kept in the user's library and one on the planets taken from it, the
// stage moved and removed, and the machine saved and opened again. The
// numbers are checked against the Willis relation and the bearing formula
// worked out here, not against the program.
#include "machine/components_file.h"
#include "machine/stages.h"
#include "main_window_fixture.h"
#include "ui/machine/component_dialogs.h"
#include "ui/machine/machine_controller.h"
#include "ui/machine/train_model.h"
#include "ui/machine/train_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QtTest>

#include <cmath>

using namespace uitest;

namespace {
double number(const QString &text) {
    return QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}
QString cellText(TrainTableModel *m, int row, int column) {
    return m->index(row, column).data().toString();
}
// Presses OK of a dialog that the test filled in.
void ok(QDialog *dialog) {
    auto *buttons = dialog->findChild<QDialogButtonBox *>();
    QPushButton *button = buttons->button(QDialogButtonBox::Ok);
    QVERIFY2(button->isEnabled(), "OK is off");
    button->click();
}
} // namespace

class MachineStagesWindowTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startWithMachine()); }
    void cleanup() { stopMainWindow(); }

    void planetary_stage_and_two_bearings_built_in_the_window() {
        // Pair 1: 10/20 at 50 Hz, shaft 2 at 25 Hz drives the sun.
        calculate("10", "50", "20");
        machine->tableAction->trigger();
        TrainWindow *w = machine->trainWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        // The pair's row is changed in the main window only.
        w->stagesView->setCurrentIndex(w->stagesModel->index(0, 0));
        QVERIFY(!w->editStageButton->isEnabled() && !w->removeStageButton->isEnabled());
        w->stagesView->clearSelection();
        w->stagesView->setCurrentIndex({});

        // Published stage: Zs 21, Zp 43, Zr 108, N 3, ring fixed, sun in.
        auto seen = closeModalsDuring(
            [&] { w->planetaryButton->click(); },
            [](QWidget *modal) {
                auto *d = qobject_cast<PlanetaryDialog *>(modal);
                QVERIFY(d);
                QCOMPARE(d->placeBox->currentData().toInt(), 2); // after the last shaft
                d->sunBox->setValue(21);
                d->planetBox->setValue(43);
                d->ringBox->setValue(108);
                d->planetsBox->setValue(3);
                QVERIFY(d->verdictLabel->text().contains(QStringLiteral("6,14286")));
                // The ring both fixed and driven: refused with the reason.
                d->inputBox->setCurrentIndex(d->inputBox->findData(int(machine::Member::Ring)));
                QVERIFY(!d->buttons->button(QDialogButtonBox::Ok)->isEnabled());
                QCOMPARE(d->verdictLabel->text(), machine::planetaryProblem(d->stage()));
                d->inputBox->setCurrentIndex(d->inputBox->findData(int(machine::Member::Sun)));
                ok(d);
            });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(w->stagesModel->rowCount(), 2);
        QCOMPARE(machine->document().extraStages.size(), std::size_t(1));

        // Willis with the ring fixed: fc = fs·Zs/(Zs + Zr); Fz = Zs·(fs − fc).
        const double fs = 25, fc = fs * 21 / (21 + 108), mesh = 21 * (fs - fc);
        TrainTableModel *p = w->planetaryModel;
        QCOMPARE(p->columnCount(), 2);
        const struct {
            int row;
            double value;
        } expected[] = {{machine::RowSun, fs},
                        {machine::RowCarrier, fc},
                        {machine::RowPlanetaryMesh, mesh},
                        {machine::RowSunFault, 3 * (fs - fc)},
                        {machine::RowRingFault, 3 * fc},
                        {machine::RowPlanetFault, mesh / 43},
                        {machine::RowPlanetFaultBoth, 2 * mesh / 43},
                        {machine::RowPlanetPass, 3 * fc}};
        for (const auto &e : expected) {
            const double shown = number(cellText(p, e.row, 1));
            QVERIFY2(std::fabs(shown - e.value) <= 1e-9 * e.value,
                     qPrintable(cellText(p, e.row, 0) + ": " + cellText(p, e.row, 1)));
        }
        // The carrier drives shaft 3.
        QCOMPARE(number(cellText(w->shaftsModel, 2, machine::ColShaftFrequency)), fc);

        // A 6205 on shaft 2 by its geometry, kept in the library.
        seen =
            closeModalsDuring([&] { w->addBearingButton->click(); },
                              [](QWidget *modal) {
                                  auto *d = qobject_cast<BearingDialog *>(modal);
                                  QVERIFY(d);
                                  QCOMPARE(d->placeBox->count(), 4); // three shafts and the planets
                                  d->placeBox->setCurrentIndex(1);
                                  d->designationEdit->setText(QStringLiteral("6205"));
                                  d->elementsEdit->setText(QStringLiteral("9"));
                                  d->elementDiameterEdit->setText(QStringLiteral("7,94"));
                                  d->pitchDiameterEdit->setText(QStringLiteral("39,04"));
                                  d->libraryCheck->setChecked(true);
                                  ok(d);
                              });
        QCOMPARE(seen.size(), 1);
        const machine::BearingLibraryRead library =
            machine::readBearingLibrary(machine::bearingLibraryPath(
                QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
        QVERIFY2(library.error.isEmpty(), qPrintable(library.error));
        QCOMPARE(library.bearings.size(), std::size_t(1));

        // The same bearing from the library on the planets.
        seen = closeModalsDuring(
            [&] { w->addBearingButton->click(); },
            [](QWidget *modal) {
                auto *d = qobject_cast<BearingDialog *>(modal);
                QVERIFY(d);
                QCOMPARE(d->libraryBox->count(), 2);
                d->libraryBox->setCurrentIndex(1);
                emit d->libraryBox->activated(1);
                QCOMPARE(d->pitchDiameterEdit->text(), QStringLiteral("39,04"));
                d->placeBox->setCurrentIndex(3);
                QCOMPARE(d->placeBox->currentText(), QStringLiteral("сателлиты планетарной 1"));
                ok(d);
            });
        QCOMPARE(seen.size(), 1);
        TrainTableModel *b = w->bearingsModel;
        QCOMPARE(b->rowCount(), 2);
        const double g = 7.94 / 39.04;
        // Shaft 2 at 25 Hz; the planets relative to their carrier at (fs − fc)·Zs/Zp.
        const double planets = (fs - fc) * 21 / 43;
        QVERIFY(std::fabs(number(cellText(b, 0, machine::ColBpfo)) - 4.5 * (1 - g) * fs) < 1e-9);
        QVERIFY(std::fabs(number(cellText(b, 1, machine::ColBpfi)) - 4.5 * (1 + g) * planets) <
                1e-9);

        // Saved and opened again, the machine is the same.
        const QString file = QDir::current().filePath(QStringLiteral("gearbox.gearfreq"));
        QVERIFY(machine->saveTo(file));
        const machine::MachineDocument before = machine->document();
        QVERIFY(machine->openFile(file));
        QCOMPARE(machine->document().extraStages, before.extraStages);
        QCOMPARE(machine->document().bearings, before.bearings);

        // Moved before the pair, the stage takes shaft 1; the shaft's bearing stays.
        w->stagesView->setCurrentIndex(w->stagesModel->index(1, 0));
        QVERIFY(w->upButton->isEnabled() && !w->downButton->isEnabled());
        w->upButton->click();
        QCOMPARE(w->stagesView->currentIndex().row(), 0);
        QCOMPARE(machine->document().extraStages[0].afterPairs, 0);
        QCOMPARE(machine->document().bearings[0].shaft, 2);
        // Removed, it takes its planets' bearing along.
        w->removeStageButton->click();
        QCOMPARE(w->stagesModel->rowCount(), 1);
        QCOMPARE(b->rowCount(), 1);
        QCOMPARE(w->planetaryModel->rowCount(), 0);
    }
};

QTEST_MAIN(MachineStagesWindowTest)
#include "tst_machine_stages_window.moc"
