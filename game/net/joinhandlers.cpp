// Joining: the join request on the host, the version refusal and the player records on a client.
#include "game/net/handlers.h"

#include "game/model/announce.h"
#include "game/model/localplayer.h"
#include "game/model/names.h"
#include "game/model/players.h"
#include "game/model/state.h"
#include "game/model/states.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/net/builders.h"
#include "game/net/checks.h"
#include "game/net/codings.h"
#include "game/net/link.h"
#include "game/net/lobby.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"

namespace {

void OwnVersion(int32_t parts[4])
{
    for (int i = 0; i < 4; i++)
        parts[i] = GetResNumber(STR_VERSION + i);
}

// "1.2.3.4." : each part followed by a point.
std::string VersionText(const int32_t parts[4])
{
    std::string text;
    for (int i = 0; i < 4; i++)
        text += std::to_string(parts[i]) + '.';
    return text;
}

// A join the host will not take: the connection goes, and the client hears the server leave.
void TurnAway(int32_t socket, const char* why)
{
    debuglog << "ERROR: " << why << "; closing the connection on socket " << socket << ".\n";
    CloseConnection(socket);
}

} // namespace

void HandleConnect(const Incoming& in)
{
    debuglog << "ACTION: Connect and send proper data to a new player.\n";
    MsgReader r(in.text);
    int32_t theirs[4];
    for (int32_t& part : theirs)
        part = r.Raw();
    const std::string name = CleanName(r.Text(NAMECHARS));
    if (!CheckFields(r.bad, "CONNECT"))
        return;
    if (!LobbyOpen()) {
        TurnAway(in.socket, "A player tried to join outside the lobby");
        return;
    }

    int32_t ours[4];
    OwnVersion(ours);
    if (PackVersion(theirs) != PackVersion(ours)) {
        debuglog << "ERROR: The version numbers do not match! (ver = " << PackVersion(theirs)
                 << ", internal version is " << PackVersion(ours) << ")\n";
        // The answer goes out before the connection closes: the newcomer cannot play here.
        SendToSocket(BuildVersion(ours), in.socket, true);
        std::erase(pendingsockets, in.socket);
        return;
    }
    // The neutral record comes last and only once the game is set up; no human joins after it.
    for (const Player& player : p)
        if (player.neutral) {
            TurnAway(in.socket, "A player tried to join a game already set up");
            return;
        }
    const int32_t count = AddPlayer();
    if (count <= 0) {
        TurnAway(in.socket, "The game is full");
        return;
    }
    const int32_t newcomer = count - 1;
    p[newcomer].socket = in.socket;
    SetPlayerName(p[newcomer], name.c_str());
    std::erase(pendingsockets, in.socket);
    AnnounceFeed(YouToInt(), name + " has joined the game.", FEEDWHITE);

    for (int32_t i = 0; i < newcomer; i++)
        SendToPlayer(p[i].neutral ? BuildCreateComputerPlayer(newcomer, i) : BuildCreatePlayer(newcomer, i, p[i].name),
                     newcomer);
    SendToPlayer(BuildCreatePlayer(newcomer, newcomer, p[newcomer].name), -1);
    SendToPlayer(BuildGameSetting(shownames != 0), -1);
}

void HandleVersion(const Incoming& in)
{
    MsgReader r(in.text);
    int32_t theirs[4];
    for (int32_t& part : theirs)
        part = r.Raw();
    if (!CheckFields(r.bad, "VERSION"))
        return;
    int32_t ours[4];
    OwnVersion(ours);
    debuglog << "ACTION: Version mismatch with the host.\n";
    versionrefused = 1;
    AnnounceError("Version Mismatch",
                  "The server computer has a different version than yours.\nYour version number is " + VersionText(ours)
                        + "\nThe server's version number is " + VersionText(theirs)
                        + "\nThe most recent version of Gorvanel is on the update screen of the main menu.",
                  GAME_LEAVEGAME);
}

void HandleCreatePlayer(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t newest = r.Num();
    const int32_t created = r.Num();
    const std::string field = r.Text(in.text.size());
    if (!CheckFields(r.bad, "CREATEPLAYER"))
        return;
    debuglog << "ACTION: Create Player.\n";
    bool neutralexists = false;
    for (const Player& player : p)
        neutralexists = neutralexists || player.neutral;
    if (neutralexists) {
        debuglog << "ERROR: No record may follow the neutral side.\n";
        return;
    }
    // The computer player: the name field is the one byte 0xFF, whatever the indexes say; the host
    // holds its neutral record last, right after the humans this table has.
    if (field.size() == 1 && (uint8_t)field[0] == COMPUTERNAME) {
        if (newest != (int32_t)p.size()) {
            debuglog << "ERROR: The neutral side named as record " << newest << " after " << p.size() << " records.\n";
            return;
        }
        AddComputerPlayer();
        SendToPlayer(BuildStop(), 0);
        return;
    }
    // The host sends the records in its own order, so each one must be the next this table lacks.
    if (created != (int32_t)p.size() || newest < created || newest >= MAXHUMANS) {
        debuglog << "ERROR: Player record " << created << " (newest " << newest << ") does not follow the " << p.size()
                 << " records here.\n";
        return;
    }
    const std::string name = CleanName(field);
    const int32_t count = AddPlayer();
    if (count <= 0)
        return;
    SetPlayerName(p[count - 1], name.c_str());
    // The host's own record is the first: he hosted before anybody joined.
    p[count - 1].hostplayer = created == 0;
    if (you != NOSTAMP) {
        AnnounceFeed(YouToInt(), name + " has joined the game.", FEEDWHITE);
    } else if (newest == created) {
        you = p[count - 1].sizeattime;
        DropLocalPlayerCache();
    }
}
