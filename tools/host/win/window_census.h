// Counting what an editor leaves behind, the way the window tests judge leaks under Wine (which
// answers 0 to GetGuiResources): windows by class, and whether new GDI handles still reuse the
// slots freed before.
#pragma once

#include <windows.h>

#include <cstdint>

namespace corvalen::host {

// Windows of this thread by class name, children included.
struct ClassCount {
    const wchar_t* name;
    int found = 0;
};

inline BOOL CALLBACK CountIfOfClass(HWND window, LPARAM data) {
    auto* count = reinterpret_cast<ClassCount*>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (lstrcmpiW(name, count->name) == 0) ++count->found;
    return TRUE;
}

inline BOOL CALLBACK CountWithChildren(HWND window, LPARAM data) {
    CountIfOfClass(window, data);
    EnumChildWindows(window, &CountIfOfClass, data);
    return TRUE;
}

inline int WindowsOfClass(const wchar_t* className) {
    ClassCount count{className};
    EnumThreadWindows(GetCurrentThreadId(), &CountWithChildren, reinterpret_cast<LPARAM>(&count));
    return count.found;
}

// Freed GDI slots are reused: a leak pushes new handles far up the table. Made before the work
// it judges; SlotsMovedOn afterwards tells how far a new handle's slot has moved.
class GdiSlotProbe {
public:
    GdiSlotProbe() : before_(Slot()) {}
    long SlotsMovedOn() const { return Slot() - before_; }

private:
    static long Slot() {
        HBRUSH probe = CreateSolidBrush(0);
        DeleteObject(probe);
        return static_cast<long>(reinterpret_cast<std::uintptr_t>(probe) & 0xFFFF);
    }
    long before_;
};

}  // namespace corvalen::host
