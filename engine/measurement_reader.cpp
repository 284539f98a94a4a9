#include "engine/measurement_reader.h"

#include <cstdint>
#include <cstring>
#include <exception>
#include <limits>

#include "shell/param_text.h"
#include "engine/file_access.h"

namespace corvalen {

namespace {

// Splits a stream into lines at LF, dropping one CR right before the LF. Reads in large blocks
// so NUL bytes and long lines need no special care.
class LineReader {
 public:
  explicit LineReader(std::FILE* file) : file_(file) {}

  // False at the end of the stream. May throw std::bad_alloc on a line too long for memory.
  bool next(std::string& line) {
    line.clear();
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
      if (found == nullptr) {
        line.append(start, filled_ - position_);
        position_ = filled_;
        continue;
      }
      const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(found) - start);
      line.append(start, length);
      position_ += length + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
  }

 private:
  std::FILE* file_;
  char block_[16384];
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
};

void FillFlat(double* curve, int n) {
  for (int i = 0; i < n; ++i) curve[i] = 0.0;
}

}  // namespace

char SeparatorCharacter(int separatorChoice) { return separatorChoice == 0 ? ',' : '\t'; }

bool ParseMeasurementLine(std::string& line, char separator, FrequencyPoint& point) {
  if (line.empty()) return false;
  const std::size_t split = line.find(separator);
  const char* text = line.c_str();
  const char* second = text;  // the whole line when there is no separator
  if (split != std::string::npos) {
    if (split == 9 && std::memcmp(text, "frequency", 9) == 0) return false;
    line[split] = '\0';  // the first field ends at the separator
    text = line.c_str();
    second = text + split + 1;
  } else if (line == "frequency") {
    return false;
  }
  point.hz = ReadLeadingNumber(text);
  point.levelDb = ReadLeadingNumber(second);
  return true;
}

bool ReadFrequencyResponse(std::FILE* file, char separator, FrequencyResponse& points) {
  points.clear();
  try {
    std::string line;
    FrequencyPoint point{};
    LineReader counter(file);
    std::int64_t count = 0;
    while (counter.next(line)) {
      if (ParseMeasurementLine(line, separator, point)) ++count;
    }
    if (count > std::numeric_limits<std::int32_t>::max()) return false;
    points.reserve(static_cast<std::size_t>(count));

    std::clearerr(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return false;
    // The file may have grown since it was counted; keep to what was allocated.
    LineReader reader(file);
    while (points.size() < static_cast<std::size_t>(count) && reader.next(line)) {
      if (ParseMeasurementLine(line, separator, point)) points.push_back(point);
    }
    return true;
  } catch (const std::exception&) {
    FrequencyResponse().swap(points);
    return false;
  }
}

void LoadMeasurement(ResponseModel& model, const std::string& path) noexcept {
  double* curve = model.frCurve();
  const int n = model.pointCount();
  try {
    FrequencyResponse points;
    if (!path.empty()) {
      if (std::FILE* file = OpenFileForReading(path)) {
        const bool held =
            ReadFrequencyResponse(file, SeparatorCharacter(model.state().separator), points);
        std::fclose(file);
        if (!held) {
          FillFlat(curve, n);
          return;
        }
      }
    }
    ResampleOntoGrid(points.data(), points.size(), model.gridFrequencies(), n, curve);
  } catch (...) {
    // Out of memory converting the path or resampling: the load counts as failed.
    FillFlat(curve, n);
  }
}

}  // namespace corvalen
