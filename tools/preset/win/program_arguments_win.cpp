#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include "tools/preset/program_arguments.h"

namespace corvalen::preset {

namespace {

std::string Utf8(const wchar_t* wide) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return std::string();
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
    text.pop_back();  // the terminating zero
    return text;
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    if (wide == nullptr) {
        // Without the wide line the code-page arguments are still better than none.
        for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
        return arguments;
    }
    for (int i = 1; i < count; ++i) arguments.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

}  // namespace corvalen::preset
