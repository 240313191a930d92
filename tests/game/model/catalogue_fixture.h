// Tests that load the fixture string module: "Tessarine.dll" in the test program's build folder.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/model/catalogue.h"
#include "game/model/state.h"
#include "game/model/strings.h"
#include "game/shell/debuglog.h"

class CatalogueTest : public testing::Test {
protected:
    void SetUp() override
    {
        home = std::filesystem::current_path();
        std::filesystem::current_path(GORV_FIXTURE_DIR);
        ResetGameState();
        ResetCatalogue();
        CaptureDebugLog(&log);
        ASSERT_FALSE(LoadGameText());
    }
    void TearDown() override
    {
        UnloadStringModule();
        CaptureDebugLog(nullptr);
        ResetCatalogue();
        ResetGameState();
        std::filesystem::current_path(home);
    }
    bool Logged(const std::string& line) const { return log.find(line + "\n") != std::string::npos; }

    std::filesystem::path home;
    std::string log;
};
