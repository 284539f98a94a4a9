#include "shell/linear_param.h"

#include <cmath>
#include <utility>

#include "shell/byte_chunk.h"
#include "shell/param_text.h"

namespace corvalen {

LinearParam::LinearParam(std::string name, double defaultValue, double minimum, double maximum,
                         int displayPrecision, std::string unitLabel)
    : ParamSpec(ParamKind::Continuous, displayPrecision, std::move(name)),
      value_(defaultValue),
      minimum_(minimum),
      maximum_(maximum),
      unitLabel_(std::move(unitLabel)) {}

void LinearParam::SetNormalised(double x) {
    // Hosts should send 0..1 only; anything else would leave the range (or poison the
    // equaliser with NaN), so it is clamped or ignored here.
    if (!std::isfinite(x)) {
        return;
    }
    value_ = ValueForNormalised(x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x));
}

double LinearParam::Normalise(double value) const {
    const double x = (value - minimum_) / Range();
    if (!(x > 0.0)) {  // also NaN
        return 0.0;
    }
    return x > 1.0 ? 1.0 : x;
}

double LinearParam::GetNormalised() const { return Normalise(value_); }

double LinearParam::ValueForNormalised(double x) const { return minimum_ + x * Range(); }

void LinearParam::FormatValue(double value, char* buffer, int length) const {
    if (value != 0.0 && (flags_ & kDisplayNegated) != 0) {
        value = -value;
    }
    const bool rangeCrossesZero = minimum_ < 0.0 && 0.0 <= maximum_;
    FormatDisplayValue(value, displayPrecision_, value != 0.0 && rangeCrossesZero, buffer, length);
}

void LinearParam::DisplayTextForNormalised(double x, char* buffer, int length) const {
    FormatValue(ValueForNormalised(x), buffer, length);
}

void LinearParam::DisplayText(char* buffer, int length) const {
    FormatValue(value_, buffer, length);
}

const char* LinearParam::UnitLabel() const { return unitLabel_.c_str(); }

bool LinearParam::AppendToChunk(ByteChunk& chunk) const { return chunk.AppendDouble(value_); }

double LinearParam::ClampToRange(double value) const {
    if (value < minimum_) return minimum_;
    if (value > maximum_) return maximum_;
    return value;
}

int LinearParam::ReadFromChunk(const ByteChunk& chunk, int position) {
    double stored = 0.0;
    const int next = chunk.ReadDouble(stored, position);
    // A damaged project must not leave the equaliser computing with NaN or with a frequency
    // far outside its range: a non-finite value is skipped, others are clamped.
    if (next >= 0 && std::isfinite(stored)) {
        value_ = ClampToRange(stored);
    }
    return next;
}

int LinearParam::ChunkSize() const { return 8; }

double LinearParam::Value() const { return value_; }

void LinearParam::SetValue(double value) {
    if (std::isfinite(value)) {
        value_ = ClampToRange(value);
    }
}

}  // namespace corvalen
