// Wine announces itself with a registry key that Windows never has.
#include <windows.h>

#include "raster/platform_font.h"

namespace corvalen::raster {
namespace {

bool askRegistry() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Wine", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

}  // namespace

bool runningUnderWine() {
    // Asked once per process (a thread-safe static); the answer cannot change.
    static const bool underWine = askRegistry();
    return underWine;
}

}  // namespace corvalen::raster
