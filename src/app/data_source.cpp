#include "app/data_source.h"

#include "app/ansi_text.h"
#include "form/record_grid.h"

namespace geocalc::app {

DataSource::DataSource(TableDataset& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table), rows_(table.rowCount()) {
    table_.setObserver([this](TableDataset::Change change) { tableChanged(change); });
}

DataSource::~DataSource() { table_.setObserver({}); }

// Only another table makes the columns anew: a changed number of rows is
// told as rows inserted or removed at the end, then every row as changed, so
// that the widths and the order the user gave the columns stay.
void DataSource::rowsChanged() {
    const int rows = table_.rowCount();
    if (rows > rows_) {
        beginInsertRows(QModelIndex(), rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else if (rows < rows_) {
        beginRemoveRows(QModelIndex(), rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
    if (rows_ > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
}

void DataSource::tableChanged(TableDataset::Change change) {
    switch (change) {
        case TableDataset::Change::Reset:
            beginResetModel();
            rows_ = table_.rowCount();
            endResetModel();
            break;
        case TableDataset::Change::Rows:
            rowsChanged();
            break;
        case TableDataset::Change::Record:
            if (table_.currentRow() >= 0 && columnCount() > 0) {
                emit dataChanged(index(table_.currentRow(), 0),
                                 index(table_.currentRow(), columnCount() - 1));
            }
            break;
        case TableDataset::Change::State:
            break;
    }
    emit headerDataChanged(Qt::Vertical, 0, std::max(0, rowCount() - 1));
    emit currentRowChanged();
}

int DataSource::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DataSource::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.fieldCount();
}

QString DataSource::displayText(int row, int column) const {
    return fromAnsi(RecordGrid::cellText(table_, row, column));
}

QVariant DataSource::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return displayText(index.row(), index.column());
        case Qt::TextAlignmentRole:
            return RecordGrid::isRightAligned(table_.field(index.column()))
                       ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                       : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant DataSource::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        return section < columnCount() ? fromAnsi(table_.field(section).name) : QVariant();
    }
    if (section != table_.currentRow()) return QString();
    const std::string_view mark = RecordGrid::indicatorMark(table_.state());
    return QString::fromUtf8(mark.data(), qsizetype(mark.size()));
}

Qt::ItemFlags DataSource::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

}  // namespace geocalc::app
