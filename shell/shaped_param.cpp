#include "shell/shaped_param.h"

#include <cmath>
#include <utility>

namespace corvalen {

ShapedParam::ShapedParam(double shape, std::string name, double defaultValue, double minimum,
                         double maximum, std::string unitLabel)
    : LinearParam(std::move(name), defaultValue, minimum, maximum, 2, std::move(unitLabel)),
      shape_(shape),
      expShapeMinusOne_(std::exp(shape) - 1.0) {}

double ShapedParam::Normalise(double value) const {
    double u = (value - minimum_) / Range();
    if (!(u > 0.0)) {  // also NaN
        u = 0.0;
    }
    const double x = std::log(u * expShapeMinusOne_ + 1.0) / shape_;
    return x < 1.0 ? x : 1.0;
}

double ShapedParam::ValueForNormalised(double x) const {
    return minimum_ + Range() * (std::exp(shape_ * x) - 1.0) / expShapeMinusOne_;
}

}  // namespace corvalen
