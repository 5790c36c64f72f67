// The main window on the offscreen platform: its start state, "ВЫЧИСЛИТЬ"
// and its notices, and the command map (keys, hidden and disabled items, the
// popup menu).
#include "main_window_fixture.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QtTest>

using namespace uitest;

namespace {
// Every result edit that shows a value, with its text.
QMap<QString, QString> results(TForm1 *w) {
    QMap<QString, QString> shown;
    for (QLineEdit *e : w->displayEdits)
        shown.insert(e->objectName(), e->text());
    return shown;
}
} // namespace

class MainWindowTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    // F1 as the user presses it, with the focus in Z1.
    QList<ModalSeen> pressF1() {
        form->Edit1->setFocus();
        return closeModalsDuring([&] { QTest::keyClick(form->Edit1, Qt::Key_F1); });
    }

private slots:
    void init() { QVERIFY(startMainWindow()); }
    void cleanup() { stopMainWindow(); }

    void start_state_matches_the_layout() {
        QCOMPARE(form->centralWidget()->size(), QSize(721, 537));
        QCOMPARE(text(form.get(), "Edit1"), QString());
        QCOMPARE(text(form.get(), "Edit2"), QStringLiteral("0"));
        QCOMPARE(text(form.get(), "Edit3"), QStringLiteral("0"));
        QCOMPARE(text(form.get(), "Edit4"), QStringLiteral("0"));
        QCOMPARE(form->Label45->text(), QStringLiteral("1"));
        QCOMPARE(text(form.get(), "Edit26"), QStringLiteral("0"));
        for (QLineEdit *e : form->displayEdits)
            if (e != form->Edit26)
                QVERIFY2(e->text().isEmpty(), qPrintable(e->objectName()));
        QCOMPARE(QApplication::focusWidget(), form->Edit1);
        QVERIFY(!form->SpeedButton31->isEnabled());
        QVERIFY(!form->SpeedButton32->isEnabled());
        QVERIFY(!form->SpeedButton37->isEnabled());
        QVERIFY(!form->SpeedButton40->isEnabled());
        QVERIFY(form->N32->isChecked());
        QVERIFY(form->N30->isChecked() && !form->N30->isEnabled());
        QVERIFY(!form->SpeedButton2->isVisible());
        QVERIFY(form->Label51->isVisible());
        // The pair submenu opens with no visible item.
        for (QAction *a : form->N14->menu()->actions())
            QVERIFY2(!a->isVisible(), qPrintable(a->objectName()));
    }

    void tab_order_takes_only_the_inputs_and_the_search_boxes() {
        const QStringList expected{"Edit1",  "Edit2",  "Edit3",  "Edit4", "Edit55",
                                   "Edit58", "Edit59", "Edit60", "Edit61"};
        QStringList order;
        QWidget *w = form->Edit1;
        do {
            order << w->objectName();
            w = w->nextInFocusChain();
            while ((w->focusPolicy() & Qt::TabFocus) == 0 || !w->isVisible())
                w = w->nextInFocusChain();
        } while (w != form->Edit1 && order.size() < 40);
        QCOMPARE(order, expected);
    }

    void f1_in_an_input_edit_calculates_the_worked_example_data() {
        QTest::addColumn<QString>("fm");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("expected");
        const char *const rows[][2] = {
            {"Edit6", "1000"},   {"Edit26", "2"},     {"Edit8", "2000"},
            {"Edit9", "3000"},   {"Edit10", "500"},   {"Edit11", "333,333333333333"},
            {"Edit21", "25"},    {"Edit16", "12,5"},  {"Edit17", "25"},
            {"Edit31", "1025"},  {"Edit13", "975"},   {"Edit28", "1012,5"},
            {"Edit33", "987,5"}, {"Edit36", "312,5"}, {"Edit51", "37,5"},
            {"Edit54", "12,5"},  {"Edit45", ""},      {"Edit48", ""},
            {"Edit42", ""},      {"Edit39", ""},
        };
        for (const auto &r : rows)
            QTest::newRow(qPrintable(QStringLiteral("Fm 0: ") + r[0]))
                << "0" << r[0] << QString::fromUtf8(r[1]);
        const char *const fmRows[][2] = {
            {"Edit45", "125"}, {"Edit48", "75"}, {"Edit42", "112,5"}, {"Edit39", "87,5"}};
        for (const auto &r : fmRows)
            QTest::newRow(qPrintable(QStringLiteral("Fm 100: ") + r[0]))
                << "100" << r[0] << QString::fromUtf8(r[1]);
        QTest::newRow("empty Fm: becomes 0") << ""
                                             << "Edit4"
                                             << "0";
        QTest::newRow("empty Fm: rows blanked") << ""
                                                << "Edit45"
                                                << "";
    }
    void f1_in_an_input_edit_calculates_the_worked_example() {
        QFETCH(QString, fm);
        QFETCH(QString, edit);
        QFETCH(QString, expected);
        enterPair("40", "25", "80", fm);
        const auto seen = pressF1();
        QVERIFY2(seen.isEmpty(), describe(seen));
        QCOMPARE(text(form.get(), qPrintable(edit)), expected);
    }

    void success_unmarks_enables_next_and_focuses_the_entry_field() {
        enterPair("40", "25", "80", "5"); // typing marks all four
        for (QToolButton *b : form->transferButtons)
            QCOMPARE(b->palette().color(QPalette::ButtonText), kMarkedBlue);
        QVERIFY(pressF1().isEmpty());
        for (QToolButton *b : form->transferButtons)
            QCOMPARE(b->palette().color(QPalette::ButtonText), kUnmarkedNavy);
        QVERIFY(form->SpeedButton31->isEnabled());
        QVERIFY(form->SpeedButton40->isEnabled());
        QCOMPARE(QApplication::focusWidget(), form->Edit55);
        QCOMPARE(form->pair.pairCalculated(), 1);
    }

    void refused_input_shows_text_a_and_keeps_the_results_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("bad");
        QTest::newRow("empty coefficient") << "Edit29"
                                           << "";
        QTest::newRow("two commas") << "Edit27"
                                    << "2,5,1";
        QTest::newRow("negative Z1 fails the text check") << "Edit1"
                                                          << "-40";
        QTest::newRow("Fr1 zero") << "Edit2"
                                  << "0";
        QTest::newRow("Z2 with a letter") << "Edit3"
                                          << "80a";
        QTest::newRow("Fm beginning with a point") << "Edit4"
                                                   << ".5";
    }
    void refused_input_shows_text_a_and_keeps_the_results() {
        QFETCH(QString, edit);
        QFETCH(QString, bad);
        enterPair("40", "25", "80");
        QVERIFY(pressF1().isEmpty());
        const auto before = results(form.get());
        form->pair.clearCalculated();
        form->SpeedButton31->setEnabled(false);
        form->Edit1->setText("4"); // typing marks Z1
        form->Edit1->setText("40");

        type(form.get(), qPrintable(edit), bad);
        const auto seen = pressF1();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, QStringLiteral("TForm3"));
        QCOMPARE(seen[0].texts, QStringList{kTextA});
        QCOMPARE(results(form.get()), before);
        QCOMPARE(form->pair.pairCalculated(), 0);
        QVERIFY(!form->SpeedButton31->isEnabled());
        QCOMPARE(form->SpeedButton27->palette().color(QPalette::ButtonText), kMarkedBlue);
    }

    void manual_smaller_wheel_contradiction_shows_the_smaller_wheel_notice() {
        form->N7->trigger();
        QVERIFY(form->SpeedButton2->isVisible());
        QVERIFY(!form->Label51->isVisible());
        QCOMPARE(form->N7->text(), QStringLiteral("Определять автоматически"));
        enterPair("80", "25", "40");
        const auto seen = pressF1();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, QStringLiteral("TForm2"));
        QCOMPARE(seen[0].texts, QStringList{kSmallerWheelText});
        QCOMPARE(text(form.get(), "Edit6"), QString());

        // The button turns the indicator and the row to wheel 2; then it passes.
        form->SpeedButton2->click();
        QCOMPARE(form->Edit5->text(), QStringLiteral("2"));
        QVERIFY(form->Label37->isVisibleTo(form.get()) && !form->Label34->isVisibleTo(form.get()));
        QVERIFY(pressF1().isEmpty());
        QCOMPARE(text(form.get(), "Edit16"), QStringLiteral("50"));
        QCOMPARE(text(form.get(), "Edit54"), QStringLiteral("25"));
    }

    void automatic_mode_turns_the_difference_row_for_wheel_2() {
        enterPair("80", "25", "40");
        QVERIFY(pressF1().isEmpty());
        QCOMPARE(form->Edit5->text(), QStringLiteral("2"));
        QVERIFY(form->Label36->isVisible() && form->Label37->isVisible());
        QVERIFY(!form->Label34->isVisible() && !form->Label35->isVisible());
        QCOMPARE(text(form.get(), "Edit26"), QStringLiteral("2"));
        QCOMPARE(text(form.get(), "Edit54"), QStringLiteral("25"));
        // Equal teeth counts empty the indicator and leave the labels.
        enterPair("30", "25", "30");
        QVERIFY(pressF1().isEmpty());
        QCOMPARE(form->Edit5->text(), QString());
        QVERIFY(form->Label36->isVisible());
        QCOMPARE(text(form.get(), "Edit54"), QStringLiteral("0"));
    }

    void arithmetic_fault_names_the_fault_and_shows_no_infinity() {
        enterPair("40", "25", "80");
        QVERIFY(pressF1().isEmpty());
        const auto before = results(form.get());
        enterPair("00", "25", "80");
        const auto seen = pressF1();
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].texts.join(' ').contains(QStringLiteral("деление на ноль")),
                 describe(seen));
        QCOMPARE(results(form.get()), before);
    }

    void precision_item_rounds_the_next_calculation() {
        form->N0001->trigger();
        QVERIFY(form->N0001->isChecked());
        QVERIFY(!form->N32->isChecked());
        // Fz = 1234.5678 with Z1 = 1; Fr1/3 = 411.5226 shows 411,52.
        enterPair("1", "1234,5678", "2");
        QVERIFY(pressF1().isEmpty());
        QCOMPARE(text(form.get(), "Edit6"), QStringLiteral("1234,57"));
        QCOMPARE(text(form.get(), "Edit16"), QStringLiteral("617,28"));
        form->N32->trigger();
        QVERIFY(pressF1().isEmpty());
        QCOMPARE(text(form.get(), "Edit6"), QStringLiteral("1234,5678"));
        QVERIFY(form->N32->isChecked() && !form->N0001->isChecked());
    }

    void every_trigger_of_calculate_runs_it() {
        QAbstractButton *const buttons[] = {form->SpeedButton1, form->SpeedButton34};
        for (QAbstractButton *b : buttons) {
            type(form.get(), "Edit6", QString());
            enterPair("40", "25", "80");
            QVERIFY(closeModalsDuring([&] { b->click(); }).isEmpty());
            QCOMPARE(text(form.get(), "Edit6"), QStringLiteral("1000"));
        }
        type(form.get(), "Edit6", QString());
        QVERIFY(closeModalsDuring([&] { form->N8->trigger(); }).isEmpty());
        QCOMPARE(text(form.get(), "Edit6"), QStringLiteral("1000"));
    }

    void disabled_item_swallows_its_key() {
        enterPair("40", "25", "80");
        form->N8->setEnabled(false);
        QVERIFY(pressF1().isEmpty());
        QCOMPARE(text(form.get(), "Edit6"), QString());
    }

    void hidden_items_keys_win_over_the_edit_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Home") << "N27" << int(Qt::Key_Home) << int(Qt::NoModifier);
        QTest::newRow("End") << "N28" << int(Qt::Key_End) << int(Qt::NoModifier);
        QTest::newRow("Ctrl+Z") << "N26" << int(Qt::Key_Z) << int(Qt::ControlModifier);
        QTest::newRow("F3") << "N29" << int(Qt::Key_F3) << int(Qt::NoModifier);
        QTest::newRow("F5") << "N22" << int(Qt::Key_F5) << int(Qt::NoModifier);
    }
    void hidden_items_keys_win_over_the_edit() {
        QFETCH(QString, item);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        auto *action = form->findChild<QAction *>(item);
        QVERIFY(action && !action->isVisible());
        int runs = 0;
        connect(action, &QAction::triggered, this, [&] { ++runs; });
        form->Edit1->setFocus();
        form->Edit1->setText("123");
        form->Edit1->setCursorPosition(1);
        QTest::keyClick(form->Edit1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(runs, 1);
        // The edit did not handle the key itself: no caret move, no undo.
        QCOMPARE(form->Edit1->cursorPosition(), 1);
        QCOMPARE(form->Edit1->text(), QStringLiteral("123"));
    }

    void a_key_carried_by_two_items_runs_once() {
        int popupRuns = 0, mainRuns = 0;
        connect(form->N18, &QAction::triggered, this, [&] { ++popupRuns; });
        connect(form->N17, &QAction::triggered, this, [&] { ++mainRuns; });
        // Without a calculator in the folder each run shows its notice once.
        const auto seen = closeModalsDuring([&] { QTest::keyClick(form->Edit2, Qt::Key_F4); });
        QCOMPARE(popupRuns + mainRuns, 1);
        QCOMPARE(popupRuns, 1);
        QCOMPARE(seen.size(), 1);
    }

    void right_button_on_the_surface_opens_the_popup_at_the_pointer() {
        QWidget *surface = form->centralWidget();
        const QPoint strip(355, 300); // between "Результат" and "Исходнные данные"
        QVERIFY(surface->childAt(strip) == nullptr);
        QTest::mouseClick(surface, Qt::LeftButton, {}, strip);
        QVERIFY(!form->PopupMenu1->isVisible());
        QTest::mouseClick(surface, Qt::RightButton, {}, strip);
        QTRY_VERIFY(form->PopupMenu1->isVisible());
        QCOMPARE(form->PopupMenu1->pos(), surface->mapToGlobal(strip));
        form->PopupMenu1->hide();
    }

    void context_menus_data() {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<bool>("programMenu");
        QTest::newRow("input edit") << "Edit1" << true;
        QTest::newRow("entry field") << "Edit55" << true;
        QTest::newRow("tolerance") << "Edit58" << true;
        QTest::newRow("keypad group label") << "Label52" << true;
        QTest::newRow("triangle button falls back to its group") << "SpeedButton38" << true;
        QTest::newRow("result edit") << "Edit6" << false;
        QTest::newRow("coefficient edit") << "Edit27" << false;
    }
    void context_menus() {
        QFETCH(QString, widget);
        QFETCH(bool, programMenu);
        auto *w = form->findChild<QWidget *>(widget);
        QVERIFY(w);
        QContextMenuEvent event(QContextMenuEvent::Mouse, w->rect().center(),
                                w->mapToGlobal(w->rect().center()));
        QApplication::sendEvent(w, &event);
        QMenu *shown = nullptr;
        QTRY_VERIFY((shown = visiblePopupMenu()) != nullptr);
        QCOMPARE(shown == form->PopupMenu1, programMenu);
        shown->hide();
    }

    void function_key_panel_opens_no_menu() {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                                form->SpeedButton34->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(form->SpeedButton34, &event);
        QTest::qWait(50);
        QCOMPARE(visiblePopupMenu(), nullptr);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
