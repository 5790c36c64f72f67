// The frequency search: the parameter boxes (defaults, parsing, limits), the
// check that the inputs are those of the last calculation, and the grid walk
// with its window, bounds, rounding, orientation, order, faults, titles and
// the candidates it leaves in the frequency table.
#include "calc/calculate.h"
#include "search/grid.h"
#include "search/search_parameters.h"

#include <QTest>

using namespace search;
Q_DECLARE_METATYPE(search::Family)
Q_DECLARE_METATYPE(search::GridPair)
Q_DECLARE_METATYPE(search::SearchParameters)
Q_DECLARE_METATYPE(search::ParameterTexts)
Q_DECLARE_METATYPE(search::RowTexts)

namespace {

// A pair after Calculate with every coefficient 1 and no rounding; `prior`
// is the state an earlier calculation left.
calc::PairState calculated(const QString &z1, const QString &fr1, const QString &z2,
                           const QString &fm, calc::PairState prior = {})
{
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

GridPair pairOf(const QString &z1, const QString &fr1, const QString &z2, const QString &fm)
{
    return gridPair(calculated(z1, fr1, z2, fm));
}

SearchParameters params(double target, double tolerance, double maxHarmonic = 10, double step = 1,
                        double maxFrequency = 1000)
{
    return {target, tolerance, step, maxFrequency, maxHarmonic};
}

ParameterTexts boxes(const QString &target, const QString &tolerance, const QString &step,
                     const QString &maxFrequency, const QString &maxHarmonic)
{
    return {{target, tolerance, step, maxFrequency, maxHarmonic}};
}

// "Edit58=20" for each write, in order.
QStringList writes(const std::vector<BoxText> &w)
{
    QStringList out;
    for (const BoxText &b : w)
        out << QString::fromLatin1(kParameterBoxes[static_cast<std::size_t>(b.box)].edit) + '=' +
                   b.text;
    return out;
}

QStringList allLines(const GridResult &r)
{
    QStringList out;
    for (const FamilySpec &f : kFamilies)
        out << listText(r, f.family).split('\n', Qt::SkipEmptyParts);
    return out;
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private slots:
    void empty_parameter_boxes_get_defaults_data();
    void empty_parameter_boxes_get_defaults();
    void parameter_texts_parse_after_the_comma_rule_data();
    void parameter_texts_parse_after_the_comma_rule();
    void upper_limits_lower_values_and_rewrite_boxes_data();
    void upper_limits_lower_values_and_rewrite_boxes();
    void inputs_changed_since_calculation_are_detected_data();
    void inputs_changed_since_calculation_are_detected();
    void preparation_stops_at_the_first_failing_step_data();
    void preparation_stops_at_the_first_failing_step();

    void zero_pair_matches_in_every_active_family_data();
    void zero_pair_matches_in_every_active_family();
    void window_includes_both_ends_and_nothing_beyond_data();
    void window_includes_both_ends_and_nothing_beyond();
    void lines_and_first_match_follow_grid_order_data();
    void lines_and_first_match_follow_grid_order();
    void half_step_runs_coefficients_by_halves_data();
    void half_step_runs_coefficients_by_halves();
    void max_frequency_bounds_each_coefficient_data();
    void max_frequency_bounds_each_coefficient();
    void max_harmonic_bounds_the_grid_data();
    void max_harmonic_bounds_the_grid();
    void fm_families_follow_the_captured_fm_text_data();
    void fm_families_follow_the_captured_fm_text();
    void difference_orientation_follows_teeth_counts_data();
    void difference_orientation_follows_teeth_counts();
    void candidates_are_rounded_before_the_test_data();
    void candidates_are_rounded_before_the_test();
    void fault_abandons_the_walk_keeping_earlier_lines_data();
    void fault_abandons_the_walk_keeping_earlier_lines();
    void titles_carry_counts_and_repeats_bring_up_variants_data();
    void titles_carry_counts_and_repeats_bring_up_variants();
    void last_grid_point_candidates_stay_in_the_table_data();
    void last_grid_point_candidates_stay_in_the_table();
};

void TestSearch::empty_parameter_boxes_get_defaults_data()
{
    QTest::addColumn<ParameterTexts>("texts");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("all three empty, in their order")
        << boxes("", "", "1", "", "") << QStringList{"Edit58=0", "Edit61=10", "Edit60=1000"};
    QTest::newRow("only max frequency empty")
        << boxes("5", "1", "1", "", "10") << QStringList{"Edit60=1000"};
    QTest::newRow("target and step get nothing")
        << boxes("", "1", "", "1000", "10") << QStringList{};
    QTest::newRow("a blank is not empty") << boxes("5", " ", "1", " ", " ") << QStringList{};
}

void TestSearch::empty_parameter_boxes_get_defaults()
{
    QFETCH(ParameterTexts, texts);
    QFETCH(QStringList, expected);
    ParameterTexts after = texts;
    QCOMPARE(writes(fillEmptyParameters(after)), expected);
    for (const QString &w : expected) {
        const QStringList parts = w.split('=');
        for (const ParameterBoxSpec &spec : kParameterBoxes)
            if (parts[0] == QLatin1String(spec.edit))
                QCOMPARE(after[spec.box], parts[1]);
    }
}

void TestSearch::parameter_texts_parse_after_the_comma_rule_data()
{
    QTest::addColumn<ParameterTexts>("texts");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("target");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<double>("step");
    const QString tooLong = QStringLiteral("1") + QString(49, '0') + QStringLiteral("x");
    QTest::newRow("commas in every box")
        << boxes("1234,5", "0,5", "0,5", "1000", "10") << true << 1234.5 << 0.5 << 0.5;
    QTest::newRow("point and exponent forms")
        << boxes("1.2e3", "1.5", "1", "1000", "10") << true << 1200.0 << 1.5 << 1.0;
    QTest::newRow("negative tolerance is a value")
        << boxes("10", "-1", "1", "1000", "10") << true << 10.0 << -1.0 << 1.0;
    QTest::newRow("characters past 50 are cut off")
        << boxes(tooLong, "1", "1", "1000", "10") << true << 1e49 << 1.0 << 1.0;
    QTest::newRow("empty target") << boxes("", "1", "1", "1000", "10") << false << 0.0 << 0.0
                                  << 0.0;
    QTest::newRow("second comma") << boxes("1,5,3", "1", "1", "1000", "10") << false << 0.0 << 0.0
                                  << 0.0;
    QTest::newRow("comma after a sign")
        << boxes("10", "-0,5", "1", "1000", "10") << false << 0.0 << 0.0 << 0.0;
    QTest::newRow("blank inside max harmonic")
        << boxes("10", "1", "1", "1000", "1 0") << false << 0.0 << 0.0 << 0.0;
    QTest::newRow("step text 0") << boxes("10", "1", "0", "1000", "10") << false << 0.0 << 0.0
                                 << 0.0;
    QTest::newRow("step text starting with a comma")
        << boxes("10", "1", ",5", "1000", "10") << false << 0.0 << 0.0 << 0.0;
    QTest::newRow("step text starting with a blank")
        << boxes("10", "1", " 1", "1000", "10") << false << 0.0 << 0.0 << 0.0;
    QTest::newRow("step 00 passes the text check but never advances")
        << boxes("10", "1", "00", "1000", "10") << false << 0.0 << 0.0 << 0.0;
}

void TestSearch::parameter_texts_parse_after_the_comma_rule()
{
    QFETCH(ParameterTexts, texts);
    QFETCH(bool, accepted);
    QFETCH(double, target);
    QFETCH(double, tolerance);
    QFETCH(double, step);
    const std::optional<SearchParameters> p = parseSearchParameters(texts);
    QCOMPARE(p.has_value(), accepted);
    if (p) {
        QCOMPARE(p->target, target);
        QCOMPARE(p->tolerance, tolerance);
        QCOMPARE(p->harmonicStep, step);
        QCOMPARE(p->maxFrequency, 1000.0);
        QCOMPARE(p->maxHarmonic, 10.0);
    }
}

void TestSearch::upper_limits_lower_values_and_rewrite_boxes_data()
{
    QTest::addColumn<SearchParameters>("before");
    QTest::addColumn<SearchParameters>("after");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("values at their limits stay")
        << params(5, 20, 50, 1, 40000) << params(5, 20, 50, 1, 40000) << QStringList{};
    QTest::newRow("tolerance 20,5") << params(5, 20.5) << params(5, 20) << QStringList{"Edit58=20"};
    QTest::newRow("max harmonic 60 leaves the tolerance")
        << params(5, 1, 60) << params(5, 1, 50) << QStringList{"Edit61=50"};
    QTest::newRow("max frequency 50000")
        << params(5, 1, 10, 1, 50000) << params(5, 1, 10, 1, 40000) << QStringList{"Edit60=40000"};
    QTest::newRow("all three in their order")
        << params(5, 1e6, 1e6, 0.5, 1e6) << params(5, 20, 50, 0.5, 40000)
        << QStringList{"Edit58=20", "Edit61=50", "Edit60=40000"};
}

void TestSearch::upper_limits_lower_values_and_rewrite_boxes()
{
    QFETCH(SearchParameters, before);
    QFETCH(SearchParameters, after);
    QFETCH(QStringList, expected);
    SearchParameters p = before;
    QCOMPARE(writes(applyUpperLimits(p)), expected);
    QCOMPARE(p.target, after.target);
    QCOMPARE(p.tolerance, after.tolerance);
    QCOMPARE(p.harmonicStep, after.harmonicStep);
    QCOMPARE(p.maxHarmonic, after.maxHarmonic);
    QCOMPARE(p.maxFrequency, after.maxFrequency);
}

void TestSearch::inputs_changed_since_calculation_are_detected_data()
{
    QTest::addColumn<QStringList>("calculatedWith");
    QTest::addColumn<QStringList>("editsNow");
    QTest::addColumn<bool>("unchanged");
    const QString long1 = QStringLiteral("25,") + QString(60, '0');
    const QString long2 = QStringLiteral("25,") + QString(55, '0') + QStringLiteral("9");
    QTest::newRow("same texts") << QStringList{"40", "25", "80", "0"}
                                << QStringList{"40", "25", "80", "0"} << true;
    QTest::newRow("Z2 changed") << QStringList{"40", "25", "80", "0"}
                                << QStringList{"40", "25", "81", "0"} << false;
    QTest::newRow("point for the comma counts as the same")
        << QStringList{"40", "24,6", "80", "0"} << QStringList{"40", "24.6", "80", "0"} << true;
    QTest::newRow("change past the 50th character is not seen")
        << QStringList{"40", long1, "80", "0"} << QStringList{"40", long2, "80", "0"} << true;
    QTest::newRow("emptied Fm differs from its 0")
        << QStringList{"40", "25", "80", "0"} << QStringList{"40", "25", "80", ""} << false;
    QTest::newRow("blank added to Z1")
        << QStringList{"40", "25", "80", "0"} << QStringList{"40 ", "25", "80", "0"} << false;
}

void TestSearch::inputs_changed_since_calculation_are_detected()
{
    QFETCH(QStringList, calculatedWith);
    QFETCH(QStringList, editsNow);
    QFETCH(bool, unchanged);
    const calc::PairState pair =
        calculated(calculatedWith[0], calculatedWith[1], calculatedWith[2], calculatedWith[3]);
    QCOMPARE(inputsMatchCalculation({editsNow[0], editsNow[1], editsNow[2], editsNow[3]},
                                    pair.inputTexts),
             unchanged);
}

void TestSearch::preparation_stops_at_the_first_failing_step_data()
{
    QTest::addColumn<ParameterTexts>("texts");
    QTest::addColumn<QString>("z2Now");
    QTest::addColumn<int>("notice");
    QTest::addColumn<QStringList>("defaults");
    QTest::addColumn<QStringList>("limits");
    const int none = int(SearchNotice::None);
    const int changed = int(SearchNotice::InputsChanged);
    const int bad = int(SearchNotice::BadInput);
    QTest::newRow("changed inputs win over a bad target, defaults still written")
        << boxes("", "", "1", "1000", "10") << "81" << changed << QStringList{"Edit58=0"}
        << QStringList{};
    QTest::newRow("bad target writes no limit")
        << boxes("x", "25", "1", "1000", "10") << "80" << bad << QStringList{} << QStringList{};
    QTest::newRow("defaulted boxes are the ones parsed")
        << boxes("5", "", "1", "", "60") << "80" << none << QStringList{"Edit58=0", "Edit60=1000"}
        << QStringList{"Edit61=50"};
}

void TestSearch::preparation_stops_at_the_first_failing_step()
{
    QFETCH(ParameterTexts, texts);
    QFETCH(QString, z2Now);
    QFETCH(int, notice);
    QFETCH(QStringList, defaults);
    QFETCH(QStringList, limits);
    const calc::PairState pair = calculated("40", "25", "80", "0");
    const SearchPreparation prep = prepareSearch(texts, {"40", "25", z2Now, "0"}, pair.inputTexts);
    QCOMPARE(int(prep.notice), notice);
    QCOMPARE(writes(prep.defaults), defaults);
    QCOMPARE(writes(prep.limits), limits);
    if (prep.notice == SearchNotice::None) {
        // The one row that gets through: the defaulted tolerance and maximum
        // frequency, the lowered maximum harmonic.
        QCOMPARE(prep.parameters.tolerance, 0.0);
        QCOMPARE(prep.parameters.maxFrequency, 1000.0);
        QCOMPARE(prep.parameters.maxHarmonic, 50.0);
    }
}

void TestSearch::zero_pair_matches_in_every_active_family_data()
{
    QTest::addColumn<Family>("family");
    QTest::addColumn<QString>("firstLine");
    const char *lines[] = {"0Fz+0Fr1=0",  "0Fz-0Fr1=0",  "0Fz+0Fr2=0",  "0Fz-0Fr2=0",
                           "0Fr1*0Fr2=0", "0Fr1+0Fr2=0", "0Fr1-0Fr2=0", "0Fm+0Fr1=0",
                           "0Fm-0Fr1=0",  "0Fm+0Fr2=0",  "0Fm-0Fr2=0"};
    for (const FamilySpec &f : kFamilies)
        QTest::newRow(calc::kModulation[static_cast<std::size_t>(f.family)].name)
            << f.family << lines[static_cast<std::size_t>(f.family)];
}

void TestSearch::zero_pair_matches_in_every_active_family()
{
    QFETCH(Family, family);
    QFETCH(QString, firstLine);
    // A target no greater than the tolerance.
    const GridResult r = walkGrid(pairOf("40", "25", "80", "100"), params(0.5, 1), 1);
    QVERIFY(!r.fault);
    QCOMPARE(listText(r, family).split('\n').first(), firstLine);
    QCOMPARE(firstMatch(r, family), std::optional<RowTexts>(RowTexts{"0", "0", "0"}));
}

void TestSearch::window_includes_both_ends_and_nothing_beyond_data()
{
    QTest::addColumn<double>("target");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<QString>("plusFr1");
    QTest::addColumn<QString>("minusFr1");
    QTest::addColumn<int>("total");
    QTest::newRow("tolerance 0 takes the exact value") << 1025.0 << 0.0 << "1Fz+1Fr1=1025"
                                                       << "" << 2;
    QTest::newRow("tolerance 0 just beside the value") << 1025.0001 << 0.0 << ""
                                                       << "" << 0;
    QTest::newRow("negative tolerance takes nothing") << 1025.0 << -1.0 << ""
                                                      << "" << 0;
    QTest::newRow("both ends are inside") << 1000.0 << 25.0 << "1Fz+0Fr1=1000\n1Fz+1Fr1=1025"
                                          << "1Fz-0Fr1=1000\n1Fz-1Fr1=975" << 10;
}

void TestSearch::window_includes_both_ends_and_nothing_beyond()
{
    QFETCH(double, target);
    QFETCH(double, tolerance);
    QFETCH(QString, plusFr1);
    QFETCH(QString, minusFr1);
    QFETCH(int, total);
    const GridResult r = walkGrid(pairOf("40", "25", "80", "0"), params(target, tolerance), 1);
    QCOMPARE(listText(r, Family::FzPlusFr1), plusFr1);
    QCOMPARE(listText(r, Family::FzMinusFr1), minusFr1);
    QCOMPARE(allLines(r).size(), total);
}

void TestSearch::lines_and_first_match_follow_grid_order_data()
{
    QTest::addColumn<Family>("family");
    QTest::addColumn<QString>("list");
    QTest::addColumn<RowTexts>("first");
    // Fz = Fr1 = Fr2 = Fm = 1, target 2, coefficients 0 to 2.
    QTest::newRow("sum: b outer, a inner")
        << Family::FzPlusFr1 << "2Fz+0Fr1=2\n1Fz+1Fr1=2\n0Fz+2Fr1=2" << RowTexts{"2", "2", "0"};
    QTest::newRow("difference") << Family::FzMinusFr1 << "2Fz-0Fr1=2" << RowTexts{"2", "2", "0"};
    QTest::newRow("sum with Fr2") << Family::FzPlusFr2 << "2Fz+0Fr2=2\n1Fz+1Fr2=2\n0Fz+2Fr2=2"
                                  << RowTexts{"2", "2", "0"};
    QTest::newRow("difference with Fr2")
        << Family::FzMinusFr2 << "2Fz-0Fr2=2" << RowTexts{"2", "2", "0"};
    QTest::newRow("product") << Family::Fr1TimesFr2 << "2Fr1*1Fr2=2\n1Fr1*2Fr2=2"
                             << RowTexts{"2", "2", "1"};
    QTest::newRow("shaft sum") << Family::Fr1PlusFr2 << "2Fr1+0Fr2=2\n1Fr1+1Fr2=2\n0Fr1+2Fr2=2"
                               << RowTexts{"2", "2", "0"};
    QTest::newRow("shaft difference")
        << Family::FrDifference << "2Fr1-0Fr2=2" << RowTexts{"2", "2", "0"};
    QTest::newRow("Fm sum") << Family::FmPlusFr1 << "2Fm+0Fr1=2\n1Fm+1Fr1=2\n0Fm+2Fr1=2"
                            << RowTexts{"2", "2", "0"};
    QTest::newRow("Fm difference") << Family::FmMinusFr1 << "2Fm-0Fr1=2" << RowTexts{"2", "2", "0"};
    QTest::newRow("Fm sum with Fr2")
        << Family::FmPlusFr2 << "2Fm+0Fr2=2\n1Fm+1Fr2=2\n0Fm+2Fr2=2" << RowTexts{"2", "2", "0"};
    QTest::newRow("Fm difference with Fr2")
        << Family::FmMinusFr2 << "2Fm-0Fr2=2" << RowTexts{"2", "2", "0"};
}

void TestSearch::lines_and_first_match_follow_grid_order()
{
    QFETCH(Family, family);
    QFETCH(QString, list);
    QFETCH(RowTexts, first);
    const GridResult r = walkGrid(pairOf("1", "1", "1", "1"), params(2, 0, 2), 1);
    QCOMPARE(listText(r, family), list);
    QCOMPARE(matchCount(r, family), list.count('\n') + 1);
    QCOMPARE(firstMatch(r, family), std::optional<RowTexts>(first));
    QCOMPARE(lineText(r, family, matchesOf(r, family).front()), list.section('\n', 0, 0));
}

void TestSearch::half_step_runs_coefficients_by_halves_data()
{
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("coefficients");
    QTest::newRow("step 0,5 reaches the half harmonics") << 0.5 << "0,5Fz+0,5Fr1=512,5" << 21;
    QTest::newRow("step 1 does not") << 1.0 << "" << 11;
}

void TestSearch::half_step_runs_coefficients_by_halves()
{
    QFETCH(double, step);
    QFETCH(QString, list);
    QFETCH(int, coefficients);
    const GridResult r = walkGrid(pairOf("40", "25", "80", "0"), params(512.5, 0, 10, step), 1);
    QCOMPARE(listText(r, Family::FzPlusFr1), list);
    QCOMPARE(int(r.coefficients.size()), coefficients);
    QCOMPARE(r.coefficients.back(), 10.0);
    if (!list.isEmpty())
        QCOMPARE(firstMatch(r, Family::FzPlusFr1),
                 std::optional<RowTexts>(RowTexts{"512,5", "0,5", "0,5"}));
}

void TestSearch::max_frequency_bounds_each_coefficient_data()
{
    QTest::addColumn<double>("target");
    QTest::addColumn<double>("maxFrequency");
    QTest::addColumn<QString>("list");
    // Fz 1000, Fr1 25.
    QTest::newRow("a = 2 needs 2000 over Fz") << 2000.0 << 1000.0 << "";
    QTest::newRow("a = 2 just within") << 2000.0 << 2000.0 << "2Fz+0Fr1=2000";
    QTest::newRow("a = 2 just beyond") << 2000.0 << 1999.0 << "";
    QTest::newRow("b = 10 needs 250 over Fr1") << 250.0 << 200.0 << "";
    QTest::newRow("b = 10 just within") << 250.0 << 250.0 << "0Fz+10Fr1=250";
}

void TestSearch::max_frequency_bounds_each_coefficient()
{
    QFETCH(double, target);
    QFETCH(double, maxFrequency);
    QFETCH(QString, list);
    const GridResult r =
        walkGrid(pairOf("40", "25", "80", "0"), params(target, 0, 10, 1, maxFrequency), 1);
    QCOMPARE(listText(r, Family::FzPlusFr1), list);
}

void TestSearch::max_harmonic_bounds_the_grid_data()
{
    QTest::addColumn<QString>("maxHarmonic");
    QTest::addColumn<int>("coefficients");
    QTest::addColumn<QString>("list");
    // Fz = Fr1 = 1 and target 100: only 50 + 50.
    QTest::newRow("negative runs no point") << "-1" << 0 << "";
    QTest::newRow("0 runs the zero pair only") << "0" << 1 << "";
    QTest::newRow("60 is lowered to 50") << "60" << 51 << "50Fz+50Fr1=100";
}

void TestSearch::max_harmonic_bounds_the_grid()
{
    QFETCH(QString, maxHarmonic);
    QFETCH(int, coefficients);
    QFETCH(QString, list);
    const calc::PairState pair = calculated("1", "1", "1", "0");
    const SearchPreparation prep = prepareSearch(boxes("100", "0", "1", "1000", maxHarmonic),
                                                 {"1", "1", "1", "0"}, pair.inputTexts);
    QCOMPARE(prep.notice, SearchNotice::None);
    const GridResult r = walkGrid(gridPair(pair), prep.parameters, 1);
    QCOMPARE(int(r.coefficients.size()), coefficients);
    QCOMPARE(listText(r, Family::FzPlusFr1), list);
    QCOMPARE(r.lastCandidates.has_value(), coefficients > 0);
    if (coefficients == 0)
        for (const QString &title : titleTexts(r))
            QVERIFY2(title.endsWith(QLatin1String("(0)")), qPrintable(title));
}

void TestSearch::fm_families_follow_the_captured_fm_text_data()
{
    QTest::addColumn<QString>("fm");
    QTest::addColumn<bool>("active");
    QTest::newRow("0 leaves them out") << "0" << false;
    QTest::newRow("0,5 takes part") << "0,5" << true;
    QTest::newRow("12 takes part") << "12" << true;
}

void TestSearch::fm_families_follow_the_captured_fm_text()
{
    QFETCH(QString, fm);
    QFETCH(bool, active);
    const GridPair pair = pairOf("40", "25", "80", fm);
    QCOMPARE(pair.fmActive, active);
    const GridResult r = walkGrid(pair, params(0, 0), 1);
    QVERIFY(!r.fault);
    for (const Family f :
         {Family::FmPlusFr1, Family::FmMinusFr1, Family::FmPlusFr2, Family::FmMinusFr2}) {
        QCOMPARE(matchCount(r, f), active ? 1 : 0);
        QCOMPARE(firstMatch(r, f).has_value(), active);
    }
    QCOMPARE(matchCount(r, Family::FzPlusFr1), 1);
}

void TestSearch::difference_orientation_follows_teeth_counts_data()
{
    QTest::addColumn<QString>("z1");
    QTest::addColumn<QString>("z2");
    QTest::addColumn<QString>("firstLine");
    // Fr1 25, target 25.
    QTest::newRow("wheel 1 smaller: a·Fr1 − b·Fr2") << "40"
                                                    << "80"
                                                    << "1Fr1-0Fr2=25";
    QTest::newRow("equal teeth counts: a·Fr1 − b·Fr2") << "30"
                                                       << "30"
                                                       << "1Fr1-0Fr2=25";
    QTest::newRow("wheel 2 smaller: a·Fr2 − b·Fr1") << "80"
                                                    << "40"
                                                    << "1Fr2-1Fr1=25";
}

void TestSearch::difference_orientation_follows_teeth_counts()
{
    QFETCH(QString, z1);
    QFETCH(QString, z2);
    QFETCH(QString, firstLine);
    const GridResult r = walkGrid(pairOf(z1, "25", z2, "0"), params(25, 0), 1);
    QCOMPARE(lineText(r, Family::FrDifference, matchesOf(r, Family::FrDifference).front()),
             firstLine);
}

void TestSearch::candidates_are_rounded_before_the_test_data()
{
    QTest::addColumn<QString>("fr1");
    QTest::addColumn<int>("precision");
    QTest::addColumn<double>("target");
    QTest::addColumn<QString>("firstLine");
    // Z1 = Z2 = 1: Fz = Fr1; (1, 0) is the first point giving Fr1. The
    // maximum frequency is high enough for a = 1 over Fz.
    QTest::newRow("1234,567 by 100 matches 1234,57")
        << "1234,567" << 100 << 1234.57 << "1Fz+0Fr1=1234,57";
    QTest::newRow("1234,567 by 100 misses its own value") << "1234,567" << 100 << 1234.567 << "";
    QTest::newRow("unrounded 1234,567 misses 1234,57") << "1234,567" << 1 << 1234.57 << "";
    QTest::newRow("unrounded 1234,567 matches itself")
        << "1234,567" << 1 << 1234.567 << "1Fz+0Fr1=1234,567";
    QTest::newRow("a tie goes to the even hundredth") << "0,125" << 100 << 0.12 << "1Fz+0Fr1=0,12";
}

void TestSearch::candidates_are_rounded_before_the_test()
{
    QFETCH(QString, fr1);
    QFETCH(int, precision);
    QFETCH(double, target);
    QFETCH(QString, firstLine);
    const GridResult r =
        walkGrid(pairOf("1", fr1, "1", "0"), params(target, 0, 10, 1, 40000), precision);
    QCOMPARE(listText(r, Family::FzPlusFr1).section('\n', 0, 0), firstLine);
}

void TestSearch::fault_abandons_the_walk_keeping_earlier_lines_data()
{
    QTest::addColumn<GridPair>("pair");
    QTest::addColumn<SearchParameters>("parameters");
    QTest::addColumn<int>("precision");
    QTest::addColumn<int>("fault"); // -1: none
    QTest::addColumn<QStringList>("lines");
    const int byZero = int(calc::ArithFault::DivisionByZero);
    const QStringList zeros = {"0Fz+0Fr1=0",  "0Fz-0Fr1=0",  "0Fz+0Fr2=0", "0Fz-0Fr2=0",
                               "0Fr1*0Fr2=0", "0Fr1+0Fr2=0", "0Fr1-0Fr2=0"};
    // Fm text 0,0 passes the Fm condition with the value 0; the first
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
    // as the previous calculation left it.
    QTest::newRow("zero Fz after the teeth text 00")
        << gridPair(calculated("00", "25", "80", "0", calculated("40", "25", "80", "0")))
        << params(25, 0) << 1 << byZero << QStringList{"1Fr1+0Fr2=25", "1Fr1-0Fr2=25"};
    // The Fr1 text 00 makes every frequency but Fm zero; the a-side bound
    // passes on Fm, the b-side one divides by Fr1.
    QTest::newRow("zero Fr1 base on the b side")
        << pairOf("40", "00", "80", "100") << params(100, 0) << 1 << byZero << QStringList{};
    QTest::newRow("rounding product beyond 64 bits")
        << GridPair{1, 1, 1e15, 1e15, 1e15, 0, false} << params(0, 0) << 100000
        << int(calc::ArithFault::RoundingRange) << zeros;
    QTest::newRow("candidate beyond the double range")
        << GridPair{1, 1, 1e307, 1e307, 1e307, 0, false} << params(0, 0) << 1
        << int(calc::ArithFault::Overflow) << zeros;
}

void TestSearch::fault_abandons_the_walk_keeping_earlier_lines()
{
    QFETCH(GridPair, pair);
    QFETCH(SearchParameters, parameters);
    QFETCH(int, precision);
    QFETCH(int, fault);
    QFETCH(QStringList, lines);
    const GridResult r = walkGrid(pair, parameters, precision);
    QCOMPARE(r.fault ? int(*r.fault) : -1, fault);
    QCOMPARE(allLines(r), lines);
    if (r.fault)
        QVERIFY(!bringsUpVariants(r));
}

void TestSearch::titles_carry_counts_and_repeats_bring_up_variants_data()
{
    QTest::addColumn<GridPair>("pair");
    QTest::addColumn<SearchParameters>("parameters");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<bool>("bringsUp");
    QTest::newRow("repeated matches")
        << pairOf("1", "1", "1", "1") << params(2, 0, 2)
        << QStringList{"Fz + Fr1 (3)",  "Fz - Fr1 (1)",  "Fz + Fr2 (3)",  "Fz - Fr2 (1)",
                       "Fr1 * Fr2 (2)", "Fr1 + Fr2 (3)", "Fr1 - Fr2 (1)", "Fr2 - Fr1 (1)",
                       "Fm + Fr1 (3)",  "Fm - Fr1 (1)",  "Fm + Fr2 (3)",  "Fm - Fr2 (1)"}
        << true;
    QTest::newRow("at most one match each")
        << pairOf("40", "25", "80", "0") << params(1025, 0)
        << QStringList{"Fz + Fr1 (1)",  "Fz - Fr1 (0)",  "Fz + Fr2 (1)",  "Fz - Fr2 (0)",
                       "Fr1 * Fr2 (0)", "Fr1 + Fr2 (0)", "Fr1 - Fr2 (0)", "Fr2 - Fr1 (0)",
                       "Fm + Fr1 (0)",  "Fm - Fr1 (0)",  "Fm + Fr2 (0)",  "Fm - Fr2 (0)"}
        << false;
}

void TestSearch::titles_carry_counts_and_repeats_bring_up_variants()
{
    QFETCH(GridPair, pair);
    QFETCH(SearchParameters, parameters);
    QFETCH(QStringList, titles);
    QFETCH(bool, bringsUp);
    const GridResult r = walkGrid(pair, parameters, 1);
    const std::array<QString, kTitleCount> t = titleTexts(r);
    QCOMPARE(QStringList(t.begin(), t.end()), titles);
    QCOMPARE(bringsUpVariants(r), bringsUp);
}

void TestSearch::last_grid_point_candidates_stay_in_the_table_data()
{
    QTest::addColumn<double>("maxHarmonic");
    QTest::addColumn<Family>("family");
    QTest::addColumn<double>("value");
    // Fz 1000, Fr1 25, Fr2 12,5, Fm 100; the last point is a = b = 10.
    const double values[] = {10250, 9750, 10125, 9875, 31250, 375, 125, 1250, 750, 1125, 875};
    for (const FamilySpec &f : kFamilies)
        QTest::addRow("%s at 10, 10", calc::kModulation[static_cast<std::size_t>(f.family)].name)
            << 10.0 << f.family << values[static_cast<std::size_t>(f.family)];
    QTest::newRow("no grid point keeps the calculated row") << -1.0 << Family::FzPlusFr1 << 1025.0;
}

void TestSearch::last_grid_point_candidates_stay_in_the_table()
{
    QFETCH(double, maxHarmonic);
    QFETCH(Family, family);
    QFETCH(double, value);
    calc::PairState pair = calculated("40", "25", "80", "100");
    const GridResult r = walkGrid(gridPair(pair), params(0, 0, maxHarmonic), 1);
    applyCandidates(pair.table, r);
    QCOMPARE(pair.table[familySpec(family).entry], value);
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
