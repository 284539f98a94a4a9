#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "editor/settings_files.h"

namespace corvalen::editor {

char PathSeparator() { return '/'; }

bool EnvironmentFolder(const char* name, std::string& folder) {
    const char* value = std::getenv(name);
    folder = value != nullptr ? value : "";
    return !folder.empty();
}

bool FolderExists(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool CreateFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0 || FolderExists(path);
}

bool ReadFirstLine(const std::string& path, std::string& line) {
    line.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    for (int c = std::fgetc(file); c != EOF && c != '\n' && c != '\r'; c = std::fgetc(file)) {
        line.push_back(static_cast<char>(c));
    }
    std::fclose(file);
    return true;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace corvalen::editor
