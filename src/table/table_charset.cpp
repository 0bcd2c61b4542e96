#include "table/table_charset.h"

#include <algorithm>
#include <cctype>

#include "charset/code_page.h"
#include "core/byte_words.h"
#include "table/file_beside.h"

namespace geocalc {

namespace {

constexpr const char* kOemCodePage = "CP866";
constexpr const char* kAnsiCodePage = "CP1251";  // what "ANSI" means on the systems served
constexpr std::size_t kMaxCpgSize = 256;

struct DriverPage {
    std::uint8_t driver;
    const char* codePage;
};

// Language driver bytes as dBASE, FoxPro and Visual FoxPro write them.
constexpr DriverPage kDriverPages[] = {
    {0x01, "CP437"},       {0x02, "CP850"},        {0x03, "CP1252"},
    {0x04, "MAC"},         {0x08, "CP865"},        {0x09, "CP437"},
    {0x0A, "CP850"},       {0x0B, "CP437"},        {0x0D, "CP437"},
    {0x0E, "CP850"},       {0x0F, "CP437"},        {0x10, "CP850"},
    {0x11, "CP437"},       {0x12, "CP850"},        {0x14, "CP850"},
    {0x15, "CP437"},       {0x16, "CP850"},        {0x17, "CP865"},
    {0x18, "CP437"},       {0x19, "CP437"},        {0x1A, "CP850"},
    {0x1B, "CP437"},       {0x1C, "CP863"},        {0x1D, "CP850"},
    {0x1F, "CP852"},       {0x22, "CP852"},        {0x23, "CP852"},
    {0x24, "CP860"},       {0x25, "CP850"},        {0x26, "CP866"},
    {0x37, "CP850"},       {0x40, "CP852"},        {0x50, "CP874"},
    {0x57, kAnsiCodePage}, {0x58, "CP1252"},       {0x59, "CP1252"},
    {0x64, "CP852"},       {0x65, "CP866"},        {0x66, "CP865"},
    {0x67, "CP861"},       {0x6A, "CP737"},        {0x6B, "CP857"},
    {0x6C, "CP863"},       {0x7C, "CP874"},        {0x7D, "CP1255"},
    {0x7E, "CP1256"},      {0x86, "CP737"},        {0x87, "CP852"},
    {0x88, "CP857"},       {0x96, "MAC-CYRILLIC"}, {0x97, "MAC-CENTRALEUROPE"},
    {0x98, "CP10006"},     {0xC8, "CP1250"},       {0xC9, "CP1251"},
    {0xCA, "CP1254"},      {0xCB, "CP1253"},       {0xCC, "CP1257"},
};

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = char(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::optional<std::string> readCpgBeside(const std::string& tablePath) {
    const FileHandle file = openFileBeside(tablePath, {".cpg", ".CPG"}, "code page file");
    if (!file) return std::nullopt;
    std::string content(kMaxCpgSize, '\0');
    content.resize(
        std::size_t(std::max<std::int64_t>(file.readAt(content.data(), content.size(), 0), 0)));
    return content;
}

// A table's texts in that code page, if this system can convert it.
std::optional<TableCharset> convertible(const std::string& codePage) {
    try {
        return TableCharset::named(codePage);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string trimmed(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return {};
    return std::string(text.substr(start, text.find_last_not_of(" \t\r\n") - start + 1));
}

}  // namespace

std::optional<std::string> codePageOfCpg(std::string_view content) {
    const std::string text = upper(content);
    auto has = [&text](const char* word) { return text.find(word) != std::string::npos; };
    auto numberAfter = [&text](std::size_t from) {
        const std::size_t start = text.find_first_of("0123456789", from);
        if (start == std::string::npos) return std::string();
        return text.substr(start, text.find_first_not_of("0123456789", start) - start);
    };
    if (has("UTF-8") || has("UTF8") || has("65001")) return "UTF-8";
    if (has("8859")) {
        const std::string part = numberAfter(text.find("8859") + 4);
        return part.empty() ? std::nullopt : std::optional<std::string>("ISO-8859-" + part);
    }
    if (const std::string number = numberAfter(0); !number.empty()) return "CP" + number;
    if (has("ANSI")) return kAnsiCodePage;
    return std::nullopt;
}

std::optional<std::string> codePageOfLanguageDriver(std::uint8_t driver) {
    for (const DriverPage& entry : kDriverPages) {
        if (entry.driver == driver) return entry.codePage;
    }
    return std::nullopt;
}

TableCharset TableCharset::forTable(const std::string& tablePath, std::uint8_t languageDriver) {
    if (const auto cpg = readCpgBeside(tablePath)) {
        // The name as written, when iconv knows it ("KOI8-R"); else the
        // number or word it holds ("1251", "ANSI 1251").
        if (const std::string name = trimmed(*cpg); !name.empty()) {
            if (auto charset = convertible(name)) return std::move(*charset);
        }
        if (const auto page = codePageOfCpg(*cpg)) {
            if (auto charset = convertible(*page)) return std::move(*charset);
        }
    }
    // A code page that cannot be converted counts as none named.
    if (const auto page = codePageOfLanguageDriver(languageDriver)) {
        if (auto charset = convertible(*page)) return std::move(*charset);
    }
    return named(kOemCodePage);
}

TableCharset TableCharset::named(const std::string& codePage) {
    TableCharset charset;
    charset.name_ = codePage;
    // Every spelling of UTF-8 ("utf8", "65001"): iconv would read it a byte
    // at a time as a single-byte page.
    if (codePageOfCpg(codePage) == "UTF-8") {
        charset.utf8_ = true;
        return charset;
    }
    const CodePage& stored = CodePage::named(codePage);
    const CodePage& ansi = ansiCodePage();
    charset.identity_ = &stored == &ansi;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const int toAnsi = ansi.fromUnicode(stored.toUnicode(byte));
        charset.toAnsi_[byte] = toAnsi < 0 ? kReplacementChar : char(toAnsi);
        const int fromAnsi = stored.fromUnicode(ansi.toUnicode(byte));
        charset.fromAnsi_[byte] = fromAnsi < 0 ? kReplacementChar : char(fromAnsi);
    }
    charset.asciiKept_ = true;
    for (int b = 0; b < 0x80; ++b)
        charset.asciiKept_ = charset.asciiKept_ && charset.toAnsi_[std::size_t(b)] == char(b);
    return charset;
}

std::string TableCharset::toAnsi(std::string_view stored) const {
    std::string result;
    appendAnsi(stored, result);
    return result;
}

void TableCharset::appendAnsi(std::string_view stored, std::string& out) const {
    if (utf8_) {
        out += ansiFromUtf8(stored);
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + stored.size());
    writeSingleByte(stored, out.data() + start);
}

char* TableCharset::writeSingleByte(std::string_view stored, char* out) const {
    words::copy(out, stored.data(), stored.size());
    const auto highByte = [](std::uint64_t w) { return w & words::kHighBits; };
    if (!identity_ && !keepsBytes(words::any(stored.data(), stored.size(), highByte))) {
        toAnsiInPlace(out, stored.size());
    }
    return out + stored.size();
}

void TableCharset::toAnsiInPlace(char* text, std::size_t size) const {
    for (char* c = text; c != text + size; ++c) *c = toAnsi_[static_cast<unsigned char>(*c)];
}

std::string TableCharset::fromAnsi(std::string_view ansi) const {
    if (utf8_) return utf8FromAnsi(ansi);
    std::string result(ansi.size(), '\0');
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        result[i] = fromAnsi_[static_cast<unsigned char>(ansi[i])];
    }
    return result;
}

std::optional<char> TableCharset::firstLacked(std::string_view ansi) const {
    if (utf8_ || identity_) return std::nullopt;
    for (const char c : ansi) {
        if (fromAnsi_[static_cast<unsigned char>(c)] == kReplacementChar && c != kReplacementChar)
            return c;
    }
    return std::nullopt;
}

}  // namespace geocalc
