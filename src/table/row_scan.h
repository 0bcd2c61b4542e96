// Every row's field texts in table order, as the file holds them when read,
// in one pass over it: what batch work that needs no row numbers reads.
#pragma once

#include "table/record_scan.h"
#include "table/row_reader.h"
#include "table/row_texts.h"

namespace geocalc {

class RowScan {
public:
    explicit RowScan(const DbfTable& table);

    // The next row's texts, valid until the next call; nullptr after the
    // last row. A failing read fails with the engine's message.
    const RowTexts* next();

private:
    RecordScan records_;
    RowReader reader_;
    RowTexts texts_;
};

}  // namespace geocalc
