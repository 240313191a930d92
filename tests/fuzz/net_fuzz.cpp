// libFuzzer target: arbitrary bytes from a peer through the whole receive path (frames joined and cut,
// checked, dispatched to every kind's handler), on the host and on a client, then the outgoing queue.
//
// Input: byte 0 picks the machine and the sender, byte 1 the size of the pieces the rest arrives in.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/module.h"
#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/model/strings.h"
#include "game/net/link.h"
#include "game/net/receive.h"
#include "game/net/sendqueue.h"
#include "game/screens/states.h"
#include "game/shell/errorscreen.h"
#include "game/shell/sound.h"
#include "game/view/feed.h"
#include "platform/socket.h"

namespace {

// Descriptor numbers far above any the process opens: closing them does nothing.
enum { ANN = 1000011, BO = 1000012, NEWCOMER = 1000013, HOSTLINK = 1000021 };

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        out.push_back((uint8_t)(v >> (8 * i)));
}

void LoadStrings()
{
    const std::map<uint32_t, std::string> strings = {
        {50003, "4417"}, {63210, "1"}, {63211, "2"}, {63212, "3"}, {63213, "4"}};
    std::vector<uint8_t> bytes;
    PutU32(bytes, MODULE_MAGIC);
    PutU32(bytes, MODULE_VERSION);
    PutU32(bytes, (uint32_t)strings.size());
    PutU32(bytes, 0);
    uint32_t offset = MODULE_HEADERSIZE + MODULE_STRINGENTRY * (uint32_t)strings.size();
    for (const auto& [id, text] : strings) {
        PutU32(bytes, id);
        PutU32(bytes, offset);
        PutU32(bytes, (uint32_t)text.size());
        offset += (uint32_t)text.size();
    }
    for (const auto& entry : strings)
        bytes.insert(bytes.end(), entry.second.begin(), entry.second.end());
    stringmodule = OpenModuleFromBytes(bytes);
}

void AddRecord(const char* name, int32_t socket, bool host)
{
    const int32_t count = AddPlayer();
    SetPlayerName(p[count - 1], name);
    p[count - 1].socket = socket;
    p[count - 1].hostplayer = host;
}

void AddUnit(int32_t player, int32_t id, int32_t x, int32_t y)
{
    Unit unit = BlankUnit();
    unit.id = id;
    unit.x = x;
    unit.y = y;
    unit.type = 1;
    p[player].units.push_back(unit);
}

// A game in progress: the host, Ann and Bo with a unit each on a 12 x 12 map, Ann's turn.
void SetUpGame(bool host, bool lobby)
{
    ResetGameState();
    ResetCatalogue();
    ClearSendQueue();
    ClearReceiveBuffers();
    pendingsockets.clear();
    mainsocket = NO_SOCKET;
    messages.clear();
    soundsplayed.clear();

    map.assign(12, std::vector<MapSquare>(12, MapSquare{}));
    mapsize = 12;
    unittypecount = 3;
    SpellInfo atunit{};
    atunit.target = 1;
    SpellInfo atsquare{};
    atsquare.target = 4;
    spells = {atunit, atsquare};
    spellcount = 2;

    AddRecord("Host", NO_SOCKET, true);
    AddRecord("Ann", host ? ANN : NO_SOCKET, false);
    AddRecord("Bo", host ? BO : NO_SOCKET, false);
    AddUnit(1, 258, 1, 1);
    AddUnit(2, 513, 2, 2);
    currplayer = 1;
    ishost = host;
    if (host) {
        you = p[0].sizeattime;
        pendingsockets = {NEWCOMER};
    } else {
        you = p[1].sizeattime;
        mainsocket = HOSTLINK;
    }
    DropLocalPlayerCache();
    gs = lobby ? GAME_LOBBY : GAME_UNITTURN;
}

int SendAll(int, const void*, int size, int*)
{
    return size;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        LoadStrings();
        SetSendFunction(SendAll);
        return true;
    }();
    (void)ready;
    if (size < 2)
        return 0;

    const uint8_t mode = data[0];
    const bool host = mode & 1;
    SetUpGame(host, mode & 2);
    static const int32_t hostsenders[] = {ANN, BO, NEWCOMER, 1000099};
    const int32_t socket = host ? hostsenders[(mode >> 2) & 3] : HOSTLINK;

    const size_t piece = data[1] % 32 + 1;
    for (size_t at = 2; at < size; at += piece)
        ReceiveBytes(socket, data + at, std::min(piece, size - at));

    for (int i = 0; i < 64 && !SendQueueEmpty(); i++)
        SendQueuedMessage();
    return 0;
}
