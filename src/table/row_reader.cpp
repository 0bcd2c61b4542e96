#include "table/row_reader.h"

#include <algorithm>

#include "core/byte_words.h"
#include "numtext/format_settings.h"
#include "table/byte_masks.h"
#include "table/plain_decimal.h"

namespace geocalc {

RowReader::RowReader(const RecordFormat& format) : format_(format) {
    for (const DbfField& field : format.layout.fields) {
        Way way = Way::General;
        if (!field.nullable && storesNumberAsText(field)) {
            way = Way::Number;
        } else if (!field.nullable && field.kind == FieldKind::String && field.type != 'V' &&
                   format.charset.singleByte()) {
            way = Way::Text;
        }
        fields_.push_back({&field, way, std::max(std::size_t(field.length), kPlainDecimalRoom)});
    }
}

void RowReader::read(std::string_view record, RowTexts& out) {
    out.clear();
    const char separator = numberFormat().decimalSeparator;
    for (const FieldWay& way : fields_) {
        const DbfField& field = *way.field;
        const std::string_view stored = record.substr(std::size_t(field.offset), std::size_t(field.length));
        char* at = out.room(way.room);
        char* end = nullptr;
        if (way.way == Way::Number) {
            end = writePlainDecimal(record, stored, separator, at);
        } else if (way.way == Way::Text) {
            end = writeText(record, stored, field, at);
        }
        if (end == nullptr) {
            general_.clear();
            appendFieldText(format_, field, record, general_);
            at = out.room(general_.size());
            end = std::copy(general_.begin(), general_.end(), at);
        }
        out.endField(end);
    }
}

// Most texts are plain: blanks after them, no NUL within.
char* RowReader::writeText(std::string_view record, std::string_view stored, const DbfField& field,
                           char* out) const {
#if GEOCALC_BYTE_MASKS
    if (stored.size() <= ByteMasks::kMostBytes && record.size() >= ByteMasks::kWindow) {
        const ByteMasks bytes(record, stored);
        const std::uint32_t shown = ~bytes.blank & ByteMasks::span(bytes.first, bytes.end);
        if (shown == 0) return out;
        const int end = ByteMasks::lastBit(shown) + 1;
        const std::uint32_t text = ByteMasks::span(bytes.first, end);
        if ((bytes.nul & text) == 0) {
            const std::size_t size = std::size_t(end - bytes.first);
            words::copy(out, bytes.origin + bytes.first, size);
            if (!format_.charset.keepsBytes((bytes.high & text) != 0)) format_.charset.toAnsiInPlace(out, size);
            return out + size;
        }
    }
#endif
    return format_.charset.writeSingleByte(storedText(format_, field, record), out);
}

}  // namespace geocalc
