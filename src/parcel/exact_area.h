// An area known exactly: a decimal number of square metres.
#pragma once

#include <boost/multiprecision/cpp_int.hpp>
#include <string>

namespace geocalc {

// units * 10^-decimals m², units never negative.
struct ExactArea {
    boost::multiprecision::cpp_int units = 0;
    int decimals = 0;

    // The same area in hectares.
    ExactArea hectares() const { return {units, decimals + 4}; }

    // With `digits` decimals, the last one rounded half away from zero from
    // the exact value, and the separator given: 10720.385 gives "10720.39".
    std::string fixed(int digits, char separator) const;

    // The double nearest the exact value (ties to even); infinity beyond the
    // double range.
    double nearest() const;
};

// 10^n, for n >= 0.
boost::multiprecision::cpp_int powerOfTen(int n);

// The double nearest num / den, for num >= 0 and den > 0.
double nearestDouble(const boost::multiprecision::cpp_int& num,
                     const boost::multiprecision::cpp_int& den);

}  // namespace geocalc
