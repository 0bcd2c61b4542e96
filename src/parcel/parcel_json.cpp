// The parcel for programs.
#include <nlohmann/json.hpp>

#include "charset/code_page.h"
#include "parcel/parcel_formats.h"

namespace geocalc {

std::string parcelJson(const Parcel& parcel) {
    nlohmann::ordered_json points = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < parcel.points.size(); ++i) {
        const BoundaryPoint& p = parcel.points[i];
        points.push_back({{"name", utf8FromAnsi(p.name)},
                          {"x", utf8FromAnsi(p.x)},
                          {"y", utf8FromAnsi(p.y)},
                          {"direction", utf8FromAnsi(parcel.sides[i].direction)},
                          {"length", parcel.sides[i].length}});
    }
    nlohmann::ordered_json json = {{"points", std::move(points)},
                                   {"perimeter", parcel.perimeter},
                                   {"area", parcel.area}};
    switch (parcel.orientation) {
        case Orientation::Clockwise: json["orientation"] = "clockwise"; break;
        case Orientation::CounterClockwise: json["orientation"] = "counterclockwise"; break;
        case Orientation::None: json["orientation"] = nullptr; break;
    }
    json["crossing"] = parcel.crossing ? nlohmann::ordered_json::array({parcel.crossing->first, parcel.crossing->second})
                                       : nlohmann::ordered_json(nullptr);
    return json.dump(2) + "\n";
}

}  // namespace geocalc
