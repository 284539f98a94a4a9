#include "tools/preset/tool_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "engine/file_access.h"

namespace corvalen::preset {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Reason() { return std::strerror(errno); }

}  // namespace

bool ReadWholeFile(const std::string& path, Bytes& bytes, std::string& error) {
    std::FILE* file = OpenFileForReading(path);
    if (file == nullptr) {
        error = "cannot open: " + Reason();
        return false;
    }
    bytes.clear();
    std::uint8_t buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (bytes.size() + got > static_cast<std::size_t>(kLargestInputFile)) {
            std::fclose(file);
            error = "larger than " + std::to_string(kLargestInputFile / 1024) +
                    " KiB; not a preset or a correction";
            return false;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = "cannot read: " + Reason();
        return false;
    }
    return true;
}

bool WriteWholeFile(const std::string& path, const Bytes& bytes, std::string& error) {
    std::FILE* file = OpenFileForWriting(path);
    if (file == nullptr) {
        error = "cannot create: " + Reason();
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = "cannot write: " + Reason();
        RemoveFile(path);  // a half-written preset must not look like a good one
        return false;
    }
    return true;
}

std::string FileStem(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

bool HasExtension(const std::string& path, const std::string& extension) {
    if (path.size() < extension.size()) return false;
    const std::size_t start = path.size() - extension.size();
    for (std::size_t i = 0; i < extension.size(); ++i) {
        if (Lower(path[start + i]) != Lower(extension[i])) return false;
    }
    return true;
}

}  // namespace corvalen::preset
