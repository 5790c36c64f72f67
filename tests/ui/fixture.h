// The shared fixture of the ui tests.
//
//   ScopedWorkDir       a fresh temporary working directory (the program writes its
//                       settings file there), which is also the user's data and
//                       configuration folder (XDG_DATA_HOME, XDG_CONFIG_HOME: the recovery
//                       file); the old ones are restored on destruction. Outside it those
//                       folders are a temporary folder of the test process, never the
//                       real home.
//   closeModalsDuring   runs an action and closes every modal window that comes up
//                       meanwhile, returning what was seen:
//                           const auto seen = closeModalsDuring([&] { form->Button1->click(); });
//                           QCOMPARE(seen.size(), 1);
//                           QCOMPARE(seen[0].objectName, "TForm3");
//                           QCOMPARE(seen[0].texts, QStringList{"Вводите данные ..."});
//                       An action that must show nothing: QVERIFY2(seen.isEmpty(), describe(seen)).
//   ModalSeen           one showing: window name, caption, the label texts the user can
//                       see (visible and not covered), the focused widget, the frame.
//                       A modal window of the program whose label would read its text as
//                       markup fails the test that shows it (Qt's own file dialog and the
//                       questions it asks by itself, such as "… уже существует", aside).
//   Responder           what to do with a modal once recorded: pressButton() (the named,
//                       the default or the first push button), pressKey(Qt::Key_Return),
//                       or choosing(path) (a file dialog takes the path, others a button).
//                       A responder that leaves the window open is backed up: the watcher
//                       presses the button itself, then rejects, then hides, and marks the
//                       showing closedByFallback. No test waits on a modal window.
//   UiFixture           a working directory plus a guard for the whole test: a modal
//                       window outside closeModalsDuring fails the test and is closed.
//                       Hold one per test function (e.g. std::optional set in init(),
//                       reset in cleanup()).
//
// Watchers nest; only the innermost one acts, so closeModalsDuring inside a guarded test
// takes over the windows it expects.
//
// Below them, what several tests expect the program to show and read back:
//   kUnmarkedNavy, kMarkedBlue, kTextNavy, kListMaroon, kListYellow   its colours
//   kTextA, kTextB, kSmallerWheelText, kCalculatorMissingText          its notice texts
//   activePopupMenu, visiblePopupMenu   the popup menu that is open
//   fileBytes                           a file's bytes, "<missing>" without it
//
// The started main window (createWindows(), shown) is in main_window_fixture.h; this
// header stays free of the program's own headers.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace uitest {

// Running a test binary by hand must not open windows on the desktop either.
inline const bool offscreenByDefault = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

// The user's folders of the program, pointed at `folder`; returns what they were.
inline QList<QByteArray> pointUserFolders(const QString &folder) {
    QList<QByteArray> previous;
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME"}) {
        previous << qgetenv(name);
        qputenv(name, QFile::encodeName(QDir(folder).filePath(QString::fromLatin1(name))));
    }
    return previous;
}
inline void restoreUserFolders(const QList<QByteArray> &previous) {
    int i = 0;
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME"})
        qputenv(name, previous.value(i++));
}

// No test writes into the real home: a process-wide temporary folder until a
// ScopedWorkDir gives each test its own.
inline const bool userFoldersOfTheProcess = [] {
    static QTemporaryDir folder;
    pointUserFolders(folder.path());
    return true;
}();

class ScopedWorkDir {
public:
    ScopedWorkDir() : previous_(QDir::currentPath()) {
        if (!dir_.isValid() || !QDir::setCurrent(dir_.path()))
            qFatal("cannot enter a temporary working directory: %s",
                   qPrintable(dir_.errorString()));
        previousFolders_ = pointUserFolders(dir_.path());
    }
    ~ScopedWorkDir() {
        restoreUserFolders(previousFolders_);
        QDir::setCurrent(previous_);
    }
    ScopedWorkDir(const ScopedWorkDir &) = delete;
    ScopedWorkDir &operator=(const ScopedWorkDir &) = delete;

    QString path() const { return dir_.path(); }
    QString filePath(const QString &name) const { return dir_.filePath(name); }

private:
    QString previous_;
    QTemporaryDir dir_;
    QList<QByteArray> previousFolders_;
};

struct ModalSeen {
    QString objectName;
    QString title;
    QStringList texts; // texts of the labels the user sees, in creation order
    QString focus;     // objectName of the focused widget, empty if focus is elsewhere
    QRect frame;       // frame geometry on the screen
    bool closedByFallback = false;
    QStringList markupLabels; // texts of labels that would be read as HTML
};

// Labels that are visible and on top at their centre: a label under an opaque
// sibling frame is shown but not seen.
inline QStringList seenTexts(QWidget *window) {
    QStringList texts;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const QPoint centre = label->mapTo(window, label->rect().center());
        QWidget *top = window->childAt(centre);
        if (top && (top == label || label->isAncestorOf(top)))
            texts << label->text();
    }
    return texts;
}

inline ModalSeen snapshot(QWidget *window) {
    ModalSeen seen;
    seen.objectName = window->objectName();
    seen.title = window->windowTitle();
    seen.texts = seenTexts(window);
    QWidget *focus = QApplication::focusWidget();
    if (focus && (focus == window || window->isAncestorOf(focus)))
        seen.focus = focus->objectName();
    seen.frame = window->frameGeometry();
    const bool qtFileDialog =
        qobject_cast<QFileDialog *>(window) || qobject_cast<QFileDialog *>(window->parentWidget());
    if (!qtFileDialog)
        for (QLabel *label : window->findChildren<QLabel *>())
            if (label->textFormat() != Qt::PlainText && !label->text().isEmpty())
                seen.markupLabels << label->text();
    return seen;
}

inline QString describe(const ModalSeen &seen) {
    return QStringLiteral("%1 \"%2\" [%3]")
        .arg(seen.objectName, seen.title, seen.texts.join(QStringLiteral(" | ")));
}

inline QByteArray describe(const QList<ModalSeen> &seen) {
    QStringList parts;
    for (const ModalSeen &s : seen)
        parts << describe(s);
    return (QStringLiteral("modal windows seen: ") + parts.join(QStringLiteral("; "))).toUtf8();
}

using Responder = std::function<void(QWidget *modal)>;

// Clicks the push button with that objectName; without a name the default
// button, else the first visible, enabled one.
inline Responder pressButton(const QString &name = {}) {
    return [name](QWidget *modal) {
        const auto buttons = modal->findChildren<QPushButton *>();
        auto usable = [](QPushButton *b) { return b->isVisible() && b->isEnabled(); };
        auto pick = [&]() -> QPushButton * {
            if (!name.isEmpty())
                return modal->findChild<QPushButton *>(name);
            const auto def = std::find_if(buttons.begin(), buttons.end(), [&](QPushButton *b) {
                return usable(b) && b->isDefault();
            });
            if (def != buttons.end())
                return *def;
            const auto first = std::find_if(buttons.begin(), buttons.end(), usable);
            return first != buttons.end() ? *first : nullptr;
        };
        if (QPushButton *button = pick())
            button->click();
    };
}

// Types a key where the keyboard goes: the modal's focused widget, else the modal.
inline Responder pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return [key, modifiers](QWidget *modal) {
        QWidget *focus = QApplication::focusWidget();
        QWidget *target = focus && modal->isAncestorOf(focus) ? focus : modal;
        QTest::keyClick(target, key, modifiers);
    };
}

// A file dialog gets the path typed into its name field and its own accept
// (which checks the name as for a user); any other modal the named button.
inline Responder choosing(const QString &path, const QString &otherButton = {}) {
    return [path, otherButton](QWidget *modal) {
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(path);
            static_cast<QDialog *>(dialog)->accept();
            return;
        }
        pressButton(otherButton)(modal);
    };
}

// Records and closes the modal windows that come up while it lives (see the top).
class ModalWatcher : public QObject {
public:
    explicit ModalWatcher(Responder respond = pressButton(),
                          std::function<void(const ModalSeen &)> onSeen = {})
        : respond_(std::move(respond)), onSeen_(std::move(onSeen)) {
        watchers().push_back(this);
        connect(&poll_, &QTimer::timeout, this, &ModalWatcher::check);
        poll_.start(10);
    }
    ~ModalWatcher() override {
        auto &all = watchers();
        all.erase(std::remove(all.begin(), all.end(), this), all.end());
        for (const Handling &h : open_)
            if (h.window)
                h.window->removeEventFilter(this);
    }
    ModalWatcher(const ModalWatcher &) = delete;
    ModalWatcher &operator=(const ModalWatcher &) = delete;

    const QList<ModalSeen> &seen() const { return seen_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        // Once hidden, the same window coming up again is a new showing.
        if (event->type() == QEvent::Hide) {
            const auto it = std::find_if(open_.begin(), open_.end(),
                                         [&](const Handling &h) { return h.window == watched; });
            if (it != open_.end()) {
                watched->removeEventFilter(this);
                open_.erase(it);
            }
        }
        return false;
    }

private:
    // A recorded window that is still up; a window whose response opened
    // another one is waiting under it and must not be recorded again.
    struct Handling {
        QPointer<QWidget> window;
        qsizetype record = 0;
        int ticks = 0;
    };

    static std::vector<ModalWatcher *> &watchers() {
        static std::vector<ModalWatcher *> all;
        return all;
    }

    static constexpr int activationTicks = 50; // 0.5 s for a new window to take the focus
    static constexpr int patienceTicks = 30;   // 0.3 s per step before the next fallback

    void check() {
        if (watchers().empty() || watchers().back() != this)
            return;
        std::erase_if(open_, [](const Handling &h) { return h.window.isNull(); });
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        const auto it = std::find_if(open_.begin(), open_.end(),
                                     [&](const Handling &h) { return h.window == modal; });
        if (it == open_.end()) {
            if (!modal->isActiveWindow() && ++waited_ < activationTicks)
                return;
            begin(modal);
        } else if (++it->ticks % patienceTicks == 0) {
            seen_[it->record].closedByFallback = true;
            fallBack(modal, it->ticks / patienceTicks);
        }
    }

    void begin(QWidget *modal) {
        waited_ = 0;
        open_.push_back({modal, seen_.size(), 0});
        modal->installEventFilter(this);
        seen_ << snapshot(modal);
        if (!seen_.last().markupLabels.isEmpty())
            QTest::qFail(
                qPrintable(QStringLiteral("a text shown as markup in ") + describe(seen_.last())),
                __FILE__, __LINE__);
        if (onSeen_)
            onSeen_(seen_.last());
        // Queued, so that a window opened by the response is polled by this
        // timer from inside its own exec().
        QTimer::singleShot(0, modal, [respond = respond_, modal] { respond(modal); });
    }

    static void fallBack(QWidget *modal, int step) {
        if (step == 1)
            QTimer::singleShot(0, modal, [modal] { pressButton()(modal); });
        else if (auto *dialog = qobject_cast<QDialog *>(modal); dialog && step == 2)
            dialog->reject();
        else
            modal->hide();
    }

    Responder respond_;
    std::function<void(const ModalSeen &)> onSeen_;
    QTimer poll_;
    std::vector<Handling> open_;
    int waited_ = 0;
    QList<ModalSeen> seen_;
};

inline QList<ModalSeen> closeModalsDuring(const std::function<void()> &action,
                                          const Responder &respond = pressButton()) {
    ModalWatcher watcher(respond);
    action();
    return watcher.seen();
}

// A modal window that no closeModalsDuring expects: recorded as a failure of
// the running test, then closed by its button.
class UnexpectedModalGuard {
public:
    UnexpectedModalGuard()
        : watcher_(pressButton(), [](const ModalSeen &seen) {
              QTest::qFail(qPrintable(QStringLiteral("unexpected modal window ") + describe(seen)),
                           __FILE__, __LINE__);
          }) {}

private:
    ModalWatcher watcher_;
};

struct UiFixture {
    ScopedWorkDir workDir;
    UnexpectedModalGuard guard;
};

// A transfer button's caption: navy while its box holds what the last calculation used,
// blue (marked) once a value has been typed or moved into the box since.
inline const QColor kUnmarkedNavy(0, 0, 128);
inline const QColor kMarkedBlue(0, 0, 255);
// The same navy in the bold texts of the notices and the captions of the list window.
inline const QColor kTextNavy(0, 0, 128);
// The lists of the list window: yellow text on a maroon ground.
inline const QColor kListMaroon(128, 0, 0);
inline const QColor kListYellow(255, 255, 0);

// The notices' texts: TForm3's text A (refused input) and text B (a search on inputs
// changed since the calculation), TForm2's and TForm6's single texts.
inline const QString kTextA = QStringLiteral("Вводите данные для расчета правильно");
inline const QString kTextB = QStringLiteral("Не был выполнен расчет с новыми данными");
inline const QString kSmallerWheelText =
    QStringLiteral("У меньшего колеса число зубьев всгда меньше чем у большего");
inline const QString kCalculatorMissingText =
    QStringLiteral("Файл  Calc.exe в директории программы не найден");

// The menu that has the keyboard and mouse grab, if any.
inline QMenu *activePopupMenu() {
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

// Any menu shown as a window of its own, grabbing or not.
inline QMenu *visiblePopupMenu() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *menu = qobject_cast<QMenu *>(w); menu && menu->isVisible())
            return menu;
    return nullptr;
}

inline QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace uitest
