// Each format read back by a reader independent of geocalc: Python's json and
// csv modules, xmllint and Python's XML parser, GDAL's ogr2ogr.
#include "parcel/parcel_formats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "numtext/format_settings.h"
#include "parcel/parcel_numbers.h"
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
    EXPECT_EQ(parcelText(square(), {}),
              "№  Name                X          Y  Direction   Length\n"
              "1  Репер 1    6000000.00  500000.00  90°0'0.0\"   100.00\n"
              "2  A&B <\"q\">  6000000.00  500100.00  0°0'0.0\"    100.50\n"
              "3  x;y,z      6000100.50  500100.00  270°0'0.0\"  100.00\n"
              "4  Точка 4    6000100.50  500000.00  180°0'0.0\"  100.50\n"
              "\n"
              "Perimeter: 401.00 m\n"
              "Area: 10 050 m² (1.0050 ha)\n"
              "Orientation: counter-clockwise\n");
    SeparatorGuard comma(',');
    const std::string text = parcelText(
        describeParcel({{"a", "0", "0"}, {"b", "10", "10"}, {"c", "0", "10"}, {"d", "10", "0"}}),
        {});
    EXPECT_NE(text.find("Area: 0 m² (0,0000 ha)"), std::string::npos) << text;
    EXPECT_NE(text.find("Warning: side 1 (a - b) and side 3 (c - d) cross or touch"),
              std::string::npos)
        << text;
}

TEST(ParcelFormatsTest, CoordinatesGetTheCataloguesDecimalsExactly) {
    struct Case {
        const char* text;
        int digits;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"6000100.5", 2, "6000100.50"},
        {"1.005", 2, "1.01"},
        {"-1.005", 2, "-1.01"},
        {"1.0049999", 2, "1.00"},
        {"-0.004", 2, "0.00"},
        {"123", 0, "123"},
        {"1e3", 2, "1000.00"},
        {"0.125", 1, "0.1"},
        {"0.15", 1, "0.2"},
        {"2310456.785", 2, "2310456.79"},  // the double nearest is below the tie
        {"12345678901234567890.5", 0, "12345678901234567891"},
        {"9.995", 2, "10.00"},
        {"-999.96", 1, "-1000.0"},
        {"007.5", 0, "8"},
        {"0.004", 2, "0.00"},
        {"12.", 1, "12.0"},
        {".5", 0, "1"},
        {"-0.5", 0, "-1"},
        {"1.5e1", 0, "15"},
    };
    for (const Case& c : cases) EXPECT_EQ(coordinateText(c.text, c.digits), c.shown) << c.text;
    SeparatorGuard comma(',');
    EXPECT_EQ(coordinateText("6000100,5", 3), "6000100,500");
}

TEST(ParcelFormatsTest, LargeNumbersForPeopleAreGroupedByThousands) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"215239", "215 239"}, {"1234567,89", "1 234 567,89"}, {"-1234", "-1 234"},
        {"999", "999"},        {"1000.5", "1 000.5"},          {"0.12345", "0.12345"},
    };
    for (const auto& [text, grouped] : cases) EXPECT_EQ(groupedThousands(text), grouped) << text;
}

// A handover: Russian, three decimals, Mt, two title lines and a
// coordinate system; ΔP = 3.5 · 0.1 · √10050 = 35.087 m².
Handover russianHandover() {
    Handover handover;
    handover.language = Language::Russian;
    handover.decimals = 3;
    handover.mt = 0.1;
    handover.title = {"Участок 50:01:0001", "Москва, ул. Полевая, 1"};
    handover.surveyor = "Иванов И. И.";
    handover.date = "2026-12-10";
    handover.crs = "МСК-50 (зона 2)";
    return handover;
}

TEST(ParcelFormatsTest, TextAndCsvInTheReadersLanguageWithTheHandover) {
    const std::string text = parcelText(square(), russianHandover());
    EXPECT_EQ(text.substr(0, text.find("\n1 ")),
              "Участок 50:01:0001\nМосква, ул. Полевая, 1\nСистема координат: МСК-50 (зона 2)\n\n"
              "№  Имя                  X           Y  Дирекционный угол    Длина");
    EXPECT_NE(text.find("\n3  x;y,z      6000100.500  500100.000  270°0'0.0\"         100.000\n"),
              std::string::npos)
        << text;
    EXPECT_NE(
        text.find("\nПериметр: 401.000 м\nПлощадь: 10 050.0 ± 35.1 м² (1.00500 га)\nMt = 0.1 м\n"
                  "Обход: против часовой стрелки\n"),
        std::string::npos)
        << text;
    const std::string crossing = parcelText(
        describeParcel({{"a", "0", "0"}, {"b", "10", "10"}, {"c", "0", "10"}, {"d", "10", "0"}}),
        russianHandover());
    EXPECT_NE(
        crossing.find("Внимание: сторона 1 (a - b) и сторона 3 (c - d) пересекаются или касаются"),
        std::string::npos)
        << crossing;

    const std::string csv = parcelCsv(square(), russianHandover());
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")), "\xEF\xBB\xBF№,Имя,X,Y,Дирекционный угол,Длина");
    EXPECT_NE(
        csv.find(
            "\r\n\r\n,\"Периметр, м\",,,,\"401.000\"\r\n,\"Площадь, м²\",,,,\"10050.0\"\r\n"
            ",\"Площадь, га\",,,,\"1.00500\"\r\n,\"Допустимая погрешность площади, "
            "м²\",,,,\"35.1\"\r\n"
            "\r\n,Участок 50:01:0001\r\n,\"Москва, ул. Полевая, 1\"\r\n,\"Исполнитель: Иванов "
            "И. И.\"\r\n"
            ",\"Дата: 10.12.2026\"\r\n,Система координат: МСК-50 (зона 2)\r\n,\"Mt = 0.1 м\"\r\n"),
        std::string::npos)
        << csv;
}

// Mt keeps the decimals it was given with, in the run's separator; the
// date is the reader's: day first in Russian, as given (ISO) in English.
TEST(ParcelFormatsTest, MtAsWrittenAndTheDateInTheReadersOrder) {
    Handover handover = russianHandover();
    handover.mtDecimals = 2;
    EXPECT_EQ(mtLine(handover), "Mt = 0.10 м");
    handover.mtDecimals = -1;
    EXPECT_EQ(mtLine(handover), "Mt = 0.1 м");
    EXPECT_EQ(documentDate(handover), "10.12.2026");
    handover.language = Language::English;
    EXPECT_EQ(documentDate(handover), "2026-12-10");
    const std::string svg = parcelSvg(square(), russianHandover());
    EXPECT_NE(svg.find(">Дата: 10.12.2026<"), std::string::npos);
}

// Every key in every parcel's JSON; null where the handover says nothing.
TEST(ParcelFormatsTest, JsonKeepsOneSchemaWithTheHandover) {
    const char* reader = R"(python3 -c '
import json, sys
p = json.load(open(sys.argv[1], encoding="utf-8"))
print(sorted(p), p["area_error"], p["title"], p["crs"])
' "$FILE")";
    EXPECT_EQ(
        readBack(parcelJson(square(), russianHandover()), reader, "json"),
        "['area', 'area_error', 'crossing', 'crs', 'orientation', 'perimeter', 'points', 'title'] "
        "35.08739089758599 ['Участок 50:01:0001', 'Москва, ул. Полевая, 1'] МСК-50 (зона 2)\n");
    EXPECT_EQ(readBack(parcelJson(square(), {}), reader, "json"),
              "['area', 'area_error', 'crossing', 'crs', 'orientation', 'perimeter', 'points', "
              "'title'] None None None\n");
}

TEST(ParcelFormatsTest, JsonReadsBackWithItsNumbersUnrounded) {
    const std::string out = readBack(parcelJson(square(), {}), R"(python3 -c '
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
    const std::string withPoint = parcelJson(square(), {});
    SeparatorGuard comma(',');
    EXPECT_EQ(parcelJson(square(), {}), withPoint);  // the table's texts had "," here
    EXPECT_EQ(withPoint.find("6000100,5"), std::string::npos);
}

TEST(ParcelFormatsTest, CsvReadsBackInTheUsersLocale) {
    const char* reader = R"(python3 -c '
import csv, sys
text = open(sys.argv[1], encoding="utf-8-sig", newline="").read()
for row in csv.reader(text.splitlines(), delimiter=sys.argv[2]):
    print("|".join(row))
' "$FILE" )";
    EXPECT_EQ(readBack(parcelCsv(square(), {}), reader + std::string("','"), "csv"),
              "№|Name|X|Y|Direction|Length\n"
              "1|Репер 1|6000000.00|500000.00|90°0'0.0\"|100.00\n"
              "2|A&B <\"q\">|6000000.00|500100.00|0°0'0.0\"|100.50\n"
              "3|x;y,z|6000100.50|500100.00|270°0'0.0\"|100.00\n"
              "4|Точка 4|6000100.50|500000.00|180°0'0.0\"|100.50\n"
              "\n"
              "|Perimeter, m||||401.00\n"
              "|Area, m²||||10050\n"
              "|Area, ha||||1.0050\n");
    SeparatorGuard comma(',');
    const std::string csv = parcelCsv(square(), {});
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    const std::string rows = readBack(csv, reader + std::string("';'"), "csv");
    EXPECT_NE(rows.find("\n3|x;y,z|6000100,50|500100,00|270°0'0,0\"|100,00\n"), std::string::npos)
        << rows;
    // A spreadsheet that splits at commas, semicolons and tabs at once keeps
    // every quoted field whole: each field holding any of them, or the
    // decimal separator, is quoted.
    EXPECT_NE(
        csv.find("\r\n3;\"x;y,z\";\"6000100,50\";\"500100,00\";\"270°0'0,0\"\"\";\"100,00\"\r\n"),
        std::string::npos)
        << csv;
}

TEST(ParcelFormatsTest, SvgIsValidXmlDrawnAtAStandardScale) {
    const std::string svg = parcelSvg(square(), {});
    EXPECT_EQ(readBack(svg, "xmllint --noout \"$FILE\" && echo valid", "svg"), "valid\n");
    const std::string out = readBack(svg, R"(python3 -c '
import sys, xml.etree.ElementTree as ET
ns = {"s": "http://www.w3.org/2000/svg"}
root = ET.parse(sys.argv[1]).getroot()
print(root.get("width"), root.get("height"), root.get("viewBox"))
print(len(root.find("s:polygon[@id=\"parcel\"]", ns).get("points").split()))
texts = [t.text for t in root.iter("{http://www.w3.org/2000/svg}text")]
print("Scale 1:1000" in texts, "A&B <\"q\">" in texts, "Репер 1" in texts, "100.50" in texts, "N" in texts)
' "$FILE")",
                                     "svg");
    // 100 m is 200 mm at 1:500, more than an A4 holds within its margins.
    EXPECT_EQ(out, "297mm 210mm 0 0 297 210\n4\nTrue True True True True\n");
}

// The scale is the largest at which the figure alone, with room for its
// labels (12 mm round it), fits an A4 page; the page is A3 where A4 cannot
// also hold the catalogue and the title block at that scale.
TEST(ParcelFormatsTest, SvgTakesTheLargestScaleAndTheBetterPage) {
    struct Case {
        const char *east, *north;  // extent of a rectangle, m
        std::string scale, width, height;
    };
    const std::vector<Case> cases = {
        {"10", "10", "1:100", "210mm", "297mm"},
        {"25", "5", "1:100", "297mm", "210mm"},  // 250 mm across: only a landscape page
        {"2000", "1000", "1:10000", "297mm", "210mm"},
        {"1000", "2000", "1:10000", "210mm", "297mm"},
        {"60000", "10", "1:500000", "210mm",
         "297mm"},  // 1:500000 only: portrait leaves the figure more room
        {"25.2", "16.5", "1:100", "297mm", "420mm"},  // at 1:100 the figure fills an A4
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.east) + " x " + c.north);
        const std::string svg = parcelSvg(
            describeParcel(
                {{"a", "0", "0"}, {"b", "0", c.east}, {"c", c.north, c.east}, {"d", c.north, "0"}}),
            {});
        EXPECT_NE(svg.find(">Scale " + c.scale + "</text>"), std::string::npos);
        EXPECT_NE(svg.find("width=\"" + c.width + "\" height=\"" + c.height + "\""),
                  std::string::npos)
            << svg.substr(0, 200);
    }
}

// Renders a drawing with librsvg and prints, from the boxes of what it
// draws: the page, the number of labels, every part or label that leaves the
// printable area (10 mm margins), every two that overlap, and every name
// without a leader (within 4 mm of its mark) that stands as near another
// point's mark as its own.
const char* kDrawingCheck = R"(/usr/bin/python3 -c '
import sys, itertools, xml.etree.ElementTree as ET
import gi
gi.require_version("Rsvg", "2.0")
from gi.repository import Rsvg
root = ET.parse(sys.argv[1]).getroot()
width, height = (float(v) for v in root.get("viewBox").split()[2:])
handle = Rsvg.Handle.new_from_file(sys.argv[1])
handle.set_dpi(25.4)  # a pixel of the viewport is a millimetre
viewport = Rsvg.Rectangle()
viewport.x, viewport.y, viewport.width, viewport.height = 0, 0, width, height
def box(name):  # the logical box: this librsvg puts the origin in the ink box of filled shapes
    found, _, shown = handle.get_geometry_for_layer("#" + name, viewport)
    return (shown.x, shown.y, shown.x + shown.width, shown.y + shown.height)
ids = [e.get("id") for e in root.iter() if e.get("id")]
labels = [i for i in ids if i.startswith("label-")]
parts = [i for i in ("catalogue", "title-block", "north-arrow", "scale-bar") if i in ids]
boxes = {i: box(i) for i in labels + parts + ["parcel"]}
outside = [i for i, b in boxes.items() if b[0] < 10 or b[1] < 10 or b[2] > width - 10 or b[3] > height - 10]
overlapping = [a + "/" + b for a, b in itertools.combinations(labels + parts, 2)
               if boxes[a][0] < boxes[b][2] and boxes[b][0] < boxes[a][2] and boxes[a][1] < boxes[b][3] and boxes[b][1] < boxes[a][3]]
marks = [tuple(float(v) for v in xy.split(",")) for xy in root.find("{http://www.w3.org/2000/svg}polygon").get("points").split()]
def distance(b, m):
    return ((max(b[0] - m[0], 0, m[0] - b[2])) ** 2 + (max(b[1] - m[1], 0, m[1] - b[3])) ** 2) ** 0.5
ambiguous = []
for i in labels:
    own = int(i[len("label-"):])
    if own >= len(marks): continue  # a side length
    near = distance(boxes[i], marks[own])
    if near <= 4 and any(distance(boxes[i], m) <= near for k, m in enumerate(marks) if k != own):
        ambiguous.append(i)
print(int(width), int(height), len(labels), "outside:", outside, "overlapping:", overlapping, "ambiguous:", ambiguous)
' "$FILE")";

// A boundary of `n` points, wavy so that its labels crowd.
Parcel wavyParcel(int n) {
    std::vector<BoundaryPoint> points;
    for (int i = 0; i < n; ++i) {
        const double angle = 2 * 3.141592653589793 * i / n;
        const double radius = 300 + 40 * std::sin(7 * angle) + 15 * std::sin(23 * angle);
        points.push_back({"\xD2\xEE\xF7\xEA\xE0 " + std::to_string(i + 1),  // "Точка N"
                          decimalsText(6171000 + radius * std::cos(angle), 2),
                          decimalsText(2310000 + radius * std::sin(angle), 2), i + 1});
    }
    return describeParcel(std::move(points));
}

// Drawn by librsvg, no two labels overlap, nor a label and the catalogue,
// the title block, the north arrow or the scale bar, and nothing leaves
// the printable area: the sample, a crowded 200-point parcel (on A3, its
// catalogue in two blocks), a 1 m × 5 km strip, and a long title block
// with a crossing's warning.
TEST(ParcelFormatsTest, SvgLabelsNeverOverlapAndAllStaysWithinTheMargins) {
    Handover handover = russianHandover();
    const std::string sample = parcelSvg(square(), handover);
    EXPECT_EQ(readBack(sample, kDrawingCheck, "svg"),
              "297 210 8 outside: [] overlapping: [] ambiguous: []\n");

    const std::string crowded =
        readBack(parcelSvg(wavyParcel(200), handover), kDrawingCheck, "svg");
    EXPECT_EQ(crowded.substr(0, 8), "297 420 ") << crowded;
    EXPECT_NE(crowded.find(" outside: [] overlapping: [] ambiguous: []\n"), std::string::npos)
        << crowded;
    EXPECT_GE(std::stoi(crowded.substr(8)), 200) << crowded;  // a name or a number for every point

    const Parcel strip = describeParcel({{"A1", "6000000", "500000"},
                                         {"A2", "6000000", "505000"},
                                         {"A3", "6000001", "505000"},
                                         {"A4", "6000001", "500000"}});
    EXPECT_EQ(readBack(parcelSvg(strip, handover), kDrawingCheck, "svg"),
              "297 210 8 outside: [] overlapping: [] ambiguous: []\n");

    handover.title.push_back(std::string(300, 'W'));  // one word wider than the block
    handover.title.push_back(
        "очень длинный адрес участка, который не помещается в одну строку штампа чертежа");
    const Parcel crossing =
        describeParcel({{"a", "0", "0"}, {"b", "10", "10"}, {"c", "0", "10"}, {"d", "10", "0"}});
    const std::string warned = readBack(parcelSvg(crossing, handover), kDrawingCheck, "svg");
    EXPECT_NE(warned.find(" outside: [] overlapping: [] ambiguous: []\n"), std::string::npos)
        << warned;
}

// The notes of a drawing that leaves things out send the reader where they
// are: labels without room to the catalogue while it is drawn, both to the
// text or CSV output where the catalogue is left out too.
TEST(ParcelFormatsTest, SvgNotesSendTheReaderWhereWhatIsLeftOutIs) {
    // The texts drawn, one after another: the notes wrap over several.
    auto textsOf = [](const std::string& svg) {
        std::string texts;
        for (std::size_t at = svg.find("<text"); at != std::string::npos;
             at = svg.find("<text", at + 1)) {
            const std::size_t start = svg.find('>', at) + 1;
            texts += svg.substr(start, svg.find('<', start) - start) + " ";
        }
        return texts;
    };
    const std::string toCatalogue =
        "Names and lengths without room on the drawing are in the catalogue.";
    const std::string toOutput =
        "Names and lengths without room on the drawing are in the text or CSV output.";
    const std::string noCatalogue =
        "The catalogue is too long for the drawing: see the text or CSV output.";
    const std::string crowded = textsOf(parcelSvg(wavyParcel(200), {}));
    EXPECT_NE(crowded.find(toCatalogue), std::string::npos) << crowded;
    EXPECT_EQ(crowded.find(noCatalogue), std::string::npos);
    const std::string huge = textsOf(parcelSvg(wavyParcel(400), {}));
    EXPECT_NE(huge.find(noCatalogue), std::string::npos);
    EXPECT_EQ(huge.find(toCatalogue), std::string::npos);
    EXPECT_NE(huge.find(toOutput), std::string::npos);
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
    const std::string out =
        readBack(parcelDxf(square(), {}),
                 "ogr2ogr -f CSV /vsistdout/ \"$FILE\" -lco GEOMETRY=AS_WKT", "dxf");
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
    const std::string dxf =
        parcelDxf(describeParcel({{"50%%d", "6000000", "500000"},
                                  {"\xD2\xEE\xF7\xEA\xE0 2", "6000000", "500100"},
                                  {"3", "6000100.5", "500100"}}),
                  {});
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
    EXPECT_NE(out.find("CATALOGUE GEOCALC 2  Точка 2  6000000.00  500100.00  0°0'0.0\"  100.50"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("AREA GEOCALC Area: 5 025 sq. m (0.5025 ha)"), std::string::npos) << out;
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
        if (line.rfind("CATALOGUE", 0) != 0 && line.rfind("AREA", 0) != 0 &&
            line.rfind("LABELS", 0) != 0)
            continue;
        std::istringstream at(line.substr(line.rfind(' ', line.rfind(' ') - 1)));
        double east = 0, north = 0;
        at >> east >> north;
        EXPECT_TRUE(east >= minEast && east <= maxEast && north >= minNorth && north <= maxNorth)
            << line;
    }
}

// The handover's texts in CAD: the catalogue and the totals in Russian, the
// coordinate system also as a comment in the header; CAD programs and
// ezdxf read it all.
TEST(ParcelFormatsTest, DxfCarriesTheHandoverInTheReadersLanguage) {
    const std::string dxf = parcelDxf(square(), russianHandover());
    EXPECT_EQ(dxf.substr(0, dxf.find("\r\n9\r\n")),
              "0\r\nSECTION\r\n2\r\nHEADER\r\n999\r\n"
              "\xD1\xE8\xF1\xF2\xE5\xEC\xE0 \xEA\xEE\xEE\xF0\xE4\xE8\xED\xE0\xF2: \xCC\xD1\xCA-50 "
              "(\xE7\xEE\xED\xE0 2)");
    const std::string out = readBack(dxf, R"(/usr/bin/python3 -c '
import ezdxf, sys
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
print("audit", len(auditor.errors), len(auditor.fixes))
for t in doc.modelspace().query("TEXT"):
    if t.dxf.layer in ("CATALOGUE", "AREA"):
        print(t.dxf.layer, t.plain_text())
' "$FILE")",
                                     "dxf");
    EXPECT_NE(out.find("audit 0 0\n"), std::string::npos) << out;
    EXPECT_NE(out.find("CATALOGUE №  Имя  X  Y  Дирекционный угол  Длина\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("AREA Площадь: 10 050.0 ± 35.1 кв. м (1.00500 га)\nAREA Mt = 0.1 м\n"
                       "AREA Система координат: МСК-50 (зона 2)\n"),
              std::string::npos)
        << out;
}

}  // namespace
}  // namespace geocalc
