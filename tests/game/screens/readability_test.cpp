// Every text of the front and playing screens reads clearly where it is drawn: each screen is brought to
// a typical frame, every text drawn in that frame is heard by the text layer's recorder, and each must
// stand out from what lay under it (4.5:1 up to 16 pixels, 3:1 above and for button captions, in the
// normal and the hovered look), with no exception; keep off the frame lines and ornaments of the
// screen's background, off every other text and off the screen's edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/names.h"
#include "game/model/players.h"
#include "game/model/state.h"
#include "game/model/winner.h"
#include "game/net/link.h"
#include "game/net/lobby.h"
#include "game/screens/buttons.h"
#include "game/screens/errorscreen.h"
#include "game/screens/help.h"
#include "game/screens/menu.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/view/board.h"
#include "game/view/chat.h"
#include "game/view/commandmode.h"
#include "game/view/feed.h"
#include "game/view/frames.h"
#include "game/view/geometry.h"
#include "game/view/names.h"
#include "game/view/text.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "tests/game/screens/playscreen.h"
#include "tests/game/support/world.h"
#include "tests/readability/readability.h"

namespace {

// The colours of the gold frames, rules and corner ornaments of the shared background and the shop,
// and of the help book's page frames.
const std::vector<uint32_t> framecolours = { 0xD4A848, 0xFAE6A8, 0x6E4C16, 0x7A1A16 };
const std::vector<uint32_t> pagecolours = { 0xA08048, 0xC8A870 };

// How near the screen's edges a text's glyphs may come.
constexpr int32_t SCREENMARGIN = 2;

bool IsCaption(const DrawnText& t)
{
    return t.rect.right - t.rect.left == BUTTONWIDTH && t.rect.bottom - t.rect.top == BUTTONHEIGHT;
}

double Goal(const DrawnText& t)
{
    return ContrastGoal(t, IsCaption(t));
}

class Readability : public PlayScreenTest {
protected:
    // Runs a frame with the recorder on and checks what it heard; then, for every button caption in
    // it, a frame with the mouse over that button, checking the caption in its hovered look.
    void Check(const std::string& screen)
    {
        const std::vector<DrawnText> drawn = Record();
        Judge(screen, drawn);
        for (const DrawnText& t : drawn) {
            if (!IsCaption(t) || t.surface != backbuffer)
                continue;
            MoveTo((t.rect.left + t.rect.right) / 2, (t.rect.top + t.rect.bottom) / 2);
            std::vector<DrawnText> hovered;
            for (DrawnText& h : Record())
                if (h.text == t.text)
                    hovered.push_back(std::move(h));
            Judge(screen + " hovering '" + t.text + "'", hovered);
        }
    }
    std::vector<DrawnText> Record()
    {
        std::vector<DrawnText> drawn;
        recordingtexts = true;
        RecordDrawnText(&drawn);
        Frames(1);
        RecordDrawnText(nullptr);
        recordingtexts = false;
        return drawn;
    }
    void Judge(const std::string& screen, const std::vector<DrawnText>& drawn)
    {
        EXPECT_FALSE(drawn.empty()) << screen;
        for (const std::string& faint : FaintTexts(drawn, Goal))
            ADD_FAILURE() << screen << ": faint " << faint;
        for (const std::string& overlap : OverlappingTexts(drawn, backbuffer))
            ADD_FAILURE() << screen << ": " << overlap;
        for (const std::string& atedge : TextsAtTheEdge(drawn, backbuffer, SCREENMARGIN))
            ADD_FAILURE() << screen << ": " << atedge;
        const struct {
            const Surface& picture;
            const std::vector<uint32_t>& colours;
            int32_t x, y;
        } backgrounds[] = { { imgback, framecolours, 0, 0 }, { imgshop, framecolours, 5, 30 }, { imghelp, pagecolours, 0, 0 } };
        for (const auto& b : backgrounds)
            for (const std::string& crossing : TextsOnFrames(drawn, backbuffer, b.picture.GetSurface(), b.colours, b.x, b.y))
                ADD_FAILURE() << screen << ": " << crossing;
    }
    // Away from every button.
    void Park() { MoveTo(2, 598); }
};

// Texts whose glyph box lies on a unit's square of the board, where the unit's picture shows under
// them rather than a band of the text's own (nothing there brighter than a quarter).
std::vector<std::string> TextsOnUnits(const std::vector<DrawnText>& drawn)
{
    std::vector<std::string> onunits;
    for (const DrawnText& t : drawn) {
        if (t.surface != backbuffer)
            continue;
        int32_t bright = 0;
        for (const Player& player : p)
            for (const Unit& u : player.units) {
                const ScreenPoint at = SquareToScreen(u.x, u.y);
                for (int32_t y = std::max(t.ink.top, at.y); y < std::min(t.ink.bottom, at.y + SQUARESIZE); y++)
                    for (int32_t x = std::max(t.ink.left, at.x); x < std::min(t.ink.right, at.x + SQUARESIZE); x++) {
                        const uint32_t pixel = t.under[(size_t)(y - t.ink.top) * (t.ink.right - t.ink.left) + x - t.ink.left];
                        bright += (pixel >> 16 & 255) > 0x40 || (pixel >> 8 & 255) > 0x40 || (pixel & 255) > 0x40;
                    }
            }
        if (bright)
            onunits.push_back("'" + t.text + "' on " + std::to_string(bright) + " bright pixels of units");
    }
    return onunits;
}

struct FrontScreen {
    const char* name;
    std::function<void()> setup;
};

TEST_F(Readability, TheFrontScreens)
{
    const FrontScreen screens[] = {
        { "intro", [this] { Frames(60); } },
        { "name", [] { gs = GAME_ENTERNAME; playername = "Morwen"; } },
        { "menu", [] {
              gs = GAME_MAINMENU;
              versiontext = "Version 1.0.0.0";
              localaddress = "192.168.100.200";
          } },
        { "money", [] { MakeWorld(2, 0, false); gs = GAME_SELECTMONEY; } },
        { "join", [] { gs = GAME_JOIN; hostaddress = "192.168.100.200"; } },
        { "lobby", [] {
              MakeWorld(3, 0, false);
              SetPlayerName(p[0], "Hal");
              SetPlayerName(p[1], "Ann");
              SetPlayerName(p[2], "Bo");
              hostaddress = "192.168.1.20";
              messages.push_back(FeedMessage{ "Ann: Hello from Ann", playercolours[1], 0 });
              gs = GAME_ENTERLOBBY;
          } },
        { "map transfer", [] {
              MakeWorld(2, 30, false);
              BecomeClient(1);
              startgold = 750;
              gs = GAME_SENDMAP;
              mapattempts = 18;
          } },
        { "error", [] { ShowErrorScreen("Connection Lost", "The host closed the connection.", GAME_MAINMENU); } },
        { "credits", [] { gs = GAME_CREDITS; framecount = 40; } },
        { "help", [] { gs = GAME_HELPOPEN; } },
        { "quit", [] { gs = GAME_QUIT; } },
        { "update", [] { gs = GAME_UPDATE; } },
    };
    for (const FrontScreen& s : screens) {
        SCOPED_TRACE(s.name);
        TearDown();
        SetUp();
        s.setup();
        Park();
        Frames(3);
        Check(s.name);
    }
}

TEST_F(Readability, TheHelpPages)
{
    gs = GAME_HELPOPEN;
    Park();
    Frames(2);
    Check("help basics");
    for (const int tab : { 1, 5 }) {
        Click(90, 60 + tab * helptabheight + helptabheight / 2);
        Frames(1);
        Click(720, 520);
        Frames(1);
        Park();
        Frames(1);
        Check("help tab " + std::to_string(tab));
    }
}

TEST_F(Readability, TheWarlordsAndTheShop)
{
    MakeRealGame(2, 30, 7);
    p[0].startx = 8;
    p[0].starty = 8;
    gs = GAME_PREWARLORD;
    Frames(1);
    const int32_t row = 490 / std::max(warlordtypecount, 1);
    // Every warlord's description ends above the place where a power's information box opens.
    for (int32_t w = 0; w < warlordtypecount; w++) {
        Click(100, 50 + w * row + row / 2);
        Park();
        Frames(1);
        int32_t bottom = 0;
        for (const DrawnText& t : Record())
            if (t.rect.top == 296)
                bottom = std::max(bottom, t.ink.bottom);
        EXPECT_GT(bottom, 296) << "warlord " << w;
        EXPECT_LE(bottom, 400) << "warlord " << w << "'s description runs under the power's box";
    }
    Click(100, 50 + row + row / 2);
    Frames(1);
    MoveTo(560, 180);       // over its first spell: the info box
    Frames(2);
    Check("warlords");

    Put(0, 8, 8, Warlord(0));
    p[0].gold = 600;
    gs = GAME_PRESHOP;
    Frames(1);
    Click(buyable[3].iconx + 20, buyable[3].icony + 20);
    Frames(1);
    Click(690, 425);        // bought once
    Frames(2);
    Park();
    Frames(1);
    Check("shop");
    // The power rows: the information box of the first power in each row, beside them.
    int32_t boxes = 0;
    for (const int32_t y : { 282, 358 })
        for (const int32_t x : { 95, 160, 229 }) {
            MoveTo(x, y);
            Frames(1);
            const std::vector<DrawnText> drawn = Record();
            if (std::none_of(drawn.begin(), drawn.end(), [](const DrawnText& t) { return t.rect.left >= 555; }))
                continue;
            Judge("shop power box at " + std::to_string(x) + "," + std::to_string(y), drawn);
            boxes++;
            break;
        }
    EXPECT_GT(boxes, 0);
}

TEST_F(Readability, ThePlayingScreens)
{
    MakeRealGame(2, 30, 7);
    const int32_t archer = Put(0, 15, 15, Buyable(4));
    const int32_t warlord = Put(0, 14, 14, Warlord(0));
    Put(0, 16, 16, Buyable(2));
    Put(1, 17, 14, Buyable(0));
    Put(1, 19, 15, Warlord(1));
    ASSERT_FALSE(spells.empty());
    p[0].units[warlord].spells[0] = 0;      // any spell: its tool tip is what is read
    p[0].units[warlord].mana = 10;

    ActWith(archer);
    Park();
    Frames(40);     // the meters filled under their figures
    Check("unit turn");
    MoveTo(ScreenX(17), ScreenY(14));     // the enemy's square panel
    Frames(2);
    Check("square panel");

    ActWith(warlord);
    MoveTo(675, 540);                       // the spell's icon: its tool tip
    Frames(2);
    Check("spell tip");
    MoveTo(25, 50);                         // the Attack button: its help box
    Frames(2);
    Check("command tip");

    gs = GAME_MENUOPEN;
    returngs = GAME_UNITTURN;
    Park();
    Frames(2);
    Check("in-game menu");

    gs = GAME_OPTIONSOPEN;
    returngs = GAME_UNITTURN;
    Frames(3);
    Check("options");

    gs = GAME_UNITTURN;
    Frames(1);
    gs = GAME_ENDTURNOPEN;
    Frames(2);
    Check("end turn");
}

TEST_F(Readability, BoardTextOnEveryLand)
{
    // The texts drawn over the board, on every kind of land and over units: the feed's lines in the
    // colours the game writes them in, and the health line of a unit without abilities, which lies
    // outside its information box.
    const struct {
        uint8_t terrain, extra;
        const char* name;
    } lands[] = {
        { TERRAIN_OPEN, 0, "open" }, { TERRAIN_OPEN, 3, "open 3" }, { TERRAIN_TREES, 0, "trees" },
        { TERRAIN_ROUGH, 0, "rough" }, { TERRAIN_MINE, MINENOBODY, "mine" }, { TERRAIN_DEPOSIT, 0, "deposit" },
        { TERRAIN_CROSSING, 0, "crossing" }, { TERRAIN_RIVER, RIVER_LEFT | RIVER_RIGHT, "river" },
        { TERRAIN_SITE, 0, "site" },
    };
    for (const auto& land : lands) {
        SCOPED_TRACE(land.name);
        TearDown();
        SetUp();
        MakeGame(2, 30);
        for (std::vector<MapSquare>& column : map)
            for (MapSquare& s : column) {
                s.terrain = land.terrain;
                s.extra = land.extra;
            }
        const int32_t archer = Put(0, 15, 15, Buyable(4));
        // Units wherever the feed's lines fall.
        for (int32_t x = 0; x < mapsize; x++)
            for (int32_t y = 0; y < mapsize; y++)
                if (ScreenX(x) > 300 && ScreenY(y) > 380 && ScreenY(y) < 520)
                    Put(1, x, y, Buyable(0));
        const int32_t enemy = Put(1, 17, 14, Buyable(0));
        for (int32_t& a : p[1].units[enemy].abilities)
            a = -1;
        RebuildBoardImage();
        messages.clear();
        for (const uint32_t colour : { (uint32_t)COLOUR_WHITE, playercolours[0], playercolours[1], playercolours[2],
                                       playercolours[3], playercolours[4], playercolours[5] })
            messages.push_back(FeedMessage{ "Sir Hal's Archer attacks the Goblin Raider", colour, GetTicks() });
        ActWith(archer);
        MoveTo(ScreenX(17), ScreenY(14));
        Frames(2);
        const std::vector<DrawnText> drawn = Record();
        ASSERT_TRUE(std::any_of(drawn.begin(), drawn.end(), [](const DrawnText& t) { return t.text.find("health remaining") != std::string::npos; }));
        Judge(std::string("board on ") + land.name, drawn);
        for (const std::string& onunit : TextsOnUnits(drawn))
            ADD_FAILURE() << land.name << ": " << onunit;
    }
}

TEST_F(Readability, TheDeployment)
{
    // The caption at the top of the board, with units under it.
    MakeRealGame(2, 30, 7);
    p[0].startx = 15;
    p[0].starty = 15;
    Put(0, 15, 15, Warlord(0));
    for (const size_t k : { 2, 5 })
        p[0].bought.push_back(buyable[k]);
    gs = GAME_BEGINDEPLOY;
    Frames(3);
    ASSERT_EQ(gs, GAME_DEPLOY);
    int32_t under = 0;
    for (int32_t x = 0; x < mapsize; x++)
        for (int32_t y = 0; y < mapsize; y++)
            if (ScreenY(y) < 40 && ScreenX(x) > 250 && ScreenX(x) < 550) {
                Put(1, x, y, Buyable(0));
                under++;
            }
    ASSERT_GT(under, 0);
    MoveTo(ScreenX(13), ScreenY(16));
    Frames(2);
    const std::vector<DrawnText> drawn = Record();
    Judge("deployment", drawn);
    for (const std::string& onunit : TextsOnUnits(drawn))
        ADD_FAILURE() << "deployment: " << onunit;
}

TEST_F(Readability, TheDaySummaryAndTheVictory)
{
    MakeRealGame(3, 30, 7);
    startgold = 600;
    for (int32_t day = 0; day < 3; day++) {
        for (int32_t i = 0; i < 3; i++) {
            if (day == 0)
                Put(i, 5 + 8 * i, 5, Warlord(i));
            p[i].gold = 600 - 90 * day + 40 * i;
            p[i].kills = day * (i + 1) / 2;
        }
        gs = GAME_DAYSUMMARYOPEN;
        Frames(1);
    }
    Park();
    Frames(2);
    Check("day summary");
    // The headings keep off the graph's frame, (395, 95) to (795, 595).
    for (const DrawnText& t : Record())
        EXPECT_TRUE(t.ink.right <= 394 || t.ink.bottom <= 94) << "'" << t.text << "' reaches the graph's frame at " << t.ink.right;

    DeclareWinner(0);
    Frames(3);
    ASSERT_EQ(gs, GAME_VICTORYSCREEN);
    Check("victory");
}

TEST_F(Readability, TheCheckSeesAFaintTextAndATextOnAFrame)
{
    // The checks themselves: grey on grey is faint; a word on the background's gold frame crosses it.
    std::vector<DrawnText> drawn;
    RecordDrawnText(&drawn);
    ClearBackBuffer();
    DrawSurface(0, 0, imgback);
    GdiDC* const dc = OpenSurfaceDC(backbuffer);
    SetDCBackMode(dc, BACK_TRANSPARENT);
    SetDCTextColour(dc, MakeColour(255, 255, 255));
    DrawDCText(dc, "On the frame", { 0, -6, 800, 30 }, TEXT_CENTRE | TEXT_NOCLIP);
    const PixelRect grey = { 300, 300, 500, 340 };
    FillSurface(backbuffer, &grey, 0x606060);
    SetDCTextColour(dc, MakeColour(0x70, 0x70, 0x70));
    DrawDCText(dc, "Faint", grey, TEXT_CENTRE);
    CloseDC(dc);
    RecordDrawnText(nullptr);
    ASSERT_EQ(drawn.size(), 2u);
    const std::vector<std::string> faint = FaintTexts(drawn, Goal);
    EXPECT_EQ(std::count_if(faint.begin(), faint.end(), [](const std::string& f) { return f.find("'Faint'") != std::string::npos; }), 1);
    EXPECT_EQ(TextsOnFrames(drawn, backbuffer, imgback.GetSurface(), framecolours, 0, 0).size(), 1u);
}

} // namespace
