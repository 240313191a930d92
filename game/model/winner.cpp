#include "game/model/winner.h"

#include "game/model/localplayer.h"
#include "game/screens/states.h"
#include "game/shell/sound.h"
#include "game/view/names.h"

std::string winnername;

void DeclareWinner(const int32_t winner)
{
    PlaySfx(winner == YouToInt() ? ".\\Sound\\GSVictory.wav" : ".\\Sound\\GSLose.wav");
    winnername = PlayerName(winner);
    gs = GAME_VICTORY;
}
