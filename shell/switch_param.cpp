#include "shell/switch_param.h"

#include <cmath>
#include <utility>

#include "shell/byte_chunk.h"
#include "shell/param_text.h"

namespace corvalen {

SwitchParam::SwitchParam(std::string name, int defaultValue, std::string text0, std::string text1)
    : ParamSpec(ParamKind::Switch, 0, std::move(name)),
      text0_(std::move(text0)),
      text1_(std::move(text1)) {
    switchValue_ = defaultValue != 0 ? 1 : 0;
}

void SwitchParam::SetNormalised(double x) {
    if (std::isfinite(x)) {
        switchValue_ = x >= 0.5 ? 1 : 0;
    }
}

double SwitchParam::Normalise(double value) const { return value >= 0.5 ? 1.0 : 0.0; }

double SwitchParam::GetNormalised() const { return switchValue_ != 0 ? 1.0 : 0.0; }

double SwitchParam::ValueForNormalised(double x) const { return x >= 0.5 ? 1.0 : 0.0; }

void SwitchParam::DisplayTextForNormalised(double x, char* buffer, int length) const {
    CopyText(Text(x >= 0.5 ? 1 : 0).c_str(), buffer, length);
}

void SwitchParam::DisplayText(char* buffer, int length) const {
    CopyText(Text(switchValue_).c_str(), buffer, length);
}

int SwitchParam::DisplayTextCount() const { return 2; }

bool SwitchParam::LookUpDisplayText(const char* text, double& value) const {
    if (EqualIgnoringAsciiCase(text, text0_.c_str())) {
        value = 0.0;
        return true;
    }
    if (EqualIgnoringAsciiCase(text, text1_.c_str())) {
        value = 1.0;
        return true;
    }
    return false;
}

bool SwitchParam::AppendToChunk(ByteChunk& chunk) const { return chunk.AppendByte(switchValue_); }

int SwitchParam::ReadFromChunk(const ByteChunk& chunk, int position) {
    std::uint8_t stored = 0;
    const int next = chunk.ReadByte(stored, position);
    if (next >= 0) {
        switchValue_ = stored != 0 ? 1 : 0;
    }
    return next;
}

int SwitchParam::ChunkSize() const { return 1; }

double SwitchParam::Value() const { return switchValue_; }

void SwitchParam::SetValue(double value) {
    if (std::isfinite(value)) {
        switchValue_ = value >= 0.5 ? 1 : 0;
    }
}

}  // namespace corvalen
