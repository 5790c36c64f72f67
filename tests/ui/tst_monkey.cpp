// A seeded monkey run over the real main window: random clicks of its
// buttons, menu items, keys (Return, Escape, Tab and the arrows too), right
// clicks, typing and pasting (texts up to an edit's 32 767 characters and
// characters outside the Basic Multilingual Plane), the lists of the
// variants window (scrolling, selecting, copying), resizing in the sizeable
// mode and the external calculator, present or not; each action is followed
// by a check of the window's invariants. Notices are answered by their button
// or by Return, Space, Escape or Tab and Return. The aggregate is followed by
// a model the test keeps itself from the actions it performs and what it sees
// before and after them, so the pair items, the store and the moves are
// compared with an expectation rather than with the window's own bookkeeping.
//
//   MONKEY_SEED      seed of the run (printed at the start and on failure)
//   MONKEY_ACTIONS   number of random actions (default 3000)
//
// A failure names the seed, the action number and the last actions; the same
// seed and count replay the same run.
#include "calc/rows.h"
#include "main_window_fixture.h"
#include "monkey_support.h"
#include "ui/dialogs/Unit4.h"
#include "ui/dialogs/Unit5.h"
#include "ui/dialogs/Unit7.h"
#include "ui/kit/line_memo.h"
#include "ui/main/entry_widgets.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindow>
#include <QtTest>

#include <array>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <utility>

using namespace uitest;
using monkey::CalculatorFile;

namespace {

constexpr quint32 kDefaultSeed = 20240917;
constexpr int kDefaultActions = 3000;
constexpr qint64 kAnswerLimitMs = 2000;
constexpr int kLogLength = 20;
constexpr int kPairs = 9;
constexpr int kStoredLength = 50; // the store keeps the first 50 characters of a text
// A hung action is reported from a second thread, since the run itself
// cannot return from it.
constexpr auto kHangLimit = std::chrono::seconds(30);

// The four inputs of a pair as the window shows them and the store keeps them.
struct PairTexts {
    QString z1, fr1, z2, fm;
    bool operator==(const PairTexts &) const = default;

    PairTexts stored() const {
        return {z1.left(kStoredLength), fr1.left(kStoredLength), z2.left(kStoredLength),
                fm.left(kStoredLength)};
    }
    // A calculation first puts "0" into an empty Fm field.
    PairTexts calculated() const {
        PairTexts p = *this;
        if (p.fm.isEmpty())
            p.fm = QStringLiteral("0");
        return p;
    }
    // A long text shows its start and its length.
    static QString shortened(const QString &text) {
        return text.size() <= 60
                   ? text
                   : QStringLiteral("%1…(%2 characters)").arg(text.left(50)).arg(text.size());
    }
    QString describe() const {
        return QStringLiteral("[%1|%2|%3|%4]")
            .arg(shortened(z1), shortened(fr1), shortened(z2), shortened(fm));
    }
};

// What the aggregate should be, followed from the moves the run makes.
struct AggregateModel {
    std::array<PairTexts, kPairs> slotTexts{};
    std::array<bool, kPairs> written{}; // slot written since the last new aggregate
    int current = 1;
    bool calculated = false; // the pair shown was calculated since it was loaded or created
    bool next = false;
    bool back = false;

    bool occupied(int k) const { return !slotTexts[std::size_t(k - 1)].z2.isEmpty(); }
    void store(int k, const PairTexts &shown) {
        slotTexts[std::size_t(k - 1)] = shown.stored();
        written[std::size_t(k - 1)] = true;
    }
    const PairTexts &slot(int k) const { return slotTexts[std::size_t(k - 1)]; }
    // A calculation that ran: on success the pair counts as calculated and
    // Next comes on while slot 8 is free; a failed one changes neither.
    void calculationRan(bool succeeded) {
        if (!succeeded)
            return;
        calculated = true;
        if (!occupied(8))
            next = true;
    }
    void reset() {
        slotTexts = {};
        written = {};
        current = 1;
        next = false;
        back = false;
    }
};

enum class Command { Other, Calculate, Next, Back, Jump, NewAggregate, Precision, Calculator };
constexpr std::size_t kCommandCount = 8;

struct Action {
    QString text;
    QString kind; // what sort of action, for the summary
    Command command = Command::Other;
    int argument = 0; // the pair of a jump, the factor of a precision item
    std::function<void()> run;
    // The action's own checks, once its modal windows are closed.
    std::function<void(const QList<ModalSeen> &)> verify;
    bool bareSurfaceRightClick = false;
};

// Closes the popup menu that an action opens and waits in, choosing one of
// its items by the keyboard or none (Escape).
void answerPopupSoon(const QString &itemText, const std::shared_ptr<QString> &chosen) {
    QTimer::singleShot(0, [itemText, chosen] {
        QMenu *menu = activePopupMenu();
        if (!menu)
            return;
        QAction *item = nullptr;
        for (QAction *a : menu->actions())
            if (a->text() == itemText && a->isEnabled())
                item = a;
        if (item) {
            menu->setActiveAction(item);
            QTest::keyClick(menu, Qt::Key_Return);
            *chosen = itemText;
        } else {
            QTest::keyClick(menu, Qt::Key_Escape);
            *chosen = QStringLiteral("Escape");
        }
    });
}

bool showsBadNumber(const QString &text) {
    return text.contains(QLatin1Char('.')) ||
           text.contains(QLatin1String("inf"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("nan"), Qt::CaseInsensitive);
}

// The lists of the variants window; a list tells when its text changed, so
// an unchanged one is not read again.
using Memo = std::remove_pointer_t<decltype(TForm5::Memo1)>;
template <typename List> int memoRevision(const List *memo) {
    if constexpr (requires { memo->revision(); })
        return memo->revision();
    else
        return memo->document()->revision();
}

// The program's own windows carry their names; a standard message box has none.
QString modalName(const ModalSeen &seen) {
    return seen.objectName.isEmpty() ? QStringLiteral("message box") : seen.objectName;
}

QString yesNo(bool b) {
    return b ? QStringLiteral("on") : QStringLiteral("off");
}

} // namespace

class MonkeyTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    TForm4 *about = nullptr;
    TForm5 *variants = nullptr;

    quint32 seed = kDefaultSeed;
    std::mt19937 rng;
    AggregateModel model;
    std::int32_t precision = 1;
    int form7Answer = 0; // 1 "Продолжить", 2 "Отмена", 0 not shown
    std::deque<QString> log;
    QString failure;
    int actionNumber = 0;
    std::array<int, 11> memoRevisions{};
    qint64 slowestMs = 0;
    QString slowestAction;
    // What the run got to do, for the summary.
    QMap<QString, int> modalCounts;
    QSet<QString> messageTexts; // a few of the standard message boxes' texts
    std::array<int, kCommandCount> commandCounts{};
    QMap<QString, int> kindCounts;
    QMap<QString, qint64> kindMs;
    QMap<QString, int> answerCounts; // how the modal windows were answered
    QStringList stepAnswers;         // the same, for the log of the current action
    std::array<int, 11> listRevisions{};
    int loneSurrogates = 0; // inputs that a move brought back with half a character
    QString firstLoneSurrogate;

    // The stand-in calculator and how often it must have started.
    CalculatorFile calculatorFile = CalculatorFile::Missing;
    int expectedLaunches = 0;
    QMap<QString, int> calculatorCommands; // by the state of the file

    // What the window size and the regions' places must stay.
    QSize fixedSize;
    std::array<QRect, 4> regionPlaces{};
    // The titles of the variants window count the lines of their lists; an
    // abandoned search leaves the old titles over new lines.
    bool listsComplete = true;
    int deepestPair = 1;
    int quietCalculations = 0;

    // --- random choices
    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool chance(int percent) { return uniform(0, 99) < percent; }
    template <typename T> T pick(const QList<T> &items) {
        return items.at(uniform(0, int(items.size()) - 1));
    }

    QString digits(int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + uniform(0, 9));
        return s;
    }
    QString plausibleNumber() {
        switch (uniform(0, 5)) {
        case 0:
            return QString::number(uniform(1, 150));
        case 1:
            return QString::number(uniform(1, 3000));
        case 2:
            return QString::number(uniform(0, 99)) + QLatin1Char(',') + digits(uniform(1, 3));
        case 3:
            return QString::number(uniform(1, 60));
        case 4:
            return QStringLiteral("0,") + digits(uniform(1, 4));
        default:
            return QString::number(uniform(5, 500));
        }
    }
    QString fragment() {
        static const QStringList odd = {
            "1e308", "1e-320", "00",         "0,0",         "0",          "",
            " ",     "  ",     ",",          ".",           "-",          "+",
            "e",     "E",      "1.5",        "12.5",        "-5",         "+5",
            "1e3",   "2E-2",   "1,5e+10",    "-0",          "0,00000001", "99999999999999999999",
            "1e-5",  "0.0",    ",5",         "5,",          "1,,2",       "1.2.3",
            "--1",   "e5",     "абв",        "Ж",           "4о",         "пара",
            "ёЁ",    " 5",     "5 ",         "1 2",         "4,5е2",      "inf",
            "nan",   "-1e308", "2147483648", "-2147483649", "0x10"};
        // Digits only to Unicode (Arabic-Indic three, fullwidth five) and
        // characters outside the Basic Multilingual Plane.
        static const QStringList foreign = {QStringLiteral(u"\u0663"), QStringLiteral(u"\uFF15"),
                                            QStringLiteral(u"\U0001F600"),
                                            QStringLiteral(u"1\U0001F600"),
                                            QStringLiteral(u"\U00010348"
                                                           "5")};
        switch (uniform(0, 6)) {
        case 0:
        case 1:
            return plausibleNumber();
        case 2:
            return digits(uniform(1, 20));
        default:
            return chance(10) ? pick(foreign) : odd.at(uniform(0, int(odd.size()) - 1));
        }
    }
    QString randomText() {
        switch (uniform(0, 9)) {
        case 0: { // a long text
            QString s;
            const QString piece = chance(50) ? digits(10) : fragment() + QLatin1Char('7');
            while (s.size() < 60)
                s += piece.isEmpty() ? QStringLiteral("1") : piece;
            return monkey::wholeLeft(s, 60);
        }
        case 1:
        case 2: { // a mixture
            QString s;
            for (int i = uniform(2, 4); i > 0; --i)
                s += fragment();
            return s;
        }
        case 3:
        case 4:
        case 5:
            return plausibleNumber();
        default:
            return fragment();
        }
    }
    // Longer than the 50 characters a calculation reads, up to all that an
    // edit holds; now and then a character outside the Basic Multilingual
    // Plane lies across the 50th character.
    QString longText(int room) {
        static const int lengths[] = {51, 64, 100, 1000, 5000, 32766, 32767};
        const int n = std::min(room, chance(60) ? uniform(51, 400)
                                                : lengths[uniform(0, int(std::size(lengths)) - 1)]);
        QString s;
        switch (uniform(0, 4)) {
        case 0:
            s = digits(n);
            break;
        case 1:
            s = QString::number(uniform(1, 99)) + QLatin1Char(',') + digits(n);
            break;
        case 2:
            s = digits(uniform(48, 50)) + pick(monkey::outsideBmp()) + digits(n);
            break;
        default: {
            const QString piece = chance(30) ? pick(monkey::outsideBmp()) : fragment();
            while (s.size() < n)
                s += piece.isEmpty() ? QStringLiteral("7") : piece;
            break;
        }
        }
        return monkey::wholeLeft(s, n);
    }
    QString outsideBmpText() {
        const QString c = pick(monkey::outsideBmp());
        switch (uniform(0, 5)) {
        case 0:
            return c;
        case 1:
            return plausibleNumber() + c;
        case 2:
            return c + plausibleNumber();
        case 3:
            return QString::number(uniform(1, 9)) + QLatin1Char(',') + c + digits(2);
        case 4:
            return c.repeated(uniform(2, 30));
        default:
            return digits(49) + c;
        }
    }

    // --- what the window shows
    PairTexts shownPair() const {
        return {form->Edit1->text(), form->Edit2->text(), form->Edit3->text(), form->Edit4->text()};
    }
    static PairTexts storedPair(const aggregate::GearPair &p) { return {p.z1, p.fr1, p.z2, p.fm}; }
    QString itemsText() const {
        QString s;
        for (int k = 0; k < kPairs; ++k)
            if (form->pairItems[std::size_t(k)]->isVisible())
                s += QString::number(k + 1);
        return s.isEmpty() ? QStringLiteral("-") : s;
    }
    QString stateText() const {
        return QStringLiteral("pair %1, next %2, back %3, items %4, inputs %5")
            .arg(form->Label45->text(), yesNo(form->SpeedButton31->isEnabled()),
                 yesNo(form->SpeedButton32->isEnabled()), itemsText(), shownPair().describe());
    }
    // The main window's own widgets: the secondary windows are its children too.
    template <typename W> QList<W *> mainWidgets() const {
        QList<W *> own;
        for (W *w : form->findChildren<W *>())
            if (w->window() == form.get())
                own << w;
        return own;
    }
    // The main window's edits, found once: it never makes new ones.
    QList<QLineEdit *> ownEdits;
    const QList<QLineEdit *> &mainEdits() const { return ownEdits; }
    QList<QLineEdit *> visibleEdits() const {
        QList<QLineEdit *> edits;
        for (QLineEdit *e : mainEdits())
            if (e->isVisible())
                edits << e;
        return edits;
    }

    // --- the actions
    static Command buttonCommand(TForm1 *f, QToolButton *b) {
        if (b == f->SpeedButton1 || b == f->SpeedButton34 || b == f->SpeedButton3 ||
            b == f->SpeedButton4 || b == f->SpeedButton5 || b == f->SpeedButton6)
            return Command::Calculate;
        if (b == f->SpeedButton31 || b == f->SpeedButton40)
            return Command::Next;
        if (b == f->SpeedButton32 || b == f->SpeedButton37)
            return Command::Back;
        if (b == f->SpeedButton33 || b == f->SpeedButton42)
            return Command::NewAggregate;
        if (b == f->SpeedButton36)
            return Command::Calculator;
        return Command::Other;
    }

    Action clickAction() {
        QList<QToolButton *> usable, moves;
        const QList<QToolButton *> favoured = {
            form->SpeedButton1,  form->SpeedButton34, form->SpeedButton31, form->SpeedButton40,
            form->SpeedButton32, form->SpeedButton37, form->SpeedButton3,  form->SpeedButton4,
            form->SpeedButton5,  form->SpeedButton6,  form->SpeedButton14};
        for (QToolButton *b : mainWidgets<QToolButton>()) {
            // "F12-выход" ends the run; it is one of the closing routes at the end.
            if (b == form->SpeedButton41 || !b->isVisible() || !b->isEnabled())
                continue;
            usable << b;
            if (favoured.contains(b))
                moves << b;
        }
        QToolButton *b = (!moves.isEmpty() && chance(45)) ? pick(moves) : pick(usable);
        Action a;
        a.kind = QStringLiteral("click");
        a.text = QStringLiteral("click ") + (b->objectName().isEmpty()
                                                 ? b->parentWidget()->objectName() + "/button"
                                                 : b->objectName());
        a.command = buttonCommand(form.get(), b);
        a.run = [b] { b->click(); };
        return a;
    }

    void collectItems(QMenu *menu, QList<QAction *> &out) const {
        for (QAction *a : menu->actions()) {
            if (a->isSeparator() || !a->isVisible() || !a->isEnabled())
                continue;
            if (a->menu()) {
                collectItems(a->menu(), out);
                continue;
            }
            // The exit items end the run; they close it at the end.
            if (a != form->N2 && a != form->N10)
                out << a;
        }
    }

    Action itemAction(QAction *item) {
        Action a;
        a.kind = QStringLiteral("menu item");
        a.text = QStringLiteral("trigger ") + item->objectName();
        a.run = [item] { item->trigger(); };
        const auto pairIndex = std::find(form->pairItems.begin(), form->pairItems.end(), item);
        const std::pair<QAction *, std::int32_t> precisionItems[] = {{form->N0001, 100},
                                                                     {form->N00001, 1000},
                                                                     {form->N000001, 10000},
                                                                     {form->N0000001, 100000},
                                                                     {form->N32, 1}};
        if (item == form->N8) {
            a.command = Command::Calculate;
        } else if (item == form->N11) {
            a.command = Command::NewAggregate;
        } else if (item == form->N17 || item == form->N18) {
            a.command = Command::Calculator;
        } else if (item == form->N23) {
            a.command = form->SpeedButton31->isEnabled() ? Command::Next : Command::Other;
        } else if (item == form->N22) {
            a.command = form->SpeedButton32->isEnabled() ? Command::Back : Command::Other;
        } else if (pairIndex != form->pairItems.end()) {
            a.command = Command::Jump;
            a.argument = int(pairIndex - form->pairItems.begin()) + 1;
        } else {
            for (const auto &[action, factor] : precisionItems)
                if (item == action) {
                    a.command = Command::Precision;
                    a.argument = factor;
                }
        }
        return a;
    }

    Action menuAction() {
        QList<QAction *> items;
        // The menu "Агрегат" asks for files and replaces the whole aggregate,
        // which the model of this run does not follow; tst_train_window
        // drives it.
        for (QAction *top : form->MainMenu1->actions())
            if (top->menu() && top->isVisible() && top->isEnabled() &&
                top->objectName() != QLatin1String("MachineMenuItem"))
                collectItems(top->menu(), items);
        collectItems(form->PopupMenu1, items);
        QList<QAction *> pairs;
        for (QAction *a : form->pairItems)
            if (a->isVisible() && a->isEnabled())
                pairs << a;
        return itemAction(!pairs.isEmpty() && chance(35) ? pick(pairs) : pick(items));
    }

    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char *name;
    };

    QWidget *keyTarget() {
        if (variants->isVisible() && chance(15)) {
            QList<QWidget *> widgets = {variants->Button1};
            for (LineMemo *memo : memos())
                widgets << memo;
            return pick(widgets);
        }
        if (about->isVisible() && chance(5))
            return about->Button1;
        QWidget *target = nullptr;
        if (chance(50)) {
            target = QApplication::focusWidget();
            if (!target || !target->isVisible())
                target = form->focusWidget();
            if (!target || !target->isVisible())
                target = form.get();
        } else {
            target = pick(visibleEdits());
        }
        return target;
    }

    // A key goes to the active window; a person clicks another window first.
    static void pressKey(QWidget *target, const Key &k) {
        if (!target->window()->isActiveWindow()) {
            target->window()->activateWindow();
            QCoreApplication::processEvents();
        }
        QTest::keyClick(target, k.key, k.modifiers);
    }

    Action keyAction() {
        static const Key commandKeys[] = {
            {Qt::Key_F1, Qt::NoModifier, "F1"},   {Qt::Key_F2, Qt::NoModifier, "F2"},
            {Qt::Key_F3, Qt::NoModifier, "F3"},   {Qt::Key_F4, Qt::NoModifier, "F4"},
            {Qt::Key_F5, Qt::NoModifier, "F5"},   {Qt::Key_F6, Qt::NoModifier, "F6"},
            {Qt::Key_F7, Qt::NoModifier, "F7"},   {Qt::Key_F8, Qt::NoModifier, "F8"},
            {Qt::Key_F9, Qt::NoModifier, "F9"},   {Qt::Key_F10, Qt::NoModifier, "F10"},
            {Qt::Key_F11, Qt::NoModifier, "F11"}, {Qt::Key_Home, Qt::NoModifier, "Home"},
            {Qt::Key_End, Qt::NoModifier, "End"}, {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
        };
        static const Key movingKeys[] = {
            {Qt::Key_Return, Qt::NoModifier, "Return"},
            {Qt::Key_Enter, Qt::KeypadModifier, "Enter"},
            {Qt::Key_Escape, Qt::NoModifier, "Escape"},
            {Qt::Key_Tab, Qt::NoModifier, "Tab"},
            {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab"},
            {Qt::Key_Up, Qt::NoModifier, "Up"},
            {Qt::Key_Down, Qt::NoModifier, "Down"},
            {Qt::Key_Left, Qt::NoModifier, "Left"},
            {Qt::Key_Right, Qt::NoModifier, "Right"},
        };
        const bool moving = chance(40);
        const Key &k = moving ? movingKeys[uniform(0, int(std::size(movingKeys)) - 1)]
                              : commandKeys[uniform(0, int(std::size(commandKeys)) - 1)];
        QWidget *target = keyTarget();
        Action a;
        a.kind = QStringLiteral("key ") + QLatin1String(k.name);
        a.text =
            QStringLiteral("key %1 to %2/%3")
                .arg(QLatin1String(k.name), target->window()->objectName(), target->objectName());
        a.run = [target, k] { pressKey(target, k); };
        // The function keys reach the commands from the main window and from
        // the list and About windows alike; the moving keys are the main
        // window's own.
        const QWidget *window = target->window();
        if (window == form.get() || window == variants || window == about) {
            if (k.key == Qt::Key_F1)
                a.command = Command::Calculate;
            else if (k.key == Qt::Key_F4)
                a.command = Command::Calculator;
            else if (k.key == Qt::Key_F5 && form->SpeedButton32->isEnabled())
                a.command = Command::Back;
            else if (k.key == Qt::Key_F6 && form->SpeedButton31->isEnabled())
                a.command = Command::Next;
            else if (k.key == Qt::Key_F8)
                a.command = Command::NewAggregate;
            if (moving && window == form.get())
                a.verify = movingKeyCheck(k, target);
        }
        return a;
    }

    // The keyboard order of the main window, which Tab and Shift+Tab follow.
    QList<QWidget *> tabChain() const {
        return {form->Edit1,  form->Edit2,  form->Edit3,  form->Edit4, form->Edit55,
                form->Edit58, form->Edit59, form->Edit60, form->Edit61};
    }
    QWidget *tabNeighbour(QWidget *from, bool forward) const {
        const QList<QWidget *> chain = tabChain();
        const qsizetype at = chain.indexOf(from);
        if (at < 0)
            return nullptr;
        for (qsizetype i = 1; i <= chain.size(); ++i) {
            QWidget *w = chain.at((at + (forward ? i : chain.size() - i)) % chain.size());
            if (w->isVisible() && w->isEnabled())
                return w;
        }
        return nullptr;
    }

    // Return, Escape, Tab and the arrows in the main window run no command
    // and change no text; Tab and Shift+Tab follow the keyboard order.
    std::function<void(const QList<ModalSeen> &)> movingKeyCheck(const Key &k, QWidget *target) {
        QList<std::pair<QLineEdit *, QString>> texts;
        for (QLineEdit *e : mainEdits())
            texts.append({e, e->text()});
        QWidget *focus = form->focusWidget();
        QWidget *next = nullptr;
        if (target == focus && (k.key == Qt::Key_Tab || k.key == Qt::Key_Backtab))
            next = tabNeighbour(focus, k.key == Qt::Key_Tab);
        const QString name = QLatin1String(k.name);
        const bool vertical = k.key == Qt::Key_Up || k.key == Qt::Key_Down;
        return [this, texts, focus, next, name, vertical](const QList<ModalSeen> &seen) {
            check(seen.isEmpty(),
                  [&] { return QStringLiteral("%1 brought up %2").arg(name, describe(seen)); });
            for (const auto &[edit, text] : texts) {
                // An up-down spinner may step its edit by the arrow keys.
                if (vertical && edit == form->Edit61)
                    continue;
                check(edit->text() == text, [&] {
                    return QStringLiteral("%1 changed %2 from \"%3\" to \"%4\"")
                        .arg(name, edit->objectName(), text.left(60), edit->text().left(60));
                });
            }
            if (next)
                check(form->focusWidget() == next, [&] {
                    return QStringLiteral("%1 from %2 went to %3, the keyboard order says %4")
                        .arg(name, focus->objectName(),
                             form->focusWidget() ? form->focusWidget()->objectName()
                                                 : QStringLiteral("nothing"),
                             next->objectName());
                });
        };
    }

    Action rightClickAction() {
        QWidget *surface = form->centralWidget();
        const QPoint p(uniform(0, surface->width() - 1), uniform(0, surface->height() - 1));
        const QPoint inWindow = surface->mapTo(form.get(), p);
        Action a;
        a.kind = QStringLiteral("right click");
        QWidget *under = surface->childAt(p);
        a.bareSurfaceRightClick = under == nullptr;
        a.text = QStringLiteral("right click %1,%2 on %3")
                     .arg(p.x())
                     .arg(p.y())
                     .arg(under ? under->objectName() : QStringLiteral("the surface"));
        QWindow *window = form->windowHandle();
        a.run = [window, inWindow] { QTest::mouseClick(window, Qt::RightButton, {}, inWindow); };
        return a;
    }

    // Types text as key presses, Cyrillic letters and characters outside
    // the Basic Multilingual Plane (one key, two UTF-16 units) included.
    Action typeAction() {
        QList<QLineEdit *> editable;
        for (QLineEdit *e : visibleEdits())
            if (!e->isReadOnly() && e->isEnabled())
                editable << e;
        // The pair's inputs and the entry field get half the typing, so that
        // calculations and moves happen between the nonsense.
        QList<QLineEdit *> inputs;
        for (QLineEdit *e : {form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Edit55})
            if (editable.contains(e))
                inputs << e;
        QLineEdit *e = !inputs.isEmpty() && chance(50) ? pick(inputs) : pick(editable);
        const bool inputField = e == form->Edit1 || e == form->Edit2 || e == form->Edit3 ||
                                e == form->Edit4 || e == form->Edit55;
        const QString text = chance(inputField ? 45 : 35) ? plausibleNumber() : randomText();
        Action a;
        a.kind = QStringLiteral("type");
        switch (uniform(0, 2)) {
        case 0:
            a.text = QStringLiteral("setText %1 \"%2\"").arg(e->objectName(), text);
            a.run = [e, text] { e->setText(text); };
            break;
        case 1:
            a.text = QStringLiteral("type over %1 \"%2\"").arg(e->objectName(), text);
            a.run = [e, text] {
                e->setFocus();
                e->selectAll();
                if (text.isEmpty())
                    QTest::keyClick(e, Qt::Key_Delete);
                monkey::typeKeys(e, text);
            };
            break;
        default:
            a.text = QStringLiteral("type after %1 \"%2\"").arg(e->objectName(), text);
            a.run = [e, text] {
                e->setFocus();
                e->end(false);
                monkey::typeKeys(e, text);
            };
            break;
        }
        return a;
    }

    static bool plainText(const QString &text) {
        return std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x20; });
    }

    Action calculateAction() {
        return chance(50) ? buttonAction(chance(50) ? form->SpeedButton1 : form->SpeedButton34)
                          : keyActionFor({Qt::Key_F1, Qt::NoModifier, "F1"}, form->Edit1);
    }

    Action keyActionFor(const Key &k, QWidget *target) {
        Action a;
        a.kind = QStringLiteral("key ") + QLatin1String(k.name);
        a.text = QStringLiteral("key %1 to %2").arg(QLatin1String(k.name), target->objectName());
        a.run = [target, k] { pressKey(target, k); };
        if (k.key == Qt::Key_F1)
            a.command = Command::Calculate;
        else if (k.key == Qt::Key_F4)
            a.command = Command::Calculator;
        return a;
    }

    // Pastes a long text or one with characters outside the Basic
    // Multilingual Plane, now and then what a list copied, line breaks and
    // all; a pasted input is often calculated at once.
    Action pasteAction(bool pasteCopied = false) {
        QList<QLineEdit *> editable;
        for (QLineEdit *e : visibleEdits())
            if (!e->isReadOnly() && e->isEnabled())
                editable << e;
        const QList<QLineEdit *> inputs = {form->Edit1, form->Edit2, form->Edit3, form->Edit4,
                                           form->Edit55};
        const int roll = uniform(0, 99);
        // Mostly the fields that other actions soon fill again: a long text
        // makes every repaint of its edit slow.
        QLineEdit *e = roll < 10 ? pick(visibleEdits()) : roll < 80 ? pick(inputs) : pick(editable);
        // What fits: a paste that the edit has to cut costs Qt's line edit
        // time in the square of the length, which is the toolkit's, not the
        // program's.
        int how = uniform(0, 3); // over all by Ctrl+V, by Shift+Insert, at the end, inside
        const int free = e->maxLength() - int(e->text().size());
        if (free < 51)
            how = uniform(0, 1);
        const int room = how <= 1 ? e->maxLength() : free;
        const QString clipboard = QApplication::clipboard()->text();
        const bool copied = clipboard.contains(QLatin1Char('\n')) && clipboard.size() <= room &&
                            (pasteCopied || chance(15));
        const bool isLong = !copied && chance(55);
        const QString text = copied ? clipboard : isLong ? longText(room) : outsideBmpText();
        const int at = uniform(0, int(e->text().size()));
        Action a;
        a.kind = copied   ? QStringLiteral("paste a copied list")
                 : isLong ? QStringLiteral("paste long")
                          : QStringLiteral("paste outside BMP");
        a.text = QStringLiteral("paste %1 characters \"%2\" %3 %4")
                     .arg(text.size())
                     .arg(text.left(60), how <= 1 ? "over" : "into", e->objectName());
        a.run = [e, text, how, at, copied] {
            if (!copied)
                QApplication::clipboard()->setText(text);
            e->setFocus();
            if (how <= 1)
                e->selectAll();
            else
                e->setCursorPosition(how == 2 ? int(e->text().size()) : at);
            if (how == 1)
                QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier);
            else
                QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        };
        a.verify = pasteCheck(e, text, how <= 1);
        if (e != form->Edit55 && inputs.contains(e) && chance(60)) {
            if (chance(50))
                planCutComparison();
            else
                planned.push_front([this] { return calculateAction(); });
        }
        return a;
    }

    // A paste brings up nothing; it leaves a read-only edit as it was, and a
    // paste over a whole text shows the pasted one (a single blank empties an
    // input, so blank texts are left out).
    std::function<void(const QList<ModalSeen> &)> pasteCheck(QLineEdit *e, const QString &text,
                                                             bool over) {
        const QString before = e->text();
        return [this, e, text, over, before](const QList<ModalSeen> &seen) {
            expect(seen.isEmpty(), QStringLiteral("pasting brought up %1").arg(describe(seen)));
            if (e->isReadOnly())
                expect(e->text() == before,
                       QStringLiteral("pasting changed the read-only %1").arg(e->objectName()));
            else if (over && plainText(text) && !text.trimmed().isEmpty())
                expect(e->text() == text,
                       QStringLiteral("%1 holds %2 characters \"%3\" after pasting %4")
                           .arg(e->objectName())
                           .arg(e->text().size())
                           .arg(e->text().left(60))
                           .arg(text.size()));
        };
    }

    // What a calculation showed: the visible result boxes and the modal
    // windows it brought up.
    struct Shown {
        QStringList results;
        QStringList modals;
    };
    std::optional<Shown> longCalculation;

    Shown shown(const QList<ModalSeen> &seen) const {
        Shown s;
        for (QLineEdit *e : mainEdits())
            if (e->isReadOnly() && e->isVisible())
                s.results << e->objectName() + QLatin1Char('=') + e->text();
        for (const ModalSeen &m : seen)
            s.modals << describe(m);
        return s;
    }

    // A calculation reads the first 50 characters of each input: the inputs
    // cut to 50 characters calculate to the same results and notices.
    void planCutComparison() {
        planned.push_front([this] { return cutCalculationAction(); });
        planned.push_front([this] {
            Action a = calculateAction();
            a.verify = [this](const QList<ModalSeen> &seen) { longCalculation = shown(seen); };
            return a;
        });
    }

    Action cutCalculationAction() {
        const std::optional<Shown> before = std::exchange(longCalculation, std::nullopt);
        const QList<QLineEdit *> inputs = {form->Edit1, form->Edit2, form->Edit3, form->Edit4};
        const bool anyLong = std::any_of(inputs.cbegin(), inputs.cend(), [](QLineEdit *e) {
            return e->text().size() > kStoredLength;
        });
        if (!before || !anyLong)
            return calculateAction();
        Action a;
        a.kind = QStringLiteral("calculate cut to 50");
        a.text = QStringLiteral("cut the inputs to 50 characters and calculate");
        a.command = Command::Calculate;
        TForm1 *f = form.get();
        a.run = [f, inputs] {
            for (QLineEdit *e : inputs)
                e->setText(e->text().left(kStoredLength));
            f->SpeedButton1->click();
        };
        a.verify = [this, before = *before](const QList<ModalSeen> &seen) {
            const Shown after = shown(seen);
            expect(
                after.modals == before.modals,
                QStringLiteral("the inputs cut to 50 characters brought up %1, the whole ones %2")
                    .arg(after.modals.join(QLatin1String("; ")),
                         before.modals.join(QLatin1String("; "))));
            for (qsizetype i = 0; i < after.results.size() && i < before.results.size(); ++i)
                if (after.results[i] != before.results[i]) {
                    fail(
                        QStringLiteral("the inputs cut to 50 characters show %1, the whole ones %2")
                            .arg(after.results[i], before.results[i]));
                    break;
                }
        };
        return a;
    }

    Action fillPairAction() {
        const QString z1 = QString::number(uniform(1, 120));
        const QString fr1 = chance(30) ? form->Edit2->text() : plausibleNumber();
        const QString z2 = QString::number(uniform(1, 120));
        const QString fm = chance(70) ? QStringLiteral("0") : plausibleNumber();
        Action a;
        a.kind = QStringLiteral("enter pair");
        a.text = QStringLiteral("enter pair %1").arg(PairTexts{z1, fr1, z2, fm}.describe());
        TForm1 *f = form.get();
        a.run = [f, z1, fr1, z2, fm] { enterPair(f, z1, fr1, z2, fm); };
        return a;
    }

    // The user puts the coefficients of the modulation rows right again.
    Action coefficientsAction() {
        QStringList texts;
        for (std::size_t i = 0; i < 2 * calc::kRows.size(); ++i)
            texts << (chance(70) ? QStringLiteral("1") : QString::number(uniform(0, 5)));
        Action a;
        a.kind = QStringLiteral("enter coefficients");
        a.text = QStringLiteral("enter coefficients ") + texts.join(QLatin1Char(' '));
        TForm1 *f = form.get();
        a.run = [f, texts] {
            int i = 0;
            for (const calc::RowSpec &row : calc::kRows) {
                f->findChild<QLineEdit *>(QLatin1String(ui::inputEditName(row.k1)))
                    ->setText(texts.at(i++));
                f->findChild<QLineEdit *>(QLatin1String(ui::inputEditName(row.k2)))
                    ->setText(texts.at(i++));
            }
        };
        return a;
    }

    // --- the lists of the variants window
    QList<LineMemo *> memos() const {
        return {variants->Memo1, variants->Memo2,  variants->Memo3, variants->Memo4,
                variants->Memo5, variants->Memo6,  variants->Memo7, variants->Memo8,
                variants->Memo9, variants->Memo10, variants->Memo11};
    }
    QString clipboardText() const { return QApplication::clipboard()->text(); }
    QString sentinel() const { return QStringLiteral("monkey clipboard %1").arg(actionNumber); }

    // Scrolling, selecting and copying by the mouse, the wheel, the keys and
    // the list's own menu; the window comes up first if it is hidden.
    Action listAction() {
        if (!variants->isVisible())
            return buttonAction(form->SpeedButton24);
        QList<LineMemo *> filled;
        for (LineMemo *memo : memos())
            if (memo->lineCount() > 0)
                filled << memo;
        LineMemo *memo = !filled.isEmpty() && chance(80) ? pick(filled) : pick(memos());
        switch (uniform(0, 5)) {
        case 0:
            return wheelAction(memo);
        case 1:
            return listKeyAction(memo);
        case 2:
            return lineClickAction(memo);
        case 3:
            return lineDragAction(memo);
        case 4:
            return copyAllAction(memo);
        default:
            return listMenuAction(memo);
        }
    }

    Action wheelAction(LineMemo *memo) {
        const int notches = uniform(1, 3) * (chance(50) ? 1 : -1); // positive: towards the end
        Action a;
        a.kind = QStringLiteral("list wheel");
        a.text = QStringLiteral("wheel %1 notches on %2").arg(notches).arg(memo->objectName());
        a.run = [memo, notches] {
            QWidget *view = memo->viewport();
            const QPointF at(view->width() / 2.0, view->height() / 2.0);
            QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view, &wheel);
        };
        const int before = memo->verticalScrollBar()->value();
        a.verify = [this, memo, notches, before](const QList<ModalSeen> &) {
            const QScrollBar *bar = memo->verticalScrollBar();
            const int after = bar->value();
            const bool atLimit = notches > 0 ? before >= bar->maximum() : before <= bar->minimum();
            expect(notches > 0 ? (after > before || atLimit) && after >= before
                               : (after < before || atLimit) && after <= before,
                   QStringLiteral("the wheel took %1 from line %2 to line %3 (%4 lines)")
                       .arg(memo->objectName())
                       .arg(before)
                       .arg(after)
                       .arg(memo->lineCount()));
        };
        return a;
    }

    Action listKeyAction(LineMemo *memo) {
        static const Key keys[] = {
            {Qt::Key_Up, Qt::NoModifier, "Up"},
            {Qt::Key_Down, Qt::NoModifier, "Down"},
            {Qt::Key_PageUp, Qt::NoModifier, "PageUp"},
            {Qt::Key_PageDown, Qt::NoModifier, "PageDown"},
            {Qt::Key_Home, Qt::NoModifier, "Home"},
            {Qt::Key_End, Qt::NoModifier, "End"},
            {Qt::Key_Home, Qt::ControlModifier, "Ctrl+Home"},
            {Qt::Key_End, Qt::ControlModifier, "Ctrl+End"},
            {Qt::Key_Left, Qt::NoModifier, "Left"},
            {Qt::Key_Right, Qt::NoModifier, "Right"},
        };
        const Key &k = keys[uniform(0, int(std::size(keys)) - 1)];
        Action a;
        a.kind = QStringLiteral("list key");
        a.text = QStringLiteral("list key %1 to %2").arg(QLatin1String(k.name), memo->objectName());
        a.run = [memo, k] {
            memo->setFocus();
            pressKey(memo, k);
        };
        const QString tolerance = form->Edit58->text();
        a.verify = [this, memo, k, tolerance](const QList<ModalSeen> &seen) {
            const QString name = QLatin1String(k.name);
            // Home and End of a list are the list's, not the main window's tolerance arrows.
            expect(seen.isEmpty() && form->Edit58->text() == tolerance,
                   QStringLiteral("%1 in %2 reached the main window: %3, tolerance \"%4\"")
                       .arg(name, memo->objectName(), describe(seen), form->Edit58->text()));
            const QScrollBar *vertical = memo->verticalScrollBar();
            const QScrollBar *horizontal = memo->horizontalScrollBar();
            if (name == QLatin1String("Ctrl+End") && memo->lineCount() > 0) {
                const auto view = monkey::linesInView(memo);
                expect(view && view->second == memo->lineCount() - 1,
                       QStringLiteral("after Ctrl+End the last of the %1 lines of %2 is not in "
                                      "view")
                           .arg(memo->lineCount())
                           .arg(memo->objectName()));
            } else if (name == QLatin1String("Ctrl+Home")) {
                expect(vertical->value() == 0,
                       QStringLiteral("after Ctrl+Home %1 shows line %2 first")
                           .arg(memo->objectName())
                           .arg(vertical->value()));
            } else if (name == QLatin1String("End")) {
                const qreal overhang = monkey::overhangInView(memo);
                expect(overhang <= 0.5,
                       QStringLiteral("after End a line of %1 still reaches %2 px past its edge")
                           .arg(memo->objectName())
                           .arg(overhang));
            } else if (name == QLatin1String("Home")) {
                expect(horizontal->value() == 0,
                       QStringLiteral("after Home %1 is scrolled %2 px to the side")
                           .arg(memo->objectName())
                           .arg(horizontal->value()));
            }
        };
        return a;
    }

    // A click on a line in view selects that line; with Shift, a run of
    // lines from the earlier one to it.
    Action lineClickAction(LineMemo *memo) {
        const auto view = monkey::linesInView(memo);
        if (!view)
            return listKeyAction(memo);
        const int line = uniform(view->first, view->second);
        const bool shift = chance(25) && memo->hasSelection();
        const QPoint at(uniform(0, memo->viewport()->width() - 1),
                        memo->lineRect(line).center().y());
        Action a;
        a.kind = QStringLiteral("list click");
        a.text = QStringLiteral("%1click line %2 of %3")
                     .arg(shift ? "Shift+" : "")
                     .arg(line)
                     .arg(memo->objectName());
        a.run = [memo, at, shift] {
            QTest::mouseClick(memo->viewport(), Qt::LeftButton,
                              shift ? Qt::ShiftModifier : Qt::NoModifier, at);
        };
        a.verify = [this, memo, line, shift](const QList<ModalSeen> &) {
            const QString selected = memo->selectedText();
            if (!shift) {
                expect(selected == monkey::selectionOf(memo, line, line),
                       QStringLiteral("a click on line %1 of %2 selected \"%3\"")
                           .arg(line)
                           .arg(memo->objectName(), selected.left(200)));
                return;
            }
            const QStringList lines = memoLines(memo);
            QStringList run = selected.split(QLatin1Char('\n'));
            if (run.size() > 1 && run.last().isEmpty())
                run.removeLast();
            const int first = int(lines.indexOf(run.first()));
            const int last = first + int(run.size()) - 1;
            expect(first >= 0 && first <= line && line <= last &&
                       selected == monkey::selectionOf(memo, first, last),
                   QStringLiteral("Shift and a click on line %1 of %2 selected \"%3\"")
                       .arg(line)
                       .arg(memo->objectName(), selected.left(200)));
        };
        return a;
    }
    static QStringList memoLines(const LineMemo *memo) { return monkey::memoLines(memo); }

    Action lineDragAction(LineMemo *memo) {
        const auto view = monkey::linesInView(memo);
        if (!view)
            return listKeyAction(memo);
        const int from = uniform(view->first, view->second);
        const int to = uniform(view->first, view->second);
        const int x = uniform(0, memo->viewport()->width() - 1);
        const QPoint start(x, memo->lineRect(from).center().y());
        const QPoint end(x, memo->lineRect(to).center().y());
        Action a;
        a.kind = QStringLiteral("list drag");
        a.text = QStringLiteral("drag over lines %1 to %2 of %3")
                     .arg(from)
                     .arg(to)
                     .arg(memo->objectName());
        a.run = [memo, start, end] {
            QWidget *view = memo->viewport();
            QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, start);
            QMouseEvent move(QEvent::MouseMove, QPointF(end), view->mapToGlobal(QPointF(end)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view, &move);
            QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, end);
        };
        a.verify = [this, memo, from, to](const QList<ModalSeen> &) {
            const QString selected = memo->selectedText();
            expect(selected == monkey::selectionOf(memo, std::min(from, to), std::max(from, to)),
                   QStringLiteral("dragging over lines %1 to %2 of %3 selected \"%4\"")
                       .arg(from)
                       .arg(to)
                       .arg(memo->objectName(), selected.left(200)));
        };
        return a;
    }

    // Ctrl+A and Ctrl+C copy the whole list; an empty list copies nothing.
    Action copyAllAction(LineMemo *memo) {
        Action a;
        a.kind = QStringLiteral("list copy");
        a.text = QStringLiteral("Ctrl+A, Ctrl+C in %1 (%2 lines)")
                     .arg(memo->objectName())
                     .arg(memo->lineCount());
        const QString mark = sentinel();
        a.run = [memo, mark] {
            QApplication::clipboard()->setText(mark);
            memo->setFocus();
            pressKey(memo, {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"});
            pressKey(memo, {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"});
        };
        a.verify = [this, memo, mark](const QList<ModalSeen> &) {
            const QString expected = memo->lineCount() > 0 ? memo->toPlainText() : mark;
            const QString copied = clipboardText();
            expect(copied == expected,
                   QStringLiteral("Ctrl+A, Ctrl+C in %1 copied %2 characters \"%3\", the list "
                                  "holds %4")
                       .arg(memo->objectName())
                       .arg(copied.size())
                       .arg(copied.left(100))
                       .arg(memo->toPlainText().size()));
        };
        // What a person copies from a list often goes into an edit next.
        if (chance(30))
            planned.push_front([this] { return pasteAction(true); });
        return a;
    }

    // The list's own menu: "Копировать", "Выделить всё" or Escape.
    Action listMenuAction(LineMemo *memo) {
        const QString item = pick(
            QStringList{QStringLiteral("Копировать"), QStringLiteral("Выделить всё"), QString()});
        const QPoint at(uniform(0, memo->viewport()->width() - 1),
                        uniform(0, memo->viewport()->height() - 1));
        Action a;
        a.kind = QStringLiteral("list menu");
        a.text = QStringLiteral("menu of %1, %2")
                     .arg(memo->objectName(), item.isEmpty() ? QStringLiteral("Escape") : item);
        const auto chosen = std::make_shared<QString>();
        const QString mark = sentinel();
        a.run = [memo, at, item, chosen, mark] {
            QApplication::clipboard()->setText(mark);
            answerPopupSoon(item, chosen);
            QContextMenuEvent menu(QContextMenuEvent::Mouse, at, memo->viewport()->mapToGlobal(at));
            QApplication::sendEvent(memo->viewport(), &menu);
        };
        const QString selectedBefore = memo->selectedText();
        a.verify = [this, memo, chosen, mark, selectedBefore](const QList<ModalSeen> &) {
            expect(QApplication::activePopupWidget() == nullptr, "the list's menu stayed open");
            const QString name = memo->objectName();
            if (chosen->isEmpty())
                fail(QStringLiteral("the menu of %1 did not come up").arg(name));
            else if (*chosen == QStringLiteral("Копировать"))
                expect(clipboardText() == selectedBefore,
                       QStringLiteral("\"Копировать\" in %1 copied \"%2\"")
                           .arg(name, clipboardText().left(100)));
            else if (*chosen == QStringLiteral("Выделить всё"))
                expect(memo->selectedText() == memo->toPlainText(),
                       QStringLiteral("\"Выделить всё\" in %1 selected \"%2\"")
                           .arg(name, memo->selectedText().left(100)));
            else
                expect(clipboardText() == mark && memo->selectedText() == selectedBefore,
                       QStringLiteral("Escape from the menu of %1 left \"%2\" selected (before "
                                      "\"%3\") and \"%4\" on the clipboard")
                           .arg(name, memo->selectedText().left(100), selectedBefore.left(100),
                                clipboardText().left(100)));
        };
        return a;
    }

    // A search that likely finds several matches per family, then a look at
    // its lists.
    void planSearch() {
        planned.push_back([this] { return fillPairAction(); });
        planned.push_back([this] { return calculateAction(); });
        planned.push_back([this] {
            const QList<QLineEdit *> results = {form->Edit6,  form->Edit21, form->Edit16,
                                                form->Edit31, form->Edit13, form->Edit36};
            const QString target = pick(results)->text();
            const QString tolerance = pick(QStringList{"1", "5", "20", "100"});
            Action a;
            a.kind = QStringLiteral("enter search");
            a.text = QStringLiteral("enter target \"%1\", tolerance %2").arg(target, tolerance);
            TForm1 *f = form.get();
            a.run = [f, target, tolerance] {
                f->Edit55->setText(target.isEmpty() ? QStringLiteral("100") : target);
                f->Edit58->setText(tolerance);
            };
            return a;
        });
        planned.push_back([this] {
            return chance(50) ? keyActionFor({Qt::Key_F2, Qt::NoModifier, "F2"}, form->Edit55)
                              : buttonAction(form->SpeedButton14);
        });
        for (int i = uniform(1, 4); i > 0; --i)
            planned.push_back([this] { return listAction(); });
    }

    // --- the window size
    Action resizeAction() {
        const QSize want(uniform(200, 1400), uniform(150, 1000));
        const bool sizeable = form->N25->isChecked();
        Action a;
        a.kind = QStringLiteral("resize");
        a.text = QStringLiteral("resize the %1 window to %2 x %3")
                     .arg(sizeable ? "sizeable" : "fixed")
                     .arg(want.width())
                     .arg(want.height());
        TForm1 *f = form.get();
        a.run = [f, want] { f->resize(want); };
        a.verify = [this, want, sizeable](const QList<ModalSeen> &) {
            const QSize expected = sizeable ? want : fixedSize;
            expect(form->size() == expected,
                   QStringLiteral("the window is %1 x %2 after the resize, expected %3 x %4")
                       .arg(form->width())
                       .arg(form->height())
                       .arg(expected.width())
                       .arg(expected.height()));
        };
        return a;
    }

    void planResize() {
        if (form->N25->isEnabled())
            planned.push_back([this] { return itemAction(form->N25); });
        for (int i = uniform(1, 3); i > 0; --i)
            planned.push_back([this] { return resizeAction(); });
        planned.push_back([this] { return rightClickAction(); });
        if (chance(40))
            planned.push_back(
                [this] { return form->N30->isEnabled() ? itemAction(form->N30) : resizeAction(); });
    }

    // --- the external calculator
    // The calculator file comes and goes around one or two starts: each
    // start forks this process, which is slow under the sanitizers, so the
    // random keys and buttons mostly find no file.
    Action calculatorFileAction() {
        const int roll = uniform(0, 99);
        const CalculatorFile file = roll < 50   ? CalculatorFile::Script
                                    : roll < 70 ? CalculatorFile::Missing
                                    : roll < 85 ? CalculatorFile::NotExecutable
                                                : CalculatorFile::Folder;
        if (file != CalculatorFile::Missing)
            planned.push_front([this] { return placeCalculatorAction(CalculatorFile::Missing); });
        if (chance(30))
            planned.push_front([this] { return calculatorAction(); });
        planned.push_front([this] { return calculatorAction(); });
        return placeCalculatorAction(file);
    }

    Action placeCalculatorAction(CalculatorFile file) {
        Action a;
        a.kind = QStringLiteral("calculator file");
        a.text = QStringLiteral("make CALC.exe %1").arg(monkey::calculatorFileName(file));
        a.run = [this, file] {
            // A started script is read by its shell after the start has
            // returned; it must be there until it has run.
            const QDir dir(fixture->workDir.path());
            (void)QTest::qWaitFor([&] { return monkey::launchesLogged(dir) >= expectedLaunches; },
                                  5000);
            if (monkey::placeCalculator(dir, file))
                calculatorFile = file;
            else
                fail(QStringLiteral("could not make CALC.exe %1")
                         .arg(monkey::calculatorFileName(file)));
        };
        return a;
    }

    Action calculatorAction() {
        switch (uniform(0, 3)) {
        case 0:
            return itemAction(form->N17);
        case 1:
            return itemAction(form->N18);
        case 2:
            return buttonAction(form->SpeedButton36);
        default:
            return keyActionFor({Qt::Key_F4, Qt::NoModifier, "F4"}, pick(visibleEdits()));
        }
    }

    std::optional<Action> closeSecondaryAction() {
        QList<QWidget *> open;
        for (QWidget *w : {static_cast<QWidget *>(about), static_cast<QWidget *>(variants)})
            if (w && w->isVisible())
                open << w;
        if (open.isEmpty())
            return std::nullopt;
        QWidget *w = pick(open);
        QPushButton *button = w == about ? about->Button1 : variants->Button1;
        Action a;
        a.kind = QStringLiteral("close window");
        if (chance(50)) {
            a.text = QStringLiteral("close %1 by its button").arg(w->objectName());
            a.run = [button] { button->click(); };
        } else {
            a.text = QStringLiteral("close %1").arg(w->objectName());
            a.run = [w] { w->close(); };
        }
        return a;
    }

    Action buttonAction(QToolButton *b) {
        if (!b->isVisible() || !b->isEnabled())
            return clickAction();
        Action a;
        a.kind = QStringLiteral("click");
        a.text = QStringLiteral("click ") + b->objectName();
        a.command = buttonCommand(form.get(), b);
        a.run = [b] { b->click(); };
        return a;
    }

    // Now and then the user goes along the chain on purpose: a plausible
    // pair, its calculation and "Далее >", as separate actions, each one
    // chosen when its turn comes.
    std::deque<std::function<Action()>> planned;
    void planAStep() {
        planned.push_back([this] { return fillPairAction(); });
        if (chance(30))
            planned.push_back([this] { return coefficientsAction(); });
        planned.push_back(
            [this] { return buttonAction(chance(50) ? form->SpeedButton1 : form->SpeedButton34); });
        planned.push_back([this] {
            return buttonAction(chance(50) ? form->SpeedButton31 : form->SpeedButton40);
        });
    }

    Action nextAction() {
        if (!planned.empty()) {
            const std::function<Action()> make = planned.front();
            planned.pop_front();
            return make();
        }
        if (const int plan = uniform(0, 199); plan < 14) {
            if (plan < 10)
                planAStep();
            else if (plan < 13)
                planSearch();
            else
                planResize();
            return nextAction();
        }
        const int roll = uniform(0, 99);
        if (roll < 27)
            return clickAction();
        if (roll < 37)
            return menuAction();
        if (roll < 51)
            return keyAction();
        if (roll < 55)
            return rightClickAction();
        if (roll < 72)
            return typeAction();
        if (roll < 76)
            return pasteAction();
        if (roll < 86)
            return fillPairAction();
        if (roll < 90)
            return coefficientsAction();
        if (roll < 94)
            return listAction();
        if (roll < 95)
            return resizeAction();
        // Each start of the calculator forks this process, which is slow
        // under the sanitizers.
        if (roll < 96)
            return chance(50) ? calculatorFileAction() : typeAction();
        if (std::optional<Action> close = closeSecondaryAction())
            return *close;
        return typeAction();
    }

    // --- the checks
    bool fail(const QString &what) {
        if (failure.isEmpty())
            failure = what;
        return false;
    }
    bool expect(bool condition, const QString &what) { return condition || fail(what); }
    // The same for the checks after every action: the message is made only
    // when the check fails.
    template <typename Message> bool check(bool condition, const Message &message) {
        return condition || fail(message());
    }

    QByteArray report() const {
        QString s = QStringLiteral("MONKEY_SEED=%1, action %2\nlast actions:\n")
                        .arg(seed)
                        .arg(actionNumber);
        for (const QString &line : log)
            s += QStringLiteral("  ") + line + QLatin1Char('\n');
        return s.toUtf8();
    }

    void closePopups() {
        for (int i = 0; i < 10; ++i) {
            QWidget *popup = QApplication::activePopupWidget();
            if (!popup)
                break;
            popup->close();
        }
    }

    // Applies an action's effect on the aggregate to the model and checks what
    // the move put into the input fields.
    void follow(const Action &a, const PairTexts &before, const QString &fr2Before,
                const QList<ModalSeen> &seen) {
        const bool quiet = seen.isEmpty(); // a calculation that fails shows a notice
        const int k = model.current;
        ++commandCounts[std::size_t(a.command)];
        for (const ModalSeen &s : seen) {
            ++modalCounts[modalName(s)];
            if (s.objectName.isEmpty() && messageTexts.size() < 5)
                messageTexts.insert(s.texts.join(QLatin1Char(' ')));
        }
        if (quiet && a.command == Command::Calculate)
            ++quietCalculations;
        switch (a.command) {
        case Command::Calculate:
            model.calculationRan(quiet);
            break;
        case Command::Next:
            if (k == kPairs || !model.occupied(k + 1)) {
                model.store(k, before);
                model.next = false;
                if (k < kPairs) {
                    model.current = k + 1;
                    expect(shownPair() == PairTexts{QString(), fr2Before, QString(), "0"},
                           QStringLiteral("the new pair %1 starts as %2, expected Z1 and Z2 "
                                          "empty, Fr1 %3, Fm 0")
                               .arg(k + 1)
                               .arg(shownPair().describe(), fr2Before));
                } else {
                    expect(shownPair() == before, "Next on pair 9 changed the inputs");
                }
                model.back = true;
                model.calculated = false;
            } else {
                model.current = k + 1;
                if (model.current == kPairs)
                    model.next = false;
                model.calculationRan(quiet);
                model.back = true;
                expect(shownPair() == model.slot(k + 1).calculated(),
                       QStringLiteral("advancing to pair %1 shows %2, its slot holds %3")
                           .arg(k + 1)
                           .arg(shownPair().describe(), model.slot(k + 1).describe()));
            }
            break;
        case Command::Back:
            if (!expect(k >= 2, "Back was available on pair 1"))
                break;
            if (!model.occupied(k) && model.calculated)
                model.store(k, before);
            model.current = k - 1;
            model.back = model.current != 1;
            model.next = true;
            model.calculationRan(quiet);
            model.calculated = false;
            expect(shownPair() == model.slot(k - 1).calculated(),
                   QStringLiteral("going back to pair %1 shows %2, its slot holds %3")
                       .arg(k - 1)
                       .arg(shownPair().describe(), model.slot(k - 1).describe()));
            break;
        case Command::Jump: {
            const int j = a.argument;
            if (j <= 8 && k >= 2 && !model.occupied(k) && model.calculated)
                model.store(k, before);
            model.calculated = false;
            model.current = j;
            model.next = j != kPairs;
            model.back = j != 1;
            model.calculationRan(quiet);
            model.calculated = false;
            expect(shownPair() == model.slot(j).calculated(),
                   QStringLiteral("the jump to pair %1 shows %2, its slot holds %3")
                       .arg(j)
                       .arg(shownPair().describe(), model.slot(j).describe()));
            break;
        }
        case Command::NewAggregate:
            expect(seen.size() == 1 && seen[0].objectName == QLatin1String("TForm7"),
                   QStringLiteral("a new aggregate asked with %1")
                       .arg(QString::fromUtf8(describe(seen))));
            if (form7Answer == 1) {
                model.reset();
                expect(shownPair() == PairTexts{QString(), "0", "0", "0"},
                       QStringLiteral("a new aggregate shows %1").arg(shownPair().describe()));
            } else {
                expect(shownPair() == before, "\"Отмена\" changed the inputs");
            }
            break;
        case Command::Precision:
            precision = a.argument;
            break;
        case Command::Calculator: {
            // Only a missing file is reported; a file that is no program shows nothing.
            const bool missing = calculatorFile == CalculatorFile::Missing;
            expect(missing ? seen.size() == 1 && seen[0].objectName == QLatin1String("TForm6")
                           : seen.isEmpty(),
                   QStringLiteral("the calculator with CALC.exe %1: %2")
                       .arg(monkey::calculatorFileName(calculatorFile), describe(seen)));
            if (calculatorFile == CalculatorFile::Script)
                ++expectedLaunches;
            ++calculatorCommands[QString::fromLatin1(monkey::calculatorFileName(calculatorFile))];
            break;
        }
        case Command::Other:
            break;
        }
        deepestPair = std::max(deepestPair, model.current);
        // A stored text comes back cut to 50 UTF-16 units, which may halve a
        // character outside the Basic Multilingual Plane: counted, not failed.
        if (a.command == Command::Next || a.command == Command::Back || a.command == Command::Jump)
            for (QLineEdit *e : {form->Edit1, form->Edit2, form->Edit3, form->Edit4})
                if (monkey::hasLoneSurrogate(e->text()) && loneSurrogates++ == 0)
                    firstLoneSurrogate = QStringLiteral("#%1 %2 \"%3\"")
                                             .arg(actionNumber)
                                             .arg(e->objectName(), e->text());
        for (const ModalSeen &s : seen) {
            if (a.command != Command::NewAggregate)
                expect(s.objectName != QLatin1String("TForm7"),
                       "the confirmation of a new aggregate came up uninvited");
            if (a.command != Command::Calculator)
                expect(s.objectName != QLatin1String("TForm6"),
                       "the calculator notice came up uninvited");
        }
    }

    bool checkInvariants(const QList<ModalSeen> &seen) {
        // Pair number.
        bool ok = false;
        const int shown = form->Label45->text().toInt(&ok);
        expect(ok && shown >= 1 && shown <= kPairs &&
                   form->Label45->text() == QString::number(shown),
               QStringLiteral("Label45 shows \"%1\"").arg(form->Label45->text()));
        expect(shown == form->Aggregate.CurrentPair,
               QStringLiteral("Label45 shows %1, CurrentPair is %2")
                   .arg(form->Label45->text())
                   .arg(form->Aggregate.CurrentPair));
        expect(form->Edit62->text() == form->Label45->text(),
               QStringLiteral("Edit62 holds \"%1\", Label45 shows \"%2\"")
                   .arg(form->Edit62->text(), form->Label45->text()));
        expect(shown == model.current, QStringLiteral("Label45 shows %1, the moves lead to pair %2")
                                           .arg(form->Label45->text())
                                           .arg(model.current));

        // The moves and their twins.
        expect(form->SpeedButton31->isEnabled() == form->SpeedButton40->isEnabled(),
               "\"Далее >\" and \"F6-далее\" disagree");
        expect(form->SpeedButton32->isEnabled() == form->SpeedButton37->isEnabled(),
               "\"< Назад\" and \"F5-назад\" disagree");
        expect(form->SpeedButton31->isEnabled() == model.next,
               QStringLiteral("Next is %1, expected %2")
                   .arg(yesNo(form->SpeedButton31->isEnabled()), yesNo(model.next)));
        expect(form->SpeedButton32->isEnabled() == model.back,
               QStringLiteral("Back is %1, expected %2")
                   .arg(yesNo(form->SpeedButton32->isEnabled()), yesNo(model.back)));

        // Pair items, the store and the calculated flag against the model.
        for (int k = 1; k <= kPairs; ++k) {
            const bool visible = form->pairItems[std::size_t(k - 1)]->isVisible();
            expect(visible == model.written[std::size_t(k - 1)],
                   QStringLiteral("pair item %1 is %2, but slot %1 was %3written since the "
                                  "last new aggregate")
                       .arg(k)
                       .arg(visible ? "visible" : "hidden",
                            model.written[std::size_t(k - 1)] ? "" : "not "));
            const PairTexts stored = storedPair(form->Aggregate.PairStore.load(k));
            expect(stored == model.slot(k), QStringLiteral("slot %1 holds %2, expected %3")
                                                .arg(k)
                                                .arg(stored.describe(), model.slot(k).describe()));
        }
        expect((form->pair.pairCalculated() == 1) == model.calculated,
               QStringLiteral("the pair counts as %1calculated, expected %2")
                   .arg(form->pair.pairCalculated() == 1 ? "" : "not ", yesNo(model.calculated)));
        expect(!form->N16->isVisible(), "\"Сохранение\" became visible");

        // Shown numbers: the result fields, the lists and their titles.
        for (QLineEdit *e : mainEdits())
            if (e->isReadOnly() && showsBadNumber(e->text()))
                fail(QStringLiteral("%1 shows \"%2\"").arg(e->objectName(), e->text()));
        const std::array<Memo *, 11> memos = {variants->Memo1,  variants->Memo2, variants->Memo3,
                                              variants->Memo4,  variants->Memo5, variants->Memo6,
                                              variants->Memo7,  variants->Memo8, variants->Memo9,
                                              variants->Memo10, variants->Memo11};
        for (std::size_t i = 0; i < memos.size(); ++i) {
            const int revision = memoRevision(memos[i]);
            if (revision == memoRevisions[i])
                continue;
            memoRevisions[i] = revision;
            const QStringList lines = memos[i]->toPlainText().split(QLatin1Char('\n'));
            for (const QString &line : lines)
                if (showsBadNumber(line)) {
                    fail(QStringLiteral("%1 lists \"%2\"").arg(memos[i]->objectName(), line));
                    break;
                }
        }
        for (QLabel *title :
             {variants->Label1, variants->Label2, variants->Label3, variants->Label4,
              variants->Label5, variants->Label6, variants->Label7, variants->Label8,
              variants->Label9, variants->Label10, variants->Label11, variants->Label12})
            if (showsBadNumber(title->text()))
                fail(QStringLiteral("%1 reads \"%2\"").arg(title->objectName(), title->text()));

        checkLists(seen);
        checkWindowSize();
        return failure.isEmpty();
    }

    // After a search that ran to its end, each title counts the lines of its list.
    void checkLists(const QList<ModalSeen> &seen) {
        const QList<LineMemo *> lists = memos();
        bool rewritten = false;
        for (qsizetype i = 0; i < lists.size(); ++i)
            rewritten = rewritten || memoRevision(lists[i]) != listRevisions[std::size_t(i)];
        if (rewritten) {
            const bool messageBox = std::any_of(seen.cbegin(), seen.cend(), [](const ModalSeen &s) {
                return s.objectName.isEmpty();
            });
            listsComplete = !messageBox;
            for (qsizetype i = 0; i < lists.size(); ++i)
                listRevisions[std::size_t(i)] = memoRevision(lists[i]);
        }
        if (!listsComplete)
            return;
        static const QRegularExpression count(QStringLiteral("\\((-?[0-9]+)\\)$"));
        const std::pair<QLabel *, LineMemo *> titles[] = {
            {variants->Label1, variants->Memo1},   {variants->Label2, variants->Memo2},
            {variants->Label3, variants->Memo3},   {variants->Label4, variants->Memo4},
            {variants->Label5, variants->Memo5},   {variants->Label6, variants->Memo6},
            {variants->Label7, variants->Memo7},   {variants->Label8, variants->Memo7},
            {variants->Label9, variants->Memo8},   {variants->Label10, variants->Memo9},
            {variants->Label11, variants->Memo10}, {variants->Label12, variants->Memo11}};
        for (const auto &[title, list] : titles) {
            const QRegularExpressionMatch m = count.match(title->text());
            if (m.hasMatch())
                check(m.captured(1).toInt() == list->lineCount(), [&] {
                    return QStringLiteral("%1 reads \"%2\", %3 holds %4 lines")
                        .arg(title->objectName(), title->text(), list->objectName())
                        .arg(list->lineCount());
                });
        }
    }

    // The two size items mark the mode; a fixed window keeps its size and the
    // regions keep their places whatever the size.
    void checkWindowSize() {
        const bool sizeable = form->N25->isChecked();
        check(sizeable != form->N30->isChecked() && form->N25->isEnabled() == !sizeable &&
                  form->N30->isEnabled() == sizeable,
              [&] {
                  return QStringLiteral("\"Изменяемый\" is %1 and %2, \"Неизменяемый\" %3 and %4")
                      .arg(form->N25->isChecked() ? "marked" : "unmarked",
                           form->N25->isEnabled() ? "enabled" : "disabled",
                           form->N30->isChecked() ? "marked" : "unmarked",
                           form->N30->isEnabled() ? "enabled" : "disabled");
              });
        if (!sizeable)
            check(form->size() == fixedSize && form->minimumSize() == form->maximumSize(), [&] {
                return QStringLiteral(
                           "the fixed window is %1 x %2 (%3 x %4 to %5 x %6), expected %7 "
                           "x %8")
                    .arg(form->width())
                    .arg(form->height())
                    .arg(form->minimumWidth())
                    .arg(form->minimumHeight())
                    .arg(form->maximumWidth())
                    .arg(form->maximumHeight())
                    .arg(fixedSize.width())
                    .arg(fixedSize.height());
            });
        const std::array<QWidget *, 4> regions = {form->GroupBox10, form->GroupBox2,
                                                  form->GroupBox1, form->Panel2};
        for (std::size_t i = 0; i < regions.size(); ++i)
            check(regions[i]->geometry() == regionPlaces[i], [&] {
                return QStringLiteral("%1 moved to %2,%3 %4 x %5")
                    .arg(regions[i]->objectName())
                    .arg(regions[i]->x())
                    .arg(regions[i]->y())
                    .arg(regions[i]->width())
                    .arg(regions[i]->height());
            });
    }

    bool step(const Action &a, monkey::HangWatch &watch) {
        const PairTexts before = shownPair();
        const QString fr2Before = form->Edit16->text();
        form7Answer = 0;
        stepAnswers.clear();
        ++kindCounts[a.kind];
        // A pasted text can be long; the log keeps its start.
        log.push_back(QStringLiteral("#%1 %2").arg(actionNumber).arg(a.text.left(300)));
        if (log.size() > std::size_t(kLogLength))
            log.pop_front();
        watch.begin(report());

        const Responder respond = [this](QWidget *modal) { answerModal(modal); };
        QElapsedTimer clock;
        clock.start();
        const QList<ModalSeen> seen = closeModalsDuring(
            [&] {
                a.run();
                QCoreApplication::processEvents();
            },
            respond);
        const qint64 ms = clock.elapsed();
        watch.end();
        kindMs[a.kind] += ms;
        if (ms > slowestMs) {
            slowestMs = ms;
            slowestAction = a.text;
        }

        QString &entry = log.back();
        if (!seen.isEmpty()) {
            QStringList names;
            for (const ModalSeen &s : seen)
                names << modalName(s) + (s.objectName == QLatin1String("TForm7")
                                             ? (form7Answer == 1 ? "(Продолжить)" : "(Отмена)")
                                             : QString());
            entry += QStringLiteral(" -> ") + names.join(QLatin1Char(',')) +
                     QStringLiteral(" by ") + stepAnswers.join(QLatin1Char(','));
        }
        entry += QStringLiteral(" (%1 ms) => ").arg(ms) + stateText();

        expect(ms <= kAnswerLimitMs, QStringLiteral("the action took %1 ms").arg(ms));
        for (const ModalSeen &s : seen)
            expect(!s.closedByFallback,
                   QStringLiteral("%1 did not close by its button").arg(describe(s)));
        expect(QApplication::activeModalWidget() == nullptr, "a modal window stayed open");
        if (a.bareSurfaceRightClick)
            expect(form->PopupMenu1->isVisible(),
                   "a right click on the bare surface opened no popup menu");
        if (a.verify)
            a.verify(seen);
        closePopups();

        follow(a, before, fr2Before, seen);
        return checkInvariants(seen);
    }

    // Answers a modal window as a person would: mostly by its button, else by
    // Return, Space, Escape, or Tab and Return, where the keyboard is. A
    // notice ignores Escape and waits for its button; the confirmation of a
    // new aggregate takes Escape as "Отмена"; a key that should close a
    // window and does not is a failure, and the button closes it then.
    void answerModal(QWidget *modal) {
        const QString name =
            modal->objectName().isEmpty() ? QStringLiteral("message box") : modal->objectName();
        auto *confirmation = qobject_cast<TForm7 *>(modal);
        const bool notice = name == QLatin1String("TForm2") || name == QLatin1String("TForm3") ||
                            name == QLatin1String("TForm6");
        const auto pressOwnButton = [&] {
            if (confirmation) {
                form7Answer = chance(25) ? 1 : 2;
                pressButton(form7Answer == 1 ? "Button1" : "Button2")(modal);
            } else {
                pressButton()(modal);
            }
        };
        const int roll = uniform(0, 99);
        if (roll < 50) {
            ++answerCounts[QStringLiteral("button")];
            stepAnswers << QStringLiteral("button");
            pressOwnButton();
            return;
        }
        const QString way = roll < 65   ? QStringLiteral("Return")
                            : roll < 75 ? QStringLiteral("Space")
                            : roll < 90 ? QStringLiteral("Escape")
                                        : QStringLiteral("Tab+Return");
        int clicked = 0; // the confirmation's button that the key pressed
        QObject context;
        if (confirmation) {
            connect(confirmation->Button1, &QPushButton::clicked, &context, [&] { clicked = 1; });
            connect(confirmation->Button2, &QPushButton::clicked, &context, [&] { clicked = 2; });
        }
        const auto keyTo = [modal](Qt::Key key) {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus && modal->isAncestorOf(focus) ? focus : modal, key);
        };
        if (way == QLatin1String("Tab+Return")) {
            keyTo(Qt::Key_Tab);
            keyTo(Qt::Key_Return);
        } else {
            keyTo(way == QLatin1String("Return")  ? Qt::Key_Return
                  : way == QLatin1String("Space") ? Qt::Key_Space
                                                  : Qt::Key_Escape);
        }
        const bool escape = way == QLatin1String("Escape");
        const bool closed = !modal->isVisible();
        const QString outcome = way + (closed ? QString() : QStringLiteral(" (stayed open)"));
        ++answerCounts[outcome];
        stepAnswers << outcome;
        if (closed) {
            if (confirmation)
                form7Answer = clicked != 0 ? clicked : 2;
            if (escape && notice)
                fail(QStringLiteral("Escape closed %1, which only its button closes").arg(name));
            return;
        }
        if (!(escape && notice))
            fail(QStringLiteral("%1 left %2 open").arg(way, name));
        pressOwnButton();
    }

    QByteArray settingsBytes() const {
        QFile f(fixture->workDir.filePath(QStringLiteral("VeviVerezoz.bmp")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // What the run got to do.
    void printSummary() const {
        QStringList modals;
        for (auto it = modalCounts.cbegin(); it != modalCounts.cend(); ++it)
            modals << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
        qInfo("monkey: calculations %d (%d quiet), next %d, back %d, jumps %d, new aggregate %d; "
              "deepest pair %d; modal windows: %s",
              commandCounts[std::size_t(Command::Calculate)], quietCalculations,
              commandCounts[std::size_t(Command::Next)], commandCounts[std::size_t(Command::Back)],
              commandCounts[std::size_t(Command::Jump)],
              commandCounts[std::size_t(Command::NewAggregate)], deepestPair,
              qPrintable(modals.join(QStringLiteral(", "))));
        for (const QString &message : std::as_const(messageTexts))
            qInfo("monkey: a message box said: %s", qPrintable(message));
        QStringList kinds;
        for (auto it = kindCounts.cbegin(); it != kindCounts.cend(); ++it)
            kinds << QStringLiteral("%1 %2 (%3 ms)")
                         .arg(it.key())
                         .arg(it.value())
                         .arg(kindMs.value(it.key()));
        qInfo("monkey: actions by kind: %s", qPrintable(kinds.join(QStringLiteral(", "))));
        qInfo("monkey: modal windows answered by: %s", qPrintable(counted(answerCounts)));
        qInfo("monkey: calculator commands with CALC.exe %s",
              qPrintable(counted(calculatorCommands)));
        if (loneSurrogates > 0)
            qInfo("monkey: %d times a move brought back an input with half a character, first "
                  "at %s",
                  loneSurrogates, qPrintable(firstLoneSurrogate));
    }

    static QString counted(const QMap<QString, int> &counts) {
        QStringList parts;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            parts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
        return parts.join(QStringLiteral(", "));
    }

    void closeBy(const QString &route) {
        if (route == QLatin1String("F12")) {
            QWidget *target = form->focusWidget() ? form->focusWidget() : form.get();
            QTest::keyClick(target, Qt::Key_F12);
        } else if (route == QLatin1String("SpeedButton41")) {
            form->SpeedButton41->click();
        } else {
            form->findChild<QAction *>(route)->trigger();
        }
    }

private slots:
    void initTestCase() { monkey::quietPlatformWarnings(true); }
    void cleanupTestCase() { monkey::quietPlatformWarnings(false); }

    void init() {
        seed = quint32(monkey::environmentInt("MONKEY_SEED", kDefaultSeed));
        rng.seed(seed);
        QVERIFY(startMainWindow(WaitFor::Exposed));
        about = form->findChild<TForm4 *>(QStringLiteral("TForm4"));
        variants = form->findChild<TForm5 *>(QStringLiteral("TForm5"));
        QVERIFY(about && variants);
        ownEdits = mainWidgets<QLineEdit>();
        fixedSize = form->size();
        regionPlaces = {form->GroupBox10->geometry(), form->GroupBox2->geometry(),
                        form->GroupBox1->geometry(), form->Panel2->geometry()};
    }
    void cleanup() { stopMainWindow(); }

    void random_actions_keep_the_window_consistent() {
        const int actions = monkey::environmentInt("MONKEY_ACTIONS", kDefaultActions);
        qInfo("monkey: MONKEY_SEED=%u MONKEY_ACTIONS=%d", seed, actions);
        QElapsedTimer total;
        total.start();
        {
            monkey::HangWatch watch(kHangLimit);
            for (actionNumber = 1; actionNumber <= actions; ++actionNumber) {
                const Action a = nextAction();
                if (!step(a, watch)) {
                    qInfo("monkey: failed with MONKEY_SEED=%u", seed);
                    QFAIL(qPrintable(failure + QLatin1Char('\n') + QString::fromUtf8(report())));
                }
                if (actionNumber % 200 == 0)
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                if (actionNumber % 5000 == 0)
                    qInfo("monkey: %d actions done, %.0f s", actionNumber,
                          double(total.elapsed()) / 1000.0);
            }
        }
        const double seconds = double(total.elapsed()) / 1000.0;
        qInfo("monkey: %d actions in %.1f s (%.1f per second); slowest %lld ms: %s", actions,
              seconds, seconds > 0 ? actions / seconds : 0.0, slowestMs, qPrintable(slowestAction));
        printSummary();

        // Every start of the stand-in calculator was one command, and each
        // command started it once.
        const QDir dir(fixture->workDir.path());
        // The scripts may still be starting; more than asked never ends the wait early.
        (void)QTest::qWaitFor([&] { return monkey::launchesLogged(dir) >= expectedLaunches; },
                              10000);
        QCOMPARE(monkey::launchesLogged(dir), expectedLaunches);

        // The end: every way out closes the window and leaves a well-formed
        // settings file holding the precision last chosen.
        QStringList routes = {"N2", "N10", "F12", "SpeedButton41"};
        std::shuffle(routes.begin(), routes.end(), rng);
        const QRegularExpression wellFormed(QStringLiteral("\\A-?[0-9]+\\r\\n\\z"));
        for (const QString &route : routes) {
            if (!form->isVisible()) {
                form->show();
                QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            }
            const auto seen = closeModalsDuring([&] { closeBy(route); });
            QVERIFY2(seen.isEmpty(), describe(seen));
            QVERIFY2(!form->isVisible(),
                     qPrintable(route + " left the window open, seed " + QString::number(seed)));
            const QByteArray bytes = settingsBytes();
            QVERIFY2(wellFormed.match(QString::fromLatin1(bytes)).hasMatch(),
                     qPrintable(QStringLiteral("after %1 the settings file holds \"%2\", seed %3")
                                    .arg(route, QString::fromLatin1(bytes.toPercentEncoding()))
                                    .arg(seed)));
            QCOMPARE(bytes, QByteArray::number(precision) + "\r\n");
        }
    }
};

QTEST_MAIN(MonkeyTest)
#include "tst_monkey.moc"
