#include "game/ai/aistate.h"

#include "game/model/states.h"


std::vector<int32_t> blockedtargets;
int32_t compplayer = -1, compunit = -1;
int32_t compunitid = -1;
std::vector<int32_t> compearlier;
uint8_t compactive = 0;
int32_t comptarget = -1;
int32_t compaction = ACTION_ATTACK;
uint8_t compwaiting = 0;
uint32_t compsteptime = 0;
int32_t pureactionrange = 0;
int32_t compsteps = 0;
uint32_t refusedactions = 0;

void BeginComputerUnit()
{
    compactive = 0;
    compplayer = compunit = compunitid = -1;
    compearlier.clear();
    comptarget = -1;
    blockedtargets.clear();
    compsteps = 0;
    refusedactions = 0;
}

void ResetComputerPlayer()
{
    BeginComputerUnit();
    compaction = ACTION_ATTACK;
    compwaiting = 0;
    compsteptime = 0;
    pureactionrange = 0;
}

void BlockTarget(int32_t id)
{
    blockedtargets.push_back(id);
    comptarget = -1;
}

void EndComputerUnit()
{
    gs = GAME_COMPTURN;
    comptarget = -1;
    compactive = 0;
}
