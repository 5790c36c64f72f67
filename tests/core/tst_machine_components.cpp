// The planetary stage, the belt drive and the bearings against worked
// numbers: a published planetary ratio carried on to every figure, a public
// bearing data set's geometry and factor table, and belts with and without
// slip. The expected figures were computed independently (exact fractions
// from the Willis relation solved by hand, the bearing formulas in another
// language); an invariant checks every fixed/driven combination against the
// Willis relation itself, which catches a sign or a swapped member.
#include "machine/bearing.h"
#include "machine/component_input.h"
#include "machine/stages.h"

#include <QtTest>
#include <cmath>

using namespace machine;

Q_DECLARE_METATYPE(machine::Member)
Q_DECLARE_METATYPE(machine::TurningRing)
Q_DECLARE_METATYPE(machine::BeltTexts)
Q_DECLARE_METATYPE(machine::BearingTexts)

namespace {

bool near(double actual, double expected, double relative = 1e-12) {
    return std::fabs(actual - expected) <= relative * std::max(1.0, std::fabs(expected));
}

// Zs 21, Zp 43, Zr 108, N 3: a published stage (ratio 6,14286 with the sun
// driven, the ring fixed and the carrier out).
PlanetaryStage published(Member fixed, Member input) {
    return {21, 43, 108, 3, fixed, input};
}

} // namespace

#define QVERIFY_NEAR(actual, expected)                                                             \
    QVERIFY2(near((actual), (expected)), qPrintable(QStringLiteral("%1 = %2, expected %3")         \
                                                        .arg(#actual)                              \
                                                        .arg(actual, 0, 'g', 17)                   \
                                                        .arg(expected, 0, 'g', 17)))

class MachineComponentsTest : public QObject {
    Q_OBJECT

private slots:
    void planetary_stage_by_the_willis_relation_data() {
        QTest::addColumn<Member>("fixed");
        QTest::addColumn<Member>("input");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("sun");
        QTest::addColumn<double>("carrier");
        QTest::addColumn<double>("ring");
        QTest::addColumn<double>("planetRelative");
        QTest::addColumn<double>("mesh");
        QTest::addColumn<double>("sunFault");
        QTest::addColumn<double>("ringFault");
        QTest::addColumn<double>("planetPass");
        // 25 Hz on the shaft before. fc = 25·21/129 = 525/129.
        QTest::newRow("ring fixed, sun in, carrier out (published 6,14286)")
            << Member::Ring << Member::Sun << 129.0 / 21 << 25.0 << 525.0 / 129 << 0.0
            << -(25 - 525.0 / 129) * 21 / 43 << 108 * 525.0 / 129 << 3 * (25 - 525.0 / 129)
            << 3 * 525.0 / 129 << 3 * 525.0 / 129;
        // A speed increaser: the same stage driven from the carrier.
        QTest::newRow("ring fixed, carrier in, sun out")
            << Member::Ring << Member::Carrier << 21.0 / 129 << 25.0 * 129 / 21 << 25.0 << 0.0
            << -(25.0 * 129 / 21 - 25) * 21 / 43 << 108 * 25.0 << 3 * (25.0 * 129 / 21 - 25) << 75.0
            << 75.0;
        // A star stage: the ring turns backwards at 25·21/108, no planet
        // passes the housing.
        QTest::newRow("carrier fixed, sun in, ring out (reversed)")
            << Member::Carrier << Member::Sun << -108.0 / 21 << 25.0 << 0.0 << -25.0 * 21 / 108
            << -25.0 * 21 / 43 << 525.0 << 75.0 << 3 * 25.0 * 21 / 108 << 0.0;
        // fc = 25·108/129.
        QTest::newRow("sun fixed, ring in, carrier out")
            << Member::Sun << Member::Ring << 129.0 / 108 << 0.0 << 2700.0 / 129 << 25.0
            << 2700.0 / 129 * 21 / 43 << 21 * 2700.0 / 129 << 3 * 2700.0 / 129
            << 3 * (25 - 2700.0 / 129) << 3 * 2700.0 / 129;
    }
    void planetary_stage_by_the_willis_relation() {
        QFETCH(Member, fixed);
        QFETCH(Member, input);
        QFETCH(double, ratio);
        const PlanetaryStage s = published(fixed, input);
        QVERIFY(planetaryProblem(s).isEmpty());
        QVERIFY_NEAR(planetaryRatio(s), ratio);
        const PlanetaryFigures f = planetaryFigures(s, 25);
        QFETCH(double, sun);
        QFETCH(double, carrier);
        QFETCH(double, ring);
        QFETCH(double, planetRelative);
        QFETCH(double, mesh);
        QFETCH(double, sunFault);
        QFETCH(double, ringFault);
        QFETCH(double, planetPass);
        QVERIFY_NEAR(f.sun, sun);
        QVERIFY_NEAR(f.carrier, carrier);
        QVERIFY_NEAR(f.ring, ring);
        QVERIFY_NEAR(f.planetRelative, planetRelative);
        QVERIFY_NEAR(f.planet, carrier + planetRelative);
        QVERIFY_NEAR(f.mesh, mesh);
        QVERIFY_NEAR(f.sunFault, sunFault);
        QVERIFY_NEAR(f.ringFault, ringFault);
        QVERIFY_NEAR(f.planetFault, mesh / 43);
        QVERIFY_NEAR(f.planetFaultBoth, 2 * mesh / 43);
        QVERIFY_NEAR(f.planetPass, planetPass);
        QVERIFY_NEAR(f.output, 25 / ratio);
    }

    // Every fixed and driven member, for stages of other teeth: the speeds
    // satisfy the Willis relation, the fixed member stands, the mesh is the
    // same seen from the sun and from the ring, and the planet meshes with
    // both at its own relative speed.
    void every_arrangement_keeps_the_willis_relation() {
        for (const auto &[zs, zp, zr, n] :
             {std::array{21, 43, 108, 3}, std::array{17, 31, 79, 4}, std::array{40, 20, 80, 5}})
            for (const Member fixed : {Member::Sun, Member::Carrier, Member::Ring})
                for (const Member input : {Member::Sun, Member::Carrier, Member::Ring}) {
                    if (fixed == input)
                        continue;
                    const PlanetaryStage s{zs, zp, zr, n, fixed, input};
                    const PlanetaryFigures f = planetaryFigures(s, 12.5);
                    const double fixedSpeed = fixed == Member::Sun       ? f.sun
                                              : fixed == Member::Carrier ? f.carrier
                                                                         : f.ring;
                    QCOMPARE(fixedSpeed, 0.0);
                    QVERIFY(near(zs * (f.sun - f.carrier) + zr * (f.ring - f.carrier), 0, 1e-12));
                    QVERIFY(near(f.mesh, zr * std::fabs(f.ring - f.carrier)));
                    QVERIFY(near(f.planetRelative * zp, (f.ring - f.carrier) * zr));
                    QVERIFY(near(f.output * planetaryRatio(s), 12.5));
                }
    }

    void planetary_checks_data() {
        QTest::addColumn<PlanetaryStage>("stage");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<int>("remarks");
        QTest::newRow("published: profile shifted (108 ≠ 107)")
            << published(Member::Ring, Member::Sun) << "" << 1;
        QTest::newRow("standard, equally spaced") << PlanetaryStage{20, 30, 80, 4} << "" << 0;
        QTest::newRow("planets cannot be equally spaced")
            << PlanetaryStage{20, 30, 80, 3} << "" << 1;
        QTest::newRow("no planets")
            << PlanetaryStage{20, 30, 80, 0} << "сателлитов — от 1 до 20" << 0;
        QTest::newRow("ring smaller than the sun")
            << PlanetaryStage{80, 30, 20, 4}
            << "у венца (Zr = 20) зубьев должно быть больше, чем у солнца (Zs = 80)" << 0;
        QTest::newRow("driven member fixed")
            << PlanetaryStage{20, 30, 80, 4, Member::Sun, Member::Sun}
            << "неподвижное звено не может быть ведущим" << 0;
    }
    void planetary_checks() {
        QFETCH(PlanetaryStage, stage);
        QTEST(planetaryProblem(stage), "problem");
        if (planetaryProblem(stage).isEmpty())
            QTEST(int(planetaryRemarks(stage).size()), "remarks");
    }

    void strongest_line_near_the_mesh_data() {
        QTest::addColumn<int>("ring");
        QTest::addColumn<int>("planets");
        QTest::addColumn<Member>("fixed");
        QTest::addColumn<int>("harmonic");
        QTest::addColumn<int>("order"); // -99: none
        QTest::newRow("Zr a multiple of N: Fz itself") << 108 << 3 << Member::Ring << 1 << 0;
        QTest::newRow("Zr = 3k + 1: one below") << 100 << 3 << Member::Ring << 1 << -1;
        QTest::newRow("second harmonic, 200 = 3k + 2: one above")
            << 100 << 3 << Member::Ring << 2 << 1;
        QTest::newRow("third harmonic always whole") << 100 << 3 << Member::Ring << 3 << 0;
        QTest::newRow("N even, halfway: the upper") << 102 << 4 << Member::Ring << 1 << 2;
        QTest::newRow("five planets, 77 = 5k + 2") << 77 << 5 << Member::Ring << 1 << -2;
        QTest::newRow("sun fixed: its teeth count (20 = 3k + 2)")
            << 100 << 3 << Member::Sun << 1 << 1;
        QTest::newRow("carrier fixed: no planet passes") << 100 << 3 << Member::Carrier << 1 << -99;
    }
    void strongest_line_near_the_mesh() {
        QFETCH(int, ring);
        QFETCH(int, planets);
        QFETCH(Member, fixed);
        QFETCH(int, harmonic);
        const PlanetaryStage s{20,      40,    ring,
                               planets, fixed, fixed == Member::Sun ? Member::Ring : Member::Sun};
        QTEST(strongestMeshOrder(s, harmonic).value_or(-99), "order");
    }

    void belt_drive_data() {
        QTest::addColumn<BeltStage>("belt");
        QTest::addColumn<double>("output");
        QTest::addColumn<double>("beltPass");
        // 1480 об/мин at the motor, sheaves 125 and 250 mm, a 1800 mm belt.
        const double f1 = 1480.0 / 60;
        QTest::newRow("no slip") << BeltStage{125, 250, 1800, 0} << f1 / 2
                                 << M_PI * 125 * f1 / 1800;
        QTest::newRow("2 % slip: the driven sheave behind, the belt with the motor")
            << BeltStage{125, 250, 1800, 2} << f1 / 2 * 0.98 << M_PI * 125 * f1 / 1800;
        QTest::newRow("a step-up drive")
            << BeltStage{300, 100, 2000, 0} << f1 * 3 << M_PI * 300 * f1 / 2000;
    }
    void belt_drive() {
        QFETCH(BeltStage, belt);
        QVERIFY(beltProblem(belt).isEmpty());
        const BeltFigures f = beltFigures(belt, 1480.0 / 60);
        QFETCH(double, output);
        QFETCH(double, beltPass);
        QVERIFY_NEAR(f.output, output);
        QVERIFY_NEAR(f.beltPass, beltPass);
        QVERIFY_NEAR(beltRatio(belt) * f.output, 1480.0 / 60);
    }

    void belt_checks_data() {
        QTest::addColumn<BeltStage>("belt");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<int>("remarks");
        QTest::newRow("too short to go round") << BeltStage{125, 250, 500, 0} << "" << 1;
        QTest::newRow("no sheave") << BeltStage{0, 250, 1800, 0}
                                   << "диаметры шкивов — больше 0 и не больше 100000 мм" << 0;
        QTest::newRow("slip beyond reason")
            << BeltStage{125, 250, 1800, 30} << "проскальзывание — от 0 до 20 %" << 0;
        QTest::newRow("not a number") << BeltStage{125, 250, std::nan(""), 0}
                                      << "длина ремня — больше 0 и не больше 100000 мм" << 0;
    }
    void belt_checks() {
        QFETCH(BeltStage, belt);
        QTEST(beltProblem(belt), "problem");
        if (beltProblem(belt).isEmpty())
            QTEST(int(beltRemarks(belt).size()), "remarks");
    }

    void bearing_factors_data() {
        QTest::addColumn<Bearing>("bearing");
        QTest::addColumn<double>("ftf");
        QTest::addColumn<double>("bpfo");
        QTest::addColumn<double>("bpfi");
        QTest::addColumn<double>("bsf");
        QTest::addColumn<double>("tolerance");
        Bearing driveEnd; // 6205: Z 9, d 7,94 mm, D 39,04 mm, φ 0
        driveEnd.designation = QStringLiteral("6205-2RS");
        driveEnd.geometry = {9, 7.94, 39.04, 0};
        const double g = 7.94 / 39.04;
        QTest::newRow("geometry, exact")
            << driveEnd << (1 - g) / 2 << 4.5 * (1 - g) << 4.5 * (1 + g)
            << 39.04 / (2 * 7.94) * (1 - g * g) << 1e-12;
        // The data set's own table: 0,39828, 3,5848, 5,4152 and 4,7135 for 2·BSF.
        QTest::newRow("geometry against the published table")
            << driveEnd << 0.39828 << 3.5848 << 5.4152 << 4.7135 / 2 << 1e-4;
        Bearing outer = driveEnd;
        outer.turning = TurningRing::Outer;
        QTest::newRow("outer ring turning: the cage runs faster")
            << outer << (1 + g) / 2 << 4.5 * (1 - g) << 4.5 * (1 + g)
            << 39.04 / (2 * 7.94) * (1 - g * g) << 1e-12;
        Bearing angular; // 7205: Z 13, d 7,938, D 38,5, φ 40°
        angular.geometry = {13, 7.938, 38.5, 40};
        const double ga = 7.938 / 38.5 * std::cos(40 * M_PI / 180);
        QTest::newRow("angular contact, 40°")
            << angular << (1 - ga) / 2 << 6.5 * (1 - ga) << 6.5 * (1 + ga)
            << 38.5 / (2 * 7.938) * (1 - ga * ga) << 1e-12;
        Bearing catalogue;
        catalogue.byGeometry = false;
        catalogue.catalogue = {0.39828, 3.5848, 5.4152, 4.7135};
        catalogue.catalogueSpin = SpinConvention::BothRings;
        QTest::newRow("catalogue printing 2·BSF as BSF")
            << catalogue << 0.39828 << 3.5848 << 5.4152 << 4.7135 / 2 << 1e-12;
        catalogue.catalogueSpin = SpinConvention::Spin;
        catalogue.catalogue.bsf = 2.3567;
        catalogue.turning = TurningRing::Outer;
        QTest::newRow("catalogue, outer ring turning")
            << catalogue << 1 - 0.39828 << 3.5848 << 5.4152 << 2.3567 << 1e-12;
    }
    void bearing_factors() {
        QFETCH(Bearing, bearing);
        QFETCH(double, tolerance);
        QVERIFY(bearingProblem(bearing).isEmpty());
        const BearingFactors f = bearingFactors(bearing);
        QFETCH(double, ftf);
        QFETCH(double, bpfo);
        QFETCH(double, bpfi);
        QFETCH(double, bsf);
        QVERIFY2(near(f.ftf, ftf, tolerance), qPrintable(QString::number(f.ftf, 'g', 17)));
        QVERIFY2(near(f.bpfo, bpfo, tolerance), qPrintable(QString::number(f.bpfo, 'g', 17)));
        QVERIFY2(near(f.bpfi, bpfi, tolerance), qPrintable(QString::number(f.bpfi, 'g', 17)));
        QVERIFY2(near(f.bsf, bsf, tolerance), qPrintable(QString::number(f.bsf, 'g', 17)));
        QVERIFY(near(bearingFactor(f, BearingLine::BallDefect), 2 * bsf, tolerance));
    }

    void drive_end_bearing_at_1797_rpm_gives_the_published_bpfo() {
        Bearing b;
        b.geometry = {9, 7.94, 39.04, 0};
        const double hertz = bearingFactor(bearingFactors(b), BearingLine::Bpfo) * 1797 / 60;
        QCOMPARE(QString::number(hertz, 'f', 2), QStringLiteral("107.36"));
    }

    void bearing_checks_data() {
        QTest::addColumn<Bearing>("bearing");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<int>("remarks");
        Bearing b;
        b.geometry = {9, 40, 39.04, 0};
        QTest::newRow("element wider than the pitch circle")
            << b << "диаметр тела качения d должен быть меньше диаметра окружности центров D" << 0;
        b.geometry = {9, 7.94, 39.04, 90};
        QTest::newRow("contact angle of 90°")
            << b << "угол контакта — от 0 до 90°, не включая 90" << 0;
        b.geometry = {2, 7.94, 39.04, 0};
        QTest::newRow("two elements") << b << "тел качения — от 3 до 200" << 0;
        Bearing c;
        c.byGeometry = false;
        c.catalogue = {0.39828, 3.5848, 5.4152, 2.3567};
        QTest::newRow("consistent catalogue") << c << "" << 0;
        c.catalogue = {0.39828, 3.5848, 4.4152, 2.3567};
        QTest::newRow("BPFI misread") << c << "" << 1;
        c.catalogue = {1.2, 3.5848, 5.4152, 2.3567};
        QTest::newRow("cage faster than the ring")
            << c << "FTF — меньше 1: сепаратор медленнее кольца" << 0;
        c.catalogue = {0.4, 3.6, 5.4, std::nan("")};
        QTest::newRow("not a number") << c << "коэффициенты — больше 0 и не больше 200" << 0;
    }
    void bearing_checks() {
        QFETCH(Bearing, bearing);
        QTEST(bearingProblem(bearing), "problem");
        QTEST(int(bearingRemarks(bearing).size()), "remarks");
    }

    // Typed texts: the comma rule, the field named when it is wrong, the
    // stage's own rules after the numbers, and what a dialog shows again
    // reads back to the same stage or bearing.
    void typed_belts_and_bearings_data() {
        QTest::addColumn<BeltTexts>("belt");
        QTest::addColumn<BearingTexts>("bearing");
        QTest::addColumn<QString>("error");
        const BeltTexts belt{"125", "250,5", "1800", ""};
        BearingTexts geometry;
        geometry.designation = QStringLiteral("  6205  ");
        geometry.elements = "9";
        geometry.elementDiameter = "7,94";
        geometry.pitchDiameter = "39.04";
        QTest::newRow("both read") << belt << geometry << "";
        QTest::newRow("D2 not a number")
            << BeltTexts{"125", "2,5,0", "1800", ""} << geometry << "D2: «2,5,0» — не число";
        QTest::newRow("length missing")
            << BeltTexts{"125", "250", " ", "1"} << geometry << "L: не задано";
        QTest::newRow("slip past its bound") << BeltTexts{"125", "250", "1800", "25"} << geometry
                                             << "проскальзывание — от 0 до 20 %";
        BearingTexts half = geometry;
        half.elements = "9,5";
        QTest::newRow("half an element")
            << belt << half << "Z: число тел качения — целое от 3 до 200";
        BearingTexts wide = geometry;
        wide.elementDiameter = "40";
        QTest::newRow("element wider than the circle")
            << belt << wide
            << "диаметр тела качения d должен быть меньше диаметра окружности центров D";
        BearingTexts catalogue;
        catalogue.byGeometry = false;
        catalogue.ftf = "0,39828";
        catalogue.bpfo = "3,5848";
        catalogue.bpfi = "5,4152";
        catalogue.bsf = "";
        QTest::newRow("catalogue without BSF") << belt << catalogue << "BSF: не задано";
        catalogue.bsf = "2,3567";
        catalogue.turning = TurningRing::Outer;
        QTest::newRow("catalogue, outer ring") << belt << catalogue << "";
    }
    void typed_belts_and_bearings() {
        QFETCH(BeltTexts, belt);
        QFETCH(BearingTexts, bearing);
        QFETCH(QString, error);
        const BeltRead b = readBelt(belt);
        const BearingRead r = readBearing(bearing);
        QCOMPARE(b.error.isEmpty() ? r.error : b.error, error);
        QCOMPARE(b.belt.has_value(), b.error.isEmpty());
        QCOMPARE(r.bearing.has_value(), r.error.isEmpty());
        if (b.belt) {
            const BeltRead again = readBelt(beltTexts(*b.belt));
            QVERIFY(again.belt);
            QCOMPARE(again.belt->driven, b.belt->driven);
            QCOMPARE(again.belt->slipPercent, b.belt->slipPercent);
        }
        if (r.bearing) {
            QCOMPARE(r.bearing->designation, bearing.designation.trimmed());
            const BearingRead again = readBearing(bearingTexts(*r.bearing));
            QVERIFY(again.bearing);
            const BearingFactors f = bearingFactors(*r.bearing), g = bearingFactors(*again.bearing);
            QCOMPARE(g.bpfi, f.bpfi);
            QCOMPARE(g.ftf, f.ftf);
            QCOMPARE(g.bsf, f.bsf);
        }
    }
};

QTEST_GUILESS_MAIN(MachineComponentsTest)
#include "tst_machine_components.moc"
