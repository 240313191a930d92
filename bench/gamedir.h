// The benchmarks read the shipped content the way the game does: from the game directory, the build
// tree's "dist" beside the benchmark programs' folder.
#pragma once
#include <filesystem>
#include <system_error>

// Runs load (a loader of the game: true on failure) in the game directory, trying the build tree's
// and then the current directory's; the working directory is restored. True when one load succeeded.
template <typename Load>
bool LoadFromGameDirectory(Load load)
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path home = std::filesystem::current_path();
    for (const std::filesystem::path& dir : { self.parent_path().parent_path() / "dist", home / "dist", home }) {
        if (std::filesystem::current_path(dir, error), error)
            continue;
        const bool failed = load();
        std::filesystem::current_path(home, error);
        if (!failed)
            return true;
    }
    return false;
}
