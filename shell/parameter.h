#pragma once
// One automatable value of the plug-in. The value lives in its natural unit (hertz,
// decibels, a quality factor, on/off); the host sees it normalised to 0..1. The position of
// a ParamSpec in PluginBase's parameter list is the index the host uses.
//
// ParamSpecs have no lock of their own: every access from the host, the audio path and the
// editor happens under the instance lock.

#include <cstdint>
#include <string>

namespace corvalen {

class ByteChunk;

enum class ParamKind : std::int8_t {
    Switch = 1,      // SwitchParam: value 0 or 1, two display texts
    Continuous = 4,  // LinearParam and ShapedParam: a double between minimum and maximum
};

class ParamSpec {
public:
    // Flag bits.
    static constexpr std::int32_t kDisplayNegated = 1 << 0;  // display and typed numbers use -v
    static constexpr std::int32_t kExcludedFromSnapshot = 1 << 1;  // left out of preset snapshots

    ParamSpec(const ParamSpec&) = delete;
    ParamSpec& operator=(const ParamSpec&) = delete;

    virtual ~ParamSpec();

    // --- The normalised value the host sees ----------------------------------------------------

    // Sets the value from a normalised x. A non-finite x is ignored and x is clamped to
    // 0..1, so a misbehaving host cannot push the value out of its range.
    virtual void SetNormalised(double x) = 0;

    // The current value normalised.
    virtual double GetNormalised() const = 0;

    // The normalised position (0..1) of a natural value.
    virtual double Normalise(double value) const = 0;

    // The natural value for a normalised x; stores nothing.
    virtual double ValueForNormalised(double x) const = 0;

    // --- Texts ---------------------------------------------------------------------------------

    // Display text of the value a normalised x stands for: at most length - 1 characters
    // and a terminating zero; length <= 0 writes nothing.
    virtual void DisplayTextForNormalised(double x, char* buffer, int length) const = 0;

    // Display text of the current value, with the same buffer rule.
    virtual void DisplayText(char* buffer, int length) const = 0;

    // Unit label ("Hz", "dB" or empty). Never part of the display text.
    virtual const char* UnitLabel() const;

    // Number of fixed display texts (0 in the base class).
    virtual int DisplayTextCount() const;

    // Looks a text up among the fixed display texts. On a match stores the value the text
    // stands for in `value` (normalised for a switch: 0 or 1) and answers true.
    virtual bool LookUpDisplayText(const char* text, double& value) const;

    // --- State chunks --------------------------------------------------------------------------

    // Appends the value to a chunk; false (chunk unchanged) when it does not fit.
    virtual bool AppendToChunk(ByteChunk& chunk) const = 0;

    // Reads the value at `position`; answers the next position or -1 when the data are too
    // short or the position is negative (the value is then unchanged). A stored value that
    // is not finite is skipped without being applied; a finite one outside the range is
    // clamped into it.
    virtual int ReadFromChunk(const ByteChunk& chunk, int position) = 0;

    // Size of the value in a chunk, in bytes.
    virtual int ChunkSize() const = 0;

    // --- Natural-value access for the engine --------------------------------------------------

    // The current value: 0 or 1 for a switch, the double for a continuous parameter.
    virtual double Value() const = 0;

    // Sets a natural value; a non-finite value is ignored, others are clamped to the range.
    virtual void SetValue(double value) = 0;

    // --- Non-virtual helpers ------------------------------------------------------------------

    // Parses a text typed by a user or sent by a host into a normalised value: a fixed display
    // text when one matches (case-insensitively for switches), otherwise the leading number
    // read by strtod's rules in the C locale (no number reads as 0), negated when the display
    // is negated, then normalised.
    double ParseToNormalised(const char* text) const;

    ParamKind Kind() const { return kind_; }
    bool IsSwitch() const { return kind_ == ParamKind::Switch; }
    int DisplayPrecision() const { return displayPrecision_; }
    std::int32_t Flags() const { return flags_; }
    void SetFlags(std::int32_t flags) { flags_ = flags; }
    bool IsExcludedFromSnapshot() const { return (flags_ & kExcludedFromSnapshot) != 0; }
    const std::string& Name() const { return name_; }
    const std::string& ShortName() const { return shortName_; }

protected:
    ParamSpec(ParamKind kind, int displayPrecision, std::string name);

    ParamKind kind_;
    std::int8_t displayPrecision_;
    std::uint8_t switchValue_ = 0;
    std::int32_t flags_ = 0;
    std::string name_;
    std::string shortName_;  // empty for every parameter of this plug-in
};

}  // namespace corvalen
