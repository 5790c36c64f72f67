// The application shell on real windows: the settings file across two
// starts, the ways of closing, the window-size items, About and the
// external calculator.
#include "fixture.h"
#include "ui/dialogs/Unit4.h"
#include "ui/main/Unit1.h"
#include "ui/startup.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <optional>

using namespace uitest;

namespace {
std::unique_ptr<TForm1> start() {
    std::unique_ptr<TForm1> form(createWindows());
    form->show();
    return form;
}

QStringList checkedPrecisionItems(TForm1 *form) {
    QStringList checked;
    for (QAction *a : {form->N0001, form->N00001, form->N000001, form->N0000001, form->N32})
        if (a->isChecked())
            checked << a->text();
    return checked;
}
} // namespace

class ShellTest : public QObject {
    Q_OBJECT

private:
    std::optional<UiFixture> fixture;

private slots:
    void init() { fixture.emplace(); }
    void cleanup() { fixture.reset(); }

    void first_start_creates_the_file_holding_1() {
        auto form = start();
        QCOMPARE(fileBytes("VeviVerezoz.bmp"), QByteArray("1\r\n"));
        QCOMPARE(form->PrecisionFactor, 1);
        QCOMPARE(checkedPrecisionItems(form.get()), QStringList{"не округлять"});
        QCOMPARE(form->ProgramDir, fixture->workDir.path());
    }

    void precision_survives_every_way_of_closing_data() {
        QTest::addColumn<QString>("route");
        QTest::newRow("close box") << "close";
        QTest::newRow("F12") << "F12";
        QTest::newRow("F12-выход") << "SpeedButton41";
        QTest::newRow("main menu Выход") << "N2";
        QTest::newRow("popup Выход") << "N10";
    }
    void precision_survives_every_way_of_closing() {
        QFETCH(QString, route);
        {
            auto form = start();
            form->N00001->trigger();
            if (route == "close")
                form->close();
            else if (route == "F12")
                QTest::keyClick(form->Edit1, Qt::Key_F12);
            else if (route == "SpeedButton41")
                form->SpeedButton41->click();
            else
                form->findChild<QAction *>(route)->trigger();
            QVERIFY(!form->isVisible());
        }
        QCOMPARE(fileBytes("VeviVerezoz.bmp"), QByteArray("1000\r\n"));
        auto again = start();
        QCOMPARE(again->PrecisionFactor, 1000);
        QCOMPARE(checkedPrecisionItems(again.get()), QStringList{"0.000"});
    }

    void loaded_values_set_the_marks_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("factor");
        QTest::addColumn<QString>("marked");
        QTest::addColumn<QByteArray>("writtenBack");
        QTest::newRow("100000") << QByteArray("100000\r\n") << 100000 << "0.00000"
                                << QByteArray("100000\r\n");
        QTest::newRow("100 then text")
            << QByteArray("100 abc\r\n") << 100 << "0.00" << QByteArray("100\r\n");
        QTest::newRow("50 leaves the marks")
            << QByteArray("50") << 50 << "не округлять" << QByteArray("50\r\n");
        QTest::newRow("-3 leaves the marks")
            << QByteArray("-3") << -3 << "не округлять" << QByteArray("-3\r\n");
        QTest::newRow("empty reads 0")
            << QByteArray("") << 0 << "не округлять" << QByteArray("0\r\n");
        QTest::newRow("abc counts as 1")
            << QByteArray("abc") << 1 << "не округлять" << QByteArray("1\r\n");
    }
    void loaded_values_set_the_marks() {
        QFETCH(QByteArray, content);
        QFETCH(int, factor);
        QFETCH(QString, marked);
        QFETCH(QByteArray, writtenBack);
        {
            QFile f("VeviVerezoz.bmp");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        {
            auto form = start();
            QCOMPARE(form->PrecisionFactor, factor);
            QCOMPARE(checkedPrecisionItems(form.get()), QStringList{marked});
            form->close();
        }
        QCOMPARE(fileBytes("VeviVerezoz.bmp"), writtenBack);
    }

    void folder_in_the_files_place_is_reported_and_the_program_goes_on() {
        QVERIFY(QDir().mkdir("VeviVerezoz.bmp"));
        std::unique_ptr<TForm1> form;
        auto seen = closeModalsDuring([&] { form = start(); });
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].texts.join(' ').contains("VeviVerezoz.bmp"), describe(seen));
        QCOMPARE(form->PrecisionFactor, 1);
        seen = closeModalsDuring([&] { form->close(); });
        QCOMPARE(seen.size(), 1);
        QVERIFY(!form->isVisible());
    }

    void window_size_items() {
        auto form = start();
        QWidget *client = form->centralWidget();
        QVERIFY(!form->N25->isChecked() && form->N25->isEnabled());
        form->N25->trigger();
        QVERIFY(form->N25->isChecked() && !form->N25->isEnabled());
        QVERIFY(!form->N30->isChecked() && form->N30->isEnabled());
        form->resize(900, 700);
        QTRY_COMPARE(client->width(), 900);
        form->N30->trigger();
        QVERIFY(form->N30->isChecked() && !form->N30->isEnabled());
        QVERIFY(!form->N25->isChecked() && form->N25->isEnabled());
        // Back to the start size, with the function-key panel inside.
        QTRY_COMPARE(client->size(), QSize(721, 537));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        for (QToolButton *key : form->Panel2->findChildren<QToolButton *>())
            QVERIFY2(client->rect().contains(key->geometry().translated(form->Panel2->pos())),
                     qPrintable(key->objectName()));
    }

    void about_opened_twice_is_one_window() {
        auto form = start();
        form->N4->trigger();
        form->N4->trigger();
        int shown = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == "TForm4" && w->isVisible())
                ++shown;
        QCOMPARE(shown, 1);
        // The main window keeps working while it is open.
        form->Edit1->setText("40");
        form->Edit2->setText("25");
        form->Edit3->setText("80");
        QVERIFY(closeModalsDuring([&] { form->SpeedButton1->click(); }).isEmpty());
        QCOMPARE(form->Edit6->text(), QStringLiteral("1000"));
    }

    void f4_without_calc_shows_the_notice() {
        auto form = start();
        const auto seen = closeModalsDuring([&] { QTest::keyClick(form->Edit1, Qt::Key_F4); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, QStringLiteral("TForm6"));
        QCOMPARE(seen[0].texts, QStringList{kCalculatorMissingText});
    }

    void every_press_starts_one_calculator() {
        {
            QFile calc("CALC.exe");
            QVERIFY(calc.open(QIODevice::WriteOnly));
            calc.write("#!/bin/sh\necho started >> runs.txt\n");
        }
        QFile::setPermissions("CALC.exe", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        auto form = start();
        const auto seen = closeModalsDuring([&] {
            QTest::keyClick(form->Edit1, Qt::Key_F4);
            form->SpeedButton36->click();
            form->N17->trigger();
        });
        QVERIFY2(seen.isEmpty(), describe(seen));
        QTRY_COMPARE(fileBytes("runs.txt"), QByteArray("started\nstarted\nstarted\n"));
    }

    void calculator_that_is_no_program_shows_nothing() {
        {
            QFile calc("CALC.exe");
            QVERIFY(calc.open(QIODevice::WriteOnly));
            calc.write("not a program");
        }
        auto form = start();
        const auto seen = closeModalsDuring([&] { QTest::keyClick(form->Edit1, Qt::Key_F4); });
        QVERIFY2(seen.isEmpty(), describe(seen));
    }
};

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
