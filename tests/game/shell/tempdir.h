// A fresh directory per test, made the working directory for the test's length: tests run as
// separate processes side by side, and the game reads and writes its files where it stands.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class InTempDir : public testing::Test {
protected:
    void SetUp() override
    {
        const testing::TestInfo* const info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        home = std::filesystem::current_path();
        dir = std::filesystem::path(GORV_TEST_DIR) / "work" / name;
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
    }

    void TearDown() override
    {
        std::filesystem::current_path(home);
    }

    static void WriteText(const std::filesystem::path& path, const std::string& text)
    {
        if (path.has_parent_path())
            std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        out << text;
    }

    static std::string ReadText(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path home;
    std::filesystem::path dir;
};
