// The image set: the load order behind the progress bar, the four filter workers, failures that still
// wait for every worker started, and freeing then loading again. Runs on small fixture modules in a
// scratch game directory, with the headless display.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/shell/debuglog.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/headless.h"
#include "platform/window.h"
#include "tests/common/bmpfixture.h"

namespace fs = std::filesystem;

namespace {

const uint32_t barcolour = 0x30C050, emptycolour = 0x503020, sheetcolour = 0xC86433;   // (200, 100, 51)

const char* const vistornnames[] = {
    "load.bmp", "loadfade.bmp", "unithealth.bmp", "back.bmp", "blueline.bmp", "menu_icons.bmp", "icons.bmp",
    "shop.bmp", "B_Top.bmp", "B_Bottom.bmp", "B_Left.bmp", "B_Right.bmp", "B_Meterbottom.bmp", "B_Metermiddle.bmp",
    "B_Unit.bmp", "line.bmp", "buttonup.bmp", "buttondown.bmp", "buttonup2.bmp", "buttondown2.bmp", "buttonup3.bmp",
    "buttondown3.bmp", "meters.bmp", "newback.bmp", "world.bmp", "worldfade.bmp", "help.bmp", "logo.bmp"};
const char* const brackwelnames[] = {"terrain.bmp", "units.bmp", "spellanim.bmp", "spellicon.bmp"};

std::vector<uint8_t> Plain(int w, int h, uint32_t colour)
{
    return bmpfixture::MakeBmp(w, h, 24, false, std::vector<uint32_t>((size_t)w * h, colour));
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

std::vector<int> barwidths;     // the bar width of every frame presented

// The filled bar's width in a frame: its colour along the middle row of the bar.
void RecordBar(const uint32_t* pixels, int width, int)
{
    const uint32_t* row = pixels + (size_t)(LOADBARY + LOADBARHEIGHT / 2) * width;
    int w = 0;
    while (LOADBARX + w < width && row[LOADBARX + w] == barcolour)
        w++;
    barwidths.push_back(w);
}

std::vector<int> ExpectedBar(int steps)
{
    std::vector<int> widths;
    for (int n = 1; n <= steps; n++)
        widths.push_back((n - 1) * LOADBARWIDTH / LOADSTEPS);
    return widths;
}

uint32_t Pixel(const Surface& s, int x, int y)
{
    return s.GetSurface()->pixels[(size_t)y * s.width + x] & 0xFFFFFF;
}

class ImagesTest : public testing::Test {
protected:
    // A game directory with both image modules, leaving out the names in `missing`.
    void SetUpModules(const std::vector<std::string>& missing)
    {
        const auto kept = [&](const char* name) { return std::find(missing.begin(), missing.end(), name) == missing.end(); };
        std::vector<std::pair<std::string, std::vector<uint8_t>>> vistorn, brackwel;
        for (const char* name : vistornnames) {
            if (!kept(name))
                continue;
            const std::string n = name;
            vistorn.push_back({n, n == "load.bmp"       ? Plain(LOADBARWIDTH, LOADBARHEIGHT, barcolour)
                                  : n == "loadfade.bmp" ? Plain(LOADBARWIDTH, LOADBARHEIGHT, emptycolour)
                                                        : Plain(4, 3, 0x808040)});
        }
        for (const char* name : brackwelnames)
            if (kept(name))
                brackwel.push_back({name, Plain(41, 41, sheetcolour)});
        WriteBytes(dir / "Vistorn.dll", bmpfixture::MakeBitmapModule(vistorn));
        WriteBytes(dir / "Brackwel.dll", bmpfixture::MakeBitmapModule(brackwel));
    }
    void SetUp() override
    {
        const testing::TestInfo* const info = testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::path(GORV_TEST_DIR) / "images" / info->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
        olddir = GetCurrentDir();
        ASSERT_FALSE(SetCurrentDir(dir.c_str()));
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        CaptureDebugLog(&log);
        barwidths.clear();
        WatchPresentedFrames(RecordBar);
    }
    void TearDown() override
    {
        WatchPresentedFrames(nullptr);
        DDrawStop();
        CaptureDebugLog(nullptr);
        StopPlatform();
        SetCurrentDir(olddir.c_str());
    }
    size_t Lines(const std::string& text) const
    {
        size_t n = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            n++;
        return n;
    }
    fs::path dir;
    std::string olddir, log;
};

} // namespace

TEST_F(ImagesTest, FullLoadShowsEveryStepOfTheBarInOrder)
{
    SetUpModules({});
    ASSERT_FALSE(DDrawGo());
    EXPECT_EQ(Lines("DDrawGo\n"), 1u);
    ASSERT_FALSE(LoadImages());
    EXPECT_EQ(Lines("Total images:41\n"), 1u) << log;
    EXPECT_EQ(loadcount, 41);
    EXPECT_EQ(barwidths, ExpectedBar(41));
    EXPECT_EQ(barwidths.back(), 409);       // the bar never quite fills
    // The fixed order: the bar, the sheets and their copies, then the screens' pictures.
    std::string order;
    for (size_t at = log.find("Loading Image "); at != std::string::npos; at = log.find("Loading Image ", at + 1))
        order += log.substr(at + 14, log.find('\n', at) - at - 14) + " ";
    EXPECT_EQ(order, "load.bmp loadfade.bmp terrain.bmp terrain.bmp units.bmp units.bmp spellanim.bmp spellicon.bmp "
                     "unithealth.bmp back.bmp blueline.bmp menu_icons.bmp icons.bmp shop.bmp B_Top.bmp B_Bottom.bmp "
                     "B_Left.bmp B_Right.bmp B_Meterbottom.bmp B_Metermiddle.bmp B_Unit.bmp line.bmp terrain.bmp "
                     "units.bmp buttonup.bmp buttondown.bmp buttonup2.bmp buttondown2.bmp buttonup3.bmp "
                     "buttondown3.bmp meters.bmp newback.bmp world.bmp worldfade.bmp help.bmp logo.bmp ");
    EXPECT_EQ(loadedimages.size(), 36u);    // 34 counted images and the bar's own two
    // The workers' copies: dimmed by 0x808080, and grey by luma; the plain sheets untouched.
    EXPECT_EQ(Pixel(imgterraintint, 5, 5), 0x643219u);
    EXPECT_EQ(Pixel(imgunitstint, 5, 5), 0x643219u);
    EXPECT_EQ(Pixel(imgterraingrey, 5, 5), 0x7C7C7Cu);
    EXPECT_EQ(Pixel(imgunitsgrey, 5, 5), 0x7C7C7Cu);
    EXPECT_EQ(Pixel(imgterrain, 5, 5), sheetcolour);
    EXPECT_TRUE(imgboard.IsCreated() && imgscreen.IsCreated() && imgminimap.IsCreated());
    EXPECT_EQ(imgminimap.width, 402);
}

TEST_F(ImagesTest, MissingLogoFailsOnlyAfterAllFourWorkersFinished)
{
    SetUpModules({"logo.bmp"});
    ASSERT_FALSE(DDrawGo());
    EXPECT_TRUE(LoadImages());
    EXPECT_EQ(Lines("Total images:"), 0u);
    // All four workers were started and are done: their copies are filtered and counted.
    EXPECT_EQ(Pixel(imgterraintint, 0, 0), 0x643219u);
    EXPECT_EQ(Pixel(imgunitsgrey, 0, 0), 0x7C7C7Cu);
    EXPECT_EQ(loadcount, 33 + 1 + 4);      // the images before the logo, the board blank and the workers
    EXPECT_EQ(barwidths, ExpectedBar(38));
    EXPECT_FALSE(imgscreen.IsCreated());
}

TEST_F(ImagesTest, MissingSpellAnimationFailsWithTwoWorkersStartedAndTwoNever)
{
    SetUpModules({"spellanim.bmp"});
    ASSERT_FALSE(DDrawGo());
    EXPECT_TRUE(LoadImages());
    EXPECT_EQ(Pixel(imgterraintint, 0, 0), 0x643219u);
    EXPECT_EQ(Pixel(imgunitstint, 0, 0), 0x643219u);
    EXPECT_FALSE(imgterraingrey.IsCreated());
    EXPECT_FALSE(imgunitsgrey.IsCreated());
    EXPECT_EQ(loadcount, 4 + 1 + 2);       // four sheets, the board blank, two workers
}

TEST_F(ImagesTest, MissingModuleFailsAtTheFirstImage)
{
    SetUpModules({});
    fs::remove(dir / "Vistorn.dll");
    ASSERT_FALSE(DDrawGo());                // the modules are not checked here
    EXPECT_TRUE(LoadImages());
    EXPECT_EQ(Lines("Loading Image load.bmp\n"), 1u);
    EXPECT_EQ(loadcount, 0);
    EXPECT_TRUE(barwidths.empty());
}

TEST_F(ImagesTest, FreeingThenLoadingAgainLoadsEachImageOnce)
{
    SetUpModules({});
    ASSERT_FALSE(DDrawGo());
    ASSERT_FALSE(LoadImages());
    FreeImages();
    EXPECT_TRUE(loadedimages.empty());
    for (const Surface* s : {&imgterrain, &imgunitsgrey, &imglogo, &imgscreen, &imgminimap, &imgload})
        EXPECT_FALSE(s->IsCreated());
    barwidths.clear();
    ASSERT_FALSE(LoadImages());
    EXPECT_EQ(barwidths, ExpectedBar(41));  // the bar starts again from nothing
    std::vector<Surface*> unique = loadedimages;
    std::sort(unique.begin(), unique.end());
    EXPECT_EQ(std::unique(unique.begin(), unique.end()), unique.end());
    EXPECT_EQ(loadedimages.size(), 36u);
    EXPECT_EQ(Lines("Total images:41\n"), 2u);
}

TEST_F(ImagesTest, DisplayTakesTheFirstDepthThatWorksAndFailsWithNone)
{
    SetUpModules({});
    RefuseDisplayDepth(32, true);
    EXPECT_FALSE(DDrawGo());
    EXPECT_EQ(DisplayDepth(), 24);
    DDrawStop();
    for (const int bpp : {24, 16, 8})
        RefuseDisplayDepth(bpp, true);
    EXPECT_TRUE(DDrawGo());
    ResetDisplayHooks();
}
