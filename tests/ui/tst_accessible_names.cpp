// What a screen reader announces: every box of the main window by the
// quantity it holds, every picture button by its hint, the lists of the list
// window by their titles. Read through QAccessible, as assistive technology
// reads them.
#include "main_window_fixture.h"
#include "ui/dialogs/Unit5.h"
#include "ui/kit/line_memo.h"
#include "ui/kit/updown.h"

#include <QAccessible>
#include <QLineEdit>
#include <QSet>
#include <QToolButton>
#include <QtTest>

#include <array>

using namespace uitest;

namespace {

QString announced(QWidget *w) {
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name) : QString();
}

} // namespace

class AccessibleNamesTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startMainWindow(WaitFor::Exposed)); }
    void cleanup() { stopMainWindow(); }

    void every_visible_box_has_a_name_of_its_own() {
        QSet<QString> names;
        int boxes = 0;
        for (QLineEdit *e : form->findChildren<QLineEdit *>()) {
            if (!e->isVisibleTo(form.get()))
                continue;
            ++boxes;
            const QString name = announced(e);
            QVERIFY2(!name.isEmpty(), qPrintable(e->objectName() + " has no name"));
            QVERIFY2(!names.contains(name), qPrintable(e->objectName() + " repeats " + name));
            names.insert(name);
        }
        QCOMPARE(boxes, 59);
    }

    void box_is_named_after_its_quantity_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("name");
        QTest::newRow("Z1") << "Edit1"
                            << "Z1, число зубьев 1-го колеса";
        QTest::newRow("Fr1") << "Edit2"
                             << "Fr1, оборотная частота 1-го колеса, Гц";
        QTest::newRow("Z2") << "Edit3"
                            << "Z2, число зубьев 2-го колеса";
        QTest::newRow("Fm") << "Edit4"
                            << "Fm, промежуточная частота, Гц";
        QTest::newRow("Fz result") << "Edit6"
                                   << "Fz, зубцовая частота, Гц, результат";
        QTest::newRow("third of Fr1") << "Edit25"
                                      << "Fr1 × 1/3, результат";
        QTest::newRow("three times Fr2") << "Edit18"
                                         << "Fr2 × 3, результат";
        QTest::newRow("gear ratio") << "Edit26"
                                    << "i, передаточное число, результат";
        QTest::newRow("Fz + Fr1 result") << "Edit31"
                                         << "Fz + Fr1, результат";
        QTest::newRow("Fz + Fr1 first coefficient") << "Edit27"
                                                    << "Fz + Fr1, коэффициент при Fz";
        QTest::newRow("Fz + Fr1 second coefficient") << "Edit29"
                                                     << "Fz + Fr1, коэффициент при Fr1";
        QTest::newRow("Fm - Fr2 result") << "Edit39"
                                         << "Fm - Fr2, результат";
        QTest::newRow("Fr1 * Fr2 result") << "Edit36"
                                          << "Fr1 * Fr2, результат";
        QTest::newRow("difference result") << "Edit54"
                                           << "разность оборотных частот, результат";
        QTest::newRow("difference, smaller wheel's coefficient")
            << "Edit52"
            << "разность оборотных частот, коэффициент при частоте меньшего колеса";
        QTest::newRow("entry field") << "Edit55"
                                     << "поле калькулятора, частота для поиска, Гц";
        QTest::newRow("maximum harmonic") << "Edit61"
                                          << "макс. гармоника";
    }
    void box_is_named_after_its_quantity() {
        QFETCH(QString, edit);
        QFETCH(QString, name);
        QLineEdit *e = form->findChild<QLineEdit *>(edit);
        QVERIFY(e);
        QCOMPARE(announced(e), name);
    }

    void picture_button_is_named_by_its_hint_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("name");
        QTest::newRow("new aggregate") << "SpeedButton33"
                                       << "Новый агрегат";
        QTest::newRow("tolerance up") << "SpeedButton38"
                                      << "больше";
        QTest::newRow("tolerance down") << "SpeedButton39"
                                        << "меньше";
        QTest::newRow("take back") << "SpeedButton43"
                                   << "Вернуть";
        QTest::newRow("reset") << "SpeedButton25"
                               << "Сброс";
    }
    void picture_button_is_named_by_its_hint() {
        QFETCH(QString, button);
        QFETCH(QString, name);
        auto *b = form->findChild<QToolButton *>(button);
        QVERIFY(b);
        QCOMPARE(announced(b), name);
        if (!b->toolTip().isEmpty())
            QVERIFY(b->toolTip().startsWith(name));
    }

    void spinner_arrows_have_names() {
        QVERIFY(!announced(form->UpDown4->upButton).isEmpty());
        QVERIFY(!announced(form->UpDown4->downButton).isEmpty());
        QVERIFY(announced(form->UpDown4->upButton) != announced(form->UpDown4->downButton));
    }

    void lists_are_named_by_the_titles_above_them() {
        auto *variants = form->findChild<TForm5 *>("TForm5");
        QVERIFY(variants);
        QCOMPARE(announced(variants->Memo1), QStringLiteral("Fz + Fr1"));
        QCOMPARE(announced(variants->Memo11), QStringLiteral("Fm - Fr2"));
        std::array<QString, TForm5::kTitleCount> titles;
        for (int i = 0; i < TForm5::kTitleCount; ++i)
            titles[std::size_t(i)] = QStringLiteral("title %1 (%2)").arg(i + 1).arg(i);
        variants->setTitles(titles);
        QCOMPARE(announced(variants->Memo1), titles[0]);
        QCOMPARE(announced(variants->Memo7), titles[6]);
        QCOMPARE(announced(variants->Memo8), titles[8]);
        variants->setDifferenceFr2First(true);
        QCOMPARE(announced(variants->Memo7), titles[7]);
        QCOMPARE(announced(variants->Edit1), QStringLiteral("Z1, число зубьев 1-го колеса"));
        QCOMPARE(announced(variants->Edit6), QStringLiteral("Fz, зубцовая частота, Гц"));
    }
};

QTEST_MAIN(AccessibleNamesTest)
#include "tst_accessible_names.moc"
