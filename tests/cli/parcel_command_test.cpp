#include "cli/parcel_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <sstream>

#include <nlohmann/json.hpp>

#include "../table/dbf_builder.h"
#include "cli/cli_io.h"
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

// A boundary crossing itself has no area to hand over: nothing written
// (an existing file left as it was), exit code 1; asked for, every format is
// written and marked.
TEST(ParcelCommandTest, ACrossingGetsNoDocumentsUnlessAskedForThenEachIsMarked) {
    const std::string warning =
        "Warning: side 1 (Репер 1 - Точка 3) and side 3 (Точка 2 - Точка 4) cross or touch: the "
        "point "
        "order is wrong and the area means nothing.\n";
    TempFolder folder;
    writeBytes(folder.file("kept.svg"), "kept");
    for (const ParcelFormat format : {ParcelFormat::Text, ParcelFormat::Json, ParcelFormat::Csv,
                                      ParcelFormat::Svg, ParcelFormat::Dxf}) {
        SCOPED_TRACE(int(format));
        for (const std::string& path : {std::string(), folder.file("kept.svg")}) {
            std::ostringstream out, err;
            EXPECT_EQ(
                runParcelCommand({kSample, "1", "3", "2", "4"}, options(format, path), out, err),
                kExitFailure);
            EXPECT_EQ(out.str(), "");
            EXPECT_EQ(
                err.str(),
                warning +
                    "Nothing written: the area of such a boundary means nothing "
                    "(--allow-crossing writes the documents, marked, to look for the fault)\n");
        }
        EXPECT_EQ(readBytes(folder.file("kept.svg")), "kept");

        ParcelOptions allowed = options(format);
        allowed.allowCrossing = true;
        std::ostringstream out, err;
        EXPECT_EQ(runParcelCommand({kSample, "1", "3", "2", "4"}, allowed, out, err), 0);
        EXPECT_EQ(err.str(), warning);
        const std::string marked = format == ParcelFormat::Json  ? "\"crossing\": [0,2]"
                                   : format == ParcelFormat::Dxf ? "side 1 (\xD0\xE5\xEF\xE5\xF0 1"
                                                                 : "side 1 (Репер 1";
        EXPECT_NE(out.str().find(marked), std::string::npos) << out.str();
    }
}

// Every measure is the one a reader recomputes from the printed catalogue:
// a table in millimetres printed to centimetres and to whole metres, its
// measures recomputed here from the coordinates as printed.
TEST(ParcelCommandTest, MeasuresComeFromTheCoordinatesAsPrinted) {
    struct Corner {
        long long x, y;  // mm
    };
    const std::vector<Corner> corners = {{6000000004, 2000000006},
                                         {6000040005, 2000000004},
                                         {6000040506, 2000049495},
                                         {6000000003, 2000040504}};
    TempFolder folder;
    DbfBuilder builder;
    builder.field("NAME", 'C', 10).field("X", 'N', 14, 3).field("Y", 'N', 14, 3);
    auto millimetres = [](long long v) {
        return std::to_string(v / 1000) + "." + std::to_string(1000 + v % 1000).substr(1);
    };
    for (std::size_t i = 0; i < corners.size(); ++i) {
        builder.textRecord(
            {"P" + std::to_string(i + 1), millimetres(corners[i].x), millimetres(corners[i].y)});
    }
    writeBytes(folder.file("mm.dbf"), builder.bytes());

    for (const int decimals : {2, 0}) {
        SCOPED_TRACE(decimals);
        long long unit = 1;  // mm in a printed step
        for (int d = decimals; d < 3; ++d) unit *= 10;
        auto printed = [unit](long long v) {
            return (v + unit / 2) / unit * unit;
        };                        // half up, all positive
        long long twiceArea = 0;  // mm²
        long double perimeter = 0;
        std::vector<long double> lengths, directions;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const Corner& a = corners[i];
            const Corner& b = corners[(i + 1) % corners.size()];
            const long long ax = printed(a.x), ay = printed(a.y), bx = printed(b.x),
                            by = printed(b.y);
            twiceArea += (ax - bx) * (ay + by);
            const long double length =
                std::hypot((long double)(bx - ax), (long double)(by - ay)) / 1000;
            lengths.push_back(length);
            perimeter += length;
            long double angle = std::atan2((long double)(by - ay), (long double)(bx - ax)) * 180 /
                                std::numbers::pi_v<long double>;
            directions.push_back(angle < 0 ? angle + 360 : angle);
        }
        ParcelOptions o = options(ParcelFormat::Json);
        o.handover.decimals = decimals;
        std::ostringstream out, err;
        runParcelCommand({folder.file("mm.dbf"), "1", "2", "3", "4"}, o, out, err);
        const nlohmann::json json = nlohmann::json::parse(out.str());
        EXPECT_DOUBLE_EQ(json["area"].get<double>(), double(std::llabs(twiceArea)) / 2 / 1e6);
        EXPECT_NEAR(json["perimeter"].get<double>(), double(perimeter), 1e-9);
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const nlohmann::json& point = json["points"][i];
            EXPECT_NEAR(point["length"].get<double>(), double(lengths[i]), 1e-9);
            int degrees = 0, minutes = 0;
            double seconds = 0;
            ASSERT_EQ(std::sscanf(point["direction"].get<std::string>().c_str(), "%d\xC2\xB0%d'%lf",
                                  &degrees, &minutes, &seconds),
                      3);
            EXPECT_NEAR(degrees + minutes / 60.0 + seconds / 3600, double(directions[i]),
                        0.06 / 3600);
            const long long x = printed(corners[i].x);
            EXPECT_EQ(point["x"],
                      std::to_string(x / 1000) +
                          (decimals > 0 ? "." + std::to_string(1000 + x % 1000).substr(1, decimals)
                                        : ""));
        }
    }
}

// Repeating the first point at the end says the figure closes, as it
// always does: the same parcel as without it.
TEST(ParcelCommandTest, TheFirstPointRepeatedLastClosesTheFigure) {
    std::ostringstream open, closed, byName;
    runParcelCommand({kSample, "1", "2", "3", "4", "5", "6", "7", "8"}, options(ParcelFormat::Json),
                     open, open);
    runParcelCommand({kSample, "1", "2", "3", "4", "5", "6", "7", "8", "1"},
                     options(ParcelFormat::Json), closed, closed);
    runParcelCommand({kSample, "Репер 1", "Точка 2", "Точка 3", "Репер 1"},
                     options(ParcelFormat::Json, "", true), byName, byName);
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
        EXPECT_ERROR(runParcelCommand({folder.file("t.dbf"), "1", "2", "3"},
                                      options(format, folder.file("o")), out, out),
                     "The area is larger than any number the outputs can carry");
    }
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(std::filesystem::exists(folder.file("o")));
}

// A number field's characters that are no number are quoted as stored.
TEST(ParcelCommandTest, ANumberFieldThatHoldsNoNumberIsQuotedAsStored) {
    TempFolder folder;
    DbfBuilder builder;
    builder.field("NAME", 'C', 10).field("X", 'N', 12, 2).field("Y", 'N', 12, 2);
    builder.textRecord({"A", "  6174000.00", "  2310000.00"});
    builder.textRecord({"B", "         abc", "  2310000.00"});
    builder.textRecord({"C", "  6174010.00", "  6174010,00"});
    writeBytes(folder.file("t.dbf"), builder.bytes());
    std::ostringstream out;
    EXPECT_ERROR(runParcelCommand({folder.file("t.dbf"), "1", "2", "3"}, {}, out, out),
                 "Record 2 (B), X: 'abc' is not a valid floating point value");
    EXPECT_ERROR(runParcelCommand({folder.file("t.dbf"), "3", "1", "2"}, {}, out, out),
                 "Record 3 (C), Y: '6174010,00' is not a valid floating point value");
}

TEST(ParcelCommandTest, Failures) {
    std::ostringstream out;
    EXPECT_ERROR(runParcelCommand({kSample, "1", "2"}, {}, out, out),
                 "A parcel needs at least three points, got 2");
    EXPECT_ERROR(runParcelCommand({kSample, "1", "2", "9"}, {}, out, out),
                 "Record 9 does not exist: the table has 8 records");
    EXPECT_ERROR(
        runParcelCommand({kSample, "1", "2", "2"}, {}, out, out),
        "Records 2 (\xD2\xEE\xF7\xEA\xE0 2) and 2 (\xD2\xEE\xF7\xEA\xE0 2) are one point: the side "
        "between them has no direction");
    EXPECT_ERROR(runParcelCommand({kSample, "Репер 1", "нет", "Точка 2"},
                                  options(ParcelFormat::Text, "", true), out, out),
                 "No record is named '\xED\xE5\xF2'");
    EXPECT_ERROR(runParcelCommand({kSample, "1", "2", "3"},
                                  options(ParcelFormat::Svg, "/no/such/folder/x.svg"), out, out),
                 "Cannot write '/no/such/folder/x.svg': the folder does not exist");
    EXPECT_THROW(runParcelCommand({kSample}, {}, out, out), UsageError);
    EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace geocalc::cli
