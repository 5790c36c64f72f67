// The tolerance ladder of the arrows beside the tolerance box: every rung up
// and down, the wrap-arounds, values between rungs and texts that do not parse.
#include "search/tolerance_ladder.h"

#include <QTest>

using namespace search;
Q_DECLARE_METATYPE(search::ToleranceDirection)

class TestToleranceLadder : public QObject {
    Q_OBJECT

private slots:
    void ladder_moves_one_rung_data();
    void ladder_moves_one_rung();
    void repeated_presses_run_the_whole_ladder_and_wrap_data();
    void repeated_presses_run_the_whole_ladder_and_wrap();
    void text_that_does_not_parse_is_refused_data();
    void text_that_does_not_parse_is_refused();
};

void TestToleranceLadder::ladder_moves_one_rung_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<ToleranceDirection>("direction");
    QTest::addColumn<QString>("expected");
    const auto up = ToleranceDirection::Up;
    const auto down = ToleranceDirection::Down;
    QTest::newRow("up: 10 wraps to 0,001") << "10" << up << "0,001";
    QTest::newRow("up: above 10 wraps to 0,001") << "15" << up << "0,001";
    QTest::newRow("up: 9 to 10") << "9" << up << "10";
    QTest::newRow("up: 1 to 2") << "1" << up << "2";
    QTest::newRow("up: 0,95 to 1") << "0,95" << up << "1";
    QTest::newRow("up: 0,9 to 1") << "0,9" << up << "1";
    QTest::newRow("up: 0,2 to 0,3 despite the binary sum") << "0,2" << up << "0,3";
    QTest::newRow("up: 0,25 by its decade to 0,35") << "0,25" << up << "0,35";
    QTest::newRow("up: 0,1 to 0,2") << "0,1" << up << "0,2";
    QTest::newRow("up: 0,09 to 0,1") << "0,09" << up << "0,1";
    QTest::newRow("up: 0,01 to 0,02") << "0,01" << up << "0,02";
    QTest::newRow("up: 0,009 to 0,01") << "0,009" << up << "0,01";
    QTest::newRow("up: 0,008 to 0,009") << "0,008" << up << "0,009";
    QTest::newRow("up: 0,001 to 0,002") << "0,001" << up << "0,002";
    QTest::newRow("up: below 0,001 to 0,001") << "0,0005" << up << "0,001";
    QTest::newRow("up: negative to 0,001") << "-3" << up << "0,001";
    QTest::newRow("up: point form is read too") << "0.5" << up << "0,6";
    QTest::newRow("up: exponent form is read too") << "1e1" << up << "0,001";
    QTest::newRow("up: digits past 100 characters are cut off")
        << QStringLiteral("1") + QString(99, QLatin1Char('0')) + QStringLiteral("x") << up
        << "0,001";
    QTest::newRow("down: above 10 to 10") << "11" << down << "10";
    QTest::newRow("down: 10 to 9") << "10" << down << "9";
    QTest::newRow("down: 2 to 1") << "2" << down << "1";
    QTest::newRow("down: 1,5 to 0,9") << "1,5" << down << "0,9";
    QTest::newRow("down: 1 to 0,9") << "1" << down << "0,9";
    QTest::newRow("down: 0,9 to 0,8") << "0,9" << down << "0,8";
    QTest::newRow("down: 0,25 by its decade to 0,15") << "0,25" << down << "0,15";
    QTest::newRow("down: 0,2 to 0,1") << "0,2" << down << "0,1";
    QTest::newRow("down: 0,15 to 0,09") << "0,15" << down << "0,09";
    QTest::newRow("down: 0,1 to 0,09") << "0,1" << down << "0,09";
    QTest::newRow("down: 0,02 to 0,01") << "0,02" << down << "0,01";
    QTest::newRow("down: 0,01 to 0,009") << "0,01" << down << "0,009";
    QTest::newRow("down: 0,002 to 0,001") << "0,002" << down << "0,001";
    QTest::newRow("down: 0,0015 falls below 0,001 and wraps to 10") << "0,0015" << down << "10";
    QTest::newRow("down: 0,001 wraps to 10") << "0,001" << down << "10";
    QTest::newRow("down: 0 wraps to 10") << "0" << down << "10";
    QTest::newRow("down: negative wraps to 10") << "-1" << down << "10";
}

void TestToleranceLadder::ladder_moves_one_rung()
{
    QFETCH(QString, text);
    QFETCH(ToleranceDirection, direction);
    QFETCH(QString, expected);
    QCOMPARE(StepTolerance(text, direction).value_or(QStringLiteral("<refused>")), expected);
}

void TestToleranceLadder::repeated_presses_run_the_whole_ladder_and_wrap_data()
{
    QTest::addColumn<ToleranceDirection>("direction");
    QTest::newRow("up from 0,001") << ToleranceDirection::Up;
    QTest::newRow("down from 10") << ToleranceDirection::Down;
}

void TestToleranceLadder::repeated_presses_run_the_whole_ladder_and_wrap()
{
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
        const std::optional<QString> next = StepTolerance(text, direction);
        QVERIFY(next);
        text = *next;
        QCOMPARE(text, rungs[i % rungs.size()]);
    }
}

void TestToleranceLadder::text_that_does_not_parse_is_refused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty box") << "";
    QTest::newRow("single blank") << " ";
    QTest::newRow("trailing blank") << "1 ";
    QTest::newRow("letters") << "abc";
    QTest::newRow("second comma") << "1,5,3";
    QTest::newRow("comma after a sign stays a comma") << "-0,5";
    QTest::newRow("garbage within the first 100 characters")
        << QStringLiteral("0,5") + QString(60, QLatin1Char('0')) + QStringLiteral("x");
}

void TestToleranceLadder::text_that_does_not_parse_is_refused()
{
    QFETCH(QString, text);
    QVERIFY(!StepTolerance(text, ToleranceDirection::Up));
    QVERIFY(!StepTolerance(text, ToleranceDirection::Down));
}

QTEST_GUILESS_MAIN(TestToleranceLadder)
#include "tst_tolerance_ladder.moc"
