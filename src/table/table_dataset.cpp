#include "table/table_dataset.h"

#include <algorithm>
#include <limits>

#include "core/error.h"

namespace geocalc {

void TableDataset::fail(const std::string& message) const { throw Error(name_ + ": " + message); }

void TableDataset::checkActive() const {
    if (!active()) fail("Cannot perform this operation on a closed dataset");
}

void TableDataset::checkWritable() {
    checkActive();
    table_->checkAttached();
    if (table_->readOnly()) fail("Cannot modify a read-only dataset");
}

void TableDataset::setting(std::string& value, const std::string& newValue) {
    if (value == newValue) return;
    if (active()) fail("Cannot perform this operation on an open dataset");
    value = newValue;
}

void TableDataset::setDatabaseName(const std::string& folder) { setting(databaseName_, folder); }

void TableDataset::setTableName(const std::string& file) { setting(tableName_, file); }

void TableDataset::notify(Change change) const {
    if (observer_) observer_(change);
}

void TableDataset::open() {
    if (active()) return;
    std::unique_ptr<DbfTable> table = DbfTable::open(filePath(), access_);
    // Rows are ints, and one more row stands for a record being inserted.
    constexpr std::uint32_t kMaxRows = std::numeric_limits<int>::max() - 1;
    if (table->physicalCount() > kMaxRows) {
        fail("The table has " + std::to_string(table->physicalCount()) +
             " records, more than the " + std::to_string(kMaxRows) + " that can be shown");
    }
    table_ = std::move(table);
    state_ = DatasetState::Browse;
    // The first record is found without counting the table's deleted records.
    const std::optional<std::uint32_t> first = table_->visibleAtOrAfter(0);
    currentRow_ = first ? 0 : -1;
    currentPhysical_ = first.value_or(0);
    notify(Change::Reset);
}

void TableDataset::close() {
    table_.reset();
    state_ = DatasetState::Inactive;
    currentRow_ = -1;
    modified_ = false;
    notify(Change::Reset);
}

bool TableDataset::refresh() {
    if (!active()) return false;
    bool changed = false;
    try {
        changed = table_->refresh();
    } catch (const Error&) {
        notify(Change::State);  // views show the table read-only from now on
        throw;
    }
    if (!changed) return false;
    followCurrentRecord();
    notify(Change::Rows);
    return true;
}

// After the table was read again: the current record keeps its place in the
// file; its row is found anew, or the nearest record shown takes its place
// when it is gone. A record being edited stays current whatever became of it.
void TableDataset::followCurrentRecord() {
    const int visible = int(table_->visibleCount());
    if (state_ == DatasetState::Insert) {
        currentRow_ = std::min(currentRow_, visible);
        return;
    }
    if (visible == 0) {
        currentRow_ = -1;
        return;
    }
    if (currentRow_ < 0) currentPhysical_ = 0;
    currentPhysical_ = std::min(currentPhysical_, table_->physicalCount() - 1);
    if (state_ == DatasetState::Browse && table_->isDeleted(currentPhysical_)) {
        const std::optional<std::uint32_t> after = table_->visibleAtOrAfter(currentPhysical_);
        currentPhysical_ = after ? *after : table_->physicalOf(std::uint32_t(visible - 1));
    }
    currentRow_ = std::min(int(table_->visibleOf(currentPhysical_)), visible - 1);
}

int TableDataset::fieldCount() const { return active() ? int(table_->fields().size()) : 0; }

const DbfField& TableDataset::field(int index) const {
    if (index < 0 || index >= fieldCount()) throwListIndexError(index);
    return table_->fields()[std::size_t(index)];
}

int TableDataset::rowCount() {
    if (!active()) return 0;
    return int(table_->visibleCount()) + (state_ == DatasetState::Insert ? 1 : 0);
}

void TableDataset::goToRow(int row) {
    const int count = rowCount();
    if (count == 0) {
        currentRow_ = -1;
    } else {
        currentRow_ = std::clamp(row, 0, count - 1);
        currentPhysical_ = table_->physicalOf(std::uint32_t(currentRow_));
    }
    notify(Change::State);
}

void TableDataset::leaveEditing() {
    if (state_ != DatasetState::Edit && state_ != DatasetState::Insert) return;
    if (modified_) {
        post();
    } else {
        cancel();
    }
}

void TableDataset::first() { moveTo(0); }

void TableDataset::last() { moveTo(rowCount() - 1); }

void TableDataset::moveBy(int rows) { moveTo(currentRow_ + rows); }

void TableDataset::moveTo(int row) {
    checkActive();
    if (row == currentRow_ && state_ == DatasetState::Browse) return;
    const int fromRow = currentRow_;
    const bool inserting = state_ == DatasetState::Insert;
    leaveEditing();
    // The inserted row leaves its place, dropped or posted to the end: the
    // rows below it move up.
    if (inserting && row > fromRow) --row;
    goToRow(row);
}

// The record at a row other than an inserted one: rows below an insertion
// stand one further down than their records.
std::uint32_t TableDataset::physicalAtRow(int row) {
    if (state_ == DatasetState::Insert && row > currentRow_) --row;
    return table_->physicalOf(std::uint32_t(row));
}

std::string_view TableDataset::rowRecord(int row) {
    if (row == currentRow_) {
        return state_ == DatasetState::Browse ? table_->record(currentPhysical_)
                                              : std::string_view(buffer_);
    }
    return table_->record(physicalAtRow(row));
}

std::string TableDataset::fieldText(int index) {
    field(index);
    if (currentRow_ < 0) return {};
    return table_->fieldText(rowRecord(currentRow_), index);
}

std::string TableDataset::storedText(int index) {
    field(index);
    if (currentRow_ < 0) return {};
    return table_->storedText(rowRecord(currentRow_), index);
}

std::string TableDataset::fieldTextAt(int row, int index) {
    field(index);
    if (row < 0 || row >= rowCount()) return {};
    return table_->fieldText(rowRecord(row), index);
}

std::string TableDataset::standingOrFail(std::uint32_t physical) {
    try {
        return table_->standingRecord(physical);
    } catch (const Error&) {
        if (state_ == DatasetState::Browse) refresh();
        throw;
    }
}

std::string TableDataset::standingRecord() {
    if (!active()) return {};  // no fields: a pick fails on the first
    if (state_ == DatasetState::Insert) return buffer_;
    if (currentRow_ < 0) return table_->blankRecord();
    std::string standing = standingOrFail(currentPhysical_);
    return state_ == DatasetState::Edit ? buffer_ : standing;
}

std::string TableDataset::fieldTextOf(std::string_view record, int index) {
    field(index);
    return table_->fieldText(record, index);
}

std::int64_t TableDataset::recordAt(int row) {
    if (!active() || row < 0 || row >= rowCount() || row == insertRow()) return -1;
    return physicalAtRow(row);
}

RowScan TableDataset::scanRows() const {
    checkActive();
    return RowScan(*table_);
}

bool TableDataset::isBlankAt(int row, int index) {
    field(index);
    if (row < 0 || row >= rowCount()) return true;
    return table_->isBlank(rowRecord(row), index);
}

void TableDataset::edit() {
    checkWritable();
    if (state_ != DatasetState::Browse) return;
    refresh();
    if (currentRow_ < 0) return append();
    buffer_ = standingOrFail(currentPhysical_);
    editBase_ = buffer_;
    modified_ = false;
    state_ = DatasetState::Edit;
    notify(Change::State);
}

void TableDataset::insert() { beginInsertion(false); }

void TableDataset::append() { beginInsertion(true); }

void TableDataset::beginInsertion(bool atEnd) {
    checkWritable();
    leaveEditing();
    rowBeforeInsert_ = currentRow_;
    currentRow_ = atEnd ? int(table_->visibleCount()) : std::max(currentRow_, 0);
    buffer_ = table_->blankRecord();
    modified_ = false;
    state_ = DatasetState::Insert;
    notify(Change::Rows);
}

void TableDataset::setFieldText(int index, const std::string& text) {
    field(index);
    checkWritable();
    if (state_ == DatasetState::Browse) edit();
    std::string changed = buffer_;
    table_->setFieldText(changed, index, text);
    buffer_ = std::move(changed);
    modified_ = true;
    notify(Change::Record);
}

void TableDataset::post() {
    if (state_ == DatasetState::Edit) {
        if (modified_) table_->writeRecord(currentPhysical_, buffer_, editBase_);
    } else if (state_ == DatasetState::Insert) {
        currentPhysical_ = table_->appendRecord(buffer_);
        currentRow_ = int(table_->visibleOf(currentPhysical_));
    } else {
        return;
    }
    state_ = DatasetState::Browse;
    modified_ = false;
    notify(Change::Rows);
}

void TableDataset::cancel() {
    const DatasetState was = state_;
    if (was != DatasetState::Edit && was != DatasetState::Insert) return;
    state_ = DatasetState::Browse;
    modified_ = false;
    buffer_.clear();
    if (was == DatasetState::Insert) {
        currentRow_ = rowBeforeInsert_;
        if (currentRow_ >= 0) currentPhysical_ = table_->physicalOf(std::uint32_t(currentRow_));
        notify(Change::Rows);
    } else if (!refresh()) {
        // The table may have been read again while the edit stood, with the
        // edited record kept current even where it was gone.
        followCurrentRecord();
        notify(Change::Rows);
    }
}

void TableDataset::deleteRecord() {
    checkActive();
    if (state_ == DatasetState::Insert) return cancel();
    checkWritable();
    if (currentRow_ < 0) fail("Cannot perform this operation on an empty dataset");
    const std::uint32_t physical = currentPhysical_;
    const std::string expected(state_ == DatasetState::Edit ? editBase_ : table_->record(physical));
    cancel();
    try {
        table_->markDeleted(physical, expected);
    } catch (const Error&) {
        refresh();
        throw;
    }
    const int count = rowCount();
    currentRow_ = std::min(currentRow_, count - 1);
    if (currentRow_ >= 0) currentPhysical_ = table_->physicalOf(std::uint32_t(currentRow_));
    notify(Change::Rows);
}

}  // namespace geocalc
