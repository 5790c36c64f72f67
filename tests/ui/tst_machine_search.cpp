// The machine-wide search window on the real main window: the list's texts
// as the user reads them, the refusal of bad input (a message, nothing else
// changes), the modes and units, and the move to the pair of a chosen line.
#include "main_window_fixture.h"
#include "ui/machine/machine_controller.h"
#include "ui/machine/machine_search_window.h"
#include "ui/machine/match_table_model.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace uitest;

namespace {

struct Inputs {
    QString frequency;
    QString tolerance;
    int unit = 0; // Гц, об/мин (CPM), порядки
    int shaft = 1;
    int toleranceUnit = 0; // the peak's unit, %, lines of the spectrum
    int maxHarmonic = 10;
    int step = 0; // 1, 0,5
    int maxSideband = 3;
    bool spacing = false;
};

} // namespace

Q_DECLARE_METATYPE(Inputs)

class MachineSearchTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    MachineSearchWindow *window = nullptr;

    // Pair 1 17 / 51 at 24 Hz (stored), pair 2 13 / 32 on its 8 Hz shaft
    // (calculated, in the fields, not stored yet).
    void twoPairs() {
        calculate("17", "24", "51");
        form->SpeedButton31->click();
        QCOMPARE(form->Edit2->text(), QStringLiteral("8"));
        calculate("13", "8", "32");
    }
    void set(const Inputs &in) {
        (in.spacing ? window->spacingMode : window->peakMode)->setChecked(true);
        window->frequencyEdit->setText(in.frequency);
        window->toleranceEdit->setText(in.tolerance);
        window->unitBox->setCurrentIndex(in.unit);
        window->ordersShaftBox->setCurrentIndex(in.shaft - 1);
        window->toleranceUnitBox->setCurrentIndex(in.toleranceUnit);
        window->maxHarmonicBox->setValue(in.maxHarmonic);
        window->stepBox->setCurrentIndex(in.step);
        window->maxSidebandBox->setValue(in.maxSideband);
    }
    // Runs the search as the user does, with Enter in the frequency field.
    void search(const Inputs &in) {
        set(in);
        const auto seen =
            closeModalsDuring([&] { QTest::keyClick(window->frequencyEdit, Qt::Key_Return); });
        QVERIFY2(seen.isEmpty(), describe(seen));
    }
    QString text(int row, int column) const {
        return window->model->index(row, column).data().toString();
    }
    QStringList column(int c) const {
        QStringList out;
        for (int r = 0; r < window->model->rowCount(); ++r)
            out << text(r, c);
        return out;
    }
    QStringList headings() const {
        QStringList out;
        for (int c = 0; c < window->model->columnCount(); ++c)
            out << window->model->headerData(c, Qt::Horizontal).toString();
        return out;
    }
    QStringList mainInputs() const {
        return {form->Edit1->text(), form->Edit2->text(),   form->Edit3->text(),
                form->Edit4->text(), form->Label45->text(), form->Edit6->text()};
    }
    void choose(int row) {
        window->resultView->setCurrentIndex(window->model->index(row, 0));
        const auto seen =
            closeModalsDuring([&] { QTest::keyClick(window->resultView, Qt::Key_Return); });
        QVERIFY2(seen.isEmpty(), describe(seen));
    }
    bool messageIsError() const {
        return window->messageLabel->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
    }

private slots:
    void init() {
        QVERIFY(startMainWindow());
        // F7 with the focus in an input field of the main window.
        QTest::keyClick(form->Edit1, Qt::Key_F7);
        window = form->findChild<MachineSearchWindow *>();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() {
        window = nullptr;
        stopMainWindow();
    }

    void window_is_a_sizeable_non_modal_window() {
        QCOMPARE(window->windowTitle(), QStringLiteral("Поиск по агрегату"));
        QVERIFY(!window->isModal());
        QVERIFY(window->isWindow());
        QCOMPARE(window->maxHarmonicBox->value(), 10);
        QCOMPARE(window->maxHarmonicBox->maximum(), 50);
        QCOMPARE(window->maxSidebandBox->value(), 3);
        QCOMPARE(window->maxSidebandBox->maximum(), 20);
        QCOMPARE(window->stepBox->currentText(), QStringLiteral("1"));
        QVERIFY(window->minimumSize() != window->maximumSize());
    }

    void menu_item_follows_the_train_table_and_opens_one_window() {
        const QMenu *menu = machineController(form.get())->menu;
        const QList<QAction *> items = menu->actions();
        const auto table = items.indexOf(machineController(form.get())->tableAction);
        QAction *item = items.value(table + 1);
        QCOMPARE(item->text(), QStringLiteral("&Поиск по агрегату"));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::Key_F7));
        QCOMPARE(form->findChildren<MachineSearchWindow *>().size(), 1);
        window->hide();
        item->trigger();
        QVERIFY(window->isVisible());
        QCOMPARE(form->findChildren<MachineSearchWindow *>().size(), 1);
        QCOMPARE(window->focusWidget(), window->frequencyEdit);
        // The menu's keys work in the search window too.
        QTest::keyClick(window->frequencyEdit, Qt::Key_F9);
        QVERIFY(machineController(form.get())->hasTrainWindow());
    }

    void list_shows_the_ranked_lines_data() {
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<QStringList>("headings");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("firstRow");
        const QStringList hz{"Составляющая", "Значение, Гц", "Отклонение, Гц", "Отклонение, %"};
        const QString equal80 = "APF (пара 1) = 0,5·Fz (пара 1) = 4·Fr (вал 1) = 21·Fr (вал 2)";
        QTest::newRow("80 Hz to harmonic 21 by 0,5: four equal lines in one row")
            << Inputs{"80", "0,01", 0, 1, 0, 21, 1} << hz << QStringList{equal80}
            << QStringList{equal80, "80", "0", "0"};
        QTest::newRow("148,5714 Hz: the mesh minus three times the output shaft")
            << Inputs{"148,5714", "0,01"} << hz << QStringList{"Fz (пара 1) − 3·Fr (вал 2)"}
            << QStringList{"Fz (пара 1) − 3·Fr (вал 2)", "148,571428571429", "+2,857E-5",
                           "+1,923E-5"};
        QTest::newRow("in об/мин with a tolerance of 1,5 %")
            << Inputs{"4860", "1,5", 1, 1, 1}
            << QStringList{"Составляющая", "Значение, об/мин", "Отклонение, об/мин",
                           "Отклонение, %"}
            << QStringList{"APF (пара 1) = 4·Fr (вал 1)"}
            << QStringList{"APF (пара 1) = 4·Fr (вал 1)", "4800", "-60", "-1,235"};
        QTest::newRow("in orders of shaft 2, the tolerance in orders")
            << Inputs{"21", "0,01", 2, 2, 0, 21}
            << QStringList{"Составляющая", "Значение, порядки вала 2", "Отклонение, порядки вала 2",
                           "Отклонение, %"}
            << QStringList{"APF (пара 1) = 4·Fr (вал 1) = 21·Fr (вал 2)"}
            << QStringList{"APF (пара 1) = 4·Fr (вал 1) = 21·Fr (вал 2)", "21", "0", "0"};
        QTest::newRow("spacing 3,81: the output shaft")
            << Inputs{"3,81", "0,01", 0, 1, 0, 10, 0, 3, true} << hz << QStringList{"Fr (вал 2)"}
            << QStringList{"Fr (вал 2)", "3,80952380952381", "-0,0004762", "-0,0125"};
    }

    void list_shows_the_ranked_lines() {
        QFETCH(Inputs, inputs);
        QFETCH(QStringList, headings);
        QFETCH(QStringList, names);
        QFETCH(QStringList, firstRow);
        calculate("8", "20", "42");
        search(inputs);
        QCOMPARE(this->headings(), headings);
        QCOMPARE(column(0), names);
        QStringList first;
        for (int c = 0; c < 4; ++c)
            first << text(0, c);
        QCOMPARE(first, firstRow);
        QVERIFY(!messageIsError());
        QCOMPARE(window->messageLabel->text(),
                 QStringLiteral("Найдено строк: %1, лучшие сверху.").arg(names.size()));
    }

    void bad_input_gives_a_message_and_changes_nothing_data() {
        QTest::addColumn<bool>("calculated");
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<QString>("message");
        QTest::newRow("no calculated pair")
            << false << Inputs{"80", "1"}
            << "В агрегате нет рассчитанной пары. Рассчитайте пару (F1) и повторите поиск.";
        QTest::newRow("empty frequency") << true << Inputs{"", "1"} << "Введите частоту.";
        QTest::newRow("empty spacing") << true << Inputs{"", "1", 0, 1, 0, 10, 0, 3, true}
                                       << "Введите расстояние между пиками.";
        QTest::newRow("not a number")
            << true << Inputs{"80 Гц", "1"} << "Частота «80 Гц» — не число.";
        QTest::newRow("zero frequency")
            << true << Inputs{"0", "1"} << "Частота должна быть больше нуля.";
        QTest::newRow("empty tolerance") << true << Inputs{"80", ""} << "Введите допуск.";
        QTest::newRow("negative tolerance")
            << true << Inputs{"80", "-0,5"} << "Допуск не может быть отрицательным.";
        QTest::newRow("negative tolerance with a point")
            << true << Inputs{"80", "-0.5"} << "Допуск не может быть отрицательным.";
        QTest::newRow("a tolerance wider than a tenth of the peak")
            << true << Inputs{"80", "9"}
            << "Допуск — не больше 10 % от частоты пика: шире не объяснить ни одного пика.";
    }

    // A refused search says why, leaves the main window alone and takes the
    // list of earlier inputs away: it would answer another question.
    void bad_input_gives_a_message_and_changes_nothing() {
        QFETCH(bool, calculated);
        QFETCH(Inputs, inputs);
        QFETCH(QString, message);
        if (calculated) {
            calculate("8", "20", "42");
            search(Inputs{"80", "0,01"});
            QCOMPARE(window->model->rowCount(), 1);
        }
        const QStringList headingsBefore = headings();
        const QStringList mainBefore = mainInputs();
        search(inputs);
        QCOMPARE(window->messageLabel->text(), message);
        QVERIFY(messageIsError());
        QCOMPARE(column(0), QStringList());
        QCOMPARE(headings(), headingsBefore);
        QCOMPARE(mainInputs(), mainBefore);
    }

    void spacing_mode_leaves_out_harmonic_and_sideband_limits() {
        QVERIFY(window->maxHarmonicBox->isEnabled());
        QCOMPARE(window->frequencyLabel->text(), QStringLiteral("&Частота пика"));
        window->spacingMode->click();
        QVERIFY(!window->maxHarmonicBox->isEnabled());
        QVERIFY(!window->maxSidebandBox->isEnabled());
        QCOMPARE(window->frequencyLabel->text(), QStringLiteral("Расстояние &между пиками"));
        QVERIFY(!window->ordersShaftBox->isEnabled());
        window->unitBox->setCurrentIndex(2);
        QVERIFY(window->ordersShaftBox->isEnabled());
        // Only the shafts the machine has: none calculated yet, so one.
        QCOMPARE(window->ordersShaftBox->count(), 1);
        calculate("8", "20", "42");
        QCOMPARE(window->ordersShaftBox->count(), 2);
    }

    // A line of another pair: that pair, as its pair item brings it.
    void choosing_a_line_brings_its_pair_calculated() {
        twoPairs();
        search(Inputs{"24", "0,01"});
        QCOMPARE(column(0), (QStringList{"Fr (вал 1) = APF (пара 1) = 3·Fr (вал 2) = "
                                         "3·HTF (пара 1)"}));
        choose(0);
        // As "1 - пара" does: pair 2, calculated and not yet stored, is kept first.
        QCOMPARE(mainInputs(), (QStringList{"17", "24", "51", "0", "1", "408"}));
        QVERIFY(form->pairItems[1]->isVisible());
        QCOMPARE(form->aggregateState().PairStore.load(2),
                 (aggregate::GearPair{"13", "8", "32", "0"}));
        QCOMPARE(window->messageLabel->text(),
                 QStringLiteral("Пара 1 — в главном окне; строки для Fr (вал 1) там нет."));
    }

    // A sideband of a pair by its own shaft: also in its modulation row.
    void choosing_a_sideband_shows_it_in_its_row_data() {
        QTest::addColumn<QString>("peak");
        QTest::addColumn<QString>("k1Edit");
        QTest::addColumn<QString>("k2Edit");
        QTest::addColumn<QString>("k1");
        QTest::addColumn<QString>("k2");
        QTest::addColumn<QString>("resultEdit");
        // Pair 2 is 13 / 32 on the 8 Hz shaft: Fz 104, Fr2 3,25.
        QTest::newRow("Fz minus its input: the row Fz - Fr1") << "96"
                                                              << "Edit7"
                                                              << "Edit12"
                                                              << "1"
                                                              << "1"
                                                              << "Edit13";
        QTest::newRow("twice Fz plus three outputs: the row Fz + Fr2") << "217,75"
                                                                       << "Edit14"
                                                                       << "Edit15"
                                                                       << "2"
                                                                       << "3"
                                                                       << "Edit28";
    }
    void choosing_a_sideband_shows_it_in_its_row() {
        QFETCH(QString, peak);
        QFETCH(QString, k1Edit);
        QFETCH(QString, k2Edit);
        QFETCH(QString, resultEdit);
        twoPairs();
        search(Inputs{peak, "0,001"});
        choose(0);
        QTEST(uitest::text(form.get(), qPrintable(k1Edit)), "k1");
        QTEST(uitest::text(form.get(), qPrintable(k2Edit)), "k2");
        QCOMPARE(uitest::text(form.get(), qPrintable(resultEdit)), peak);
        QCOMPARE(form->Label45->text(), QStringLiteral("2"));
        QVERIFY(window->messageLabel->text().contains(QStringLiteral("в строке модуляционных")));
    }

    void choosing_the_newest_pair_calculates_it_in_place() {
        twoPairs();
        search(Inputs{"104", "0,01"});
        QCOMPARE(column(0), (QStringList{"Fz (пара 2) = APF (пара 2)"}));
        form->Edit6->clear();
        choose(0);
        QCOMPARE(mainInputs(), (QStringList{"13", "8", "32", "0", "2", "104"}));
        QVERIFY(!form->pairItems[1]->isVisible());
    }

    // The list follows the machine: searched again after a change, emptied
    // (and saying why) when the machine no longer answers.
    void list_follows_the_machine() {
        twoPairs();
        search(Inputs{"104", "0,001", 0, 1, 0, 10, 0, 0});
        form->Edit1->setText("14");
        calculate(); // pair 2 now 14 / 32: Fz 112
        QCOMPARE(column(0), QStringList());
        QCOMPARE(window->messageLabel->text(), QStringLiteral("В пределах допуска ничего нет."));
        window->frequencyEdit->setText("112");
        window->search();
        QCOMPARE(column(0), (QStringList{"Fz (пара 2) = 2·APF (пара 2)"}));
        const auto seen =
            closeModalsDuring([&] { form->SpeedButton33->click(); }, pressButton("Button1"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(column(0), QStringList());
        QCOMPARE(window->messageLabel->text(),
                 QStringLiteral("В агрегате нет рассчитанной пары. Рассчитайте пару (F1) и "
                                "повторите поиск."));
    }
};

QTEST_MAIN(MachineSearchTest)
#include "tst_machine_search.moc"
