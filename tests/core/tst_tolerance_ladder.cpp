// The tolerance ladder of the arrows beside the tolerance box: the whole
// ladder both ways with its wraps, values between and beyond the rungs, and
// texts that do not parse.
#include "search/tolerance_ladder.h"

#include <QTest>

using namespace search;
Q_DECLARE_METATYPE(search::ToleranceDirection)

class TestToleranceLadder : public QObject {
    Q_OBJECT

private slots:
    void repeated_presses_run_the_whole_ladder_and_wrap_data();
    void repeated_presses_run_the_whole_ladder_and_wrap();
    void values_off_the_rungs_move_by_their_decade_data();
    void values_off_the_rungs_move_by_their_decade();
    void text_that_does_not_parse_is_refused_data();
    void text_that_does_not_parse_is_refused();
};

void TestToleranceLadder::repeated_presses_run_the_whole_ladder_and_wrap_data() {
    QTest::addColumn<ToleranceDirection>("direction");
    QTest::newRow("up from 0,001 wraps after 10") << ToleranceDirection::Up;
    QTest::newRow("down from 10 wraps after 0,001") << ToleranceDirection::Down;
}

void TestToleranceLadder::repeated_presses_run_the_whole_ladder_and_wrap() {
    QFETCH(ToleranceDirection, direction);
    // 0,001 … 0,009, 0,01 … 0,09, 0,1 … 0,9, 1 … 10.
    QStringList rungs;
    for (const QString &prefix :
         {QStringLiteral("0,00"), QStringLiteral("0,0"), QStringLiteral("0,"), QString()})
        for (int d = 1; d <= 9; ++d)
            rungs << prefix + QString::number(d);
    rungs << QStringLiteral("10");
    if (direction == ToleranceDirection::Down)
        std::reverse(rungs.begin(), rungs.end());
    QString text = rungs.first();
    for (qsizetype i = 1; i <= rungs.size(); ++i) {
        text = StepTolerance(text, direction).value_or(QStringLiteral("<refused>"));
        QCOMPARE(text, rungs[i % rungs.size()]);
    }
}

void TestToleranceLadder::values_off_the_rungs_move_by_their_decade_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<ToleranceDirection>("direction");
    QTest::addColumn<QString>("expected");
    const auto up = ToleranceDirection::Up;
    const auto down = ToleranceDirection::Down;
    QTest::newRow("up: above 10 wraps to 0,001") << "15" << up << "0,001";
    QTest::newRow("up: 0,95 to 1") << "0,95" << up << "1";
    QTest::newRow("up: 0,25 to 0,35") << "0,25" << up << "0,35";
    QTest::newRow("up: 0,095 to 0,1") << "0,095" << up << "0,1";
    QTest::newRow("up: 0,0095 to 0,01") << "0,0095" << up << "0,01";
    QTest::newRow("up: 0,0015 to 0,0025") << "0,0015" << up << "0,0025";
    QTest::newRow("up: below 0,001 to 0,001") << "0,0005" << up << "0,001";
    QTest::newRow("up: negative to 0,001") << "-3" << up << "0,001";
    QTest::newRow("down: above 10 to 10") << "11" << down << "10";
    QTest::newRow("down: 1,5 to 0,9") << "1,5" << down << "0,9";
    QTest::newRow("down: 0,25 to 0,15") << "0,25" << down << "0,15";
    QTest::newRow("down: 0,15 to 0,09") << "0,15" << down << "0,09";
    QTest::newRow("down: 0,015 to 0,009") << "0,015" << down << "0,009";
    QTest::newRow("down: 0,0015 falls below 0,001 and wraps to 10") << "0,0015" << down << "10";
    QTest::newRow("down: 0 wraps to 10") << "0" << down << "10";
    QTest::newRow("point form is read") << "0.5" << up << "0,6";
    QTest::newRow("exponent form is read") << "1e1" << down << "9";
    QTest::newRow("characters past 100 are cut off")
        << QStringLiteral("1") + QString(99, '0') + QStringLiteral("x") << up << "0,001";
}

void TestToleranceLadder::values_off_the_rungs_move_by_their_decade() {
    QFETCH(QString, text);
    QFETCH(ToleranceDirection, direction);
    QFETCH(QString, expected);
    QCOMPARE(StepTolerance(text, direction).value_or(QStringLiteral("<refused>")), expected);
}

void TestToleranceLadder::text_that_does_not_parse_is_refused_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty box") << "";
    QTest::newRow("trailing blank") << "1 ";
    QTest::newRow("second comma") << "1,5,3";
    QTest::newRow("comma after a sign") << "-0,5";
    QTest::newRow("garbage within the first 100 characters")
        << QStringLiteral("0,5") + QString(60, '0') + QStringLiteral("x");
}

void TestToleranceLadder::text_that_does_not_parse_is_refused() {
    QFETCH(QString, text);
    QVERIFY(!StepTolerance(text, ToleranceDirection::Up));
    QVERIFY(!StepTolerance(text, ToleranceDirection::Down));
}

QTEST_GUILESS_MAIN(TestToleranceLadder)
#include "tst_tolerance_ladder.moc"
