// `Table1`: the table component through which the window reaches the engine.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "table/dbf_table.h"
#include "table/row_scan.h"

namespace geocalc {

enum class DatasetState { Inactive, Browse, Edit, Insert };

// The table component: the folder and file settings, the open table, its
// current record, and the edit buffer. Failures it raises itself carry its
// name, "Table1: ..."; the engine's failures come through unchanged.
//
// Rows are the visible records in table order, numbered from 0. While a new
// record is inserted it stands at `insertRow()` and the rows from there on
// move down by one.
class TableDataset {
public:
    // What a view is told after something changed.
    enum class Change { Reset, Rows, Record, State };
    using Observer = std::function<void(Change)>;

    explicit TableDataset(std::string name = "Table1") : name_(std::move(name)) {}

    const std::string& name() const { return name_; }

    // The setting rule: the same value changes nothing; another value is taken
    // while closed and refused while open.
    const std::string& databaseName() const { return databaseName_; }
    const std::string& tableName() const { return tableName_; }
    void setDatabaseName(const std::string& folder);
    void setTableName(const std::string& file);
    std::string filePath() const { return databaseName_ + tableName_; }

    // Opens the table read-only even where it could be written.
    void setReadOnly(bool readOnly) {
        access_ = readOnly ? DbfTable::Access::ReadOnly : DbfTable::Access::ReadWrite;
    }

    void open();  // does nothing when open
    void close();

    // Reads the table again where another program may have written it since
    // (see DbfTable::refresh); the current record stays the same record, or
    // the nearest one shown when another program deleted it. Tells the
    // observer and returns true when the file had changed. Views call it
    // before each action and each repaint. Fails once, when it first finds
    // the table's file deleted or replaced (see DbfTable::detached); the
    // table is read-only from then on.
    bool refresh();
    bool active() const { return table_ != nullptr; }
    DatasetState state() const { return state_; }
    bool readOnly() const { return table_ && table_->readOnly(); }

    // No fields while closed.
    int fieldCount() const;
    // Fails with "List index out of bounds (%d)" for a field the table lacks.
    const DbfField& field(int index) const;

    int rowCount();  // the visible records, plus a record being inserted
    int currentRow() const { return currentRow_; }  // -1 when there are none
    int insertRow() const { return state_ == DatasetState::Insert ? currentRow_ : -1; }

    // Moves post a changed record first, and drop an unchanged edit or insertion.
    void first();
    void last();
    void moveBy(int rows);
    void moveTo(int row);

    // The current record's field text (the edit buffer's while editing or
    // inserting; "" in a table without records).
    std::string fieldText(int field);
    // The current record's stored characters of a field (see DbfTable).
    std::string storedText(int field);
    // Any row's field text, without moving the current record.
    std::string fieldTextAt(int row, int field);
    bool isBlankAt(int row, int field);
    // The current record as a pick takes it: as the file holds it now, read
    // under the record's lock, or the edit buffer while editing or inserting;
    // a blank record in a table without records. Fails with "Record 5 was
    // deleted by another program" where another program deleted it (also
    // under an edit), and shows the table anew.
    std::string standingRecord();
    // A field's text in a record's bytes, as fieldText gives it.
    std::string fieldTextOf(std::string_view record, int field);
    // The record a row shows, by its place in the file; -1 for none (a row
    // beyond the table, or a record being inserted).
    std::int64_t recordAt(int row);
    // Every row's field texts in one pass over the file (see RowScan).
    RowScan scanRows() const;

    // Starts editing the current record as the file now holds it; a record
    // another program deleted is refused as standingRecord() refuses it.
    void edit();
    void insert();  // a new blank record before the current one
    void append();  // a new blank record after the last one
    void setFieldText(int field, const std::string& text);
    bool modified() const { return modified_; }
    // Writes the edited record, unless another program changed or deleted it
    // since the edit began: then the failure says so and the edit stays, for
    // Esc to show the record as it now is.
    void post();
    // Leaves editing; the record shows as the file now holds it, and one
    // another program deleted meanwhile gives way to the nearest one shown.
    void cancel();
    // Marks the current record deleted, unless another program changed it
    // since it was read (the table is then read again, and the failure says so).
    void deleteRecord();

    void setObserver(Observer observer) { observer_ = std::move(observer); }

private:
    [[noreturn]] void fail(const std::string& message) const;
    void checkActive() const;
    void checkWritable();
    std::string standingOrFail(std::uint32_t physical);
    void setting(std::string& value, const std::string& newValue);
    void leaveEditing();
    void beginInsertion(bool atEnd);
    void goToRow(int row);
    void followCurrentRecord();
    std::uint32_t physicalAtRow(int row);
    std::string_view rowRecord(int row);
    void notify(Change change) const;

    std::string name_;
    std::string databaseName_;
    std::string tableName_;
    DbfTable::Access access_ = DbfTable::Access::ReadWrite;
    std::unique_ptr<DbfTable> table_;
    DatasetState state_ = DatasetState::Inactive;
    int currentRow_ = -1;
    std::uint32_t currentPhysical_ = 0;
    std::string buffer_;
    std::string editBase_;  // the record as the file held it when the edit began
    bool modified_ = false;
    int rowBeforeInsert_ = -1;
    Observer observer_;
};

}  // namespace geocalc
