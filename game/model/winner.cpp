#include "game/model/winner.h"

#include "game/model/announce.h"
#include "game/model/localplayer.h"
#include "game/model/names.h"
#include "game/model/states.h"

std::string winnername;

void DeclareWinner(const int32_t winner)
{
    AnnounceSound(winner == YouToInt() ? ".\\Sound\\GSVictory.wav" : ".\\Sound\\GSLose.wav");
    winnername = PlayerName(winner);
    gs = GAME_VICTORY;
}
