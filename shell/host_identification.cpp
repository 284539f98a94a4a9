#include "shell/host_identification.h"

#include <cstring>

namespace corvalen {
namespace {

struct HostRow {
    int code;
    const char* fragment;  // lower case, at most 10 characters
};

// Searched in this order; the first fragment found wins (so "cubase" before "nuendo").
constexpr HostRow kHostTable[] = {
    {3, "cubase"},   {1, "reaper"},      {4, "nuendo"},    {5, "cakewalk"},   {8, "samplitude"},
    {7, "fruity"},   {9, "live"},        {12, "melodyne"}, {13, "vstmanlib"}, {15, "forte"},
    {16, "chainer"}, {17, "audition"},   {18, "orion"},    {20, "sawstudio"}, {21, "logic"},
    {22, "digital"}, {23, "audiomulch"}, {24, "presonus"}, {25, "acoustica"}, {27, "ardour"},
    {28, "bitwig"},  {29, "audacity"},   {30, "savihost"}, {31, "vsthost"},   {2, "pro tools"},
    {32, "wavelab"},
};
static_assert(sizeof(kHostTable) / sizeof(kHostTable[0]) == 26);

constexpr std::size_t kMaxNameLength = 256;

}  // namespace

int IdentifyHost(const char* productString, std::size_t capacity) {
    if (productString == nullptr || capacity == 0) return host_code::kUnknown;
    const std::size_t limit = capacity < kMaxNameLength ? capacity : kMaxNameLength;
    char lower[kMaxNameLength + 1];
    std::size_t length = 0;
    while (length < limit && productString[length] != '\0') {
        const char c = productString[length];
        lower[length] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        ++length;
    }
    if (length == limit) return host_code::kUnknown;  // no terminating zero: not a text
    lower[length] = '\0';
    for (const HostRow& row : kHostTable) {
        if (std::strstr(lower, row.fragment) != nullptr) return row.code;
    }
    return host_code::kUnknown;
}

int32_t PackHostVersion(int32_t vendorVersion) {
    // Shifted as unsigned: a negative version from a confused host must not be undefined.
    const int32_t v = vendorVersion;
    const uint32_t packed = (static_cast<uint32_t>(v / 1000) << 16) |
                            (static_cast<uint32_t>((v % 1000) / 100) << 8) |
                            static_cast<uint32_t>(v % 100);
    return static_cast<int32_t>(packed);
}

int32_t ReportedVersion(int32_t packedVersion) {
    if (packedVersion >= 0xA0000) return packedVersion;
    const int32_t major = (packedVersion >> 16) & 0xFF;
    const int32_t minor = (packedVersion >> 8) & 0xFF;
    const int32_t patch = packedVersion & 0xFF;
    return major * 1000 + minor * 100 + patch * 10;
}

}  // namespace corvalen
