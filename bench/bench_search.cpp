// The worst case of the frequency search: step 0,5 up to 50 (101 × 101
// points), all eleven families taking part and nearly every candidate inside
// a 20 Hz window, so that the match lists are as long as they get.
#include "calc/frequency_table.h"
#include "search/grid.h"

#include <QTest>

using namespace search;

namespace {

// Frequencies of 0,1 Hz keep every candidate between -5 and 25 Hz.
GridPair worstPair() {
    return GridPair{1, 1, 0.1, 0.1, 0.1, 0.1, true};
}

SearchParameters worstParameters() {
    SearchParameters p;
    p.target = 5;
    p.tolerance = 20;
    p.harmonicStep = 0.5;
    p.maxFrequency = 40000;
    p.maxHarmonic = 50;
    return p;
}

} // namespace

class BenchSearch : public QObject {
    Q_OBJECT

private slots:
    void worst_case_grid_data();
    void worst_case_grid();
    void worst_case_list_texts();
};

void BenchSearch::worst_case_grid_data() {
    QTest::addColumn<int>("precision");
    QTest::newRow("no rounding") << 1;
    QTest::newRow("rounded to 5 decimals") << 100000;
}

void BenchSearch::worst_case_grid() {
    QFETCH(int, precision);
    std::size_t matches = 0;
    QBENCHMARK {
        const GridResult r = walkGrid(worstPair(), worstParameters(), precision);
        matches = 0;
        for (const std::int32_t count : r.counts)
            matches += std::size_t(count);
    }
    QCOMPARE(matches, std::size_t(101 * 101 * kFamilyCount));
}

// What the variants window asks for after such a run: eleven whole list texts.
void BenchSearch::worst_case_list_texts() {
    const GridResult r = walkGrid(worstPair(), worstParameters(), 1);
    qsizetype length = 0;
    QBENCHMARK {
        length = 0;
        for (const FamilySpec &f : kFamilies)
            length += listText(r, f.family).size();
    }
    QVERIFY(length > 0);
}

QTEST_GUILESS_MAIN(BenchSearch)
#include "bench_search.moc"
