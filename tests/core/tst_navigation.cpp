// The moves along an aggregate, without windows: which path "Далее >"
// takes, what each move stores and which moves follow.
#include "aggregate/navigation.h"

#include <QtTest>

using aggregate::AggregateState;
using aggregate::GearPair;
using aggregate::NextPath;

namespace {
GearPair pairNo(int k) {
    return {QString::number(10 * k), QString::number(k), QString::number(20 * k), "0"};
}

// An aggregate with pairs 1 to n stored and pair `current` shown.
AggregateState chain(int n, int current) {
    AggregateState s;
    for (int k = 1; k <= n; ++k)
        s.storeSlot(k, pairNo(k));
    s.CurrentPair = current;
    s.nextEnabled = true;
    s.backEnabled = current > 1;
    return s;
}

QList<int> visibleItems(const AggregateState &s) {
    QList<int> items;
    for (int k = 1; k <= 9; ++k)
        if (s.itemVisible[std::size_t(k - 1)])
            items << k;
    return items;
}
} // namespace

class NavigationTest : public QObject {
    Q_OBJECT

private slots:
    void a_pair_starts_with_its_texts_and_marks_data() {
        QTest::addColumn<bool>("next");
        QTest::addColumn<QString>("fr2Shown");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("marks"); // Z1 Fr1 Z2 Fm
        QTest::newRow("next pair on the shaft of wheel 2")
            << true << "12,5" << QStringList{"", "12,5", "", "0"} << "0100";
        QTest::newRow("next pair keeps Fr2 as shown, rounded or not")
            << true << "333,333333333333" << QStringList{"", "333,333333333333", "", "0"} << "0100";
        QTest::newRow("new aggregate") << false << "" << QStringList{"", "0", "0", "0"} << "0000";
    }
    void a_pair_starts_with_its_texts_and_marks() {
        QFETCH(bool, next);
        QFETCH(QString, fr2Shown);
        QFETCH(QStringList, texts);
        QFETCH(QString, marks);
        const aggregate::PairStart start =
            next ? aggregate::nextPairStart(fr2Shown) : aggregate::newAggregateStart();
        QCOMPARE((QStringList{start.texts.z1, start.texts.fr1, start.texts.z2, start.texts.fm}),
                 texts);
        QString got;
        for (const bool m : start.marks)
            got += m ? QLatin1Char('1') : QLatin1Char('0');
        QCOMPARE(got, marks);
    }

    void next_path_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("advance");
        QTest::newRow("pair 1, nothing stored") << 0 << 1 << false;
        QTest::newRow("last stored pair") << 3 << 3 << false;
        QTest::newRow("newest pair after the stored ones") << 3 << 4 << false;
        QTest::newRow("a stored successor") << 3 << 2 << true;
        QTest::newRow("pair 9 always creates") << 9 << 9 << false;
    }
    void next_path() {
        QFETCH(int, stored);
        QFETCH(int, current);
        QFETCH(bool, advance);
        QCOMPARE(aggregate::nextPath(chain(stored, current)) == NextPath::Advance, advance);
    }

    void slot_with_an_empty_z2_counts_as_free() {
        AggregateState s = chain(1, 1);
        s.storeSlot(2, {"40", "25", "", "0"});
        QCOMPARE(aggregate::nextPath(s), NextPath::Create);
        QVERIFY(s.itemVisible[1]); // its item stays visible
    }

    void create_path_stores_moves_on_and_switches_the_moves() {
        AggregateState s;
        const GearPair shown{"40", "25", "80", "0"};
        QVERIFY(aggregate::createNext(s, shown));
        QCOMPARE(s.PairStore.load(1), shown);
        QCOMPARE(s.CurrentPair, 2);
        QVERIFY(!s.nextEnabled);
        QVERIFY(s.backEnabled);
        QCOMPARE(visibleItems(s), QList<int>{1});
    }

    void create_path_on_pair_9_stores_it_and_stays() {
        AggregateState s = chain(8, 9);
        s.storeSlot(8, {"1", "1", "", "0"}); // slot 8 free again: Next could still be on
        QVERIFY(!aggregate::createNext(s, pairNo(9)));
        QCOMPARE(s.CurrentPair, 9);
        QCOMPARE(s.PairStore.load(9), pairNo(9));
        QVERIFY(s.itemVisible[8]);
        QVERIFY(!s.nextEnabled);
        QVERIFY(s.backEnabled);
    }

    void advance_path_loads_the_successor_without_storing() {
        AggregateState s = chain(3, 1);
        const GearPair loaded = aggregate::advanceNext(s);
        QCOMPARE(loaded, pairNo(2));
        QCOMPARE(s.CurrentPair, 2);
        QVERIFY(s.nextEnabled);
        QVERIFY(s.backEnabled);
        QCOMPARE(s.PairStore.load(1), pairNo(1));
    }

    void advance_path_turns_next_off_on_arriving_at_9() {
        AggregateState s = chain(9, 8);
        aggregate::advanceNext(s);
        QCOMPARE(s.CurrentPair, 9);
        QVERIFY(!s.nextEnabled);
    }

    void back_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("calculated");
        QTest::addColumn<bool>("keepsShown");
        QTest::addColumn<bool>("backAfter");
        QTest::newRow("calculated newest pair is kept") << 2 << 3 << 1 << true << true;
        QTest::newRow("uncalculated newest pair is dropped") << 2 << 3 << 0 << false << true;
        QTest::newRow("stored pair is not written back") << 3 << 3 << 1 << false << true;
        QTest::newRow("arriving at pair 1 turns back off") << 1 << 2 << 1 << true << false;
    }
    void back() {
        QFETCH(int, stored);
        QFETCH(int, current);
        QFETCH(int, calculated);
        QFETCH(bool, keepsShown);
        QFETCH(bool, backAfter);
        AggregateState s = chain(stored, current);
        s.nextEnabled = false;
        const GearPair edited{"99", "9", "33", "1"};
        const GearPair before = s.PairStore.load(current);
        const GearPair loaded = aggregate::back(s, edited, calculated);
        QCOMPARE(loaded, pairNo(current - 1));
        QCOMPARE(s.CurrentPair, current - 1);
        QCOMPARE(s.PairStore.load(current), keepsShown ? edited : before);
        QCOMPARE(s.itemVisible[std::size_t(current - 1)], keepsShown || stored >= current);
        QVERIFY(s.nextEnabled);
        QCOMPARE(s.backEnabled, backAfter);
    }

    void save_step_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("calculated");
        QTest::addColumn<bool>("stores");
        QTest::newRow("pair 1 is never stored") << 0 << 1 << 1 << false;
        QTest::newRow("stored pair keeps its old texts") << 3 << 2 << 1 << false;
        QTest::newRow("uncalculated newest pair") << 2 << 3 << 0 << false;
        QTest::newRow("calculated newest pair") << 2 << 3 << 1 << true;
        QTest::newRow("calculated pair 9") << 8 << 9 << 1 << true;
    }
    void save_step() {
        QFETCH(int, stored);
        QFETCH(int, current);
        QFETCH(int, calculated);
        QFETCH(bool, stores);
        AggregateState s = chain(stored, current);
        const GearPair edited{"99", "9", "33", "1"};
        aggregate::saveStep(s, edited, calculated);
        QCOMPARE(s.PairStore.load(current) == edited, stores);
        QCOMPARE(s.itemVisible[std::size_t(current - 1)], stores || stored >= current);
    }

    void storing_twice_keeps_the_second_copy() {
        AggregateState s;
        s.storeSlot(4, pairNo(1));
        s.storeSlot(4, pairNo(2));
        QCOMPARE(s.PairStore.load(4), pairNo(2));
        QCOMPARE(visibleItems(s), QList<int>{4});
    }

    void jump_sets_the_moves_by_the_table_data() {
        QTest::addColumn<int>("j");
        QTest::addColumn<bool>("next");
        QTest::addColumn<bool>("back");
        QTest::newRow("1") << 1 << true << false;
        QTest::newRow("2") << 2 << true << true;
        QTest::newRow("8") << 8 << true << true;
        QTest::newRow("9") << 9 << false << true;
    }
    void jump_sets_the_moves_by_the_table() {
        QFETCH(int, j);
        QFETCH(bool, next);
        QFETCH(bool, back);
        AggregateState s = chain(9, 5);
        QCOMPARE(aggregate::jump(s, j), pairNo(j));
        QCOMPARE(s.CurrentPair, j);
        QCOMPARE(s.nextEnabled, next);
        QCOMPARE(s.backEnabled, back);
    }

    void successful_calculation_enables_next_only_while_slot_8_is_free() {
        AggregateState s = chain(7, 8);
        s.nextEnabled = false;
        aggregate::calculationSucceeded(s);
        QVERIFY(s.nextEnabled);
        s = chain(8, 9);
        s.nextEnabled = false;
        aggregate::calculationSucceeded(s);
        QVERIFY(!s.nextEnabled);
    }

    void reset_empties_everything_of_the_chain() {
        AggregateState s = chain(5, 3);
        s.NewAggregateConfirmed = 1;
        aggregate::resetAggregate(s);
        QCOMPARE(s.CurrentPair, 1);
        QVERIFY(!s.nextEnabled && !s.backEnabled);
        QVERIFY(visibleItems(s).isEmpty());
        for (int k = 1; k <= 9; ++k)
            QVERIFY(!s.PairStore.occupied(k));
        QCOMPARE(s.NewAggregateConfirmed, 0);
    }
};

QTEST_GUILESS_MAIN(NavigationTest)
#include "tst_navigation.moc"
