// The machine as a document of its own, through the real windows: the
// table rebuilt once per command, the pair shown being the pair used, a
// display setting that never changes a speed, and unsaved work that
// survives the close.
#include "machine/machine_file.h"
#include "main_window_fixture.h"
#include "ui/machine/machine_search_window.h"
#include "ui/machine/match_table_model.h"
#include "ui/machine/train_model.h"
#include "ui/machine/train_window.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace uitest;

class MachineDocumentTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    TrainWindow *openTable() {
        machine->tableAction->trigger();
        return machine->trainWindow();
    }
    QString cell(TrainTableModel *m, int row, int column) const {
        return m->index(row, column).data().toString();
    }
    // Walks pairs in as the user does: calculate, "Далее >", the next teeth.
    void walk(const QString &fr1, const QList<std::array<QString, 2>> &teeth) {
        form->Edit2->setText(fr1);
        for (qsizetype i = 0; i < teeth.size(); ++i) {
            if (i > 0)
                form->SpeedButton31->click();
            form->Edit1->setText(teeth[i][0]);
            form->Edit3->setText(teeth[i][1]);
            calculate();
        }
    }
    QStringList searchFor(const QString &frequency, const QString &tolerance) {
        machine->searchAction->trigger();
        MachineSearchWindow *s = machine->searchWindow();
        s->frequencyEdit->setText(frequency);
        s->toleranceEdit->setText(tolerance);
        s->search();
        QStringList names;
        for (int r = 0; r < s->model->rowCount(); ++r)
            names << s->model->index(r, 0).data().toString();
        return names;
    }
    QStringList recoveryFiles() const {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        return QDir(folder).entryList({"recovery-*.json"}, QDir::Files);
    }
    void restart() {
        form.reset(createWindows());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        machine = machineController(form.get());
    }

private slots:
    void init() { QVERIFY(startWithMachine()); }
    void cleanup() { stopMainWindow(); }

    // One command, one rebuild of the table, however many steps it takes.
    void each_command_rebuilds_the_table_once_data() {
        QTest::addColumn<QString>("command");
        for (const char *c : {"calculate", "next pair", "previous pair", "jump to pair 1",
                              "new aggregate", "precision", "typing", "write the chain"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void each_command_rebuilds_the_table_once() {
        QFETCH(QString, command);
        walk("25", {{{"13", "35"}}, {{"8", "42"}}});
        TrainWindow *w = openTable();
        w->speedEdit->setText("1500");
        emit w->speedEdit->textEdited("1500");
        const int before = machine->tableBuilds();
        const auto seen = closeModalsDuring(
            [&] {
                if (command == "calculate")
                    form->SpeedButton1->click();
                else if (command == "next pair")
                    form->SpeedButton31->click();
                else if (command == "previous pair")
                    form->SpeedButton32->click();
                else if (command == "jump to pair 1")
                    form->N15->trigger();
                else if (command == "new aggregate")
                    form->SpeedButton33->click();
                else if (command == "precision")
                    form->N0001->trigger();
                else if (command == "typing")
                    QTest::keyClick(form->Edit4, Qt::Key_5);
                else
                    w->writeButton->click();
            },
            pressButton("Button1"));
        QCOMPARE(seen.size(), command == "new aggregate" ? 1 : 0);
        QCOMPARE(machine->tableBuilds() - before, 1);
    }

    // A stored pair calculated in the fields with other teeth: the table and
    // the search work with it, and say that it is not stored.
    void edited_stored_pair_is_the_pair_used() {
        walk("25", {{{"13", "35"}}, {{"8", "42"}}});
        form->SpeedButton31->click(); // pair 2 stored, pair 3 started
        form->N15->trigger();         // back to pair 1
        form->Edit1->setText("14");
        calculate();
        TrainWindow *w = openTable();
        QCOMPARE(cell(w->pairsModel, 0, machine::ColZ1), QStringLiteral("14"));
        QCOMPARE(cell(w->pairsModel, 0, machine::ColFz), QStringLiteral("350"));
        QVERIFY(cell(w->pairsModel, 0, machine::ColNote)
                    .contains(QStringLiteral("изменена в полях ввода, не записана в цепь")));
        // The shaft it drives turns at 25 · 14 / 35 = 10 Hz now: the stored
        // pair 2 no longer follows from it.
        QCOMPARE(cell(w->pairsModel, 0, machine::ColFr2), QStringLiteral("10"));
        QVERIFY(cell(w->pairsModel, 1, machine::ColNote)
                    .startsWith(QStringLiteral("цепь разорвана: по паре 1 Fr1 = 10 Гц")));
        QCOMPARE(searchFor("350", "0,001").value(0),
                 QStringLiteral("Fz (пара 1) = 7·APF (пара 1)"));
        // The store itself is as it was.
        QCOMPARE(form->aggregateState().PairStore.load(1).z1, QStringLiteral("13"));
    }

    // With "0.00" the walk writes rounded Fr1 texts; the speeds stay exact,
    // a typed speed shows as typed, and the search finds the true mesh.
    void display_setting_never_changes_a_speed() {
        form->N0001->trigger();
        walk("24,6666666666667", {{{"19", "71"}}, {{"18", "84"}}, {{"23", "91"}}});
        QCOMPARE(form->Edit2->text(), QStringLiteral("1,41")); // the rounded walk
        TrainWindow *w = openTable();
        w->unitBox->setCurrentIndex(1); // об/мин
        QCOMPARE(cell(w->shaftsModel, 3, machine::ColShaftFrequency), QStringLiteral("21,4505"));
        w->referenceShaftBox->setCurrentIndex(3);
        w->speedUnitBox->setCurrentIndex(1);
        w->speedEdit->setText("21,45");
        emit w->speedEdit->textEdited("21,45");
        QCOMPARE(cell(w->shaftsModel, 3, machine::ColShaftFrequency), QStringLiteral("21,45"));
        w->speedEdit->clear();
        emit w->speedEdit->textEdited(QString());
        // 23 / 91 is a hunting pair: its APF is its Fz.
        QCOMPARE(searchFor("32,5332", "0,01"), QStringList{"Fz (пара 3) = APF (пара 3)"});
    }

    // Unsaved work outlives the close: written on closing (and every minute),
    // offered at the next start, taken in or thrown away, gone after a save.
    void unsaved_work_survives_the_close_data() {
        QTest::addColumn<bool>("takeIt");
        QTest::newRow("taken in, then saved") << true;
        QTest::newRow("thrown away") << false;
    }
    void unsaved_work_survives_the_close() {
        QFETCH(bool, takeIt);
        walk("25", {{{"13", "35"}}});
        TrainWindow *w = openTable();
        w->nameEdit->setText("Насос Н-3");
        emit w->nameEdit->textEdited("Насос Н-3");
        auto *timer = machine->findChild<QTimer *>("recoveryTimer");
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), 60 * 1000);
        // The minute's write, sooner.
        timer->setInterval(5);
        QTRY_COMPARE(recoveryFiles().size(), 1);
        form->close();
        QCOMPARE(recoveryFiles().size(), 1);

        restart();
        QVERIFY(machine->recoverAction->isEnabled());
        w = openTable();
        QVERIFY(w->recoveryRow->isVisibleTo(w));
        QVERIFY(w->recoveryLabel->text().contains(QStringLiteral("«Насос Н-3»")));
        QCOMPARE(form->Edit1->text(), QString());
        if (!takeIt) {
            w->discardButton->click();
            QCOMPARE(recoveryFiles(), QStringList());
            QVERIFY(!machine->recoverAction->isEnabled());
            QVERIFY(!w->recoveryRow->isVisibleTo(w));
            return;
        }
        machine->recoverAction->trigger();
        QCOMPARE(w->nameEdit->text(), QStringLiteral("Насос Н-3"));
        QCOMPARE(form->Edit1->text(), QStringLiteral("13"));
        QCOMPARE(form->Edit6->text(), QStringLiteral("325"));
        QVERIFY(!w->recoveryRow->isVisibleTo(w));
        QVERIFY(machine->modified());
        QVERIFY(machine->saveTo(fixture->workDir.filePath("pump.json")));
        QCOMPARE(recoveryFiles(), QStringList());
        form->close();
        QCOMPARE(recoveryFiles(), QStringList());
    }
};

QTEST_MAIN(MachineDocumentTest)
#include "tst_machine_document.moc"
