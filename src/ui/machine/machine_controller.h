// MachineController: the machine document and the windows that show it.
//
// It owns the document (name, notes, shaft names, the known speed, the unit
// of the tables), the file it came from and the machine windows, made when
// first asked for. It reads the pairs through the main window's API, brings
// pairs in through it, and follows its one change signal; the windows are
// views of the document and of the train it gives. The menu "Агрегат" and
// its items run its commands: the tables, the search, the machine file, the
// export and copy, and the recovery of unsaved work.
#pragma once

#include "machine/document.h"
#include "machine/lines.h"
#include "machine/machine_file.h"
#include "machine/recovery.h"
#include "machine/stage_chain.h"
#include "machine/table_export.h"
#include "machine/train.h"
#include "machine/train_table.h"
#include "settings/user_preferences.h"
#include "ui/machine/spectrum_module.h"

#include <QFileDialog>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>

class QAction;
struct BearingPlace;
class QMenu;
class MachineSearchWindow;
class TForm1;
class TrainWindow;

class MachineController : public QObject {
    Q_OBJECT
public:
    // Puts the menu "Агрегат" into the main window's menu bar.
    explicit MachineController(TForm1 *form);

    QMenu *menu = nullptr; // "Агрегат", between "Установки" and "Справка"
    QAction *tableAction = nullptr;    // "Сводная таблица", F9
    QAction *searchAction = nullptr;   // "Поиск по агрегату", F7
    QAction *spectrumAction = nullptr; // "Спектр…", F11
    QAction *openAction = nullptr;     // "Открыть…", Ctrl+O
    QAction *saveAction = nullptr;     // "Сохранить", Ctrl+S
    QAction *saveAsAction = nullptr;   // "Сохранить как…", Ctrl+Shift+S
    QAction *exportAction = nullptr;   // "Экспорт таблицы…"
    QAction *copyAction = nullptr;     // "Копировать таблицу"
    QAction *recoverAction = nullptr; // "Восстановить несохранённое", while there is any
    QAction *recentMenuAction = nullptr; // "Последние файлы", a submenu of up to nine

    // The windows are made when first asked for.
    TrainWindow *trainWindow();
    MachineSearchWindow *searchWindow();
    bool hasTrainWindow() const { return window != nullptr; }
    // The spectrum window, from its module loaded on first use; none (and a
    // message) when the module cannot be loaded.
    SpectrumView *spectrumView();

    // The document and its edits, as the views send them.
    const machine::MachineDocument &document() const { return doc; }
    void setName(const QString &name);
    void setNotes(const QString &notes);
    void setUnit(const machine::UnitChoice &unit);
    void setKnownSpeed(const machine::ReferenceSpeed &known);
    void setShaftName(int shaft, const QString &name);

    // The commands. The ones without a path ask for it.
    void showTable();
    void showSearch();
    void showSpectrum();
    // The spacing of two peaks into the search's spacing mode, searched.
    void searchSpacing(double hertz);
    // The last measurement: kept relative to the machine file's folder, and
    // where it is on the disk now.
    void setMeasurement(const QString &path);
    QString measurementPath() const;
    bool open();
    bool openFile(const QString &path);
    // A file of "Последние файлы": opened after the question about unsaved
    // changes; one that is gone leaves the list.
    bool openRecent(const QString &path);
    bool save();
    bool saveAs();
    bool saveTo(const QString &path);
    bool exportTable();
    // The CSV convention the export offers: the one chosen last, else the
    // one of the user's locale.
    bool internationalCsv() const;
    bool exportTo(const QString &path);
    void copyTable();
    // The pair a line names, into the main window, calculated; a sideband of
    // the pair's own shafts also into the coefficient fields of its
    // modulation row, so that the row shows it.
    struct Brought {
        // Elsewhere: a line of a planetary or belt stage, of a bearing, or
        // of a shaft no pair turns: the main window has no place for it.
        enum Kind { Gone, Pair, Row, Elsewhere } kind = Gone;
        int pair = 0;
    };
    Brought bringLine(const machine::Line &line);
    // The stages beside the pairs and the bearings, as the train window
    // edits them; each returns false and changes nothing when it cannot be
    // made. The pairs themselves are made in the main window.
    std::vector<machine::ChainEntry> chain() const;
    bool addStage(int afterShaft, const machine::ExtraStage &stage);
    bool changeStage(int extraIndex, const machine::ExtraStage &stage);
    bool removeStage(int extraIndex);
    bool moveStage(int extraIndex, int direction);
    bool addBearing(const machine::MountedBearing &bearing);
    bool changeBearing(int index, const machine::MountedBearing &bearing);
    bool removeBearing(int index);
    // The dialogs that make them: a new stage after `afterShaft` (0: at the
    // end of the chain).
    void newPlanetary(int afterShaft);
    void newBelt(int afterShaft);
    void editStage(int extraIndex);
    void newBearing();
    void editBearing(int index);
    // The user's bearing library (and why it could not be read), and a
    // bearing kept in it, written through the safe writer.
    std::vector<machine::Bearing> bearingLibrary(QString *problem) const;
    bool keepInLibrary(const machine::Bearing &bearing);
    // Where a bearing can sit in this machine.
    std::vector<BearingPlace> bearingPlaces() const;

    // "Записать Fr1 в пары": the chain that follows from the known speed.
    bool writeChain();
    // The unsaved work of an earlier run, when there is any: taken in, or
    // thrown away with its file.
    bool recover();
    void discardRecovery();
    // Writes the recovery file now (the timer and the close do it).
    bool writeRecovery();

    // What the windows show.
    machine::TrainSource source() const;
    machine::Train train() const;
    machine::TrainTables tables() const;
    machine::MachineState state() const;
    bool modified() const;
    QString filePath() const { return path; }
    // This run's recovery file, and the one an earlier run left that is on offer.
    QString recoveryFile() const;
    QString offeredRecoveryFile() const { return offeredFile; }
    const std::optional<machine::Recovery> &offeredRecovery() const { return offered; }
    // How many times the tables were built: once per change while the
    // train window is up.
    int tableBuilds() const { return builds; }

    // Unsaved work is written to the recovery file this often.
    static constexpr int kRecoveryIntervalMs = 60 * 1000;

private:
    TForm1 *form;
    TrainWindow *window = nullptr;
    MachineSearchWindow *search = nullptr;
    std::unique_ptr<SpectrumHost> spectrumHost;
    SpectrumView *spectrum = nullptr;
    machine::MachineDocument doc;
    QString path; // the file itself, a link the user chose resolved
    QByteArray savedBytes;
    // What the file held when it was opened or saved: another program's
    // change since is not overwritten without a question.
    settings::FileStamp diskStamp;
    // A recovery an earlier run left, until it is taken or thrown away; once
    // taken, its file stays until this run's own work is safe.
    std::optional<machine::Recovery> offered;
    QString offeredFile;
    QString takenFile;
    // This run's recovery file has been written: a save, or a close without
    // changes, removes it.
    bool recoveryWritten = false;
    QDateTime started = QDateTime::currentDateTimeUtc();
    settings::UserPreferences preferences;
    QTimer recoveryTimer{this};
    int builds = 0;

    void buildMenu();
    int pairCount() const;
    // Says so when the machine has no room for another stage.
    bool roomForStage() const;
    // A stage dialog taken: the stage into the chain.
    bool runBearingDialog(machine::MountedBearing &bearing);
    void showRecentFiles();
    void rememberFile(const QString &file);
    void savePreferences();
    void pairsChanged(bool newAggregate);
    void documentChanged(bool tablesToo);
    void refreshWindow();
    void showMark();
    void showRecoveryOffer();
    void openMeasurement();
    void applyState(const machine::MachineState &state);
    void removeRecovery();
    void lookForRecovery();
    QString status(const machine::Train &train) const;
    QWidget *dialogParent() const;
    // A file chosen in the dialog, or nothing; `filterIndex`, when given,
    // is the filter offered first and becomes the one chosen.
    QString chooseFile(QFileDialog::AcceptMode mode, const QString &title, const QString &filter,
                       const QString &suffix, const QString &suggestion,
                       int *filterIndex = nullptr) const;
    bool askToDropChanges(const QString &title) const;
    bool askToReplaceChangedFile(const QString &path) const;
    // Writes `bytes` through the safe writer; says why when it cannot. A
    // folder that takes no new file offers "Сохранить как…" (chooseAnother
    // says the user took it).
    bool writeOrExplain(const QString &path, const QByteArray &bytes, const QString &title,
                        bool *chooseAnother);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
