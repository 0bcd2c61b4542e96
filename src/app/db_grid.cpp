#include "app/db_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QStyle>

#include "app/ansi_text.h"

namespace geocalc::app {

namespace {

constexpr int kCellPadding = 4;
constexpr int kOtherDisplayWidth = 10;

}  // namespace

DBGrid::DBGrid(DataSource& source, QWidget* parent) : QTableView(parent), source_(source) {
    setModel(&source_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    horizontalHeader()->setSectionsMovable(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kCellPadding);
    verticalHeader()->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("\u25B6")) + 2 * kCellPadding);
    connect(&source_, &QAbstractItemModel::modelReset, this, &DBGrid::layOutColumns);
    connect(&source_, &DataSource::currentRowChanged, this, &DBGrid::followTable);
}

int DBGrid::displayWidth(const DbfField& field) {
    switch (field.kind) {
        case FieldKind::String: return field.length;
        case FieldKind::Boolean: return 5;
        case FieldKind::Date: return 10;
        case FieldKind::DateTime: return 18;
        default: return kOtherDisplayWidth;
    }
}

int DBGrid::columnWidthFor(int column) const {
    const DbfField& field = source_.table().field(column);
    const QFontMetrics metrics = fontMetrics();
    // The designed padding, plus what this style's item delegate keeps around a text.
    const int padding = kCellPadding + 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int byContent = displayWidth(field) * metrics.horizontalAdvance(QLatin1Char('0')) + padding;
    const int byTitle = metrics.horizontalAdvance(fromAnsi(field.name)) + padding;
    return std::max(byContent, byTitle);
}

void DBGrid::layOutColumns() {
    for (int column = 0; column < source_.columnCount(); ++column) setColumnWidth(column, columnWidthFor(column));
}

// The grid's current row is always the table's current record.
void DBGrid::followTable() {
    const int row = source_.table().currentRow();
    if (row < 0 || source_.columnCount() == 0) return;
    const int column = std::max(currentIndex().column(), 0);
    QScopedValueRollback guard(following_, true);
    setCurrentIndex(source_.index(row, column));
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (following_ || !current.isValid()) return;
    TableDataset& table = source_.table();
    try {
        if (current.row() != table.currentRow()) table.moveTo(current.row());
    } catch (...) {
        followTable();  // the record did not move: neither does the grid
        throw;
    }
    followTable();
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first press already moved to the row clicked; the double click only picks.
    event->accept();
    emit recordDoubleClicked();
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    if (!source_.table().active()) {
        event->ignore();  // no table yet: the grid takes no keys
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace geocalc::app
