#pragma once
// A continuous parameter with an exponential mapping: the value for a normalised x is
// minimum + range * (e^(s x) - 1) / (e^s - 1). The shape s > 0 sets how much of the knob's
// travel the low end of the range gets. Display precision is always 2 decimals.

#include <string>

#include "shell/linear_param.h"

namespace corvalen {

class ShapedParam final : public LinearParam {
public:
    ShapedParam(double shape, std::string name, double defaultValue, double minimum, double maximum,
                std::string unitLabel);

    double Normalise(double value) const override;
    double ValueForNormalised(double x) const override;

    double Shape() const { return shape_; }

private:
    double shape_;
    double expShapeMinusOne_;  // e^s - 1, computed once
};

}  // namespace corvalen
