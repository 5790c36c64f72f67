// The search window at its largest legal size: nine stored pairs with Fm,
// harmonics up to 50 by 0,5, sidebands up to 20 and the widest tolerance it
// takes (10 % of the peak), with and without the sidebands of every shaft
// and the mesh intermodulation. Timed from the search command to the list
// drawn, on the offscreen platform, with its target and verdict.
#include "nine_pair_reducer.h"
#include "timing.h"
#include "ui/machine/machine_controller.h"
#include "ui/machine/machine_search_window.h"
#include "ui/machine/match_table_model.h"
#include "ui/machine/train_model.h"
#include "ui/machine/train_window.h"
#include "ui/main/Unit1.h"
#include "ui/startup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <memory>

class BenchMachineSearch : public QObject {
    Q_OBJECT

private slots:
    void nine_pairs_search_and_draw_data();
    void nine_pairs_search_and_draw();
    void stages_and_bearings_table_refresh();
};

namespace {

// The reducer of bench_identify, stored pair by pair as "Далее >" chains it.
void storeNinePairs(TForm1 &form) {
    const std::vector<aggregate::GearPair> pairs = ninePairReducer();
    aggregate::AggregateState a;
    for (std::size_t k = 0; k < pairs.size(); ++k)
        a.storeSlot(static_cast<int>(k) + 1, pairs[k]);
    form.replaceAggregate(a, std::nullopt, false, false);
}

} // namespace

void BenchMachineSearch::nine_pairs_search_and_draw_data() {
    QTest::addColumn<QString>("peak");
    QTest::addColumn<QString>("tolerance"); // the widest the window takes
    QTest::addColumn<bool>("everyShaft");
    QTest::newRow("400 +- 40 Hz, the pairs' own shafts") << "400"
                                                         << "40" << false;
    QTest::newRow("400 +- 40 Hz, every shaft and Fz +- Fz") << "400"
                                                            << "40" << true;
    QTest::newRow("5000 +- 500 Hz, every shaft and Fz +- Fz (the most lines)") << "5000"
                                                                               << "500" << true;
}

void BenchMachineSearch::nine_pairs_search_and_draw() {
    QFETCH(QString, peak);
    QFETCH(QString, tolerance);
    QFETCH(bool, everyShaft);
    std::unique_ptr<TForm1> form(createWindows());
    storeNinePairs(*form);
    auto *window = form->findChild<MachineController *>()->searchWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->frequencyEdit->setText(peak);
    window->toleranceEdit->setText(tolerance);
    window->maxHarmonicBox->setValue(50);
    window->stepBox->setCurrentIndex(1);
    window->maxSidebandBox->setValue(20);
    window->allShaftsBox->setChecked(everyShaft);
    window->intermodulationBox->setChecked(everyShaft);
    const bench::Figures f = bench::timeRuns(15, [&] {
        window->search();
        window->resultView->grab();
    });
    qInfo("%d rows", window->model->rowCount());
    QVERIFY(window->model->rowCount() > 1000);
    bench::report(QTest::currentDataTag(), f, 20, 5);
}

// Five pairs, two planetary stages and two belts (nine stages) and twenty
// bearings, built through the controller as the train window builds them;
// a change of the unit rebuilds the train and every table, drawn.
void BenchMachineSearch::stages_and_bearings_table_refresh() {
    std::unique_ptr<TForm1> form(createWindows());
    std::vector<aggregate::GearPair> pairs = ninePairReducer();
    aggregate::AggregateState a;
    for (std::size_t k = 0; k < 5; ++k)
        a.storeSlot(static_cast<int>(k) + 1, pairs[k]);
    form->replaceAggregate(a, std::nullopt, false, false);
    auto *machine = form->findChild<MachineController *>();
    machine->showTable();
    TrainWindow *window = machine->trainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    using namespace machine;
    ExtraStage belt{StageKind::Belt, {}, {125, 250, 1800, 1}, 0};
    ExtraStage planetary{StageKind::Planetary, {21, 43, 108, 3, Member::Ring, Member::Sun}, {}, 0};
    QVERIFY(machine->addStage(1, belt));
    QVERIFY(machine->addStage(4, planetary));
    QVERIFY(machine->addStage(0, planetary));
    QVERIFY(machine->addStage(0, belt));
    Bearing b;
    b.designation = QStringLiteral("6205");
    b.geometry = {9, 7.94, 39.04, 0};
    for (int shaft = 1; shaft <= 8; ++shaft)
        for (int k = 0; k < 2; ++k)
            QVERIFY(machine->addBearing({shaft, -1, b}));
    for (int stage : {1, 2})
        for (int k = 0; k < 2; ++k)
            QVERIFY(machine->addBearing({0, stage, b}));
    QCOMPARE(window->stagesModel->rowCount(), 9);
    QCOMPARE(window->bearingsModel->rowCount(), 20);
    int run = 0;
    const bench::Figures f = bench::timeRuns(15, [&] {
        machine->setUnit({++run % 2 ? Unit::PerMinute : Unit::Hertz, 1});
        window->grab();
    });
    bench::report("9 stages, 20 bearings: the train window refreshed and drawn", f, 20);
}

QTEST_MAIN(BenchMachineSearch)
#include "bench_machine_search.moc"
