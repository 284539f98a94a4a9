#pragma once
// A two-state parameter (value 0 or 1) with a display text for each state.

#include <string>

#include "shell/parameter.h"

namespace corvalen {

class SwitchParam final : public ParamSpec {
public:
    SwitchParam(std::string name, int defaultValue, std::string text0 = "Off",
                std::string text1 = "On");

    void SetNormalised(double x) override;
    double Normalise(double value) const override;
    double GetNormalised() const override;
    double ValueForNormalised(double x) const override;
    void DisplayTextForNormalised(double x, char* buffer, int length) const override;
    void DisplayText(char* buffer, int length) const override;
    int DisplayTextCount() const override;
    bool LookUpDisplayText(const char* text, double& value) const override;
    bool AppendToChunk(ByteChunk& chunk) const override;
    int ReadFromChunk(const ByteChunk& chunk, int position) override;
    int ChunkSize() const override;
    double Value() const override;
    void SetValue(double value) override;

    const std::string& Text(int state) const { return state != 0 ? text1_ : text0_; }

private:
    std::string text0_;
    std::string text1_;
};

}  // namespace corvalen
