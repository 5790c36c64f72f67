// MachineSearchWindow, "Поиск по агрегату": explains a peak (or the spacing
// of two peaks) with every line of the machine at once, ranked. A non-modal,
// sizeable window; choosing a line brings its pair into the main window,
// calculated, as the pair items do.
#pragma once

#include "machine/identify_text.h"

#include <QWidget>

class MachineController;
class MatchTableModel;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;

class MachineSearchWindow : public QWidget {
    Q_OBJECT
public:
    MachineSearchWindow(MachineController *controller, QWidget *parent);

    // "Искать" (and Enter in any field): reads the inputs and the chain as the
    // main window holds it now, and fills the list, or says what is wrong.
    void search();
    // Brings the pair of result row `row` into the main window, calculated.
    void chooseRow(int row);

    // The inputs as they stand, for the core.
    machine::IdentifyInput input() const;
    void focusFrequency();

    QRadioButton *peakMode = nullptr;
    QRadioButton *spacingMode = nullptr;
    QLabel *frequencyLabel = nullptr;
    QLineEdit *frequencyEdit = nullptr;
    QComboBox *unitBox = nullptr;        // "Гц", "об/мин и CPM", "порядки"
    QComboBox *ordersShaftBox = nullptr; // "вала 1" ... "вала 10"
    QLineEdit *toleranceEdit = nullptr;
    QComboBox *toleranceUnitBox = nullptr; // Гц, %
    QSpinBox *maxHarmonicBox = nullptr;
    QComboBox *stepBox = nullptr; // 1, 0,5
    QSpinBox *maxSidebandBox = nullptr;
    QPushButton *searchButton = nullptr;
    QLabel *messageLabel = nullptr;
    QTableView *resultView = nullptr;
    MatchTableModel *model = nullptr;

private:
    QWidget *buildModeRow();
    QWidget *buildFrequencyRow();
    QWidget *buildLimitsRow();
    void buildResults();
    void modeChanged();
    void showMessage(const QString &text, bool error);

    MachineController *controller;
};
