#include "table/row_reader.h"

#include <algorithm>

#include "numtext/format_settings.h"
#include "table/byte_masks.h"
#include "table/plain_decimal.h"

namespace geocalc {

RowReader::RowReader(const RecordFormat& format)
    : format_(format), general_(format.layout.fields.size()) {
    for (const DbfField& field : format.layout.fields) {
        Way way = Way::General;
        if (!field.nullable && storesNumberAsText(field)) {
            way = Way::Number;
        } else if (!field.nullable && field.kind == FieldKind::String && field.type != 'V' &&
                   format.charset.singleByte()) {
            way = Way::Text;
        }
        fields_.push_back({&field, way});
        rowRoom_ += std::max(std::size_t(field.length), kPlainDecimalRoom);
    }
}

void RowReader::read(std::string_view record, RowTexts& out) {
    out.start(fields_.size(), rowRoom_);
    const char separator = numberFormat().decimalSeparator;
    for (std::size_t f = 0; f < fields_.size(); ++f) {
        const DbfField& field = *fields_[f].field;
        const Way way = fields_[f].way;
        const std::string_view stored(record.data() + field.offset, std::size_t(field.length));
        if (way == Way::Text) {
            out.add(text(record, stored, field, out.scratch()));
            continue;
        }
        if (way == Way::Number) {
            if (const auto number = plainDecimal(record, stored, separator, out.scratch())) {
                out.add(*number);
                continue;
            }
        }
        general_[f].clear();
        appendFieldText(format_, field, record, general_[f]);
        out.add(general_[f]);
    }
}

// Most texts are plain: blanks after them, no NUL within.
std::string_view RowReader::text(std::string_view record, std::string_view stored,
                                 const DbfField& field, char* scratch) const {
    std::string_view text;
#if GEOCALC_BYTE_MASKS
    if (stored.size() <= ByteMasks::kMostBytes && record.size() >= ByteMasks::kWindow) {
        const ByteMasks bytes(record, stored);
        const std::uint32_t shown = ~bytes.blank & ByteMasks::span(bytes.first, bytes.end);
        if (shown == 0) return {};
        const int end = ByteMasks::lastBit(shown) + 1;
        const std::uint32_t kept = ByteMasks::span(bytes.first, end);
        if ((bytes.nul & kept) == 0) {
            text = std::string_view(bytes.origin + bytes.first, std::size_t(end - bytes.first));
            if (format_.charset.keepsBytes((bytes.high & kept) != 0)) return text;
        }
    }
#endif
    if (text.data() == nullptr) text = storedText(format_, field, record);
    return {scratch, std::size_t(format_.charset.writeSingleByte(text, scratch) - scratch)};
}

}  // namespace geocalc
