// A SystemBitmap on Windows: a 32-bit top-down DIB section selected into its own memory DC,
// so GDI can draw into the same pixels the library blends.
#include "raster/section.h"

#include <windows.h>

namespace corvalen::raster::section {

DeviceContext createContext() { return CreateCompatibleDC(nullptr); }

void deleteContext(DeviceContext context) {
    if (context != nullptr) DeleteDC(static_cast<HDC>(context));
}

Section create(DeviceContext context, int width, int height) {
    Section result;
    if (width <= 0 || height <= 0) return result;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);  // 40
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap =
        CreateDIBSection(static_cast<HDC>(context), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return result;
    if (bits == nullptr) {
        DeleteObject(bitmap);
        return result;
    }
    result.handle = bitmap;
    result.bits = static_cast<std::uint32_t*>(bits);
    if (context != nullptr) result.previous = SelectObject(static_cast<HDC>(context), bitmap);
    return result;
}

void release(DeviceContext context, void* handle, void* previous) {
    // A bitmap selected into a DC cannot be deleted: put the original object back first.
    if (context != nullptr && previous != nullptr)
        SelectObject(static_cast<HDC>(context), static_cast<HGDIOBJ>(previous));
    if (handle != nullptr) DeleteObject(static_cast<HGDIOBJ>(handle));
}

}  // namespace corvalen::raster::section
