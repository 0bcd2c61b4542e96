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

    // `record` is a whole record of the table.
    void read(std::string_view record, RowTexts& out);

private:
    enum class Way { Text, Number, General };
    struct FieldWay {
        const DbfField* field;
        Way way;
        std::size_t room;
    };
    char* writeText(std::string_view record, std::string_view stored, const DbfField& field, char* out) const;

    RecordFormat format_;
    std::vector<FieldWay> fields_;
    std::string general_;  // the text of a field read the general way
};

}  // namespace geocalc
