// The menus as the user meets them: every entry of the menu bar and of the
// popup menu, in order, with its key, mark, visibility and state, and the
// order in which a key press is offered to the items.
#include "main_window_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using namespace uitest;

namespace {
// One line per entry: indentation by depth, caption, then what sets it apart.
void describeEntries(const QList<QAction *> &actions, int depth, QStringList &lines) {
    for (QAction *a : actions) {
        QString line = QString(depth * 2, QLatin1Char(' '));
        if (a->isSeparator()) {
            lines << line + QStringLiteral("----");
            continue;
        }
        line += a->text();
        if (!a->shortcut().isEmpty())
            line += QStringLiteral(" [") + a->shortcut().toString() + QLatin1Char(']');
        if (a->isCheckable())
            line += a->isChecked() ? QStringLiteral(" (x)") : QStringLiteral(" ( )");
        // Qt counts a hidden entry as disabled too.
        if (!a->isVisible())
            line += QStringLiteral(" hidden");
        else if (!a->isEnabled())
            line += QStringLiteral(" disabled");
        lines << line;
        if (QMenu *sub = a->menu())
            describeEntries(sub->actions(), depth + 1, lines);
    }
}
} // namespace

class MenusTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startMainWindow()); }
    void cleanup() { stopMainWindow(); }

    void menu_bar_holds_every_entry_in_order() {
        QStringList lines;
        describeEntries(form->MainMenu1->actions(), 0, lines);
        const QStringList expected{
            "Файл",
            "  Калькулятор [F4]",
            "  ----",
            "  Выход [F12]",
            "Установки",
            "  Точность вычисления",
            "    0.00 ( )",
            "    0.000 ( )",
            "    0.0000 ( )",
            "    0.00000 ( )",
            "    не округлять (x)",
            "  меньшее колесо",
            "    Определять самостоятельно",
            "  Размер окна",
            "    Изменяемый ( )",
            "    Неизменяемый (x) disabled",
            "  Загрузка установок hidden",
            "  Сохранение установок hidden",
            "&Агрегат",
            "  Сводная &таблица [F9]",
            "  &Поиск по агрегату [F7]",
            "  Спект&р… [F11]",
            "  ----",
            "  &Открыть… [Ctrl+O]",
            "  &Сохранить [Ctrl+S]",
            "  Сохранить &как… [Ctrl+Shift+S]",
            "  Последние &файлы disabled",
            "  &Восстановить несохранённое disabled",
            "  ----",
            "  &Экспорт таблицы…",
            "  Копировать таб&лицу",
            "Справка",
            "  О программе",
        };
        QCOMPARE(lines, expected);
    }

    void popup_menu_holds_every_entry_in_order() {
        QStringList lines;
        describeEntries(form->PopupMenu1->actions(), 0, lines);
        const QStringList expected{
            "ВЫЧИСЛИТЬ [F1]",
            "Искать [F2]",
            "Калькулятор [F4]",
            "----",
            "Новый агрегат [F8]",
            "Зацепление",
            "  1 - пара hidden",
            "  2 - пара hidden",
            "  3 - пара hidden",
            "  4 - пара hidden",
            "  5 - пара hidden",
            "  6 - пара hidden",
            "  7 - пара hidden",
            "  8 - пара hidden",
            "  9 - пара hidden",
            "  Сохранение hidden",
            "----",
            "Выход",
            "Назад [F5] hidden",
            "Далее [F6] hidden",
            "Отмена [Ctrl+Z] hidden",
            "больше [Home] hidden",
            "меньше [End] hidden",
            "Варианты [F3] hidden",
        };
        QCOMPARE(lines, expected);
    }

    // Choosing a precision item sets its factor and marks that item alone.
    void precision_items_set_their_factors() {
        const QList<QAction *> items = form->N6->menu()->actions();
        const QList<std::int32_t> factors{100, 1000, 10000, 100000, 1};
        QCOMPARE(items.size(), factors.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            items[i]->trigger();
            QCOMPARE(form->PrecisionFactor, factors[i]);
            for (qsizetype j = 0; j < items.size(); ++j)
                QCOMPARE(items[j]->isChecked(), i == j);
        }
    }

    // F4 is both "Калькулятор" items' key: a press runs the popup menu's one
    // once, never both.
    void a_shared_key_runs_one_item() {
        int popupRuns = 0, fileRuns = 0;
        connect(form->N18, &QAction::triggered, this, [&] { ++popupRuns; });
        connect(form->N17, &QAction::triggered, this, [&] { ++fileRuns; });
        form->Edit1->setFocus();
        closeModalsDuring([&] { QTest::keyClick(form->Edit1, Qt::Key_F4); });
        QCOMPARE(popupRuns, 1);
        QCOMPARE(fileRuns, 0);
    }
};

QTEST_MAIN(MenusTest)
#include "tst_menus.moc"
