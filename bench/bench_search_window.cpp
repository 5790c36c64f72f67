// The worst-case search as a command on the real windows (every candidate
// matches, so every list is as long as it gets), and the calculation of the
// worked example as a command.
#include "search/grid.h"
#include "ui/dialogs/Unit5.h"
#include "ui/kit/line_memo.h"
#include "ui/main/Unit1.h"
#include "ui/startup.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

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
        QTest::addColumn<bool>("windowUp");
        QTest::newRow("list window already up") << true;
        QTest::newRow("list window brought up") << false;
    }

    // The command until its lists are painted: the painting that it leaves
    // to the event loop counts too.
    void worst_case_search_command() {
        QFETCH(bool, windowUp);
        // Z1 = Z2 = 1 and Fr1 = Fm = 0,1 keep every candidate of the eleven
        // families within 20 Hz of the target 5 over the whole grid of step
        // 0,5 up to the harmonic 50: 101 x 101 points each.
        form->Edit1->setText("1");
        form->Edit2->setText("0,1");
        form->Edit3->setText("1");
        form->Edit4->setText("0,1");
        form->SpeedButton1Click();
        // With -median the whole function runs again: the step button toggles.
        if (form->Edit59->text() != QStringLiteral("0,5"))
            form->SpeedButton26Click();
        QCOMPARE(form->Edit59->text(), QStringLiteral("0,5"));
        form->Edit55->setText("5");
        form->Edit58->setText("20");
        form->Edit60->setText("40000");
        form->Edit61->setText("50");
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

    // The share of the lists in that command: the eleven worst-case texts,
    // made beforehand, handed to the list window.
    void worst_case_lists_take_their_texts() {
        search::SearchParameters parameters;
        parameters.target = 5;
        parameters.tolerance = 20;
        parameters.harmonicStep = 0.5;
        parameters.maxFrequency = 40000;
        parameters.maxHarmonic = 50;
        const search::GridResult result =
            search::walkGrid(search::GridPair{1, 1, 0.1, 0.1, 0.1, 0.1, true}, parameters, 1);
        std::array<QString, search::kFamilyCount> texts;
        for (int f = 0; f < search::kFamilyCount; ++f)
            texts[std::size_t(f)] = search::listText(result, static_cast<search::Family>(f));
        TForm5 *lists = variantsWindow();
        QBENCHMARK {
            for (int f = 0; f < search::kFamilyCount; ++f)
                lists->setListText(f, texts[std::size_t(f)]);
        }
        QCOMPARE(listedMatches(), 101 * 101 * 11);
    }
};

QTEST_MAIN(SearchWindowBench)
#include "bench_search_window.moc"
