// Recognising the host from its product string, and the version packing used for hosts and
// for this plug-in's own version.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvalen {

// Host codes of the host table (0 unknown, -1 not yet asked). Only a few matter to the shell.
namespace host_code {
constexpr int kNotAsked = -1;
constexpr int kUnknown = 0;
constexpr int kReaper = 1;
constexpr int kCubase = 3;
constexpr int kForte = 15;
constexpr int kAudition = 17;
constexpr int kOrion = 18;
constexpr int kSawStudio = 20;
constexpr int kAcoustica = 25;
}  // namespace host_code

// Identifies a host from the raw product string in a buffer of `capacity` bytes: lower-cases
// ASCII A-Z and answers the code of the first table row whose fragment occurs anywhere in it.
// A text that fills the buffer without a terminating zero, or matches nothing, is unknown (0).
int IdentifyHost(const char* productString, std::size_t capacity);

// A host's vendor version v as major << 16 | minor << 8 | patch:
// ((v / 1000) << 16) | (((v mod 1000) / 100) << 8) | (v mod 100).
int32_t PackHostVersion(int32_t vendorVersion);

// The version the host is shown for a packed version: below 0xA0000 it is
// major * 1000 + minor * 100 + patch * 10, above it the packed value unchanged.
int32_t ReportedVersion(int32_t packedVersion);

}  // namespace corvalen
