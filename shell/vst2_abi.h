// The VST 2.4 binary interface as this plug-in and our test host use it: the records shared
// with the host, in their 64-bit layout, and the opcode numbers. Declared here from the
// published interface; every offset a host reads is pinned by a static_assert below.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvalen {

struct EffectRecord;

namespace vst2 {

// Host callback: the plug-in calls it to notify or ask the host.
using HostCallback = intptr_t (*)(EffectRecord* effect, int32_t opcode, int32_t index,
                                  intptr_t value, void* ptr, float opt);

using DispatcherProc = intptr_t (*)(EffectRecord* effect, int32_t opcode, int32_t index,
                                    intptr_t value, void* ptr, float opt);
using ProcessProc = void (*)(EffectRecord* effect, float** inputs, float** outputs,
                             int32_t sampleFrames);
using ProcessDoubleProc = void (*)(EffectRecord* effect, double** inputs, double** outputs,
                                   int32_t sampleFrames);
using SetParameterProc = void (*)(EffectRecord* effect, int32_t index, float value);
using GetParameterProc = float (*)(EffectRecord* effect, int32_t index);

// Packs four characters the way VST2 ids are written: 'V','s','t','P' -> 0x56737450.
constexpr int32_t FourCharCode(char a, char b, char c, char d) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                static_cast<uint32_t>(static_cast<unsigned char>(d)));
}

constexpr int32_t kEffectMagic = FourCharCode('V', 's', 't', 'P');

// Record flags.
constexpr int32_t effFlagsHasEditor = 1 << 0;
constexpr int32_t effFlagsCanMono = 1 << 3;
constexpr int32_t effFlagsCanReplacing = 1 << 4;
constexpr int32_t effFlagsProgramChunks = 1 << 5;
constexpr int32_t effFlagsIsSynth = 1 << 8;
constexpr int32_t effFlagsNoSoundInStop = 1 << 9;
constexpr int32_t effFlagsCanDoubleReplacing = 1 << 12;

// Dispatcher opcodes (host -> plug-in).
constexpr int32_t effOpen = 0;
constexpr int32_t effClose = 1;
constexpr int32_t effSetProgram = 2;
constexpr int32_t effGetProgram = 3;
constexpr int32_t effSetProgramName = 4;
constexpr int32_t effGetProgramName = 5;
constexpr int32_t effGetParamLabel = 6;
constexpr int32_t effGetParamDisplay = 7;
constexpr int32_t effGetParamName = 8;
constexpr int32_t effSetSampleRate = 10;
constexpr int32_t effSetBlockSize = 11;
constexpr int32_t effMainsChanged = 12;
constexpr int32_t effEditGetRect = 13;
constexpr int32_t effEditOpen = 14;
constexpr int32_t effEditClose = 15;
constexpr int32_t effEditIdle = 19;
constexpr int32_t effIdentify = 22;
constexpr int32_t effGetChunk = 23;
constexpr int32_t effSetChunk = 24;
constexpr int32_t effProcessEvents = 25;
constexpr int32_t effCanBeAutomated = 26;
constexpr int32_t effString2Parameter = 27;
constexpr int32_t effGetProgramNameIndexed = 29;
constexpr int32_t effGetInputProperties = 33;
constexpr int32_t effGetOutputProperties = 34;
constexpr int32_t effGetPlugCategory = 35;
constexpr int32_t effSetSpeakerArrangement = 42;
constexpr int32_t effSetBypass = 44;
constexpr int32_t effGetEffectName = 45;
constexpr int32_t effGetVendorString = 47;
constexpr int32_t effGetProductString = 48;
constexpr int32_t effGetVendorVersion = 49;
constexpr int32_t effVendorSpecific = 50;
constexpr int32_t effCanDo = 51;
constexpr int32_t effGetTailSize = 52;
constexpr int32_t effGetParameterProperties = 56;
constexpr int32_t effGetVstVersion = 58;
constexpr int32_t effEditKeyDown = 59;
constexpr int32_t effEditKeyUp = 60;
constexpr int32_t effGetMidiKeyName = 66;
constexpr int32_t effGetSpeakerArrangement = 69;
constexpr int32_t effStartProcess = 71;
constexpr int32_t effStopProcess = 72;
constexpr int32_t effSetProcessPrecision = 77;

// Host opcodes (plug-in -> host).
constexpr int32_t audioMasterAutomate = 0;
constexpr int32_t audioMasterVersion = 1;
constexpr int32_t audioMasterCurrentId = 2;
constexpr int32_t audioMasterIdle = 3;
constexpr int32_t audioMasterGetTime = 7;
constexpr int32_t audioMasterProcessEvents = 8;
constexpr int32_t audioMasterIOChanged = 13;
constexpr int32_t audioMasterSizeWindow = 15;
constexpr int32_t audioMasterGetSampleRate = 16;
constexpr int32_t audioMasterGetBlockSize = 17;
constexpr int32_t audioMasterGetCurrentProcessLevel = 23;
constexpr int32_t audioMasterGetVendorString = 32;
constexpr int32_t audioMasterGetProductString = 33;
constexpr int32_t audioMasterGetVendorVersion = 34;
constexpr int32_t audioMasterCanDo = 37;
constexpr int32_t audioMasterUpdateDisplay = 42;
constexpr int32_t audioMasterBeginEdit = 43;
constexpr int32_t audioMasterEndEdit = 44;

constexpr int32_t kProcessLevelOffline = 4;

// Event types and pin / parameter flags.
constexpr int32_t kVstMidiType = 1;
constexpr int32_t kVstSysExType = 6;
constexpr int32_t kVstPinIsActive = 1 << 0;
constexpr int32_t kVstPinIsStereo = 1 << 1;
constexpr int32_t kVstPinUseSpeaker = 1 << 2;
constexpr int32_t kVstParameterIsSwitch = 1 << 0;
constexpr int32_t kPlugCategEffect = 1;
constexpr int32_t kPlugCategSynth = 2;

// Speaker arrangement types used here.
constexpr int32_t kSpeakerArrUserDefined = -2;
constexpr int32_t kSpeakerArrEmpty = -1;

// Time-info request / validity flags.
constexpr int32_t kVstTempoValid = 1 << 10;
constexpr int32_t kVstTimeSigValid = 1 << 13;

// Editor key codes and modifiers as the host sends them.
constexpr int32_t MODIFIER_SHIFT = 1 << 0;
constexpr int32_t MODIFIER_ALTERNATE = 1 << 1;
constexpr int32_t MODIFIER_COMMAND = 1 << 2;
constexpr int32_t MODIFIER_CONTROL = 1 << 3;

constexpr int32_t kVstVersion = 2400;

}  // namespace vst2

// The record handed to the host (VST2 AEffect).
struct EffectRecord {
    int32_t magic;
    vst2::DispatcherProc dispatcher;
    vst2::ProcessProc process;
    vst2::SetParameterProc setParameter;
    vst2::GetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    intptr_t resvd1;
    intptr_t resvd2;
    int32_t initialDelay;
    int32_t realQualities;
    int32_t offQualities;
    float ioRatio;
    void* object;
    void* user;
    int32_t uniqueID;
    int32_t version;
    vst2::ProcessProc processReplacing;
    vst2::ProcessDoubleProc processDoubleReplacing;
    char future[56];
};

namespace vst2 {

struct ERect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

struct VstSpeakerProperties {
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    int32_t type;
    char future[28];
};

struct VstSpeakerArrangement {
    int32_t type;
    int32_t numChannels;
    VstSpeakerProperties speakers[8];
};

struct VstPinProperties {
    char label[64];
    int32_t flags;
    int32_t arrangementType;
    char shortLabel[8];
    char future[48];
};

struct VstParameterProperties {
    float stepFloat;
    float smallStepFloat;
    float largeStepFloat;
    char label[64];
    int32_t flags;
    int32_t minInteger;
    int32_t maxInteger;
    int32_t stepInteger;
    int32_t largeStepInteger;
    char shortLabel[8];
    int16_t displayIndex;
    int16_t category;
    int16_t numParametersInCategory;
    int16_t reserved;
    char categoryLabel[24];
    char future[16];
};

struct VstEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    char data[16];
};

// The host's list of events; really numEvents entries long.
struct VstEvents {
    int32_t numEvents;
    intptr_t reserved;
    VstEvent* events[2];
};

struct VstMidiEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    int32_t noteLength;
    int32_t noteOffset;
    char midiData[4];
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

struct VstMidiSysexEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    int32_t dumpBytes;
    intptr_t resvd1;
    char* sysexDump;
    intptr_t resvd2;
};

struct VstTimeInfo {
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    int32_t smpteOffset;
    int32_t smpteFrameRate;
    int32_t samplesToNextClock;
    int32_t flags;
};

struct MidiKeyName {
    int32_t thisProgramIndex;
    int32_t thisKeyNumber;
    char keyName[64];
    int32_t reserved;
    int32_t flags;
};

}  // namespace vst2

// Hosts read these records by offset: any drift breaks every host at once.
static_assert(sizeof(void*) == 8, "the records are declared in their 64-bit layout");
static_assert(offsetof(EffectRecord, magic) == 0);
static_assert(offsetof(EffectRecord, dispatcher) == 8);
static_assert(offsetof(EffectRecord, process) == 16);
static_assert(offsetof(EffectRecord, setParameter) == 24);
static_assert(offsetof(EffectRecord, getParameter) == 32);
static_assert(offsetof(EffectRecord, numPrograms) == 40);
static_assert(offsetof(EffectRecord, numParams) == 44);
static_assert(offsetof(EffectRecord, numInputs) == 48);
static_assert(offsetof(EffectRecord, numOutputs) == 52);
static_assert(offsetof(EffectRecord, flags) == 56);
static_assert(offsetof(EffectRecord, resvd1) == 64);
static_assert(offsetof(EffectRecord, resvd2) == 72);
static_assert(offsetof(EffectRecord, initialDelay) == 80);
static_assert(offsetof(EffectRecord, realQualities) == 84);
static_assert(offsetof(EffectRecord, offQualities) == 88);
static_assert(offsetof(EffectRecord, ioRatio) == 92);
static_assert(offsetof(EffectRecord, object) == 96);
static_assert(offsetof(EffectRecord, user) == 104);
static_assert(offsetof(EffectRecord, uniqueID) == 112);
static_assert(offsetof(EffectRecord, version) == 116);
static_assert(offsetof(EffectRecord, processReplacing) == 120);
static_assert(offsetof(EffectRecord, processDoubleReplacing) == 128);
static_assert(offsetof(EffectRecord, future) == 136);
static_assert(sizeof(EffectRecord) == 192);

static_assert(sizeof(vst2::ERect) == 8);
static_assert(sizeof(vst2::VstSpeakerProperties) == 112);
static_assert(offsetof(vst2::VstSpeakerArrangement, speakers) == 8);
static_assert(sizeof(vst2::VstSpeakerArrangement) == 8 + 8 * 112);
static_assert(offsetof(vst2::VstPinProperties, flags) == 64);
static_assert(offsetof(vst2::VstPinProperties, arrangementType) == 68);
static_assert(offsetof(vst2::VstPinProperties, shortLabel) == 72);
static_assert(sizeof(vst2::VstPinProperties) == 128);
static_assert(offsetof(vst2::VstParameterProperties, label) == 12);
static_assert(offsetof(vst2::VstParameterProperties, flags) == 76);
static_assert(offsetof(vst2::VstParameterProperties, shortLabel) == 96);
static_assert(offsetof(vst2::VstParameterProperties, categoryLabel) == 112);
static_assert(sizeof(vst2::VstParameterProperties) == 152);
static_assert(sizeof(vst2::VstEvent) == 32);
static_assert(offsetof(vst2::VstEvents, events) == 16);
static_assert(offsetof(vst2::VstMidiEvent, midiData) == 24);
static_assert(sizeof(vst2::VstMidiEvent) == 32);
static_assert(offsetof(vst2::VstMidiSysexEvent, dumpBytes) == 16);
static_assert(offsetof(vst2::VstMidiSysexEvent, sysexDump) == 32);
static_assert(sizeof(vst2::VstMidiSysexEvent) == 48);
static_assert(offsetof(vst2::VstTimeInfo, timeSigNumerator) == 64);
static_assert(offsetof(vst2::VstTimeInfo, flags) == 84);
static_assert(sizeof(vst2::VstTimeInfo) == 88);
static_assert(offsetof(vst2::MidiKeyName, keyName) == 8);
static_assert(sizeof(vst2::MidiKeyName) == 80);

}  // namespace corvalen
