// MachineSearchWindow, "Поиск по агрегату": explains a peak (or the spacing
// of two peaks) with every line of the machine at once, ranked; lines of
// equal value share a row. A non-modal, sizeable window that follows the
// user's font; choosing a row brings its pair into the main window,
// calculated, with the combination in its modulation row where the main
// window has one. The list follows the machine: it is searched again when
// the machine changes, and cleared when a search is refused.
#pragma once

#include "machine/identify_text.h"

#include <QWidget>

class MachineController;
class MatchTableModel;
class QCheckBox;
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

    // "Искать" (and Enter in any field): reads the inputs and the machine as
    // it stands now, and fills the list, or says what is wrong.
    void search();
    // Brings the pair of result row `row` into the main window, calculated.
    void chooseRow(int row);
    // The machine changed: the list is searched again, or stays empty.
    void machineChanged();

    // The inputs as they stand, for the core.
    machine::IdentifyInput input() const;
    void focusFrequency();
    // The spacing of two peaks, in Hz, into the spacing mode (from another
    // window, such as the spectrum's sideband cursor); the search runs.
    void searchSpacing(double hertz);

    QRadioButton *peakMode = nullptr;
    QRadioButton *spacingMode = nullptr;
    QLabel *frequencyLabel = nullptr;
    QLineEdit *frequencyEdit = nullptr;
    QComboBox *unitBox = nullptr;        // "Гц", "об/мин (CPM)", "порядки"
    QComboBox *ordersShaftBox = nullptr; // "вала 1" … as many as the machine has
    QLineEdit *toleranceEdit = nullptr;
    QComboBox *toleranceUnitBox = nullptr; // the peak's unit, "%", "линий спектра"
    QLineEdit *resolutionEdit = nullptr;
    QLabel *resolutionUnit = nullptr;
    QSpinBox *maxHarmonicBox = nullptr;
    QComboBox *stepBox = nullptr; // 1, 0,5
    QSpinBox *maxSidebandBox = nullptr;
    QCheckBox *allShaftsBox = nullptr;
    QCheckBox *intermodulationBox = nullptr;
    QPushButton *searchButton = nullptr;
    QLabel *messageLabel = nullptr;
    QTableView *resultView = nullptr;
    MatchTableModel *model = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildModeRow();
    QWidget *buildFrequencyRow();
    QWidget *buildLimitsRow();
    void buildResults();
    void modeChanged();
    void unitChanged();
    bool runSearch(bool quiet);
    void showMessage(const QString &text, bool error);

    MachineController *controller;
    bool listed = false; // the list holds the result of the inputs as they are
};
