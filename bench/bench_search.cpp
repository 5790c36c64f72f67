// The core of the worst-case searches (worst_cases.h): the grid walk, what
// the list window asks of the matches (the count of lines and the widest
// line, then only the lines in view), and, for comparison, every line
// formatted at once as the lists once took them.
#include "search/list_lines.h"
#include "worst_cases.h"

#include <QTest>
#include <memory>

using namespace search;
Q_DECLARE_METATYPE(const WorstCase *)

namespace {

void addCases() {
    QTest::addColumn<const WorstCase *>("worst");
    QTest::newRow(kWorstByCount.name) << &kWorstByCount;
    QTest::newRow(kWorstByText.name) << &kWorstByText;
}

// Liberation Sans Bold at 16 pixels gives every digit one advance; the
// other characters differ.
CharAdvances listAdvances() {
    CharAdvances a{};
    for (std::size_t c = 0; c < a.size(); ++c)
        a[c] = std::int32_t(300 + c % 7 * 40);
    for (char d = '0'; d <= '9'; ++d)
        a[std::size_t(d)] = 570;
    return a;
}

} // namespace

class BenchSearch : public QObject {
    Q_OBJECT

private slots:
    void worst_case_grid_data();
    void worst_case_grid();
    void worst_case_lists_measured_data() { addCases(); }
    void worst_case_lists_measured();
    void worst_case_list_texts_in_full_data() { addCases(); }
    void worst_case_list_texts_in_full();
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
        const GridResult r = walkGrid(worstPair(kWorstByCount), worstParameters(), precision);
        matches = 0;
        for (const std::int32_t count : r.counts)
            matches += std::size_t(count);
    }
    QCOMPARE(matches, std::size_t(101 * 101 * kFamilyCount));
}

// What the list window asks for when a search hands it the matches: each
// list's count and widest line, and the lines of a first view.
void BenchSearch::worst_case_lists_measured() {
    QFETCH(const WorstCase *, worst);
    const auto r =
        std::make_shared<const GridResult>(walkGrid(worstPair(*worst), worstParameters(), 1));
    const CharAdvances advances = listAdvances();
    std::int64_t widest = 0;
    qsizetype viewed = 0;
    QBENCHMARK {
        widest = 0;
        viewed = 0;
        for (const FamilySpec &f : kFamilies) {
            const ListLines lines(r, f.family);
            widest = std::max(widest, lines.widest(advances));
            for (int i = 0; i < 7; ++i)
                viewed += lines.line(i).size();
        }
    }
    QVERIFY(widest > 0 && viewed > 0);
}

// Every line made at once: what the lists cost before they made their lines
// on demand; the text volume shows which case is the larger.
void BenchSearch::worst_case_list_texts_in_full() {
    QFETCH(const WorstCase *, worst);
    const GridResult r = walkGrid(worstPair(*worst), worstParameters(), 1);
    qsizetype length = 0;
    QBENCHMARK {
        length = 0;
        for (const FamilySpec &f : kFamilies)
            length += listText(r, f.family).size();
    }
    qInfo("%lld characters in the eleven lists", static_cast<long long>(length));
    QVERIFY(length > 0);
}

QTEST_GUILESS_MAIN(BenchSearch)
#include "bench_search.moc"
