// The main-menu entry "Агрегат" and what its items do: the train window, the
// machine file (open, save, save as), the CSV export and the copy of the
// train table. The controller reads the main window's pair store and input
// fields; it writes them only the way the moves do (the pair store through
// its slots, the fields as a move loads them, then the calculation).
//
// It owns what the main window does not know: the machine's name and notes,
// the unit of the table, the speed typed at a shaft, the file and the bytes
// last saved or opened (the state differs from them: unsaved changes).
#pragma once

#include "machine/machine_file.h"
#include "machine/train.h"
#include "machine/train_table.h"

#include <QFileDialog>
#include <QObject>
#include <functional>

class QAction;
class QMenu;
class TForm1;
class TrainWindow;

class MachineController : public QObject {
    Q_OBJECT
public:
    explicit MachineController(TForm1 *form);

    QMenu *menu = nullptr; // "Агрегат", between "Установки" and "Справка"
    QAction *tableAction = nullptr; // "Сводная таблица", F9
    QAction *searchAction = nullptr; // "Поиск по агрегату", F7 (its window: MachineSearchItem)
    QAction *openAction = nullptr;   // "Открыть…", Ctrl+O
    QAction *saveAction = nullptr;   // "Сохранить", Ctrl+S
    QAction *saveAsAction = nullptr; // "Сохранить как…", Ctrl+Shift+S
    QAction *exportAction = nullptr; // "Экспорт таблицы…"
    QAction *copyAction = nullptr;   // "Копировать таблицу"

    // The window is made when it is first asked for.
    TrainWindow *trainWindow();
    bool hasTrainWindow() const { return window != nullptr; }

    // After a calculation, a move or a change of precision: the window, if
    // it is up, and the unsaved mark follow.
    void pairsChanged();
    // After "Новый агрегат" has emptied the store: the file, the name, the
    // notes and the speed go with the old aggregate.
    void aggregateReset();

    // The commands. The ones without a path ask for it.
    void showTable();
    bool open();
    bool openFile(const QString &path);
    bool save();
    bool saveAs();
    bool saveTo(const QString &path);
    bool exportTable();
    bool exportTo(const QString &path);
    void copyTable();
    // "Записать цепь в пары": the chain that follows from the typed speed.
    bool writeChain();

    // What the items work on.
    machine::TrainSource source() const;
    machine::Train train() const; // as the table shows it
    machine::TrainTables tables() const;
    machine::MachineState state() const;
    bool modified() const;
    QString filePath() const { return doc.path; }

private:
    struct Document {
        QString name;
        QString notes;
        machine::UnitChoice unit;
        machine::ReferenceSpeed reference; // an empty text: no speed typed
        QString path;                      // the file itself, a link the user chose resolved
        QByteArray savedBytes;
        // What the file held when it was opened or saved: another program's
        // change since is not overwritten without a question.
        settings::FileStamp diskStamp;
    };

    TForm1 *form;
    TrainWindow *window = nullptr;
    Document doc;

    void buildMenu();
    void applyState(const machine::MachineState &state);
    std::optional<machine::ReferenceSpeed> typedReference() const;
    QString status(const machine::ChainRewrite &rewrite, const machine::Train &stored) const;
    void refreshWindow();
    void showMark();
    void takeWindowEdits();
    QWidget *dialogParent() const;
    QString chooseFile(QFileDialog::AcceptMode mode, const QString &title, const QString &filter,
                       const QString &suffix, const QString &suggestion) const;
    bool askToDropChanges() const;
    bool askToReplaceChangedFile(const QString &path) const;
    // Writes `bytes` through the safe writer; says why when it cannot. A
    // folder that takes no new file offers "Сохранить как…" (true when the
    // user took it).
    bool writeOrExplain(const QString &path, const QByteArray &bytes, const QString &title,
                        bool *chooseAnother);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
