// Whole journeys along an aggregate on the real window: next, back, the
// pair items, F5 and F6, and a new aggregate with its confirmation.
#include "main_window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QtTest>

using namespace uitest;

class AggregateTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    QList<ModalSeen> next() {
        return closeModalsDuring([&] { form->SpeedButton31->click(); });
    }
    QList<ModalSeen> back() {
        return closeModalsDuring([&] { form->SpeedButton32->click(); });
    }
    QStringList inputs() const {
        return {form->Edit1->text(), form->Edit2->text(), form->Edit3->text(), form->Edit4->text()};
    }
    QList<int> visibleItems() const {
        QList<int> items;
        for (int k = 0; k < 9; ++k)
            if (form->pairItems[std::size_t(k)]->isVisible())
                items << k + 1;
        return items;
    }
    bool marked(QToolButton *b) const {
        return b->palette().color(QPalette::ButtonText) == kMarkedBlue;
    }
    void checkMovesAgree() const {
        QCOMPARE(form->SpeedButton31->isEnabled(), form->SpeedButton40->isEnabled());
        QCOMPARE(form->SpeedButton32->isEnabled(), form->SpeedButton37->isEnabled());
        QCOMPARE(form->Label45->text(), form->Edit62->text());
    }

private slots:
    void init() { QVERIFY(startMainWindow()); }
    void cleanup() { stopMainWindow(); }

    void next_from_a_calculated_pair_starts_the_next_one() {
        enterPair("40", "25", "80");
        calculate();
        QVERIFY(next().isEmpty());
        QCOMPARE(form->Aggregate.PairStore.load(1), (aggregate::GearPair{"40", "25", "80", "0"}));
        QCOMPARE(visibleItems(), QList<int>{1});
        QCOMPARE(form->Label45->text(), QStringLiteral("2"));
        QCOMPARE(inputs(), (QStringList{"", "12,5", "", "0"}));
        QVERIFY(marked(form->SpeedButton28) && marked(form->SpeedButton19));
        for (QToolButton *b : {form->SpeedButton27, form->SpeedButton7, form->SpeedButton29,
                               form->SpeedButton20, form->SpeedButton30, form->SpeedButton21})
            QVERIFY2(!marked(b), qPrintable(b->objectName()));
        QCOMPARE(QApplication::focusWidget(), form->Edit1);
        QVERIFY(!form->SpeedButton31->isEnabled());
        QVERIFY(form->SpeedButton32->isEnabled());
        QCOMPARE(form->pair.pairCalculated(), 0);
        // The results still belong to pair 1.
        QCOMPARE(form->Edit6->text(), QStringLiteral("1000"));
        checkMovesAgree();
    }

    void rounded_fr2_is_carried_as_shown() {
        form->N0001->trigger();
        enterPair("3", "10", "7"); // Fr2 = 4,285714...
        calculate();
        QCOMPARE(form->Edit16->text(), QStringLiteral("4,29"));
        QVERIFY(next().isEmpty());
        QCOMPARE(form->Edit2->text(), QStringLiteral("4,29"));
    }

    void back_from_an_uncalculated_new_pair_drops_it() {
        enterPair("40", "25", "80");
        calculate();
        next();
        form->Edit1->setText("20");
        form->Edit3->setText("60");
        QVERIFY(back().isEmpty());
        QCOMPARE(form->Label45->text(), QStringLiteral("1"));
        QCOMPARE(inputs(), (QStringList{"40", "25", "80", "0"}));
        QCOMPARE(visibleItems(), QList<int>{1});
        QVERIFY(!form->SpeedButton32->isEnabled());
        QVERIFY(form->SpeedButton31->isEnabled());
        QCOMPARE(form->Edit6->text(), QStringLiteral("1000")); // pair 1 recalculated
        QCOMPARE(form->pair.pairCalculated(), 0);
        // "Далее >" creates pair 2 again with empty teeth counts.
        next();
        QCOMPARE(inputs(), (QStringList{"", "12,5", "", "0"}));
        checkMovesAgree();
    }

    void back_from_a_calculated_new_pair_keeps_it() {
        enterPair("40", "25", "80");
        calculate();
        next();
        enterPair("20", "12,5", "60");
        calculate();
        back();
        QCOMPARE(visibleItems(), (QList<int>{1, 2}));
        next(); // the advance path brings it back
        QCOMPARE(form->Label45->text(), QStringLiteral("2"));
        QCOMPARE(inputs(), (QStringList{"20", "12,5", "60", "0"}));
        QCOMPARE(form->Edit6->text(), QStringLiteral("250"));
        QVERIFY(form->SpeedButton32->isEnabled());
        checkMovesAgree();
    }

    void changes_to_a_pair_with_a_stored_successor_are_lost() {
        enterPair("40", "25", "80");
        calculate();
        next();
        enterPair("20", "12,5", "60");
        calculate();
        back();
        form->Edit1->setText("41"); // pair 1 edited, then left by each move in turn
        next();
        back();
        QCOMPARE(form->Edit1->text(), QStringLiteral("40"));
        form->Edit1->setText("41");
        QTest::keyClick(form->Edit2, Qt::Key_F6); // F6 runs "Далее >"
        QCOMPARE(form->Label45->text(), QStringLiteral("2"));
        closeModalsDuring([&] { form->N15->trigger(); });
        QCOMPARE(form->Edit1->text(), QStringLiteral("40"));
    }

    void f5_and_f6_do_nothing_while_disabled() {
        enterPair("40", "25", "80");
        QTest::keyClick(form->Edit1, Qt::Key_F6);
        QTest::keyClick(form->Edit1, Qt::Key_F5);
        QCOMPARE(form->Label45->text(), QStringLiteral("1"));
        QCOMPARE(visibleItems(), QList<int>{});
        QCOMPARE(form->Edit6->text(), QString());
    }

    void creating_pairs_2_to_9_in_turn() {
        for (int k = 1; k <= 8; ++k) {
            enterPair("10", k == 1 ? "100" : form->Edit2->text(), "20");
            calculate();
            QVERIFY2(form->SpeedButton31->isEnabled(), qPrintable(QString::number(k)));
            next();
            QCOMPARE(form->Label45->text(), QString::number(k + 1));
            checkMovesAgree();
        }
        enterPair("10", form->Edit2->text(), "20");
        calculate();
        // Pair 9 is the last: Next stays off after a successful calculation.
        QVERIFY(!form->SpeedButton31->isEnabled());
        QVERIFY(!form->SpeedButton40->isEnabled());
        QCOMPARE(visibleItems(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
        // Fr1 of pair 9 is half of pair 8's: 100 / 2^8.
        QCOMPARE(form->Edit21->text(), QStringLiteral("0,390625"));
        closeModalsDuring([&] { form->N51->trigger(); });
        QCOMPARE(form->Label45->text(), QStringLiteral("5"));
        QVERIFY(form->SpeedButton31->isEnabled() && form->SpeedButton32->isEnabled());
        closeModalsDuring([&] { form->N91->trigger(); });
        QCOMPARE(visibleItems().size(), 9); // pair 9 was kept by the save step
        QVERIFY(!form->SpeedButton31->isEnabled() && form->SpeedButton32->isEnabled());
        checkMovesAgree();
    }

    void jump_to_the_pair_shown_reloads_it() {
        enterPair("40", "25", "80");
        calculate();
        next();
        enterPair("20", "12,5", "60");
        calculate();
        back();
        next();
        form->Edit3->setText("99");
        closeModalsDuring([&] { form->N21->trigger(); });
        QCOMPARE(form->Edit3->text(), QStringLiteral("60"));
        QCOMPARE(form->Edit16->text(), QStringLiteral("4,16666666666667"));
    }

    void cancel_changes_nothing() {
        enterPair("40", "25", "80");
        calculate();
        next();
        const QStringList before = inputs();
        const auto seen =
            closeModalsDuring([&] { form->SpeedButton33->click(); }, pressButton("Button2"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, QStringLiteral("TForm7"));
        QCOMPARE(inputs(), before);
        QCOMPARE(form->Label45->text(), QStringLiteral("2"));
        QCOMPARE(visibleItems(), QList<int>{1});
        QVERIFY(form->SpeedButton32->isEnabled());
    }

    void continue_resets_the_chain_and_leaves_the_results() {
        enterPair("40", "25", "80");
        calculate();
        next();
        form->Edit1->setText("7");
        const auto seen = closeModalsDuring([&] { QTest::keyClick(form->Edit1, Qt::Key_F8); },
                                            pressButton("Button1"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(form->Label45->text(), QStringLiteral("1"));
        QCOMPARE(form->Edit62->text(), QStringLiteral("1"));
        QCOMPARE(inputs(), (QStringList{"", "0", "0", "0"}));
        // The offscreen platform does not give the window back its activation
        // after a modal dialog; the window's own focus widget is what the
        // user types into when it is active again.
        QCOMPARE(form->focusWidget(), form->Edit1);
        for (QToolButton *b : form->transferButtons)
            QCOMPARE(b->palette().color(QPalette::ButtonText), kUnmarkedNavy);
        QVERIFY(!form->SpeedButton31->isEnabled() && !form->SpeedButton32->isEnabled());
        QVERIFY(!form->SpeedButton37->isEnabled() && !form->SpeedButton40->isEnabled());
        QCOMPARE(visibleItems(), QList<int>{});
        for (int k = 1; k <= 9; ++k)
            QVERIFY(!form->Aggregate.PairStore.occupied(k));
        QCOMPARE(form->Edit6->text(), QStringLiteral("1000"));
        QCOMPARE(form->Aggregate.NewAggregateConfirmed, 0);
        // A second request asks again.
        const auto again = closeModalsDuring([&] { form->N11->trigger(); }, pressButton("Button2"));
        QCOMPARE(again.size(), 1);
    }

    // Whatever the move, the pair shown afterwards is not the one calculated:
    // a later "< Назад" must not keep it as if it had been.
    void every_move_leaves_the_pair_shown_uncalculated_data() {
        QTest::addColumn<int>("move");
        QTest::newRow("Далее > starts pair 3") << 0;
        QTest::newRow("< Назад keeps pair 2") << 1;
        QTest::newRow("save step keeps pair 2") << 2;
        QTest::newRow("jump to pair 1 keeps pair 2") << 3;
    }
    void every_move_leaves_the_pair_shown_uncalculated() {
        QFETCH(int, move);
        enterPair("40", "25", "80");
        calculate();
        next();
        enterPair("20", "12,5", "60");
        calculate();
        QCOMPARE(form->pair.pairCalculated(), 1);
        const QList<ModalSeen> seen = closeModalsDuring([&] {
            if (move == 0)
                form->SpeedButton31->click();
            else if (move == 1)
                form->SpeedButton32->click();
            else if (move == 2)
                form->N16->trigger();
            else
                form->pairItems[0]->trigger();
        });
        QVERIFY2(seen.isEmpty(), describe(seen));
        QCOMPARE(form->pair.pairCalculated(), 0);
        // Each move kept the calculated newest pair.
        QCOMPARE(form->Aggregate.PairStore.load(2), (aggregate::GearPair{"20", "12,5", "60", "0"}));
    }
};

QTEST_MAIN(AggregateTest)
#include "tst_aggregate.moc"
