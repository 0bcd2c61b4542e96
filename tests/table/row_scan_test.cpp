#include "table/row_scan.h"

#include <gtest/gtest.h>

#include <random>

#include "dbf_builder.h"
#include "table/table_dataset.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

// Stored number texts of every kind the scan tells apart: its own digits,
// digits it must write again (zeros to drop, a "+", a missing 0), blanks and
// texts only the full reader judges.
const std::vector<std::string> kNumbers = {
    "6171234.560", "-12.5", "0.125", "-0.000", "007.250", "+3.5",    ".5",
    "-.5",         "12.",   "1e5",   "***",    "1 2",     "12.5   ", "123456789012345678",
    "0.00001",     "",      "-",     "9",      "100"};

// Stored texts: plain ASCII, letters from 0x80 up, blanks first, a NUL
// within, nothing but blanks.
const std::vector<std::string> kTexts = {
    "P1",      "benchmark point", "\xD0\xE5\xEF\xE5\xF0 1", "  lead", std::string("a\0b cd", 6), "",
    "x\\y\tz", "\xFF\x80\x7F"};

std::string randomText(std::mt19937& random, const std::vector<std::string>& from, int length) {
    std::string text = from[random() % from.size()];
    text.resize(std::min<std::size_t>(text.size(), std::size_t(length)));
    if (random() % 2 &&
        text.size() < std::size_t(length)) {  // right-aligned, as numbers are stored
        text = std::string(std::size_t(length) - text.size(), ' ') + text;
    }
    text.resize(std::size_t(length), ' ');
    return text;
}

struct Layout {
    const char* what;
    std::uint8_t languageDriver;
    std::vector<DbfBuilder::Field> fields;
};

// The one-pass scan gives every row the texts that reading row by row gives,
// for fields short and long, at both ends of short and long records, in the
// ANSI code page and in one the texts are turned from, under both decimal
// separators; over several of its blocks, with deleted records among them.
TEST(RowScanTest, GivesTheTextsOfReadingRowByRow) {
    const std::vector<Layout> layouts = {
        {"a record shorter than a window", 0xC9, {{"T", 'C', 3}, {"N", 'N', 6, 2}}},
        {"numbers at both ends",
         0xC9,
         {{"X", 'N', 12, 3}, {"NAME", 'C', 10}, {"CODE", 'C', 20}, {"Y", 'N', 12, 3}}},
        {"fields longer than a window",
         0xC9,
         {{"LONG", 'C', 40},
          {"N20", 'N', 20, 5},
          {"N33", 'N', 33, 2},
          {"F", 'F', 19, 8},
          {"T17", 'C', 17}}},
        {"CP866", 0x00, {{"NAME", 'C', 12}, {"X", 'N', 12, 3}, {"NOTE", 'C', 30}}},
    };
    std::mt19937 random(20261211);
    for (const Layout& layout : layouts) {
        DbfBuilder table;
        table.languageDriver(layout.languageDriver);
        for (const DbfBuilder::Field& f : layout.fields)
            table.field(f.name, f.type, f.length, f.decimals);
        for (int r = 0; r < 6000; ++r) {
            std::string bytes;
            for (const DbfBuilder::Field& f : layout.fields) {
                bytes += randomText(random, f.type == 'C' ? kTexts : kNumbers, f.length);
            }
            table.record(bytes, random() % 5 == 0);
        }
        TempFolder folder;
        writeBytes(folder.file("t.dbf"), table.bytes());
        for (const char separator : {'.', ','}) {
            SeparatorGuard guard(separator);
            TableDataset dataset;
            dataset.setReadOnly(true);
            dataset.setTableName(folder.file("t.dbf"));
            dataset.open();
            int row = 0;
            for (RowScan scan = dataset.scanRows(); const RowTexts* texts = scan.next(); ++row) {
                ASSERT_EQ(texts->size(), layout.fields.size());
                for (int f = 0; f < dataset.fieldCount(); ++f) {
                    ASSERT_EQ((*texts)[std::size_t(f)], dataset.fieldTextAt(row, f))
                        << layout.what << ", row " << row << ", field " << f;
                }
            }
            EXPECT_EQ(row, dataset.rowCount()) << layout.what;
        }
    }
}

}  // namespace
}  // namespace geocalc
