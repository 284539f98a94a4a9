// Whole-file reads and writes for the preset tool, refusing what cannot be a preset or a
// correction before reading it.
#pragma once

#include <string>

#include "tools/preset/preset_file.h"

namespace corvalen::preset {

// Neither a parametric text nor a preset file of this plug-in comes near this size.
inline constexpr long kLargestInputFile = 1 << 20;

// False with the reason when the file cannot be opened or is larger than kLargestInputFile.
bool ReadWholeFile(const std::string& path, Bytes& bytes, std::string& error);
// Writes all bytes or, on failure, removes what was written and gives the reason.
bool WriteWholeFile(const std::string& path, const Bytes& bytes, std::string& error);

// The file's name without folders and extension: "C:\eq\HD 650.txt" gives "HD 650".
std::string FileStem(const std::string& path);
// Whether the path ends in the extension (".fxb"), compared without regard to case.
bool HasExtension(const std::string& path, const std::string& extension);

}  // namespace corvalen::preset
