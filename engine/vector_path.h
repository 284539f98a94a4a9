// Which vector width the equaliser's audio path runs at. Every path gives the same bits; they
// differ only in how many lanes one instruction fills. The widest path that the processor has
// and the operating system saves across thread switches is chosen once, when the library loads.
#pragma once

namespace corvalen {

enum class VectorPath : int {
    kSse2 = 0,    // two lanes: every x86-64 processor
    kAvx2 = 1,    // four lanes
    kAvx512 = 2,  // eight lanes
};

inline constexpr int kVectorPathCount = 3;

// Names a test or a benchmark may give in this environment variable to run a narrower path than
// the processor allows ("sse2", "avx2", "avx512"). A path the processor cannot run, or any other
// text, is ignored. Read once, when the library loads; nothing is ever logged about it.
inline constexpr const char* kVectorPathVariable = "CORVALEN_VECTOR_PATH";

// What the processor and the operating system allow, from cpuid and xgetbv.
struct VectorSupport {
    bool avx2 = false;
    bool avx512 = false;
};

VectorSupport DetectVectorSupport();

bool Supports(const VectorSupport& support, VectorPath path);

// The widest supported path, or the requested one when it is named exactly and supported.
// requested may be null.
VectorPath ChooseVectorPath(const VectorSupport& support, const char* requested);

// "sse2", "avx2", "avx512".
const char* VectorPathName(VectorPath path);

// The path the audio path uses now: the one chosen at load, unless a test forced another.
// Any thread.
VectorPath ActiveVectorPath();

// Test hook: makes the audio path use `path` from the next block on. False, changing nothing,
// when this processor cannot run it. Not for the released audio path: tests and benchmarks only.
bool ForceVectorPath(VectorPath path);

}  // namespace corvalen
