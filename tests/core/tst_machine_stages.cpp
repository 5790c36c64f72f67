// Machines as they are built: planetary and belt stages among the pairs and
// bearings on shafts and planets, through the chain order, the edits that
// keep what was given for each shaft on it, the speeds of the train, the
// write-back of Fr1 across the stages, the one list of lines and the
// identification that reads it.
#include "machine/identify.h"
#include "machine/lines.h"
#include "machine/stage_chain.h"
#include "machine/table_export.h"
#include "machine/train.h"
#include "machine/train_table.h"

#include "calc/number_text.h"

#include <QtTest>
#include <cmath>

using namespace machine;

namespace {

ExtraStage planetary(int afterPairs = 0) {
    ExtraStage e;
    e.kind = StageKind::Planetary;
    e.planetary = {21, 43, 108, 3, Member::Ring, Member::Sun}; // ratio 129/21
    e.afterPairs = afterPairs;
    return e;
}

ExtraStage belt(int afterPairs = 0) {
    ExtraStage e;
    e.kind = StageKind::Belt;
    e.belt = {125, 250, 1800, 0}; // ratio 2
    e.afterPairs = afterPairs;
    return e;
}

// "P1 B0 P2": pairs by number, extra stages by their index.
QString orderText(const std::vector<ChainEntry> &chain) {
    QStringList parts;
    for (const ChainEntry &c : chain)
        parts << (c.kind == StageKind::Pair        ? QStringLiteral("P%1").arg(c.index + 1)
                  : c.kind == StageKind::Planetary ? QStringLiteral("X%1").arg(c.index)
                                                   : QStringLiteral("B%1").arg(c.index));
    return parts.join(' ');
}

// What a document gives each shaft: "1:мотор[b1] 2:[b2] …", the known and
// the orders shaft, and the planets' bearings by stage.
QString shaftsText(const MachineDocument &d, int shafts) {
    QStringList parts;
    for (int s = 1; s <= shafts; ++s) {
        QString p = QStringLiteral("%1:%2").arg(s).arg(d.shaftName(s));
        for (const MountedBearing &b : d.bearings)
            if (!b.onPlanets() && b.shaft == s)
                p += QLatin1Char('[') + b.bearing.designation + QLatin1Char(']');
        parts << p;
    }
    for (const MountedBearing &b : d.bearings)
        if (b.onPlanets())
            parts
                << QStringLiteral("planets of %1[%2]").arg(b.planetsOf).arg(b.bearing.designation);
    parts << QStringLiteral("known %1, orders %2").arg(d.known.shaft).arg(d.unit.ordersShaft);
    return parts.join(' ');
}

MountedBearing onShaft(int shaft, const QString &designation) {
    MountedBearing b;
    b.shaft = shaft;
    b.bearing.designation = designation;
    b.bearing.geometry = {9, 7.94, 39.04, 0};
    return b;
}

// Two pairs, 8/42 from 20 Hz then 13/35, with the Fr1 that "Далее >" gives
// or the one a planetary stage between them gives.
ChainPairs twoPairs(const QString &secondFr1) {
    ChainPairs c;
    c.pairs = {{"8", "20", "42", "0"}, {"13", secondFr1, "35", "0"}};
    c.sources = {PairSource::Stored, PairSource::Stored};
    return c;
}

bool near(double a, double b) {
    return std::fabs(a - b) <= 1e-12 * std::max(1.0, std::fabs(b));
}

} // namespace

class MachineStagesTest : public QObject {
    Q_OBJECT

private slots:
    void chain_order_data() {
        QTest::addColumn<int>("pairs");
        QTest::addColumn<QList<int>>("after"); // afterPairs of each extra stage
        QTest::addColumn<QString>("order");
        QTest::newRow("pairs only") << 2 << QList<int>{} << "P1 P2";
        QTest::newRow("before the first pair") << 2 << QList<int>{0} << "X0 P1 P2";
        QTest::newRow("between, two in list order") << 2 << QList<int>{1, 1} << "P1 X0 X1 P2";
        QTest::newRow("after more pairs than there are: at the end")
            << 1 << QList<int>{3} << "P1 X0";
        QTest::newRow("no pairs yet") << 0 << QList<int>{0, 2} << "X0 X1";
    }
    void chain_order() {
        QFETCH(int, pairs);
        QFETCH(QList<int>, after);
        std::vector<ExtraStage> extras;
        for (const int a : after)
            extras.push_back(planetary(a));
        QTEST(orderText(chainOrder(pairs, extras)), "order");
    }

    // Pair 1, a planetary stage, pair 2: shafts 1 "мотор" … 4 "барабан", a
    // bearing on three shafts and one on the planets, the speed known at
    // shaft 4, orders of shaft 3.
    void edits_keep_what_each_shaft_was_given_data() {
        QTest::addColumn<int>("edit");  // 0 insert, 1 remove, 2 move
        QTest::addColumn<int>("where"); // after shaft, or extra index
        QTest::addColumn<int>("direction");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("shafts");
        const QString unchanged =
            "1:мотор[a] 2:[b] 3: 4:барабан[c] planets of 0[p] known 4, orders 3";
        QTest::newRow("belt after the motor's shaft")
            << 0 << 1 << 0 << true << "B0 P1 X1 P2"
            << "1:мотор[a] 2: 3:[b] 4: 5:барабан[c] planets of 1[p] known 5, orders 4";
        QTest::newRow("belt after the last shaft")
            << 0 << 4 << 0 << true << "P1 X0 P2 B1"
            << "1:мотор[a] 2:[b] 3: 4:барабан[c] 5: planets of 0[p] known 4, orders 3";
        QTest::newRow("the planetary stage removed: its shafts joined, its planets' bearings gone")
            << 1 << 0 << 0 << true << "P1 P2"
            << "1:мотор[a] 2:[b] 3:барабан[c] known 3, orders 2";
        QTest::newRow("the planetary stage moved before pair 1")
            << 2 << 0 << -1 << true << "X0 P1 P2" << unchanged;
        QTest::newRow("the planetary stage moved after pair 2")
            << 2 << 0 << 1 << true << "P1 P2 X0" << unchanged;
        QTest::newRow("no shaft 9") << 0 << 9 << 0 << false << "P1 X0 P2" << unchanged;
        QTest::newRow("no stage 3") << 1 << 3 << 0 << false << "P1 X0 P2" << unchanged;
    }
    void edits_keep_what_each_shaft_was_given() {
        MachineDocument d;
        d.extraStages = {planetary(1)};
        d.shaftNames = {"мотор", "", "", "барабан"};
        d.bearings = {onShaft(1, "a"), onShaft(2, "b"), onShaft(4, "c")};
        MountedBearing planets;
        planets.shaft = 0;
        planets.planetsOf = 0;
        planets.bearing.designation = "p";
        planets.bearing.geometry = {12, 10, 60, 0};
        d.bearings.push_back(planets);
        d.known = {4, "50", SpeedUnit::Hertz};
        d.unit = {Unit::Orders, 3};
        QCOMPARE(
            shaftsText(d, 4),
            QStringLiteral("1:мотор[a] 2:[b] 3: 4:барабан[c] planets of 0[p] known 4, orders 3"));
        QFETCH(int, edit);
        QFETCH(int, where);
        QFETCH(int, direction);
        bool done = false;
        if (edit == 0)
            done = insertStage(d, 2, where, belt());
        else if (edit == 1)
            done = removeStage(d, 2, where);
        else
            done = moveStage(d, 2, where, direction);
        QTEST(done, "done");
        QTEST(orderText(chainOrder(2, d.extraStages)), "order");
        QTEST(shaftsText(d, shaftCount(2, d.extraStages)), "shafts");
    }

    // Pair 1 8/42 at 20 Hz drives a planetary stage (sun in, ring fixed:
    // ratio 129/21) whose carrier drives pair 2, 13/35.
    void speeds_pass_through_a_planetary_stage() {
        const double fr2 = 20.0 * 8 / 42, carrier = fr2 * 21 / 129;
        MachineDocument d;
        d.extraStages = {planetary(1)};
        const Train t = buildTrain(twoPairs(calc::generalDecimal(carrier)), 1, d);
        QCOMPARE(t.shaftCount(), 4);
        QVERIFY(!t.pairs[1].chainBroken);
        QVERIFY(near(*t.shaft(3), carrier));
        QVERIFY(near(*t.shaft(4), carrier * 13 / 35));
        QCOMPARE(t.pairs[1].inputShaft, 3);
        QVERIFY(near(t.planetaries[0].figures->mesh, 108 * carrier));
        QVERIFY(near(*t.totalRatio, 42.0 / 8 * 129 / 21 * 35 / 13));
        // "Далее >" would have written the pair's Fr2: the planetary stage
        // between says the chain is broken there.
        const Train broken = buildTrain(twoPairs(calc::generalDecimal(fr2)), 1, d);
        QVERIFY(broken.pairs[1].chainBroken);
        QVERIFY(near(broken.pairs[1].chainFr1, carrier));
    }

    void known_speed_reaches_every_shaft_through_every_stage_data() {
        QTest::addColumn<int>("shaft");
        QTest::newRow("at the motor, before the belt") << 1;
        QTest::newRow("between the planetary stage and pair 2") << 4;
        QTest::newRow("at the output") << 5;
    }
    void known_speed_reaches_every_shaft_through_every_stage() {
        // Belt (ratio 2), pair 1, planetary (129/21), pair 2: 1480 об/мин at
        // the motor.
        const double s1 = 1480.0 / 60, s2 = s1 / 2, s3 = s2 * 8 / 42, s4 = s3 * 21 / 129,
                     s5 = s4 * 13 / 35;
        const double speeds[] = {s1, s2, s3, s4, s5};
        QFETCH(int, shaft);
        MachineDocument d;
        d.extraStages = {belt(0), planetary(1)};
        d.known = {shaft, calc::generalDecimal(speeds[shaft - 1]), SpeedUnit::Hertz};
        const Train t = buildTrain(twoPairs("1"), 1, d);
        QVERIFY2(t.followsKnown, qPrintable(t.knownProblem));
        for (int s = 1; s <= 5; ++s)
            QVERIFY2(std::fabs(*t.shaft(s) / speeds[s - 1] - 1) < 1e-14,
                     qPrintable(QString::number(s)));
        QVERIFY(near(t.belts[0].figures->beltPass, M_PI * 125 * *t.shaft(1) / 1800));
    }

    // The write-back puts on pair 1 the speed of its own shaft and on pair 2
    // the planetary stage's output, and the typed chain then follows.
    void fr1_is_written_across_the_stages() {
        const std::vector<ExtraStage> extras = {belt(0), planetary(1)};
        const ChainRewrite r =
            followSpeed(twoPairs("1").pairs, {1, "1480", SpeedUnit::PerMinute}, 1, extras);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.pairs[0].fr1, QStringLiteral("12,3333333333333"));
        MachineDocument d;
        d.extraStages = extras;
        ChainPairs written;
        written.pairs = r.pairs;
        written.sources = {PairSource::Stored, PairSource::Stored};
        const Train t = buildTrain(written, 1, d);
        QVERIFY(!t.pairs[1].chainBroken);
        QVERIFY(std::fabs(*t.shaft(5) / (1480.0 / 60 / 2 * 8 / 42 * 21 / 129 * 13 / 35) - 1) <
                1e-13);
        const ChainRewrite refused =
            followSpeed(twoPairs("1").pairs, {9, "10", SpeedUnit::Hertz}, 1, extras);
        QCOMPARE(refused.error, QStringLiteral("вала 9 нет: у агрегата валы 1–5"));
    }

    // The published stage carried on from 25 Hz at the sun, a pair after it,
    // a belt at the end and the public data set's bearing on the input
    // shaft at 1797 об/мин: the cells the engineer reads, against figures
    // computed independently (exact fractions, 15 significant digits).
    void tables_of_stages_and_bearings_data() {
        QTest::addColumn<int>("table"); // 0 planetary, 1 belt, 2 bearing, 3 shaft
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("planetary ratio") << 0 << int(RowPlanetaryRatio) << 1 << "6,14285714285714";
        QTest::newRow("carrier") << 0 << int(RowCarrier) << 1 << "4,06976744186047";
        QTest::newRow("planets against the sun, relative to the carrier")
            << 0 << int(RowPlanetRelative) << 1 << "-10,2217414818821";
        QTest::newRow("planets, absolute") << 0 << int(RowPlanet) << 1 << "-6,15197404002163";
        QTest::newRow("mesh") << 0 << int(RowPlanetaryMesh) << 1 << "439,53488372093";
        QTest::newRow("sun fault") << 0 << int(RowSunFault) << 1 << "62,7906976744186";
        QTest::newRow("ring fault") << 0 << int(RowRingFault) << 1 << "12,2093023255814";
        QTest::newRow("planet fault, one flank")
            << 0 << int(RowPlanetFault) << 1 << "10,2217414818821";
        QTest::newRow("planet fault, both flanks")
            << 0 << int(RowPlanetFaultBoth) << 1 << "20,4434829637642";
        QTest::newRow("planet pass") << 0 << int(RowPlanetPass) << 1 << "12,2093023255814";
        QTest::newRow("108 teeth for 3 planets: Fz itself") << 0 << int(RowStrongest) << 1 << "Fz";
        QTest::newRow("the profile shift remarked")
            << 0 << int(RowPlanetaryNote) << 1
            << "Zr ≠ Zs + 2·Zp (108 ≠ 107): колёса со смещением исходного контура";
        QTest::newRow("the belt after the pair") << 1 << 0 << int(ColBeltShafts) << "3 → 4";
        QTest::newRow("belt pass") << 1 << 0 << int(ColBeltPass) << "0,169121051549838";
        QTest::newRow("BPFO at 1797 об/мин") << 2 << 0 << int(ColBpfo) << "107,364305840164";
        QTest::newRow("the element defect") << 2 << 0 << int(ColBallDefect) << "141,169188031651";
        QTest::newRow("BPFO factor") << 2 << 0 << int(ColBpfoFactor) << "3,58478483606557";
        QTest::newRow("bearing on a named shaft")
            << 2 << 0 << int(ColBearingPlace) << "вал 1 «мотор»";
        QTest::newRow("the shaft between the stages")
            << 3 << 1 << int(ColShaftPlace) << "водило планетарной 1, колесо 1 пары 1";
        QTest::newRow("the output")
            << 3 << 3 << int(ColShaftPlace) << "выходной: ведомый шкив ременной 1";
    }
    void tables_of_stages_and_bearings() {
        MachineDocument d;
        d.extraStages = {planetary(0), belt(1)};
        d.bearings = {onShaft(1, "6205-2RS")};
        d.shaftNames = {"мотор"};
        ChainPairs c;
        c.pairs = {{"8", "1", "42", "0"}};
        c.sources = {PairSource::Stored};
        QFETCH(int, table);
        // The bearing is read at the data set's speed; the stage at 25 Hz.
        d.known = {1, table == 2 ? "1797" : "25",
                   table == 2 ? SpeedUnit::PerMinute : SpeedUnit::Hertz};
        const Train t = buildTrain(c, 1, d);
        QVERIFY2(t.followsKnown, qPrintable(t.knownProblem));
        const TrainTables tables = trainTables(t, {}, d);
        const TextTable *shown[] = {&tables.planetaries, &tables.belts, &tables.bearings,
                                    &tables.shafts};
        QFETCH(int, row);
        QFETCH(int, column);
        const TextTable &tt = *shown[table];
        QVERIFY(row < int(tt.rows.size()));
        QTEST(tt.rows[std::size_t(row)][std::size_t(column)].text, "text");
        // The export carries every block, the planetary one by its rows.
        const QByteArray csv = trainCsv(tables);
        QVERIFY(csv.contains("Планетарная 1"));
        QVERIFY(csv.contains("\"Fсолн, Гц\";\"62,7906976744186\"") || table == 2);
        QVERIFY(csv.contains("Ремённая;Валы"));
        QVERIFY(csv.contains("№;Подшипник;Где"));
    }

    // The lines a spectrum of such a machine shows, with the names the
    // tables and the identification use: at 1797 об/мин the drive-end bearing
    // of the public data set gives BPFO 107,36 Hz.
    void lines_of_stages_and_bearings_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("value");
        const double fr = 1797.0 / 60, g = 7.94 / 39.04;
        QTest::newRow("BPFO") << "BPFO подшипника 6205-2RS (вал 1)" << 4.5 * (1 - g) * fr;
        QTest::newRow("element defect, both rings")
            << "2·BSF подшипника 6205-2RS (вал 1)" << 39.04 / 7.94 * (1 - g * g) * fr;
        QTest::newRow("inner ring defect by its shaft")
            << "BPFI подшипника 6205-2RS (вал 1) − Fr (вал 1)" << 4.5 * (1 + g) * fr - fr;
        QTest::newRow("spin by the cage")
            << "BSF подшипника 6205-2RS (вал 1) + FTF"
            << 39.04 / (2 * 7.94) * (1 - g * g) * fr + (1 - g) / 2 * fr;
        const double sun = fr * 8 / 42, carrier = sun * 21 / 129;
        QTest::newRow("planetary mesh") << "Fz (планетарная 1)" << 108 * carrier;
        QTest::newRow("its sideband by the carrier's shaft")
            << "Fz (планетарная 1) − Fr (вал 3)" << 108 * carrier - carrier;
        QTest::newRow("sun fault") << "Fсолн (планетарная 1)" << 3 * (sun - carrier);
        QTest::newRow("planet fault, both flanks")
            << "2·Fсат (планетарная 1)" << 2 * 108 * carrier / 43;
        QTest::newRow("planet pass") << "Fпер (планетарная 1)" << 3 * carrier;
        QTest::newRow("planet bearing, outer ring turning")
            << "BPFO подшипника №2 (сателлиты планетарной 1)"
            << 6.0 * (1 - 10.0 / 60) * (sun - carrier) * 21 / 43;
        QTest::newRow("its outer ring by the planets")
            << "BPFO подшипника №2 (сателлиты планетарной 1) + Frсат (планетарная 1)"
            << 6.0 * (1 - 10.0 / 60) * (sun - carrier) * 21 / 43 + (sun - carrier) * 21 / 43;
    }
    void lines_of_stages_and_bearings() {
        QFETCH(QString, name);
        QFETCH(double, value);
        MachineDocument d;
        d.extraStages = {planetary(1)};
        d.bearings = {onShaft(1, "6205-2RS")};
        MountedBearing planets;
        planets.shaft = 0;
        planets.planetsOf = 0;
        planets.bearing.geometry = {12, 10, 60, 0};
        planets.bearing.turning = TurningRing::Outer;
        d.bearings.push_back(planets);
        ChainPairs c;
        c.pairs = {{"8", "29,95", "42", "0"}};
        c.sources = {PairSource::Stored};
        const Train t = buildTrain(c, 1, d);
        int found = 0;
        forEachLine(t, {10, false, 3}, [&](const Line &line) {
            if (lineName(line, lineNames(d)) == name) {
                ++found;
                QVERIFY2(near(line.value, value), qPrintable(QString::number(line.value, 'g', 17)));
            }
        });
        QCOMPARE(found, 1);
    }

    // The spacing of two peaks is explained by a bearing's cage and by the
    // planets passing the fixed ring, as by a shaft.
    void spacing_is_named_by_the_cage_and_the_planet_pass_data() {
        QTest::addColumn<double>("spacing");
        QTest::addColumn<QString>("name");
        const double fr = 1797.0 / 60, g = 7.94 / 39.04, carrier = fr * 8 / 42 * 21 / 129;
        QTest::newRow("FTF") << (1 - g) / 2 * fr << "FTF подшипника 6205-2RS (вал 1)";
        // With the ring fixed the planets pass it at three times the
        // carrier's shaft speed: one value, two names.
        QTest::newRow("planet pass") << 3 * carrier << "Fпер (планетарная 1) = 3·Fr (вал 3)";
    }
    void spacing_is_named_by_the_cage_and_the_planet_pass() {
        QFETCH(double, spacing);
        MachineDocument d;
        d.extraStages = {planetary(1)};
        d.bearings = {onShaft(1, "6205-2RS")};
        ChainPairs c;
        c.pairs = {{"8", "29,95", "42", "0"}};
        c.sources = {PairSource::Stored};
        const Train t = buildTrain(c, 1, d);
        IdentifyRequest r;
        r.mode = IdentifyMode::Spacing;
        r.target = spacing * 1.0001;
        r.tolerance = spacing * 0.001;
        const std::vector<MatchGroup> found = identify(t, r);
        QVERIFY(!found.empty());
        QStringList names;
        for (const Line &l : found.front().lines)
            names << lineName(l, lineNames(d));
        QTEST(names.join(" = "), "name");
    }
};

QTEST_GUILESS_MAIN(MachineStagesTest)
#include "tst_machine_stages.moc"
