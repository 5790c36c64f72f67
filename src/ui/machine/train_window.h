// TrainWindow: "Сводная таблица агрегата", the whole gear train at a glance.
// A plain view: it shows the tables, the machine's name and notes and the
// speed typed at a shaft, and tells its controller (MachineController) what
// the user changed; it decides and computes nothing itself.
#pragma once

#include "machine/train.h"
#include "machine/train_table.h"

#include <QWidget>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
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
    // Name, notes, unit and reference as the controller keeps them; the
    // fields the user is typing in are left alone when they already agree.
    void showDocument(const QString &name, const QString &notes, const machine::UnitChoice &unit,
                      const machine::ReferenceSpeed &reference);
    // "Сводная таблица агрегата — file.json (/its/folder) *": the file's name
    // and folder when there is one, the mark " *" while there are unsaved
    // changes.
    void showFile(const QString &path, bool modified);

    QString name() const;
    QString notes() const;
    machine::UnitChoice unit() const;
    machine::ReferenceSpeed reference() const;

    QLineEdit *nameEdit = nullptr;
    QPlainTextEdit *notesEdit = nullptr;
    QComboBox *unitBox = nullptr;        // "Гц", "об/мин и CPM", "порядки"
    QComboBox *ordersShaftBox = nullptr; // "вала 1" ... "вала 10"
    QComboBox *referenceShaftBox = nullptr;
    QLineEdit *speedEdit = nullptr;
    QComboBox *speedUnitBox = nullptr;  // "Гц", "об/мин"
    QPushButton *writeButton = nullptr; // "Записать цепь в пары"
    QLabel *statusLabel = nullptr;
    QLabel *notesLimitLabel = nullptr; // says that the notes take no more
    TrainTableView *pairsView = nullptr;
    TrainTableView *shaftsView = nullptr;
    QLabel *totalLabel = nullptr;
    TrainTableModel *pairsModel = nullptr;
    TrainTableModel *shaftsModel = nullptr;

signals:
    void documentEdited(); // name or notes
    void unitChanged();
    void referenceChanged();
    void writeRequested();

private:
    QWidget *buildDocumentRow();
    // Notes longer than the file keeps are refused where they were typed or
    // pasted: what does not fit is taken out again.
    void keepNotesWithinLimit();
    int notesChangeEnd = -1; // where the last change of the notes ended
    QWidget *buildUnitRow();
    QWidget *buildReferenceRow();
};
