// The texts of a table, shown as they are.
#include "ui/machine/text_table_model.h"

void TextTableModel::setRows(const QStringList &h, std::vector<QStringList> r) {
    beginResetModel();
    headings = h;
    rows = std::move(r);
    endResetModel();
}

int TextTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(rows.size());
}

int TextTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(headings.size());
}

QVariant TextTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return rows.at(std::size_t(index.row())).value(index.column());
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return headings.value(section);
    return section + 1;
}
