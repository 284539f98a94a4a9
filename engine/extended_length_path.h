// The extended form of a long Windows path, kept portable so it is tested natively.
#pragma once

#include <string>

namespace corvalen {

// Windows refuses a path of 260 characters or more in its ordinary form unless the host
// program opted in to long paths, and most do not. The extended form (\\?\C:\..., or
// \\?\UNC\server\share\... for a network path) has no such limit but is taken literally, so
// it is made with every separator a backslash and "." and ".." resolved (never above the
// drive or the share). Shorter paths, paths already extended or naming a device (\\.\), and
// relative ones come back unchanged.
std::u16string ExtendedLengthPath(const std::u16string& path);

}  // namespace corvalen
