// The main window's widgets: four regions laid out in client pixels, the
// repeated shapes (modulation rows, harmonic rows, keypad keys) built from
// tables.
#include "ui/main/Unit1.h"

#include "calc/rows.h"
#include "ui/kit/pictures.h"
#include "ui/kit/updown.h"
#include "ui/kit/widget_kit.h"
#include "ui/main/entry_widgets.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using kit::make;
namespace colour = kit::colour;

namespace {

// Column x positions of the modulation rows.
constexpr int kLeftColumn = 8, kMiddleColumn = 244, kRightColumn = 484;

struct ModulationRowLayout {
    calc::Entry row;
    QGroupBox *TForm1::*frame;
    const char *frameName;
    int x;
    int top;
};

// Where each row of calc::kRows sits; its texts and edits come from the row
// table and the entry-to-edit table.
const ModulationRowLayout kModulationRows[] = {
    {calc::Entry::FzPlusFr1, &TForm1::GroupBox3, "GroupBox3", kLeftColumn, 12},
    {calc::Entry::FzMinusFr1, &TForm1::GroupBox4, "GroupBox4", kLeftColumn, 46},
    {calc::Entry::FzPlusFr2, &TForm1::GroupBox5, "GroupBox5", kLeftColumn, 84},
    {calc::Entry::FzMinusFr2, &TForm1::GroupBox6, "GroupBox6", kLeftColumn, 116},
    {calc::Entry::Fr1TimesFr2, &TForm1::GroupBox7, "GroupBox7", kMiddleColumn, 12},
    {calc::Entry::Fr1PlusFr2, &TForm1::GroupBox14, "GroupBox14", kMiddleColumn, 66},
    {calc::Entry::FrDifference, &TForm1::GroupBox15, "GroupBox15", kMiddleColumn, 116},
    {calc::Entry::FmPlusFr1, &TForm1::GroupBox12, "GroupBox12", kRightColumn, 12},
    {calc::Entry::FmMinusFr1, &TForm1::GroupBox13, "GroupBox13", kRightColumn, 46},
    {calc::Entry::FmPlusFr2, &TForm1::GroupBox9, "GroupBox9", kRightColumn, 84},
    {calc::Entry::FmMinusFr2, &TForm1::GroupBox8, "GroupBox8", kRightColumn, 116},
};
static_assert(std::size(kModulationRows) == calc::kRowCount);

struct HarmonicRowLayout {
    calc::Entry base; // its five edits are the row's in calc::kHarmonicRows
    QFrame *TForm1::*panel;
    const char *panelName;
    int top;
    const char *caption;
};

const HarmonicRowLayout kHarmonicLayouts[] = {
    {calc::Entry::Fr1, &TForm1::Panel5, "Panel5", 40, "Оборотная частота 1-го колеса Fr1, Гц"},
    {calc::Entry::Fr2, &TForm1::Panel4, "Panel4", 92, "Оборотная частота 2-го колеса Fr2, Гц"},
    {calc::Entry::Fz, &TForm1::Panel1, "Panel1", 144, "Зубцовая частота  Fz, Гц"},
};
constexpr int kHarmonicX[5] = {6, 70, 142, 214, 278};
const char *const kHarmonicHeads[5] = {"1/3", "1/2", "1", "2", "3"};

struct KeyLayout {
    QToolButton *TForm1::*button;
    const char *name;
    const char *caption;
    int x;
    int y;
};

const KeyLayout kKeypad[] = {
    {&TForm1::SpeedButton12, "SpeedButton12", "7", 8, 48},
    {&TForm1::SpeedButton13, "SpeedButton13", "8", 36, 48},
    {&TForm1::SpeedButton15, "SpeedButton15", "9", 64, 48},
    {&TForm1::SpeedButton9, "SpeedButton9", "4", 8, 72},
    {&TForm1::SpeedButton10, "SpeedButton10", "5", 36, 72},
    {&TForm1::SpeedButton11, "SpeedButton11", "6", 64, 72},
    {&TForm1::SpeedButton17, "SpeedButton17", "1", 8, 96},
    {&TForm1::SpeedButton22, "SpeedButton22", "2", 36, 96},
    {&TForm1::SpeedButton8, "SpeedButton8", "3", 64, 96},
    {&TForm1::SpeedButton16, "SpeedButton16", "0", 8, 120},
    {&TForm1::SpeedButton18, "SpeedButton18", ",", 36, 120},
};

struct InputRowLayout {
    const char *caption;
    QToolButton *TForm1::*transfer;
    const char *transferName;
    const char *quantity;
    calc::Entry entry;
    const char *initialText;
    const char *unit;
};

const InputRowLayout kInputRows[] = {
    {"Число зубьев 1-го колеса", &TForm1::SpeedButton27, "SpeedButton27", "Z1", calc::Entry::Z1, "",
     "шт"},
    {"Оборотная  1-го колеса", &TForm1::SpeedButton28, "SpeedButton28", "Fr1", calc::Entry::Fr1,
     "0", "Гц"},
    {"Число зубьев 2-го колеса", &TForm1::SpeedButton29, "SpeedButton29", "Z2", calc::Entry::Z2,
     "0", "шт"},
    {"Промежуточная частота", &TForm1::SpeedButton30, "SpeedButton30", "Fm", calc::Entry::Fm, "0",
     "Гц"},
};

struct KeypadTransferLayout {
    QToolButton *TForm1::*button;
    const char *name;
    const char *caption;
};
const KeypadTransferLayout kKeypadTransfers[] = {
    {&TForm1::SpeedButton7, "SpeedButton7", "Z1"},
    {&TForm1::SpeedButton19, "SpeedButton19", "Fr1"},
    {&TForm1::SpeedButton20, "SpeedButton20", "Z2"},
    {&TForm1::SpeedButton21, "SpeedButton21", "Fm"},
};

struct FunctionKeyLayout {
    QToolButton *TForm1::*button;
    const char *name;
    const char *caption;
};
const FunctionKeyLayout kFunctionKeys[] = {
    {&TForm1::SpeedButton34, "SpeedButton34", "F1-вычислить"},
    {&TForm1::SpeedButton35, "SpeedButton35", "F2-искать"},
    {&TForm1::SpeedButton36, "SpeedButton36", "F4-калькулятор"},
    {&TForm1::SpeedButton37, "SpeedButton37", "F5-назад"},
    {&TForm1::SpeedButton40, "SpeedButton40", "F6-далее"},
    {&TForm1::SpeedButton42, "SpeedButton42", "F8-новый"},
    {&TForm1::SpeedButton41, "SpeedButton41", "F12-выход"},
};

QString text(const char *s) {
    return QString::fromUtf8(s);
}

// Most widgets use the surface's bold 11-pixel font and inherit it from
// their parent: a font of their own costs a second text layout each.
void useFont(QWidget *w, const QFont &font) {
    if (w->font() != font)
        w->setFont(font);
}

QLabel *label(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry,
              const QFont &font, const QColor &colour = colour::black) {
    auto *l = make<QLabel>(parent, name, geometry);
    useFont(l, font);
    l->setText(caption);
    kit::setColour(l, QPalette::WindowText, colour);
    return l;
}

QGroupBox *group(QWidget *parent, const QString &name, const QString &caption,
                 const QRect &geometry, const QColor &captionColour) {
    auto *g = make<QGroupBox>(parent, name, geometry);
    useFont(g, kit::sansFont(11, true));
    g->setTitle(caption);
    kit::setColour(g, QPalette::WindowText, captionColour);
    return g;
}

QLineEdit *edit(QWidget *parent, const QString &name, const QRect &geometry, const QString &initial,
                const QFont &font, const QColor &textColour = colour::black) {
    auto *e = make<QLineEdit>(parent, name, geometry);
    useFont(e, font);
    e->setText(initial);
    kit::setColour(e, QPalette::Text, textColour);
    // Not a tab stop unless the window's tab order takes it in.
    e->setFocusPolicy(Qt::ClickFocus);
    return e;
}

QLineEdit *resultEdit(QWidget *parent, const QString &name, const QRect &geometry,
                      const QFont &font, const QColor &textColour, const QColor &background) {
    QLineEdit *e = edit(parent, name, geometry, QString(), font, textColour);
    e->setReadOnly(true);
    kit::setColour(e, QPalette::Base, background);
    return e;
}

QLineEdit *hiddenState(QWidget *parent, const QString &name, const QString &initial) {
    auto *e = make<QLineEdit>(parent, name, QRect(0, 0, 20, 20));
    e->setText(initial);
    e->setFocusPolicy(Qt::NoFocus);
    e->hide();
    return e;
}

QToolButton *button(QWidget *parent, const QString &name, const QString &caption,
                    const QRect &geometry, const QColor &captionColour, bool flat,
                    const QFont &font = kit::sansFont(11, true)) {
    auto *b = make<QToolButton>(parent, name, geometry);
    useFont(b, font);
    b->setText(caption);
    b->setAutoRaise(flat);
    b->setFocusPolicy(Qt::NoFocus);
    kit::setColour(b, QPalette::ButtonText, captionColour);
    return b;
}

// The window's member that holds the edit of an entry.
template <std::size_t N>
QLineEdit *TForm1::*memberOf(const std::array<ui::EntryWidget, N> &table, calc::Entry e) {
    for (const ui::EntryWidget &w : table)
        if (w.entry == e)
            return w.edit;
    return nullptr;
}

} // namespace

// One modulation row: k1, the operator, k2, the operand and the result,
// named and labelled from the row table.
void TForm1::buildModulationRow(calc::Entry entry, QGroupBox *frame) {
    const calc::RowSpec &row = calc::rowOf(entry);
    const QFont bold11 = kit::sansFont(11, true);
    const QFont opFont = kit::sansFont(19, true);
    this->*memberOf(ui::kInputWidgets, row.k1) =
        edit(frame, ui::inputEditName(row.k1), {4, 9, 29, 22}, "1", bold11);
    this->*memberOf(ui::kInputWidgets, row.k2) =
        edit(frame, ui::inputEditName(row.k2), {86, 9, 29, 22}, "1", bold11);
    this->*memberOf(ui::kResultWidgets, entry) = resultEdit(
        frame, ui::resultEditName(entry), {163, 9, 58, 22}, bold11, colour::maroon, colour::white);
    const QString rowName = QString::fromLatin1(row.name);
    QLabel *op =
        label(frame, "LabelOp" + rowName, text(row.texts.operatorLabel), {35, 7, 50, 26}, opFont);
    QLabel *arg =
        label(frame, "LabelArg" + rowName, text(row.texts.operandLabel), {117, 7, 46, 26}, opFont);
    if (row.op == calc::RowOperator::Difference) {
        // The difference row: its two label pairs lie in the same places.
        const calc::RowTexts &turned = calc::kReversedDifferenceTexts;
        op->setObjectName("Label34");
        arg->setObjectName("Label35");
        Label34 = op;
        Label35 = arg;
        Label37 = label(frame, "Label37", text(turned.operatorLabel), op->geometry(), opFont);
        Label36 = label(frame, "Label36", text(turned.operandLabel), arg->geometry(), opFont);
        Label37->hide();
        Label36->hide();
    }
}

void TForm1::buildLayout() {
    surface->setFont(kit::sansFont(11, true));
    buildModulationRegion();
    buildResultRegion();
    buildInputRegion();
    buildKeypad();
    buildSearchControls();
    buildFunctionKeys();
    buildLookupTables();
}

// The eleven modulation rows.
void TForm1::buildModulationRegion() {
    // Region "Модуляционные частоты".
    GroupBox10 =
        group(surface, "GroupBox10", text("Модуляционные частоты"), {0, 0, 721, 161}, colour::red);
    for (const ModulationRowLayout &row : kModulationRows)
        buildModulationRow(row.row, this->*row.frame = make<QGroupBox>(GroupBox10, row.frameName,
                                                                       {row.x, row.top, 225, 36}));
}

// The harmonic rows and the gear ratio.
void TForm1::buildResultRegion() {
    const QFont bold11 = kit::sansFont(11, true);
    // Region "Результат".
    GroupBox2 = group(surface, "GroupBox2", text("Результат"), {0, 163, 353, 350}, colour::red);
    Panel3 = make<QFrame>(GroupBox2, "Panel3", {6, 16, 341, 20});
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Raised);
    for (int c = 0; c < 5; ++c) {
        QLabel *head = label(Panel3, QStringLiteral("LabelHead%1").arg(c + 1),
                             text(kHarmonicHeads[c]), {kHarmonicX[c] - 6, 2, 57, 16}, bold11);
        head->setAlignment(Qt::AlignCenter);
    }
    for (const HarmonicRowLayout &row : kHarmonicLayouts) {
        auto *panel = make<QFrame>(GroupBox2, row.panelName, {6, row.top, 341, 50});
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        this->*row.panel = panel;
        label(panel, QStringLiteral("LabelCaption") + row.panelName, text(row.caption),
              {6, 3, 330, 15}, bold11);
        const calc::HarmonicRowSpec &h = calc::harmonicRowOf(row.base);
        const calc::Entry columns[5] = {h.third, h.half, h.base, h.twice, h.thrice};
        for (int c = 0; c < 5; ++c) {
            const bool quantity = c == 2;
            const QRect geometry(kHarmonicX[c] - 6, quantity ? 20 : 22, 57, quantity ? 24 : 21);
            const char *name = ui::resultEditName(columns[c]);
            this->*memberOf(ui::kResultWidgets, columns[c]) =
                quantity
                    ? resultEdit(panel, name, geometry, kit::sansFont(13, true), colour::black,
                                 colour::white)
                    : resultEdit(panel, name, geometry, bold11, colour::maroon, colour::silver);
        }
    }
    GroupBox11 = make<QGroupBox>(GroupBox2, "GroupBox11", {6, 200, 341, 44});
    label(GroupBox11, "LabelGearRatio", text("Передаточное число i ="), {10, 12, 200, 22},
          kit::sansFont(16, true));
    Edit26 = resultEdit(GroupBox11, "Edit26", {216, 10, 116, 26}, kit::sansFont(16, true),
                        colour::yellow, colour::maroon);
    Edit26->setText("0");
}

// The pair number, its moves, the smaller wheel and the four inputs.
void TForm1::buildInputRegion() {
    const QFont bold11 = kit::sansFont(11, true);
    // Region "Исходнные данные".
    GroupBox1 =
        group(surface, "GroupBox1", text("Исходнные данные"), {358, 163, 363, 350}, colour::blue);
    Label45 =
        label(GroupBox1, "Label45", "1", {10, 16, 14, 20}, kit::sansFont(15, true), colour::blue);
    Label46 = label(GroupBox1, "Label46", text("- пара"), {26, 18, 50, 18}, bold11);
    SpeedButton32 =
        button(GroupBox1, "SpeedButton32", text("< Назад"), {170, 14, 70, 22}, colour::black, true);
    SpeedButton32->setToolTip(text("Предыдущая пара зацепления"));
    SpeedButton32->setEnabled(false);
    SpeedButton33 =
        button(GroupBox1, "SpeedButton33", QString(), {244, 14, 24, 22}, colour::black, true);
    SpeedButton33->setIcon(pictures::newAggregate());
    SpeedButton33->setToolTip(text("Новый агрегат"));
    SpeedButton31 =
        button(GroupBox1, "SpeedButton31", text("Далее >"), {272, 14, 70, 22}, colour::black, true);
    SpeedButton31->setToolTip(text("Следующая пара зацепления"));
    SpeedButton31->setEnabled(false);

    Label51 = label(GroupBox1, "Label51", text("Меньшее колесо      >"), {10, 40, 150, 20}, bold11);
    SpeedButton2 = button(GroupBox1, "SpeedButton2", text("Меньшее колесо     >"), {6, 38, 150, 22},
                          colour::black, true);
    SpeedButton2->hide();
    Edit5 = make<QLineEdit>(GroupBox1, "Edit5", {160, 36, 30, 26});
    Edit5->setText("1");
    Edit5->setReadOnly(true);
    Edit5->setFrame(false);
    Edit5->setFocusPolicy(Qt::NoFocus);
    useFont(Edit5, kit::serifFont(19, true));
    kit::setColour(Edit5, QPalette::Text, colour::red);
    kit::setColour(Edit5, QPalette::Base, palette().color(QPalette::Window));

    for (std::size_t i = 0; i < std::size(kInputRows); ++i) {
        const InputRowLayout &row = kInputRows[i];
        const int y = 64 + static_cast<int>(i) * 25;
        label(GroupBox1, QStringLiteral("LabelInput%1").arg(i + 1), text(row.caption),
              {8, y + 3, 158, 16}, bold11);
        this->*row.transfer =
            button(GroupBox1, row.transferName, row.quantity, {168, y, 32, 22}, colour::navy, true);
        label(GroupBox1, QStringLiteral("LabelEquals%1").arg(i + 1), "=", {203, y + 3, 10, 16},
              bold11);
        this->*memberOf(ui::kInputWidgets, row.entry) =
            edit(GroupBox1, ui::inputEditName(row.entry), {214, y, 101, 22}, text(row.initialText),
                 kit::sansFont(13, true));
        label(GroupBox1, QStringLiteral("LabelUnit%1").arg(i + 1), text(row.unit),
              {320, y + 3, 30, 16}, bold11);
    }
    Edit62 = hiddenState(GroupBox1, "Edit62", "1");
    Edit63 = hiddenState(GroupBox1, "Edit63", "1");
}

// The group "Калькулятор": the keypad and its transfer buttons.
void TForm1::buildKeypad() {
    // Group "Калькулятор": keypad and search controls.
    GroupBox17 =
        group(GroupBox1, "GroupBox17", text("Калькулятор"), {4, 168, 355, 178}, colour::maroon);
    SpeedButton43 =
        button(GroupBox17, "SpeedButton43", text("В"), {8, 18, 23, 22}, colour::green, false);
    SpeedButton43->setToolTip(text("Вернуть"));
    SpeedButton25 =
        button(GroupBox17, "SpeedButton25", text("С"), {36, 18, 23, 22}, colour::red, false);
    SpeedButton25->setToolTip(text("Сброс"));
    for (const KeyLayout &key : kKeypad)
        this->*key.button =
            button(GroupBox17, key.name, key.caption, {key.x, key.y, 23, 22}, colour::black, false);
    for (std::size_t i = 0; i < std::size(kKeypadTransfers); ++i) {
        const KeypadTransferLayout &t = kKeypadTransfers[i];
        this->*t.button = button(GroupBox17, t.name, t.caption,
                                 {107, 48 + static_cast<int>(i) * 24, 40, 22}, colour::navy, false);
    }
    SpeedButton1 = button(GroupBox17, "SpeedButton1", text("ВЫЧИСЛИТЬ"), {8, 146, 139, 26},
                          colour::maroon, false);
    SpeedButton1->setIcon(pictures::calculator());
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

// The entry field and the search controls of the group "Калькулятор".
void TForm1::buildSearchControls() {
    const QFont bold11 = kit::sansFont(11, true);
    Edit55 = edit(GroupBox17, "Edit55", {160, 16, 100, 22}, QString(), kit::sansFont(12, true),
                  colour::maroon);
    label(GroupBox17, "LabelPlus", "+", {263, 15, 8, 12}, bold11);
    label(GroupBox17, "LabelMinus", "-", {264, 24, 8, 12}, bold11);
    // Widened in manual search, the entry field lies over the sign labels;
    // the "+" stands low enough for the field to cover it whole.
    Edit55->raise();
    Edit58 = edit(GroupBox17, "Edit58", {272, 16, 39, 22}, "1", bold11);
    Label50 = label(GroupBox17, "Label50", text("Гц"), {314, 19, 16, 16}, bold11);
    SpeedButton38 =
        button(GroupBox17, "SpeedButton38", QString(), {332, 14, 16, 12}, colour::black, true);
    SpeedButton38->setIcon(pictures::triangleUp());
    SpeedButton38->setIconSize({12, 8});
    SpeedButton39 =
        button(GroupBox17, "SpeedButton39", QString(), {332, 27, 16, 12}, colour::black, true);
    SpeedButton39->setIcon(pictures::triangleDown());
    SpeedButton39->setIconSize({12, 8});

    GroupBox16 = group(GroupBox17, "GroupBox16", text("         Коэффициенты        "),
                       {160, 40, 190, 46}, colour::blue);
    SpeedButton14 = button(GroupBox16, "SpeedButton14", text("Искать по частоте"), {6, 16, 178, 24},
                           colour::black, false);
    const char *const coefficientCaptions[4] = {"Fz", "Fr1", "Fr2", "Fm"};
    QToolButton *TForm1::*const coefficientButtons[4] = {
        &TForm1::SpeedButton3, &TForm1::SpeedButton4, &TForm1::SpeedButton5, &TForm1::SpeedButton6};
    for (int i = 0; i < 4; ++i) {
        QToolButton *b =
            button(GroupBox16, QStringLiteral("SpeedButton%1").arg(i + 3), coefficientCaptions[i],
                   {6 + i * 45, 16, 43, 24}, colour::black, false);
        b->hide();
        this->*coefficientButtons[i] = b;
    }

    Label52 = label(GroupBox17, "Label52", text("шаг гармоник"), {160, 93, 100, 16}, bold11);
    Edit59 = edit(GroupBox17, "Edit59", {262, 90, 32, 21}, "1", bold11);
    Edit59->setReadOnly(true);
    SpeedButton26 =
        button(GroupBox17, "SpeedButton26", "<", {298, 90, 20, 21}, colour::black, false);
    Label49 = label(GroupBox17, "Label49", text("макс. гармоника"), {160, 115, 100, 16}, bold11);
    Edit61 = edit(GroupBox17, "Edit61", {262, 112, 32, 21}, "10", bold11);
    UpDown4 = make<UpDown>(GroupBox17, "UpDown4", {294, 112, 16, 21});
    UpDown4->setRange(0, 10);
    UpDown4->setPosition(10);
    UpDown4->setAssociate(Edit61);
    label(GroupBox17, "LabelMaxFrequency", text("макс. частота"), {160, 137, 100, 16}, bold11);
    Edit60 = edit(GroupBox17, "Edit60", {262, 134, 50, 21}, "1000", bold11);
    label(GroupBox17, "LabelMaxFrequencyUnit", text("Гц"), {316, 137, 20, 16}, bold11);
    SpeedButton23 = button(GroupBox17, "SpeedButton23", text("Ручной поиск"), {160, 156, 95, 18},
                           colour::blue, false);
    SpeedButton24 = button(GroupBox17, "SpeedButton24", text("варианты"), {258, 156, 90, 18},
                           colour::blue, false);
    Edit56 = hiddenState(GroupBox17, "Edit56", "0");
    Edit57 = hiddenState(GroupBox17, "Edit57", "1");
}

// The function-key panel at the bottom.
void TForm1::buildFunctionKeys() {
    // Region function keys.
    Panel2 = make<QFrame>(surface, "Panel2", {0, 515, 721, 23});
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const int keyWidth = 721 / static_cast<int>(std::size(kFunctionKeys));
    for (std::size_t i = 0; i < std::size(kFunctionKeys); ++i) {
        const FunctionKeyLayout &k = kFunctionKeys[i];
        this->*k.button = button(Panel2, k.name, text(k.caption),
                                 {2 + static_cast<int>(i) * keyWidth, 2, keyWidth - 2, 19},
                                 colour::blue, true, kit::sansFont(13, true));
    }
    SpeedButton37->setEnabled(false);
    SpeedButton40->setEnabled(false);
}

// The lookup arrays the handlers use and the keyboard order.
void TForm1::buildLookupTables() {
    // The tables the handlers use, from the one entry-to-edit map.
    for (std::size_t i = 0; i < ui::kInputWidgets.size(); ++i) {
        inputEdits[i] = this->*ui::kInputWidgets[i].edit;
        inputEditOf[static_cast<std::size_t>(ui::kInputWidgets[i].entry)] = inputEdits[i];
    }
    for (std::size_t i = 0; i < ui::kResultWidgets.size(); ++i) {
        displayEdits[i] = this->*ui::kResultWidgets[i].edit;
        resultEditOf[static_cast<std::size_t>(ui::kResultWidgets[i].entry)] = displayEdits[i];
    }
    transferButtons = {SpeedButton7,  SpeedButton19, SpeedButton20, SpeedButton21,
                       SpeedButton27, SpeedButton28, SpeedButton29, SpeedButton30};

    // Keyboard order: the four inputs, the entry field and the search parameters.
    QWidget *const tabOrder[] = {Edit1,  Edit2,  Edit3,  Edit4, Edit55,
                                 Edit58, Edit59, Edit60, Edit61};
    for (QWidget *w : tabOrder)
        w->setFocusPolicy(Qt::StrongFocus);
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}
