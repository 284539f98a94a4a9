// Running corvalen-preset in-process on files in a scratch folder, with what it prints.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "tools/preset/preset_file.h"
#include "tools/preset/preset_tool.h"

namespace corvalen::preset::testing_support {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string errors;
};

inline std::string ReadBack(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    std::fclose(file);
    return text;
}

inline ToolRun RunTool(const std::vector<std::string>& arguments) {
    ToolRun run;
    std::FILE* out = std::tmpfile();
    std::FILE* errors = std::tmpfile();
    if (out == nullptr || errors == nullptr) {
        ADD_FAILURE() << "no scratch files";
        return run;
    }
    run.status = RunPresetTool(arguments, out, errors);
    run.out = ReadBack(out);
    run.errors = ReadBack(errors);
    return run;
}

// A path in the test process's own scratch folder.
inline std::string ScratchPath(const std::string& name) {
    return corvalen::testing::TestTempPath(name);
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

inline Bytes ReadBytes(const std::string& path) {
    Bytes bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    int c = 0;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<std::uint8_t>(c));
    std::fclose(file);
    return bytes;
}

inline bool FileExists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file != nullptr) std::fclose(file);
    return file != nullptr;
}

}  // namespace corvalen::preset::testing_support
