#include "game/net/joinfailure.h"

#include <algorithm>
#include <cstdint>

#include "game/model/announce.h"
#include "game/model/states.h"
#include "game/net/frame.h"
#include "game/net/kinds.h"
#include "game/net/link.h"
#include "game/shell/debuglog.h"
#include "platform/socket.h"

namespace {

std::string JoinFailureCause(const std::string& address, int error)
{
    switch (error) {
    case NETERR_REFUSED:
        return "Nobody is hosting a game at " + address + ".";
    case NETERR_UNREACHABLE:
    case NETERR_NETDOWN:
    case NETERR_BADADDRESS:
        return address + " cannot be reached: check the address and the network.";
    case NETERR_TIMEDOUT:
        return "No answer from " + address + ".";
    case NETERR_PROTOCOL:
        return address + " answered, but it is not a Gorvanel game.";
    default:
        return SocketSystemText(error) + ".";
    }
}

} // namespace

void FailJoin(int error)
{
    const std::string cause = JoinFailureCause(hostaddress, error);
    debuglog << "ERROR: The join to " << hostaddress << " failed: " << cause << '\n';
    // The failed join must not keep the network started, or every later join would fail.
    NetCleanup();
    AnnounceError("Couldn't Connect", "Gorvanel couldn't connect to the destination computer.\n" + cause, GAME_JOIN);
}

bool CouldBeJoinAnswer(const std::string& bytes)
{
    if (bytes.empty())
        return true;
    const size_t length = (uint8_t)bytes[0];
    if (length < MINFRAME)
        return false;
    if (bytes.size() < 2)
        return true;
    const char kind = bytes[1];
    if (kind != MSG_CREATEPLAYER && kind != MSG_VERSION)
        return false;
    // The frame's text is all but its length byte and its ';'.
    const KindRule* const rule = FindKindRule(kind);
    if (length < rule->minlength + 2u || length > rule->maxlength + 2u)
        return false;
    if (bytes.find('\0') < std::min(length, bytes.size()))
        return false;
    return bytes.size() < length || bytes[length - 1] == ';';
}
