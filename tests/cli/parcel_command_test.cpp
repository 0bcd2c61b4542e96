#include "cli/parcel_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "cli/cli_io.h"
#include "../table/dbf_builder.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc::cli {
namespace {

const std::string kSample = std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat";

ParcelOptions options(ParcelFormat format, std::string outputPath = "", bool byName = false) {
    ParcelOptions o;
    o.format = format;
    o.outputPath = std::move(outputPath);
    o.byName = byName;
    return o;
}

TEST(ParcelCommandTest, DescribesTheSampleByNumbersOrNames) {
    std::ostringstream byNumber, byName;
    runParcelCommand({kSample, "1", "2", "3", "4", "5", "6", "7", "8"}, options(ParcelFormat::Text),
                     byNumber, byNumber);
    EXPECT_NE(byNumber.str().find("Area: 215 239 m² (21.5239 ha)\nOrientation: clockwise\n"),
              std::string::npos)
        << byNumber.str();
    runParcelCommand({kSample, "Репер 1", "Точка 2", "Точка 3"},
                     options(ParcelFormat::Json, "", true), byName, byName);
    EXPECT_NE(byName.str().find("\"name\": \"Точка 3\""), std::string::npos) << byName.str();
}

TEST(ParcelCommandTest, WritesTheFileWholeWithO) {
    TempFolder folder;
    std::ostringstream none;
    runParcelCommand({kSample, "1", "2", "3"}, options(ParcelFormat::Dxf, folder.file("p.dxf")),
                     none, none);
    EXPECT_EQ(none.str(), "");
    const std::string dxf = readBytes(folder.file("p.dxf"));
    EXPECT_NE(dxf.find("ANSI_1251"), std::string::npos);
    EXPECT_NE(dxf.find("\xD0\xE5\xEF\xE5\xF0 1"), std::string::npos);  // "Репер 1" in Windows-1251
    EXPECT_EQ(folder.names(), std::vector<std::string>{"p.dxf"});
}

TEST(ParcelCommandTest, ACrossingIsWarnedOfInEveryFormatAndIsNoFailure) {
    for (const ParcelFormat format : {ParcelFormat::Text, ParcelFormat::Json, ParcelFormat::Csv,
                                      ParcelFormat::Svg, ParcelFormat::Dxf}) {
        std::ostringstream out, err;
        EXPECT_EQ(runParcelCommand({kSample, "1", "3", "2", "4"}, options(format), out, err), 0);
        EXPECT_EQ(err.str(),
                  "Warning: side 1 (Репер 1 - Точка 3) and side 3 (Точка 2 - Точка 4) cross or "
                  "touch: the point "
                  "order is wrong and the area means nothing.\n");
        if (format != ParcelFormat::Csv &&
            format != ParcelFormat::Json) {  // the catalogue; "crossing" in JSON
            const std::string warning =
                format == ParcelFormat::Dxf ? "side 1 (\xD0\xE5\xEF\xE5\xF0 1" : "side 1 (Репер 1";
            EXPECT_NE(out.str().find(warning), std::string::npos) << int(format);
        }
    }
}

// Repeating the first point at the end says the figure closes, as it
// always does: the same parcel as without it.
TEST(ParcelCommandTest, TheFirstPointRepeatedLastClosesTheFigure) {
    std::ostringstream open, closed, byName;
    runParcelCommand({kSample, "1", "2", "3", "4", "5", "6", "7", "8"}, options(ParcelFormat::Json), open, open);
    runParcelCommand({kSample, "1", "2", "3", "4", "5", "6", "7", "8", "1"}, options(ParcelFormat::Json), closed, closed);
    runParcelCommand({kSample, "Репер 1", "Точка 2", "Точка 3", "Репер 1"}, options(ParcelFormat::Json, "", true),
                     byName, byName);
    EXPECT_EQ(closed.str(), open.str());
    const std::string three = byName.str();
    EXPECT_NE(three.find("\"crossing\": null"), std::string::npos) << three;
    EXPECT_EQ(std::count(three.begin(), three.end(), '{'), 4);  // the parcel and its 3 points
}

// Texts that are no number, and values no output can carry, name their record.
TEST(ParcelCommandTest, BadCoordinatesNameTheirRecord) {
    TempFolder folder;
    DbfBuilder builder;
    builder.field("NAME", 'C', 10).field("X", 'C', 20).field("Y", 'C', 20);
    builder.textRecord({"A", "0", "0"});
    builder.textRecord({"B", "1e300", "0"});
    builder.textRecord({"C", "0", "1e300"});
    builder.textRecord({"\xD2\xEE\xF7\xEA\xE0 3", "abc", "0"});
    writeBytes(folder.file("t.dbf"), builder.bytes());
    std::ostringstream out;
    EXPECT_ERROR(runParcelCommand({folder.file("t.dbf"), "1", "2", "4"}, {}, out, out),
                 "Record 4 (\xD2\xEE\xF7\xEA\xE0 3), X: 'abc' is not a valid floating point value");
    for (const ParcelFormat format : {ParcelFormat::Text, ParcelFormat::Json, ParcelFormat::Csv}) {
        EXPECT_ERROR(runParcelCommand({folder.file("t.dbf"), "1", "2", "3"}, options(format, folder.file("o")), out, out),
                     "The area is larger than any number the outputs can carry");
    }
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(std::filesystem::exists(folder.file("o")));
}

TEST(ParcelCommandTest, Failures) {
    std::ostringstream out;
    EXPECT_ERROR(runParcelCommand({kSample, "1", "2"}, {}, out, out),
                 "A parcel needs at least three points, got 2");
    EXPECT_ERROR(runParcelCommand({kSample, "1", "2", "9"}, {}, out, out),
                 "Record 9 does not exist: the table has 8 records");
    EXPECT_ERROR(runParcelCommand({kSample, "1", "2", "2"}, {}, out, out),
                 "Records 2 (\xD2\xEE\xF7\xEA\xE0 2) and 2 (\xD2\xEE\xF7\xEA\xE0 2) are one point: the side "
                 "between them has no direction");
    EXPECT_ERROR(runParcelCommand({kSample, "Репер 1", "нет", "Точка 2"},
                                  options(ParcelFormat::Text, "", true), out, out),
                 "No record is named '\xED\xE5\xF2'");
    EXPECT_THROW(runParcelCommand({kSample}, {}, out, out), UsageError);
    EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace geocalc::cli
