#include "editor/settings_files.h"

#include <cstdio>

namespace corvalen::editor {

bool ReadFirstLine(const std::string& path, std::string& line) {
    line.clear();
    std::FILE* file = OpenFileForReading(path);
    if (file == nullptr) return false;
    for (int c = std::fgetc(file); c != EOF && c != '\n' && c != '\r'; c = std::fgetc(file)) {
        line.push_back(static_cast<char>(c));
    }
    std::fclose(file);
    return true;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    std::FILE* file = OpenFileForWriting(path);
    if (file == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace corvalen::editor
