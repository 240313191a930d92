// The lobby and set-up kinds: leaving players, chat, screen changes, readiness, the map rows, the
// warlords, the show-names setting, shopping, the winner and the money.
#include "game/net/handlers.h"

#include <algorithm>

#include "game/model/announce.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/mines.h"
#include "game/model/names.h"
#include "game/model/queries.h"
#include "game/model/setup.h"
#include "game/model/state.h"
#include "game/model/states.h"
#include "game/model/turns.h"
#include "game/model/units.h"
#include "game/model/winner.h"
#include "game/net/builders.h"
#include "game/net/checks.h"
#include "game/net/codings.h"
#include "game/net/droplog.h"
#include "game/net/lobby.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"
#include "game/shell/shell.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace {

// What one player's chat may cost everybody: a line every CHATLINEMS, CHATBURSTMS of lines at once.
enum : uint32_t { CHATLINEMS = 100, CHATBURSTMS = 2000 };

// Host: whether the player's line may be relayed now; it is counted when it may.
bool ChatAllowed(Player& player)
{
    const uint32_t now = GetTicks();
    if (static_cast<int32_t>(player.chatdue - now) < 0)
        player.chatdue = now;
    if (player.chatdue - now > CHATBURSTMS)
        return false;
    player.chatdue += CHATLINEMS;
    return true;
}

// Host: the player may choose his warlord now: the neutral side guards every mine (the set-up is at the
// warlords) and he has not chosen one (a fallen player has; every player has once the first turn began).
bool WarlordChoiceOpen(int32_t player)
{
    const bool neutral = !p.empty() && p.back().neutral;
    return neutral && minelist.empty() && p[player].warlordtype == 0 && p[player].units.empty();
}

// The square byte's terrain, (byte / 16) - 1, must name one of the terrains the game has.
bool KnownTerrain(int32_t terrain)
{
    return terrain >= 0 && terrain <= 8 && terrain != 4;
}

// Host: a set-up answer (STOP, DONESHOPPING) counts only once the game has begun: in the lobby there is
// no map, and nothing to answer.
bool RefusedInLobby(const char* kind, int32_t sender)
{
    if (!ishost || !map.empty())
        return false;
    debuglog << "ERROR: " << kind << " message from player " << sender << " in the lobby; ignored.\n";
    return true;
}

} // namespace

void HandleDropPlayer(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t player = r.Num();
    if (!CheckFields(r.bad, "DROPPLAYER") || !CheckPlayer(player, "ERROR: Not a player."))
        return;
    if (player == YouToInt() || p[player].neutral) {
        debuglog << "ERROR: Refused to drop the local or the neutral record (" << player << ").\n";
        return;
    }
    debuglog << "ACTION: Drop Player\nDropping player " << PlayerName(player) << '\n';
    // In the lobby the news is a line of its chat; in a game it is the notice.
    if (LobbyOpen())
        AnnounceFeed(YouToInt(), std::string(p[player].name) + " has left the game.");
    else
        AnnounceError(std::string(p[player].name) + " has left the game.",
                      "A player has left the game.  Provided that he was not the host, gameplay may continue normally.",
                      gs);
    // The host passed his turn on before it sent this; here his units go and every index after his moves down.
    currplayer = DropPlayerUnits(player);
    ErasePlayerRecord(player);
}

void HandleChat(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t from = r.Num();
    const int32_t to = r.Num();
    const std::string line = r.Text(in.text.size());
    if (!CheckFields(r.bad, "CHAT"))
        return;
    debuglog << "ACTION: Chat string \"" << line << "\"\n";
    if (!CheckPlayer(from, "ERROR: Invalid player to receive from!"))
        return;
    // A player speaks only for himself, and no faster than everybody can bear.
    if (ishost && from != in.sender) {
        debuglog << "ERROR: Chat line from player " << in.sender << " claims to be from " << from << ".\n";
        return;
    }
    if (ishost && !ChatAllowed(p[in.sender])) {
        LogDrop(in.socket, "chat too fast",
                "ERROR: Chat from player " + std::to_string(in.sender) + " comes too fast; the line is dropped.\n");
        return;
    }
    const int32_t me = YouToInt();
    if (IsValidPlayer(to) && me != to && me != from) {
        debuglog << "Not priveledged to see this.\n";
    } else {
        AnnounceFeed(me, CleanChat(line), playercolours[from]);
        AnnounceSound(".\\Sound\\GSChat.wav");
    }
    RerouteMessage(in.text);
}

void HandleSetGs(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t state = r.Raw();
    if (!CheckFields(r.bad, "SETGS"))
        return;
    // Only the screens the host itself sends a client to: any other value would leave the client on a
    // state that draws nothing and waits for nothing, with no way out but to end the program.
    static const int32_t sent[] = {GAME_SENDMAP, GAME_CREATENEUTRALS, GAME_PREWARLORD, GAME_WATCH,
                                   GAME_YOURTURN, GAME_PREPAREDEPLOY, GAME_DAYSUMMARYOPEN};
    if (std::find(std::begin(sent), std::end(sent), state) == std::end(sent)) {
        debuglog << "ERROR: SETGS names no screen the host sends a player to (" << state << ").\n";
        return;
    }
    debuglog << "ACTION: SetGS\n";
    gs = state;
    debuglog << "GS is now " << gs << '\n';
    // The host made its blank map, and with it every camp, just before it said this. The camps come
    // from the player table: made now, from the same table, they are the host's even if a player
    // leaves before the first row arrives.
    if (state == GAME_SENDMAP && map.empty() && !CreateBlankMap(MapSizeFor((int32_t)p.size())))
        mapattempts = 0;
}

void HandleStop(const Incoming& in)
{
    if (RefusedInLobby("STOP", in.sender))
        return;
    debuglog << "ACTION: Stop\n";
    p[in.sender].ready = 1;
}

void HandleMapData(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t size = r.Raw();
    const int32_t row = r.Raw() - 1;
    if (!CheckFields(r.bad, "MAPDATA"))
        return;
    const size_t squares = r.Left();
    if (size < MINMAPSIZE || size > MAXMAPSIZE || (mapsize != 0 && size != mapsize) || row < 0 || row >= size
        || squares > (size_t)size) {
        debuglog << "ERROR: Map row " << row << " of a map of " << size << " with " << squares
                 << " squares does not fit; ignored.\n";
        return;
    }
    for (size_t x = 0; x < squares; x++) {
        const int32_t terrain = (uint8_t)in.text[3 + x] / 16 - 1;
        if (!KnownTerrain(terrain)) {
            debuglog << "ERROR: Map row " << row << " has an unknown terrain at " << x << "; ignored.\n";
            return;
        }
    }
    debuglog << "ACTION: Process map data\n";
    if (map.empty()) {
        CreateBlankMap(size);
        AnnounceSound(".\\Sound\\GSMap.wav");
    }
    if (map.empty()) {
        debuglog << "==============FATAL ERROR: MAP DOES NOT EXIST.  TERMINATING PROGRAM.================\n";
        appactive = 0;
        DestroyMainWindow();
        return;
    }
    for (size_t x = 0; x < squares; x++) {
        const uint8_t byte = (uint8_t)in.text[3 + x];
        MapSquare& square = map[x][row];
        square.terrain = (uint8_t)(byte / 16 - 1);
        square.extra = byte % 16;
        square.cost = square.terrain == TERRAIN_ROUGH ? COST_ROUGH
            : square.terrain == TERRAIN_RIVER         ? COST_RIVER
                                                      : COST_OPEN;
    }
    mapattempts = row + 1;
    SendToPlayer(BuildStop(), -1);
}

void HandleWorldType(const Incoming&)
{
    debuglog << "ACTION: World type [NO LONGER SUPPORTED].\n";
}

void HandleWarlordSelected(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t player = r.Num();
    const int32_t warlord = r.NumUnsigned();
    const int32_t id = r.Id();
    if (!CheckFields(r.bad, "WARLORDSELECTED") || !CheckPlayer(player, "ERROR: Not a valid player."))
        return;
    if (ishost && player != in.sender) {
        debuglog << "ERROR: Player " << in.sender << " chose a warlord for player " << player << ".\n";
        return;
    }
    if (ishost && !WarlordChoiceOpen(player)) {
        debuglog << "ERROR: Player " << player << " chose a warlord outside his warlord selection.\n";
        return;
    }
    if (!CheckUnitType(warlord, "ERROR: Not a valid warlord."))
        return;
    debuglog << "ACTION: Warlord Selected\nWarlord: " << warlord << "\nID#:" << id << '\n';
    if (!ishost && FindUnit(id).player >= 0) {
        debuglog << "ERROR: A unit with id " << id << " exists already.\n";
        return;
    }
    if (PlaceWarlord(warlord, player, id))
        return;
    // Everybody, the chooser included, learns the id the host gave the warlord.
    if (ishost)
        SendToPlayer(BuildWarlordSelected(player, warlord, p[player].units[0].id), -1);
}

void HandleGameSetting(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t value = r.Num();
    if (!CheckFields(r.bad, "GAMESETTING"))
        return;
    debuglog << "ACTION: Change game setting\n";
    shownames = value != 0;
}

void HandleDoneShopping(const Incoming& in)
{
    if (RefusedInLobby("DONESHOPPING", in.sender))
        return;
    debuglog << "ACTION: Done shopping now.\nBefore: shoppers=" << shoppers << '\n';
    shoppers++;
    debuglog << "After: shoppers=" << shoppers << '\n';
    // Each player counts once a day, whoever else leaves meanwhile (the day's first turn waits for
    // every player who is still in the game).
    if (ishost)
        p[in.sender].shopped = 1;
}

void HandleWinner(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t player = r.Num();
    if (!CheckFields(r.bad, "WINNER") || !CheckPlayer(player, "ERROR: Not a player."))
        return;
    if (ishost && player != in.sender) {
        debuglog << "ERROR: Player " << in.sender << " claimed the win for player " << player << ".\n";
        return;
    }
    debuglog << "Someone won the game!\n";
    if (!ishost) {
        DeclareWinner(player);
        return;
    }
    // A claim is made at the start of the claimant's own turn, with an army: none before the first turn,
    // between days, or from a player out of the game.
    if (player != turnholder || p[player].units.empty()) {
        debuglog << "ERROR: Player " << player << " claimed the win while the turn is player " << turnholder
                 << "'s, with " << p[player].units.size() << " units.\n";
        return;
    }
    // The claim holds only when nobody else but the neutral side is left.
    bool othersleft = false;
    for (size_t i = 0; i < p.size(); i++)
        othersleft = othersleft || ((int32_t)i != player && !p[i].neutral && !p[i].units.empty());
    if (othersleft) {
        debuglog << "No they didn't!\n";
        SendToPlayer(BuildSetGs(GAME_YOURTURN), player);
        return;
    }
    DeclareWinner(player);
    gs = GAME_VICTORY;
    RerouteMessage(in.text);
}

void HandleSetMoney(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t fifths = r.Raw();
    if (!CheckFields(r.bad, "SETMONEY"))
        return;
    debuglog << "ACTION: Set money to " << fifths * 5 << '\n';
    SetStartMoney(fifths);
}

void HandleForceSetMoney(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t player = r.Num();
    const int32_t gold = r.Dec();
    if (!CheckFields(r.bad, "FORCESETMONEY"))
        return;
    debuglog << "ACTION: Forceset money.\n";
    if (!CheckPlayer(player, "ERROR: Not a player!"))
        return;
    debuglog << "Setting " << PlayerPossessive(player) << " money to " << gold << '\n';
    p[player].gold = gold;
}
