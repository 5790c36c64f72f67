// Calculate as a core operation: the shown texts of worked pairs, where each
// input is captured, parsed and reported, what a refused or faulted run leaves
// written, and the smaller-wheel decision and check.
#include "calc/calculate.h"
#include "calc/rows.h"

#include <QTest>

using namespace calc;

Q_DECLARE_METATYPE(calc::ArithFault)
Q_DECLARE_METATYPE(calc::Entry)

using Fields = std::array<QString, 4>;
Q_DECLARE_METATYPE(Fields)

namespace {

using Texts = std::array<QString, kInputCount>;
constexpr double kUntouched = -7.0;

int inputIndex(const QString &name) {
    for (int i = 0; i < kInputCount; ++i)
        if (name == QLatin1String(entryName(kInputs[static_cast<std::size_t>(i)].entry)))
            return i;
    qFatal("no input %s", qPrintable(name));
}

// Z1, Fr1, Z2 and Fm as given, every coefficient "1", then "name=text" overrides.
Texts pairTexts(const QString &z1, const QString &fr1, const QString &z2, const QString &fm,
                const QStringList &overrides = {}) {
    Texts t;
    t.fill(QStringLiteral("1"));
    t[InZ1] = z1;
    t[InFr1] = fr1;
    t[InZ2] = z2;
    t[InFm] = fm;
    for (const QString &o : overrides) {
        const qsizetype eq = o.indexOf(QLatin1Char('='));
        t[static_cast<std::size_t>(inputIndex(o.left(eq)))] = o.mid(eq + 1);
    }
    return t;
}

// Each expectation is "entry=text", such as "Fz=1000".
void compareTexts(const CalcOutcome &out, const QStringList &expected) {
    QVERIFY(out.display.has_value());
    for (const QString &e : expected) {
        const qsizetype eq = e.indexOf(QLatin1Char('='));
        const QString entry = e.left(eq);
        int at = -1;
        for (int i = 0; i < kDisplayCount; ++i)
            if (entry == QLatin1String(entryName(kDisplay[static_cast<std::size_t>(i)])))
                at = i;
        QVERIFY2(at >= 0, qPrintable(entry));
        QCOMPARE(QStringLiteral("%1=%2").arg(entry, (*out.display)[static_cast<std::size_t>(at)]),
                 e);
    }
}

PairState untouchedPair() {
    PairState p;
    p.table.values.fill(kUntouched);
    return p;
}

} // namespace

class TestCalculate : public QObject {
    Q_OBJECT

private slots:
    void fm_rules_around_a_run_data();
    void fm_rules_around_a_run();
    void worked_pairs_show_their_result_texts_data();
    void worked_pairs_show_their_result_texts();
    void each_input_is_captured_parsed_and_reported_in_its_place_data();
    void each_input_is_captured_parsed_and_reported_in_its_place();
    void captured_text_is_cut_to_fifty_characters_before_parsing_data();
    void captured_text_is_cut_to_fifty_characters_before_parsing();
    void refused_input_writes_captures_and_keeps_earlier_results_data();
    void refused_input_writes_captures_and_keeps_earlier_results();
    void arithmetic_fault_abandons_run_at_failing_operation_data();
    void arithmetic_fault_abandons_run_at_failing_operation();
    void rounding_fault_leaves_later_texts_unrounded_data();
    void rounding_fault_leaves_later_texts_unrounded();
    void automatic_mode_takes_smaller_wheel_from_teeth_counts_data();
    void automatic_mode_takes_smaller_wheel_from_teeth_counts();
    void manual_mode_refuses_chosen_wheel_contradicting_teeth_data();
    void manual_mode_refuses_chosen_wheel_contradicting_teeth();
    void fields_count_as_calculated_while_they_hold_what_was_calculated_data();
    void fields_count_as_calculated_while_they_hold_what_was_calculated();
};

void TestCalculate::worked_pairs_show_their_result_texts_data() {
    QTest::addColumn<QStringList>("pair"); // Z1, Fr1, Z2, Fm
    QTest::addColumn<int>("factor");
    QTest::addColumn<QStringList>("overrides");
    QTest::addColumn<QStringList>("expected");
    const QStringList base{"40", "25", "80", "0"};
    const QStringList fm100{"40", "25", "80", "100"};

    QTest::newRow("40 25 80, Fm 0: all 27 texts") << base << 1 << QStringList{}
                                                  << QStringList{"Fz=1000",
                                                                 "GearRatio=2",
                                                                 "FzX2=2000",
                                                                 "FzX3=3000",
                                                                 "FzHalf=500",
                                                                 "FzThird=333,333333333333",
                                                                 "Fr1=25",
                                                                 "Fr1X2=50",
                                                                 "Fr1X3=75",
                                                                 "Fr1Half=12,5",
                                                                 "Fr1Third=8,33333333333333",
                                                                 "Fr2=12,5",
                                                                 "Fr2X2=25",
                                                                 "Fr2X3=37,5",
                                                                 "Fr2Half=6,25",
                                                                 "Fr2Third=4,16666666666667",
                                                                 "FzPlusFr1=1025",
                                                                 "FzMinusFr1=975",
                                                                 "FzPlusFr2=1012,5",
                                                                 "FzMinusFr2=987,5",
                                                                 "FmPlusFr1=25",
                                                                 "FmMinusFr1=-25",
                                                                 "FmPlusFr2=12,5",
                                                                 "FmMinusFr2=-12,5",
                                                                 "Fr1TimesFr2=312,5",
                                                                 "Fr1PlusFr2=37,5",
                                                                 "FrDifference=12,5"};
    QTest::newRow("40 25 80, Fm 100: the Fm rows")
        << fm100 << 1 << QStringList{}
        << QStringList{"FmPlusFr1=125", "FmMinusFr1=75", "FmPlusFr2=112,5", "FmMinusFr2=87,5"};
    QStringList k1Is2k2Is3;
    for (const InputSpec &in : kInputs) {
        const QString name = QLatin1String(entryName(in.entry));
        if (name.endsWith(QLatin1String("_k1")))
            k1Is2k2Is3 << name + QStringLiteral("=2");
        else if (name.endsWith(QLatin1String("_k2")))
            k1Is2k2Is3 << name + QStringLiteral("=3");
    }
    QTest::newRow("k1 2 and k2 3 in every row")
        << fm100 << 1 << k1Is2k2Is3
        << QStringList{"FzPlusFr1=2075",    "FzMinusFr1=1925",  "FzPlusFr2=2037,5",
                       "FzMinusFr2=1962,5", "Fr1TimesFr2=1875", "Fr1PlusFr2=87,5",
                       "FrDifference=12,5", "FmPlusFr1=275",    "FmMinusFr1=125",
                       "FmPlusFr2=237,5",   "FmMinusFr2=162,5"};
    QTest::newRow("coefficient -1 turns a sum into a difference")
        << base << 1 << QStringList{"FzPlusFr1_k2=-1"} << QStringList{"FzPlusFr1=975"};
    QTest::newRow("coefficient with decimal comma")
        << base << 1 << QStringList{"FzPlusFr1_k1=0,5"} << QStringList{"FzPlusFr1=525"};
    QTest::newRow("Fr1 with decimal comma")
        << QStringList{"40", "24,6", "80", "0"} << 1 << QStringList{}
        << QStringList{"Fr1=24,6", "Fz=984", "Fr2=12,3"};
    QTest::newRow("Fr1 with decimal point")
        << QStringList{"40", "24.6", "80", "0"} << 1 << QStringList{}
        << QStringList{"Fr1=24,6", "Fz=984", "Fr2=12,3"};
    QTest::newRow("teeth text 05 reads 5")
        << QStringList{"05", "25", "80", "0"} << 1 << QStringList{} << QStringList{"Fz=125"};
    QTest::newRow("Fm 00 computes its rows from zero")
        << QStringList{"40", "25", "80", "00"} << 1 << QStringList{}
        << QStringList{"FmPlusFr1=25", "FmMinusFr2=-12,5"};
    QTest::newRow("two decimals: Fz 1234,5678")
        << QStringList{"1", "1234,5678", "2", "0"} << 100 << QStringList{}
        << QStringList{"Fz=1234,57", "Fr1=1234,57", "Fr2=617,28"};
    QTest::newRow("two decimals: tie 0,125 to even")
        << QStringList{"1", "0,125", "1", "0"} << 100 << QStringList{}
        << QStringList{"Fz=0,12", "GearRatio=1", "Fr2=0,12", "Fr1Half=0,06"};
}

void TestCalculate::worked_pairs_show_their_result_texts() {
    QFETCH(QStringList, pair);
    QFETCH(int, factor);
    QFETCH(QStringList, overrides);
    QFETCH(QStringList, expected);
    PairState state;
    SmallerWheelState wheel;
    const CalcOutcome out =
        Calculate(state, wheel, pairTexts(pair[0], pair[1], pair[2], pair[3], overrides), factor);
    QCOMPARE(out.result, CalcResult::Success);
    QVERIFY(!out.fault);
    compareTexts(out, expected);
    QCOMPARE(state.pairCalculated(), 1);
}

void TestCalculate::each_input_is_captured_parsed_and_reported_in_its_place_data() {
    QTest::addColumn<int>("input");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("tableNumber"); // 1-based place in the frequency table
    QTest::addColumn<int>("statusIndex");
    QTest::newRow("Z1") << 0 << "Z1" << 1 << 0;
    QTest::newRow("Fr1") << 1 << "Fr1" << 2 << 1;
    QTest::newRow("Z2") << 2 << "Z2" << 3 << 2;
    QTest::newRow("Fm") << 3 << "Fm" << 4 << 3;
    QTest::newRow("FzPlusFr1_k1") << 4 << "FzPlusFr1_k1" << 31 << 4;
    QTest::newRow("FzPlusFr1_k2") << 5 << "FzPlusFr1_k2" << 32 << 5;
    QTest::newRow("FzMinusFr1_k1") << 6 << "FzMinusFr1_k1" << 39 << 6;
    QTest::newRow("FzMinusFr1_k2") << 7 << "FzMinusFr1_k2" << 40 << 7;
    QTest::newRow("FzPlusFr2_k1") << 8 << "FzPlusFr2_k1" << 33 << 8;
    QTest::newRow("FzPlusFr2_k2") << 9 << "FzPlusFr2_k2" << 34 << 9;
    QTest::newRow("FzMinusFr2_k1") << 10 << "FzMinusFr2_k1" << 41 << 10;
    QTest::newRow("FzMinusFr2_k2") << 11 << "FzMinusFr2_k2" << 42 << 11;
    QTest::newRow("Fr1TimesFr2_k1") << 12 << "Fr1TimesFr2_k1" << 47 << 20;
    QTest::newRow("Fr1TimesFr2_k2") << 13 << "Fr1TimesFr2_k2" << 48 << 21;
    QTest::newRow("Fr1PlusFr2_k1") << 14 << "Fr1PlusFr2_k1" << 49 << 22;
    QTest::newRow("Fr1PlusFr2_k2") << 15 << "Fr1PlusFr2_k2" << 50 << 23;
    QTest::newRow("FrDifference_k1") << 16 << "FrDifference_k1" << 52 << 25;
    QTest::newRow("FrDifference_k2") << 17 << "FrDifference_k2" << 51 << 24;
    QTest::newRow("FmPlusFr1_k1") << 18 << "FmPlusFr1_k1" << 35 << 12;
    QTest::newRow("FmPlusFr1_k2") << 19 << "FmPlusFr1_k2" << 36 << 13;
    QTest::newRow("FmMinusFr1_k1") << 20 << "FmMinusFr1_k1" << 43 << 14;
    QTest::newRow("FmMinusFr1_k2") << 21 << "FmMinusFr1_k2" << 44 << 15;
    QTest::newRow("FmPlusFr2_k1") << 22 << "FmPlusFr2_k1" << 37 << 16;
    QTest::newRow("FmPlusFr2_k2") << 23 << "FmPlusFr2_k2" << 38 << 17;
    QTest::newRow("FmMinusFr2_k1") << 24 << "FmMinusFr2_k1" << 45 << 18;
    QTest::newRow("FmMinusFr2_k2") << 25 << "FmMinusFr2_k2" << 46 << 19;
}

void TestCalculate::each_input_is_captured_parsed_and_reported_in_its_place() {
    QFETCH(int, input);
    QFETCH(QString, entry);
    QFETCH(int, tableNumber);
    QFETCH(int, statusIndex);
    const auto at = static_cast<std::size_t>(input);
    QCOMPARE(QLatin1String(entryName(kInputs[at].entry)), entry);

    PairState pair;
    SmallerWheelState wheel;
    Texts texts = pairTexts(QStringLiteral("40"), QStringLiteral("25"), QStringLiteral("80"),
                            QStringLiteral("100"));
    texts[at] = QStringLiteral("7,5");
    QCOMPARE(Calculate(pair, wheel, texts, 1).result, CalcResult::Success);
    QCOMPARE(pair.inputTexts[at], QStringLiteral("7.5"));
    QCOMPARE(pair.table.values[static_cast<std::size_t>(tableNumber - 1)], 7.5);

    texts[at] = QStringLiteral("7,5x");
    CalcOutcome out = Calculate(pair, wheel, texts, 1);
    QCOMPARE(out.result, CalcResult::InputNotice);
    QCOMPARE(out.refusal, (InputRefusal{input, InputRefusal::NotANumber}));
    QCOMPARE(pair.inputTexts[at], QStringLiteral("7.5x"));
    for (int i = 0; i < kInputCount; ++i)
        QCOMPARE(pair.parseStatus[static_cast<std::size_t>(i)], i == statusIndex ? 4 : 0);

    // An empty text says so; a later refusal does not hide an earlier one.
    texts[at].clear();
    texts[kInputCount - 1] = QStringLiteral("x");
    out = Calculate(pair, wheel, texts, 1);
    const bool last = input == kInputCount - 1;
    QCOMPARE(out.refusal,
             (InputRefusal{input, last ? InputRefusal::NotANumber : InputRefusal::Empty}));
}

void TestCalculate::captured_text_is_cut_to_fifty_characters_before_parsing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("captured");
    QTest::addColumn<int>("status");
    const QString ones(49, QLatin1Char('1'));
    QTest::newRow("junk after fifty characters is never read")
        << QStringLiteral("2") + QString(49, QLatin1Char('0')) + QStringLiteral("junk")
        << QStringLiteral("2") + QString(49, QLatin1Char('0')) << 0;
    QTest::newRow("comma as fiftieth character becomes a point")
        << ones + QStringLiteral(",5") << ones + QStringLiteral(".") << 0;
    QTest::newRow("bad fiftieth character stops parsing there")
        << ones + QStringLiteral("x5") << ones + QStringLiteral("x") << 50;
}

void TestCalculate::captured_text_is_cut_to_fifty_characters_before_parsing() {
    QFETCH(QString, text);
    QFETCH(QString, captured);
    QFETCH(int, status);
    PairState pair;
    SmallerWheelState wheel;
    const CalcOutcome out =
        Calculate(pair, wheel, pairTexts("40", "25", "80", "0", {"FrDifference_k2=" + text}), 1);
    QCOMPARE(out.result, status == 0 ? CalcResult::Success : CalcResult::InputNotice);
    QCOMPARE(pair.inputTexts[17], captured);
    QCOMPARE(pair.parseStatus[24], status);
    if (status == 0)
        QCOMPARE(pair.table[Entry::FrDifference_k2], captured.toDouble());
}

void TestCalculate::refused_input_writes_captures_and_keeps_earlier_results_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("captured");
    QTest::addColumn<int>("status");
    QTest::addColumn<double>("parsed");
    const auto row = [](const char *name, const char *input, const char *text, const char *captured,
                        int status, double parsed) {
        QTest::newRow(name) << QString::fromLatin1(input) << QString::fromLatin1(text)
                            << QString::fromLatin1(captured) << status << parsed;
    };
    row("empty coefficient", "FzPlusFr1_k2", "", "", 1, 0.0);
    row("coefficient with two commas", "FzMinusFr1_k1", "2,5,1", "2.5,1", 4, 0.0);
    row("comma after a sign", "Fr1", "-1,5", "-1,5", 3, 0.0);
    row("coefficient of spaces", "Fr1TimesFr2_k2", "  ", "  ", 3, 0.0);
    row("Fm with trailing space", "Fm", "100 ", "100 ", 4, 0.0);
    row("Z1 beyond double range", "Z1", "1e400", "1e400", 1, 0.0);
    row("Z2 beyond double range after spaces", "Z2", "  1e400", "  1e400", 3, 0.0);
    row("negative Z1 fails the text check", "Z1", "-40", "-40", 0, -40.0);
    row("Fr1 with leading space", "Fr1", " 25", " 25", 0, 25.0);
    row("Z2 with plus sign", "Z2", "+80", "+80", 0, 80.0);
    row("Z1 with leading comma", "Z1", ",5", ".5", 0, 0.5);
    row("Z2 exactly 0", "Z2", "0", "0", 0, 0.0);
    row("negative Fm", "Fm", "-1", "-1", 0, -1.0);
    row("Fm with leading point", "Fm", ".5", ".5", 0, 0.5);
}

void TestCalculate::refused_input_writes_captures_and_keeps_earlier_results() {
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(QString, captured);
    QFETCH(int, status);
    QFETCH(double, parsed);
    PairState pair;
    SmallerWheelState wheel;
    QCOMPARE(Calculate(pair, wheel, pairTexts("40", "25", "80", "0"), 1).result,
             CalcResult::Success);
    pair.clearCalculated(); // as moving to another pair leaves it

    // Z1 above Z2 would turn the indicator to "2" had the run got that far.
    const CalcOutcome out =
        Calculate(pair, wheel,
                  pairTexts("90", "20", "30", "0", {"FrDifference_k1=2,5", input + "=" + text}), 1);
    QCOMPARE(out.result, CalcResult::InputNotice);
    QVERIFY(!out.fault);
    QVERIFY(!out.display);
    QCOMPARE(pair.pairCalculated(), 0);
    QCOMPARE(wheel.smallerWheel, QStringLiteral("1"));
    QVERIFY(!wheel.mainRowFr2First);
    QVERIFY(!wheel.variantsFr2First);

    const auto at = static_cast<std::size_t>(inputIndex(input));
    QCOMPARE(pair.inputTexts[at], captured);
    QCOMPARE(pair.inputTexts[16], QStringLiteral("2.5"));
    QCOMPARE(pair.table[Entry::FrDifference_k1], 2.5);
    QCOMPARE(pair.parseStatus[static_cast<std::size_t>(kInputs[at].parseStatusIndex)], status);
    if (status == 0)
        QCOMPARE(pair.table[kInputs[at].entry], parsed);
    if (input != QLatin1String("Z1"))
        QCOMPARE(pair.table[Entry::Z1], 90.0);
    // The computed entries still belong to the earlier run.
    QCOMPARE(pair.table[Entry::Fz], 1000.0);
    QCOMPARE(pair.table[Entry::GearRatio], 2.0);
    QCOMPARE(pair.table[Entry::FrDifference], 12.5);
}

void TestCalculate::arithmetic_fault_abandons_run_at_failing_operation_data() {
    QTest::addColumn<QStringList>("pair"); // Z1, Fr1, Z2
    QTest::addColumn<QStringList>("overrides");
    QTest::addColumn<ArithFault>("fault");
    QTest::addColumn<QString>("indicator");
    QTest::addColumn<Entry>("written");
    QTest::addColumn<double>("writtenValue");
    QTest::addColumn<Entry>("untouched");
    const QStringList base{"40", "25", "80"};
    const auto div0 = ArithFault::DivisionByZero;
    const auto overflow = ArithFault::Overflow;

    QTest::newRow("Z1 typed 00 divides Z2 by zero")
        << QStringList{"00", "25", "80"} << QStringList{} << div0 << "1" << Entry::Fr1X2 << 50.0
        << Entry::GearRatio;
    QTest::newRow("Z2 typed 00 divides Z1 by zero")
        << QStringList{"40", "25", "00"} << QStringList{} << div0 << "2" << Entry::Fz << 1000.0
        << Entry::GearRatio;
    QTest::newRow("both teeth zero divide zero by zero")
        << QStringList{"00", "25", "0,0"} << QStringList{} << ArithFault::InvalidOperation << ""
        << Entry::Fz << 0.0 << Entry::GearRatio;
    QTest::newRow("Fz overflows before the wheel is decided")
        << QStringList{"1e300", "1e10", "80"} << QStringList{} << overflow << "1" << Entry::Fr1
        << 1e10 << Entry::Fz;
    QTest::newRow("doubled Fz overflows") << QStringList{"1e308", "1", "80"} << QStringList{}
                                          << overflow << "1" << Entry::Fz << 1e308 << Entry::FzX2;
    QTest::newRow("gear ratio overflows")
        << QStringList{"1e-10", "25", "1e300"} << QStringList{} << overflow << "1" << Entry::Fr1X2
        << 50.0 << Entry::GearRatio;
    QTest::newRow("difference row overflows after Fr2 harmonics")
        << base << QStringList{"FrDifference_k1=1e307"} << overflow << "1" << Entry::Fr2X3 << 37.5
        << Entry::FrDifference;
    QTest::newRow("first sum row overflows after the difference row")
        << base << QStringList{"FzPlusFr1_k1=1e307"} << overflow << "1" << Entry::FrDifference
        << 12.5 << Entry::FzPlusFr1;
    QTest::newRow("sum of two finite products overflows")
        << base << QStringList{"FzPlusFr1_k1=1.7e305", "FzPlusFr1_k2=6.8e306"} << overflow << "1"
        << Entry::FrDifference << 12.5 << Entry::FzPlusFr1;
    QTest::newRow("product row overflows after the Fz rows")
        << base << QStringList{"Fr1TimesFr2_k1=1e307"} << overflow << "1" << Entry::FzMinusFr2
        << 987.5 << Entry::Fr1TimesFr2;
    QTest::newRow("Fm row overflows after the product row")
        << base << QStringList{"FmMinusFr1_k2=1e307"} << overflow << "1" << Entry::FmPlusFr1 << 25.0
        << Entry::FmMinusFr1;
    QTest::newRow("last row overflows after the Fm rows")
        << base << QStringList{"Fr1PlusFr2_k2=1e308"} << overflow << "1" << Entry::FmMinusFr2
        << -12.5 << Entry::Fr1PlusFr2;
}

void TestCalculate::arithmetic_fault_abandons_run_at_failing_operation() {
    QFETCH(QStringList, pair);
    QFETCH(QStringList, overrides);
    QFETCH(ArithFault, fault);
    QFETCH(QString, indicator);
    QFETCH(Entry, written);
    QFETCH(double, writtenValue);
    QFETCH(Entry, untouched);
    PairState state = untouchedPair();
    SmallerWheelState wheel;
    const CalcOutcome out =
        Calculate(state, wheel, pairTexts(pair[0], pair[1], pair[2], "0", overrides), 100);
    QCOMPARE(out.result, CalcResult::Fault);
    QCOMPARE(out.fault, std::optional(fault));
    QVERIFY(!out.display);
    QCOMPARE(state.pairCalculated(), 0);
    QCOMPARE(wheel.smallerWheel, indicator);
    // Labels start Fr1 first; only a decided wheel 2 turns them.
    QCOMPARE(wheel.mainRowFr2First, indicator == QLatin1String("2"));
    QCOMPARE(wheel.variantsFr2First, indicator == QLatin1String("2"));
    QCOMPARE(state.table[written], writtenValue);
    QCOMPARE(state.table[untouched], kUntouched);
}

void TestCalculate::rounding_fault_leaves_later_texts_unrounded_data() {
    QTest::addColumn<int>("factor");
    QTest::addColumn<bool>("faults");
    QTest::addColumn<QStringList>("expected");
    // Fr1TimesFr2 is the first shown value too large for two decimals.
    QTest::newRow("two decimals: fault at the product row")
        << 100 << true << QStringList{"Fr1=0,12",          "Fr2=0,06",
                                      "FmMinusFr2=-0,06",  "Fr1TimesFr2=7,5645E17",
                                      "Fr1PlusFr2=0,1845", "FrDifference=0,0615"};
    QTest::newRow("no rounding: no fault, every text unrounded")
        << 1 << false << QStringList{"Fr1=0,123",          "Fr2=0,0615",
                                     "FmMinusFr2=-0,0615", "Fr1TimesFr2=7,5645E17",
                                     "Fr1PlusFr2=0,1845",  "FrDifference=0,0615"};
}

void TestCalculate::rounding_fault_leaves_later_texts_unrounded() {
    QFETCH(int, factor);
    QFETCH(bool, faults);
    QFETCH(QStringList, expected);
    PairState pair;
    SmallerWheelState wheel;
    const CalcOutcome out = Calculate(
        pair, wheel, pairTexts("40", "0,123", "80", "0", {"Fr1TimesFr2_k1=1e20"}), factor);
    QCOMPARE(out.result, faults ? CalcResult::Fault : CalcResult::Success);
    QCOMPARE(out.fault, faults ? std::optional(ArithFault::RoundingRange) : std::nullopt);
    compareTexts(out, expected);
    QCOMPARE(pair.pairCalculated(), faults ? 0 : 1);
}

void TestCalculate::automatic_mode_takes_smaller_wheel_from_teeth_counts_data() {
    QTest::addColumn<QStringList>("teeth"); // Z1, Z2
    QTest::addColumn<QString>("frDiffK1");
    QTest::addColumn<bool>("labelsBefore"); // Fr2 first in both places before the run
    QTest::addColumn<QString>("indicator");
    QTest::addColumn<bool>("labelsAfter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("wheel 1 smaller") << QStringList{"40", "80"} << "1" << true << "1" << false
                                     << QStringList{"GearRatio=2", "Fr2=12,5", "FrDifference=12,5"};
    QTest::newRow("wheel 2 smaller: Fr2 leads the difference")
        << QStringList{"80", "40"} << "1" << false << "2" << true
        << QStringList{"GearRatio=2", "Fr2=50", "FrDifference=25"};
    QTest::newRow("wheel 1 smaller, difference k1 2")
        << QStringList{"40", "80"} << "2" << false << "1" << false
        << QStringList{"FrDifference=37,5"};
    QTest::newRow("wheel 2 smaller, difference k1 2")
        << QStringList{"80", "40"} << "2" << false << "2" << true << QStringList{"FrDifference=75"};
    QTest::newRow("fractional teeth counts") << QStringList{"20,5", "41"} << "1" << false << "1"
                                             << false << QStringList{"GearRatio=2", "Fr2=12,5"};
    QTest::newRow("equal counts empty the indicator, keep Fr2-first labels")
        << QStringList{"30", "30"} << "1" << true << "" << true
        << QStringList{"GearRatio=1", "Fr2=25", "FrDifference=0"};
    QTest::newRow("equal counts empty the indicator, keep Fr1-first labels")
        << QStringList{"30", "30"} << "1" << false << "" << false
        << QStringList{"GearRatio=1", "Fr2=25", "FrDifference=0"};
}

void TestCalculate::automatic_mode_takes_smaller_wheel_from_teeth_counts() {
    QFETCH(QStringList, teeth);
    QFETCH(QString, frDiffK1);
    QFETCH(bool, labelsBefore);
    QFETCH(QString, indicator);
    QFETCH(bool, labelsAfter);
    QFETCH(QStringList, expected);
    PairState pair;
    SmallerWheelState wheel;
    wheel.smallerWheel = labelsBefore ? QStringLiteral("2") : QStringLiteral("1");
    wheel.mainRowFr2First = labelsBefore;
    wheel.variantsFr2First = labelsBefore;
    const CalcOutcome out = Calculate(
        pair, wheel, pairTexts(teeth[0], "25", teeth[1], "0", {"FrDifference_k1=" + frDiffK1}), 1);
    QCOMPARE(out.result, CalcResult::Success);
    QCOMPARE(wheel.smallerWheel, indicator);
    QCOMPARE(wheel.mainRowFr2First, labelsAfter);
    QCOMPARE(wheel.variantsFr2First, labelsAfter);
    QCOMPARE(wheel.mode, QStringLiteral("1"));
    compareTexts(out, expected);
}

void TestCalculate::manual_mode_refuses_chosen_wheel_contradicting_teeth_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("z1");
    QTest::addColumn<QString>("z2");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("fr2Text");
    const auto row = [](const char *name, const char *chosen, const char *z1, const char *z2,
                        bool refused, const char *fr2Text) {
        QTest::newRow(name) << QString::fromLatin1(chosen) << QString::fromLatin1(z1)
                            << QString::fromLatin1(z2) << refused << QString::fromLatin1(fr2Text);
    };
    row("wheel 1 chosen, wheel 1 smaller", "1", "40", "80", false, "12,5");
    row("wheel 1 chosen, wheel 2 smaller", "1", "80", "40", true, "");
    row("wheel 2 chosen, wheel 2 smaller", "2", "80", "40", false, "50");
    row("wheel 2 chosen, wheel 1 smaller", "2", "40", "80", true, "");
    row("empty indicator counts as wheel 1", "", "80", "40", true, "");
    row("empty indicator, wheel 1 smaller", "", "40", "80", false, "12,5");
    row("equal counts pass wheel 1", "1", "30", "30", false, "25");
    row("equal counts pass wheel 2", "2", "30", "30", false, "25");
}

void TestCalculate::manual_mode_refuses_chosen_wheel_contradicting_teeth() {
    QFETCH(QString, chosen);
    QFETCH(QString, z1);
    QFETCH(QString, z2);
    QFETCH(bool, refused);
    QFETCH(QString, fr2Text);
    PairState pair = untouchedPair();
    SmallerWheelState wheel;
    wheel.mode = QStringLiteral("2");
    wheel.smallerWheel = chosen;
    // Labels that disagree with the choice: manual mode never touches them.
    wheel.mainRowFr2First = true;
    wheel.variantsFr2First = false;
    const CalcOutcome out = Calculate(pair, wheel, pairTexts(z1, "25", z2, "0"), 1);
    QCOMPARE(wheel.smallerWheel, chosen);
    QCOMPARE(wheel.mainRowFr2First, true);
    QCOMPARE(wheel.variantsFr2First, false);
    if (!refused) {
        QCOMPARE(out.result, CalcResult::Success);
        compareTexts(out, {"Fr2=" + fr2Text});
        return;
    }
    QCOMPARE(out.result, CalcResult::SmallerWheelNotice);
    QVERIFY(!out.fault);
    QVERIFY(!out.display);
    QCOMPARE(pair.pairCalculated(), 0);
    // Fz and the harmonics of Fz and Fr1 are in; nothing of the wheel step is.
    QCOMPARE(pair.table[Entry::Fz], pair.table[Entry::Z1] * 25);
    QCOMPARE(pair.table[Entry::FzThird], pair.table[Entry::Z1] * 25 / 3);
    QCOMPARE(pair.table[Entry::Fr1Third], 25.0 / 3);
    QCOMPARE(pair.table[Entry::GearRatio], kUntouched);
    QCOMPARE(pair.table[Entry::Fr2], kUntouched);
    QCOMPARE(pair.table[Entry::FrDifference], kUntouched);
}

void TestCalculate::fm_rules_around_a_run_data() {
    QTest::addColumn<QString>("fmEdit");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("resets"); // "entry=text", results marked "result:"
    const QStringList allFmRows = {
        "FmPlusFr1_k1=1",    "FmPlusFr1_k2=1",     "result:FmPlusFr1=", "FmMinusFr1_k1=1",
        "FmMinusFr1_k2=1",   "result:FmMinusFr1=", "FmPlusFr2_k1=1",    "FmPlusFr2_k2=1",
        "result:FmPlusFr2=", "FmMinusFr2_k1=1",    "FmMinusFr2_k2=1",   "result:FmMinusFr2="};
    QTest::newRow("empty Fm becomes 0 and blanks the Fm rows") << ""
                                                               << "0" << allFmRows;
    QTest::newRow("Fm 0 blanks the Fm rows") << "0"
                                             << "0" << allFmRows;
    QTest::newRow("Fm 0.0 is not exactly 0") << "0.0"
                                             << "0.0" << QStringList{};
    QTest::newRow("Fm 00 is not exactly 0") << "00"
                                            << "00" << QStringList{};
    QTest::newRow("Fm 100 keeps its rows") << "100"
                                           << "100" << QStringList{};
    QTest::newRow("a blank is not empty") << " "
                                          << " " << QStringList{};
}

void TestCalculate::fm_rules_around_a_run() {
    QFETCH(QString, fmEdit);
    QFETCH(QString, before);
    QFETCH(QStringList, resets);
    const QString fm = fmTextBeforeCalculation(fmEdit);
    QCOMPARE(fm, before);
    QStringList got;
    for (const EntryWrite &w : fmRowResets(fm))
        got << (w.result ? QStringLiteral("result:") : QString()) +
                   QLatin1String(entryName(w.entry)) + QLatin1Char('=') + w.text;
    QCOMPARE(got, resets);
}

void TestCalculate::fields_count_as_calculated_while_they_hold_what_was_calculated_data() {
    QTest::addColumn<bool>("flagCleared");
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<bool>("calculated");
    QTest::newRow("as calculated") << false << Fields{"13", "22,5", "35", "0"} << true;
    QTest::newRow("the comma rule reads a point as the comma")
        << false << Fields{"13", "22.5", "35", "0"} << true;
    QTest::newRow("flag cleared by a move") << true << Fields{"13", "22,5", "35", "0"} << false;
    QTest::newRow("blanked by a new aggregate") << false << Fields{"", "0", "0", "0"} << false;
    QTest::newRow("Z2 edited after the calculation")
        << false << Fields{"13", "22,5", "36", "0"} << false;
    QTest::newRow("past 50 characters nothing counts")
        << false << Fields{"13", "22,5", "35", QString(50, QChar(u'0')) + "7"} << true;
}

void TestCalculate::fields_count_as_calculated_while_they_hold_what_was_calculated() {
    QFETCH(bool, flagCleared);
    QFETCH(Fields, fields);
    PairState pair;
    SmallerWheelState wheel;
    const QString fm = fields[3].size() > 50 ? fields[3] : QStringLiteral("0");
    QCOMPARE(Calculate(pair, wheel, pairTexts("13", "22,5", "35", fm), 1).result,
             CalcResult::Success);
    if (flagCleared)
        pair.clearCalculated();
    QTEST(fieldsCalculated(pair, fields), "calculated");
}

QTEST_GUILESS_MAIN(TestCalculate)
#include "tst_calculate.moc"
