#include "tools/preset/parametric_text.h"

#include <cmath>
#include <cstddef>
#include <utility>

#include "tools/preset/number_text.h"

namespace corvalen::preset {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Longest piece of a line quoted back in a message.
constexpr std::size_t kQuoteLimit = 40;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

std::vector<std::string_view> SplitWords(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// A piece of the file shown inside quotes: cut short, bytes that are not printable ASCII as '?',
// so a broken or binary file cannot garble the terminal.
std::string Quote(std::string_view text) {
    std::string quoted = "'";
    for (std::size_t i = 0; i < text.size() && i < kQuoteLimit; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        quoted += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    if (text.size() > kQuoteLimit) quoted += "...";
    return quoted + "'";
}

std::string AtLine(int line, const std::string& message) {
    return "line " + std::to_string(line) + ": " + message;
}

struct TypeWord {
    std::string_view word;
    FilterShape shape;
    bool isCornerShelf;  // LS, HS: accepted only with a Q
};

constexpr TypeWord kTypeWords[] = {
    {"PK", FilterShape::Peak, false},       {"LSC", FilterShape::LowShelf, false},
    {"HSC", FilterShape::HighShelf, false}, {"LS", FilterShape::LowShelf, true},
    {"HS", FilterShape::HighShelf, true},
};

const TypeWord* FindType(std::string_view word) {
    for (const TypeWord& type : kTypeWords) {
        if (SameWord(type.word, word)) return &type;
    }
    return nullptr;
}

class LineReader {
public:
    LineReader(int line, std::vector<std::string_view> words)
        : line_(line), words_(std::move(words)) {}

    bool AtEnd() const { return next_ >= words_.size(); }
    std::string_view Peek() const { return AtEnd() ? std::string_view() : words_[next_]; }
    std::string_view Take() { return AtEnd() ? std::string_view() : words_[next_++]; }

    // A number after `what`, or an error.
    std::optional<double> Number(const std::string& what, std::string& error) {
        if (AtEnd()) {
            error = AtLine(line_, what + " has no value");
            return std::nullopt;
        }
        const std::string_view word = Take();
        const std::optional<double> value = ReadDecimal(word);
        if (!value) error = AtLine(line_, what + " " + Quote(word) + " is not a number");
        return value;
    }

    // The unit word that must follow a value.
    bool Unit(std::string_view unit, const std::string& what, std::string& error) {
        if (!AtEnd() && SameWord(Peek(), unit)) {
            Take();
            return true;
        }
        error = AtLine(line_, what + " must be followed by " + std::string(unit) +
                                  (AtEnd() ? "" : ", not " + Quote(Peek())));
        return false;
    }

private:
    int line_;
    std::vector<std::string_view> words_;
    std::size_t next_ = 0;
};

class Parser {
public:
    explicit Parser(ParseOutcome& outcome) : outcome_(outcome) {}

    bool Line(int line, std::string_view text) {
        const std::size_t hash = text.find('#');
        if (hash != std::string_view::npos) text = text.substr(0, hash);
        text = Trim(text);
        if (text.empty()) return true;

        const std::size_t colon = text.find(':');
        if (colon == std::string_view::npos) {
            return Fail(AtLine(line, "expected 'Preamp:' or 'Filter N:', found " + Quote(text)));
        }
        const std::vector<std::string_view> head = SplitWords(text.substr(0, colon));
        LineReader rest(line, SplitWords(text.substr(colon + 1)));
        if (head.size() == 1 && SameWord(head[0], "Preamp")) return Preamp(line, rest);
        if (!head.empty() && SameWord(head[0], "Filter") &&
            (head.size() == 1 || (head.size() == 2 && AllDigits(head[1])))) {
            return Filter(line, rest);
        }
        return Fail(AtLine(line, Quote(text.substr(0, colon + 1)) +
                                     " cannot be reproduced by the equaliser: only Preamp and "
                                     "Filter lines can make a preset"));
    }

    bool Fail(const std::string& message) {
        outcome_.error = message;
        return false;
    }

private:
    bool Preamp(int line, LineReader& rest) {
        ParametricCorrection& correction = outcome_.correction;
        if (correction.preampDb) {
            return Fail(AtLine(line, "a second Preamp line (the first is line " +
                                         std::to_string(correction.preampLine) + ")"));
        }
        std::string error;
        const std::optional<double> db = rest.Number("Preamp", error);
        if (!db) return Fail(error);
        if (!rest.AtEnd() && SameWord(rest.Peek(), "dB")) rest.Take();
        if (!rest.AtEnd())
            return Fail(AtLine(line, "unexpected " + Quote(rest.Peek()) + " after the preamp"));
        correction.preampDb = *db;
        correction.preampLine = line;
        return true;
    }

    bool Filter(int line, LineReader& rest) {
        ParametricFilter filter;
        filter.line = line;
        const std::string_view state = rest.Take();
        if (SameWord(state, "ON")) {
            filter.on = true;
        } else if (SameWord(state, "OFF")) {
            filter.on = false;
        } else {
            return Fail(
                AtLine(line, "a filter starts with ON or OFF" +
                                 (state.empty() ? std::string() : ", not " + Quote(state))));
        }
        const std::string_view typeWord = rest.Take();
        const TypeWord* type = FindType(typeWord);
        if (type == nullptr) {
            if (!filter.on) {
                // Switched off, it does nothing: leaving it out keeps the sound exactly.
                outcome_.warnings.push_back(AtLine(
                    line, "the switched-off filter of type " + Quote(typeWord) + " is left out"));
                return true;
            }
            return Fail(AtLine(
                line, typeWord.empty() ? std::string("the filter has no type")
                                       : "filter type " + Quote(typeWord) +
                                             " has no band in the equaliser (PK, LSC and HSC do)"));
        }
        filter.shape = type->shape;

        std::optional<double> frequency, gain, q, octaves;
        std::string error;
        while (!rest.AtEnd()) {
            const std::string_view key = rest.Take();
            if (SameWord(key, "Fc") && !frequency) {
                frequency = rest.Number("Fc", error);
                if (!frequency || !rest.Unit("Hz", "the frequency", error)) return Fail(error);
            } else if (SameWord(key, "Gain") && !gain) {
                gain = rest.Number("Gain", error);
                if (!gain || !rest.Unit("dB", "the gain", error)) return Fail(error);
            } else if (SameWord(key, "Q") && !q && !octaves) {
                q = rest.Number("Q", error);
                if (!q) return Fail(error);
            } else if (SameWord(key, "BW") && !q && !octaves) {
                if (filter.shape != FilterShape::Peak) {
                    return Fail(
                        AtLine(line, "a shelf's slope must be given as Q, not as a bandwidth"));
                }
                if (!rest.Unit("Oct", "BW", error)) return Fail(error);
                octaves = rest.Number("BW Oct", error);
                if (!octaves) return Fail(error);
                if (!(*octaves > 0.0)) {
                    return Fail(AtLine(line, "the bandwidth must be more than 0 octaves"));
                }
            } else if (ReadDecimal(key) && filter.shape != FilterShape::Peak) {
                return Fail(
                    AtLine(line, "a shelf slope given in dB cannot be reproduced; give its Q"));
            } else {
                return Fail(AtLine(line, "unexpected " + Quote(key) + " in the filter"));
            }
        }
        if (!frequency) return Fail(AtLine(line, "the filter has no frequency (Fc ... Hz)"));
        if (!gain) return Fail(AtLine(line, "the filter has no gain (Gain ... dB)"));
        if (!q && !octaves) {
            return Fail(
                AtLine(line, type->isCornerShelf
                                 ? Quote(typeWord) + " has no Q: its slope is then not one "
                                                     "the equaliser has; give a Q"
                                 : std::string("the filter has no Q") +
                                       (filter.shape == FilterShape::Peak ? " or BW Oct" : "")));
        }
        filter.frequencyHz = *frequency;
        filter.gainDb = *gain;
        filter.q = q ? *q : QForBandwidth(*octaves);
        if (!std::isfinite(filter.q)) {
            return Fail(AtLine(line, "the bandwidth is too wide to give a Q"));
        }
        outcome_.correction.filters.push_back(filter);
        return true;
    }

    ParseOutcome& outcome_;
};

}  // namespace

double QForBandwidth(double octaves) {
    const double ratio = std::exp2(octaves);
    return std::sqrt(ratio) / (ratio - 1.0);
}

ParseOutcome ParseParametricText(std::string_view text) {
    ParseOutcome outcome;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    Parser parser(outcome);
    int line = 1;
    std::size_t start = 0;
    while (start <= text.size()) {
        // Lines end in LF, CR LF or a lone CR.
        std::size_t end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        if (!parser.Line(line, text.substr(start, end - start))) return outcome;
        if (end >= text.size()) break;
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        ++line;
    }
    outcome.ok = true;
    return outcome;
}

}  // namespace corvalen::preset
