// The machine-wide identification at its largest legal size: nine pairs,
// each with an intermediate frequency, harmonics up to 50 in steps of 0,5,
// sidebands up to 20, the widest tolerance the window takes (10 % of the
// peak), with and without the sidebands of every shaft and the mesh
// intermodulation. Each case is timed three ways: the core alone; the
// window's own path (the core, then the texts of the rows a list of 40
// visible rows makes); and every row's texts made at once, which no window
// does any more, for comparison. The worst case by text volume names every
// shaft with 50 characters.
//   build-bench/bench/bench_identify
#include "machine/identify.h"
#include "machine/identify_text.h"
#include "machine/train_table.h"
#include "nine_pair_reducer.h"
#include "timing.h"

#include <QTest>

using namespace machine;

namespace {

constexpr int kRuns = 15;
constexpr int kVisibleRows = 40;
// What a user waits for after Enter, the list drawn: the window's path has
// the target of the specified search (and its stretch); the core alone a
// share of it.
constexpr double kWindowTargetMs = 20, kWindowStretchMs = 5;

struct Case {
    const char *name;
    double target;
    bool everyShaft;
    bool longNames;
};

constexpr Case kCases[] = {
    {"400 +- 40 Hz, the pairs' own shafts", 400, false, false},
    {"400 +- 40 Hz, every shaft and Fz +- Fz", 400, true, false},
    // Of peaks from 400 Hz to 20 kHz, the one with the most lines in its band.
    {"5000 +- 500 Hz, every shaft and Fz +- Fz (the most lines)", 5000, true, false},
    {"5000 +- 500 Hz, every shaft and Fz +- Fz, 50-character shaft names (the most text)", 5000,
     true, true},
};

IdentifyRequest request(const Case &c) {
    IdentifyRequest r;
    r.target = c.target;
    r.tolerance = kToleranceLimitShare * c.target;
    r.resolution = r.tolerance / 10;
    r.maxHarmonic = kHarmonicLimit;
    r.halfStep = true;
    r.maxSideband = kSidebandLimit;
    r.allShafts = c.everyShaft;
    r.intermodulation = c.everyShaft;
    return r;
}

std::vector<QString> shaftNames(const Case &c) {
    if (!c.longNames)
        return {};
    std::vector<QString> names;
    for (int k = 1; k <= 10; ++k)
        names.push_back(QStringLiteral("Вал %1 ").arg(k).leftJustified(kShaftNameLimit, u'ж'));
    return names;
}

// What the window does after Enter: the core, then the texts of the rows
// in sight.
bench::Figures windowPath(const Train &train, const IdentifyRequest &r, const LineNames &names) {
    return bench::timeRuns(kRuns, [&] {
        const std::vector<MatchGroup> found = identify(train, r);
        for (std::size_t k = 0; k < found.size() && k < std::size_t(kVisibleRows); ++k)
            (void)matchRow(train, r, {}, found[k], names);
    });
}

// Nine stages (five pairs, two planetary stages, two belts) and twenty
// bearings: two on each of eight shafts, two on each stage's planets.
MachineDocument stagesAndBearings() {
    MachineDocument d;
    ExtraStage belt{StageKind::Belt, {}, {125, 250, 1800, 1}, 0};
    ExtraStage planetary{StageKind::Planetary, {21, 43, 108, 3, Member::Ring, Member::Sun}, {}, 2};
    d.extraStages = {belt, planetary, planetary, belt};
    d.extraStages[2].afterPairs = 5;
    d.extraStages[2].planetary = {29, 31, 91, 4, Member::Ring, Member::Sun};
    d.extraStages[3].afterPairs = 5;
    Bearing b;
    b.designation = QStringLiteral("6205");
    b.geometry = {9, 7.94, 39.04, 0};
    for (int shaft = 1; shaft <= 8; ++shaft)
        for (int k = 0; k < 2; ++k)
            d.bearings.push_back({shaft, -1, b});
    for (int stage : {1, 2})
        for (int k = 0; k < 2; ++k)
            d.bearings.push_back({0, stage, b});
    return d;
}

} // namespace

class BenchIdentify : public QObject {
    Q_OBJECT

private slots:
    // What the train window builds on every change, and the widest
    // identification in such a machine.
    void stages_and_bearings() {
        std::vector<aggregate::GearPair> pairs = ninePairReducer();
        pairs.resize(5);
        ChainPairs chain;
        chain.pairs = pairs;
        chain.sources.assign(pairs.size(), PairSource::Stored);
        const MachineDocument d = stagesAndBearings();
        const Train train = buildTrain(chain, 1, d);
        QCOMPARE(int(train.stages.size()), 9);
        QCOMPARE(int(train.bearings.size()), 20);
        QVERIFY(train.bearings.back().speed.has_value());
        bench::report("9 stages, 20 bearings: the train and its tables",
                      bench::timeRuns(kRuns,
                                      [&] {
                                          const TrainTables t =
                                              trainTables(buildTrain(chain, 1, d), d.unit, d);
                                          QCOMPARE(t.bearings.rows.size(), std::size_t(20));
                                      }),
                      20);
        IdentifyRequest r = request(kCases[1]);
        const LineNames names = lineNames(d);
        const std::size_t rows = identify(train, r).size();
        qInfo("== 400 +- 40 Hz in it, every shaft and Fz +- Fz: %zu rows", rows);
        QVERIFY(rows > 1000);
        bench::report("  the window's path: the core and the first rows' texts",
                      windowPath(train, r, names), 50);
    }

    void widest_legal_identifications() {
        const Train train = buildTrain(ninePairReducer(), false, 1);
        for (const Case &c : kCases) {
            const IdentifyRequest r = request(c);
            const std::vector<QString> names = shaftNames(c);
            std::size_t groups = 0, lines = 0;
            for (const MatchGroup &g : identify(train, r)) {
                ++groups;
                lines += g.lines.size();
            }
            qInfo("== %s: %zu lines in %zu rows", c.name, lines, groups);
            QVERIFY2(groups > 1000, c.name);
            bench::report("  the core alone",
                          bench::timeRuns(kRuns, [&] { QVERIFY(!identify(train, r).empty()); }), 0);
            bench::report("  the window's path: the core and the first rows' texts",
                          windowPath(train, r, names), kWindowTargetMs, kWindowStretchMs);
            bench::report("  every row's texts at once (no window does it)",
                          bench::timeRuns(
                              3, [&] { (void)matchRows(train, r, {}, identify(train, r), names); }),
                          0);
        }
    }
};

QTEST_GUILESS_MAIN(BenchIdentify)
#include "bench_identify.moc"
