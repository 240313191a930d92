// A directory of its own for a fuzz target whose parser reads files by name from the working
// directory: made on first use (in memory where the system offers it, since the game flushes what it
// writes), entered for each input, removed when the program ends.
#pragma once
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

class FuzzSandbox {
public:
    explicit FuzzSandbox(const std::string& name)
    {
        std::error_code error;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, error))
            base = std::filesystem::temp_directory_path();
        // Targets and their seed tests may run side by side.
        dir = base / ("gorvanel-fuzz-" + name + "-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir);
    }
    ~FuzzSandbox()
    {
        std::error_code error;
        std::filesystem::current_path(dir.parent_path(), error);
        std::filesystem::remove_all(dir, error);
    }
    FuzzSandbox(const FuzzSandbox&) = delete;
    FuzzSandbox& operator=(const FuzzSandbox&) = delete;

    void Enter() const { std::filesystem::current_path(dir); }
    const std::filesystem::path& Path() const { return dir; }

private:
    std::filesystem::path dir;
};
