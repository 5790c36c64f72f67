// The identification's result list as a table model.
#include "ui/machine/match_table_model.h"

MatchTableModel::MatchTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void MatchTableModel::setMatches(const machine::Train &t, const machine::IdentifyRequest &r,
                                 const machine::UnitChoice &u,
                                 std::vector<machine::MatchGroup> found,
                                 machine::LineNames lineNames) {
    beginResetModel();
    train = t;
    request = r;
    unit = u;
    groups = std::move(found);
    names = std::move(lineNames);
    rows.assign(groups.size(), std::nullopt);
    endResetModel();
}

void MatchTableModel::clear() {
    beginResetModel();
    groups.clear();
    rows.clear();
    endResetModel();
}

const machine::Line &MatchTableModel::lineOf(int r) const {
    return groups[static_cast<std::size_t>(r)].lines.front();
}

int MatchTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(groups.size());
}

int MatchTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : machine::kColumnCount;
}

const machine::MatchRow &MatchTableModel::row(int r) const {
    std::optional<machine::MatchRow> &cached = rows[static_cast<std::size_t>(r)];
    if (!cached)
        cached =
            machine::matchRow(train, request, unit, groups[static_cast<std::size_t>(r)], names);
    return *cached;
}

QVariant MatchTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return row(index.row()).texts[static_cast<std::size_t>(index.column())];
    if (role == Qt::TextAlignmentRole && index.column() > 0)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant MatchTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= machine::kColumnCount)
        return {};
    return machine::columnHeadings(unit)[static_cast<std::size_t>(section)];
}
