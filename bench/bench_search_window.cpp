// The worst-case searches (worst_cases.h) as commands on the real windows,
// and the calculation of the worked example as a command. These are the
// process's own figures, on Qt's offscreen platform; what the user waits for
// through the X server is timed by scripts/bench with search_window_x.
#include "ui/dialogs/Unit5.h"
#include "ui/kit/line_memo.h"
#include "ui/main/Unit1.h"
#include "ui/main/family_lines.h"
#include "ui/startup.h"
#include "worst_cases.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(const WorstCase *)

class SearchWindowBench : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;

    TForm5 *variantsWindow() const { return form->findChild<TForm5 *>(QStringLiteral("TForm5")); }

    int listedMatches() const {
        const TForm5 *lists = variantsWindow();
        int lines = 0;
        for (const LineMemo *memo :
             {lists->Memo1, lists->Memo2, lists->Memo3, lists->Memo4, lists->Memo5, lists->Memo6,
              lists->Memo7, lists->Memo8, lists->Memo9, lists->Memo10, lists->Memo11})
            lines += memo->lineCount();
        return lines;
    }

    // The pair calculated and the search boxes filled as the user would.
    void prepare(const WorstCase &worst) {
        form->Edit1->setText("1");
        form->Edit2->setText(worst.frequencyText);
        form->Edit3->setText("1");
        form->Edit4->setText(worst.frequencyText);
        form->SpeedButton1Click();
        // With -median the whole function runs again: the step button toggles.
        if (form->Edit59->text() != QStringLiteral("0,5"))
            form->SpeedButton26Click();
        QCOMPARE(form->Edit59->text(), QStringLiteral("0,5"));
        form->Edit55->setText("5");
        form->Edit58->setText("20");
        form->Edit60->setText("40000");
        form->Edit61->setText("50");
    }

private slots:
    void initTestCase() {
        QDir::setCurrent(dir.path());
        form.reset(createWindows());
        form->show();
    }
    void cleanupTestCase() { form.reset(); }

    void calculate_worked_example() {
        form->Edit1->setText("40");
        form->Edit2->setText("25");
        form->Edit3->setText("80");
        QBENCHMARK {
            form->SpeedButton1Click();
        }
        QCOMPARE(form->Edit6->text(), QStringLiteral("1000"));
    }

    void worst_case_search_command_data() {
        QTest::addColumn<const WorstCase *>("worst");
        QTest::addColumn<bool>("windowUp");
        QTest::newRow("by line count, list window already up") << &kWorstByCount << true;
        QTest::newRow("by line count, list window brought up") << &kWorstByCount << false;
        QTest::newRow("by text volume, list window already up") << &kWorstByText << true;
        QTest::newRow("by text volume, list window brought up") << &kWorstByText << false;
    }

    // The command until its lists are painted: the painting that it leaves
    // to the event loop counts too.
    void worst_case_search_command() {
        QFETCH(const WorstCase *, worst);
        QFETCH(bool, windowUp);
        prepare(*worst);
        form->SpeedButton14Click();
        QCoreApplication::processEvents();
        QVERIFY(variantsWindow()->isVisible());
        QBENCHMARK {
            if (!windowUp)
                variantsWindow()->hide();
            form->SpeedButton14Click();
            QCoreApplication::processEvents();
        }
        // The case measured is the worst one only if every candidate matched.
        QCOMPARE(listedMatches(), 101 * 101 * 11);
        QVERIFY(variantsWindow()->isVisible());
        variantsWindow()->hide();
    }

    void worst_case_lists_take_their_lines_data() {
        QTest::addColumn<const WorstCase *>("worst");
        QTest::newRow(kWorstByCount.name) << &kWorstByCount;
        QTest::newRow(kWorstByText.name) << &kWorstByText;
    }

    // The share of the lists in that command: the eleven lists handed the
    // matches of a walk made beforehand (each measures its widest line).
    void worst_case_lists_take_their_lines() {
        QFETCH(const WorstCase *, worst);
        const auto result = std::make_shared<const search::GridResult>(
            search::walkGrid(worstPair(*worst), worstParameters(), 1));
        TForm5 *lists = variantsWindow();
        QBENCHMARK {
            for (int f = 0; f < search::kFamilyCount; ++f)
                lists->setList(f, std::make_shared<FamilyLines>(result, search::Family(f)));
        }
        QCOMPARE(listedMatches(), 101 * 101 * 11);
    }
};

QTEST_MAIN(SearchWindowBench)
#include "bench_search_window.moc"
