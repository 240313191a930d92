#include "game/net/checks.h"

#include "game/model/catalogue.h"
#include "game/model/records.h"
#include "game/model/state.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"

bool CheckPlayer(int32_t index, const char* error)
{
    if (IsValidPlayer(index))
        return true;
    debuglog << error << " (" << index << ")\n";
    return false;
}

bool CheckUnit(int32_t id, UnitRef* found, const char* error)
{
    const UnitRef unit = FindUnit(id);
    if (IsValidPlayer(unit.player) && unit.unit >= 0 && (size_t)unit.unit < p[unit.player].units.size()) {
        *found = unit;
        return true;
    }
    debuglog << error << " (id " << id << ")\n";
    return false;
}

bool CheckSquare(int32_t x, int32_t y, const char* error)
{
    if (InBounds(x, y))
        return true;
    debuglog << error << " (" << x << ", " << y << ")\n";
    return false;
}

bool CheckSpell(int32_t spell, const char* error)
{
    if (spell >= 0 && spell < spellcount && (size_t)spell < spells.size())
        return true;
    debuglog << error << " (spell " << spell << ")\n";
    return false;
}

bool CheckUnitType(int32_t type, const char* error)
{
    if (type >= 1 && type <= unittypecount)
        return true;
    debuglog << error << " (type " << type << ")\n";
    return false;
}

bool CheckFields(bool bad, const char* kind)
{
    if (!bad)
        return true;
    debuglog << "ERROR: " << kind << " message with a field out of range; ignored.\n";
    return false;
}

std::string CleanName(const std::string& name)
{
    std::string clean = name.substr(0, PLAYERNAMESIZE - 1);
    for (char& c : clean)
        if ((unsigned char)c < 0x20 || (unsigned char)c > 0x7E)
            c = '?';
    return clean;
}

void NotBuiltYet(const char* what)
{
    debuglog << "Not built yet: " << what << "; the message changes nothing.\n";
}

std::string CleanChat(const std::string& line)
{
    std::string clean = line;
    for (char& c : clean)
        if ((unsigned char)c < 0x20 || (unsigned char)c == 0x7F)
            c = '?';
    return clean;
}
