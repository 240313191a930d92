#include "tests/game/support/world.h"

#include <vector>

#include "common/module.h"
#include "game/model/catalogue.h"
#include "game/model/ids.h"
#include "game/model/names.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/net/link.h"
#include "game/net/sendqueue.h"
#include "platform/socket.h"
#include "tests/game/support/heard.h"

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

} // namespace

std::vector<uint8_t> StringModuleBytes(const TestStrings& strings)
{
    std::vector<uint8_t> bytes;
    PutU32(bytes, MODULE_MAGIC);
    PutU32(bytes, MODULE_VERSION);
    PutU32(bytes, static_cast<uint32_t>(strings.size()));
    PutU32(bytes, 0);
    uint32_t offset = MODULE_HEADERSIZE + MODULE_STRINGENTRY * static_cast<uint32_t>(strings.size());
    for (const auto& [id, text] : strings) {
        PutU32(bytes, id);
        PutU32(bytes, offset);
        PutU32(bytes, static_cast<uint32_t>(text.size()));
        offset += static_cast<uint32_t>(text.size());
    }
    for (const auto& entry : strings)
        bytes.insert(bytes.end(), entry.second.begin(), entry.second.end());
    return bytes;
}

namespace {

Module* MakeStringModule(const TestStrings& strings)
{
    return OpenModuleFromBytes(StringModuleBytes(strings));
}

} // namespace

void AddTestType(TestStrings& s, int32_t type, const char* name, const int32_t (&stats)[NUMSTATS], int32_t threshold,
                 const char* flags)
{
    s[STR_UNITNAME + type] = name;
    for (int k = 0; k < NUMSTATS; k++)
        s[STR_UNITSTAT + type + k * 100] = std::to_string(stats[k]);
    s[STR_UNITPICTURE + type] = std::to_string(type);
    s[STR_UNITFLAGS + type] = flags;
    s[STR_UNITPOWERS + type] = ";";
    s[STR_UPGRADEEXP + type] = std::to_string(threshold);
    s[STR_UNITHURTSOUND + type] = "3";
}

TestStrings StandardTestStrings()
{
    TestStrings s;
    s[STR_UNITCOUNT] = "3";
    AddTestType(s, 1, "Soldier", { 3, 10, 3, 1, 2, 1, 0, 0 }, 100, ";");
    AddTestType(s, 2, "Warlord", { 4, 20, 2, 1, 2, 1, 0, 0 }, 50, "~;");
    AddTestType(s, 3, "Imp", { 1, 4, 4, 1, 1, 0, 0, 0 }, 30, ";");
    s[10001] = "Veteran Soldier";
    s[20001] = "Elite Soldier";
    const int32_t veteran[NUMSTATS] = { 2, 5, 1, 0, 1, 1, 0, 1 };
    for (int k = 0; k < NUMSTATS; k++) {
        s[STR_UPGRADESTAT + 1 + k * 100] = std::to_string(veteran[k]);
        s[STR_UPGRADESTAT + 10001 + k * 100] = "1";
    }
    s[STR_UNITPOWERS + 10001] = "Tough;";
    s[STR_UNITPOWERS + 20001] = ";";
    s[STR_SPELLCOUNT] = "0";
    s[STR_ABILITYCOUNT] = "3";
    const char* const names[3] = { "Flying", "Poison", "Tough" };
    const int32_t kinds[3] = { 4, 1, 7 };
    for (int n = 1; n <= 3; n++) {
        s[STR_ABILITYTITLE + n] = names[n - 1];
        s[STR_ABILITYNAME + n] = names[n - 1];
        s[STR_ABILITYKIND + n] = std::to_string(kinds[n - 1]);
        s[STR_ABILITYPICTURE + n] = std::to_string(n);
    }
    s[STR_EXPPERDAMAGE] = "4";
    s[STR_SPELLCOSTFACTOR] = "10";
    s[STR_EXPLOREDIVISOR] = "2";
    s[STR_SIGHTDAY] = "30";
    s[STR_SIGHTNIGHT] = "20";
    s[STR_HURTSOUNDFILE + 3] = "Hurt3.wav";
    return s;
}

bool LoadTestStrings(const TestStrings& strings)
{
    UnloadTestStrings();
    stringmodule = MakeStringModule(strings);
    if (!stringmodule)
        return true;
    return CacheUnits() || CacheSpells() || CacheAbilities() || LoadTuningNumbers();
}

void UnloadTestStrings()
{
    if (stringmodule)
        UnloadStringModule();
    ResetCatalogue();
}

void MakeWorld(int32_t humans, int32_t size, bool neutral)
{
    ResetGameState();
    ClearSendQueue();
    ClearHeard();
    shownames = 1;
    for (int32_t i = 0; i < humans; i++) {
        AddPlayer();
        SetPlayerName(p.back(), ("P" + std::to_string(i)).c_str());
        p.back().socket = NO_SOCKET;
    }
    if (!p.empty())
        p[0].hostplayer = 1;
    if (neutral)
        AddNeutralRecord();
    MapSquare blank{};
    blank.cost = 1;
    blank.bits = 0xF;
    blank.lightowner = -1;
    map.assign(size, std::vector<MapSquare>(size, blank));
    mapsize = size;
    BecomeHost(0);
}

void BecomeHost(int32_t local)
{
    ishost = 1;
    you = p[local].sizeattime;
    mainsocket = NO_SOCKET;
    for (size_t i = 0; i < p.size(); i++)
        p[i].socket = p[i].hostplayer || p[i].neutral ? NO_SOCKET : TESTSOCKETBASE + static_cast<int32_t>(i);
    DropLocalPlayerCache();
}

void BecomeClient(int32_t local)
{
    ishost = 0;
    you = p[local].sizeattime;
    mainsocket = TESTHOSTSOCKET;
    for (Player& player : p)
        player.socket = NO_SOCKET;
    upgradequeue.clear();
    DropLocalPlayerCache();
}

int32_t AddTestUnit(int32_t player, int32_t x, int32_t y, int32_t type)
{
    Unit u = BlankUnit();
    for (int k = 0; k < NUMSTATS; k++)
        u.stat[k] = GetResNumber(STR_UNITSTAT + type + k * 100);
    u.type = type;
    u.basetype = type;
    u.picture = GetResNumber(STR_UNITPICTURE + type);
    u.x = x;
    u.y = y;
    u.hp = u.stat[STAT_LIFE];
    u.moves = u.stat[STAT_MOVES];
    u.hits = u.stat[STAT_ACTIONS];
    u.id = NewUnitId();
    u.expreceiver = u.id;
    u.group = 0xFF;
    u.notwarlord = 1;
    p[player].units.push_back(u);
    return static_cast<int32_t>(p[player].units.size()) - 1;
}
