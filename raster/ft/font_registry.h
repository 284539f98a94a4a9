// Native build only: the fonts the FreeType glyph source may use, by face name. The
// editor's native resource code registers its embedded fonts here under the face names
// the layout uses ("Bahnschrift", "Agency FB", "Consolas", "Arial").
#pragma once

#include <cstddef>

namespace corvalen::raster {

// Any thread. Registers a TrueType/OpenType font from memory (the bytes are copied) for
// faceName with the given weight (400 regular, 700 bold) and slant. A request picks the
// registered face whose name matches (ignoring case) and whose weight and slant are
// closest. Returns false when FreeType cannot read the font.
bool registerFontFace(const char* faceName, int weight, bool italic, const void* data,
                      std::size_t size);
// The same from a font file.
bool registerFontFile(const char* faceName, int weight, bool italic, const char* path);
// Forgets every registered face (tests).
void clearRegisteredFonts();

}  // namespace corvalen::raster
