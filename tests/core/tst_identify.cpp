// The machine-wide identification: which lines a peak or a spacing finds in
// a chain, their order (distance, then simplicity, ties kept), the units and
// tolerance forms, the display texts and the refusal of bad input.
#include "machine/identify.h"
#include "machine/identify_text.h"

#include "calc/number_text.h"

#include <QTest>

using namespace machine;

namespace {

// One pair as typed: Z1, Z2, Fr1 (0: the Fr2 text shown for the pair before,
// as "Далее >" sets it), Fm (0: none).
using PairSpec = std::array<double, 4>;
using ChainSpec = QList<PairSpec>;

QString typed(double v) {
    return calc::generalDecimal(v);
}

Train trainOf(const ChainSpec &chain) {
    std::vector<aggregate::GearPair> pairs;
    for (const PairSpec &s : chain) {
        const QString fr1 =
            s[2] > 0 ? typed(s[2]) : buildTrain(pairs, false, 1).pairs.back().fr2Text;
        pairs.push_back({typed(s[0]), fr1, typed(s[1]), typed(s[3])});
    }
    return buildTrain(pairs, false, 1);
}

// The published pair: 8 / 42 at Fr1 = 20 Hz (Fz 160, Fr2 3,8095…, APF 80,
// HTF 0,952381).
const ChainSpec kPublished{{8, 42, 20, 0}};
// Pair 1 17 / 51 at 24 Hz: Fz 408, Fr2 8, APF 24 = Fr1, HTF 8 = Fr2.
// Pair 2 13 / 32 on the 8 Hz shaft: Fz 104 = APF (hunting), Fr2 3,25, HTF 0,25.
const ChainSpec kTwoPairs{{17, 51, 24, 0}, {13, 32, 0, 0}};
// The two pairs above and 10 / 25 on the 3,25 Hz shaft with Fm 50:
// Fz 32,5, Fr2 1,3, APF 6,5, HTF 0,65.
const ChainSpec kThreePairs{{17, 51, 24, 0}, {13, 32, 0, 0}, {10, 25, 0, 50}};

IdentifyInput peak(const QString &frequency, const QString &tolerance, int maxHarmonic = 10,
                   bool halfStep = false, int maxSideband = 3) {
    IdentifyInput in;
    in.frequency = frequency;
    in.tolerance = tolerance;
    in.maxHarmonic = maxHarmonic;
    in.halfStep = halfStep;
    in.maxSideband = maxSideband;
    return in;
}

IdentifyInput spacing(const QString &frequency, const QString &tolerance, bool halfStep = false) {
    IdentifyInput in = peak(frequency, tolerance, 10, halfStep);
    in.mode = IdentifyMode::Spacing;
    return in;
}

IdentifyInput withUnit(IdentifyInput in, Unit unit, int shaft = 1) {
    in.unit = {unit, shaft};
    return in;
}

IdentifyInput inPercent(IdentifyInput in) {
    in.toleranceUnit = ToleranceUnit::Percent;
    return in;
}

IdentifyInput inLines(IdentifyInput in, const QString &resolution) {
    in.toleranceUnit = ToleranceUnit::Lines;
    in.resolution = resolution;
    return in;
}

IdentifyInput resolved(IdentifyInput in, const QString &resolution) {
    in.resolution = resolution;
    return in;
}

IdentifyInput allShafts(IdentifyInput in) {
    in.allShafts = true;
    return in;
}

IdentifyInput intermodulation(IdentifyInput in) {
    in.intermodulation = true;
    return in;
}

std::vector<MatchRow> run(const ChainSpec &pairs, const IdentifyInput &in) {
    const Train train = trainOf(pairs);
    const RequestOutcome r = makeRequest(train, in);
    if (!r.request)
        qFatal("refused: %s", qPrintable(r.message));
    return matchRows(train, *r.request, in.unit, identify(train, *r.request));
}

QStringList names(const std::vector<MatchRow> &rows) {
    QStringList out;
    for (const MatchRow &row : rows)
        out << row.texts[0];
    return out;
}

// A line of pair `pair`; `shaft` is the shaft of a shaft line or the one that
// modulates a sideband.
Line line(double k, Base base, int m = 0, int sign = 1, int shaft = 1, int pair = 1) {
    return {0.0, k, m, sign, base, base == Base::Shaft ? 0 : pair, {0.0, shaft, 0}, 0};
}

} // namespace

Q_DECLARE_METATYPE(ChainSpec)
Q_DECLARE_METATYPE(machine::IdentifyInput)
Q_DECLARE_METATYPE(machine::Line)

class TestIdentify : public QObject {
    Q_OBJECT

private slots:
    void lines_found_in_ranked_order_data();
    void lines_found_in_ranked_order();
    void simpler_line_first_among_equal_distances_data();
    void simpler_line_first_among_equal_distances();
    void rows_show_value_and_distance_in_the_unit_data();
    void rows_show_value_and_distance_in_the_unit();
    void bad_input_is_refused_with_a_message_data();
    void bad_input_is_refused_with_a_message();
    void every_shaft_is_listed_once_data();
    void every_shaft_is_listed_once();
    void line_names_data();
    void line_names();
    void pairs_that_do_not_calculate_are_left_out();
    void distances_are_right_at_any_tolerance_data();
    void distances_are_right_at_any_tolerance();
};

void TestIdentify::lines_found_in_ranked_order_data() {
    QTest::addColumn<ChainSpec>("chain");
    QTest::addColumn<IdentifyInput>("input");
    QTest::addColumn<QStringList>("lines");
    const QString l = QStringLiteral("\u2212");

    QTest::newRow("published 148,5714: mesh minus three Fr2 first")
        << kPublished << peak("148,5714", "0,01")
        << QStringList{"Fz (пара 1) " + l + " 3·Fr (вал 2)"};
    QTest::newRow("published 80 to harmonic 21 step 0,5: four equal lines in one row")
        << kPublished << peak("80", "0,01", 21, true)
        << QStringList{"APF (пара 1) = 0,5·Fz (пара 1) = 4·Fr (вал 1) = 21·Fr (вал 2)"};
    QTest::newRow("published 80 to harmonic 10: 21·Fr (вал 2) is out of reach")
        << kPublished << peak("80", "0,01", 10, true)
        << QStringList{"APF (пара 1) = 0,5·Fz (пара 1) = 4·Fr (вал 1)"};
    QTest::newRow("published 80 with whole steps: no half of Fz")
        << kPublished << peak("80", "0,01", 21)
        << QStringList{"APF (пара 1) = 4·Fr (вал 1) = 21·Fr (вал 2)"};
    QTest::newRow("published 80 with four sidebands: Fz − 4·Fr (вал 1) joins")
        << kPublished << peak("80", "0,01", 10, false, 4)
        << QStringList{"APF (пара 1) = 4·Fr (вал 1) = Fz (пара 1) " + l + " 4·Fr (вал 1)"};
    QTest::newRow("published spacing 3,81: the output shaft")
        << kPublished << spacing("3,81", "0,01") << QStringList{"Fr (вал 2)"};
    QTest::newRow("distance first, equal lines in one row")
        << kPublished << peak("152", "5", 50)
        << QStringList{"Fz (пара 1) " + l + " 2·Fr (вал 2) = 40·Fr (вал 2)",
                       "Fz (пара 1) " + l + " 3·Fr (вал 2) = 39·Fr (вал 2)",
                       "Fz (пара 1) " + l + " Fr (вал 2) = 41·Fr (вал 2)"};
    QTest::newRow("percent tolerance of the frequency: 1 % reaches 148,57")
        << kPublished << inPercent(peak("150", "1"))
        << QStringList{"Fz (пара 1) " + l + " 3·Fr (вал 2)"};
    QTest::newRow("percent tolerance of the frequency: 0,9 % does not")
        << kPublished << inPercent(peak("150", "0,9")) << QStringList{};
    QTest::newRow("rpm: 4800 об/мин is 80 Hz, the tolerance in об/мин")
        << kPublished << withUnit(peak("4800", "36"), Unit::PerMinute)
        << QStringList{"APF (пара 1) = 4·Fr (вал 1)"};
    QTest::newRow("rpm: a tolerance of 1 об/мин misses 80,3 Hz")
        << kPublished << withUnit(peak("4818", "1"), Unit::PerMinute) << QStringList{};
    QTest::newRow("orders of the output shaft: 21 is 80 Hz")
        << kPublished << withUnit(peak("21", "0,01", 21), Unit::Orders, 2)
        << QStringList{"APF (пара 1) = 4·Fr (вал 1) = 21·Fr (вал 2)"};
    QTest::newRow("tolerance in lines of 0,5 Hz: 3 lines reach 148,57 from 150")
        << kPublished << inLines(peak("150", "3"), "0,5")
        << QStringList{"Fz (пара 1) " + l + " 3·Fr (вал 2)"};
    QTest::newRow("tolerance in lines of 0,1 Hz: 3 lines do not")
        << kPublished << inLines(peak("150", "3"), "0,1") << QStringList{};
    QTest::newRow("two pairs, 8 Hz: the shared shaft, then HTF of pair 1")
        << kTwoPairs << peak("8", "0,001") << QStringList{"Fr (вал 2) = HTF (пара 1)"};
    QTest::newRow("two pairs, 104 Hz: Fz of a hunting pair and its equal APF")
        << kTwoPairs << peak("104", "0,01") << QStringList{"Fz (пара 2) = APF (пара 2)"};
    QTest::newRow("two pairs, 104 Hz to harmonic 50: shaft harmonics with them")
        << kTwoPairs << peak("104", "0,01", 50)
        << QStringList{"Fz (пара 2) = APF (пара 2) = 13·Fr (вал 2) = 13·HTF (пара 1) = "
                       "32·Fr (вал 3)"};
    QTest::newRow("two pairs, 96 Hz: a sideband of pair 2 first, then harmonics of pair 1")
        << kTwoPairs << peak("96", "0,01", 12)
        << QStringList{"Fz (пара 2) " + l +
                       " Fr (вал 2) = 4·Fr (вал 1) = 4·APF (пара 1) = 12·Fr (вал 2) = "
                       "12·HTF (пара 1)"};
    QTest::newRow("two pairs, spacing 4 with the half step")
        << kTwoPairs << spacing("4", "0,01", true)
        << QStringList{"0,5·Fr (вал 2) = 0,5·HTF (пара 1)"};
    QTest::newRow("two pairs, spacing 4 with whole steps: nothing")
        << kTwoPairs << spacing("4", "0,01") << QStringList{};
    QTest::newRow("two pairs, spacing 0,75: 3·HTF of pair 2")
        << kTwoPairs << spacing("0,75", "0,01") << QStringList{"3·HTF (пара 2)"};
    QTest::newRow("three pairs, 53,25: Fm plus Fr of its input shaft")
        << kThreePairs << peak("53,25", "0,01") << QStringList{"Fm (пара 3) + Fr (вал 3)"};
    QTest::newRow("three pairs, 50: Fm itself")
        << kThreePairs << peak("50", "0,01") << QStringList{"Fm (пара 3)"};
    QTest::newRow("three pairs, 6,5: APF of pair 3, its input twice, its output five times")
        << kThreePairs << peak("6,5", "0,01")
        << QStringList{"APF (пара 3) = 2·Fr (вал 3) = 5·Fr (вал 4) = 10·HTF (пара 3)"};
    // 15·Fr (вал 3) is 0,01 from 48,74 and Fm (пара 3) − Fr (вал 4) 0,04: a
    // spectrum of 0,1 Hz lines cannot tell them apart, one of 0,01 Hz can.
    QTest::newRow("within the resolution the simpler first")
        << kThreePairs << resolved(peak("48,74", "0,05", 20), "0,1")
        << QStringList{"Fm (пара 3) " + l + " Fr (вал 4)", "15·Fr (вал 3)"};
    QTest::newRow("beyond the resolution the closer first")
        << kThreePairs << resolved(peak("48,74", "0,05", 20), "0,01")
        << QStringList{"15·Fr (вал 3)", "Fm (пара 3) " + l + " Fr (вал 4)"};
    QTest::newRow("without a resolution a tenth of the tolerance")
        << kThreePairs << peak("48,74", "0,05", 20)
        << QStringList{"15·Fr (вал 3)", "Fm (пара 3) " + l + " Fr (вал 4)"};
    // Sidebands by another stage's shaft, and the meshes' intermodulation.
    QTest::newRow("three pairs, 404,75: only with sidebands by every shaft")
        << kThreePairs << allShafts(peak("404,75", "0,01", 1, false, 3))
        << QStringList{"Fz (пара 1) " + l + " Fr (вал 3)"};
    QTest::newRow("three pairs, 404,75 without them: nothing")
        << kThreePairs << peak("404,75", "0,01", 1, false, 3) << QStringList{};
    QTest::newRow("three pairs, 512: Fz of pair 1 plus Fz of pair 2")
        << kThreePairs << intermodulation(peak("512", "0,01", 1, false, 0))
        << QStringList{"Fz (пара 1) + Fz (пара 2)"};
    QTest::newRow("three pairs, 71,5: Fz of pair 2 minus Fz of pair 3")
        << kThreePairs << intermodulation(peak("71,5", "0,01", 1, false, 0))
        << QStringList{"Fz (пара 2) " + l + " Fz (пара 3)"};
}

void TestIdentify::lines_found_in_ranked_order() {
    QFETCH(ChainSpec, chain);
    QFETCH(IdentifyInput, input);
    QFETCH(QStringList, lines);
    QCOMPARE(names(run(chain, input)), lines);
}

void TestIdentify::simpler_line_first_among_equal_distances_data() {
    QTest::addColumn<Line>("first");
    QTest::addColumn<Line>("second");
    const auto minus = -1;
    const int output = 2; // the output shaft of pair 1
    QTest::newRow("fundamental APF before half of Fz") << line(1, Base::Apf) << line(0.5, Base::Fz);
    QTest::newRow("half of Fz before 1,5·Fr1") << line(0.5, Base::Fz) << line(1.5, Base::Shaft);
    QTest::newRow("fundamental before its second harmonic")
        << line(1, Base::Shaft) << line(2, Base::Shaft);
    QTest::newRow("smaller k + m: Fz − 1·Fr2 before 3·Fr1")
        << line(1, Base::Fz, 1, minus, output) << line(3, Base::Shaft);
    QTest::newRow("plain 2·Fr1 before the equally weighted Fz − 1·Fr1")
        << line(2, Base::Shaft) << line(1, Base::Fz, 1, minus);
    QTest::newRow("smaller k among equal weights: Fz − 2·Fr2 before 2·Fz − 1·Fr2")
        << line(1, Base::Fz, 2, minus, output) << line(2, Base::Fz, 1, minus, output);
    QTest::newRow("shaft before an equal Fz") << line(1, Base::Shaft) << line(1, Base::Fz);
    QTest::newRow("Fz before an equal APF") << line(1, Base::Fz) << line(1, Base::Apf);
    QTest::newRow("APF before an equal HTF") << line(1, Base::Apf) << line(1, Base::Htf);
    QTest::newRow("HTF before an equal Fm") << line(1, Base::Htf) << line(1, Base::Fm);
    QTest::newRow("upper sideband before lower")
        << line(1, Base::Fz, 1) << line(1, Base::Fz, 1, minus);
    QTest::newRow("input shaft's sideband before the output shaft's")
        << line(1, Base::Fz, 1, minus) << line(1, Base::Fz, 1, minus, output);
    QTest::newRow("pair 1 before pair 2") << line(1, Base::Fz) << line(1, Base::Fz, 0, 1, 1, 2);
    QTest::newRow("input shaft before the output shaft of the same pair")
        << line(3, Base::Shaft) << line(3, Base::Shaft, 0, 1, output);
    QTest::newRow("Fm before the intermodulation of two meshes")
        << line(1, Base::Fm) << line(1, Base::Intermodulation, 1);
}

void TestIdentify::simpler_line_first_among_equal_distances() {
    QFETCH(Line, first);
    QFETCH(Line, second);
    QVERIFY(simpler(first, second));
    QVERIFY(!simpler(second, first));
}

void TestIdentify::rows_show_value_and_distance_in_the_unit_data() {
    QTest::addColumn<IdentifyInput>("input");
    QTest::addColumn<QStringList>("headings");
    QTest::addColumn<QStringList>("firstRow");
    QTest::addColumn<int>("rows");
    const QStringList hz{"Составляющая", "Значение, Гц", "Отклонение, Гц", "Отклонение, %"};
    QTest::newRow("Hz, a little below the line")
        << peak("148,5714", "0,01") << hz
        << QStringList{"Fz (пара 1) − 3·Fr (вал 2)", "148,571428571429", "+2,857E-5", "+1,923E-5"}
        << 1;
    QTest::newRow("Hz, above the line by a whole hertz")
        << peak("81", "1") << hz << QStringList{"APF (пара 1) = 4·Fr (вал 1)", "80", "-1", "-1,235"}
        << 1;
    QTest::newRow("equal lines share a row and a distance of 0")
        << peak("80", "0", 21) << hz
        << QStringList{"APF (пара 1) = 4·Fr (вал 1) = 21·Fr (вал 2)", "80", "0", "0"} << 1;
    QTest::newRow("rpm, the tolerance in об/мин")
        << withUnit(peak("4860", "60"), Unit::PerMinute)
        << QStringList{"Составляющая", "Значение, об/мин", "Отклонение, об/мин", "Отклонение, %"}
        << QStringList{"APF (пара 1) = 4·Fr (вал 1)", "4800", "-60", "-1,235"} << 1;
    QTest::newRow("orders of the output shaft, the tolerance in orders")
        << withUnit(peak("3", "0,01"), Unit::Orders, 2)
        << QStringList{"Составляющая", "Значение, порядки вала 2", "Отклонение, порядки вала 2",
                       "Отклонение, %"}
        << QStringList{"3·Fr (вал 2)", "3", "0", "0"} << 1;
    QTest::newRow("spacing in Hz")
        << spacing("3,8", "0,05") << hz
        << QStringList{"Fr (вал 2)", "3,80952380952381", "+0,009524", "+0,2506"} << 1;
}

void TestIdentify::rows_show_value_and_distance_in_the_unit() {
    QFETCH(IdentifyInput, input);
    QFETCH(QStringList, headings);
    QFETCH(QStringList, firstRow);
    QFETCH(int, rows);
    const auto h = columnHeadings(input.unit);
    QCOMPARE(QStringList(h.begin(), h.end()), headings);
    const std::vector<MatchRow> found = run(kPublished, input);
    QCOMPARE(int(found.size()), rows);
    QCOMPARE(QStringList(found[0].texts.begin(), found[0].texts.end()), firstRow);
}

void TestIdentify::bad_input_is_refused_with_a_message_data() {
    QTest::addColumn<ChainSpec>("chain");
    QTest::addColumn<IdentifyInput>("input");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("target");
    QTest::addColumn<double>("tolerance");
    const auto ok = QString();
    QTest::newRow("comma number") << kPublished << peak("148,5", "0,25") << ok << 148.5 << 0.25;
    QTest::newRow("point number") << kPublished << peak("148.5", "0") << ok << 148.5 << 0.0;
    QTest::newRow("percent of 200 Hz")
        << kPublished << inPercent(peak("200", "2,5")) << ok << 200.0 << 5.0;
    QTest::newRow("orders of the input shaft, the tolerance in orders")
        << kPublished << withUnit(peak("2,5", "0,1"), Unit::Orders, 1) << ok << 50.0 << 2.0;
    QTest::newRow("об/мин, the tolerance in об/мин")
        << kPublished << withUnit(peak("4800", "60"), Unit::PerMinute) << ok << 80.0 << 1.0;
    QTest::newRow("lines of a resolution in об/мин")
        << kPublished << inLines(withUnit(peak("4800", "3"), Unit::PerMinute), "12") << ok << 80.0
        << 0.6;
    QTest::newRow("lines without a resolution")
        << kPublished << inLines(peak("80", "3"), "")
        << "Допуск в линиях спектра: введите разрешение спектра (расстояние между линиями)." << 0.0
        << 0.0;
    QTest::newRow("a tolerance wider than a tenth of the peak")
        << kPublished << peak("80", "8,5")
        << "Допуск — не больше 10 % от частоты пика: шире не объяснить ни одного пика." << 0.0
        << 0.0;
    QTest::newRow("a tenth of the peak is the widest")
        << kPublished << inPercent(peak("80", "10")) << ok << 80.0 << 8.0;
    QTest::newRow("no calculated pair")
        << ChainSpec{} << peak("80", "1")
        << "В агрегате нет рассчитанной пары. Рассчитайте пару (F1) и повторите поиск." << 0.0
        << 0.0;
    QTest::newRow("empty frequency")
        << kPublished << peak("", "1") << "Введите частоту." << 0.0 << 0.0;
    QTest::newRow("blank frequency")
        << kPublished << peak("  ", "1") << "Введите частоту." << 0.0 << 0.0;
    QTest::newRow("empty spacing")
        << kPublished << spacing("", "1") << "Введите расстояние между пиками." << 0.0 << 0.0;
    QTest::newRow("frequency not a number")
        << kPublished << peak("8O", "1") << "Частота «8O» — не число." << 0.0 << 0.0;
    QTest::newRow("two commas") << kPublished << peak("1,5,3", "1") << "Частота «1,5,3» — не число."
                                << 0.0 << 0.0;
    QTest::newRow("zero frequency")
        << kPublished << peak("0", "1") << "Частота должна быть больше нуля." << 0.0 << 0.0;
    QTest::newRow("negative spacing")
        << kPublished << spacing("-3", "1") << "Расстояние между пиками должно быть больше нуля."
        << 0.0 << 0.0;
    QTest::newRow("empty tolerance")
        << kPublished << peak("80", "") << "Введите допуск." << 0.0 << 0.0;
    QTest::newRow("tolerance not a number")
        << kPublished << peak("80", "abc") << "Допуск «abc» — не число." << 0.0 << 0.0;
    QTest::newRow("negative tolerance")
        << kPublished << peak("80", "-0.1") << "Допуск не может быть отрицательным." << 0.0 << 0.0;
    QTest::newRow("negative tolerance with a comma")
        << kPublished << peak("80", "-0,5") << "Допуск не может быть отрицательным." << 0.0 << 0.0;
    QTest::newRow("negative frequency with a comma")
        << kPublished << peak("-80,5", "1") << "Частота должна быть больше нуля." << 0.0 << 0.0;
    QTest::newRow("two minus signs")
        << kPublished << peak("80", "--1") << "Допуск «--1» — не число." << 0.0 << 0.0;
    QTest::newRow("harmonic above 50")
        << kPublished << peak("80", "1", 51) << "Наибольшая гармоника — целое число от 1 до 50."
        << 0.0 << 0.0;
    QTest::newRow("sideband above 20")
        << kPublished << peak("80", "1", 10, false, 21)
        << "Наибольший порядок боковой — целое число от 0 до 20." << 0.0 << 0.0;
    QTest::newRow("orders of a shaft that is not there")
        << kPublished << withUnit(peak("2", "1"), Unit::Orders, 3)
        << "Частота вала 3 неизвестна: выберите для порядков другой вал." << 0.0 << 0.0;
    QTest::newRow("overflow in orders")
        << kPublished << withUnit(peak("1e308", "1"), Unit::Orders, 1)
        << "Частота или допуск вне пределов счёта." << 0.0 << 0.0;
}

void TestIdentify::bad_input_is_refused_with_a_message() {
    QFETCH(ChainSpec, chain);
    QFETCH(IdentifyInput, input);
    QFETCH(QString, message);
    QFETCH(double, target);
    QFETCH(double, tolerance);
    const Train train = trainOf(chain);
    const RequestOutcome r = makeRequest(train, input);
    QCOMPARE(r.message, message);
    QCOMPARE(r.request.has_value(), message.isEmpty());
    if (r.request) {
        QCOMPARE(r.request->target, target);
        QCOMPARE(r.request->tolerance, tolerance);
    }
}

void TestIdentify::every_shaft_is_listed_once_data() {
    QTest::addColumn<ChainSpec>("chain");
    QTest::addColumn<QStringList>("shafts");
    QTest::newRow("one pair") << kPublished << QStringList{"Fr (вал 1)", "Fr (вал 2)"};
    QTest::newRow("three pairs share their shafts")
        << kThreePairs << QStringList{"Fr (вал 1)", "Fr (вал 2)", "Fr (вал 3)", "Fr (вал 4)"};
    QTest::newRow("pair 2 typed with another speed: its shaft has two")
        << ChainSpec{{17, 51, 24, 0}, {13, 32, 8.5, 0}}
        << QStringList{"Fr (вал 1)", "Fr (вал 2, по паре 1)", "Fr (вал 2)", "Fr (вал 3)"};
}

void TestIdentify::every_shaft_is_listed_once() {
    QFETCH(ChainSpec, chain);
    QFETCH(QStringList, shafts);
    QStringList out;
    for (const LineShaft &s : lineShafts(trainOf(chain)).shafts)
        out << shaftName(s);
    QCOMPARE(out, shafts);
}

void TestIdentify::line_names_data() {
    QTest::addColumn<Line>("candidate");
    QTest::addColumn<QString>("name");
    const QString l = QStringLiteral("\u2212");
    QTest::newRow("fundamental without coefficient") << line(1, Base::Htf) << "HTF (пара 1)";
    QTest::newRow("half order with comma") << line(1.5, Base::Fm) << "1,5·Fm (пара 1)";
    QTest::newRow("a sideband's count of 1 left out")
        << line(2, Base::Fz, 1, -1, 2, 2) << "2·Fz (пара 2) " + l + " Fr (вал 2)";
    QTest::newRow("upper sideband of Fm")
        << line(0.5, Base::Fm, 20, 1, 9, 9) << "0,5·Fm (пара 9) + 20·Fr (вал 9)";
    QTest::newRow("output shaft") << line(7, Base::Shaft, 0, 1, 4) << "7·Fr (вал 4)";
    QTest::newRow("a shaft by the user's name")
        << line(1, Base::Shaft, 0, 1, 3) << "Fr (вал 3 «барабан»)";
    QTest::newRow("a shaft's second speed, by the pair before")
        << Line{0, 1, 0, 1, Base::Shaft, 0, {0, 2, 1}, 0} << "Fr (вал 2, по паре 1)";
    QTest::newRow("intermodulation") << Line{0, 1, 1, -1, Base::Intermodulation, 2, {}, 3}
                                     << "Fz (пара 2) " + l + " Fz (пара 3)";
}

void TestIdentify::line_names() {
    QFETCH(Line, candidate);
    QFETCH(QString, name);
    QCOMPARE(lineName(candidate, std::vector<QString>{"двигатель", "", "барабан"}), name);
}

void TestIdentify::pairs_that_do_not_calculate_are_left_out() {
    const Train train = buildTrain({{"8", "20", "42", "0"},
                                    {"", "3,80952380952381", "30", "0"},
                                    {"10", "3,80952380952381", "30", "0"}},
                                   false, 1);
    QVERIFY(train.pairs[0].calculated && !train.pairs[1].calculated && train.pairs[2].calculated);
    QStringList shafts;
    for (const LineShaft &s : lineShafts(train).shafts)
        shafts << shaftName(s);
    // Pair 3 follows a pair that does not calculate: its shaft is a shaft of its own.
    QCOMPARE(shafts, (QStringList{"Fr (вал 1)", "Fr (вал 2)", "Fr (вал 3)", "Fr (вал 4)"}));
}

// The tie margin follows the values compared, not the width of the window:
// a wide tolerance must not turn the distances of its lines into 0.
void TestIdentify::distances_are_right_at_any_tolerance_data() {
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<bool>("halfStep");
    QTest::newRow("1 Hz") << 1.0 << false;
    QTest::newRow("1e4 Hz") << 1e4 << false;
    QTest::newRow("1e8 Hz") << 1e8 << false;
    QTest::newRow("1e10 Hz") << 1e10 << false;
    QTest::newRow("1e12 Hz, half orders") << 1e12 << true;
}

void TestIdentify::distances_are_right_at_any_tolerance() {
    QFETCH(double, tolerance);
    QFETCH(bool, halfStep);
    const Train train = trainOf(kThreePairs);
    IdentifyRequest request;
    request.target = 100.0;
    request.tolerance = tolerance;
    request.halfStep = halfStep;
    const std::vector<MatchGroup> found = identify(train, request);
    QVERIFY(!found.empty());
    for (const MatchGroup &g : found)
        for (const Line &line : g.lines) {
            const double d = line.value - request.target;
            QVERIFY2(std::abs(g.distance - d) <= 1e-9 * std::max(request.target, line.value),
                     qPrintable(QStringLiteral("%1: %2 instead of %3")
                                    .arg(lineName(line))
                                    .arg(g.distance)
                                    .arg(d)));
        }
}

QTEST_GUILESS_MAIN(TestIdentify)
#include "tst_identify.moc"
