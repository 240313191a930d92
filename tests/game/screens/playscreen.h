// What the play-screen tests share: the screen fixture (the game directory's fonts, pictures and
// catalogue on the headless back end, scripted input, a virtual clock) with a game in progress on a
// small open map, every square explored, the view on its middle.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tests/game/screens/screentest.h"
#include "tests/game/support/machines.h"

class PlayScreenTest : public ScreenTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // humans players and the neutral side on a size x size map of open ground, seen everywhere; this
    // machine hosts and plays player 0, whose turn it is.
    void MakeGame(int32_t humans, int32_t size);
    // The same on a map of the game's own making (terrain, rivers, mines) from seed.
    void MakeRealGame(int32_t humans, int32_t size, uint32_t seed);
    // A unit of the catalogue's type for player on (x, y): full moves, actions and life.
    int32_t Put(int32_t player, int32_t x, int32_t y, int32_t type);
    // The local player's unit u takes its turn (GAME_UNITTURN), in move mode.
    void ActWith(int32_t unit);
    // The board command switches to mode, which prepares itself on its next frame (as the unit
    // panel's buttons do).
    static void Mode(int32_t mode);
    // The screen point of the middle of square (x, y).
    int32_t ScreenX(int32_t x) const;
    int32_t ScreenY(int32_t y) const;
    // The last frame shows terrain sheet cell at the board cell under the cursor: every opaque pixel of
    // the cell's top-left quarter (which the cursor, drawn from the middle, leaves alone) is there.
    bool MarkerShows(int32_t cell) const;
    // What was queued to send since the last call, as bodies (kind, payload, ';').
    static std::vector<std::string> Sent();

    static int32_t Buyable(size_t k);   // the type of the k-th buyable entry
    static int32_t Warlord(size_t k);   // the k-th warlord type
};

// The bytes of a body, for comparing messages.
std::string Bytes(std::initializer_list<int> bytes);
