// The result list of the machine-wide identification: one row per group of
// equal lines that explain the peak, best first, with their names, value
// and distances as the core writes them. The texts of a row are made when
// the view first asks for them, so that a list of thousands of rows fills at
// once.
#pragma once

#include "machine/identify_text.h"

#include <QAbstractTableModel>
#include <optional>
#include <vector>

class MatchTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MatchTableModel(QObject *parent = nullptr);

    // A finished identification: the train it ran on, the request in hertz,
    // the unit of the shown values, the ranked groups and the names of shafts and bearings.
    void setMatches(const machine::Train &train, const machine::IdentifyRequest &request,
                    const machine::UnitChoice &unit, std::vector<machine::MatchGroup> groups,
                    machine::LineNames names);
    void clear();

    // The simplest line of row `row`.
    const machine::Line &lineOf(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const machine::MatchRow &row(int r) const;

    machine::Train train;
    machine::IdentifyRequest request;
    machine::UnitChoice unit;
    std::vector<machine::MatchGroup> groups;
    machine::LineNames names;
    mutable std::vector<std::optional<machine::MatchRow>> rows;
};
