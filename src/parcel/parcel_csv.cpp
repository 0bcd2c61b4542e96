// The parcel's catalogue for spreadsheets (RFC 4180), in the user's locale
// and language, and its totals: the perimeter, the area and, with Mt, its
// permitted error, in the lengths' column; then what the title block says
// (its lines, the surveyor, the date, the coordinate system, Mt) and any
// crossing's warning, a label and a text each.
#include <array>

#include "charset/code_page.h"
#include "numtext/format_settings.h"
#include "parcel/document_words.h"
#include "parcel/parcel_formats.h"
#include "parcel/parcel_numbers.h"

namespace geocalc {

namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

// A field holding the field separator or the decimal separator is quoted:
// spreadsheets whose import splits at several separators at once (comma,
// semicolon and tab) keep a quoted field whole.
std::string field(const std::string& utf8, char delimiter, char decimalSeparator) {
    if (utf8.find_first_of(std::string("\"\r\n,;\t") + delimiter + decimalSeparator) ==
        std::string::npos) {
        return utf8;
    }
    std::string quoted = "\"";
    for (char c : utf8) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::string parcelCsv(const Parcel& parcel, const Handover& handover) {
    // Where "," is the decimal separator, spreadsheets expect ";" between fields.
    const char separator = numberFormat().decimalSeparator;
    const char delimiter = separator == ',' ? ';' : ',';
    auto line = [delimiter, separator](const auto& fields) {
        std::string out;
        for (const std::string& f : fields) {
            if (&f != &*std::begin(fields)) out += delimiter;
            out += field(f, delimiter, separator);
        }
        return out + "\r\n";
    };
    std::string out = kByteOrderMark;
    for (const auto& row : catalogueRows(parcel, handover)) out += line(row);
    // The totals, after an empty row, a label and a number each.
    const Language language = handover.language;
    const std::string m(word<"m">(language)), squareMetres(word<"m²">(language));
    auto total = [&](std::string_view label, std::string_view unit, const std::string& number) {
        return line(CatalogueRow{"", std::string(label) + ", " + std::string(unit), "", "", "",
                                 utf8FromAnsi(number)});
    };
    out += "\r\n";
    out += total(word<"Perimeter">(language), m, decimalsText(parcel.perimeter, handover.decimals));
    out += total(word<"Area">(language), squareMetres,
                 areaText(parcel.exactArea, areaDecimals(handover)));
    out += total(word<"Area">(language), word<"ha">(language),
                 areaText(parcel.exactArea.hectares(), hectareDecimals(handover)));
    if (const auto error = permittedAreaError(parcel, handover)) {
        out += total(word<"Permitted error of the area">(language), squareMetres,
                     decimalsText(*error, areaDecimals(handover)));
    }
    auto labelled = [&](std::string_view label, const std::string& text) {
        return line(std::array<std::string, 2>{"", std::string(label) + ": " + text});
    };
    std::string stated;
    for (const std::string& titleLine : handover.title)
        stated += line(std::array<std::string, 2>{"", titleLine});
    if (!handover.surveyor.empty())
        stated += labelled(word<"Surveyor">(language), handover.surveyor);
    if (!handover.date.empty()) stated += labelled(word<"Date">(language), documentDate(handover));
    if (!handover.crs.empty())
        stated += labelled(word<"Coordinate system">(language), handover.crs);
    if (handover.mt) stated += line(std::array<std::string, 2>{"", mtLine(handover)});
    if (parcel.crossing)
        stated +=
            line(std::array<std::string, 2>{"", utf8FromAnsi(crossingWarning(parcel, language))});
    if (!stated.empty()) out += "\r\n" + stated;
    return out;
}

}  // namespace geocalc
