// The frequency search and the keypad on the real windows: F2 and its
// notices, the list window, the manual mode, the tolerance keys and "В".
#include "main_window_fixture.h"
#include "search/grid.h"
#include "ui/dialogs/Unit5.h"
#include "ui/kit/line_memo.h"

#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

using namespace uitest;

class SearchWindowTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    TForm5 *variants = nullptr;

    QList<ModalSeen> pressF2() {
        return closeModalsDuring([&] { QTest::keyClick(form->Edit55, Qt::Key_F2); });
    }
    void press(QToolButton *b) { b->click(); }

    QList<LineMemo *> lists() const {
        return {variants->Memo1, variants->Memo2,  variants->Memo3, variants->Memo4,
                variants->Memo5, variants->Memo6,  variants->Memo7, variants->Memo8,
                variants->Memo9, variants->Memo10, variants->Memo11};
    }

private slots:
    void init() {
        QVERIFY(startMainWindow());
        variants = form->findChild<TForm5 *>("TForm5");
        QVERIFY(variants);
    }
    void cleanup() { stopMainWindow(); }

    void keypad_builds_a_number_and_moves_it_into_fr1() {
        press(form->SpeedButton17); // 1
        press(form->SpeedButton18); // ,
        press(form->SpeedButton10); // 5
        QCOMPARE(form->Edit55->text(), QStringLiteral("1,5"));
        press(form->SpeedButton28);
        QCOMPARE(form->Edit2->text(), QStringLiteral("1,5"));
        QCOMPARE(form->Edit55->text(), QString());
        QCOMPARE(form->SpeedButton19->palette().color(QPalette::ButtonText), kMarkedBlue);
        QCOMPARE(form->SpeedButton28->palette().color(QPalette::ButtonText), kMarkedBlue);
        QCOMPARE(form->SpeedButton7->palette().color(QPalette::ButtonText), kUnmarkedNavy);
        // The hint of "В" names the entry it would give back.
        QTest::mouseMove(form->SpeedButton43);
        QCOMPARE(form->SpeedButton43->toolTip(), QStringLiteral("Вернуть (1,5)"));
    }

    void take_back_after_a_transfer_into_fm() {
        form->Edit55->setText("1234");
        press(form->SpeedButton21);
        QCOMPARE(form->Edit4->text(), QStringLiteral("1234"));
        press(form->SpeedButton43);
        QCOMPARE(form->Edit4->text(), QStringLiteral("0"));
        QCOMPARE(form->Edit55->text(), QStringLiteral("1234"));
        QCOMPARE(form->SpeedButton21->palette().color(QPalette::ButtonText), kUnmarkedNavy);
        QCOMPARE(form->SpeedButton30->palette().color(QPalette::ButtonText), kUnmarkedNavy);
    }

    void ctrl_z_in_an_input_edit_resets_the_entry() {
        form->Edit55->setText("12");
        form->Edit3->setFocus();
        QTest::keyClick(form->Edit3, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form->Edit55->text(), QString());
        QCOMPARE(form->Edit3->text(), QStringLiteral("0"));
        QCOMPARE(form->keypad.LastEntry, QStringLiteral("12"));
    }

    void a_single_blank_is_no_input() {
        form->Edit1->setText(" ");
        QCOMPARE(form->Edit1->text(), QString());
        QCOMPARE(form->SpeedButton27->palette().color(QPalette::ButtonText), kUnmarkedNavy);
        form->Edit55->setText(" ");
        QCOMPARE(form->Edit55->text(), QString());
    }

    void search_fills_the_rows_and_the_lists() {
        calculate("40", "25", "80");
        form->Edit55->setText("250");
        const auto seen = pressF2();
        QVERIFY2(seen.isEmpty(), describe(seen));
        // Fr1 + Fr2 = 250 six ways; the row keeps the first in grid order
        // (lowest b first): 10 x 25 + 0 x 12,5.
        QCOMPARE(form->Edit51->text(), QStringLiteral("250"));
        QCOMPARE(form->Edit49->text(), QStringLiteral("10"));
        QCOMPARE(form->Edit50->text(), QStringLiteral("0"));
        QCOMPARE(variants->Memo6->toPlainText().split('\n'),
                 (QStringList{"10Fr1+0Fr2=250", "9Fr1+2Fr2=250", "8Fr1+4Fr2=250", "7Fr1+6Fr2=250",
                              "6Fr1+8Fr2=250", "5Fr1+10Fr2=250"}));
        QCOMPARE(variants->Label6->text(), QStringLiteral("Fr1 + Fr2 (6)"));
        QCOMPARE(form->Edit31->text(), QStringLiteral("250")); // 0Fz + 10Fr1
        QCOMPARE(form->Edit13->text(), QString());             // no match: emptied
        QCOMPARE(variants->windowTitle(), QStringLiteral("результаты пойска значения 250"));
        QCOMPARE(variants->Edit6->text(), QStringLiteral("1000"));
        QCOMPARE(variants->Edit5->text(), QStringLiteral("12,5"));
        QVERIFY(variants->isVisible());
        // The next keypad digit starts a new number.
        press(form->SpeedButton16);
        QCOMPARE(form->Edit55->text(), QStringLiteral("0"));
    }

    void search_with_single_matches_leaves_the_window_down() {
        calculate("40", "25", "80");
        form->Edit55->setText("975");
        form->Edit58->setText("0");
        form->Edit61->setText("1");
        QVERIFY(pressF2().isEmpty());
        QCOMPARE(form->Edit13->text(), QStringLiteral("975"));
        QVERIFY(!variants->isVisible());
        // "варианты" shows it all the same.
        press(form->SpeedButton24);
        QVERIFY(variants->isVisible());
        QCOMPARE(variants->Memo2->toPlainText(), QStringLiteral("1Fz-1Fr1=975"));
    }

    void changed_input_after_calculation_gives_text_b() {
        calculate("40", "25", "80");
        form->Edit55->setText("1025");
        QVERIFY(pressF2().isEmpty());
        const QString rows = form->Edit31->text();
        const QString list = variants->Memo1->toPlainText();
        form->Edit3->setText("81");
        const auto seen = pressF2();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, QStringLiteral("TForm3"));
        QCOMPARE(seen[0].texts, QStringList{kTextB});
        QCOMPARE(form->Edit31->text(), rows);
        QCOMPARE(variants->Memo1->toPlainText(), list);
        // The next ordinary notice reads text A again.
        form->Edit58->setText("abc");
        form->Edit3->setText("80");
        const auto second = pressF2();
        QCOMPARE(second.size(), 1);
        QCOMPARE(second[0].texts, QStringList{kTextA});
    }

    void parameters_are_defaulted_and_limited() {
        calculate("40", "25", "80");
        form->Edit55->setText("1000");
        form->Edit58->clear();
        form->Edit60->setText("50000");
        form->Edit61->setText("60");
        QVERIFY(pressF2().isEmpty());
        QCOMPARE(form->Edit58->text(), QStringLiteral("0"));
        QCOMPARE(form->Edit60->text(), QStringLiteral("40000"));
        QCOMPARE(form->Edit61->text(), QStringLiteral("50"));
    }

    void manual_mode_swaps_the_controls() {
        press(form->SpeedButton23);
        QCOMPARE(form->SpeedButton23->text(), QStringLiteral("Автопоиск"));
        QVERIFY(!form->SpeedButton24->isEnabled());
        for (QWidget *w : std::initializer_list<QWidget *>{form->SpeedButton14, form->Edit58,
                                                           form->SpeedButton38, form->Label50,
                                                           form->Label52, form->Edit59})
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        for (QWidget *w :
             {form->SpeedButton3, form->SpeedButton4, form->SpeedButton5, form->SpeedButton6})
            QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
        QCOMPARE(form->Edit55->geometry(),
                 QRect(160, form->Edit55->y(), 149, form->Edit55->height()));
        // F3 does nothing there, Home and End still step the hidden tolerance.
        QTest::keyClick(form->Edit55, Qt::Key_F3);
        QVERIFY(!variants->isVisible());
        QTest::keyClick(form->Edit55, Qt::Key_Home);
        QCOMPARE(form->Edit58->text(), QStringLiteral("2"));
        QTest::keyClick(form->Edit55, Qt::Key_End);
        QTest::keyClick(form->Edit55, Qt::Key_End);
        QCOMPARE(form->Edit58->text(), QStringLiteral("0,9"));
        press(form->SpeedButton23);
        QCOMPARE(form->SpeedButton23->text(), QStringLiteral("Ручной поиск"));
        QVERIFY(form->SpeedButton14->isVisible() && !form->SpeedButton3->isVisible());
        QCOMPARE(form->Edit55->width(), 100);
    }

    // The widened entry field lies over the plus-minus sign, which stays in
    // place: none of the sign may show around the field's edges.
    void manual_mode_field_covers_the_plus_minus_sign_completely() {
        press(form->SpeedButton23);
        QGroupBox *keypad = form->GroupBox17;
        auto *plus = keypad->findChild<QLabel *>("LabelPlus");
        auto *minus = keypad->findChild<QLabel *>("LabelMinus");
        QVERIFY(plus && minus && plus->isVisible() && minus->isVisible());
        const QImage withSign = keypad->grab().toImage();
        plus->hide();
        minus->hide();
        const QImage withoutSign = keypad->grab().toImage();
        plus->show();
        minus->show();
        const QRect field = form->Edit55->geometry();
        const QRect sign = plus->geometry().united(minus->geometry());
        for (int y = sign.top(); y <= sign.bottom(); ++y)
            for (int x = sign.left(); x <= sign.right(); ++x)
                if (!field.contains(x, y))
                    QVERIFY2(withSign.pixel(x, y) == withoutSign.pixel(x, y),
                             qPrintable(QStringLiteral("the sign shows at %1, %2").arg(x).arg(y)));
    }

    void coefficient_buttons_fill_their_rows_and_recalculate() {
        calculate("80", "25", "40"); // wheel 2 is the smaller one
        press(form->SpeedButton23);
        form->Edit55->setText("2");
        press(form->SpeedButton4); // Fr1
        QCOMPARE(form->Edit29->text(), QStringLiteral("2"));
        QCOMPARE(form->Edit53->text(), QStringLiteral("2")); // not the smaller wheel's box
        QCOMPARE(form->Edit52->text(), QStringLiteral("1"));
        QCOMPARE(form->Edit31->text(), QStringLiteral("2050")); // 2000 + 2 x 25
        QCOMPARE(form->Edit54->text(), QStringLiteral("0"));    // 50 - 2 x 25
    }

    void tolerance_that_does_not_parse_gives_text_a() {
        form->Edit58->clear();
        const auto seen = closeModalsDuring([&] { press(form->SpeedButton38); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].texts, QStringList{kTextA});
        QCOMPARE(form->Edit58->text(), QString());
    }

    void harmonic_step_alternates() {
        press(form->SpeedButton26);
        QCOMPARE(form->Edit59->text(), QStringLiteral("0,5"));
        QCOMPARE(form->SpeedButton26->text(), QStringLiteral(">"));
        calculate("40", "25", "80");
        form->Edit55->setText("12,5");
        form->Edit58->setText("0");
        QVERIFY(pressF2().isEmpty());
        QVERIFY(variants->Memo1->toPlainText().contains("0Fz+0,5Fr1=12,5"));
        press(form->SpeedButton26);
        QCOMPARE(form->Edit59->text(), QStringLiteral("1"));
        QCOMPARE(form->SpeedButton26->text(), QStringLiteral("<"));
    }

    // The lists make their lines when they are painted or copied; what they
    // give must be what the search formats in full, line for line, and the
    // horizontal extent that of the whole text.
    void every_list_copied_is_the_text_the_search_formats_data() {
        QTest::addColumn<QStringList>("inputs"); // Z1, Fr1, Z2, Fm
        QTest::addColumn<QStringList>("boxes");  // target, tolerance, max harmonic
        QTest::addColumn<bool>("halfStep");
        QTest::addColumn<int>("precision");
        QTest::newRow("every candidate matching")
            << QStringList{"1", "0,1", "1", "0,1"} << QStringList{"5", "20", "50"} << true << 1;
        QTest::newRow("fifteen-digit values")
            << QStringList{"17", "24,5432109876543", "53", "12,3456789012345"}
            << QStringList{"500", "20", "50"} << true << 1;
        QTest::newRow("wheel 2 smaller, no Fm")
            << QStringList{"80", "25", "40", "0"} << QStringList{"1000", "20", "50"} << false << 1;
        QTest::newRow("rounded to two decimals") << QStringList{"17", "24,5", "53", "12"}
                                                 << QStringList{"416", "20", "50"} << true << 100;
        QTest::newRow("tiny values in exponent form, negative ones")
            << QStringList{"1", "0,00001", "3", "0,000007"} << QStringList{"0", "0,001", "10"}
            << true << 1;
        QTest::newRow("no match at all")
            << QStringList{"40", "25", "80", "12"} << QStringList{"99999", "0", "10"} << false << 1;
    }

    void every_list_copied_is_the_text_the_search_formats() {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, boxes);
        QFETCH(bool, halfStep);
        QFETCH(int, precision);
        const std::pair<int, QAction *> items[] = {{1, form->N32}, {100, form->N0001}};
        for (const auto &[factor, item] : items)
            if (factor == precision)
                item->trigger();
        calculate(inputs[0], inputs[1], inputs[2], inputs[3]);
        if (halfStep)
            press(form->SpeedButton26);
        form->Edit55->setText(boxes[0]);
        form->Edit58->setText(boxes[1]);
        form->Edit60->setText("40000");
        form->Edit61->setText(boxes[2]);
        QVERIFY(pressF2().isEmpty());
        press(form->SpeedButton24);

        search::SearchParameters parameters;
        parameters.target = QLocale::c().toDouble(QString(boxes[0]).replace(',', '.'));
        parameters.tolerance = QLocale::c().toDouble(QString(boxes[1]).replace(',', '.'));
        parameters.harmonicStep = halfStep ? 0.5 : 1;
        parameters.maxFrequency = 40000;
        parameters.maxHarmonic = boxes[2].toDouble();
        const search::GridResult whole =
            search::walkGrid(search::gridPair(form->pair), parameters, precision);
        for (int f = 0; f < search::kFamilyCount; ++f) {
            LineMemo *memo = lists()[f];
            const QString expected = search::listText(whole, static_cast<search::Family>(f));
            QCOMPARE(memo->lineCount(), search::matchCount(whole, static_cast<search::Family>(f)));
            QApplication::clipboard()->setText(QStringLiteral("nothing copied"));
            memo->selectAll();
            memo->copy();
            QCOMPARE(QApplication::clipboard()->text(),
                     expected.isEmpty() ? QStringLiteral("nothing copied") : expected);

            LineMemo plain(variants);
            plain.setFont(memo->font());
            plain.setGeometry(memo->geometry());
            plain.show();
            plain.setPlainText(expected);
            QCOMPARE(memo->horizontalScrollBar()->maximum(),
                     plain.horizontalScrollBar()->maximum());
        }
    }

    void wheel_2_smaller_turns_the_variants_title() {
        calculate("80", "25", "40");
        QVERIFY(variants->Label8->isVisibleTo(variants) &&
                !variants->Label7->isVisibleTo(variants));
        form->Edit55->setText("0");
        form->Edit58->setText("0");
        QVERIFY(pressF2().isEmpty());
        QVERIFY(variants->Memo7->toPlainText().startsWith("0Fr2-0Fr1=0"));
    }
};

QTEST_MAIN(SearchWindowTest)
#include "tst_search_window.moc"
