#include "nettest.h"

#include <map>

#include "common/module.h"
#include "game/model/announce.h"
#include "tests/game/support/heard.h"
#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/model/strings.h"
#include "game/net/link.h"
#include "game/net/receive.h"
#include "game/net/sendqueue.h"
#include "game/model/states.h"
#include "game/shell/debuglog.h"
#include "game/model/names.h"
#include "platform/random.h"

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        out.push_back((uint8_t)(v >> (8 * i)));
}

Module* MakeStringModule(const std::map<uint32_t, std::string>& strings)
{
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
    return OpenModuleFromBytes(bytes);
}

} // namespace

void NetTest::SetUp()
{
    CaptureDebugLog(&log);
    HearRules();
    SeedRandom(1);
    ResetGameState();
    ResetCatalogue();
    ClearSendQueue();
    ClearReceiveBuffers();
    SetSendFunction(nullptr);
    stringmodule = MakeStringModule({{50003, "4417"}, {63210, "1"}, {63211, "2"}, {63212, "3"}, {63213, "4"}});
    ASSERT_NE(stringmodule, nullptr);
    gs = GAME_LOBBY;
    shownames = 1;
    playername = "Tester";
    netport = 0;
}

void NetTest::TearDown()
{
    NetCleanup();
    ClearSendQueue();
    ClearReceiveBuffers();
    SetSendFunction(nullptr);
    UnloadStringModule();
    ResetGameState();
    ResetCatalogue();
    CaptureDebugLog(nullptr);
    ListenToRules(nullptr);
}

std::string Bytes(std::initializer_list<int> bytes)
{
    std::string s;
    for (const int b : bytes)
        s.push_back((char)(uint8_t)b);
    return s;
}

std::string Frame(const std::string& body)
{
    std::string frame(1, (char)(uint8_t)(body.size() + 2));
    return frame + body + ';';
}

void AddTestPlayer(const char* name, int32_t socket, bool host)
{
    const int32_t count = AddPlayer();
    ASSERT_GT(count, 0);
    SetPlayerName(p[count - 1], name);
    p[count - 1].socket = socket;
    p[count - 1].hostplayer = host;
}

void AddUnitWithId(int32_t player, int32_t id, int32_t x, int32_t y)
{
    Unit unit = BlankUnit();
    unit.id = id;
    unit.x = x;
    unit.y = y;
    unit.type = 1;
    p[player].units.push_back(unit);
}

void MakeTestMap(int32_t size)
{
    map.assign(size, std::vector<MapSquare>(size, MapSquare{}));
    mapsize = size;
}

void MakeTestCatalogue()
{
    unittypecount = 3;
    SpellInfo atunit{};
    atunit.number = 1;
    atunit.target = 1;
    SpellInfo atsquare{};
    atsquare.number = 2;
    atsquare.target = 4;
    spells = {atunit, atsquare};
    spellcount = 2;
    // Type 2 can be bought and deployed; type 3 is the one warlord type.
    buyable = {{2, 0, 0, 0}};
    warlordtypes[0] = 3;
    warlordtypecount = 1;
}
