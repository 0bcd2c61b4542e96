// Records turned into their field texts, the texts `appendFieldText` gives,
// with the way to each field's text chosen once for the table: text and
// number fields, nearly all of a survey table, are written straight into
// the row.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "table/field_text.h"
#include "table/row_texts.h"

namespace geocalc {

class RowReader {
public:
    explicit RowReader(const RecordFormat& format);

    // `record` is a whole record of the table, as RecordScan hands them out;
    // the texts are valid while it and this reader are, until the next read.
    void read(std::string_view record, RowTexts& out);

private:
    enum class Way { Text, Number, General };
    struct FieldWay {
        const DbfField* field;
        Way way;
    };
    std::string_view text(std::string_view record, std::string_view stored, const DbfField& field,
                          char* scratch) const;

    RecordFormat format_;
    std::vector<FieldWay> fields_;
    std::size_t rowRoom_ = 0;           // what the texts written straight may take
    std::vector<std::string> general_;  // each field's text when read the general way
};

}  // namespace geocalc
