// The main window's construction, its menus and the command map: which
// button, menu item and key runs which handler, and where the popup menu
// opens.
#include "ui/main/Unit1.h"

#include "calc/number_text.h"
#include "ui/dialogs/Unit2.h"
#include "ui/dialogs/Unit3.h"
#include "ui/dialogs/Unit4.h"
#include "ui/dialogs/Unit5.h"
#include "ui/dialogs/Unit7.h"
#include "ui/kit/fit_hints.h"
#include "ui/kit/menu_rows.h"
#include "ui/kit/pictures.h"
#include "ui/kit/widget_kit.h"
#include "ui/kit/window_frame.h"
#include "ui/kit/window_keys.h"
#include "ui/main/command_scope.h"
#include "ui/main/main_window_names.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

TForm1::TForm1(QWidget *parent) : QMainWindow(parent) {
    setObjectName("TForm1");
    setWindowTitle(QStringLiteral("Частоты зубчатых передач"));
    setWindowIcon(pictures::windowIcon());
    setFont(kit::sansFont(11));
    // Before the layout: the indicator's background copies the window's.
    kit::useLightPalette(this);
    surface = new QWidget(this);
    surface->setObjectName("surface");
    setCentralWidget(surface);

    buildLayout();
    buildMenus();
    buildCommandMap();
    installKeyFilter();
    finishLayout();
    renderState();

    // Fixed single border: system menu and minimise box, no maximise box.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    fixClientSize();
    windowFrame::centreOnFirstShowing(this);
    Edit1->setFocus();
    FormCreate();
}

TForm1::~TForm1() = default;

// What the layout tables give besides the widgets: names for a screen
// reader, hints for values too long for their boxes, the menu keys.
void TForm1::finishLayout() {
    kit::useLightPalette(this);
    accessibility::nameMainWindow(*this);
    QList<QLineEdit *> narrowBoxes(displayEdits.begin(), displayEdits.end());
    narrowBoxes.append(QList<QLineEdit *>(inputEdits.begin() + calc::InFm + 1, inputEdits.end()));
    fitHints::watch(narrowBoxes);
    windowKeys::installMenuKeys(this, MainMenu1);
}

void TForm1::setSecondaryWindows(const SecondaryWindows &w) {
    windows = w;
    // The function keys work in the non-modal windows as they do here.
    for (QWidget *window :
         {static_cast<QWidget *>(windows.form4), static_cast<QWidget *>(windows.form5)})
        if (window)
            windowKeys::forwardFunctionKeys(window, this);
    if (TForm7 *confirm = windows.form7) {
        // "Продолжить": the reset runs while the dialog is still open.
        connect(confirm->Button1, &QPushButton::clicked, this, [this, confirm] {
            Aggregate.NewAggregateConfirmed = 1;
            SpeedButton33->click();
            confirm->accept();
        });
        connect(confirm->Button2, &QPushButton::clicked, confirm, &QDialog::reject);
    }
}

void TForm1::buildMenus() {
    using Row = menus::Row<TForm1>;
    using menus::Checkable, menus::Checked, menus::Disabled, menus::Grouped, menus::Hidden;
    using menus::Item, menus::Separator, menus::Submenu;
    constexpr const auto &precision = calc::kPrecisionSettings;
    static_assert(precision.size() == 5 && precision[4].factor == 1, "four roundings, then none");
    static constexpr Row bar[] = {
        {0, Submenu, &TForm1::N1, "N1", "Файл"},
        {1, Item, &TForm1::N17, "N17", "Калькулятор", Qt::Key_F4},
        {1, Separator},
        {1, Item, &TForm1::N2, "N2", "Выход", Qt::Key_F12},
        {0, Submenu, &TForm1::N5, "N5", "Установки"},
        {1, Submenu, &TForm1::N6, "N6", "Точность вычисления"},
        // Each precision item carries its factor; both come from the core's table.
        {2,
         Item,
         &TForm1::N0001,
         "N0001",
         precision[0].caption,
         {},
         Checkable | Grouped,
         precision[0].factor},
        {2,
         Item,
         &TForm1::N00001,
         "N00001",
         precision[1].caption,
         {},
         Checkable | Grouped,
         precision[1].factor},
        {2,
         Item,
         &TForm1::N000001,
         "N000001",
         precision[2].caption,
         {},
         Checkable | Grouped,
         precision[2].factor},
        {2,
         Item,
         &TForm1::N0000001,
         "N0000001",
         precision[3].caption,
         {},
         Checkable | Grouped,
         precision[3].factor},
        {2,
         Item,
         &TForm1::N32,
         "N32",
         precision[4].caption,
         {},
         Checked | Grouped,
         precision[4].factor},
        {1, Submenu, &TForm1::N9, "N9", "меньшее колесо"},
        {2, Item, &TForm1::N7, "N7", "Определять самостоятельно"},
        {1, Submenu, &TForm1::N12, "N12", "Размер окна"},
        {2, Item, &TForm1::N25, "N25", "Изменяемый", {}, Checkable},
        {2, Item, &TForm1::N30, "N30", "Неизменяемый", {}, Checked | Disabled},
        {1, Item, &TForm1::N33, "N33", "Загрузка установок", {}, Hidden},
        {1, Item, &TForm1::N34, "N34", "Сохранение установок", {}, Hidden},
        {0, Submenu, &TForm1::N13, "N13", "Справка"},
        {1, Item, &TForm1::N4, "N4", "О программе"},
    };
    static constexpr Row popup[] = {
        {0, Item, &TForm1::N8, "N8", "ВЫЧИСЛИТЬ", Qt::Key_F1},
        {0, Item, &TForm1::N20, "N20", "Искать", Qt::Key_F2},
        {0, Item, &TForm1::N18, "N18", "Калькулятор", Qt::Key_F4},
        {0, Separator},
        {0, Item, &TForm1::N11, "N11", "Новый агрегат", Qt::Key_F8},
        {0, Submenu, &TForm1::N14, "N14", "Зацепление"},
        {1, Item, &TForm1::N15, "N15", "1 - пара", {}, Hidden},
        {1, Item, &TForm1::N21, "N21", "2 - пара", {}, Hidden},
        {1, Item, &TForm1::N31, "N31", "3 - пара", {}, Hidden},
        {1, Item, &TForm1::N41, "N41", "4 - пара", {}, Hidden},
        {1, Item, &TForm1::N51, "N51", "5 - пара", {}, Hidden},
        {1, Item, &TForm1::N61, "N61", "6 - пара", {}, Hidden},
        {1, Item, &TForm1::N71, "N71", "7 - пара", {}, Hidden},
        {1, Item, &TForm1::N81, "N81", "8 - пара", {}, Hidden},
        {1, Item, &TForm1::N91, "N91", "9 - пара", {}, Hidden},
        {1, Item, &TForm1::N16, "N16", "Сохранение", {}, Hidden},
        {0, Separator},
        {0, Item, &TForm1::N10, "N10", "Выход"},
        {0, Item, &TForm1::N22, "N22", "Назад", Qt::Key_F5, Hidden},
        {0, Item, &TForm1::N23, "N23", "Далее", Qt::Key_F6, Hidden},
        {0, Item, &TForm1::N26, "N26", "Отмена", Qt::CTRL | Qt::Key_Z, Hidden},
        {0, Item, &TForm1::N27, "N27", "больше", Qt::Key_Home, Hidden},
        {0, Item, &TForm1::N28, "N28", "меньше", Qt::Key_End, Hidden},
        {0, Item, &TForm1::N29, "N29", "Варианты", Qt::Key_F3, Hidden},
    };

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName("MainMenu1");
    setMenuBar(MainMenu1);
    // The group only collects the precision items: they set their marks
    // themselves, as the precision rule says.
    precisionItems = new QActionGroup(this);
    precisionItems->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    // The window's own key dispatch runs the items, the popup menu's first;
    // Qt's shortcut only shows the key in the menu.
    const QList<QAction *> barKeyed =
        menus::build<TForm1>(this, MainMenu1, bar, Qt::WidgetShortcut, precisionItems);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    keyedItems = menus::build<TForm1>(this, PopupMenu1, popup, Qt::WidgetShortcut) + barKeyed;
    pairItems = {N15, N21, N31, N41, N51, N61, N71, N81, N91};
    installPopupMenu();
}

void TForm1::installPopupMenu() {
    // The popup menu over the groups, the input edits, the entry field and the
    // search parameters; the result and coefficient edits keep the standard
    // edit menu, the function-key panel has none.
    QWidget *const withPopup[] = {
        GroupBox10, GroupBox2, GroupBox1,  GroupBox17, GroupBox16, GroupBox3,  GroupBox4, GroupBox5,
        GroupBox6,  GroupBox7, GroupBox14, GroupBox15, GroupBox12, GroupBox13, GroupBox9, GroupBox8,
        GroupBox11, Panel3,    Panel5,     Panel4,     Panel1,     Edit1,      Edit2,     Edit3,
        Edit4,      Edit5,     Edit55,     Edit58,     Edit59,     Edit60,     Edit61};
    for (QWidget *w : withPopup) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint &pos) { PopupMenu1->popup(w->mapToGlobal(pos)); });
    }
    Panel2->setContextMenuPolicy(Qt::PreventContextMenu);
    surface->setContextMenuPolicy(Qt::PreventContextMenu);
}

void TForm1::bind(const std::function<void()> &handler,
                  std::initializer_list<QAbstractButton *> buttons,
                  std::initializer_list<QAction *> items) {
    // Every command ends with the mirrors of the state written afresh, and
    // with one change signal for all its steps.
    const auto command = [this, handler] {
        CommandScope scope(*this);
        handler();
        renderState();
    };
    for (QAbstractButton *b : buttons)
        connect(b, &QAbstractButton::clicked, this, command);
    for (QAction *a : items)
        connect(a, &QAction::triggered, this, command);
}

void TForm1::renderState() {
    // The hidden edits mirror the state the core owns; nothing reads them.
    const std::pair<QLineEdit *, QString> mirrors[] = {
        {Edit56, keypad.FreshEntry ? QStringLiteral("1") : QStringLiteral("0")},
        {Edit57, searchControls.modeText()},
        {Edit62, QString::number(Aggregate.CurrentPair)},
        {Edit63, wheel.mode},
    };
    for (const auto &[edit, text] : mirrors)
        if (edit->text() != text)
            edit->setText(text);
}

void TForm1::buildCommandMap() {
    // A command: its handler, the buttons and items that run it, and the
    // button whose state it follows (the keys of the moves and of the
    // variants act only while their buttons do).
    struct Command {
        void (TForm1::*handler)();
        std::array<QToolButton * TForm1::*, 2> buttons{};
        std::array<QAction * TForm1::*, 2> items{};
        QToolButton *TForm1::*whileEnabled = nullptr;
    };
    using T = TForm1;
    static constexpr Command commands[] = {
        {&T::SpeedButton1Click, {&T::SpeedButton1, &T::SpeedButton34}, {&T::N8}},
        {&T::SpeedButton2Click, {&T::SpeedButton2}},
        {&T::N7Click, {}, {&T::N7}},
        {&T::N0001Click, {}, {&T::N0001}},
        {&T::N00001Click, {}, {&T::N00001}},
        {&T::N000001Click, {}, {&T::N000001}},
        {&T::N0000001Click, {}, {&T::N0000001}},
        {&T::N32Click, {}, {&T::N32}},
        {&T::N2Click, {&T::SpeedButton41}, {&T::N2, &T::N10}},
        {&T::N33Click, {}, {&T::N33}},
        {&T::N34Click, {}, {&T::N34}},
        {&T::N25Click, {}, {&T::N25}},
        {&T::N30Click, {}, {&T::N30}},
        {&T::N17Click, {&T::SpeedButton36}, {&T::N17, &T::N18}},
        {&T::N4Click, {}, {&T::N4}},
        // The moves along the aggregate.
        {&T::SpeedButton31Click, {&T::SpeedButton31, &T::SpeedButton40}},
        {&T::SpeedButton32Click, {&T::SpeedButton32, &T::SpeedButton37}},
        {&T::SpeedButton31Click, {}, {&T::N23}, &T::SpeedButton31},
        {&T::SpeedButton32Click, {}, {&T::N22}, &T::SpeedButton32},
        {&T::N16Click, {}, {&T::N16}},
        {&T::SpeedButton33Click, {&T::SpeedButton33, &T::SpeedButton42}, {&T::N11}},
        // The keypad's reset and take-back.
        {&T::SpeedButton25Click, {&T::SpeedButton25}, {&T::N26}},
        {&T::SpeedButton43Click, {&T::SpeedButton43}},
        // The search and its controls.
        {&T::SpeedButton14Click, {&T::SpeedButton14, &T::SpeedButton35}, {&T::N20}},
        {&T::SpeedButton23Click, {&T::SpeedButton23}},
        {&T::SpeedButton24Click, {&T::SpeedButton24}},
        {&T::SpeedButton24Click, {}, {&T::N29}, &T::SpeedButton24},
        {&T::SpeedButton26Click, {&T::SpeedButton26}},
        {&T::SpeedButton38Click, {&T::SpeedButton38}, {&T::N27}},
        {&T::SpeedButton39Click, {&T::SpeedButton39}, {&T::N28}},
    };
    for (const Command &c : commands) {
        const auto handler = c.handler;
        QToolButton *const follows = c.whileEnabled ? this->*c.whileEnabled : nullptr;
        const std::function<void()> run = [this, handler, follows] {
            if (!follows || follows->isEnabled())
                (this->*handler)();
        };
        for (QToolButton *TForm1::*b : c.buttons)
            if (b)
                bind(run, {this->*b}, {});
        for (QAction *TForm1::*i : c.items)
            if (i)
                bind(run, {}, {this->*i});
    }
    bindParameterisedCommands();
}

void TForm1::bindParameterisedCommands() {
    for (std::size_t i = 0; i < pairItems.size(); ++i)
        bind([this, j = int(i) + 1] { jumpToPair(j); }, {}, {pairItems[i]});
    // The keypad: the keys append their character, the transfers move the entry.
    const std::pair<QToolButton *, char> keys[] = {
        {SpeedButton16, '0'}, {SpeedButton17, '1'}, {SpeedButton22, '2'}, {SpeedButton8, '3'},
        {SpeedButton9, '4'},  {SpeedButton10, '5'}, {SpeedButton11, '6'}, {SpeedButton12, '7'},
        {SpeedButton13, '8'}, {SpeedButton15, '9'}, {SpeedButton18, ','}};
    for (const auto &[button, key] : keys)
        bind([this, key = QChar::fromLatin1(key)] { keypadKey(key); }, {button}, {});
    const entry::Quantity quantities[] = {entry::Quantity::Z1, entry::Quantity::Fr1,
                                          entry::Quantity::Z2, entry::Quantity::Fm};
    for (std::size_t i = 0; i < 4; ++i) {
        const entry::Quantity q = quantities[i];
        bind([this, q] { transferTo(q); }, {transferButtons[i], transferButtons[i + 4]}, {});
        connect(inputEdit(q), &QLineEdit::textChanged, this, [this, q] {
            inputEdited(q);
            noteChange();
        });
    }
    connect(Edit55, &QLineEdit::textChanged, this, [this] { Edit55Change(); });
    QToolButton *const coefficientButtons[] = {SpeedButton3, SpeedButton4, SpeedButton5,
                                               SpeedButton6};
    for (int base = 0; base < 4; ++base)
        bind([this, base] { coefficientButton(base); }, {coefficientButtons[base]}, {});
}

void TForm1::N2Click() {
    // The main window has no objection of its own: the close always goes ahead.
    close();
}

void TForm1::installKeyFilter() {
    installEventFilter(this);
    for (QWidget *w : findChildren<QWidget *>())
        if (!qobject_cast<QMenu *>(w))
            w->installEventFilter(this);
}

bool TForm1::dispatchKey(int key, Qt::KeyboardModifiers mods, bool run) {
    const QKeySequence pressed(QKeyCombination(mods & ~Qt::KeypadModifier, Qt::Key(key)));
    for (QAction *a : keyedItems) {
        if (a->shortcut() != pressed)
            continue;
        // A hidden item's key works like a visible one's; a disabled item's
        // key does nothing, and nothing else gets the key either. Qt counts
        // a hidden action as disabled, but trigger() refuses only one that
        // was disabled explicitly, which is the rule wanted here.
        if (run)
            a->trigger();
        return true;
    }
    return false;
}

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Claim the mapped keys before an edit does (Home, End, Ctrl+Z).
        auto *k = static_cast<QKeyEvent *>(event);
        if (dispatchKey(k->key(), k->modifiers(), false)) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        auto *k = static_cast<QKeyEvent *>(event);
        if (dispatchKey(k->key(), k->modifiers(), true))
            return true;
        break;
    }
    case QEvent::Enter:
    case QEvent::MouseMove:
    case QEvent::ToolTip:
        // The hint of "В" names the entry it would give back.
        if (watched == SpeedButton43)
            SpeedButton43MouseMove();
        break;
    case QEvent::MouseButtonRelease:
        if (watched == surface) {
            auto *m = static_cast<QMouseEvent *>(event);
            const QPoint pos = m->position().toPoint();
            // Only the window's own surface: releases over a child reach here
            // only when the child let them through.
            if (m->button() == Qt::RightButton && surface->childAt(pos) == nullptr) {
                FormMouseUp(pos);
                return true;
            }
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormMouseUp(const QPoint &clientPos) {
    PopupMenu1->popup(surface->mapToGlobal(clientPos));
}
