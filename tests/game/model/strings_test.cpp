// The string cache over the module.
#include "catalogue_fixture.h"

#include <cstring>

#include "common/module.h"
#include "game/model/version.h"

namespace {

TEST_F(CatalogueTest, EachStringIsReadFromTheModuleOnce)
{
    const char* const first = GetString(63210);
    EXPECT_STREQ(first, "1");
    // With the module gone, a cached id still answers, at the same address; an uncached one cannot.
    CloseModule(stringmodule);
    stringmodule = nullptr;
    EXPECT_EQ(GetString(63210), first);
    EXPECT_STREQ(GetString(63211), "");
    ASSERT_FALSE(LoadStringModule());
    EXPECT_STREQ(GetString(63211), "0");
}

TEST_F(CatalogueTest, LongTextIsCutAndMissingIdIsEmpty)
{
    EXPECT_EQ(std::strlen(GetString(60000)), 499u);
    EXPECT_STREQ(GetString(59999), "");
    // A missing id read right after a long text must not show that text.
    EXPECT_STREQ(GetResString(59998), "");
    EXPECT_EQ(GetResNumber(59998), 0);
    EXPECT_EQ(GetResNumber(30901), -1);
}

TEST_F(CatalogueTest, VersionTextJoinsFourParts)
{
    EXPECT_EQ(GetVersionText(), "Version 1.0.3.7");
}

TEST_F(CatalogueTest, UnloadingLogsEveryCachedIdInOrderAndEmptiesTheCache)
{
    GetString(63213);
    GetString(2);
    log.clear();
    UnloadStringModule();
    EXPECT_EQ(stringmodule, nullptr);
    const size_t start = log.find("Tessarine: Unloading\n");
    const size_t two = log.find("Tessarine: Unloading value 2\n");
    const size_t high = log.find("Tessarine: Unloading value 63213\n");
    ASSERT_NE(start, std::string::npos);
    ASSERT_NE(two, std::string::npos);
    ASSERT_NE(high, std::string::npos);
    EXPECT_LT(start, two);
    EXPECT_LT(two, high);
    EXPECT_STREQ(GetString(2), "");  // nothing cached, nothing loaded
}

TEST_F(CatalogueTest, MissingModuleFailsTheLoad)
{
    UnloadStringModule();
    const auto empty = std::filesystem::path(GORV_FIXTURE_DIR) / "nomodule";
    std::filesystem::create_directories(empty);
    std::filesystem::current_path(empty);
    log.clear();
    EXPECT_TRUE(LoadGameText());
    EXPECT_TRUE(Logged("Failed to load Tessarine.dll"));
    EXPECT_NE(log.find("Error code:"), std::string::npos);
}

} // namespace
