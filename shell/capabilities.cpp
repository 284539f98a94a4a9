#include "shell/capabilities.h"

#include <cstring>

namespace corvalen {
namespace {

struct CapabilityRow {
    Capability code;
    const char* text;
};

constexpr CapabilityRow kCanDoTable[] = {
    {Capability::kReceiveVstTimeInfo, "receiveVstTimeInfo"},
    {Capability::kSendVstEvents, "sendVstEvents"},
    {Capability::kSendVstMidiEvent, "sendVstMidiEvent"},
    {Capability::kReceiveVstEvents, "receiveVstEvents"},
    {Capability::kReceiveVstMidiEvent, "receiveVstMidiEvent"},
    {Capability::kBypass, "bypass"},
    {Capability::kHasCockosExtensions, "hasCockosExtensions"},
    {Capability::kHasCockosViewAsConfig, "hasCockosViewAsConfig"},
};
static_assert(sizeof(kCanDoTable) / sizeof(kCanDoTable[0]) == 8);

}  // namespace

Capability FindCapability(const char* text) {
    if (text == nullptr) return Capability::kUnknown;
    for (const CapabilityRow& row : kCanDoTable) {
        if (std::strcmp(text, row.text) == 0) return row.code;
    }
    return Capability::kUnknown;
}

}  // namespace corvalen
