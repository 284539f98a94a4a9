// The capabilities a host may ask about (effCanDo), matched exactly and case-sensitively.
#pragma once

namespace corvalen {

enum class Capability {
    kUnknown = -1,
    kReceiveVstTimeInfo = 0,
    kSendVstEvents = 1,
    kSendVstMidiEvent = 2,
    kReceiveVstEvents = 3,
    kReceiveVstMidiEvent = 4,
    kBypass = 5,
    kHasCockosExtensions = 6,
    kHasCockosViewAsConfig = 7,
};

// The row of the capability table that equals text exactly; kUnknown for none or null.
Capability FindCapability(const char* text);

}  // namespace corvalen
