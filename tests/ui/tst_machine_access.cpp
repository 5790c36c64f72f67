// The machine windows as keyboard and screen-reader users meet them, the
// export as a spreadsheet meets it, and the program as a file manager and a
// terminal start it: Tab never stays in a table, Escape closes, every
// control is named through QAccessible as assistive technology reads it,
// counts are announced, the CSV convention and the recent files outlive the
// run, and the command line opens what it names.
#include "main_window_fixture.h"
#include "settings/user_preferences.h"
#include "ui/machine/component_dialogs.h"
#include "ui/machine/machine_search_window.h"
#include "ui/machine/train_model.h"
#include "ui/machine/train_window.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableView>
#include <QtTest>

using namespace uitest;

namespace {

QAccessibleInterface *face(QObject *o) {
    return QAccessible::queryAccessibleInterface(o);
}

// Every control Tab can reach that a screen reader would read without a
// name, or by the value it shows (a combo box named "Гц").
QStringList unnamedControls(QWidget *window) {
    QStringList unnamed;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || !(w->focusPolicy() & Qt::TabFocus) ||
            w->focusProxy() != nullptr)
            continue;
        const QString name = face(w) ? face(w)->text(QAccessible::Name) : QString();
        const auto *box = qobject_cast<QComboBox *>(w);
        if (name.trimmed().isEmpty() || (box && name == box->currentText()))
            unnamed << QStringLiteral("%1 %2 «%3»")
                           .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(),
                                name);
    }
    return unnamed;
}

QString preferencesFile() {
    return settings::preferencesPath(
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

} // namespace

class MachineAccessTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

    void enterReducer() {
        calculate("13", "22,5", "35");
        form->SpeedButton31->click();
        calculate("8", "8,35714285714286", "42");
    }
    QWidget *openWindow(const QString &which) {
        QWidget *w = which == QLatin1String("table")
                         ? static_cast<QWidget *>(machine->trainWindow())
                         : static_cast<QWidget *>(machine->searchWindow());
        (which == QLatin1String("table") ? machine->tableAction : machine->searchAction)->trigger();
        return QTest::qWaitForWindowExposed(w) ? w : nullptr;
    }
    QList<QTableView *> tablesOf(QWidget *w) {
        if (auto *t = qobject_cast<TrainWindow *>(w))
            return {t->pairsView, t->shaftsView, t->stagesView};
        return {static_cast<MachineSearchWindow *>(w)->resultView};
    }
    QString path(const QString &name) const { return fixture->workDir.filePath(name); }
    // Opens `file` through "Открыть…", answering the file dialog.
    void openThroughDialog(const QString &file) {
        const auto seen =
            closeModalsDuring([&] { machine->openAction->trigger(); }, choosing(file));
        QVERIFY2(seen.size() == 1, describe(seen));
    }
    QStringList recentItems() const {
        QStringList items;
        for (QAction *a : machine->recentMenuAction->menu()->actions())
            items << a->text();
        return items;
    }

private slots:
    void init() { QVERIFY(startWithMachine()); }
    void cleanup() { stopMainWindow(); }

    void windows_data() {
        QTest::addColumn<QString>("which");
        QTest::newRow("table") << "table";
        QTest::newRow("search") << "search";
    }

    // From the first control, Tab reaches every table and comes back round:
    // no table keeps the focus, and Shift+Tab leaves each one too.
    void tab_passes_through_every_table_data() { windows_data(); }
    void tab_passes_through_every_table() {
        QFETCH(QString, which);
        enterReducer();
        QWidget *w = openWindow(which);
        QVERIFY(w);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QWidget *first = w->nextInFocusChain();
        while (!(first->focusPolicy() & Qt::TabFocus) || !first->isVisible())
            first = first->nextInFocusChain();
        first->setFocus(Qt::TabFocusReason);
        QSet<QWidget *> visited;
        QWidget *start = QApplication::focusWidget();
        QVERIFY(start);
        for (int step = 0; step < 60; ++step) {
            visited.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == start)
                break;
        }
        QCOMPARE(QApplication::focusWidget(), start); // round, not trapped
        for (QTableView *table : tablesOf(w)) {
            QVERIFY2(visited.contains(table), qPrintable(table->accessibleName()));
            table->setFocus(Qt::TabFocusReason);
            QTest::keyClick(table, Qt::Key_Tab);
            QVERIFY(QApplication::focusWidget() != table);
            table->setFocus(Qt::TabFocusReason);
            QTest::keyClick(table, Qt::Key_Tab, Qt::ShiftModifier);
            QVERIFY(QApplication::focusWidget() != table);
        }
    }

    void escape_closes_the_window_from_a_table_and_a_field_data() { windows_data(); }
    void escape_closes_the_window_from_a_table_and_a_field() {
        QFETCH(QString, which);
        enterReducer();
        for (int from = 0; from < 2; ++from) {
            QWidget *w = openWindow(which);
            QVERIFY(w);
            QWidget *target = from == 0 ? static_cast<QWidget *>(tablesOf(w).constFirst())
                                        : w->findChild<QLineEdit *>();
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Escape);
            QVERIFY(!w->isVisible());
            QVERIFY(form->isVisible());
        }
    }

    // The export and copy keys of the table window work from every field,
    // the text fields included, whose own editing keys (Ctrl+E: end of
    // line on X11) must not swallow them.
    void export_and_copy_keys_work_from_every_field_data() {
        QTest::addColumn<QString>("field");
        for (const char *name : {"nameEdit", "notesEdit", "speedEdit", "pairsView", "stagesView"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void export_and_copy_keys_work_from_every_field() {
        QFETCH(QString, field);
        calculate("8", "20", "42");
        auto *w = static_cast<TrainWindow *>(openWindow(QStringLiteral("table")));
        QVERIFY(w);
        QWidget *target = w->findChild<QWidget *>(field);
        QVERIFY(target);
        target->setFocus();
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY2(QGuiApplication::clipboard()->text().contains(QStringLiteral("5,25")),
                 qPrintable(QGuiApplication::clipboard()->text().left(200)));
        const auto seen =
            closeModalsDuring([&] { QTest::keyClick(target, Qt::Key_E, Qt::ControlModifier); },
                              [](QWidget *modal) { static_cast<QDialog *>(modal)->reject(); });
        QCOMPARE(seen.size(), 1);
        QVERIFY(seen[0].title.contains(QStringLiteral("Экспорт")));
    }

    // A dialog opened from a machine window gives the focus back to the
    // field it came from, not to the main window.
    void focus_returns_from_a_dialog_data() { windows_data(); }
    void focus_returns_from_a_dialog() {
        QFETCH(QString, which);
        calculate("8", "20", "42");
        QWidget *w = openWindow(which);
        QVERIFY(w);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QLineEdit *field = w->findChild<QLineEdit *>();
        field->setFocus();
        QWidget *parentSeen = nullptr;
        const auto seen =
            closeModalsDuring([&] { QTest::keyClick(field, Qt::Key_O, Qt::ControlModifier); },
                              [&](QWidget *modal) {
                                  parentSeen = modal->parentWidget();
                                  static_cast<QDialog *>(modal)->reject();
                              });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(parentSeen, w);
        // What the window manager activates again (this platform has none).
        QCOMPARE(w->focusWidget(), field);
    }

    // The dialogs that build the machine name every control as well.
    void component_dialogs_name_every_control() {
        enterReducer();
        machine::MountedBearing bearing;
        std::unique_ptr<QDialog> dialogs[] = {
            std::make_unique<PlanetaryDialog>(form.get(), machine::PlanetaryStage{20, 30, 80, 4},
                                              3),
            std::make_unique<BeltDialog>(form.get(), machine::BeltStage{}, 3),
            std::make_unique<BearingDialog>(
                form.get(), bearing, std::vector<BearingPlace>{{QStringLiteral("вал 1"), 1, -1}},
                std::vector<machine::Bearing>{}, QString())};
        for (const auto &d : dialogs) {
            d->show();
            QVERIFY(QTest::qWaitForWindowExposed(d.get()));
            const QStringList unnamed = unnamedControls(d.get());
            QVERIFY2(unnamed.isEmpty(), qPrintable(d->windowTitle() + QStringLiteral(": ") +
                                                   unnamed.join(QStringLiteral("; "))));
        }
    }

    void every_control_has_a_name_of_its_role_data() { windows_data(); }
    void every_control_has_a_name_of_its_role() {
        QFETCH(QString, which);
        enterReducer();
        QWidget *w = openWindow(which);
        QVERIFY(w);
        const QStringList unnamed = unnamedControls(w);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));
        QCOMPARE(face(w)->role(), QAccessible::Window);
        QCOMPARE(face(w)->text(QAccessible::Name), w->windowTitle());
        for (QTableView *table : tablesOf(w))
            QCOMPARE(face(table)->role(), QAccessible::Table);
    }

    void field_is_named_by_its_label_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("name");
        QTest::newRow("known speed") << "table"
                                     << "speedEdit"
                                     << "Известная скорость";
        QTest::newRow("pairs") << "table"
                               << "pairsView"
                               << "Пары зацепления";
        QTest::newRow("shafts") << "table"
                                << "shaftsView"
                                << "Валы";
        QTest::newRow("peak") << "search"
                              << "frequencyEdit"
                              << "Частота пика";
        QTest::newRow("unit") << "search"
                              << "unitBox"
                              << "Единица частоты";
        QTest::newRow("results") << "search"
                                 << "resultView"
                                 << "Найденные составляющие";
    }
    void field_is_named_by_its_label() {
        QFETCH(QString, which);
        QFETCH(QString, field);
        QWidget *w = openWindow(which);
        QVERIFY(w);
        QWidget *f = w->findChild<QWidget *>(field);
        QVERIFY2(f, qPrintable(field));
        QTEST(face(f)->text(QAccessible::Name), "name");
    }

    // The count of a search and a refused known speed reach a screen reader
    // with the control the user goes to next. (The events sent with them
    // need a running accessibility bus, which this platform has not.)
    void results_and_refusals_are_announced() {
        enterReducer();
        auto *search = static_cast<MachineSearchWindow *>(openWindow("search"));
        search->frequencyEdit->setText("292,5"); // Fz of pair 1
        search->search();
        const QString count = face(search->resultView)->text(QAccessible::Description);
        QVERIFY2(count.startsWith("Найдено строк: "), qPrintable(count));
        QCOMPARE(count, search->messageLabel->text());
        auto *table = static_cast<TrainWindow *>(openWindow("table"));
        table->speedEdit->setText("1e300");
        emit table->speedEdit->textEdited(table->speedEdit->text());
        const QString refusal = face(table->speedEdit)->text(QAccessible::Description);
        QVERIFY2(refusal.contains("не учтена: скорость больше 100000 Гц"), qPrintable(refusal));
        // The table keeps the speeds from Fr1 of pair 1.
        QCOMPARE(table->shaftsModel->index(0, machine::ColShaftFrequency).data().toString(),
                 QStringLiteral("22,5"));
    }

    void orders_offer_the_shafts_the_machine_has() {
        calculate("8", "20", "42");
        auto *table = static_cast<TrainWindow *>(openWindow("table"));
        QCOMPARE(table->ordersShaftBox->count(), 2);
        QCOMPARE(table->referenceShaftBox->count(), 2);
        form->SpeedButton31->click();
        calculate("13", "3,80952380952381", "35");
        QCOMPARE(table->ordersShaftBox->count(), 3);
        QCOMPARE(table->ordersShaftBox->itemText(2), QStringLiteral("вала 3"));
    }

    // The convention picked in the dialog writes the file and is the one the
    // next export offers, in this run and the next.
    void export_convention_is_chosen_and_remembered() {
        calculate("8", "20", "42");
        const QString file = path("table.csv");
        const QString international = QStringLiteral("CSV: запятая, десятичная точка (*.csv)");
        auto seen = closeModalsDuring([&] { machine->exportAction->trigger(); },
                                      [&](QWidget *modal) {
                                          auto *d = qobject_cast<QFileDialog *>(modal);
                                          QVERIFY(d);
                                          d->selectNameFilter(international);
                                          choosing(file)(modal);
                                      });
        QCOMPARE(seen.size(), 1);
        const QList<QByteArray> lines = fileBytes(file).split('\n');
        QVERIFY2(lines.size() > 7, fileBytes(file).constData());
        QVERIFY(lines[4].startsWith("Общее передаточное отношение (вал 1 / вал 2),5.25"));
        QVERIFY(lines[6].startsWith("Пара,Z1,Z2,i,\"Fr1, Гц\",\"Fr2, Гц\""));
        QVERIFY(lines[7].startsWith("1,8,42,5.25,20,3.80952380952381,160,"));
        QVERIFY(settings::readPreferences(preferencesFile()).internationalCsv);

        form.reset(createWindows());
        form->show();
        machine = machineController(form.get());
        QString offered;
        seen = closeModalsDuring([&] { machine->exportAction->trigger(); },
                                 [&](QWidget *modal) {
                                     offered =
                                         qobject_cast<QFileDialog *>(modal)->selectedNameFilter();
                                     static_cast<QDialog *>(modal)->reject();
                                 });
        QCOMPARE(offered, international);
    }

    void recent_files_are_kept_newest_first_and_forget_the_missing() {
        calculate("8", "20", "42");
        const QString first = path("pump.gearfreq"), second = path("fan & blower.gearfreq");
        QVERIFY(machine->saveTo(first));
        QVERIFY(machine->saveTo(second));
        const QString folder = QDir::toNativeSeparators(fixture->workDir.path());
        QCOMPARE(recentItems(), (QStringList{"&1 fan && blower.gearfreq — " + folder,
                                             "&2 pump.gearfreq — " + folder}));
        // The list outlives the run; choosing an entry opens it.
        form.reset(createWindows());
        form->show();
        machine = machineController(form.get());
        QCOMPARE(recentItems().size(), 2);
        QVERIFY(machine->recentMenuAction->isEnabled());
        machine->recentMenuAction->menu()->actions()[1]->trigger();
        QCOMPARE(machine->filePath(), first);
        QCOMPARE(recentItems().constFirst(), "&1 pump.gearfreq — " + folder);
        // A file gone since is said so and leaves the list.
        QVERIFY(QFile::remove(second));
        const auto seen =
            closeModalsDuring([&] { machine->recentMenuAction->menu()->actions()[1]->trigger(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(recentItems(), QStringList{"&1 pump.gearfreq — " + folder});
        QCOMPARE(settings::readPreferences(preferencesFile()).recentFiles, QStringList{first});
    }

    void command_line_is_read_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("help");
        QTest::addColumn<bool>("version");
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("error");
        // Relative names: to the folder the program was started in.
        const QString here = QStringLiteral("./");
        QTest::newRow("nothing") << QStringList{} << false << false << false << QStringList{}
                                 << false;
        QTest::newRow("a file, relative") << QStringList{"pump.gearfreq"} << false << false << false
                                          << QStringList{here + "pump.gearfreq"} << false;
        QTest::newRow("desktop start with a file")
            << QStringList{"--from-menu", "/m/a.json"} << false << false << true
            << QStringList{"/m/a.json"} << false;
        QTest::newRow("help") << QStringList{"--help"} << true << false << false << QStringList{}
                              << false;
        QTest::newRow("version, short")
            << QStringList{"-v"} << false << true << false << QStringList{} << false;
        QTest::newRow("Qt's own options pass")
            << QStringList{"-platform", "xcb", "-reverse", "x"} << false << false << false
            << QStringList{here + "x"} << false;
        QTest::newRow("a file that looks like an option")
            << QStringList{"--", "--help"} << false << false << false
            << QStringList{here + "--help"} << false;
        QTest::newRow("unknown option")
            << QStringList{"--bogus"} << false << false << false << QStringList{} << true;
    }
    void command_line_is_read() {
        QFETCH(QStringList, arguments);
        const StartOptions o = parseStartOptions(arguments);
        QTEST(o.help, "help");
        QTEST(o.version, "version");
        QTEST(o.fromMenu, "fromMenu");
        QFETCH(QStringList, files);
        for (QString &f : files)
            if (f.startsWith(QLatin1String("./")))
                f = QDir::currentPath() + f.mid(1);
        QCOMPARE(o.files, files);
        QTEST(!o.error.isEmpty(), "error");
    }

    void file_named_at_start_is_opened() {
        calculate("8", "20", "42");
        const QString file = path("start.gearfreq");
        QVERIFY(machine->saveTo(file));
        form.reset(createWindows());
        form->show();
        machine = machineController(form.get());
        QVERIFY(form->Edit3->text() != QStringLiteral("42"));
        openStartFiles(form.get(), parseStartOptions({file}).files);
        QCOMPARE(machine->filePath(), file);
        QCOMPARE(form->Edit3->text(), QStringLiteral("42"));
    }

    void desktop_start_works_in_the_user_folder() {
        const QString before = QDir::currentPath();
        QVERIFY(enterUserFolder());
        const QString now = QDir::currentPath();
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(now, QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                          .filePath("gearfreq"));
        QVERIFY(now.startsWith(fixture->workDir.path())); // the test's own XDG folders
    }
};

QTEST_MAIN(MachineAccessTest)
#include "tst_machine_access.moc"
