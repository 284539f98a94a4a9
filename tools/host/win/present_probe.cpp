#include "tools/host/win/present_probe.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace corvalen::host {
namespace {

using BitBltCall = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, DWORD);
using StretchBltCall = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, DWORD);

// The plug-in presents on its window's thread only; the record is read on the same thread.
PresentRecord record;

double Now() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

BOOL WINAPI CountedBitBlt(HDC target, int x, int y, int width, int height, HDC source, int sx,
                          int sy, DWORD operation) {
    const double start = Now();
    const BOOL done = BitBlt(target, x, y, width, height, source, sx, sy, operation);
    record.seconds += Now() - start;
    ++record.copies;
    record.widestCopy = std::max(record.widestCopy, width);
    record.narrowestCopy = record.copies == 1 ? width : std::min(record.narrowestCopy, width);
    return done;
}

BOOL WINAPI CountedStretchBlt(HDC target, int x, int y, int width, int height, HDC source, int sx,
                              int sy, int sourceWidth, int sourceHeight, DWORD operation) {
    if (GetStretchBltMode(target) == HALFTONE) {
        ++record.halftoneStretches;
    } else {
        ++record.plainStretches;
    }
    record.stretchSourceWidth = sourceWidth;
    record.stretchSourceHeight = sourceHeight;
    record.stretchTargetWidth = width;
    record.stretchTargetHeight = height;
    const double start = Now();
    const BOOL done = StretchBlt(target, x, y, width, height, source, sx, sy, sourceWidth,
                                 sourceHeight, operation);
    record.seconds += Now() - start;
    return done;
}

// Replaces the import named `name` from gdi32 in module's import address table.
bool Patch(HMODULE module, const char* name, void* replacement) {
    auto* base = reinterpret_cast<unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return false;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), "gdi32.dll") != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
            DWORD previous = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                                &previous))
                return false;
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, previous, &previous);
            return true;
        }
    }
    return false;
}

}  // namespace

bool WatchPresents(void* module) {
    auto* library = static_cast<HMODULE>(module);
    if (library == nullptr) return false;
    const bool copies = Patch(library, "BitBlt", reinterpret_cast<void*>(&CountedBitBlt));
    const bool stretches =
        Patch(library, "StretchBlt", reinterpret_cast<void*>(&CountedStretchBlt));
    return copies && stretches;
}

PresentRecord Presents() { return record; }

void ResetPresents() { record = PresentRecord{}; }

}  // namespace corvalen::host
