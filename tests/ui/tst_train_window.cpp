// The menu "Агрегат" and the train window on the real main window: the
// menu's place, captions and keys, the table and its refresh after every
// calculation, move and new aggregate, units, the speed written back into
// the pairs, Ctrl+C, the machine file (good, every bad kind, the question
// before dropping changes, save -> open -> save, a failed save) and the
// export's exact bytes.
#include "machine/machine_file.h"
#include "main_window_fixture.h"
#include "ui/machine/machine_controller.h"
#include "ui/machine/train_model.h"
#include "ui/machine/train_window.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace uitest;
using machine::ColFr1;
using machine::ColFr2;
using machine::ColHtf;
using machine::ColNote;
using machine::ColZ1;

namespace {
void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}
} // namespace

class TrainWindowTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    // Pair 1 (13/35 at 22,5 Hz, 1350 rpm) and pair 2 (8/42) stored, pair 2 shown.
    void enterReducer() {
        enterPair("13", "22,5", "35");
        calculate();
        form->SpeedButton31->click();
        form->Edit1->setText("8");
        form->Edit3->setText("42");
        calculate();
        form->SpeedButton32->click(); // stores pair 2, shows pair 1
        const auto seen = closeModalsDuring([&] { form->SpeedButton31->click(); });
        QVERIFY2(seen.isEmpty(), describe(seen));
    }
    TrainWindow *openTable() {
        machine->tableAction->trigger();
        TrainWindow *w = machine->trainWindow();
        return w;
    }
    QString cell(int row, int column) const {
        TrainTableModel *m = machine->trainWindow()->pairsModel;
        return m->index(row, column).data().toString();
    }
    int rows() const { return machine->trainWindow()->pairsModel->rowCount(); }
    QStringList formState() const {
        QStringList s{form->Edit1->text(), form->Edit2->text(),   form->Edit3->text(),
                      form->Edit4->text(), form->Label45->text(), form->Edit16->text()};
        for (int k = 1; k <= 9; ++k) {
            const aggregate::GearPair &p = form->Aggregate.PairStore.load(k);
            s << p.z1 + "|" + p.fr1 + "|" + p.z2 + "|" + p.fm;
        }
        return s;
    }
    QString path(const QString &name) const { return fixture->workDir.filePath(name); }

private slots:
    void init() { QVERIFY(startWithMachine()); }
    void cleanup() { stopMainWindow(); }

    void menu_sits_between_settings_and_help() {
        QStringList titles;
        for (QAction *a : form->MainMenu1->actions())
            titles << a->text();
        // The specified menus keep their captions; the new one has a mnemonic.
        QCOMPARE(titles, (QStringList{"Файл", "Установки", "&Агрегат", "Справка"}));
    }

    void menu_items_have_their_captions_and_keys_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("key");
        QTest::newRow("table") << 0 << "Сводная &таблица" << QKeySequence(Qt::Key_F9);
        QTest::newRow("search") << 1 << "&Поиск по агрегату" << QKeySequence(Qt::Key_F7);
        QTest::newRow("spectrum") << 2 << "Спект&р…" << QKeySequence(Qt::Key_F11);
        QTest::newRow("open") << 3 << "&Открыть…" << QKeySequence(Qt::CTRL | Qt::Key_O);
        QTest::newRow("save") << 4 << "&Сохранить" << QKeySequence(Qt::CTRL | Qt::Key_S);
        QTest::newRow("save as") << 5 << "Сохранить &как…"
                                 << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QTest::newRow("recent") << 6 << "Последние &файлы" << QKeySequence();
        QTest::newRow("recover") << 7 << "&Восстановить несохранённое" << QKeySequence();
        QTest::newRow("export") << 8 << "&Экспорт таблицы…" << QKeySequence();
        QTest::newRow("copy") << 9 << "Копировать таб&лицу" << QKeySequence();
    }
    void menu_items_have_their_captions_and_keys() {
        QFETCH(int, index);
        QList<QAction *> items;
        for (QAction *a : machine->menu->actions())
            if (!a->isSeparator())
                items << a;
        QCOMPARE(items.size(), 10);
        QTEST(items[index]->text(), "caption");
        // Alt plus a letter reaches exactly one item.
        QSet<QChar> letters;
        for (const QAction *a : items) {
            const QString text = a->text();
            const qsizetype amp = text.indexOf(QLatin1Char('&'));
            QVERIFY2(amp >= 0, qPrintable(text));
            letters.insert(text.at(amp + 1).toLower());
        }
        QCOMPARE(letters.size(), items.size());
        QTEST(items[index]->shortcut(), "key");
    }

    void f9_in_an_input_field_opens_the_table() {
        enterPair("8", "20", "42");
        calculate();
        form->Edit1->setFocus();
        QTest::keyClick(form->Edit1, Qt::Key_F9);
        QVERIFY(machine->hasTrainWindow());
        TrainWindow *w = machine->trainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY(!w->isModal());
        QVERIFY(w->windowTitle().startsWith(TrainWindow::baseTitle()));
        QCOMPARE(cell(0, ColHtf), QStringLiteral("0,952380952380952"));
        // Sizeable: no fixed size.
        QVERIFY(w->maximumWidth() > 5000 && w->minimumWidth() < 600);
    }

    void keys_in_an_input_field_run_the_items_data() {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("dialogTitle"); // empty: no dialog
        QTest::newRow("F9") << QKeyCombination(Qt::Key_F9) << "";
        QTest::newRow("Ctrl+O") << QKeyCombination(Qt::CTRL | Qt::Key_O) << "Открыть агрегат";
        QTest::newRow("Ctrl+S without a file")
            << QKeyCombination(Qt::CTRL | Qt::Key_S) << "Сохранить агрегат";
        QTest::newRow("Ctrl+Shift+S")
            << QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_S) << "Сохранить агрегат";
    }
    void keys_in_an_input_field_run_the_items() {
        QFETCH(QKeyCombination, key);
        QFETCH(QString, dialogTitle);
        form->Edit2->setFocus();
        const auto seen = closeModalsDuring(
            [&] { QTest::keyClick(form->Edit2, key.key(), key.keyboardModifiers()); },
            [](QWidget *modal) { static_cast<QDialog *>(modal)->reject(); });
        if (dialogTitle.isEmpty()) {
            QVERIFY2(seen.isEmpty(), describe(seen));
            QVERIFY(machine->hasTrainWindow() && machine->trainWindow()->isVisible());
        } else {
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].objectName, QStringLiteral("machineFileDialog"));
            QCOMPARE(seen[0].title, dialogTitle);
        }
        // The field keeps its text: the key went to the menu, not into the edit.
        QCOMPARE(form->Edit2->text(), QStringLiteral("0"));
    }

    void ctrl_s_in_the_table_window_saves() {
        TrainWindow *w = openTable();
        QVERIFY(QTest::qWaitForWindowActive(w));
        const QString file = path("keys.json");
        const auto seen = closeModalsDuring(
            [&] { QTest::keyClick(w->nameEdit, Qt::Key_S, Qt::ControlModifier); }, choosing(file));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(machine->filePath(), file);
        QCOMPARE(fileBytes(file), machine::machineFileBytes(machine->state()));
    }

    void worked_example_as_the_table_shows_it() {
        // 13 / 35 teeth at 1350 rpm.
        enterPair("13", "22,5", "35");
        calculate();
        TrainWindow *w = openTable();
        w->unitBox->setCurrentIndex(1);
        QCOMPARE(w->pairsModel->headerData(machine::ColFz, Qt::Horizontal).toString(),
                 QStringLiteral("Fz, CPM"));
        QCOMPARE(cell(0, machine::ColFz), QStringLiteral("17550"));
        QCOMPARE(cell(0, ColFr2), QStringLiteral("501,428571428571"));
        QCOMPARE(cell(0, machine::ColNa), QStringLiteral("1"));
        QCOMPARE(cell(0, machine::ColHunting), QStringLiteral("да"));
        w->unitBox->setCurrentIndex(0);
        QCOMPARE(cell(0, ColHtf), QStringLiteral("0,642857142857143"));
        // Orders of shaft 2: the output shaft turns once per order.
        w->unitBox->setCurrentIndex(2);
        QVERIFY(w->ordersShaftBox->isEnabled());
        w->ordersShaftBox->setCurrentIndex(1);
        QCOMPARE(cell(0, ColFr2), QStringLiteral("1"));
        QCOMPARE(cell(0, machine::ColFz), QStringLiteral("35"));
    }

    void table_follows_calculation_moves_and_new_aggregate() {
        TrainWindow *w = openTable();
        QCOMPARE(rows(), 0);
        enterPair("13", "22,5", "35");
        calculate();
        QCOMPARE(rows(), 1);
        QCOMPARE(cell(0, ColNote), QStringLiteral("в полях ввода, не записана в цепь («Далее >»)"));
        form->SpeedButton31->click(); // the new pair is not calculated yet
        QCOMPARE(rows(), 1);
        QCOMPARE(cell(0, ColNote), QString());
        form->Edit1->setText("8");
        form->Edit3->setText("42");
        calculate();
        QCOMPARE(rows(), 2);
        QCOMPARE(cell(1, ColFr1), form->Edit21->text());
        QCOMPARE(cell(1, ColFr2), form->Edit16->text());
        const auto seen =
            closeModalsDuring([&] { form->SpeedButton33->click(); }, pressButton("Button1"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(rows(), 0);
        QCOMPARE(w->windowTitle(), TrainWindow::baseTitle());
    }

    void table_follows_the_precision_setting() {
        enterPair("8", "20", "42");
        calculate();
        openTable();
        QCOMPARE(cell(0, ColFr2), QStringLiteral("3,80952380952381"));
        // Rounded for showing, never below six significant digits.
        form->N0001->trigger();
        QCOMPARE(cell(0, ColFr2), QStringLiteral("3,80952"));
        QCOMPARE(cell(0, ColHtf), QStringLiteral("0,952381"));
    }

    void broken_chain_is_marked() {
        enterPair("13", "22,5", "35");
        calculate();
        form->SpeedButton31->click();
        enterPair("8", "8,4", "42"); // a tachometer reading instead of the chain's Fr1
        calculate();
        openTable();
        QVERIFY(
            cell(1, ColNote)
                .startsWith(QStringLiteral("цепь разорвана: по паре 1 Fr1 = 8,35714285714286 Гц")));
        TrainTableModel *m = machine->trainWindow()->pairsModel;
        QCOMPARE(m->index(1, ColNote).data(Qt::ForegroundRole).value<QColor>(), QColor(192, 0, 0));
    }

    void speed_at_the_output_is_written_back_into_the_pairs() {
        enterReducer(); // pair 2 shown, stored
        TrainWindow *w = openTable();
        w->referenceShaftBox->setCurrentIndex(2); // shaft 3, the output
        w->speedUnitBox->setCurrentIndex(1);
        w->speedEdit->setText("100");
        emit w->speedEdit->textEdited("100");
        QVERIFY(w->writeButton->isEnabled());
        QCOMPARE(cell(0, ColFr1), QStringLiteral("23,5576923076923"));
        // Only shown so far: the pairs are as they were.
        QCOMPARE(form->Aggregate.PairStore.load(1).fr1, QStringLiteral("22,5"));
        const auto seen = closeModalsDuring([&] { w->writeButton->click(); });
        QVERIFY2(seen.isEmpty(), describe(seen));
        QCOMPARE(form->Aggregate.PairStore.load(1).fr1, QStringLiteral("23,5576923076923"));
        QCOMPARE(form->Aggregate.PairStore.load(2).fr1, QStringLiteral("8,75"));
        // The pair shown is reloaded and calculated as a jump would do it.
        QCOMPARE(form->Edit2->text(), QStringLiteral("8,75"));
        QCOMPARE(form->Edit16->text(), QStringLiteral("1,66666666666667"));
        QCOMPARE(form->pair.pairCalculated(), 0);
        QCOMPARE(w->statusLabel->text(),
                 QStringLiteral("Скорости — от скорости вала 3 (100 об/мин); Fr1 в парах с ней "
                                "согласны."));
    }

    void ctrl_c_copies_the_selected_cells() {
        enterPair("8", "20", "42");
        calculate();
        TrainWindow *w = openTable();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->shaftsView->setFocus();
        w->shaftsView->selectAll();
        QTest::keyClick(w->shaftsView, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("1\t\t20\tвходной: колесо 1 пары 1\n"
                                "2\t\t3,80952380952381\tвыходной: колесо 2 пары 1\n"));
    }

    void copy_item_puts_the_whole_table_on_the_clipboard() {
        enterPair("8", "20", "42");
        calculate();
        machine->copyAction->trigger();
        const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
        QCOMPARE(lines[6].split('\t').size(), int(machine::kPairColumnCount));
        QVERIFY(lines[7].startsWith(QStringLiteral("1\t8\t42\t5,25\t20\t3,80952380952381\t160")));
    }

    void export_writes_the_exact_csv() {
        enterPair("8", "20", "42");
        calculate();
        form->SpeedButton31->click(); // pair 1 stored
        const QString file = path("table.csv");
        const auto seen =
            closeModalsDuring([&] { machine->exportAction->trigger(); }, choosing(file));
        QCOMPARE(seen.size(), 1);
        const QByteArray expected =
            "\xEF\xBB\xBF"
            "Агрегат;\r\n"
            "Примечания;\r\n"
            "Известная скорость;не задана\r\n"
            "Единицы;Гц\r\n"
            "Общее передаточное отношение (вал 1 / вал 2);\"5,25\"\r\n"
            "\r\n"
            "Пара;Z1;Z2;i;\"Fr1, Гц\";\"Fr2, Гц\";\"Fz, Гц\";Na;\"APF, Гц\";\"HTF, Гц\";"
            "\"Период HTF, с\";Охотящаяся;Примечание\r\n"
            "1;8;42;\"5,25\";20;\"3,80952380952381\";160;2;80;\"0,952380952380952\";\"1,05\";"
            "нет;\r\n"
            "\r\n"
            "Вал;Название;\"Частота вращения, Гц\";Расположение\r\n"
            "1;;20;входной: колесо 1 пары 1\r\n"
            "2;;\"3,80952380952381\";выходной: колесо 2 пары 1\r\n"
            "\r\n";
        QCOMPARE(fileBytes(file), expected);
    }

    void save_open_save_gives_the_same_bytes() {
        enterReducer();
        TrainWindow *w = openTable();
        w->nameEdit->setText("Редуктор Ц2У-250");
        emit w->nameEdit->textEdited(w->nameEdit->text());
        w->notesEdit->setPlainText("Вход — электродвигатель\nтахометр на выходе");
        const QString first = path("reducer.json"), second = path("again.json");
        QVERIFY(machine->saveTo(first));
        const QString folder = QDir::toNativeSeparators(fixture->workDir.path());
        QCOMPARE(w->windowTitle(), TrainWindow::baseTitle() + " — reducer.json (" + folder + ")");
        auto seen =
            closeModalsDuring([&] { form->SpeedButton33->click(); }, pressButton("Button1"));
        QCOMPARE(seen.size(), 1);
        QVERIFY(w->nameEdit->text().isEmpty());
        seen = closeModalsDuring([&] { machine->openAction->trigger(); }, choosing(first));
        QVERIFY2(seen.size() == 1, describe(seen)); // the file dialog only
        QCOMPARE(w->nameEdit->text(), QStringLiteral("Редуктор Ц2У-250"));
        QCOMPARE(form->Label45->text(), QStringLiteral("2"));
        QCOMPARE(form->Edit16->text(), QStringLiteral("1,59183673469388"));
        QVERIFY(form->SpeedButton32->isEnabled());
        QVERIFY(form->pairItems[1]->isVisible());
        QVERIFY(!machine->modified());
        QVERIFY(machine->saveTo(second));
        QCOMPARE(fileBytes(second), fileBytes(first));
        // An edit marks the title until the next save.
        w->nameEdit->setText("Редуктор 2");
        emit w->nameEdit->textEdited(w->nameEdit->text());
        QCOMPARE(w->windowTitle(), TrainWindow::baseTitle() + " — again.json (" + folder + ") *");
    }

    void bad_files_leave_the_aggregate_as_it_was_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("why");
        const QByteArray good = machine::machineFileBytes(machine::MachineState{});
        QTest::newRow("not JSON") << QByteArray("Z1=13") << "это не JSON (ошибка около байта 1)";
        QTest::newRow("another version")
            << QByteArray(good).replace("\"version\": 1", "\"version\": 7")
            << "файл другой версии формата (7), программа читает версии 1–2";
        QByteArray ten = "\"pairs\": [";
        for (int k = 0; k < 10; ++k)
            ten += QByteArray(k ? ", " : "") + R"({"Z1": "1", "Fr1": "1", "Z2": "2", "Fm": "0"})";
        QTest::newRow("ten pairs") << QByteArray(good).replace("\"pairs\": []", ten + "]")
                                   << "в файле 10 пар, а в агрегате их не больше 9";
        QTest::newRow("a text of 51 characters")
            << QByteArray(good).replace("\"Z1\": \"\"", "\"Z1\": \"" + QByteArray(51, '7') + "\"")
            << "inputs: текст поля \"Z1\" длиннее 50 символов";
        QTest::newRow("missing field")
            << QByteArray(good).replace("\"notes\": \"\",", "") << "нет поля \"notes\"";
        QTest::newRow("binary junk") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                     << "файл двоичный (в нём нулевые байты), а не текст";
        QTest::newRow("a file of 100 MB")
            << QByteArray() << "файл больше 1024 КБ, это не файл агрегата";
    }
    void bad_files_leave_the_aggregate_as_it_was() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        enterReducer();
        const QString file = path("bad.json");
        writeBytes(file, bytes);
        if (bytes.isEmpty()) {
            QFile f(file);
            QVERIFY(f.resize(100LL * 1024 * 1024)); // sparse
        }
        const QStringList before = formState();
        const bool modifiedBefore = machine->modified();
        const auto seen = closeModalsDuring([&] { machine->openFile(file); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].texts.value(0),
                 QStringLiteral("Файл агрегата «bad.json» не открыт: %1.").arg(why));
        QCOMPARE(formState(), before);
        QCOMPARE(machine->modified(), modifiedBefore);
        QVERIFY(machine->filePath().isEmpty());
    }

    void opening_over_unsaved_changes_asks_first_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("opened");
        QTest::newRow("Отмена keeps the aggregate") << "cancelButton" << false;
        QTest::newRow("Открыть drops it") << "openButton" << true;
    }
    void opening_over_unsaved_changes_asks_first() {
        QFETCH(QString, answer);
        QFETCH(bool, opened);
        const QString file = path("empty.json");
        writeBytes(file, machine::machineFileBytes(machine::MachineState{}));
        enterPair("8", "20", "42");
        calculate();
        QVERIFY(machine->modified());
        const QStringList before = formState();
        const auto seen =
            closeModalsDuring([&] { machine->openAction->trigger(); }, choosing(file, answer));
        QCOMPARE(seen.value(0).objectName, QStringLiteral("machineConfirmOpen"));
        QCOMPARE(seen.size(), opened ? 2 : 1);
        QCOMPARE(formState() == before, !opened);
        QCOMPARE(machine->filePath(), opened ? file : QString());
    }

    void saved_aggregate_opens_without_a_question() {
        const QString file = path("plain.json");
        QVERIFY(machine->saveTo(file));
        const auto seen =
            closeModalsDuring([&] { machine->openAction->trigger(); }, choosing(file));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, QStringLiteral("machineFileDialog"));
        QCOMPARE(machine->filePath(), file);
    }

    void failed_save_keeps_the_previous_file_and_says_why() {
        enterPair("8", "20", "42");
        calculate();
        const QString file = path("kept.json");
        QVERIFY(machine->saveTo(file));
        const QByteArray previous = fileBytes(file);
        TrainWindow *w = openTable();
        w->notesEdit->setPlainText(QString(4000, QChar(u'ж'))); // 8000 bytes
        // No file may grow past 4 KB now: the new content cannot be written.
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit small = old;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        bool saved = true;
        const auto seen = closeModalsDuring([&] { saved = machine->saveTo(file); });
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!saved);
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].texts.value(0).contains(QStringLiteral("«") + file) ||
                     seen[0].texts.value(0).contains(QStringLiteral("kept.json")),
                 qPrintable(seen[0].texts.join('|')));
        QCOMPARE(fileBytes(file), previous);
        // No temporary file is left beside it (the settings file may be there).
        QStringList files = QDir(fixture->workDir.path()).entryList(QDir::Files | QDir::Hidden);
        files.removeAll(QStringLiteral("VeviVerezoz.bmp"));
        QCOMPARE(files, QStringList{"kept.json"});
        QVERIFY(machine->modified());
    }

    void closing_the_main_window_asks_nothing_and_hides_the_table() {
        enterPair("8", "20", "42");
        calculate();
        TrainWindow *w = openTable();
        QVERIFY(machine->modified());
        const auto seen = closeModalsDuring([&] { form->N2->trigger(); });
        QVERIFY2(seen.isEmpty(), describe(seen));
        QVERIFY(!form->isVisible());
        QVERIFY(!w->isVisible());
    }
};

QTEST_MAIN(TrainWindowTest)
#include "tst_train_window.moc"
