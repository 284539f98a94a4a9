#pragma once
// A continuous parameter whose normalised value maps linearly onto minimum..maximum.

#include <string>

#include "shell/parameter.h"

namespace corvalen {

class LinearParam : public ParamSpec {
public:
    LinearParam(std::string name, double defaultValue, double minimum, double maximum,
                int displayPrecision, std::string unitLabel);

    void SetNormalised(double x) override;
    double Normalise(double value) const override;
    double GetNormalised() const override;
    double ValueForNormalised(double x) const override;
    void DisplayTextForNormalised(double x, char* buffer, int length) const override;
    void DisplayText(char* buffer, int length) const override;
    const char* UnitLabel() const override;
    bool AppendToChunk(ByteChunk& chunk) const override;
    int ReadFromChunk(const ByteChunk& chunk, int position) override;
    int ChunkSize() const override;
    double Value() const override;
    void SetValue(double value) override;

    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }

protected:
    double Range() const { return maximum_ - minimum_; }
    double ClampToRange(double value) const;
    void FormatValue(double value, char* buffer, int length) const;

    double value_;
    double minimum_;
    double maximum_;
    std::string unitLabel_;
};

}  // namespace corvalen
