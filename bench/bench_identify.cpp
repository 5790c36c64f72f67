// The largest identification: nine pairs, each with an intermediate
// frequency, harmonics up to 50 in steps of 0,5 and sidebands up to 20, and a
// tolerance so wide that thousands of lines match. Timed with the rows'
// display texts made, as the window's list shows them.
#include "machine/identify.h"
#include "machine/identify_text.h"

#include <QTest>

using namespace machine;

namespace {

IdentifyChain nineFmPairs() {
    struct Teeth {
        double z1, z2, fm;
    };
    // A reducer of nine stages, each with a carrier or bearing frequency as Fm.
    const Teeth teeth[] = {{17, 53, 1210}, {19, 61, 845}, {23, 47, 512},
                           {29, 71, 330},  {31, 67, 207}, {13, 41, 118},
                           {37, 79, 76},   {11, 43, 41},  {25, 59, 23}};
    IdentifyChain chain;
    double fr1 = 49.5;
    for (const Teeth &t : teeth) {
        chain.pairs.push_back(
            pairFromTeeth(static_cast<int>(chain.pairs.size()) + 1, t.z1, t.z2, fr1, t.fm));
        fr1 = chain.pairs.back().fr2;
    }
    chain.shafts = shaftsOf(chain.pairs);
    return chain;
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
    const IdentifyChain chain = nineFmPairs();
    const IdentifyRequest r = widest(tolerance);
    std::size_t count = 0;
    QBENCHMARK {
        count = identify(chain, r).size();
    }
    qInfo("%zu lines match", count);
    QVERIFY(count > 1000);
}

void BenchIdentify::nine_pairs_with_fm_ranked_and_shown() {
    QFETCH(double, tolerance);
    const IdentifyChain chain = nineFmPairs();
    const IdentifyRequest r = widest(tolerance);
    std::size_t count = 0;
    QBENCHMARK {
        count = matchRows(chain, r, {}, identify(chain, r)).size();
    }
    QVERIFY(count > 1000);
}

QTEST_GUILESS_MAIN(BenchIdentify)
#include "bench_identify.moc"
