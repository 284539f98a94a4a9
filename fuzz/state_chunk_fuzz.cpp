// Feeds arbitrary bytes to effSetChunk as a program chunk (first byte even) or a bank chunk
// (odd), through the real plug-in object with its editor. Whatever the bytes, nothing may
// crash, every parameter must stay finite and inside its range, and what the plug-in then
// saves must read back successfully and save again as the same bytes (a project saved, reopened
// and saved again does not change). Every input meets the plug-in as it was opened.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "plugin_under_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    corvalen::fuzzing::PluginUnderFuzz& fuzzed = corvalen::fuzzing::PluginUnderFuzz::Instance();
    fuzzed.Restore();
    const bool bank = (data[0] & 1) != 0;
    fuzzed.Load(bank, data + 1, size - 1);
    fuzzed.CheckParameters();
    // What the plug-in saves reads back, and saving again gives the same bytes.
    const std::vector<unsigned char> saved = fuzzed.Saved(bank);
    if (fuzzed.Load(bank, saved.data(), saved.size()) != 1) std::abort();
    if (fuzzed.Saved(bank) != saved) std::abort();
    return 0;
}
