// The pair store: texts kept as typed and cut to 50 characters, occupancy by
// the Z2 text alone, slots written whole and cleared together.
#include "aggregate/pair_store.h"

#include <QTest>

using namespace aggregate;

class TestPairStore : public QObject {
    Q_OBJECT

private slots:
    void store_keeps_texts_as_typed_cut_to_fifty_data();
    void store_keeps_texts_as_typed_cut_to_fifty();
    void slot_is_occupied_by_its_z2_text_alone_data();
    void slot_is_occupied_by_its_z2_text_alone();
    void storing_a_slot_touches_no_other_data();
    void storing_a_slot_touches_no_other();
    void clear_empties_every_slot();
};

void TestPairStore::store_keeps_texts_as_typed_cut_to_fifty_data() {
    QTest::addColumn<GearPair>("typed");
    QTest::addColumn<GearPair>("kept");
    const QString fifty(50, QLatin1Char('4'));
    const QString sixty = fifty + QStringLiteral("0123456789");
    QTest::newRow("comma, spaces and junk kept")
        << GearPair{" 40", "24,6 ", "x", ""} << GearPair{" 40", "24,6 ", "x", ""};
    QTest::newRow("exactly fifty kept")
        << GearPair{fifty, fifty, fifty, fifty} << GearPair{fifty, fifty, fifty, fifty};
    QTest::newRow("Z1 of sixty cut")
        << GearPair{sixty, "25", "80", "0"} << GearPair{fifty, "25", "80", "0"};
    QTest::newRow("Fr1 of sixty cut")
        << GearPair{"40", sixty, "80", "0"} << GearPair{"40", fifty, "80", "0"};
    QTest::newRow("Z2 of sixty cut")
        << GearPair{"40", "25", sixty, "0"} << GearPair{"40", "25", fifty, "0"};
    QTest::newRow("Fm of sixty cut")
        << GearPair{"40", "25", "80", sixty} << GearPair{"40", "25", "80", fifty};
    // Characters beyond the Basic Multilingual Plane count as one each and
    // are never cut in half.
    const QString astral = QString::fromUcs4(U"\U0001D7D8");
    QString fiftyAstral;
    for (int i = 0; i < 50; ++i)
        fiftyAstral += astral;
    const QString across = QString(49, QLatin1Char('1')) + astral + astral;
    QTest::newRow("fifty astral characters kept whole")
        << GearPair{fiftyAstral + astral, "25", "80", "0"}
        << GearPair{fiftyAstral, "25", "80", "0"};
    QTest::newRow("an astral character across the bound stays whole")
        << GearPair{"40", across, "80", "0"}
        << GearPair{"40", QString(49, QLatin1Char('1')) + astral, "80", "0"};
}

void TestPairStore::store_keeps_texts_as_typed_cut_to_fifty() {
    QFETCH(GearPair, typed);
    QFETCH(GearPair, kept);
    PairStore store;
    store.store(4, GearPair{"1", "2", "3", "4"});
    store.store(4, typed);
    const GearPair &loaded = store.load(4);
    QCOMPARE(loaded.z1, kept.z1);
    QCOMPARE(loaded.fr1, kept.fr1);
    QCOMPARE(loaded.z2, kept.z2);
    QCOMPARE(loaded.fm, kept.fm);
}

void TestPairStore::slot_is_occupied_by_its_z2_text_alone_data() {
    QTest::addColumn<GearPair>("pair");
    QTest::addColumn<bool>("occupied");
    QTest::newRow("only Z2") << GearPair{"", "", "80", ""} << true;
    QTest::newRow("Z2 a single space") << GearPair{"", "", " ", ""} << true;
    QTest::newRow("Z2 that does not parse") << GearPair{"40", "25", "abc", "0"} << true;
    QTest::newRow("everything but Z2") << GearPair{"40", "25", "", "0"} << false;
    QTest::newRow("all empty") << GearPair{} << false;
}

void TestPairStore::slot_is_occupied_by_its_z2_text_alone() {
    QFETCH(GearPair, pair);
    QFETCH(bool, occupied);
    PairStore store;
    QVERIFY(!store.occupied(8));
    store.store(8, pair);
    QCOMPARE(store.occupied(8), occupied);
}

void TestPairStore::storing_a_slot_touches_no_other_data() {
    QTest::addColumn<int>("slot");
    for (int k = 1; k <= kPairCount; ++k)
        QTest::newRow(qPrintable(QStringLiteral("slot %1").arg(k))) << k;
}

void TestPairStore::storing_a_slot_touches_no_other() {
    QFETCH(int, slot);
    PairStore store;
    store.store(slot, GearPair{"40", "25", "80", "0"});
    for (int k = 1; k <= kPairCount; ++k) {
        QCOMPARE(store.occupied(k), k == slot);
        QCOMPARE(store.load(k) == GearPair{}, k != slot);
    }
}

void TestPairStore::clear_empties_every_slot() {
    PairStore store;
    for (int k = 1; k <= kPairCount; ++k)
        store.store(k, GearPair{"40", "25", QString::number(k), "0"});
    store.clear();
    for (int k = 1; k <= kPairCount; ++k) {
        QVERIFY(!store.occupied(k));
        QVERIFY(store.load(k) == GearPair{});
    }
}

QTEST_GUILESS_MAIN(TestPairStore)
#include "tst_pair_store.moc"
