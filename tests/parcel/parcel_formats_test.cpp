// Each format read back by a reader independent of geocalc: Python's json and
// csv modules, xmllint and Python's XML parser, GDAL's ogr2ogr.
#include "parcel/parcel_formats.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "numtext/format_settings.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

// Runs a shell command on a file holding `content`, named by $FILE; its standard output.
std::string readBack(const std::string& content, const std::string& command,
                     const char* extension) {
    TempFolder folder;
    const std::string file = folder.file(std::string("parcel.") + extension);
    writeBytes(file, content);
    FILE* pipe = popen(("FILE='" + file + "'; " + command + " 2>&1").c_str(), "r");
    std::string out;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
    return out;
}

// A rectangle of 100 m by 100.5 m listed east first, its X texts with the
// run's separator, names that need care in every format.
Parcel square() {
    const std::string north = std::string("6000100") + numberFormat().decimalSeparator + "5";
    return describeParcel({{"\xD0\xE5\xEF\xE5\xF0 1", "6000000", "500000"},  // "Репер 1"
                           {"A&B <\"q\">", "6000000", "500100"},
                           {"x;y,z", north, "500100"},
                           {"\xD2\xEE\xF7\xEA\xE0 4", north, "500000"}});  // "Точка 4"
}

TEST(ParcelFormatsTest, TextIsAnAlignedCatalogueWithTotals) {
    EXPECT_EQ(parcelText(square()),
              "№  Name               X       Y  Direction   Length\n"
              "1  Репер 1      6000000  500000  90°0'0.0\"   100.00\n"
              "2  A&B <\"q\">    6000000  500100  0°0'0.0\"    100.50\n"
              "3  x;y,z      6000100.5  500100  270°0'0.0\"  100.00\n"
              "4  Точка 4    6000100.5  500000  180°0'0.0\"  100.50\n"
              "\n"
              "Perimeter: 401.00 m\n"
              "Area: 10050.00 m² (1.0050 ha)\n"
              "Orientation: counter-clockwise\n");
    SeparatorGuard comma(',');
    const std::string text = parcelText(
        describeParcel({{"a", "0", "0"}, {"b", "10", "10"}, {"c", "0", "10"}, {"d", "10", "0"}}));
    EXPECT_NE(text.find("Area: 0,00 m² (0,0000 ha)"), std::string::npos) << text;
    EXPECT_NE(text.find("Warning: side 1 (a - b) and side 3 (c - d) cross or touch"),
              std::string::npos)
        << text;
}

TEST(ParcelFormatsTest, JsonReadsBackWithItsNumbersUnrounded) {
    const std::string out = readBack(parcelJson(square()), R"(python3 -c '
import json, sys
p = json.load(open(sys.argv[1], encoding="utf-8"))
print(p["points"][0]["name"], p["points"][1]["name"], p["points"][2]["x"], p["points"][0]["direction"])
print(*[repr(float(v)) for v in (p["points"][1]["length"], p["perimeter"], p["area"])], p["orientation"], p["crossing"])
' "$FILE")",
                                     "json");
    EXPECT_EQ(
        out,
        "Репер 1 A&B <\"q\"> 6000100.5 90°0'0.0\"\n100.5 401.0 10050.0 counterclockwise None\n");
}

TEST(ParcelFormatsTest, JsonIsTheSameInEveryLocale) {
    const std::string withPoint = parcelJson(square());
    SeparatorGuard comma(',');
    EXPECT_EQ(parcelJson(square()), withPoint);  // the table's texts had "," here
    EXPECT_EQ(withPoint.find("6000100,5"), std::string::npos);
}

TEST(ParcelFormatsTest, CsvReadsBackInTheUsersLocale) {
    const char* reader = R"(python3 -c '
import csv, sys
text = open(sys.argv[1], encoding="utf-8-sig", newline="").read()
for row in csv.reader(text.splitlines(), delimiter=sys.argv[2]):
    print("|".join(row))
' "$FILE" )";
    EXPECT_EQ(readBack(parcelCsv(square()), reader + std::string("','"), "csv"),
              "№|Name|X|Y|Direction|Length\n"
              "1|Репер 1|6000000|500000|90°0'0.0\"|100.00\n"
              "2|A&B <\"q\">|6000000|500100|0°0'0.0\"|100.50\n"
              "3|x;y,z|6000100.5|500100|270°0'0.0\"|100.00\n"
              "4|Точка 4|6000100.5|500000|180°0'0.0\"|100.50\n"
              "\n"
              "|Perimeter, m||||401.00\n"
              "|Area, m²||||10050.00\n"
              "|Area, ha||||1.0050\n");
    SeparatorGuard comma(',');
    const std::string csv = parcelCsv(square());
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    const std::string rows = readBack(csv, reader + std::string("';'"), "csv");
    EXPECT_NE(rows.find("\n3|x;y,z|6000100,5|500100|270°0'0,0\"|100,00\n"), std::string::npos)
        << rows;
    // A spreadsheet that splits at commas, semicolons and tabs at once keeps
    // every quoted field whole: each field holding any of them, or the
    // decimal separator, is quoted.
    EXPECT_NE(csv.find("\r\n3;\"x;y,z\";\"6000100,5\";500100;\"270°0'0,0\"\"\";\"100,00\"\r\n"), std::string::npos)
        << csv;
}

TEST(ParcelFormatsTest, SvgIsValidXmlDrawnAtAStandardScale) {
    const std::string svg = parcelSvg(square());
    EXPECT_EQ(readBack(svg, "xmllint --noout \"$FILE\" && echo valid", "svg"), "valid\n");
    const std::string out = readBack(svg, R"(python3 -c '
import sys, xml.etree.ElementTree as ET
ns = {"s": "http://www.w3.org/2000/svg"}
root = ET.parse(sys.argv[1]).getroot()
print(root.get("width"), root.get("height"), root.get("viewBox"))
print(len(root.find("s:polygon[@id=\"parcel\"]", ns).get("points").split()))
texts = [t.text for t in root.findall("s:text", ns)]
print("1:1000" in texts, "A&B <\"q\">" in texts, "Репер 1" in texts, "100.50" in texts, "N" in texts)
' "$FILE")",
                                     "svg");
    // 100 m is 200 mm at 1:500, more than a portrait A4 holds within its margins.
    EXPECT_EQ(out, "210mm 297mm 0 0 210 297\n4\nTrue True True True True\n");
}

TEST(ParcelFormatsTest, SvgTakesTheLargestScaleAndTheBetterOrientation) {
    struct Case {
        const char *east, *north;  // extent of a rectangle, m
        std::string scale, width;
    };
    const std::vector<Case> cases = {
        {"10", "10", "1:100", "210mm"},
        {"25", "5", "1:100", "297mm"},  // 250 mm across: only a landscape page
        {"2000", "1000", "1:10000", "297mm"},
        {"1000", "2000", "1:10000", "210mm"},
        {"60000", "10", "1:500000", "210mm"},  // both fit 1:500000 only: portrait
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.east) + " x " + c.north);
        const std::string svg = parcelSvg(describeParcel(
            {{"a", "0", "0"}, {"b", "0", c.east}, {"c", c.north, c.east}, {"d", c.north, "0"}}));
        EXPECT_NE(svg.find(">" + c.scale + "</text>"), std::string::npos);
        EXPECT_NE(svg.find("width=\"" + c.width + "\""), std::string::npos);
    }
}

// The (x, y) pairs of the first WKT geometry of `kind` in GDAL's CSV.
std::vector<std::pair<double, double>> wktPoints(const std::string& csv, const std::string& kind) {
    std::vector<std::pair<double, double>> points;
    const std::size_t start = csv.find(kind + " Z (");
    if (start == std::string::npos) return points;
    std::istringstream coordinates(
        csv.substr(start + kind.size() + 4, csv.find(')', start) - start - kind.size() - 4));
    for (std::string vertex; std::getline(coordinates, vertex, ',');) {
        std::istringstream xyz(vertex);
        double x = 0, y = 0;
        xyz >> x >> y;
        points.emplace_back(x, y);
    }
    return points;
}

TEST(ParcelFormatsTest, DxfReadsBackThroughGdal) {
    const std::string out = readBack(
        parcelDxf(square()), "ogr2ogr -f CSV /vsistdout/ \"$FILE\" -lco GEOMETRY=AS_WKT", "dxf");
    // CAD x is Y (east), CAD y is X (north); the boundary is closed.
    const std::vector<std::pair<double, double>> boundary = {{500000, 6000000},
                                                             {500100, 6000000},
                                                             {500100, 6000100.5},
                                                             {500000, 6000100.5},
                                                             {500000, 6000000}};
    EXPECT_EQ(wktPoints(out, "LINESTRING"), boundary) << out;
    EXPECT_NE(out.find(",PARCEL,"), std::string::npos);
    EXPECT_EQ(wktPoints(out, "POINT"), (std::vector<std::pair<double, double>>{{500000, 6000000}}));
    // The names come back from Windows-1251, each on the labels layer.
    for (const char* label : {",LABELS,,,,,Репер 1\n", ",LABELS,,,,,Точка 4\n",
                              ",LABELS,,,,,\"x;y,z\"\n", ",LABELS,,,,,\"A&B <\"\"q\"\">\"\n"}) {
        EXPECT_NE(out.find(label), std::string::npos) << label << "\n" << out;
    }
}

// CAD programs open the drawing on the figure, show the names in a font
// with Cyrillic letters, and show every text as written; ezdxf's audit finds
// nothing to mend.
TEST(ParcelFormatsTest, DxfHasItsExtentsAStyleWithCyrillicTheCatalogueAndTheArea) {
    const std::string dxf = parcelDxf(describeParcel({{"50%%d", "6000000", "500000"},
                                                      {"\xD2\xEE\xF7\xEA\xE0 2", "6000000", "500100"},
                                                      {"3", "6000100.5", "500100"}}));
    // Each "%" as "%%%", the escape CAD programs read as one percent sign
    // (GDAL and ezdxf decode only %%c, %%d and %%p, so they cannot check it).
    EXPECT_NE(dxf.find("\r\n50%%%%%%d\r\n"), std::string::npos);
    const std::string out = readBack(dxf,
                                     R"(/usr/bin/python3 -c '
import ezdxf, sys
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
print("audit", len(auditor.errors), len(auditor.fixes))
print("extents", *doc.header["$EXTMIN"][:2], *doc.header["$EXTMAX"][:2])
print("style", doc.styles.get("GEOCALC").dxf.font)
for t in doc.modelspace().query("TEXT"):
    print(t.dxf.layer, t.dxf.style, t.plain_text(), round(t.dxf.insert.x, 3), round(t.dxf.insert.y, 3))
' "$FILE")",
                                     "dxf");
    EXPECT_NE(out.find("audit 0 0\n"), std::string::npos) << out;
    EXPECT_NE(out.find("style arial.ttf\n"), std::string::npos) << out;
    EXPECT_NE(out.find("LABELS GEOCALC Точка 2 "), std::string::npos) << out;
    EXPECT_NE(out.find("CATALOGUE GEOCALC 2  Точка 2  6000000  500100  0°0'0.0\"  100.50"), std::string::npos) << out;
    EXPECT_NE(out.find("AREA GEOCALC Area: 5025.00 m2 (0.5025 ha)"), std::string::npos) << out;
    // The extents hold the figure, its labels and the catalogue beside it.
    std::istringstream extents(out.substr(out.find("extents ") + 8));
    double minEast = 0, minNorth = 0, maxEast = 0, maxNorth = 0;
    extents >> minEast >> minNorth >> maxEast >> maxNorth;
    EXPECT_LE(minEast, 500000);
    EXPECT_LE(minNorth, 6000000);
    EXPECT_GE(maxEast, 500100);
    EXPECT_GE(maxNorth, 6000100.5);
    std::istringstream texts(out);
    for (std::string line; std::getline(texts, line);) {
        if (line.rfind("CATALOGUE", 0) != 0 && line.rfind("AREA", 0) != 0 && line.rfind("LABELS", 0) != 0) continue;
        std::istringstream at(line.substr(line.rfind(' ', line.rfind(' ') - 1)));
        double east = 0, north = 0;
        at >> east >> north;
        EXPECT_TRUE(east >= minEast && east <= maxEast && north >= minNorth && north <= maxNorth) << line;
    }
}

}  // namespace
}  // namespace geocalc
