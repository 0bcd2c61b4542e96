// The parcel for programs, the same in every locale. The points are written
// one by one, strings escaped by the JSON library's serializer, numbers in
// their shortest form that reads back to the same double, and the numbers'
// texts it repeats (coordinates, directions) with ".", so that a parcel of
// any size costs little more than its text.
#include <algorithm>
#include <charconv>
#include <nlohmann/json.hpp>

#include "charset/code_page.h"
#include "numtext/format_settings.h"
#include "parcel/parcel_formats.h"

namespace geocalc {

namespace {

using Json = nlohmann::json;

class JsonText {
public:
    JsonText() : serializer_(nlohmann::detail::output_adapter<char>(out_), ' ') {}

    void raw(std::string_view text) { out_ += text; }
    // An ANSI text as a JSON string.
    void string(const std::string& ansi) {
        std::string& utf8 = value_.get_ref<std::string&>();
        utf8.clear();  // its storage serves every string
        appendUtf8FromAnsi(utf8, ansi);
        serializer_.dump(value_, false, false, 0);
    }
    // A number's text, written with the run's decimal separator, with "."
    // instead: JSON is the same in every locale.
    void numberText(const std::string& ansi) {
        std::string& utf8 = value_.get_ref<std::string&>();
        utf8.clear();
        appendUtf8FromAnsi(utf8, ansi);
        if (separator_ != '.') std::replace(utf8.begin(), utf8.end(), separator_, '.');
        serializer_.dump(value_, false, false, 0);
    }
    void utf8String(const std::string& utf8) {
        value_.get_ref<std::string&>() = utf8;
        serializer_.dump(value_, false, false, 0);
    }
    void number(double v) {
        char text[32];
        out_.append(text, std::to_chars(text, text + sizeof text, v).ptr);
    }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
    Json value_ = std::string();
    nlohmann::detail::serializer<Json> serializer_;
    char separator_ = numberFormat().decimalSeparator;
};

const char* orientationValue(Orientation orientation) {
    switch (orientation) {
        case Orientation::Clockwise:
            return "\"clockwise\"";
        case Orientation::CounterClockwise:
            return "\"counterclockwise\"";
        case Orientation::None:
            return "null";
    }
    return "null";
}

}  // namespace

std::string parcelJson(const Parcel& parcel, const Handover& handover) {
    JsonText json;
    json.raw("{\n  \"points\": [");
    for (std::size_t i = 0; i < parcel.points.size(); ++i) {
        const BoundaryPoint& p = parcel.points[i];
        json.raw(i == 0 ? "\n    {\"name\": " : ",\n    {\"name\": ");
        json.string(p.name);
        json.raw(", \"x\": ");
        json.numberText(p.x);
        json.raw(", \"y\": ");
        json.numberText(p.y);
        json.raw(", \"direction\": ");
        json.numberText(parcel.sides[i].direction);
        json.raw(", \"length\": ");
        json.number(parcel.sides[i].length);
        json.raw("}");
    }
    json.raw("\n  ],\n  \"perimeter\": ");
    json.number(parcel.perimeter);
    json.raw(",\n  \"area\": ");
    json.number(parcel.area);
    json.raw(",\n  \"area_error\": ");
    if (const auto error = permittedAreaError(parcel, handover)) {
        json.number(*error);
    } else {
        json.raw("null");
    }
    json.raw(",\n  \"orientation\": ");
    json.raw(orientationValue(parcel.orientation));
    json.raw(",\n  \"crossing\": ");
    json.raw(parcel.crossing ? Json::array({parcel.crossing->first, parcel.crossing->second}).dump()
                             : "null");
    json.raw(",\n  \"title\": ");
    if (handover.title.empty()) json.raw("null");
    for (std::size_t i = 0; i < handover.title.size(); ++i) {
        json.raw(i == 0 ? "[" : ", ");
        json.utf8String(handover.title[i]);
        if (i + 1 == handover.title.size()) json.raw("]");
    }
    json.raw(",\n  \"crs\": ");
    if (handover.crs.empty()) {
        json.raw("null");
    } else {
        json.utf8String(handover.crs);
    }
    json.raw("\n}\n");
    return json.take();
}

}  // namespace geocalc
