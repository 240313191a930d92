#include "tests/game/screens/playscreen.h"

#include "game/magic/binding.h"
#include "game/model/catalogue.h"
#include "game/model/mapgen.h"
#include "game/model/powers.h"
#include "game/model/units.h"
#include "game/model/state.h"
#include "game/model/turns.h"
#include "game/screens/states.h"
#include "game/screens/turnsteps.h"
#include "game/shell/sound.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/view/board.h"
#include "game/view/commandmode.h"
#include "game/view/drawing.h"
#include "game/view/geometry.h"
#include "game/view/minimap.h"
#include "game/view/unitpicture.h"
#include "game/view/unitpanel.h"
#include "platform/random.h"
#include "tests/game/support/world.h"

void PlayScreenTest::SetUp()
{
    ScreenTest::SetUp();
    ASSERT_FALSE(CreateSpells());
    ResetTurnSteps();
    commandmode = COMMAND_MOVE;
    commandflag = 0;
}

void PlayScreenTest::TearDown()
{
    ClearSendQueue();
    ResetTurnSteps();
    shownlife = shownmoves = shownmana = shownexp = 0;  // the panel's meters glide from where they were
    ScreenTest::TearDown();
}

void PlayScreenTest::MakeGame(int32_t humans, int32_t size)
{
    MakeWorld(humans, size, true);
    for (std::vector<MapSquare>& column : map)
        for (MapSquare& s : column) {
            s.explored = 1;
            s.visible = 1;
        }
    soundon = 1;
    currplayer = 0;
    turnholder = 0;
    turncount = MORNING;
    daycount = 1;
    CenterView(size / 2, size / 2);
    RebuildBoardImage();
}

void PlayScreenTest::MakeRealGame(int32_t humans, int32_t size, uint32_t seed)
{
    MakeGame(humans, size);
    map.clear();
    mapsize = 0;
    ASSERT_FALSE(CreateBlankMap(size));
    SeedRandom(seed);
    GenerateTerrain();
    PlaceMines();
    for (std::vector<MapSquare>& column : map)
        for (MapSquare& s : column) {
            s.explored = 1;
            s.visible = 1;
        }
    CenterView(size / 2, size / 2);
    RebuildBoardImage();
}

int32_t PlayScreenTest::Put(int32_t player, int32_t x, int32_t y, int32_t type)
{
    const int32_t u = AddTestUnit(player, x, y, type);
    // As the game makes it: rock charges without limit but for the rock throwers, its powers.
    Unit& unit = p[player].units[u];
    unit.rocks = UnitHasFlag(type, '!') ? 0 : 999999;
    GetUnitPowers(type, unit.spells, unit.abilities);
    RenderUnitPicture(player, u);
    RebuildMinimap(YouToInt(), 1);
    return u;
}

void PlayScreenTest::ActWith(int32_t unit)
{
    currplayer = YouToInt();
    currunit = unit;
    commandmode = COMMAND_MOVE;
    commandflag = 0;
    gs = GAME_UNITTURN;
}

void PlayScreenTest::Mode(int32_t mode)
{
    commandmode = mode;
    commandflag = 0;
}

int32_t PlayScreenTest::ScreenX(int32_t x) const
{
    return SquareToScreen(x, 0).x + SQUARESIZE / 2;
}

int32_t PlayScreenTest::ScreenY(int32_t y) const
{
    return SquareToScreen(0, y).y + SQUARESIZE / 2;
}

bool PlayScreenTest::MarkerShows(int32_t cell) const
{
    const PixelRect source = SheetCellRect(cell, CELLSIZE, CELLSIZE, SHEETCOLUMNS);
    const SysSurface* sheet = imgterrain.GetSurface();
    const int32_t left = cursorx / SQUARESIZE * SQUARESIZE, top = cursory / SQUARESIZE * SQUARESIZE;
    for (int32_t y = 0; y < CELLSIZE / 2; y++)
        for (int32_t x = 0; x < CELLSIZE / 2; x++) {
            const uint32_t pixel = sheet->pixels[(size_t)(source.top + y) * sheet->width + source.left + x];
            if (pixel != sheet->colourkey && backbuffer->pixels[(size_t)(top + y) * backbuffer->width + left + x] != pixel)
                return false;
        }
    return true;
}

std::vector<std::string> PlayScreenTest::Sent()
{
    std::vector<std::string> bodies;
    for (const SentFrame& f : TakeSentFrames())
        bodies.push_back(f.Body());
    return bodies;
}

int32_t PlayScreenTest::Buyable(size_t k)
{
    return buyable.at(k).type;
}

int32_t PlayScreenTest::Warlord(size_t k)
{
    return warlordtypes[k];
}

std::string Bytes(std::initializer_list<int> bytes)
{
    std::string s;
    for (const int b : bytes)
        s.push_back((char)b);
    return s;
}
