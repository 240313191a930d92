// The game's fonts: the shipped files, the faces they stand for, the step's failures, and a sample
// sheet for eyes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/shell/debuglog.h"
#include "game/shell/fonts.h"
#include "game/shell/gdiobjects.h"
#include "platform/files.h"
#include "platform/font.h"
#include "platform/gdi.h"
#include "platform/png.h"

namespace fs = std::filesystem;

namespace {

class FontsTest : public testing::Test {
protected:
    void SetUp() override
    {
        olddir = GetCurrentDir();
        ASSERT_FALSE(SetCurrentDir(GORV_DIST_DIR));
        CaptureDebugLog(&log);
    }
    void TearDown() override
    {
        UnloadFonts();
        FailGdiCreation(GDIOBJECT_FONT, 0);
        CaptureDebugLog(nullptr);
        SetCurrentDir(olddir.c_str());
    }
    std::string olddir;
    std::string log;
};

TEST_F(FontsTest, EveryFaceComesFromOurFiles)
{
    ASSERT_FALSE(LoadFonts());
    EXPECT_EQ(log, "Loading Fonts.\n");
    const char* const files[FONTCOUNT] = {"Font.ttf", "Font.ttf", "Font.ttf", "Lobby.ttf", "Help.ttf", "Font2.ttf"};
    for (int i = 0; i < FONTCOUNT; i++) {
        ASSERT_NE(fonts[i], nullptr) << i;
        EXPECT_EQ(fs::path(FontFilePath(fonts[i])).filename(), files[i]) << i;
    }
}

TEST_F(FontsTest, SizesAsAsked)
{
    ASSERT_FALSE(LoadFonts());
    // A negative height is the em: the cell is a little taller. A positive one is the cell itself.
    const int ems[] = {12, 18, 48, 17, 12};
    for (int i = 0; i < 5; i++) {
        EXPECT_GE(FontCellHeight(fonts[i]), ems[i]) << i;
        EXPECT_LE(FontCellHeight(fonts[i]), ems[i] * 3 / 2 + 1) << i;
    }
    EXPECT_NEAR(FontCellHeight(fonts[5]), 60, 1);
}

TEST_F(FontsTest, EveryLetterAndTheMiddleDotHaveGlyphs)
{
    ASSERT_FALSE(LoadFonts());
    // The letters of CP1252 beyond ASCII, and 0xB7 (the title's separator).
    std::string needed = "\xB7\x83\x8A\x8C\x8E\x9A\x9C\x9E\x9F\xAA\xB5\xBA";
    for (int c = 0xC0; c <= 0xFF; c++)
        if (c != 0xD7 && c != 0xF7)
            needed += (char)c;
    for (int c = 'A'; c <= 'Z'; c++)
        needed += {(char)c, (char)(c + 32)};
    for (int i = 0; i < FONTCOUNT; i++)
        for (const char c : needed)
            EXPECT_TRUE(FontHasGlyph(fonts[i], (uint8_t)c)) << "font " << i << " byte " << (int)(uint8_t)c;
}

TEST_F(FontsTest, MissingFileFailsAndNamesIt)
{
    const fs::path dir = fs::path(GORV_TEST_DIR) / "fonts-missing";
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : {"Font.ttf", "Help.ttf", "Font2.ttf"})
        fs::copy_file(fs::path(GORV_DIST_DIR) / name, dir / name);
    ASSERT_FALSE(SetCurrentDir(dir.c_str()));
    EXPECT_TRUE(LoadFonts());
    EXPECT_EQ(log, "Loading Fonts.\nERROR: Couldn't add lobby.ttf.\n");
    // The two files before it stay added: their faces can still be made by family.
    GdiFont* const font = MakeFont(-12, "Liberation Sans");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(fs::path(FontFilePath(font)).filename(), "Help.ttf");
    FreeFont(font);
}

TEST_F(FontsTest, OnlyTheFirstFiveFontsMustBeMade)
{
    struct Case {
        int failing;        // which creation fails, 1-6
        bool fails;
    };
    const Case cases[] = {{1, true}, {3, true}, {5, true}, {6, false}};
    for (const Case& c : cases) {
        log.clear();
        FailGdiCreation(GDIOBJECT_FONT, c.failing);
        EXPECT_EQ(LoadFonts(), c.fails) << c.failing;
        EXPECT_EQ(log.find("ERROR: Couldn't create fonts.") != std::string::npos, c.fails) << c.failing;
        EXPECT_EQ(fonts[c.failing - 1], nullptr);
        UnloadFonts();
    }
}

TEST_F(FontsTest, UnloadFreesFontsPensAndBrushes)
{
    ASSERT_FALSE(CreateGdiObjects());
    ASSERT_FALSE(LoadFonts());
    UnloadFonts();
    for (const GdiFont* font : fonts)
        EXPECT_EQ(font, nullptr);
    EXPECT_EQ(dotpen, nullptr);
    EXPECT_EQ(navybrush, nullptr);
    EXPECT_TRUE(terrainbrushes.empty());
    // The files are gone: their families are no longer found among ours.
    GdiFont* const font = MakeFont(-12, "Averia Serif GWF");
    EXPECT_NE(fs::path(FontFilePath(font)).filename(), "Font.ttf");
    FreeFont(font);
}

TEST_F(FontsTest, SampleSheet)
{
    ASSERT_FALSE(LoadFonts());
    SysSurface* const sheet = CreateSysSurface(800, 420, 0);
    FillSurface(sheet, nullptr, 0x2A2218);
    GdiDC* const dc = OpenSurfaceDC(sheet);
    SetDCBackMode(dc, BACK_TRANSPARENT);
    SetDCTextColour(dc, MakeColour(240, 224, 190));
    const char* const samples[FONTCOUNT] = {
        "0: Papyrus 12 - The Warlord's gold mine \xB7 Z\xFCrich \x8A\x9A \x8C\x9C \xC6\xE6 \xD8\xF8",
        "1: Papyrus 18 - Connecting... Players Here: \xB7 \xC0\xC9\xCE\xD5\xDC \xE0\xE9\xEE\xF5\xFC",
        "2: Papyrus 48 - Gorvanel \xB7 Day 3",
        "3: Eurostile 17 - Fireblast deals 6 damage to every unit in range.",
        "4: Arial 12 - Cy: ready when you are! (chat line, 1234567890)",
        "5: Eras 60 - Necromancer",
    };
    int32_t y = 8;
    for (int i = 0; i < FONTCOUNT; i++) {
        SelectDCFont(dc, fonts[i]);
        y += DrawDCText(dc, samples[i], PixelRect{10, y, 790, y + 200}, TEXT_LEFT | TEXT_SINGLELINE | TEXT_NOCLIP) + 8;
    }
    CloseDC(dc);
    EXPECT_FALSE(WritePng((std::string(GORV_TEST_DIR) + "/fonts.png").c_str(), sheet->pixels, sheet->width,
                          sheet->height));
    DestroySysSurface(sheet);
}

} // namespace
