#include "engine/measurement_reader.h"

#include <cstdint>
#include <cstring>
#include <exception>
#include <limits>

#include "engine/file_access.h"
#include "shell/param_text.h"

namespace corvalen {

namespace {

// Splits a stream into lines at LF, dropping one CR right before the LF. Reads in large blocks
// so NUL bytes need no special care. A line longer than kLongestMeasurementLine is skipped to
// its end without being held, so no file can make a line take more memory than that.
class LineReader {
public:
    explicit LineReader(std::FILE* file) : file_(file) {}

    // False at the end of the stream; `tooLong` tells whether the line was cut off (and so
    // gives no point). May throw std::bad_alloc.
    bool next(std::string& line, bool& tooLong) {
        line.clear();
        tooLong = false;
        bool any = false;
        for (;;) {
            if (position_ == filled_) {
                filled_ = std::fread(block_, 1, sizeof block_, file_);
                position_ = 0;
                if (filled_ == 0) return any;
            }
            any = true;
            const char* start = block_ + position_;
            const void* found = std::memchr(start, '\n', filled_ - position_);
            const std::size_t length =
                found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - start)
                                 : filled_ - position_;
            keep(line, tooLong, start, length);
            if (found == nullptr) {
                position_ = filled_;
                continue;
            }
            position_ += length + 1;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
    }

private:
    // Appends what still fits under the limit (one byte more, for a CR before the LF).
    static void keep(std::string& line, bool& tooLong, const char* bytes, std::size_t count) {
        if (tooLong) return;
        if (line.size() + count > kLongestMeasurementLine + 1) {
            tooLong = true;
            line.clear();
            return;
        }
        line.append(bytes, count);
    }

    std::FILE* file_;
    char block_[16384];
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
};

// A line kept whole (a CR before its LF not counted) that is within the limit.
bool WithinLimit(const std::string& line, bool tooLong) {
    return !tooLong && line.size() <= kLongestMeasurementLine;
}

void FillFlat(double* curve, int n) {
    for (int i = 0; i < n; ++i) curve[i] = 0.0;
}

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr const char* kBlanks = " \t";

// A line without the chosen separator, as tab or blank separated files give them with the
// comma setting (and comma files with the tab setting): split at the other separator, or else
// at the first blanks after the first field. Such a line gives a point only when both fields
// start with a number, so titles, comments and headers give none.
bool ParseLineWithoutSeparator(std::string& line, char separator, FrequencyPoint& point) {
    const char other = separator == ',' ? '\t' : ',';
    // A byte-order mark cannot start a number; without this the first line of a marked file
    // would be lost.
    std::size_t first = line.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
    std::size_t split = line.find(other, first);
    if (split == std::string::npos) {
        first = line.find_first_not_of(kBlanks, first);
        if (first == std::string::npos) return false;
        split = line.find_first_of(kBlanks, first);
        if (split == std::string::npos) return false;
    }
    line[split] = '\0';  // the first field ends at the split
    const char* text = line.c_str();
    return ReadLeadingNumber(text + first, point.hz) &&
           ReadLeadingNumber(text + split + 1, point.levelDb);
}

}  // namespace

char SeparatorCharacter(int separatorChoice) { return separatorChoice == 0 ? ',' : '\t'; }

bool ParseMeasurementLine(std::string& line, char separator, FrequencyPoint& point) {
    if (line.empty()) return false;
    const std::size_t split = line.find(separator);
    if (split == std::string::npos) return ParseLineWithoutSeparator(line, separator, point);
    // Lines with the chosen separator are read as they always have been, so files that loaded
    // before give the same curve to the bit: any first field but the word "frequency" is a
    // point, and a field without a number reads 0.
    if (split == 9 && std::memcmp(line.c_str(), "frequency", 9) == 0) return false;
    line[split] = '\0';  // the first field ends at the separator
    const char* text = line.c_str();
    point.hz = ReadLeadingNumber(text);
    point.levelDb = ReadLeadingNumber(text + split + 1);
    return true;
}

bool ReadFrequencyResponse(std::FILE* file, char separator, FrequencyResponse& points) {
    points.clear();
    try {
        std::string line;
        bool tooLong = false;
        FrequencyPoint point{};
        LineReader counter(file);
        std::int64_t count = 0;
        while (counter.next(line, tooLong)) {
            if (WithinLimit(line, tooLong) && ParseMeasurementLine(line, separator, point)) ++count;
        }
        if (count > std::numeric_limits<std::int32_t>::max()) return false;
        points.reserve(static_cast<std::size_t>(count));

        std::clearerr(file);
        if (std::fseek(file, 0, SEEK_SET) != 0) return false;
        // The file may have grown since it was counted; keep to what was allocated.
        LineReader reader(file);
        while (points.size() < static_cast<std::size_t>(count) && reader.next(line, tooLong)) {
            if (WithinLimit(line, tooLong) && ParseMeasurementLine(line, separator, point))
                points.push_back(point);
        }
        return true;
    } catch (const std::exception&) {
        FrequencyResponse().swap(points);
        return false;
    }
}

bool ReadIntoResampler(std::FILE* file, char separator, GridResampler& resampler) {
    try {
        std::string line;
        bool tooLong = false;
        FrequencyPoint point{};
        LineReader reader(file);
        while (reader.next(line, tooLong)) {
            if (WithinLimit(line, tooLong) && ParseMeasurementLine(line, separator, point))
                resampler.add(point);
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::size_t ReadMeasurementCurve(const std::string& path, int separatorChoice, const double* gridHz,
                                 int n, double* curve) noexcept {
    try {
        if (!path.empty()) {
            // One pass, the points resampled as they are read: the memory is the grid's and
            // one line's whatever the size of the file.
            GridResampler resampler(gridHz, n);
            if (std::FILE* file = OpenFileForReading(path)) {
                const bool read =
                    ReadIntoResampler(file, SeparatorCharacter(separatorChoice), resampler);
                std::fclose(file);
                if (!read) {
                    FillFlat(curve, n);
                    return 0;
                }
                resampler.finish(curve);
                return resampler.pointCount();
            }
        }
        FillFlat(curve, n);
        return 0;
    } catch (...) {
        // Out of memory converting the path or for the grid's sums: the load counts as failed.
        FillFlat(curve, n);
        return 0;
    }
}

std::size_t LoadMeasurement(ResponseModel& model, const std::string& path) noexcept {
    return ReadMeasurementCurve(path, model.state().separator, model.gridFrequencies(),
                                model.pointCount(), model.frCurve());
}

}  // namespace corvalen
