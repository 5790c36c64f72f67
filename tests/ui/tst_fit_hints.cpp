// Hints of the result and coefficient boxes: a box too narrow for its text
// shows the whole text as its hint, a box whose text fits shows none, so a
// value cut off at the box's edge (an exponent, the last digits) can be read.
#include "main_window_fixture.h"
#include "ui/dialogs/Unit5.h"

#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

using namespace uitest;

class FitHintsTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

    QLineEdit *box(const QString &name) { return form->findChild<QLineEdit *>(name); }

private slots:
    void init() { QVERIFY(startMainWindow(WaitFor::Exposed)); }
    void cleanup() { stopMainWindow(); }

    void boxes_start_without_hints() {
        for (QLineEdit *e : form->displayEdits)
            QVERIFY2(e->toolTip().isEmpty(), qPrintable(e->objectName()));
        for (QLineEdit *e : form->inputEdits)
            QVERIFY2(e->toolTip().isEmpty(), qPrintable(e->objectName()));
    }

    void result_that_is_cut_off_shows_itself_as_hint_data() {
        QTest::addColumn<QString>("z1");
        QTest::addColumn<QString>("fr1");
        QTest::addColumn<QString>("z2");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("cut");
        // Fz = Z1 × Fr1 in Edit6, its thirds in Edit11, the gear ratio in Edit26.
        QTest::newRow("short Fz fits") << "40"
                                       << "25"
                                       << "80"
                                       << "Edit6" << false;
        QTest::newRow("third of 1000 has fifteen digits") << "40"
                                                          << "25"
                                                          << "80"
                                                          << "Edit11" << true;
        QTest::newRow("Fz in exponent form hides its exponent") << "1234567890123456789"
                                                                << "25"
                                                                << "80"
                                                                << "Edit6" << true;
        QTest::newRow("gear ratio 2 fits") << "40"
                                           << "25"
                                           << "80"
                                           << "Edit26" << false;
        QTest::newRow("long gear ratio") << "7"
                                         << "25"
                                         << "80"
                                         << "Edit26" << true;
        QTest::newRow("Fz + Fr1 fits") << "40"
                                       << "25"
                                       << "80"
                                       << "Edit31" << false;
        QTest::newRow("long Fz + Fr1") << "3"
                                       << "33,3333333"
                                       << "7"
                                       << "Edit31" << true;
    }
    void result_that_is_cut_off_shows_itself_as_hint() {
        QFETCH(QString, z1);
        QFETCH(QString, fr1);
        QFETCH(QString, z2);
        QFETCH(QString, edit);
        QFETCH(bool, cut);
        calculate(z1, fr1, z2);
        QLineEdit *e = box(edit);
        QVERIFY(!e->text().isEmpty());
        QCOMPARE(e->toolTip(), cut ? e->text() : QString());
    }

    void hint_follows_every_new_value() {
        calculate("40", "25", "80");
        QVERIFY(box("Edit11")->toolTip().startsWith(QStringLiteral("333,33333")));
        calculate("30", "10", "60"); // Fz 300, a third of it is 100
        QCOMPARE(box("Edit11")->text(), QStringLiteral("100"));
        QCOMPARE(box("Edit11")->toolTip(), QString());
    }

    void typed_coefficient_that_does_not_fit_shows_itself_as_hint() {
        QLineEdit *k1 = box("Edit27"); // 29 pixels wide
        k1->setText(QStringLiteral("2"));
        QCOMPARE(k1->toolTip(), QString());
        k1->setText(QStringLiteral("12345,5"));
        QCOMPARE(k1->toolTip(), QStringLiteral("12345,5"));
        QTest::keyClick(k1, Qt::Key_Backspace);
        QCOMPARE(k1->toolTip(), QStringLiteral("12345,"));
        k1->setText(QStringLiteral("3"));
        QCOMPARE(k1->toolTip(), QString());
    }

    void summary_box_of_the_list_window_shows_a_long_value_as_hint() {
        auto *variants = form->findChild<TForm5 *>("TForm5");
        QVERIFY(variants);
        variants->startRun("250", "40", "333,333333333333", "80", "0", "166,666666666667",
                           "13333,3333333333");
        QCOMPARE(variants->Edit1->toolTip(), QString());
        QCOMPARE(variants->Edit2->toolTip(), QStringLiteral("333,333333333333"));
        QCOMPARE(variants->Edit6->toolTip(), QStringLiteral("13333,3333333333"));
    }
};

QTEST_MAIN(FitHintsTest)
#include "tst_fit_hints.moc"
