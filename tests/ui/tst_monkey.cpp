// A seeded monkey run over the real main window: random clicks of its
// buttons, menu items, keys, right clicks and typing, each followed by a
// check of the window's invariants. The aggregate is followed by a model the
// test keeps itself from the actions it performs and what it sees before and
// after them, so the pair items, the store and the moves are compared with
// an expectation rather than with the window's own bookkeeping.
//
//   MONKEY_SEED      seed of the run (printed at the start and on failure)
//   MONKEY_ACTIONS   number of random actions (default 3000)
//
// A failure names the seed, the action number and the last actions; the same
// seed and count replay the same run.
#include "app/startup.h"
#include "fixture.h"
#include "ui/Unit1.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"
#include "ui/Unit7.h"
#include "ui/line_memo.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

using namespace uitest;

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

// The offscreen platform says so for every raise and grab; those lines would
// bury the run's own output.
QtMessageHandler previousHandler = nullptr;
void quietPlatformHandler(QtMsgType type, const QMessageLogContext &context,
                          const QString &message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

int environmentInt(const char *name, long long fallback) {
    bool ok = false;
    const long long value = qEnvironmentVariable(name).toLongLong(&ok);
    return ok ? int(value) : int(fallback);
}

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
    QString describe() const { return QStringLiteral("[%1|%2|%3|%4]").arg(z1, fr1, z2, fm); }
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

enum class Command { Other, Calculate, Next, Back, Jump, NewAggregate, Precision };

struct Action {
    QString text;
    Command command = Command::Other;
    int argument = 0; // the pair of a jump, the factor of a precision item
    std::function<void()> run;
    bool bareSurfaceRightClick = false;
};

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

// Reports an action that never returns, then ends the process: the run
// cannot report it itself.
class HangWatch {
public:
    HangWatch() : thread_([this] { watch(); }) {}
    ~HangWatch() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    HangWatch(const HangWatch &) = delete;
    HangWatch &operator=(const HangWatch &) = delete;

    void begin(const QByteArray &report) {
        std::lock_guard lock(mutex_);
        report_ = report;
        started_ = std::chrono::steady_clock::now();
        running_ = true;
    }
    void end() {
        std::lock_guard lock(mutex_);
        running_ = false;
    }

private:
    void watch() {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            wake_.wait_for(lock, std::chrono::seconds(1));
            if (running_ && std::chrono::steady_clock::now() - started_ > kHangLimit) {
                std::fprintf(stderr, "MONKEY: an action did not return within %lld s\n%s\n",
                             static_cast<long long>(kHangLimit.count()), report_.constData());
                std::fflush(stderr);
                std::abort();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    QByteArray report_;
    std::chrono::steady_clock::time_point started_;
    bool running_ = false;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

private:
    std::optional<UiFixture> fixture;
    std::unique_ptr<TForm1> form;
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
    std::array<int, 7> commandCounts{};
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
        switch (uniform(0, 6)) {
        case 0:
        case 1:
            return plausibleNumber();
        case 2:
            return digits(uniform(1, 20));
        default:
            return odd.at(uniform(0, int(odd.size()) - 1));
        }
    }
    QString randomText() {
        switch (uniform(0, 9)) {
        case 0: { // a long text
            QString s;
            const QString piece = chance(50) ? digits(10) : fragment() + QLatin1Char('7');
            while (s.size() < 60)
                s += piece.isEmpty() ? QStringLiteral("1") : piece;
            return s.left(60);
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
    QList<QLineEdit *> mainEdits() const { return mainWidgets<QLineEdit>(); }
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

    Action keyAction() {
        struct Key {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            const char *name;
        };
        static const Key keys[] = {
            {Qt::Key_F1, Qt::NoModifier, "F1"},   {Qt::Key_F2, Qt::NoModifier, "F2"},
            {Qt::Key_F3, Qt::NoModifier, "F3"},   {Qt::Key_F4, Qt::NoModifier, "F4"},
            {Qt::Key_F5, Qt::NoModifier, "F5"},   {Qt::Key_F6, Qt::NoModifier, "F6"},
            {Qt::Key_F7, Qt::NoModifier, "F7"},   {Qt::Key_F8, Qt::NoModifier, "F8"},
            {Qt::Key_F9, Qt::NoModifier, "F9"},   {Qt::Key_F10, Qt::NoModifier, "F10"},
            {Qt::Key_F11, Qt::NoModifier, "F11"}, {Qt::Key_Home, Qt::NoModifier, "Home"},
            {Qt::Key_End, Qt::NoModifier, "End"}, {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
        };
        const Key &k = keys[uniform(0, int(std::size(keys)) - 1)];
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
        Action a;
        a.text = QStringLiteral("key %1 to %2").arg(QLatin1String(k.name), target->objectName());
        a.run = [target, k] { QTest::keyClick(target, k.key, k.modifiers); };
        // Keys reach the commands only inside the main window.
        if (target->window() == form.get()) {
            if (k.key == Qt::Key_F1)
                a.command = Command::Calculate;
            else if (k.key == Qt::Key_F5 && form->SpeedButton32->isEnabled())
                a.command = Command::Back;
            else if (k.key == Qt::Key_F6 && form->SpeedButton31->isEnabled())
                a.command = Command::Next;
            else if (k.key == Qt::Key_F8)
                a.command = Command::NewAggregate;
        }
        return a;
    }

    Action rightClickAction() {
        QWidget *surface = form->centralWidget();
        const QPoint p(uniform(0, surface->width() - 1), uniform(0, surface->height() - 1));
        const QPoint inWindow = surface->mapTo(form.get(), p);
        Action a;
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

    // Types text as key presses, Cyrillic letters included.
    static void typeKeys(QWidget *target, const QString &text) {
        for (const QChar c : text) {
            const char latin = c.toLatin1();
            const Qt::Key key = (c.unicode() < 0x80 && latin) ? Qt::Key(QTest::asciiToKey(latin))
                                                              : Qt::Key(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, target, key, QString(c), Qt::NoModifier);
        }
    }

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
                typeKeys(e, text);
            };
            break;
        default:
            a.text = QStringLiteral("type after %1 \"%2\"").arg(e->objectName(), text);
            a.run = [e, text] {
                e->setFocus();
                e->end(false);
                typeKeys(e, text);
            };
            break;
        }
        return a;
    }

    Action fillPairAction() {
        const QString z1 = QString::number(uniform(1, 120));
        const QString fr1 = chance(30) ? form->Edit2->text() : plausibleNumber();
        const QString z2 = QString::number(uniform(1, 120));
        const QString fm = chance(70) ? QStringLiteral("0") : plausibleNumber();
        Action a;
        a.text = QStringLiteral("enter pair %1").arg(PairTexts{z1, fr1, z2, fm}.describe());
        TForm1 *f = form.get();
        a.run = [f, z1, fr1, z2, fm] {
            f->Edit1->setText(z1);
            f->Edit2->setText(fr1);
            f->Edit3->setText(z2);
            f->Edit4->setText(fm);
        };
        return a;
    }

    // The user puts the coefficients of the modulation rows right again.
    Action coefficientsAction() {
        QStringList texts;
        for (std::size_t i = 0; i < 2 * calc::kModulation.size(); ++i)
            texts << (chance(70) ? QStringLiteral("1") : QString::number(uniform(0, 5)));
        Action a;
        a.text = QStringLiteral("enter coefficients ") + texts.join(QLatin1Char(' '));
        TForm1 *f = form.get();
        a.run = [f, texts] {
            int i = 0;
            for (const calc::ModulationSpec &row : calc::kModulation) {
                f->findChild<QLineEdit *>(QLatin1String(row.k1Edit))->setText(texts.at(i++));
                f->findChild<QLineEdit *>(QLatin1String(row.k2Edit))->setText(texts.at(i++));
            }
        };
        return a;
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
        if (chance(5)) {
            planAStep();
            return nextAction();
        }
        const int roll = uniform(0, 99);
        if (roll < 30)
            return clickAction();
        if (roll < 42)
            return menuAction();
        if (roll < 54)
            return keyAction();
        if (roll < 58)
            return rightClickAction();
        if (roll < 80)
            return typeAction();
        if (roll < 92)
            return fillPairAction();
        if (roll < 97)
            return coefficientsAction();
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
        case Command::Other:
            break;
        }
        deepestPair = std::max(deepestPair, model.current);
        if (a.command != Command::NewAggregate)
            for (const ModalSeen &s : seen)
                expect(s.objectName != QLatin1String("TForm7"),
                       "the confirmation of a new aggregate came up uninvited");
    }

    bool checkInvariants(const Action &a) {
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
        expect((form->pair.pairCalculated == 1) == model.calculated,
               QStringLiteral("the pair counts as %1calculated, expected %2")
                   .arg(form->pair.pairCalculated == 1 ? "" : "not ", yesNo(model.calculated)));
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

        Q_UNUSED(a);
        return failure.isEmpty();
    }

    bool step(const Action &a, HangWatch &watch) {
        const PairTexts before = shownPair();
        const QString fr2Before = form->Edit16->text();
        form7Answer = 0;
        log.push_back(QStringLiteral("#%1 %2").arg(actionNumber).arg(a.text));
        if (log.size() > std::size_t(kLogLength))
            log.pop_front();
        watch.begin(report());

        const Responder respond = [this](QWidget *modal) {
            if (modal->objectName() == QLatin1String("TForm7")) {
                form7Answer = chance(25) ? 1 : 2;
                pressButton(form7Answer == 1 ? "Button1" : "Button2")(modal);
                return;
            }
            pressButton()(modal);
        };
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
            entry += QStringLiteral(" -> ") + names.join(QLatin1Char(','));
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
        closePopups();

        follow(a, before, fr2Before, seen);
        return checkInvariants(a);
    }

    QByteArray settingsBytes() const {
        QFile f(fixture->workDir.filePath(QStringLiteral("VeviVerezoz.bmp")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
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
    void initTestCase() { previousHandler = qInstallMessageHandler(quietPlatformHandler); }
    void cleanupTestCase() { qInstallMessageHandler(previousHandler); }

    void init() {
        fixture.emplace();
        seed = quint32(environmentInt("MONKEY_SEED", kDefaultSeed));
        rng.seed(seed);
        form.reset(createWindows());
        about = form->findChild<TForm4 *>(QStringLiteral("TForm4"));
        variants = form->findChild<TForm5 *>(QStringLiteral("TForm5"));
        QVERIFY(about && variants);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() {
        form.reset();
        fixture.reset();
    }

    void random_actions_keep_the_window_consistent() {
        const int actions = environmentInt("MONKEY_ACTIONS", kDefaultActions);
        qInfo("monkey: MONKEY_SEED=%u MONKEY_ACTIONS=%d", seed, actions);
        QElapsedTimer total;
        total.start();
        {
            HangWatch watch;
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
