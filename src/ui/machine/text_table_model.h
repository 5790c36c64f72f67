// TextTableModel: a read-only table of the texts the user reads, as the core
// made them; the spectrum window's peak table and explanations use it.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

class TextTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setRows(const QStringList &headings, std::vector<QStringList> rows);
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    const QStringList &row(int r) const { return rows.at(std::size_t(r)); }

private:
    QStringList headings;
    std::vector<QStringList> rows;
};
