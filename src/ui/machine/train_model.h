// A table of texts made by the machine core, shown as it is: the display
// text of every cell is exactly what the user reads, its hint the tool tip,
// and a cell where the chain is broken is painted red. The view beside it
// copies the selected cells with Ctrl+C as tab-separated lines.
#pragma once

#include "machine/table_export.h"
#include "machine/train_table.h"

#include <QAbstractTableModel>
#include <QTableView>

class TrainTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TrainTableModel(QObject *parent = nullptr);

    void setTable(const machine::TextTable &table);
    const machine::TextTable &table() const { return shown; }
    // Cells of this column take typing; what is typed goes to cellEdited,
    // and the table shows it once the document has it.
    void setEditableColumn(int column) { editable = column; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

signals:
    void cellEdited(int row, int column, const QString &text);

private:
    machine::TextTable shown;
    int editable = -1;
};

class TrainTableView : public QTableView {
    Q_OBJECT
public:
    explicit TrainTableView(QWidget *parent = nullptr);

    // The selected cells as lines of tab-separated texts: the rectangle that
    // holds the selection, unselected cells in it empty.
    QString selectedText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
