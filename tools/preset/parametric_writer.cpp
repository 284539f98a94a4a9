#include "tools/preset/parametric_writer.h"

#include "tools/preset/number_text.h"

namespace corvalen::preset {

std::string WriteParametricText(const ParametricCorrection& correction,
                                const std::vector<std::string>& comments) {
    std::string text;
    for (const std::string& comment : comments) {
        text += "# ";
        for (char c : comment) {
            text += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? ' ' : c;
        }
        text += '\n';
    }
    if (correction.preampDb) text += "Preamp: " + ShortestDecimal(*correction.preampDb) + " dB\n";
    int number = 0;
    for (const ParametricFilter& filter : correction.filters) {
        text += "Filter " + std::to_string(++number) + ": " + (filter.on ? "ON " : "OFF ") +
                NamesOf(filter.shape).fileWord + " Fc " + ShortestDecimal(filter.frequencyHz) +
                " Hz Gain " + ShortestDecimal(filter.gainDb) + " dB Q " +
                ShortestDecimal(filter.q) + "\n";
    }
    return text;
}

}  // namespace corvalen::preset
