// The parcel's catalogue for spreadsheets (RFC 4180), in the user's locale,
// and its totals: the perimeter and the area, in the lengths' column.
#include "charset/code_page.h"
#include "numtext/format_settings.h"
#include "parcel/parcel_formats.h"
#include "parcel/parcel_numbers.h"

namespace geocalc {

namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

// A field holding the field separator or the decimal separator is quoted:
// spreadsheets whose import splits at several separators at once (comma,
// semicolon and tab) keep a quoted field whole.
std::string field(const std::string& utf8, char delimiter, char decimalSeparator) {
    if (utf8.find_first_of(std::string("\"\r\n,;\t") + delimiter + decimalSeparator) == std::string::npos) {
        return utf8;
    }
    std::string quoted = "\"";
    for (char c : utf8) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::string parcelCsv(const Parcel& parcel) {
    // Where "," is the decimal separator, spreadsheets expect ";" between fields.
    const char separator = numberFormat().decimalSeparator;
    const char delimiter = separator == ',' ? ';' : ',';
    auto line = [delimiter, separator](std::initializer_list<std::string> fields) {
        std::string out;
        for (const std::string& f : fields) {
            if (&f != fields.begin()) out += delimiter;
            out += field(f, delimiter, separator);
        }
        return out + "\r\n";
    };
    std::string out = kByteOrderMark + line({"№", "Name", "X", "Y", "Direction", "Length"});
    for (std::size_t i = 0; i < parcel.points.size(); ++i) {
        const BoundaryPoint& p = parcel.points[i];
        out += line({std::to_string(i + 1), utf8FromAnsi(p.name), utf8FromAnsi(p.x),
                     utf8FromAnsi(p.y), utf8FromAnsi(parcel.sides[i].direction),
                     decimalsText(parcel.sides[i].length, 2)});
    }
    // The totals, after an empty row, a label and a number each.
    out += "\r\n";
    out += line({"", "Perimeter, m", "", "", "", decimalsText(parcel.perimeter, 2)});
    out += line({"", "Area, m²", "", "", "", parcel.exactArea.fixed(2, separator)});
    out += line({"", "Area, ha", "", "", "", parcel.exactArea.hectares().fixed(4, separator)});
    return out;
}

}  // namespace geocalc
