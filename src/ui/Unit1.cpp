// The main window's construction, its menus and the command map: which
// button, menu item and key runs which handler, and where the popup menu
// opens.
#include "ui/Unit1.h"

#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"
#include "ui/Unit7.h"
#include "ui/accessibility.h"
#include "ui/fit_hints.h"
#include "ui/pictures.h"
#include "ui/widget_kit.h"
#include "ui/window_frame.h"
#include "ui/window_keys.h"

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

namespace {
QAction *item(QMenu *menu, const char *name, const char *caption,
              const QKeySequence &key = QKeySequence()) {
    auto *a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) {
        a->setShortcut(key);
        // The window's own key dispatch runs the item; Qt's shortcut only
        // shows the key in the menu.
        a->setShortcutContext(Qt::WidgetShortcut);
    }
    return a;
}

QAction *submenu(QMenu *parent, const char *name, const char *caption, QMenu **created) {
    *created = parent->addMenu(QString::fromUtf8(caption));
    QAction *a = (*created)->menuAction();
    a->setObjectName(QString::fromLatin1(name));
    (*created)->setObjectName(QString::fromLatin1(name) + QStringLiteral("Menu"));
    return a;
}

QAction *checkable(QAction *a, bool checked) {
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}
} // namespace

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
    installMachineMenu();
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
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName("MainMenu1");
    setMenuBar(MainMenu1);

    QMenu *file = nullptr, *settings = nullptr, *precision = nullptr, *smaller = nullptr,
          *size = nullptr, *help = nullptr;
    file = MainMenu1->addMenu(QStringLiteral("Файл"));
    N1 = file->menuAction();
    N1->setObjectName("N1");
    N17 = item(file, "N17", "Калькулятор", Qt::Key_F4);
    file->addSeparator();
    N2 = item(file, "N2", "Выход", Qt::Key_F12);

    settings = MainMenu1->addMenu(QStringLiteral("Установки"));
    N5 = settings->menuAction();
    N5->setObjectName("N5");
    N6 = submenu(settings, "N6", "Точность вычисления", &precision);
    // Each precision item carries its factor; the group only collects them
    // (the items set their marks themselves, as the precision rule says).
    precisionItems = new QActionGroup(this);
    precisionItems->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    const auto precisionItem = [&](const char *name, const char *caption, int factor) {
        QAction *a = checkable(item(precision, name, caption), factor == 1);
        a->setData(factor);
        precisionItems->addAction(a);
        return a;
    };
    N0001 = precisionItem("N0001", "0.00", 100);
    N00001 = precisionItem("N00001", "0.000", 1000);
    N000001 = precisionItem("N000001", "0.0000", 10000);
    N0000001 = precisionItem("N0000001", "0.00000", 100000);
    N32 = precisionItem("N32", "не округлять", 1);
    N9 = submenu(settings, "N9", "меньшее колесо", &smaller);
    N7 = item(smaller, "N7", "Определять самостоятельно");
    N12 = submenu(settings, "N12", "Размер окна", &size);
    N25 = checkable(item(size, "N25", "Изменяемый"), false);
    N30 = checkable(item(size, "N30", "Неизменяемый"), true);
    N30->setEnabled(false);
    N33 = item(settings, "N33", "Загрузка установок");
    N33->setVisible(false);
    N34 = item(settings, "N34", "Сохранение установок");
    N34->setVisible(false);

    help = MainMenu1->addMenu(QStringLiteral("Справка"));
    N13 = help->menuAction();
    N13->setObjectName("N13");
    N4 = item(help, "N4", "О программе");

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    N8 = item(PopupMenu1, "N8", "ВЫЧИСЛИТЬ", Qt::Key_F1);
    N20 = item(PopupMenu1, "N20", "Искать", Qt::Key_F2);
    N18 = item(PopupMenu1, "N18", "Калькулятор", Qt::Key_F4);
    PopupMenu1->addSeparator();
    N11 = item(PopupMenu1, "N11", "Новый агрегат", Qt::Key_F8);
    QMenu *pairs = nullptr;
    N14 = submenu(PopupMenu1, "N14", "Зацепление", &pairs);
    N15 = item(pairs, "N15", "1 - пара");
    N21 = item(pairs, "N21", "2 - пара");
    N31 = item(pairs, "N31", "3 - пара");
    N41 = item(pairs, "N41", "4 - пара");
    N51 = item(pairs, "N51", "5 - пара");
    N61 = item(pairs, "N61", "6 - пара");
    N71 = item(pairs, "N71", "7 - пара");
    N81 = item(pairs, "N81", "8 - пара");
    N91 = item(pairs, "N91", "9 - пара");
    N16 = item(pairs, "N16", "Сохранение");
    pairItems = {N15, N21, N31, N41, N51, N61, N71, N81, N91};
    for (QAction *a : pairs->actions())
        a->setVisible(false);
    PopupMenu1->addSeparator();
    N10 = item(PopupMenu1, "N10", "Выход");
    N22 = item(PopupMenu1, "N22", "Назад", Qt::Key_F5);
    N23 = item(PopupMenu1, "N23", "Далее", Qt::Key_F6);
    N26 = item(PopupMenu1, "N26", "Отмена", QKeySequence(Qt::CTRL | Qt::Key_Z));
    N27 = item(PopupMenu1, "N27", "больше", Qt::Key_Home);
    N28 = item(PopupMenu1, "N28", "меньше", Qt::Key_End);
    N29 = item(PopupMenu1, "N29", "Варианты", Qt::Key_F3);
    for (QAction *a : {N22, N23, N26, N27, N28, N29})
        a->setVisible(false);

    // A key press is offered to the popup menu first, then to the main menu.
    for (QMenu *m : {PopupMenu1, pairs, file, settings, precision, smaller, size, help})
        for (QAction *a : m->actions())
            if (!a->shortcut().isEmpty())
                keyedItems.append(a);

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
    // Every command ends with the mirrors of the state written afresh.
    const auto command = [this, handler] {
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
    bind([this] { SpeedButton1Click(); }, {SpeedButton1, SpeedButton34}, {N8});
    bind([this] { SpeedButton2Click(); }, {SpeedButton2}, {});
    bind([this] { N7Click(); }, {}, {N7});
    bind([this] { N0001Click(); }, {}, {N0001});
    bind([this] { N00001Click(); }, {}, {N00001});
    bind([this] { N000001Click(); }, {}, {N000001});
    bind([this] { N0000001Click(); }, {}, {N0000001});
    bind([this] { N32Click(); }, {}, {N32});
    bind([this] { N2Click(); }, {SpeedButton41}, {N2, N10});
    bind([this] { N33Click(); }, {}, {N33});
    bind([this] { N34Click(); }, {}, {N34});
    bind([this] { N25Click(); }, {}, {N25});
    bind([this] { N30Click(); }, {}, {N30});
    bind([this] { N17Click(); }, {SpeedButton36}, {N17, N18});
    bind([this] { N4Click(); }, {}, {N4});

    bind([this] { SpeedButton31Click(); }, {SpeedButton31, SpeedButton40}, {});
    bind([this] { SpeedButton32Click(); }, {SpeedButton32, SpeedButton37}, {});
    // The keys of the moves act only while their buttons do.
    bind(
        [this] {
            if (SpeedButton31->isEnabled())
                SpeedButton31Click();
        },
        {}, {N23});
    bind(
        [this] {
            if (SpeedButton32->isEnabled())
                SpeedButton32Click();
        },
        {}, {N22});
    bind([this] { N16Click(); }, {}, {N16});
    for (std::size_t i = 0; i < pairItems.size(); ++i)
        bind([this, j = int(i) + 1] { jumpToPair(j); }, {}, {pairItems[i]});
    bind([this] { SpeedButton33Click(); }, {SpeedButton33, SpeedButton42}, {N11});

    // The keypad: the keys append their character, the transfers move the entry.
    const std::pair<QToolButton *, char> keys[] = {
        {SpeedButton16, '0'}, {SpeedButton17, '1'}, {SpeedButton22, '2'}, {SpeedButton8, '3'},
        {SpeedButton9, '4'},  {SpeedButton10, '5'}, {SpeedButton11, '6'}, {SpeedButton12, '7'},
        {SpeedButton13, '8'}, {SpeedButton15, '9'}, {SpeedButton18, ','}};
    for (const auto &[button, key] : keys)
        bind([this, key = QChar::fromLatin1(key)] { keypadKey(key); }, {button}, {});
    bind([this] { SpeedButton25Click(); }, {SpeedButton25}, {N26});
    const entry::Quantity quantities[] = {entry::Quantity::Z1, entry::Quantity::Fr1,
                                          entry::Quantity::Z2, entry::Quantity::Fm};
    for (std::size_t i = 0; i < 4; ++i) {
        const entry::Quantity q = quantities[i];
        bind([this, q] { transferTo(q); }, {transferButtons[i], transferButtons[i + 4]}, {});
        connect(inputEdit(q), &QLineEdit::textChanged, this, [this, q] { inputEdited(q); });
    }
    connect(Edit55, &QLineEdit::textChanged, this, [this] { Edit55Change(); });
    bind([this] { SpeedButton43Click(); }, {SpeedButton43}, {});

    // The search and its controls.
    bind([this] { SpeedButton14Click(); }, {SpeedButton14, SpeedButton35}, {N20});
    bind([this] { SpeedButton23Click(); }, {SpeedButton23}, {});
    bind([this] { SpeedButton24Click(); }, {SpeedButton24}, {});
    bind(
        [this] {
            if (SpeedButton24->isEnabled())
                SpeedButton24Click();
        },
        {}, {N29});
    bind([this] { SpeedButton26Click(); }, {SpeedButton26}, {});
    bind([this] { SpeedButton38Click(); }, {SpeedButton38}, {N27});
    bind([this] { SpeedButton39Click(); }, {SpeedButton39}, {N28});
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
