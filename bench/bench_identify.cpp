// The largest identification: nine pairs, each with an intermediate
// frequency, harmonics up to 50 in steps of 0,5 and sidebands up to 20, and a
// tolerance so wide that thousands of lines match. Timed with the rows'
// display texts made, as the window's list shows them.
#include "machine/identify.h"
#include "machine/identify_text.h"

#include <QTest>

using namespace machine;

namespace {

// A reducer of nine stages, each with a carrier or bearing frequency as Fm,
// each next pair's Fr1 the Fr2 text shown for the pair before.
Train nineFmPairs() {
    const char *teeth[][3] = {{"17", "53", "1210"}, {"19", "61", "845"}, {"23", "47", "512"},
                              {"29", "71", "330"},  {"31", "67", "207"}, {"13", "41", "118"},
                              {"37", "79", "76"},   {"11", "43", "41"},  {"25", "59", "23"}};
    std::vector<aggregate::GearPair> pairs;
    QString fr1 = QStringLiteral("49,5");
    for (const auto &t : teeth) {
        pairs.push_back({t[0], fr1, t[1], t[2]});
        fr1 = buildTrain(pairs, false, 1).pairs.back().fr2Text;
    }
    return buildTrain(pairs, false, 1);
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
    const IdentifyChain chain = identifyChain(nineFmPairs());
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
    const Train train = nineFmPairs();
    const IdentifyChain chain = identifyChain(train);
    const IdentifyRequest r = widest(tolerance);
    std::size_t count = 0;
    QBENCHMARK {
        count = matchRows(train, r, {}, identify(chain, r)).size();
    }
    QVERIFY(count > 1000);
}

QTEST_GUILESS_MAIN(BenchIdentify)
#include "bench_identify.moc"
