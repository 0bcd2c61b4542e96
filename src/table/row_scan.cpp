#include "table/row_scan.h"

#include "table/dbf_table.h"

namespace geocalc {

RowScan::RowScan(const DbfTable& table) : records_(table), reader_(table.format()) {}

const RowTexts* RowScan::next() {
    std::string_view record;
    if (!records_.next(record)) return nullptr;
    reader_.read(record, texts_);
    return &texts_;
}

}  // namespace geocalc
