// TrainWindow: "Сводная таблица агрегата", the whole gear train at a glance.
// A view of the machine document: it shows the tables, the machine's name,
// notes and shaft names, the known speed and the unit, and sends each edit
// to its controller (MachineController), which keeps the document; it
// decides and computes nothing itself.
#pragma once

#include "machine/document.h"
#include "machine/stage_chain.h"
#include "machine/train_table.h"

#include <QDateTime>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TrainTableModel;
class TrainTableView;

class TrainWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrainWindow(QWidget *parent = nullptr);

    static QString baseTitle() { return QStringLiteral("Сводная таблица агрегата"); }

    // The tables; the status line says what the tables show and why the
    // chain cannot be written when it cannot.
    void showTables(const machine::TrainTables &tables, const QString &status, bool canWrite);
    // The stages in chain order, as the stage list shows them: which rows
    // are pairs (changed in the main window) and which the stages beside.
    void showChain(const std::vector<machine::ChainEntry> &chain);
    // The document's name, notes, unit and known speed; the fields the user
    // is typing in are left alone when they already agree.
    void showDocument(const machine::MachineDocument &document);
    // "Сводная таблица агрегата — file.json (/its/folder) *": the file's name
    // and folder when there is one, the mark " *" while there are unsaved
    // changes.
    void showFile(const QString &path, bool modified);
    // The one-line notice of unsaved work an earlier run left (an invalid
    // time: none).
    void showRecovery(const QDateTime &savedAt, const QString &machineName);
    // The shaft choices offer the shafts the machine has (at least the one a
    // known speed names).
    void offerShafts(int shafts);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // The window's own keys (Ctrl+E, Ctrl+Shift+C) are not taken by a text
    // field for its editing (on X11 Ctrl+E moves to the end of the line).
    bool eventFilter(QObject *watched, QEvent *event) override;

public:
    QLineEdit *nameEdit = nullptr;
    QPlainTextEdit *notesEdit = nullptr;
    QComboBox *unitBox = nullptr;        // "Гц", "об/мин (CPM)", "порядки"
    QComboBox *ordersShaftBox = nullptr; // "вала 1" ... "вала 10"
    QComboBox *referenceShaftBox = nullptr;
    QLineEdit *speedEdit = nullptr;
    QComboBox *speedUnitBox = nullptr;   // "Гц", "об/мин"
    QPushButton *writeButton = nullptr;  // "Записать Fr1 в пары"
    QPushButton *exportButton = nullptr; // "Экспорт…", Ctrl+E in the window
    QPushButton *copyButton = nullptr; // "Копировать всё", Ctrl+Shift+C in the window
    QLabel *statusLabel = nullptr;
    QLabel *notesLimitLabel = nullptr; // says that the notes take no more
    QWidget *recoveryRow = nullptr;    // the notice of unsaved work, with its buttons
    QLabel *recoveryLabel = nullptr;
    QPushButton *recoverButton = nullptr;
    QPushButton *discardButton = nullptr;
    TrainTableView *pairsView = nullptr;
    TrainTableView *shaftsView = nullptr;
    QLabel *totalLabel = nullptr;
    TrainTableModel *pairsModel = nullptr;
    TrainTableModel *shaftsModel = nullptr;
    // The stages and bearings, a tab each: the chain with its buttons, the
    // planetary stages, the belts, the bearings with their buttons.
    QTabWidget *componentTabs = nullptr;
    TrainTableView *stagesView = nullptr;
    TrainTableView *planetaryView = nullptr;
    TrainTableView *beltsView = nullptr;
    TrainTableView *bearingsView = nullptr;
    TrainTableModel *stagesModel = nullptr;
    TrainTableModel *planetaryModel = nullptr;
    TrainTableModel *beltsModel = nullptr;
    TrainTableModel *bearingsModel = nullptr;
    QPushButton *planetaryButton = nullptr; // "Планетарная ступень…"
    QPushButton *beltButton = nullptr;      // "Ремённая передача…"
    QPushButton *editStageButton = nullptr;
    QPushButton *removeStageButton = nullptr;
    QPushButton *upButton = nullptr;
    QPushButton *downButton = nullptr;
    QPushButton *addBearingButton = nullptr;
    QPushButton *editBearingButton = nullptr;
    QPushButton *removeBearingButton = nullptr;

signals:
    void nameEdited(const QString &name);
    void notesEdited(const QString &notes);
    void unitChosen(const machine::UnitChoice &unit);
    void knownSpeedEdited(const machine::ReferenceSpeed &known);
    void shaftNameEdited(int shaft, const QString &name);
    void writeRequested();
    void exportRequested();
    void copyRequested();
    void recoverRequested();
    void discardRequested();
    // A new stage after the chosen one (0: at the end); a stage beside the
    // pairs by its index among them.
    void planetaryRequested(int afterShaft);
    void beltRequested(int afterShaft);
    void stageEditRequested(int extraIndex);
    void stageRemoveRequested(int extraIndex);
    void stageMoveRequested(int extraIndex, int direction);
    void bearingAddRequested();
    void bearingEditRequested(int index);
    void bearingRemoveRequested(int index);

private:
    QWidget *buildDocumentRow();
    QWidget *buildUnitRow();
    QWidget *buildReferenceRow();
    QWidget *buildRecoveryRow();
    void buildTables(class QVBoxLayout *layout);
    QWidget *buildButtonRow();
    QWidget *buildStagesTab();
    QWidget *buildBearingsTab();
    // The chosen stage row as a chain entry, none when nothing is chosen.
    const machine::ChainEntry *chosenStage() const;
    int chosenBearing() const; // -1: none
    void enableStageButtons();
    std::vector<machine::ChainEntry> chain;
    machine::UnitChoice chosenUnit() const;
    machine::ReferenceSpeed typedSpeed() const;
    // Notes longer than the file keeps are refused where they were typed or
    // pasted: what does not fit is taken out again.
    void keepNotesWithinLimit();
    int notesChangeEnd = -1;        // where the last change of the notes ended
    QList<QKeySequence> windowKeys; // the keys of the window's own actions
};
