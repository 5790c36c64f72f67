// The largest identification: nine pairs, each with an intermediate
// frequency, harmonics up to 50 in steps of 0,5 and sidebands up to 20, and a
// tolerance so wide that thousands of lines match. Timed with the rows'
// display texts made, as the window's list shows them.
#include "machine/identify.h"
#include "machine/identify_text.h"
#include "nine_pair_reducer.h"

#include <QTest>

using namespace machine;

namespace {

Train nineFmPairs() {
    return buildTrain(ninePairReducer(), false, 1);
}

IdentifyRequest widest(double tolerance) {
    IdentifyRequest r;
    r.target = 400;
    r.tolerance = tolerance;
    r.maxHarmonic = kHarmonicLimit;
    r.halfStep = true;
    r.maxSideband = kSidebandLimit;
    return r;
}

} // namespace

class BenchIdentify : public QObject {
    Q_OBJECT

private slots:
    void nine_pairs_with_fm_ranked_data();
    void nine_pairs_with_fm_ranked();
    void nine_pairs_with_fm_ranked_and_shown_data() { nine_pairs_with_fm_ranked_data(); }
    void nine_pairs_with_fm_ranked_and_shown();
};

void BenchIdentify::nine_pairs_with_fm_ranked_data() {
    QTest::addColumn<double>("tolerance");
    QTest::newRow("400 +- 40 Hz: about 2 000 lines") << 40.0;
    QTest::newRow("400 +- 200 Hz: about 15 000 lines") << 200.0;
}

void BenchIdentify::nine_pairs_with_fm_ranked() {
    QFETCH(double, tolerance);
    const Train train = nineFmPairs();
    const IdentifyRequest r = widest(tolerance);
    std::size_t count = 0;
    QBENCHMARK {
        count = identify(train, r).size();
    }
    qInfo("%zu lines match", count);
    QVERIFY(count > 1000);
}

void BenchIdentify::nine_pairs_with_fm_ranked_and_shown() {
    QFETCH(double, tolerance);
    const Train train = nineFmPairs();
    const IdentifyRequest r = widest(tolerance);
    std::size_t count = 0;
    QBENCHMARK {
        count = matchRows(train, r, {}, identify(train, r)).size();
    }
    QVERIFY(count > 1000);
}

QTEST_GUILESS_MAIN(BenchIdentify)
#include "bench_identify.moc"
