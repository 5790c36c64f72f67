// The smaller-wheel controls outside the calculation: the mode item and the
// button that chooses the wheel by hand.
#include "calc/smaller_wheel.h"

#include <QTest>

using namespace calc;

class TestSmallerWheel : public QObject {
    Q_OBJECT

private slots:
    void wheel_button_cycles_indicator_and_main_labels_only_data();
    void wheel_button_cycles_indicator_and_main_labels_only();
    void mode_item_switches_mode_and_names_the_other_one_data();
    void mode_item_switches_mode_and_names_the_other_one();
};

void TestSmallerWheel::wheel_button_cycles_indicator_and_main_labels_only_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("variantsFr2First");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("mainFr2First");
    QTest::newRow("1 becomes 2") << "1" << false << "2" << true;
    QTest::newRow("2 becomes 1") << "2" << true << "1" << false;
    QTest::newRow("empty becomes 1") << "" << true << "1" << false;
    QTest::newRow("variants label does not follow to 2") << "1" << true << "2" << true;
}

void TestSmallerWheel::wheel_button_cycles_indicator_and_main_labels_only() {
    QFETCH(QString, before);
    QFETCH(bool, variantsFr2First);
    QFETCH(QString, after);
    QFETCH(bool, mainFr2First);
    SmallerWheelState s;
    s.mode = QStringLiteral("2");
    s.smallerWheel = before;
    s.mainRowFr2First = !mainFr2First;
    s.variantsFr2First = variantsFr2First;
    pressSmallerWheelButton(s);
    QCOMPARE(s.smallerWheel, after);
    QCOMPARE(s.mainRowFr2First, mainFr2First);
    QCOMPARE(s.variantsFr2First, variantsFr2First);
    QCOMPARE(s.mode, QStringLiteral("2"));
}

void TestSmallerWheel::mode_item_switches_mode_and_names_the_other_one_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("captionBefore");
    QTest::addColumn<QString>("modeAfter");
    QTest::addColumn<QString>("captionAfter");
    QTest::newRow("automatic to manual") << "1" << QString::fromUtf8("Определять самостоятельно")
                                         << "2" << QString::fromUtf8("Определять автоматически");
    QTest::newRow("manual to automatic") << "2" << QString::fromUtf8("Определять автоматически")
                                         << "1" << QString::fromUtf8("Определять самостоятельно");
}

void TestSmallerWheel::mode_item_switches_mode_and_names_the_other_one() {
    QFETCH(QString, mode);
    QFETCH(QString, captionBefore);
    QFETCH(QString, modeAfter);
    QFETCH(QString, captionAfter);
    SmallerWheelState s;
    s.mode = mode;
    s.smallerWheel = QStringLiteral("2");
    s.mainRowFr2First = false;
    s.variantsFr2First = true;
    QCOMPARE(modeItemCaption(s), captionBefore);
    toggleSmallerWheelMode(s);
    QCOMPARE(s.mode, modeAfter);
    QCOMPARE(modeItemCaption(s), captionAfter);
    QCOMPARE(isAutomatic(s), modeAfter == QLatin1String("1"));
    // The indicator and the labels wait for the next calculation.
    QCOMPARE(s.smallerWheel, QStringLiteral("2"));
    QCOMPARE(s.mainRowFr2First, false);
    QCOMPARE(s.variantsFr2First, true);
}

QTEST_GUILESS_MAIN(TestSmallerWheel)
#include "tst_smaller_wheel.moc"
