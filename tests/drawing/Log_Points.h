#pragma once
// Reading the points back out of a canvas log line ("Polygon 1,2 3,4 pen ...").

#include "platform/Graphics.h"

#include <sstream>
#include <string>
#include <vector>

namespace tessaran {

inline std::vector<TPoint> PointsOf(const std::string &line)
{
    std::vector<TPoint> pts;
    std::istringstream in(line);
    std::string word;
    in >> word; // the call's name
    while (in >> word) {
        const auto comma = word.find(',');
        if (comma == std::string::npos || word.find_first_not_of("-0123456789,") != std::string::npos)
            break;
        pts.push_back({std::stoi(word.substr(0, comma)), std::stoi(word.substr(comma + 1))});
    }
    return pts;
}

inline std::vector<TPoint> Pts(std::initializer_list<TPoint> p) { return p; }

} // namespace tessaran
