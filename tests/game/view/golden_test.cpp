// One whole play screen composed headless (board, units, fog, marks, minimap, feed, header, frame),
// saved as a PNG under the build tree and compared with the stored digest of its picture.
//
// The digest is the mean colour of each 50 x 50 block of the screen; a block may drift a little (a
// font's anti-aliasing), but a layer drawn in the wrong place, the wrong cell or colour moves whole
// blocks. After an intended change of the picture, look at the PNG and store the new digest with
//     GORV_UPDATE_GOLDEN=1 ./view_tests --gtest_filter='Golden*'
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/model/state.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/board.h"
#include "game/view/cursor.h"
#include "game/view/feed.h"
#include "game/view/geometry.h"
#include "game/view/header.h"
#include "game/view/minimap.h"
#include "game/view/names.h"
#include "game/view/unitpanel.h"
#include "game/view/unitpicture.h"
#include "platform/clock.h"
#include "platform/headless.h"
#include "tests/game/support/world.h"
#include "tests/game/view/viewtest.h"

namespace {

enum { BLOCK = 50, BLOCKSX = 800 / BLOCK, BLOCKSY = 600 / BLOCK, TOLERANCE = 6 };

// The mean red, green and blue of every block, row after row.
std::vector<int> Digest(const uint32_t* pixels)
{
    std::vector<int> digest;
    for (int by = 0; by < BLOCKSY; by++)
        for (int bx = 0; bx < BLOCKSX; bx++) {
            long sum[3] = {};
            for (int y = by * BLOCK; y < (by + 1) * BLOCK; y++)
                for (int x = bx * BLOCK; x < (bx + 1) * BLOCK; x++)
                    for (int c = 0; c < 3; c++)
                        sum[c] += pixels[y * 800 + x] >> (16 - 8 * c) & 0xFF;
            for (const long s : sum)
                digest.push_back(static_cast<int>(s / (BLOCK * BLOCK)));
        }
    return digest;
}

std::string DigestPath()
{
    return std::string(GORV_SOURCE_DIR) + "/tests/game/view/golden/playscreen.digest";
}

// A game on its second day: three players and the neutral side on a 30-square map, part of it never
// seen, a dark wood, a forcefield, a hazard, the range of the selected unit marked.
void MakeScene()
{
    MakeWorld(3, 30, true);
    SetPlayerName(p[0], "Aldric");
    SetPlayerName(p[1], "Brenna");
    SetPlayerName(p[2], "Corvin");
    // Mostly open ground, woods and hills, a few gold deposits, from a fixed sequence.
    uint32_t seed = 7;
    const uint8_t kinds[20] = { 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 2, 2, 2, 0, 5 };
    for (int32_t x = 0; x < 30; x++)
        for (int32_t y = 0; y < 30; y++) {
            MapSquare& s = map[x][y];
            seed = seed * 1103515245 + 12345;
            s.terrain = kinds[(seed >> 16) % 20];
            s.extra = static_cast<uint8_t>((seed >> 8) % 4);
            s.explored = x < 18 && y + x / 3 < 16;
            if (x >= 9 && x <= 12 && y >= 2 && y <= 5)
                s.dark = 1;
            if (y == 9 && x >= 2 && x <= 6)
                s.terrain = 7, s.extra = 5;
        }
    map[4][3].terrain = 3, map[4][3].extra = 0;     // Aldric's mine
    map[15][8].terrain = 3, map[15][8].extra = 5;   // nobody's
    map[22][4].terrain = 3, map[22][4].extra = 5;   // unseen: it glints
    map[8][7].counter2 = 2;
    map[11][10].hazard = 3;
    map[13][11].timed = 1;
    map[6][6].bits = 1;                             // voided by Brenna
    const int32_t positions[4][3][2] = { { { 5, 5 }, { 6, 4 }, { 7, 6 } }, { { 14, 6 }, { 15, 7 }, { 13, 8 } },
                                         { { 24, 6 }, { 3, 11 }, { 4, 12 } }, { { 10, 3 }, { 11, 4 }, { 16, 2 } } };
    for (int32_t player = 0; player < 4; player++)
        for (const auto& at : positions[player]) {
            const int32_t u = AddTestUnit(player, at[0], at[1], 1 + (at[0] + at[1]) % 3);
            p[player].units[u].picture = (at[0] * 5 + at[1]) % 40;
        }
    p[0].units[1].hp = 4;
    p[0].units[2].moves = 0;
    p[1].units[0].poison = 2;
    p[1].units[1].hits = 0;
    for (int32_t x = 4; x <= 8; x++)
        for (int32_t y = 4; y <= 6; y++)
            map[x][y].mark = 1;
    p[0].gold = 340;
    currplayer = 0;
    currunit = 0;
    daycount = 2;
    turncount = 1;
    framecount = 7;
    view = { -1, 0, 19, 13 };
    AddMessage(0, "Your unit claimed this gold mine.");
    AdvanceClock(2000);
    AddMessage(0, "Brenna: Your warlord will not live to see the night.", 0x00FF00);
    AdvanceClock(2000);
    AddMessage(0, "The target resisted the spell!");
}

// The play screen of the scene, composed, shown and saved as name in the build tree: the frame shown.
const uint32_t* ComposePlayScreen(const char* name)
{
    const int32_t local = YouToInt();
    RebuildBoardImage();
    RedrawUnitPictures();
    RebuildMinimap(local, 0);
    ClearBackBuffer();
    DrawBoard(1, local);
    DrawScreenBorder();
    DrawUnitPanel(currplayer, currunit);
    DrawTurnHeader();
    DrawMinimap();
    DrawMessageFeed(local);
    mousex = 430;
    mousey = 250;
    DrawCursor(0);
    FlipScreen();
    const std::string png = std::string(GORV_TEST_DIR) + "/" + name;
    EXPECT_FALSE(SaveLastFramePng(png.c_str())) << png;
    int width = 0, height = 0;
    const uint32_t* const frame = LastPresentedFrame(&width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    return frame;
}

class GoldenTest : public ViewTest {
};

TEST_F(GoldenTest, ThePlayScreen)
{
    MakeScene();
    const uint32_t* const frame = ComposePlayScreen("playscreen_fixture.png");
    ASSERT_NE(frame, nullptr);
    const std::vector<int> digest = Digest(frame);

    if (std::getenv("GORV_UPDATE_GOLDEN")) {
        std::ofstream out(DigestPath());
        for (size_t i = 0; i < digest.size(); i++)
            out << digest[i] << ((i + 1) % (3 * BLOCKSX) ? ' ' : '\n');
        ASSERT_TRUE(out.good()) << DigestPath();
        return;
    }
    std::ifstream in(DigestPath());
    ASSERT_TRUE(in.good()) << "no stored digest at " << DigestPath();
    std::vector<int> stored;
    for (int v; in >> v;)
        stored.push_back(v);
    ASSERT_EQ(stored.size(), digest.size());
    int off = 0;
    for (size_t i = 0; i < digest.size(); i++)
        if (std::abs(digest[i] - stored[i]) > TOLERANCE) {
            const size_t block = i / 3;
            ADD_FAILURE() << "block at (" << block % BLOCKSX * BLOCK << ", " << block / BLOCKSX * BLOCK << ") channel "
                          << i % 3 << ": " << digest[i] << ", stored " << stored[i];
            if (++off == 10)
                break;
        }
    EXPECT_EQ(off, 0) << "the picture changed: look at " << GORV_TEST_DIR << "/playscreen_fixture.png";
}

// The same screen with the game's own pictures, for eyes: the image modules of the game directory
// loaded as the game loads them.
TEST_F(GoldenTest, ThePlayScreenWithTheGamesArt)
{
    const bool failed = LoadGameArt();
    if (!failed) {
        MakeScene();
        const uint32_t* const frame = ComposePlayScreen("playscreen.png");
        ASSERT_NE(frame, nullptr);
        // The board shows the art: many colours, where the fixture's sheets have a few hundred.
        std::vector<uint32_t> colours(frame + 40 * 800, frame + 500 * 800);
        std::sort(colours.begin(), colours.end());
        EXPECT_GT(std::unique(colours.begin(), colours.end()) - colours.begin(), 1000);
    }
    ReleaseAllImages();
    ASSERT_FALSE(failed) << "the game's image modules did not load";
}

} // namespace
