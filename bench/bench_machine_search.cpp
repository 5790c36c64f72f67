// The search window at its largest: nine stored pairs with Fm, harmonics up
// to 50 by 0,5, sidebands up to 20, and tolerances that let thousands of
// lines match. Timed from the search command to the list drawn, on the
// offscreen platform.
#include "nine_pair_reducer.h"
#include "ui/machine/machine_controller.h"
#include "ui/machine/machine_search_window.h"
#include "ui/machine/match_table_model.h"
#include "ui/main/Unit1.h"
#include "ui/startup.h"

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
    QTest::addColumn<QString>("tolerance");
    QTest::addColumn<int>("lines");
    QTest::newRow("400 +- 40 Hz") << QStringLiteral("40") << 2069;
    QTest::newRow("400 +- 200 Hz") << QStringLiteral("200") << 15414;
}

void BenchMachineSearch::nine_pairs_search_and_draw() {
    QFETCH(QString, tolerance);
    QFETCH(int, lines);
    std::unique_ptr<TForm1> form(createWindows());
    storeNinePairs(*form);
    auto *window = form->findChild<MachineController *>()->searchWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->frequencyEdit->setText(QStringLiteral("400"));
    window->toleranceEdit->setText(tolerance);
    window->maxHarmonicBox->setValue(50);
    window->stepBox->setCurrentIndex(1);
    window->maxSidebandBox->setValue(20);
    QBENCHMARK {
        window->search();
        window->resultView->grab();
    }
    QCOMPARE(window->model->rowCount(), lines);
}

QTEST_MAIN(BenchMachineSearch)
#include "bench_machine_search.moc"
