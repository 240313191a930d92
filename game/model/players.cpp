#include "game/model/players.h"

#include <cstdint>

#include "game/model/announce.h"
#include "game/model/state.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"

bool AddComputerPlayer()
{
    for (const Player& player : p)
        if (player.neutral) {
            debuglog << "ERROR: The neutral side is in the game already.\n";
            return false;
        }
    AnnounceSound(".\\Sound\\GSNeutral.wav");
    debuglog << "Adding AI Player\n";
    AddNeutralRecord();
    if (ishost)
        SendToPlayer(BuildCreateComputerPlayer(static_cast<int32_t>(p.size()) - 1, 0), -1);
    return false;
}
