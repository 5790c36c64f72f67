// The worst-case search as a command on the real windows (all lists
// filled), and the calculation of the worked example as a command.
#include "ui/startup.h"
#include "ui/Unit1.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

class SearchWindowBench : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;

private slots:
    void initTestCase()
    {
        QDir::setCurrent(dir.path());
        form.reset(createWindows());
        form->show();
    }
    void cleanupTestCase() { form.reset(); }

    void calculate_worked_example()
    {
        form->Edit1->setText("40");
        form->Edit2->setText("25");
        form->Edit3->setText("80");
        QBENCHMARK { form->SpeedButton1Click(); }
        QCOMPARE(form->Edit6->text(), QStringLiteral("1000"));
    }

    void worst_case_search_command()
    {
        // Step 0,5 and every limit: 101 x 101 points, eleven families, a
        // 20 Hz window around a target that most small candidates reach.
        form->Edit1->setText("1");
        form->Edit2->setText("1");
        form->Edit3->setText("1");
        form->Edit4->setText("1");
        form->SpeedButton1Click();
        form->SpeedButton26Click();
        form->Edit55->setText("20");
        form->Edit58->setText("20");
        form->Edit60->setText("40000");
        form->Edit61->setText("50");
        QBENCHMARK { form->SpeedButton14Click(); }
        form->findChild<QWidget *>("TForm5")->hide();
    }
};

QTEST_MAIN(SearchWindowBench)
#include "bench_search_window.moc"
