// Parametric correction texts from outside: any bytes must parse without a crash, leak or
// undefined behaviour; a refusal names its line; and whatever is accepted and placed on the
// bands must write out as a text that reads back as exactly the same program.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/preset/band_layout.h"
#include "tools/preset/parametric_text.h"
#include "tools/preset/parametric_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvalen::preset;
    const ParseOutcome parsed =
        ParseParametricText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed.ok) {
        if (parsed.error.rfind("line ", 0) != 0) std::abort();
        return 0;
    }
    const LayoutOutcome laid = LayOutCorrection(parsed.correction);
    if (!laid.ok) {
        if (laid.error.rfind("line ", 0) != 0) std::abort();
        return 0;
    }
    const std::string written = WriteParametricText(DescribeProgram(laid.program), {"round trip"});
    const ParseOutcome again = ParseParametricText(written);
    if (!again.ok) std::abort();
    const LayoutOutcome relaid = LayOutCorrection(again.correction);
    if (!relaid.ok || !relaid.warnings.empty() || !(relaid.program == laid.program)) std::abort();
    return 0;
}
