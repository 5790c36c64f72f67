// The keyboard user's ways: the list window and the About window answer
// Return, Escape and the main window's function keys; F10 opens the main
// menu, Shift+F10 and the Menu key the focused control's popup menu; one
// Escape closes a menu and the next keys typed go to the focused edit.
#include "main_window_fixture.h"
#include "ui/dialogs/Unit4.h"
#include "ui/dialogs/Unit5.h"
#include "ui/kit/line_memo.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

using namespace uitest;

namespace {

void closeMenus() {
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
}

// Keys as the user types them: to the window, which hands them to its focus
// (or to an open menu).
void typeInto(QWidget *window, const QString &text) {
    for (QChar c : text)
        QTest::keyClick(window->windowHandle(), c.toLatin1());
}

} // namespace

class KeyboardTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

    TForm4 *about_ = nullptr;
    TForm5 *variants_ = nullptr;

    // The list window or the About window, up and active.
    QWidget *bringUp(const QString &window) {
        if (window == QLatin1String("TForm5")) {
            variants_->bringUp(true);
            return variants_;
        }
        about_->bringUp();
        return about_;
    }

private slots:
    void init() {
        QVERIFY(startMainWindow());
        about_ = form->findChild<TForm4 *>("TForm4");
        variants_ = form->findChild<TForm5 *>("TForm5");
        QVERIFY(about_ && variants_);
    }
    void cleanup() {
        closeMenus();
        stopMainWindow();
    }

    void list_window_answers_return_and_escape_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::newRow("Return on Закрыть") << "Button1" << int(Qt::Key_Return);
        QTest::newRow("keypad Enter on Закрыть") << "Button1" << int(Qt::Key_Enter);
        QTest::newRow("Escape on Закрыть") << "Button1" << int(Qt::Key_Escape);
        QTest::newRow("Escape in a list") << "Memo3" << int(Qt::Key_Escape);
        QTest::newRow("Escape in a summary box") << "Edit2" << int(Qt::Key_Escape);
    }
    void list_window_answers_return_and_escape() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        variants_->bringUp(true);
        QTRY_VERIFY(variants_->isActiveWindow());
        auto *target = variants_->findChild<QWidget *>(focus);
        QVERIFY(target);
        target->setFocus();
        QTest::keyClick(variants_->windowHandle(), Qt::Key(key));
        QVERIFY2(variants_->isHidden(), "the list window stayed open");
        QVERIFY(form->isVisible());
    }

    void return_in_a_list_leaves_the_window_open() {
        variants_->bringUp(true);
        QTRY_VERIFY(variants_->isActiveWindow());
        variants_->Memo1->setFocus();
        QTest::keyClick(variants_->windowHandle(), Qt::Key_Return);
        QVERIFY(variants_->isVisible());
    }

    void about_window_return_presses_its_button() {
        about_->bringUp();
        QTRY_VERIFY(about_->isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), about_->Button1);
        QTest::keyClick(about_->windowHandle(), Qt::Key_Return);
        QVERIFY(about_->isHidden());
    }

    void function_keys_of_the_main_window_work_in_the_window_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("list window") << "TForm5";
        QTest::newRow("About") << "TForm4";
    }
    void function_keys_of_the_main_window_work_in_the_window() {
        QFETCH(QString, window);
        form->Edit1->setText("40");
        form->Edit2->setText("25");
        form->Edit3->setText("80");
        QWidget *up = bringUp(window);
        QTRY_VERIFY(up->isActiveWindow());
        const auto seen =
            closeModalsDuring([&] { QTest::keyClick(up->windowHandle(), Qt::Key_F1); });
        QVERIFY2(seen.isEmpty(), describe(seen));
        QCOMPARE(form->Edit6->text(), QStringLiteral("1000"));
        QVERIFY(form->SpeedButton31->isEnabled());

        // F6 moves on to pair 2, as "Далее >" does.
        QTest::keyClick(up->windowHandle(), Qt::Key_F6);
        QCOMPARE(form->Label45->text(), QStringLiteral("2"));

        // F12 ends the program: the main window closes, and the window with it.
        QTest::keyClick(up->windowHandle(), Qt::Key_F12);
        QVERIFY(!form->isVisible());
        QVERIFY(up->isHidden());
    }

    void f10_opens_the_main_menu() {
        form->Edit2->setFocus();
        QTest::keyClick(form->windowHandle(), Qt::Key_F10);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = activePopupMenu()) != nullptr);
        QCOMPARE(menu, form->N1->menu());
        QCOMPARE(form->MainMenu1->activeAction(), form->N1);
    }

    void popup_menu_by_keyboard_opens_at_the_focused_control_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("programMenu");
        const std::pair<const char *, std::pair<int, int>> keys[] = {
            {"Shift+F10", {Qt::Key_F10, Qt::ShiftModifier}}, {"Menu key", {Qt::Key_Menu, 0}}};
        for (const auto &[name, key] : keys) {
            QTest::addRow("%s in Z1", name) << key.first << key.second << "Edit1" << true;
            QTest::addRow("%s in the entry field", name)
                << key.first << key.second << "Edit55" << true;
            QTest::addRow("%s in a result box", name)
                << key.first << key.second << "Edit6" << false;
        }
    }
    void popup_menu_by_keyboard_opens_at_the_focused_control() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, focus);
        QFETCH(bool, programMenu);
        auto *control = form->findChild<QWidget *>(focus);
        QVERIFY(control);
        control->setFocus();
        QTest::keyClick(form->windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = activePopupMenu()) != nullptr);
        QCOMPARE(menu == form->PopupMenu1, programMenu);
        const QRect around(control->mapToGlobal(QPoint(0, 0)), control->size());
        QVERIFY2(around.contains(menu->pos()),
                 qPrintable(QStringLiteral("the menu opened at %1, %2")
                                .arg(menu->pos().x())
                                .arg(menu->pos().y())));
    }

    void escape_closes_a_menu_and_the_next_keys_go_to_the_edit_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("main menu opened by the mouse") << "mouse";
        QTest::newRow("main menu opened by F10") << "F10";
        QTest::newRow("popup menu opened by Shift+F10") << "Shift+F10";
    }
    void escape_closes_a_menu_and_the_next_keys_go_to_the_edit() {
        QFETCH(QString, how);
        form->Edit1->setFocus();
        if (how == QLatin1String("mouse"))
            QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {},
                              form->MainMenu1->mapTo(
                                  form.get(), form->MainMenu1->actionGeometry(form->N5).center()));
        else if (how == QLatin1String("F10"))
            QTest::keyClick(form->windowHandle(), Qt::Key_F10);
        else
            QTest::keyClick(form->windowHandle(), Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(activePopupMenu() != nullptr);

        QTest::keyClick(form->windowHandle(), Qt::Key_Escape);
        QTRY_VERIFY(activePopupMenu() == nullptr);
        QCOMPARE(QApplication::focusWidget(), form->Edit1);
        typeInto(form.get(), QStringLiteral("12"));
        QCOMPARE(form->Edit1->text(), QStringLiteral("12"));
    }
};

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
