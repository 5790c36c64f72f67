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

} // namespace

class BenchIdentify : public QObject {
    Q_OBJECT

private slots:
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
                          bench::timeRuns(kRuns,
                                          [&] {
                                              const auto found = identify(train, r);
                                              for (int k = 0; k < kVisibleRows; ++k)
                                                  (void)matchRow(train, r, {}, found[k], names);
                                          }),
                          kWindowTargetMs, kWindowStretchMs);
            bench::report("  every row's texts at once (no window does it)",
                          bench::timeRuns(
                              3, [&] { (void)matchRows(train, r, {}, identify(train, r), names); }),
                          0);
        }
    }
};

QTEST_GUILESS_MAIN(BenchIdentify)
#include "bench_identify.moc"
