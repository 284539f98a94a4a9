// The points of a measurement file, read from its bytes by the rules written plainly (the C
// library's strtod for numbers, whole-line splits), to check the reader's streaming, in-place
// version against.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/frequency_response.h"
#include "engine/measurement_reader.h"

namespace corvalen::reference {

// strtod's reading of the text up to its first zero byte; false when it reads nothing.
inline bool StrtodNumber(const std::string& field, double& value) {
    const char* text = field.c_str();
    char* end = nullptr;
    value = std::strtod(text, &end);
    if (end == text) value = 0.0;
    return end != text;
}

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One point per line that gives one; a line longer than the reader's limit gives none.
inline bool ReadLine(const std::string& line, char separator, FrequencyPoint& point) {
    if (line.empty() || line.size() > kLongestMeasurementLine) return false;
    const std::size_t split = line.find(separator);
    if (split != std::string::npos) {
        const std::string first = line.substr(0, split);
        if (first == "frequency") return false;
        StrtodNumber(first, point.hz);
        StrtodNumber(line.substr(split + 1), point.levelDb);
        return true;
    }
    std::string rest = line;
    if (rest.rfind("\xEF\xBB\xBF", 0) == 0) rest.erase(0, 3);
    std::string first;
    std::string second;
    const std::size_t other = rest.find(separator == ',' ? '\t' : ',');
    if (other != std::string::npos) {
        first = rest.substr(0, other);
        second = rest.substr(other + 1);
    } else {
        std::size_t start = 0;
        while (start < rest.size() && IsBlank(rest[start])) ++start;
        std::size_t end = start;
        while (end < rest.size() && !IsBlank(rest[end])) ++end;
        if (start == rest.size() || end == rest.size()) return false;  // fewer than two fields
        first = rest.substr(start, end - start);
        second = rest.substr(end + 1);
    }
    return StrtodNumber(first, point.hz) && StrtodNumber(second, point.levelDb);
}

// Lines end at LF; a CR right before the LF is not part of the line; the last line needs none.
inline std::vector<FrequencyPoint> ReadPoints(const std::string& bytes, char separator) {
    std::vector<FrequencyPoint> points;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::string line;
        if (end == std::string::npos) {
            line = bytes.substr(start);
            end = bytes.size();
        } else {
            line = bytes.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
        }
        FrequencyPoint point{};
        if (ReadLine(line, separator, point)) points.push_back(point);
        start = end + 1;
    }
    return points;
}

}  // namespace corvalen::reference
