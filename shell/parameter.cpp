#include "shell/parameter.h"

#include <utility>

#include "shell/param_text.h"

namespace corvalen {

ParamSpec::ParamSpec(ParamKind kind, int displayPrecision, std::string name)
    : kind_(kind),
      displayPrecision_(static_cast<std::int8_t>(displayPrecision)),
      name_(std::move(name)) {}

ParamSpec::~ParamSpec() = default;

const char* ParamSpec::UnitLabel() const { return ""; }

int ParamSpec::DisplayTextCount() const { return 0; }

bool ParamSpec::LookUpDisplayText(const char* /*text*/, double& /*value*/) const { return false; }

double ParamSpec::ParseToNormalised(const char* text) const {
    double found = 0.0;
    if (text != nullptr && LookUpDisplayText(text, found)) {
        return found;
    }
    double number = ReadLeadingNumber(text);
    if ((flags_ & kDisplayNegated) != 0) {
        number = -number;
    }
    return Normalise(number);
}

}  // namespace corvalen
