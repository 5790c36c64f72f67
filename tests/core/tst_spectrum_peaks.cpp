// The peak finder on spectra with known peaks over a known floor (the
// threshold over the floor, the count, the order by amplitude, a peak that
// does not raise its own floor), the click that snaps to a peak, the peak
// table's texts and CSV, the overlay's families as the list holds them, and
// the speed that puts a named line on a peak.
#include "machine/train.h"
#include "machine/train_table.h"
#include "spectrum/machine_overlay.h"
#include "spectrum/peaks.h"
#include "spectrum/speed_from_peak.h"

#include <QTest>

#include <cmath>

using namespace spectrum;

namespace {

// 2048 lines of 1 Hz on a floor of 0,01 that wobbles by ±20 %, with peaks.
Spectrum floorWith(const std::vector<std::pair<std::size_t, double>> &peaks) {
    Spectrum s;
    s.resolution = 1.0;
    for (std::size_t i = 0; i < 2048; ++i) {
        s.frequency.push_back(double(i));
        s.amplitude.push_back(0.01 * (1.0 + 0.2 * std::sin(double(i) * 2.1)));
    }
    for (const auto &[line, a] : peaks)
        s.amplitude[line] = a;
    return s;
}

machine::Train workedPair() {
    return machine::buildTrain(std::vector<aggregate::GearPair>{{"40", "25", "80", "0"}}, false, 1);
}

machine::Line lineNamed(const machine::Train &train, const QString &name) {
    for (const machine::Line &l : machine::machineLines(train, {10, false, 3, false}))
        if (machine::lineName(l) == name)
            return l;
    return {};
}

} // namespace

class SpectrumPeaksTest : public QObject {
    Q_OBJECT

private slots:
    void threshold_and_count_choose_the_peaks_data();
    void threshold_and_count_choose_the_peaks();
    void floor_is_the_local_median();
    void click_snaps_to_the_highest_line_near_it_data();
    void click_snaps_to_the_highest_line_near_it();
    void peak_between_lines_of_an_analysers_spectrum();
    void peak_table_names_or_says_unexplained();
    void overlay_families_come_from_the_list();
    void speed_from_a_named_peak_data();
    void speed_from_a_named_peak();
};

void SpectrumPeaksTest::threshold_and_count_choose_the_peaks_data() {
    QTest::addColumn<double>("threshold");
    QTest::addColumn<int>("count");
    QTest::addColumn<std::vector<std::size_t>>("lines");
    // Peaks 40 dB (1,0), 26 dB (0,2) and 14 dB (0,05) over the floor 0,01.
    QTest::newRow("10 dB: all three, highest first")
        << 10.0 << 50 << std::vector<std::size_t>{100, 300, 500};
    QTest::newRow("20 dB: two") << 20.0 << 50 << std::vector<std::size_t>{100, 300};
    QTest::newRow("30 dB: one") << 30.0 << 50 << std::vector<std::size_t>{100};
    QTest::newRow("10 dB, at most two: the highest two")
        << 10.0 << 2 << std::vector<std::size_t>{100, 300};
    QTest::newRow("50 dB: none") << 50.0 << 50 << std::vector<std::size_t>{};
}

void SpectrumPeaksTest::threshold_and_count_choose_the_peaks() {
    QFETCH(double, threshold);
    QFETCH(int, count);
    QFETCH(std::vector<std::size_t>, lines);
    const Spectrum s = floorWith({{500, 0.05}, {100, 1.0}, {300, 0.2}});
    std::vector<std::size_t> found;
    for (const Peak &p : findPeaks(s, {threshold, count}))
        found.push_back(p.line);
    QCOMPARE(found, lines);
}

void SpectrumPeaksTest::floor_is_the_local_median() {
    const Spectrum s = floorWith({{1000, 5.0}});
    const std::vector<double> floor = noiseFloor(s.amplitude);
    QCOMPARE(floor.size(), s.amplitude.size());
    // The wobble averages out in the median; the peak does not lift it.
    for (const std::size_t i :
         {std::size_t(0), std::size_t(999), std::size_t(1000), std::size_t(2047)})
        QVERIFY2(std::abs(floor[i] - 0.01) < 0.003, qPrintable(QString::number(floor[i])));
    const std::vector<Peak> peaks = findPeaks(s, {10.0, 5});
    QCOMPARE(peaks.size(), std::size_t(1));
    QVERIFY(std::abs(peaks[0].prominence - 20 * std::log10(5.0 / floor[1000])) < 1e-9);
}

void SpectrumPeaksTest::click_snaps_to_the_highest_line_near_it_data() {
    QTest::addColumn<double>("click");
    QTest::addColumn<double>("reach");
    QTest::addColumn<std::size_t>("line");
    QTest::newRow("beside the peak") << 297.0 << 5.0 << std::size_t(300);
    QTest::newRow("on the peak") << 300.0 << 5.0 << std::size_t(300);
    QTest::newRow("the higher of two in reach") << 200.0 << 150.0 << std::size_t(100);
    QTest::newRow("beyond the last line") << 5000.0 << 3.0 << std::size_t(2047);
}

void SpectrumPeaksTest::click_snaps_to_the_highest_line_near_it() {
    QFETCH(double, click);
    QFETCH(double, reach);
    QFETCH(std::size_t, line);
    const Spectrum s = floorWith({{100, 1.0}, {300, 0.2}});
    const std::optional<Peak> p = snapToPeak(s, click, reach);
    QVERIFY(p);
    QCOMPARE(p->line, line);
    QVERIFY(!snapToPeak(Spectrum{}, click, reach));
}

void SpectrumPeaksTest::peak_between_lines_of_an_analysers_spectrum() {
    // A Gaussian peak (as a parabola in logarithms) centred 0,3 lines above
    // line 400: the parabola through three lines finds it exactly.
    Spectrum s = floorWith({});
    for (int d = -3; d <= 3; ++d)
        s.amplitude[std::size_t(400 + d)] = std::exp(-0.5 * std::pow((d - 0.3) / 1.2, 2));
    const std::vector<Peak> peaks = findPeaks(s, {10.0, 1});
    QCOMPARE(peaks.size(), std::size_t(1));
    QVERIFY2(std::abs(peaks[0].frequency - 400.3) < 1e-9,
             qPrintable(QString::number(peaks[0].frequency, 'g', 12)));
    // The window is unknown: the amplitude is the line's.
    QCOMPARE(peaks[0].amplitude, s.amplitude[400]);
}

void SpectrumPeaksTest::peak_table_names_or_says_unexplained() {
    const machine::Train train = workedPair();
    // Fz (1000 Hz), 2·Fr1 + 0,3 Hz (50,3 Hz), and 333 Hz that nothing explains.
    std::vector<Peak> peaks{{1000.0, 2.5, 1000, 30}, {50.3, 0.75, 50, 20}, {333.0, 0.5, 333, 15}};
    const std::vector<PeakNote> notes = notePeaks(train, peaks, {0.5, false, 10, 3});
    QCOMPARE(peakRow(train, {}, notes[0], 1),
             (QStringList{"1", "1000", "2,5", QStringLiteral("Fz (пара 1)"), "0"}));
    QCOMPARE(peakRow(train, {}, notes[1], 2),
             (QStringList{"2", "50,3", "0,75",
                          // Na = 40: APF is Fr1; HTF is Fr2, half of it.
                          QStringLiteral("2·Fr (вал 1) = 2·APF (пара 1) = 4·Fr (вал 2) = "
                                         "4·HTF (пара 1)"),
                          "-0,3"}));
    QCOMPARE(peakRow(train, {}, notes[2], 3),
             (QStringList{"3", "333", "0,5", QStringLiteral("не объяснён"), ""}));
    // In об/мин (CPM) the frequencies are 60 times larger.
    QCOMPARE(peakRow(train, {machine::Unit::PerMinute, 1}, notes[1], 2)[1], QStringLiteral("3018"));
    const QByteArray csv = peakCsv(train, {}, notes);
    // Fields an import splitting at commas would cut are quoted.
    QVERIFY(csv.startsWith(
        "\xEF\xBB\xBF№;\"Частота, Гц\";Амплитуда;Объяснение;\"Отклонение, Гц\"\r\n"));
    QVERIFY(csv.contains(QStringLiteral("2;\"50,3\";\"0,75\";2·Fr (вал 1) = 2·APF (пара 1) = 4·Fr "
                                        "(вал 2) = 4·HTF (пара 1);\"-0,3\"\r\n")
                             .toUtf8()));
    QVERIFY(csv.endsWith(QStringLiteral("3;333;\"0,5\";не объяснён;\r\n").toUtf8()));
    // The international convention of the train export: commas, decimal points.
    const QByteArray international =
        peakCsv(train, {}, notes, {}, machine::CsvConvention::International);
    QVERIFY(international.startsWith(
        "\xEF\xBB\xBF№,\"Частота, Гц\",Амплитуда,Объяснение,\"Отклонение, Гц\"\r\n"));
    QVERIFY(international.contains(QStringLiteral("2,50.3,0.75,2·Fr (вал 1) = 2·APF (пара 1) = "
                                                  "4·Fr (вал 2) = 4·HTF (пара 1),-0.3\r\n")
                                       .toUtf8()));
}

void SpectrumPeaksTest::overlay_families_come_from_the_list() {
    const machine::Train train =
        machine::buildTrain(std::vector<aggregate::GearPair>{{"40", "25", "80", "250"}}, false, 1);
    const machine::LineOptions options{3, false, 1, false};
    const Overlay o = machineOverlay(train, options, 2000.0);
    // Every line of the list up to 2 kHz, sorted; its families in list order.
    std::size_t listed = 0;
    for (const machine::Line &l : machine::machineLines(train, options))
        listed += l.value > 0.0 && l.value <= 2000.0 ? 1 : 0;
    QCOMPARE(o.lines.size(), listed);
    QVERIFY(std::is_sorted(
        o.lines.begin(), o.lines.end(),
        [](const machine::Line &a, const machine::Line &b) { return a.value < b.value; }));
    QStringList names;
    for (const Family &f : o.families)
        names << familyName(f);
    QCOMPARE(names, (QStringList{"Валы", "Fz", "Боковые Fz", "APF", "HTF", "Fm", "Боковые Fm"}));
    const machine::Line *near = nearestLine(o, 1020.0, [](const Family &f) { return !f.sideband; });
    QVERIFY(near);
    QCOMPARE(machine::lineName(*near), QStringLiteral("Fz (пара 1)"));
}

void SpectrumPeaksTest::speed_from_a_named_peak_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<double>("peak");
    QTest::addColumn<machine::ReferenceSpeed>("known");
    QTest::addColumn<QString>("fm");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<machine::ReferenceSpeed>("result");
    QTest::addColumn<double>("percent");
    using machine::SpeedUnit;
    const machine::ReferenceSpeed none;
    // Fz 1000 Hz read at 988 Hz: the motor slips 1,2 %; shaft 1 goes from 25 to 24,7 Hz.
    QTest::newRow("no known speed: shaft 1 in Гц")
        << "Fz (пара 1)" << 988.0 << none << "0" << true
        << machine::ReferenceSpeed{1, "24,7", SpeedUnit::Hertz} << -1.2;
    // Shaft 2 known at 750 об/мин (shaft 1 at 25 Hz); Fr2 (12,5 Hz) read at 12,6 Hz.
    QTest::newRow("known speed of shaft 2 in об/мин stays there")
        << "Fr (вал 2)" << 12.6 << machine::ReferenceSpeed{2, "750", SpeedUnit::PerMinute} << "0"
        << true << machine::ReferenceSpeed{2, "756", SpeedUnit::PerMinute} << 0.8;
    QTest::newRow("a sideband scales too")
        << "Fz (пара 1) + Fr (вал 1)" << 1035.25 << none << "0" << true
        << machine::ReferenceSpeed{1, "25,25", SpeedUnit::Hertz} << 1.0;
    QTest::newRow("Fm does not follow the speed")
        << "Fm (пара 1)" << 251.0 << none << "250" << false << none << 0.0;
    QTest::newRow("more than 30 % is refused")
        << "Fz (пара 1)" << 1400.0 << none << "0" << false << none << 40.0;
}

void SpectrumPeaksTest::speed_from_a_named_peak() {
    QFETCH(QString, line);
    QFETCH(double, peak);
    QFETCH(machine::ReferenceSpeed, known);
    QFETCH(QString, fm);
    QFETCH(bool, accepted);
    QFETCH(machine::ReferenceSpeed, result);
    QFETCH(double, percent);
    machine::MachineDocument doc;
    doc.known = known;
    const machine::Train train = machine::buildTrain(
        machine::ChainPairs{{{"40", "25", "80", fm}}, {machine::PairSource::Stored}}, 1, doc.known);
    const machine::Line l = lineNamed(train, line);
    QCOMPARE(machine::lineName(l), line);
    const SpeedChange change = speedForPeak(train, doc, l, peak);
    QCOMPARE(change.known.has_value(), accepted);
    QVERIFY(!change.text.isEmpty());
    if (!accepted)
        return;
    QCOMPARE(*change.known, result);
    QVERIFY2(std::abs(change.percent - percent) < 1e-9,
             qPrintable(QString::number(change.percent)));
    // Followed, the new speed puts the line on the peak.
    doc.known = *change.known;
    const machine::Train after = machine::buildTrain(
        machine::ChainPairs{{{"40", "25", "80", fm}}, {machine::PairSource::Stored}}, 1, doc.known);
    QVERIFY(after.followsKnown);
    QVERIFY(std::abs(lineNamed(after, line).value - peak) < 1e-9 * peak);
}

QTEST_GUILESS_MAIN(SpectrumPeaksTest)
#include "tst_spectrum_peaks.moc"
