#include "shipped.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "common/module.h"
#include "game/magic/binding.h"
#include "game/model/catalogue.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/shell/debuglog.h"

namespace {

template <typename Binding>
std::vector<std::string> BindingNames(const Binding* table, int32_t count)
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < count; i++)
        names.push_back(table[i].name);
    return names;
}

} // namespace

// The names the game's own binding table binds, in binding order.
const std::vector<std::string> boundspellnames = BindingNames(spellbindings, spellbindingcount);
const std::vector<std::string> boundabilitynames = BindingNames(abilitybindings, abilitybindingcount);
const std::vector<std::string> panelabilitynames = { "Mana", "Summoned" };
const std::vector<std::string> summonednames = {
    "Fireball", "Skeleton", "Air Elemental", "Water Elemental", "Earth Elemental", "Fire Elemental",
};

namespace {

bool loaded = false;
bool loadfailed = false;
std::string loadlog;

} // namespace

bool LoadShippedCatalogue()
{
    if (loaded)
        return !loadfailed;
    loaded = true;
    // The game opens its module by name in its working directory, the game directory.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(GORV_DIST_DIR);
    CaptureDebugLog(&loadlog);
    loadfailed = LoadGameText();
    CaptureDebugLog(nullptr);
    std::filesystem::current_path(previous);
    return !loadfailed;
}

const std::string& CatalogueLoadLog()
{
    return loadlog;
}

std::string RawString(const uint32_t id)
{
    static char buffer[65536];
    const int length = ModuleString(stringmodule, id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

bool HasString(const uint32_t id)
{
    return !RawString(id).empty();
}

int32_t StrictNumber(const uint32_t id)
{
    const std::string text = RawString(id);
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    const bool whole = !text.empty() && end && *end == '\0' && text[0] != '+' && text[0] != ' ';
    EXPECT_TRUE(whole) << "string " << id << " should be a number, holds \"" << text << "\"";
    EXPECT_TRUE(value >= INT32_MIN && value <= INT32_MAX) << "string " << id << " out of 32 bits";
    return whole ? static_cast<int32_t>(value) : 0;
}

std::vector<std::string> PowerNames(const std::string& list, bool* const ended)
{
    std::vector<std::string> names;
    std::string name;
    *ended = false;
    for (const char c : list) {
        if (c == ',' || c == ';') {
            if (!name.empty())
                names.push_back(name);
            name.clear();
            if (c == ';') {
                *ended = true;
                return names;
            }
        } else {
            name += c;
        }
    }
    if (!name.empty())
        names.push_back(name);
    return names;
}

bool IsSummonFlag(const char c)
{
    return c == '*' || c == '+' || c == '\'' || c == '^';
}

bool TypeHasPower(const int32_t type, const char* const name)
{
    bool ended;
    for (const std::string& power : PowerNames(RawString(type + STR_UNITPOWERS), &ended))
        if (power == name)
            return true;
    return false;
}

TypeKind KindOfType(const int32_t type)
{
    for (const UnitListEntry& entry : buyable)
        if (entry.type == type)
            return KIND_BUYABLE;
    for (int32_t i = 0; i < warlordtypecount; i++) {
        if (warlordtypes[i] == type)
            return KIND_WARLORD;
        if (type > warlordtypes[i] && type <= warlordtypes[i] + 3)
            return KIND_WARLORDROW;
    }
    for (const NeutralPoint& point : neutralpoints)
        if (point.type == type)
            return KIND_NEUTRAL;
    for (const char c : { '*', '+', '\'', '^' })
        if (UnitHasFlag(type, c))
            return KIND_SUMMONED;
    // A type that packs up for travel and sets up to fight: the two forms are neighbouring types.
    if (type > 1 && TypeHasPower(type, "Pack") && TypeHasPower(type - 1, "Unpack"))
        return KIND_SETUPFORM;
    return KIND_UNKNOWN;
}

bool IsRealType(const int32_t type)
{
    const TypeKind kind = KindOfType(type);
    return kind != KIND_WARLORDROW && kind != KIND_UNKNOWN;
}

std::vector<int32_t> RealTypes()
{
    std::vector<int32_t> types;
    for (int32_t t = 1; t <= unittypecount; t++)
        if (IsRealType(t))
            types.push_back(t);
    return types;
}

int32_t SpellNamed(const std::string& name)
{
    for (size_t i = 0; i < spells.size(); i++)
        if (name == spells[i].name)
            return static_cast<int32_t>(i);
    return -1;
}

int32_t AbilityNamed(const std::string& name)
{
    for (size_t i = 0; i < abilities.size(); i++)
        if (name == abilities[i].name)
            return static_cast<int32_t>(i);
    return -1;
}
