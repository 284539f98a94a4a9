#include "engine/vector_path.h"

#include <cpuid.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace corvalen {

namespace {

struct NamedPath {
    VectorPath path;
    const char* name;
};

constexpr NamedPath kNames[kVectorPathCount] = {
    {VectorPath::kSse2, "sse2"},
    {VectorPath::kAvx2, "avx2"},
    {VectorPath::kAvx512, "avx512"},
};

// cpuid leaf 1, ecx: the operating system has enabled xgetbv, the processor has AVX.
constexpr unsigned kOsXsaveBit = 1u << 27;
constexpr unsigned kAvxBit = 1u << 28;
// cpuid leaf 7 subleaf 0, ebx.
constexpr unsigned kAvx2Bit = 1u << 5;
constexpr unsigned kAvx512FoundationBit = 1u << 16;
// xgetbv(0): the register state the operating system saves on a thread switch. A processor
// with AVX under a system that does not save the upper halves would corrupt them silently.
constexpr std::uint64_t kSseAndAvxState = 0x6;      // xmm, upper ymm
constexpr std::uint64_t kAvx512State = 0x6 | 0xE0;  // ... opmask, upper zmm0-15, zmm16-31

std::uint64_t ReadExtendedControlRegister0() {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

VectorPath ChosenAtLoad() {
    return ChooseVectorPath(DetectVectorSupport(), std::getenv(kVectorPathVariable));
}

// Chosen while the library initialises (before any host call), never on the audio thread.
const VectorPath chosenAtLoad = ChosenAtLoad();
std::atomic<int> forced{-1};

}  // namespace

VectorSupport DetectVectorSupport() {
    VectorSupport support;
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return support;
    if ((ecx & kOsXsaveBit) == 0 || (ecx & kAvxBit) == 0) return support;
    const std::uint64_t saved = ReadExtendedControlRegister0();
    if ((saved & kSseAndAvxState) != kSseAndAvxState) return support;
    if (__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) == 0) return support;
    support.avx2 = (ebx & kAvx2Bit) != 0;
    support.avx512 =
        support.avx2 && (ebx & kAvx512FoundationBit) != 0 && (saved & kAvx512State) == kAvx512State;
    return support;
}

bool Supports(const VectorSupport& support, VectorPath path) {
    switch (path) {
        case VectorPath::kSse2: return true;
        case VectorPath::kAvx2: return support.avx2;
        case VectorPath::kAvx512: return support.avx512;
    }
    return false;
}

VectorPath ChooseVectorPath(const VectorSupport& support, const char* requested) {
    if (requested != nullptr) {
        for (const NamedPath& entry : kNames) {
            if (std::strcmp(requested, entry.name) == 0 && Supports(support, entry.path)) {
                return entry.path;
            }
        }
    }
    if (support.avx512) return VectorPath::kAvx512;
    if (support.avx2) return VectorPath::kAvx2;
    return VectorPath::kSse2;
}

const char* VectorPathName(VectorPath path) {
    for (const NamedPath& entry : kNames) {
        if (entry.path == path) return entry.name;
    }
    return "?";
}

VectorPath ActiveVectorPath() {
    const int path = forced.load(std::memory_order_relaxed);
    return path < 0 ? chosenAtLoad : static_cast<VectorPath>(path);
}

bool ForceVectorPath(VectorPath path) {
    if (!Supports(DetectVectorSupport(), path)) return false;
    forced.store(static_cast<int>(path), std::memory_order_relaxed);
    return true;
}

}  // namespace corvalen
