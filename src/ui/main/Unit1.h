// The main window: every input, result and command of the program sits on
// it. Construction and the command map live in Unit1.cpp and
// Unit1_layout.cpp; the calculation's handlers in Unit1_calc.cpp.
//
// Windows beyond the specified ones (the machine windows) use the small API
// at the end of the public part: they read the pairs through it, bring a
// pair or a whole aggregate through one function each, and learn of changes
// from the one signal pairsChanged. Nobody else writes the window's data.
#pragma once

#include "aggregate/navigation.h"
#include "calc/frequency_table.h"
#include "calc/smaller_wheel.h"
#include "entry/keypad.h"
#include "search/search_controls.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QAbstractButton;
class QAction;
class QActionGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QToolButton;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class UpDown;

// The secondary windows the main window shows; they are created after it.
struct SecondaryWindows {
    TForm2 *form2 = nullptr;
    TForm3 *form3 = nullptr;
    TForm4 *form4 = nullptr;
    TForm5 *form5 = nullptr;
    TForm6 *form6 = nullptr;
    TForm7 *form7 = nullptr;
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    void setSecondaryWindows(const SecondaryWindows &windows);

    // --- state owned by the window
    std::int32_t PrecisionFactor = 0;
    QString ProgramDir;
    calc::PairState pair;
    calc::SmallerWheelState wheel;
    aggregate::AggregateState Aggregate;   // the pair store, CurrentPair and the moves
    entry::KeypadState keypad;             // FreshEntry, KeypadTarget, LastEntry, the marks
    search::SearchControls searchControls; // automatic or manual search, the harmonic step

    // --- commands
    void SpeedButton1Click(); // calculate the pair
    void SpeedButton2Click(); // the smaller-wheel button
    void N7Click();           // the smaller-wheel mode
    void N0001Click();
    void N00001Click();
    void N000001Click();
    void N0000001Click();
    void N32Click();
    void FormMouseUp(const QPoint &clientPos);
    void N2Click(); // exit
    void FormCreate();
    void FormClose();
    void N33Click(); // load settings
    void N34Click(); // save settings
    void N25Click(); // resizable window
    void N30Click(); // fixed window
    void N17Click(); // start the external calculator
    void N4Click();  // About

    // pair navigation and the new aggregate
    void SpeedButton31Click(); // next pair
    void SpeedButton32Click(); // previous pair
    void N16Click();           // save step
    void jumpToPair(int j);    // N15Click ... N91Click
    void SpeedButton33Click(); // new aggregate

    // the keypad
    void keypadKey(QChar key);           // the digit keys and ","
    void SpeedButton25Click();           // reset "С"
    void transferTo(entry::Quantity q);  // the transfer buttons
    void inputEdited(entry::Quantity q); // Edit1Change ... Edit4Change
    void Edit55Change();
    void SpeedButton43Click();     // take back "В"
    void SpeedButton43MouseMove(); // its hint

    // the frequency search and its controls
    void SpeedButton14Click();        // search by frequency
    void SpeedButton23Click();        // manual / automatic search
    void SpeedButton24Click();        // variants
    void SpeedButton26Click();        // harmonic step
    void SpeedButton38Click();        // tolerance up
    void SpeedButton39Click();        // tolerance down
    void coefficientButton(int base); // SpeedButton3Click ... SpeedButton6Click: Fz, Fr1, Fr2, Fm

    // --- the API of the windows beyond the specified ones (Unit1_api.cpp)
    const aggregate::AggregateState &aggregateState() const { return Aggregate; }
    // The four input fields, as they stand.
    aggregate::GearPair shownPair() const;
    // The pair in the fields is the one last calculated, unchanged since.
    bool shownPairCalculated() const;
    std::int32_t precisionFactor() const { return PrecisionFactor; }
    // Stored pair j into the fields and calculated, as its pair item does;
    // the newest pair, not stored yet, calculated where it stands. False
    // (nothing done) when pair j is neither.
    bool bringPair(int j);
    // The same, then the combination k1·first ± k2·second into the
    // coefficient fields of its modulation row, calculated, so that the row
    // shows it.
    bool bringCombination(int j, calc::Entry row, double k1, double k2);
    // A whole aggregate in place (an opened file, a chain written back): the
    // store, the current pair, the moves and the pair items as `state` has
    // them, the fields loaded as a move loads them, then the calculation
    // when asked, and the pair counted as not calculated since it was loaded
    // when asked. The move sequence runs once, with one change signal.
    void replaceAggregate(const aggregate::AggregateState &state,
                          const std::optional<aggregate::GearPair> &fields, bool calculate,
                          bool clearCalculated);
    // A menu of the menu bar, put before "Справка".
    void addMenu(QMenu *menu);

signals:
    // Once after each command that changed the pairs, the input fields, the
    // aggregate or the precision; newAggregate after "Новый агрегат".
    void pairsChanged(bool newAggregate);

public:
    // --- the central surface and its regions
    QWidget *surface = nullptr;
    QGroupBox *GroupBox10 = nullptr, *GroupBox2 = nullptr, *GroupBox1 = nullptr;
    QFrame *Panel2 = nullptr;

    // modulation rows
    QGroupBox *GroupBox3 = nullptr, *GroupBox4 = nullptr, *GroupBox5 = nullptr,
              *GroupBox6 = nullptr, *GroupBox7 = nullptr, *GroupBox14 = nullptr,
              *GroupBox15 = nullptr, *GroupBox12 = nullptr, *GroupBox13 = nullptr,
              *GroupBox9 = nullptr, *GroupBox8 = nullptr;
    QLineEdit *Edit27 = nullptr, *Edit29 = nullptr, *Edit31 = nullptr;
    QLineEdit *Edit7 = nullptr, *Edit12 = nullptr, *Edit13 = nullptr;
    QLineEdit *Edit14 = nullptr, *Edit15 = nullptr, *Edit28 = nullptr;
    QLineEdit *Edit30 = nullptr, *Edit32 = nullptr, *Edit33 = nullptr;
    QLineEdit *Edit34 = nullptr, *Edit35 = nullptr, *Edit36 = nullptr;
    QLineEdit *Edit49 = nullptr, *Edit50 = nullptr, *Edit51 = nullptr;
    QLineEdit *Edit52 = nullptr, *Edit53 = nullptr, *Edit54 = nullptr;
    QLineEdit *Edit43 = nullptr, *Edit44 = nullptr, *Edit45 = nullptr;
    QLineEdit *Edit46 = nullptr, *Edit47 = nullptr, *Edit48 = nullptr;
    QLineEdit *Edit40 = nullptr, *Edit41 = nullptr, *Edit42 = nullptr;
    QLineEdit *Edit37 = nullptr, *Edit38 = nullptr, *Edit39 = nullptr;
    QLabel *Label34 = nullptr, *Label35 = nullptr, *Label36 = nullptr, *Label37 = nullptr;

    // results
    QFrame *Panel3 = nullptr, *Panel5 = nullptr, *Panel4 = nullptr, *Panel1 = nullptr;
    QLineEdit *Edit25 = nullptr, *Edit24 = nullptr, *Edit21 = nullptr, *Edit22 = nullptr,
              *Edit23 = nullptr;
    QLineEdit *Edit20 = nullptr, *Edit19 = nullptr, *Edit16 = nullptr, *Edit17 = nullptr,
              *Edit18 = nullptr;
    QLineEdit *Edit11 = nullptr, *Edit10 = nullptr, *Edit6 = nullptr, *Edit8 = nullptr,
              *Edit9 = nullptr;
    QGroupBox *GroupBox11 = nullptr;
    QLineEdit *Edit26 = nullptr;

    // input data
    QLabel *Label45 = nullptr, *Label46 = nullptr, *Label51 = nullptr;
    QLineEdit *Edit5 = nullptr;
    QToolButton *SpeedButton2 = nullptr, *SpeedButton32 = nullptr, *SpeedButton33 = nullptr,
                *SpeedButton31 = nullptr;
    QToolButton *SpeedButton27 = nullptr, *SpeedButton28 = nullptr, *SpeedButton29 = nullptr,
                *SpeedButton30 = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr;
    QLineEdit *Edit62 = nullptr, *Edit63 = nullptr;

    // the keypad group
    QGroupBox *GroupBox17 = nullptr, *GroupBox16 = nullptr;
    QToolButton *SpeedButton43 = nullptr, *SpeedButton25 = nullptr;
    QToolButton *SpeedButton16 = nullptr, *SpeedButton17 = nullptr, *SpeedButton22 = nullptr,
                *SpeedButton8 = nullptr, *SpeedButton9 = nullptr, *SpeedButton10 = nullptr,
                *SpeedButton11 = nullptr, *SpeedButton12 = nullptr, *SpeedButton13 = nullptr,
                *SpeedButton15 = nullptr, *SpeedButton18 = nullptr;
    QToolButton *SpeedButton7 = nullptr, *SpeedButton19 = nullptr, *SpeedButton20 = nullptr,
                *SpeedButton21 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QLineEdit *Edit55 = nullptr, *Edit58 = nullptr, *Edit59 = nullptr, *Edit60 = nullptr,
              *Edit61 = nullptr;
    QLabel *Label50 = nullptr, *Label52 = nullptr, *Label49 = nullptr;
    QToolButton *SpeedButton38 = nullptr, *SpeedButton39 = nullptr;
    QToolButton *SpeedButton14 = nullptr, *SpeedButton3 = nullptr, *SpeedButton4 = nullptr,
                *SpeedButton5 = nullptr, *SpeedButton6 = nullptr;
    QToolButton *SpeedButton26 = nullptr, *SpeedButton23 = nullptr, *SpeedButton24 = nullptr;
    UpDown *UpDown4 = nullptr;
    QLineEdit *Edit56 = nullptr, *Edit57 = nullptr;

    // the function-key panel
    QToolButton *SpeedButton34 = nullptr, *SpeedButton35 = nullptr, *SpeedButton36 = nullptr,
                *SpeedButton37 = nullptr, *SpeedButton40 = nullptr, *SpeedButton42 = nullptr,
                *SpeedButton41 = nullptr;

    // main menu
    QMenuBar *MainMenu1 = nullptr;
    QAction *N1 = nullptr, *N17 = nullptr, *N2 = nullptr;
    QAction *N5 = nullptr, *N6 = nullptr, *N0001 = nullptr, *N00001 = nullptr, *N000001 = nullptr,
            *N0000001 = nullptr, *N32 = nullptr;
    QAction *N9 = nullptr, *N7 = nullptr;
    QAction *N12 = nullptr, *N25 = nullptr, *N30 = nullptr;
    QAction *N33 = nullptr, *N34 = nullptr;
    QAction *N13 = nullptr, *N4 = nullptr;

    // popup menu
    QMenu *PopupMenu1 = nullptr;
    QAction *N8 = nullptr, *N20 = nullptr, *N18 = nullptr, *N11 = nullptr, *N14 = nullptr;
    QAction *N15 = nullptr, *N21 = nullptr, *N31 = nullptr, *N41 = nullptr, *N51 = nullptr,
            *N61 = nullptr, *N71 = nullptr, *N81 = nullptr, *N91 = nullptr, *N16 = nullptr;
    QAction *N10 = nullptr, *N22 = nullptr, *N23 = nullptr, *N26 = nullptr, *N27 = nullptr,
            *N28 = nullptr, *N29 = nullptr;

    // The 26 input edits in the order of the captured texts, and the 27
    // result edits in the order they are written.
    std::array<QLineEdit *, calc::kInputCount> inputEdits{};
    std::array<QLineEdit *, calc::kDisplayCount> displayEdits{};
    // The same edits indexed by entry (nullptr where an entry has none).
    std::array<QLineEdit *, calc::kEntryCount> inputEditOf{};
    std::array<QLineEdit *, calc::kEntryCount> resultEditOf{};
    // The eight transfer buttons: the keypad's four, then the input rows'.
    std::array<QToolButton *, 8> transferButtons{};
    // The nine pair items "1 - пара" ... "9 - пара".
    std::array<QAction *, aggregate::kPairCount> pairItems{};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void buildModulationRegion();
    void buildResultRegion();
    void buildInputRegion();
    void buildKeypad();
    void buildSearchControls();
    void buildFunctionKeys();
    void buildLookupTables();
    void buildModulationRow(calc::Entry entry, QGroupBox *frame);
    void buildMenus();
    void installPopupMenu();
    void buildCommandMap();
    void bindParameterisedCommands();
    void installKeyFilter();
    void finishLayout();

    // The command map: every trigger of a command runs its one handler.
    void bind(const std::function<void()> &handler,
              std::initializer_list<QAbstractButton *> buttons,
              std::initializer_list<QAction *> items);
    // The first item in dispatch order whose key matches; disabled ones swallow the key.
    bool dispatchKey(int key, Qt::KeyboardModifiers mods, bool run);

    void setPrecision(QAction *marked);
    void markPrecision(std::int32_t factor);
    void showNavigation();
    void loadPair(const aggregate::GearPair &pair);
    void startPair(const aggregate::PairStart &start);
    void renderState();
    void showMarks();
    void setFreshEntry();
    QLineEdit *inputEdit(entry::Quantity q) const;
    void stepTolerance(bool up);
    void fixClientSize();
    void showSmallerWheelState();
    void showInputNotice();
    // A command's change of the pairs: signalled once, when the outermost
    // command ends (at once outside a command, as when the user types).
    void noteChange(bool newAggregate = false);
    void flushChange();
    friend class CommandScope;

    SecondaryWindows windows;
    QActionGroup *precisionItems = nullptr; // the precision items, each with its factor
    // Items that carry a key, in the order a key press is offered to them:
    // the popup menu first, then the main menu.
    QList<QAction *> keyedItems;
    int commandDepth = 0;
    bool changePending = false;
    bool newAggregatePending = false;
};
