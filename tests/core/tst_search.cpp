// The frequency search: the parameter boxes (defaults, parsing, limits), the
// check that the inputs are those of the last calculation, and the grid walk
// with its window, rounding, bounds, order, orientation, faults, titles and
// the candidates it leaves in the frequency table.
#include "calc/calculate.h"
#include "search/grid.h"
#include "search/list_lines.h"
#include "search/search_controls.h"
#include "search/search_parameters.h"

#include <QTest>

using namespace search;
Q_DECLARE_METATYPE(search::Family)
Q_DECLARE_METATYPE(calc::Entry)
Q_DECLARE_METATYPE(search::GridPair)
Q_DECLARE_METATYPE(search::SearchParameters)
Q_DECLARE_METATYPE(search::ParameterTexts)

namespace {

// The state Calculate leaves, every coefficient 1, no rounding; `prior` is
// what an earlier calculation left.
calc::PairState calculated(const QString &z1, const QString &fr1, const QString &z2,
                           const QString &fm, calc::PairState prior = {}) {
    calc::SmallerWheelState wheel;
    std::array<QString, calc::kInputCount> texts;
    texts.fill(QStringLiteral("1"));
    texts[calc::InZ1] = z1;
    texts[calc::InFr1] = fr1;
    texts[calc::InZ2] = z2;
    texts[calc::InFm] = fm;
    calc::Calculate(prior, wheel, texts, 1);
    return prior;
}

GridPair pairOf(const QString &z1, const QString &fr1, const QString &z2, const QString &fm) {
    return gridPair(calculated(z1, fr1, z2, fm));
}

SearchParameters params(double target, double tolerance, double maxHarmonic = 10, double step = 1,
                        double maxFrequency = 1000) {
    return {target, tolerance, step, maxFrequency, maxHarmonic};
}

ParameterTexts boxes(const QString &target, const QString &tolerance, const QString &step,
                     const QString &maxFrequency, const QString &maxHarmonic) {
    return {{target, tolerance, step, maxFrequency, maxHarmonic}};
}

// "Tolerance=20" for each write, in order.
QStringList writes(const std::vector<BoxText> &w) {
    QStringList out;
    for (const BoxText &b : w)
        out << QLatin1String(kParameterBoxNames[std::size_t(b.box)]) + '=' + b.text;
    return out;
}

QStringList allLines(const GridResult &r) {
    QStringList out;
    for (const FamilySpec &f : kFamilies)
        out << listText(r, f.family).split('\n', Qt::SkipEmptyParts);
    return out;
}

void addListColumns() {
    QTest::addColumn<GridPair>("pair");
    QTest::addColumn<SearchParameters>("parameters");
    QTest::addColumn<int>("precision");
    QTest::addColumn<Family>("family");
    QTest::addColumn<QString>("list");
}

// The family's whole list, its count and its first match agree with the row.
void verifyList() {
    QFETCH(GridPair, pair);
    QFETCH(SearchParameters, parameters);
    QFETCH(int, precision);
    QFETCH(Family, family);
    QFETCH(QString, list);
    const GridResult r = walkGrid(pair, parameters, precision);
    QVERIFY(!r.fault);
    QCOMPARE(listText(r, family), list);
    const QStringList lines = list.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(matchCount(r, family), lines.size());
    const std::optional<RowTexts> first = firstMatch(r, family);
    QCOMPARE(first.has_value(), !lines.isEmpty());
    if (first) {
        const std::vector<Match> m = matchesOf(r, family);
        QCOMPARE(lineText(r, family, m.front()), lines.first());
        QVERIFY(lines.first().endsWith('=' + first->result));
        QVERIFY(lines.first().startsWith(first->k1));
    }
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private slots:
    void preparation_defaults_parses_and_limits_data();
    void preparation_defaults_parses_and_limits();
    void inputs_changed_since_calculation_are_detected_data();
    void inputs_changed_since_calculation_are_detected();
    void zero_pair_matches_in_every_active_family_data();
    void zero_pair_matches_in_every_active_family();
    void window_and_rounding_decide_a_match_data();
    void window_and_rounding_decide_a_match() { verifyList(); }
    void grid_runs_b_outer_a_inner_within_the_bounds_data();
    void grid_runs_b_outer_a_inner_within_the_bounds() { verifyList(); }
    void difference_orientation_follows_teeth_counts_data();
    void difference_orientation_follows_teeth_counts() { verifyList(); }
    void fm_families_follow_the_captured_fm_text_data();
    void fm_families_follow_the_captured_fm_text();
    void fault_abandons_the_walk_keeping_earlier_lines_data();
    void fault_abandons_the_walk_keeping_earlier_lines();
    void titles_carry_counts_and_repeats_bring_up_variants_data();
    void titles_carry_counts_and_repeats_bring_up_variants();
    void last_grid_point_candidates_stay_in_the_table_data();
    void last_grid_point_candidates_stay_in_the_table();
    void coefficient_buttons_fill_their_base_frequency_boxes_data();
    void coefficient_buttons_fill_their_base_frequency_boxes();
    void search_controls_switch_and_show_their_state_data();
    void search_controls_switch_and_show_their_state();
    void grid_is_bounded_whatever_the_caller_asks_data();
    void grid_is_bounded_whatever_the_caller_asks();
    void lines_one_by_one_are_the_list_text_data();
    void lines_one_by_one_are_the_list_text();
};

void TestSearch::preparation_defaults_parses_and_limits_data() {
    QTest::addColumn<ParameterTexts>("texts");
    QTest::addColumn<QString>("z2Now"); // calculated with 80
    QTest::addColumn<SearchNotice>("notice");
    QTest::addColumn<QStringList>("defaults");
    QTest::addColumn<QStringList>("limits");
    QTest::addColumn<SearchParameters>("parsed");
    const auto none = SearchNotice::None;
    const auto bad = SearchNotice::BadInput;
    const QString tooLong = QStringLiteral("1") + QString(49, '0') + QStringLiteral("x");
    QTest::newRow("empty boxes get defaults in their order")
        << boxes("5", "", "1", "", "") << "80" << none
        << QStringList{"Tolerance=0", "MaxHarmonic=10", "MaxFrequency=1000"} << QStringList{}
        << params(5, 0);
    QTest::newRow("commas in every box")
        << boxes("1234,5", "0,5", "0,5", "1000", "10") << "80" << none << QStringList{}
        << QStringList{} << params(1234.5, 0.5, 10, 0.5);
    QTest::newRow("point, exponent and sign forms")
        << boxes("1.2e3", "-1.5", "1", "1000", "1e1") << "80" << none << QStringList{}
        << QStringList{} << params(1200, -1.5);
    QTest::newRow("characters past 50 are cut off")
        << boxes(tooLong, "1", "1", "1000", "10") << "80" << none << QStringList{} << QStringList{}
        << params(1e49, 1);
    QTest::newRow("values at their limits stay")
        << boxes("5", "20", "1", "40000", "50") << "80" << none << QStringList{} << QStringList{}
        << params(5, 20, 50, 1, 40000);
    QTest::newRow("limits in their order, max harmonic 60")
        << boxes("5", "20,5", "1", "50000", "60") << "80" << none << QStringList{}
        << QStringList{"Tolerance=20", "MaxHarmonic=50", "MaxFrequency=40000"}
        << params(5, 20, 50, 1, 40000);
    QTest::newRow("changed inputs win over a bad target, defaults still written")
        << boxes("", "", "1", "1000", "10") << "81" << SearchNotice::InputsChanged
        << QStringList{"Tolerance=0"} << QStringList{} << SearchParameters{};
    const std::pair<const char *, ParameterTexts> refused[] = {
        {"blank tolerance is not empty and does not parse", boxes("5", " ", "1", "1000", "10")},
        {"empty target gets no default", boxes("", "1", "1", "1000", "10")},
        {"second comma", boxes("1,5,3", "1", "1", "1000", "10")},
        {"comma after a sign", boxes("10", "-0,5", "1", "1000", "10")},
        {"blank inside max harmonic, no limit written", boxes("10", "25", "1", "1000", "1 0")},
        {"step text 0", boxes("10", "1", "0", "1000", "10")},
        {"step text starting with a comma", boxes("10", "1", ",5", "1000", "10")},
        {"step text starting with a blank", boxes("10", "1", " 1", "1000", "10")},
        {"step 00 passes the text check but never advances", boxes("10", "1", "00", "1000", "10")},
    };
    for (const auto &[name, texts] : refused)
        QTest::newRow(name) << texts << "80" << bad << QStringList{} << QStringList{}
                            << SearchParameters{};
}

void TestSearch::preparation_defaults_parses_and_limits() {
    QFETCH(ParameterTexts, texts);
    QFETCH(QString, z2Now);
    QFETCH(SearchNotice, notice);
    QFETCH(QStringList, defaults);
    QFETCH(QStringList, limits);
    QFETCH(SearchParameters, parsed);
    const calc::PairState pair = calculated("40", "25", "80", "0");
    const SearchPreparation prep = prepareSearch(texts, {"40", "25", z2Now, "0"}, pair.inputTexts);
    QCOMPARE(prep.notice, notice);
    QCOMPARE(writes(prep.defaults), defaults);
    QCOMPARE(writes(prep.limits), limits);
    if (notice == SearchNotice::None) {
        QCOMPARE(prep.parameters.target, parsed.target);
        QCOMPARE(prep.parameters.tolerance, parsed.tolerance);
        QCOMPARE(prep.parameters.harmonicStep, parsed.harmonicStep);
        QCOMPARE(prep.parameters.maxFrequency, parsed.maxFrequency);
        QCOMPARE(prep.parameters.maxHarmonic, parsed.maxHarmonic);
    }
}

void TestSearch::inputs_changed_since_calculation_are_detected_data() {
    QTest::addColumn<QString>("fr1Calculated");
    QTest::addColumn<QStringList>("editsNow");
    QTest::addColumn<bool>("unchanged");
    const QString long1 = QStringLiteral("25,") + QString(60, '0');
    const QString long2 = QStringLiteral("25,") + QString(55, '0') + QStringLiteral("9");
    QTest::newRow("same texts") << "25" << QStringList{"40", "25", "80", "0"} << true;
    QTest::newRow("Z2 changed") << "25" << QStringList{"40", "25", "81", "0"} << false;
    QTest::newRow("blank added to Z1") << "25" << QStringList{"40 ", "25", "80", "0"} << false;
    QTest::newRow("emptied Fm differs from its 0")
        << "25" << QStringList{"40", "25", "80", ""} << false;
    QTest::newRow("point for the comma counts as the same")
        << "24,6" << QStringList{"40", "24.6", "80", "0"} << true;
    QTest::newRow("change past the 50th character is not seen")
        << long1 << QStringList{"40", long2, "80", "0"} << true;
}

void TestSearch::inputs_changed_since_calculation_are_detected() {
    QFETCH(QString, fr1Calculated);
    QFETCH(QStringList, editsNow);
    QFETCH(bool, unchanged);
    const calc::PairState pair = calculated("40", fr1Calculated, "80", "0");
    QCOMPARE(inputsMatchCalculation({editsNow[0], editsNow[1], editsNow[2], editsNow[3]},
                                    pair.inputTexts),
             unchanged);
}

void TestSearch::zero_pair_matches_in_every_active_family_data() {
    QTest::addColumn<Family>("family");
    QTest::addColumn<QString>("firstLine");
    const char *lines[] = {"0Fz+0Fr1=0",  "0Fz-0Fr1=0",  "0Fz+0Fr2=0",  "0Fz-0Fr2=0",
                           "0Fr1*0Fr2=0", "0Fr1+0Fr2=0", "0Fr1-0Fr2=0", "0Fm+0Fr1=0",
                           "0Fm-0Fr1=0",  "0Fm+0Fr2=0",  "0Fm-0Fr2=0"};
    for (const FamilySpec &f : kFamilies)
        QTest::newRow(calc::kRows[std::size_t(f.family)].name)
            << f.family << lines[std::size_t(f.family)];
}

void TestSearch::zero_pair_matches_in_every_active_family() {
    QFETCH(Family, family);
    QFETCH(QString, firstLine);
    // A target no greater than the tolerance.
    const GridResult r = walkGrid(pairOf("40", "25", "80", "100"), params(0.5, 1), 1);
    QCOMPARE(listText(r, family).section('\n', 0, 0), firstLine);
    QCOMPARE(firstMatch(r, family), std::optional<RowTexts>(RowTexts{"0", "0", "0"}));
}

void TestSearch::window_and_rounding_decide_a_match_data() {
    addListColumns();
    // Fz 1000, Fr1 25, Fr2 12,5.
    const GridPair p = pairOf("40", "25", "80", "0");
    QTest::newRow("tolerance 0 takes the exact value")
        << p << params(1025, 0) << 1 << Family::FzPlusFr1 << "1Fz+1Fr1=1025";
    QTest::newRow("tolerance 0 just beside the value")
        << p << params(1025.0001, 0) << 1 << Family::FzPlusFr1 << "";
    QTest::newRow("negative tolerance takes nothing")
        << p << params(1025, -1) << 1 << Family::FzPlusFr1 << "";
    QTest::newRow("upper end included")
        << p << params(1000, 25) << 1 << Family::FzPlusFr1 << "1Fz+0Fr1=1000\n1Fz+1Fr1=1025";
    QTest::newRow("lower end included")
        << p << params(1000, 25) << 1 << Family::FzMinusFr1 << "1Fz-0Fr1=1000\n1Fz-1Fr1=975";
    // Z1 = Z2 = 1: Fz = Fr1; a maximum frequency that lets a = 1 pass.
    const GridPair q = pairOf("1", "1234,567", "1", "0");
    QTest::newRow("1234,567 by 100 is tested as 1234,57")
        << q << params(1234.57, 0, 10, 1, 40000) << 100 << Family::FzPlusFr1
        << "1Fz+0Fr1=1234,57\n0Fz+1Fr1=1234,57";
    QTest::newRow("1234,567 by 100 misses its own value")
        << q << params(1234.567, 0, 10, 1, 40000) << 100 << Family::FzPlusFr1 << "";
    QTest::newRow("unrounded 1234,567 misses 1234,57")
        << q << params(1234.57, 0, 10, 1, 40000) << 1 << Family::FzPlusFr1 << "";
    QTest::newRow("a tie goes to the even hundredth")
        << pairOf("1", "0,125", "1", "0") << params(0.12, 0) << 100 << Family::FzPlusFr1
        << "1Fz+0Fr1=0,12\n0Fz+1Fr1=0,12";
}

void TestSearch::grid_runs_b_outer_a_inner_within_the_bounds_data() {
    addListColumns();
    // Fz = Fr1 = Fr2 = Fm = 1, target 2, coefficients 0 to 2.
    const GridPair ones = pairOf("1", "1", "1", "1");
    QTest::newRow("sum in grid order") << ones << params(2, 0, 2) << 1 << Family::FzPlusFr1
                                       << "2Fz+0Fr1=2\n1Fz+1Fr1=2\n0Fz+2Fr1=2";
    QTest::newRow("product") << ones << params(2, 0, 2) << 1 << Family::Fr1TimesFr2
                             << "2Fr1*1Fr2=2\n1Fr1*2Fr2=2";
    QTest::newRow("Fm sum with Fr2") << ones << params(2, 0, 2) << 1 << Family::FmPlusFr2
                                     << "2Fm+0Fr2=2\n1Fm+1Fr2=2\n0Fm+2Fr2=2";
    QTest::newRow("Fm difference")
        << ones << params(2, 0, 2) << 1 << Family::FmMinusFr1 << "2Fm-0Fr1=2";
    QTest::newRow("negative max harmonic runs no point")
        << ones << params(0, 0, -1) << 1 << Family::FzPlusFr1 << "";
    const GridPair p = pairOf("40", "25", "80", "0");
    QTest::newRow("step 0,5 reaches the half harmonics")
        << p << params(512.5, 0, 10, 0.5) << 1 << Family::FzPlusFr1 << "0,5Fz+0,5Fr1=512,5";
    QTest::newRow("step 1 does not") << p << params(512.5, 0) << 1 << Family::FzPlusFr1 << "";
    QTest::newRow("a = 2 needs 2000 over Fz")
        << p << params(2000, 0, 10, 1, 1999) << 1 << Family::FzPlusFr1 << "";
    QTest::newRow("a = 2 just within")
        << p << params(2000, 0, 10, 1, 2000) << 1 << Family::FzPlusFr1 << "2Fz+0Fr1=2000";
    QTest::newRow("b = 10 needs 250 over Fr1")
        << p << params(250, 0, 10, 1, 249) << 1 << Family::FzPlusFr1 << "";
    QTest::newRow("b = 10 just within")
        << p << params(250, 0, 10, 1, 250) << 1 << Family::FzPlusFr1 << "0Fz+10Fr1=250";
}

void TestSearch::difference_orientation_follows_teeth_counts_data() {
    addListColumns();
    // Fr1 25, target 25.
    QTest::newRow("wheel 1 smaller: a·Fr1 − b·Fr2")
        << pairOf("40", "25", "80", "0") << params(25, 0) << 1 << Family::FrDifference
        << "1Fr1-0Fr2=25\n2Fr1-2Fr2=25\n3Fr1-4Fr2=25\n4Fr1-6Fr2=25\n5Fr1-8Fr2=25\n6Fr1-10Fr2=25";
    QTest::newRow("equal teeth counts: a·Fr1 − b·Fr2")
        << pairOf("30", "25", "30", "0") << params(25, 0) << 1 << Family::FrDifference
        << "1Fr1-0Fr2=25\n2Fr1-1Fr2=25\n3Fr1-2Fr2=25\n4Fr1-3Fr2=25\n5Fr1-4Fr2=25\n"
           "6Fr1-5Fr2=25\n7Fr1-6Fr2=25\n8Fr1-7Fr2=25\n9Fr1-8Fr2=25\n10Fr1-9Fr2=25";
    QTest::newRow("wheel 2 smaller: a·Fr2 − b·Fr1")
        << pairOf("80", "25", "40", "0") << params(25, 0) << 1 << Family::FrDifference
        << "1Fr2-1Fr1=25\n2Fr2-3Fr1=25\n3Fr2-5Fr1=25\n4Fr2-7Fr1=25\n5Fr2-9Fr1=25";
}

void TestSearch::fm_families_follow_the_captured_fm_text_data() {
    QTest::addColumn<QString>("fm");
    QTest::addColumn<bool>("active");
    QTest::newRow("0 leaves them out") << "0" << false;
    QTest::newRow("0,5 takes part") << "0,5" << true;
    QTest::newRow("12 takes part") << "12" << true;
}

void TestSearch::fm_families_follow_the_captured_fm_text() {
    QFETCH(QString, fm);
    QFETCH(bool, active);
    // Target 0: only the zero pair gives 0 in these families.
    const GridResult r = walkGrid(pairOf("40", "25", "80", fm), params(0, 0), 1);
    QVERIFY(!r.fault);
    for (const Family f :
         {Family::FmPlusFr1, Family::FmMinusFr1, Family::FmPlusFr2, Family::FmMinusFr2})
        QCOMPARE(matchCount(r, f), active ? 1 : 0);
    QCOMPARE(matchCount(r, Family::FzPlusFr1), 1);
}

void TestSearch::fault_abandons_the_walk_keeping_earlier_lines_data() {
    QTest::addColumn<GridPair>("pair");
    QTest::addColumn<SearchParameters>("parameters");
    QTest::addColumn<int>("precision");
    QTest::addColumn<int>("fault"); // -1: none
    QTest::addColumn<QStringList>("lines");
    const int byZero = int(calc::ArithFault::DivisionByZero);
    const int overflow = int(calc::ArithFault::Overflow);
    const QStringList zeros = {"0Fz+0Fr1=0",  "0Fz-0Fr1=0",  "0Fz+0Fr2=0", "0Fz-0Fr2=0",
                               "0Fr1*0Fr2=0", "0Fr1+0Fr2=0", "0Fr1-0Fr2=0"};
    // The Fm text 0,0 passes the Fm condition with the value 0; the first
    // FmPlusFr1 candidate inside the window is 0·Fm + 2·Fr1 at (0, 2).
    QTest::newRow("zero Fm base inside the window")
        << pairOf("1", "1", "1", "0,0") << params(2, 0, 2) << 1 << byZero
        << QStringList{"2Fz+0Fr1=2",  "1Fz+1Fr1=2",  "0Fz+2Fr1=2", "2Fz-0Fr1=2",  "2Fz+0Fr2=2",
                       "1Fz+1Fr2=2",  "0Fz+2Fr2=2",  "2Fz-0Fr2=2", "2Fr1*1Fr2=2", "2Fr1+0Fr2=2",
                       "1Fr1+1Fr2=2", "0Fr1+2Fr2=2", "2Fr1-0Fr2=2"};
    QTest::newRow("zero Fm base outside the window is no fault")
        << pairOf("1", "1", "1", "0,0") << params(1e6, 0) << 1 << -1 << QStringList{};
    QTest::newRow("zero over a zero base")
        << pairOf("40", "25", "80", "0,0") << params(0, 0, 10, 1, 0) << 1
        << int(calc::ArithFault::InvalidOperation) << zeros;
    // The teeth text 00 ends its calculation in a fault with Fz = 0 and Fr2
    // as the calculation before left it.
    QTest::newRow("zero Fz after the teeth text 00")
        << gridPair(calculated("00", "25", "80", "0", calculated("40", "25", "80", "0")))
        << params(25, 0) << 1 << byZero << QStringList{"1Fr1+0Fr2=25", "1Fr1-0Fr2=25"};
    // The Fr1 text 00 makes every frequency but Fm zero: the a-side bound
    // passes on Fm, the b-side one divides by Fr1.
    QTest::newRow("zero Fr1 base on the b side")
        << pairOf("40", "00", "80", "100") << params(100, 0) << 1 << byZero << QStringList{};
    QTest::newRow("lower window end beyond the double range")
        << pairOf("40", "25", "80", "0") << params(1.7e308, -1.7e308) << 1 << overflow
        << QStringList{};
    QTest::newRow("upper window end beyond the double range")
        << pairOf("40", "25", "80", "0") << params(-1.7e308, -1.7e308) << 1 << overflow
        << QStringList{};
    QTest::newRow("rounding product beyond 64 bits")
        << GridPair{1, 1, 1e15, 1e15, 1e15, 0, false} << params(0, 0) << 100000
        << int(calc::ArithFault::RoundingRange) << zeros;
    QTest::newRow("candidate beyond the double range")
        << GridPair{1, 1, 1e307, 1e307, 1e307, 0, false} << params(0, 0) << 1 << overflow << zeros;
}

void TestSearch::fault_abandons_the_walk_keeping_earlier_lines() {
    QFETCH(GridPair, pair);
    QFETCH(SearchParameters, parameters);
    QFETCH(int, precision);
    QFETCH(int, fault);
    QFETCH(QStringList, lines);
    const GridResult r = walkGrid(pair, parameters, precision);
    QCOMPARE(r.fault ? int(*r.fault) : -1, fault);
    QCOMPARE(allLines(r), lines);
    if (r.fault) // even with repeated matches
        QVERIFY(!bringsUpVariants(r));
}

void TestSearch::titles_carry_counts_and_repeats_bring_up_variants_data() {
    QTest::addColumn<GridPair>("pair");
    QTest::addColumn<SearchParameters>("parameters");
    QTest::addColumn<QString>("counts"); // Label1 to Label12
    QTest::addColumn<bool>("bringsUp");
    QTest::newRow("repeated matches")
        << pairOf("1", "1", "1", "1") << params(2, 0, 2) << "3 1 3 1 2 3 1 1 3 1 3 1" << true;
    QTest::newRow("at most one match each")
        << pairOf("40", "25", "80", "0") << params(1025, 0) << "1 0 1 0 0 0 0 0 0 0 0 0" << false;
    QTest::newRow("no grid point")
        << pairOf("40", "25", "80", "0") << params(0, 0, -1) << "0 0 0 0 0 0 0 0 0 0 0 0" << false;
}

void TestSearch::titles_carry_counts_and_repeats_bring_up_variants() {
    QFETCH(GridPair, pair);
    QFETCH(SearchParameters, parameters);
    QFETCH(QString, counts);
    QFETCH(bool, bringsUp);
    const GridResult r = walkGrid(pair, parameters, 1);
    const QStringList n = counts.split(' ');
    const QStringList openings = {"Fz + Fr1 (",  "Fz - Fr1 (",  "Fz + Fr2 (",  "Fz - Fr2 (",
                                  "Fr1 * Fr2 (", "Fr1 + Fr2 (", "Fr1 - Fr2 (", "Fr2 - Fr1 (",
                                  "Fm + Fr1 (",  "Fm - Fr1 (",  "Fm + Fr2 (",  "Fm - Fr2 ("};
    const std::array<QString, kTitleCount> titles = titleTexts(r);
    for (int i = 0; i < kTitleCount; ++i)
        QCOMPARE(titles[std::size_t(i)], openings[i] + n[i] + ')');
    QCOMPARE(bringsUpVariants(r), bringsUp);
}

void TestSearch::last_grid_point_candidates_stay_in_the_table_data() {
    QTest::addColumn<double>("maxHarmonic");
    QTest::addColumn<Family>("family");
    QTest::addColumn<double>("value");
    // Fz 1000, Fr1 25, Fr2 12,5, Fm 100; the last point is a = b = 10.
    const double values[] = {10250, 9750, 10125, 9875, 31250, 375, 125, 1250, 750, 1125, 875};
    for (const FamilySpec &f : kFamilies)
        QTest::addRow("%s at 10, 10", calc::kRows[std::size_t(f.family)].name)
            << 10.0 << f.family << values[std::size_t(f.family)];
    QTest::newRow("no grid point keeps the calculated row") << -1.0 << Family::FzPlusFr1 << 1025.0;
}

void TestSearch::last_grid_point_candidates_stay_in_the_table() {
    QFETCH(double, maxHarmonic);
    QFETCH(Family, family);
    QFETCH(double, value);
    calc::PairState pair = calculated("40", "25", "80", "100");
    applyCandidates(pair.table, walkGrid(gridPair(pair), params(0, 0, maxHarmonic), 1));
    QCOMPARE(pair.table[familySpec(family).entry], value);
}

void TestSearch::coefficient_buttons_fill_their_base_frequency_boxes_data() {
    QTest::addColumn<calc::Entry>("base");
    QTest::addColumn<bool>("wheel1Smaller");
    QTest::addColumn<QStringList>("targets");
    const QStringList fz = {"FzPlusFr1_k1", "FzMinusFr1_k1", "FzPlusFr2_k1", "FzMinusFr2_k1"};
    const QStringList fm = {"FmPlusFr1_k1", "FmMinusFr1_k1", "FmPlusFr2_k1", "FmMinusFr2_k1"};
    QTest::newRow("Fz") << calc::Entry::Fz << true << fz;
    QTest::newRow("Fz, wheel 2 smaller") << calc::Entry::Fz << false << fz;
    QTest::newRow("Fm") << calc::Entry::Fm << true << fm;
    QTest::newRow("Fr1, wheel 1 smaller: difference k1")
        << calc::Entry::Fr1 << true
        << QStringList{"FzPlusFr1_k2",    "FzMinusFr1_k2", "Fr1TimesFr2_k1", "Fr1PlusFr2_k1",
                       "FrDifference_k1", "FmPlusFr1_k2",  "FmMinusFr1_k2"};
    QTest::newRow("Fr1, wheel 2 smaller: difference k2")
        << calc::Entry::Fr1 << false
        << QStringList{"FzPlusFr1_k2",    "FzMinusFr1_k2", "Fr1TimesFr2_k1", "Fr1PlusFr2_k1",
                       "FrDifference_k2", "FmPlusFr1_k2",  "FmMinusFr1_k2"};
    QTest::newRow("Fr2, wheel 1 smaller: difference k2")
        << calc::Entry::Fr2 << true
        << QStringList{"FzPlusFr2_k2",    "FzMinusFr2_k2", "Fr1TimesFr2_k2", "Fr1PlusFr2_k2",
                       "FrDifference_k2", "FmPlusFr2_k2",  "FmMinusFr2_k2"};
    QTest::newRow("Fr2, wheel 2 smaller: difference k1")
        << calc::Entry::Fr2 << false
        << QStringList{"FzPlusFr2_k2",    "FzMinusFr2_k2", "Fr1TimesFr2_k2", "Fr1PlusFr2_k2",
                       "FrDifference_k1", "FmPlusFr2_k2",  "FmMinusFr2_k2"};
}

void TestSearch::coefficient_buttons_fill_their_base_frequency_boxes() {
    QFETCH(calc::Entry, base);
    QFETCH(bool, wheel1Smaller);
    QFETCH(QStringList, targets);
    QStringList got;
    for (const calc::Entry e : coefficientTargets(base, wheel1Smaller))
        got << QLatin1String(calc::entryName(e));
    QCOMPARE(got, targets);
}

void TestSearch::search_controls_switch_and_show_their_state_data() {
    QTest::addColumn<int>("modePresses");
    QTest::addColumn<int>("stepPresses");
    QTest::addColumn<QStringList>("shown"); // mode edit, mode caption, step box, step caption
    QTest::newRow("at start") << 0 << 0 << QStringList{"1", "Ручной поиск", "1", "<"};
    QTest::newRow("manual search") << 1 << 0 << QStringList{"0", "Автопоиск", "1", "<"};
    QTest::newRow("back to automatic") << 2 << 0 << QStringList{"1", "Ручной поиск", "1", "<"};
    QTest::newRow("half step") << 0 << 1 << QStringList{"1", "Ручной поиск", "0,5", ">"};
    QTest::newRow("whole step again") << 0 << 2 << QStringList{"1", "Ручной поиск", "1", "<"};
    QTest::newRow("manual with half step") << 3 << 1 << QStringList{"0", "Автопоиск", "0,5", ">"};
}

void TestSearch::search_controls_switch_and_show_their_state() {
    QFETCH(int, modePresses);
    QFETCH(int, stepPresses);
    QFETCH(QStringList, shown);
    SearchControls controls;
    for (int i = 0; i < modePresses; ++i)
        controls.toggleMode();
    for (int i = 0; i < stepPresses; ++i)
        controls.toggleStep();
    QCOMPARE((QStringList{controls.modeText(), controls.modeCaption(), controls.stepText(),
                          controls.stepCaption()}),
             shown);
}

void TestSearch::grid_is_bounded_whatever_the_caller_asks_data() {
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("maxHarmonic");
    QTest::addColumn<int>("values");
    QTest::addColumn<double>("last");
    QTest::newRow("largest window grid: 0,5 up to 50") << 0.5 << 50.0 << 101 << 50.0;
    QTest::newRow("whole steps up to 50") << 1.0 << 50.0 << 51 << 50.0;
    QTest::newRow("a step of 0,001 stops at 101 values") << 0.001 << 50.0 << 101 << 0.1;
    QTest::newRow("a step of 0,0001 stops at 101 values") << 0.0001 << 50.0 << 101 << 0.01;
    QTest::newRow("a limit of a million stops at 101 values") << 1.0 << 1e6 << 101 << 100.0;
}

void TestSearch::grid_is_bounded_whatever_the_caller_asks() {
    QFETCH(double, step);
    QFETCH(double, maxHarmonic);
    QFETCH(int, values);
    QFETCH(double, last);
    const GridResult r =
        walkGrid(pairOf("40", "25", "80", "100"), params(1025, 0, maxHarmonic, step), 1);
    QCOMPARE(int(r.coefficients.size()), values);
    QVERIFY(qAbs(r.coefficients.back() - last) < 1e-9);
    // 1·Fz + 1·Fr1 = 1025 is found exactly when the grid reaches 1.
    QCOMPARE(matchCount(r, Family::FzPlusFr1) > 0, last >= 1.0);
}

void TestSearch::lines_one_by_one_are_the_list_text_data() {
    QTest::addColumn<GridPair>("pair");
    QTest::addColumn<SearchParameters>("parameters");
    QTest::addColumn<int>("precision");
    QTest::newRow("every candidate matching")
        << GridPair{1, 1, 0.1, 0.1, 0.1, 0.1, true} << params(5, 20, 50, 0.5, 40000) << 1;
    QTest::newRow("fifteen digits, wheel 2 smaller")
        << pairOf("53", "24,5432109876543", "17", "12,3456789012345") << params(500, 20, 50, 0.5)
        << 1;
    QTest::newRow("rounded, Fm left out")
        << pairOf("17", "24,5", "53", "0") << params(416, 20, 20, 0.5) << 100;
    QTest::newRow("exponent form")
        << pairOf("1", "0,00001", "3", "0,000007") << params(0, 0.001, 10, 0.5) << 1;
    QTest::newRow("near powers of ten")
        << pairOf("1", "9,99999999999999", "1", "0,0000999999999999") << params(0, 20, 3, 0.5) << 1;
    QTest::newRow("near the exponent form")
        << pairOf("3", "0,0001", "7", "0,00003") << params(0, 0.01, 4, 0.5) << 1;
}

// Any line read alone is that line of the whole text, and the widest line
// measured from its parts is the widest of the whole text, whether the digits
// advance alike (as in most fonts) or each its own way.
void TestSearch::lines_one_by_one_are_the_list_text() {
    QFETCH(GridPair, pair);
    QFETCH(SearchParameters, parameters);
    QFETCH(int, precision);
    CharAdvances proportional{};
    for (std::size_t c = 0; c < proportional.size(); ++c)
        proportional[c] = std::int32_t(c * 37 % 101 + 1);
    CharAdvances tabular = proportional;
    std::fill(tabular.begin() + '0', tabular.begin() + '9' + 1, 40);
    const auto r = std::make_shared<const GridResult>(walkGrid(pair, parameters, precision));
    for (const FamilySpec &f : kFamilies) {
        const QStringList whole = listText(*r, f.family).split('\n', Qt::SkipEmptyParts);
        const ListLines lines(r, f.family);
        QCOMPARE(lines.count(), whole.size());
        for (int i = whole.size() - 1; i >= 0; --i)
            QCOMPARE(lines.line(i), whole[i]);
        for (const CharAdvances &advances : {proportional, tabular}) {
            std::int64_t widest = 0;
            for (const QString &line : whole) {
                std::int64_t width = 0;
                for (const QChar c : line)
                    width += advances[c.unicode()];
                widest = std::max(widest, width);
            }
            QCOMPARE(lines.widest(advances), widest);
        }
    }
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
