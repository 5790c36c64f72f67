// The train table's model and view.
#include "ui/machine/train_model.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

TrainTableModel::TrainTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void TrainTableModel::setTable(const machine::TextTable &table) {
    beginResetModel();
    shown = table;
    endResetModel();
}

int TrainTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown.rows.size());
}

int TrainTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown.headers.size());
}

QVariant TrainTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const auto &row = shown.rows[static_cast<std::size_t>(index.row())];
    if (static_cast<std::size_t>(index.column()) >= row.size())
        return {};
    const machine::TableCell &cell = row[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cell.text;
    case Qt::ToolTipRole:
        return cell.hint.isEmpty() ? QVariant() : QVariant(cell.hint);
    case Qt::ForegroundRole:
        return cell.marked ? QVariant(QColor(192, 0, 0)) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

Qt::ItemFlags TrainTableModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool TrainTableModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != editable)
        return false;
    emit cellEdited(index.row(), index.column(), value.toString());
    return true;
}

QVariant TrainTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return shown.headers[section];
    if (role == Qt::ToolTipRole && section < shown.headerHints.size() &&
        !shown.headerHints[section].isEmpty())
        return shown.headerHints[section];
    return {};
}

TrainTableView::TrainTableView(QWidget *parent) : QTableView(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    // Tab leaves the table; the arrows move between its cells.
    setTabKeyNavigation(false);
    // The last column (the remarks) takes what is left and wraps its words
    // rather than being cut off.
    setWordWrap(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setMinimumSectionSize(fontMetrics().averageCharWidth() * 3);
}

QString TrainTableView::selectedText() const {
    const QModelIndexList selected =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    if (selected.isEmpty())
        return {};
    int top = selected.first().row(), bottom = top;
    int left = selected.first().column(), right = left;
    for (const QModelIndex &i : selected) {
        top = std::min(top, i.row());
        bottom = std::max(bottom, i.row());
        left = std::min(left, i.column());
        right = std::max(right, i.column());
    }
    QStringList lines;
    for (int r = top; r <= bottom; ++r) {
        QStringList cells;
        for (int c = left; c <= right; ++c) {
            const QModelIndex i = model()->index(r, c);
            cells << (selectionModel()->isSelected(i)
                          ? machine::spreadsheetCell(i.data().toString())
                          : QString());
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void TrainTableView::keyPressEvent(QKeyEvent *event) {
    // Qt's own copy takes the current cell only.
    if (event == QKeySequence::Copy) {
        if (const QString text = selectedText(); !text.isEmpty())
            QGuiApplication::clipboard()->setText(text);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
