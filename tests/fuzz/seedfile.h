// A seed file's bytes.
#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

inline std::vector<uint8_t> ReadSeed(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
