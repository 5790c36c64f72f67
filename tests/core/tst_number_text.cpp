// Numbers as text: the comma rule, the number syntax and its error positions,
// the general decimal form, RoundToPrecision and the comparison with "0".
#include "calc/number_text.h"

#include <QTest>
#include <cmath>

using namespace calc;

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void comma_rule_converts_only_the_comma_ending_the_leading_digits_data();
    void comma_rule_converts_only_the_comma_ending_the_leading_digits();
    void number_syntax_reads_value_or_stop_position_data();
    void number_syntax_reads_value_or_stop_position();
    void general_decimal_form_writes_fifteen_digits_with_comma_data();
    void general_decimal_form_writes_fifteen_digits_with_comma();
    void round_to_precision_rounds_half_to_even_data();
    void round_to_precision_rounds_half_to_even();
    void rounding_beyond_signed_64_bit_range_is_a_fault_data();
    void rounding_beyond_signed_64_bit_range_is_a_fault();
    void text_compares_with_zero_bytewise_data();
    void text_compares_with_zero_bytewise();
};

void TestNumberText::comma_rule_converts_only_the_comma_ending_the_leading_digits_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *text, const char *expected) {
        QTest::newRow(name) << QString::fromLatin1(text) << QString::fromLatin1(expected);
    };
    row("comma after digits", "12,5", "12.5");
    row("leading comma", ",5", ".5");
    row("comma at the end", "12,", "12.");
    row("lone comma", ",", ".");
    row("sign before the comma", "-1,5", "-1,5");
    row("space before the comma", " 1,5", " 1,5");
    row("only the first of two commas", "1,5,3", "1.5,3");
    row("point is left alone", "1.5", "1.5");
    row("all digits", "123", "123");
    row("empty", "", "");
}

void TestNumberText::comma_rule_converts_only_the_comma_ending_the_leading_digits() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(applyCommaRule(text), expected);
}

void TestNumberText::number_syntax_reads_value_or_stop_position_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << "" << 1 << 0.0;
    QTest::newRow("spaces only stop after the end") << "   " << 4 << 0.0;
    QTest::newRow("lone plus") << "+" << 2 << 0.0;
    QTest::newRow("lone minus after spaces") << "  -" << 4 << 0.0;
    QTest::newRow("lone point reads 0") << "." << 0 << 0.0;
    QTest::newRow("exponent without mantissa reads 0") << "e5" << 0 << 0.0;
    QTest::newRow("signed point and exponent read 0") << "-.E-3" << 0 << 0.0;
    QTest::newRow("leading spaces and sign") << "  -12.5" << 0 << -12.5;
    QTest::newRow("plus sign") << "+12.5" << 0 << 12.5;
    QTest::newRow("no digits after point") << "12." << 0 << 12.0;
    QTest::newRow("no digits before point") << ".5" << 0 << 0.5;
    QTest::newRow("exponent with minus") << "1.5E-5" << 0 << 1.5e-5;
    QTest::newRow("exponent with plus") << "2e+3" << 0 << 2000.0;
    QTest::newRow("largest double") << "1.7976931348623157e308" << 0 << 1.7976931348623157e308;
    QTest::newRow("trailing space") << "12 " << 3 << 0.0;
    QTest::newRow("space inside") << "1 2" << 2 << 0.0;
    QTest::newRow("second point") << "1.2.3" << 4 << 0.0;
    QTest::newRow("comma is not a separator") << "12,5" << 3 << 0.0;
    QTest::newRow("two signs") << "+-1" << 2 << 0.0;
    QTest::newRow("exponent without digits") << "1e" << 3 << 0.0;
    QTest::newRow("exponent sign without digits") << "1e+" << 4 << 0.0;
    QTest::newRow("letter after exponent sign") << "1E-x" << 4 << 0.0;
    QTest::newRow("space after exponent") << "1e5 " << 4 << 0.0;
    QTest::newRow("point after exponent") << "1e5.3" << 4 << 0.0;
    QTest::newRow("cyrillic e is no exponent") << QString::fromUtf8("1е5") << 2 << 0.0;
    QTest::newRow("hexadecimal is refused") << "0x10" << 2 << 0.0;
    QTest::newRow("inf is refused") << "inf" << 1 << 0.0;
    QTest::newRow("nan is refused") << "nan" << 1 << 0.0;
    QTest::newRow("beyond double range") << "1e400" << 1 << 0.0;
    QTest::newRow("beyond double range after spaces") << "  1e400" << 3 << 0.0;
    QTest::newRow("negative beyond range points at sign") << "  -1e400" << 3 << 0.0;
    QTest::newRow("long mantissa beyond range") << QString(400, QLatin1Char('9')) << 1 << 0.0;
}

void TestNumberText::number_syntax_reads_value_or_stop_position() {
    QFETCH(QString, text);
    QFETCH(int, status);
    QFETCH(double, value);
    const ParsedNumber p = parseNumber(text);
    QCOMPARE(p.status, status);
    if (status == 0)
        QCOMPARE(p.value, value);
}

void TestNumberText::general_decimal_form_writes_fifteen_digits_with_comma_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("integer") << 1000.0 << "1000";
    QTest::newRow("comma separator") << 12.5 << "12,5";
    QTest::newRow("negative") << -12.5 << "-12,5";
    QTest::newRow("no trailing zeros") << 1.1 << "1,1";
    QTest::newRow("sum rounded to 15 digits") << 0.1 + 0.2 << "0,3";
    QTest::newRow("thousand thirds") << 1000.0 / 3 << "333,333333333333";
    QTest::newRow("last digit rounds up") << 2.0 / 3 << "0,666666666666667";
    QTest::newRow("smallest fixed magnitude") << 0.0001 << "0,0001";
    QTest::newRow("negative small fixed") << -0.00012345 << "-0,00012345";
    QTest::newRow("just below fixed range") << 0.00009 << "9E-5";
    QTest::newRow("exponent with fraction") << 0.000015 << "1,5E-5";
    QTest::newRow("negative exponent form") << -1.5e-5 << "-1,5E-5";
    QTest::newRow("largest fixed") << 999999999999999.0 << "999999999999999";
    QTest::newRow("fixed with zeros to fill") << 1e14 << "100000000000000";
    QTest::newRow("sixteenth digit rounded away") << 123456789012345.6 << "123456789012346";
    QTest::newRow("rounding up to 1E15") << 999999999999999.9 << "1E15";
    QTest::newRow("1E15") << 1e15 << "1E15";
    QTest::newRow("large with fraction digits") << 1.25e20 << "1,25E20";
    QTest::newRow("three digit exponent") << 1e300 << "1E300";
    QTest::newRow("smallest subnormal") << 5e-324 << "4,94065645841247E-324";
}

void TestNumberText::general_decimal_form_writes_fifteen_digits_with_comma() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(generalDecimal(value), expected);
}

void TestNumberText::round_to_precision_rounds_half_to_even_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("factor");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two decimals keep 12,5") << 12.5 << 100 << "12,5";
    QTest::newRow("two decimals of 1234,5678") << 1234.5678 << 100 << "1234,57";
    QTest::newRow("tie 0,125 goes down to even") << 0.125 << 100 << "0,12";
    QTest::newRow("tie 0,375 goes up to even") << 0.375 << 100 << "0,38";
    QTest::newRow("negative tie goes to even") << -0.125 << 100 << "-0,12";
    QTest::newRow("rounds up to an integer") << 12.999 << 100 << "13";
    QTest::newRow("small negative rounds to plain 0") << -0.001 << 100 << "0";
    QTest::newRow("three decimals") << 1000.0 / 3 << 1000 << "333,333";
    QTest::newRow("five decimals") << 1.0 / 3 << 100000 << "0,33333";
    QTest::newRow("factor 10 tie") << 0.25 << 10 << "0,2";
    QTest::newRow("factor 50 tie down") << 0.25 << 50 << "0,24";
    QTest::newRow("factor 50 tie up") << 0.75 << 50 << "0,76";
    QTest::newRow("factor 1 does not round") << 1234.5678 << 1 << "1234,5678";
    QTest::newRow("factor 0 does not round") << 1234.5678 << 0 << "1234,5678";
    QTest::newRow("negative factor does not round") << 1234.5678 << -100 << "1234,5678";
    QTest::newRow("no rounding, no range limit") << 1e300 << 1 << "1E300";
    QTest::newRow("lowest 64-bit product fits")
        << -4611686018427387904.0 << 2 << "-4,61168601842739E18";
    QTest::newRow("product just below 2^63 fits")
        << 4611686018427387392.0 << 2 << "4,61168601842739E18";
}

void TestNumberText::round_to_precision_rounds_half_to_even() {
    QFETCH(double, value);
    QFETCH(int, factor);
    QFETCH(QString, expected);
    const DisplayText d = RoundToPrecision(value, factor);
    QVERIFY(!d.fault);
    QCOMPARE(d.text, expected);
    QVERIFY(!roundByPrecision(value, factor).fault);
    QCOMPARE(generalDecimal(roundByPrecision(value, factor).value), expected);
}

void TestNumberText::rounding_beyond_signed_64_bit_range_is_a_fault_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("factor");
    QTest::newRow("1e17 with two decimals") << 1e17 << 100;
    QTest::newRow("-1e17 with two decimals") << -1e17 << 100;
    QTest::newRow("product exactly 2^63") << 4611686018427387904.0 << 2;
    QTest::newRow("product beyond double range") << 1e305 << 100000;
}

void TestNumberText::rounding_beyond_signed_64_bit_range_is_a_fault() {
    QFETCH(double, value);
    QFETCH(int, factor);
    QCOMPARE(RoundToPrecision(value, factor).fault, std::optional(ArithFault::RoundingRange));
    QCOMPARE(roundByPrecision(value, factor).fault, std::optional(ArithFault::RoundingRange));
}

void TestNumberText::text_compares_with_zero_bytewise_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("sign");
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("empty is a prefix of 0") << "" << -1;
    QTest::newRow("00 is longer") << "00" << 1;
    QTest::newRow("05") << "05" << 1;
    QTest::newRow("0,5 with comma") << "0,5" << 1;
    QTest::newRow("leading space") << " 1" << -1;
    QTest::newRow("plus") << "+1" << -1;
    QTest::newRow("minus") << "-1" << -1;
    QTest::newRow("comma") << ",5" << -1;
    QTest::newRow("point") << ".5" << -1;
    QTest::newRow("slash just below 0") << "/" << -1;
    QTest::newRow("one") << "1" << 1;
    QTest::newRow("colon above 9") << ":" << 1;
    QTest::newRow("cyrillic text") << QString::fromUtf8("Ноль") << 1;
}

void TestNumberText::text_compares_with_zero_bytewise() {
    QFETCH(QString, text);
    QFETCH(int, sign);
    const int c = compareWithZero(text);
    QCOMPARE((c > 0) - (c < 0), sign);
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
