// A temporary folder of the test process's own. Two runs on one machine (two checkouts, CI
// next to a developer, the same tests under two sanitizers) then never write the same file.
#pragma once

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace corvalen::testing {

class TempFolder {
public:
    // Creates a new folder under the system's temporary folder; the name is random, and a
    // folder that already exists is never taken (creating it is the test).
    TempFolder() {
        std::random_device entropy;
        std::mt19937_64 pick(entropy() ^
                             static_cast<std::uint64_t>(
                                 std::chrono::steady_clock::now().time_since_epoch().count()));
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::filesystem::path candidate = base / ("corvalen_test_" + std::to_string(pick()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) {
                path_ = std::move(candidate);
                return;
            }
        }
        path_ = base;  // never reached in practice; the tests then still have a folder
    }
    ~TempFolder() {
        std::error_code ignored;
        if (path_ != std::filesystem::temp_directory_path(ignored)) {
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The process's folder, made on first use and removed with its contents at exit.
inline const std::filesystem::path& TestTempFolder() {
    static const TempFolder folder;
    return folder.path();
}

// A file name inside it, as the platform's narrow string.
inline std::string TestTempPath(const std::string& name) {
    return (TestTempFolder() / name).string();
}

}  // namespace corvalen::testing
