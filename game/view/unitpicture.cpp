#include "game/view/unitpicture.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/shell/debuglog.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/shell/surface.h"
#include "game/view/cells.h"
#include "game/view/drawing.h"
#include "platform/surface.h"

namespace {

std::unordered_map<int32_t, Surface> pictures;     // by unit id

enum : int32_t { POISONCELLS = 6, HEALTHBARX = 2, HEALTHBARY = 36, HEALTHBARHEIGHT = 3 };

bool IsUnitIndex(const int32_t player, const int32_t unit)
{
    return player >= 0 && static_cast<size_t>(player) < p.size() && unit >= 0 &&
           static_cast<size_t>(unit) < p[player].units.size();
}

// The icon's sheet: grey on a voided square or for a unit that cannot act, dimmed on a dark square.
const Surface& IconSheet(const int32_t player, const int32_t unit, const MapSquare& square)
{
    if ((square.bits & CLAIMMASK) != NOCLAIM || GetStat(player, unit, STAT_ACTIONS) == 0)
        return imgunitsgrey;
    return square.dark >= 1 ? imgunitstint : imgunits;
}

// hp x 36 / life, kept inside the bar: a unit above its life or below 0 shows a full or an empty bar.
int32_t HealthBarWidth(const int32_t hp, int32_t life)
{
    if (life < 2)
        life = 1;
    const int64_t width = static_cast<int64_t>(hp) * HEALTHBARWIDTH / life;
    return static_cast<int32_t>(std::clamp<int64_t>(width, 0, HEALTHBARWIDTH));
}

void DrawHealthBar(Surface& picture, const int32_t width)
{
    if (width <= 0 || !imgunithealth.IsCreated() || !picture.GetSurface())
        return;
    CopySurface(picture.GetSurface(), HEALTHBARX, HEALTHBARY, imgunithealth.GetSurface(), { 0, 0, width, HEALTHBARHEIGHT },
                true);
}

void DrawColourAndFrame(const uint8_t code, Surface& picture)
{
    if (code >= FIRSTCODE && code <= NEUTRALCODE)
        DrawTileTo(0, 0, UNITS_PLAYERCOLOUR + (code - FIRSTCODE), imgunits, picture);
    else
        LogBadInput("ERROR: Player code " + std::to_string(code) + " has no colour.");
    DrawTileTo(0, 0, UNITS_FRAMEUNDER, imgunits, picture);
}

void DrawStatusMarks(const Unit& u, Surface& picture)
{
    DrawTileTo(0, 0, UNITS_FRAMEOVER, imgunits, picture);
    if (u.hits < 2)
        DrawTileTo(0, 0, UNITS_NOATTACK, imgunits, picture);
    if (u.moves < 1)
        DrawTileTo(0, 0, UNITS_NOMOVES, imgunits, picture);
    if (u.poison > 0)
        DrawTileTo(0, 0, UNITS_POISON + std::min<int32_t>(u.poison, POISONCELLS), imgunits, picture);
}

} // namespace

bool RenderUnitPicture(const int32_t player, const int32_t unit)
{
    if (!candraw || !IsUnitIndex(player, unit))
        return true;
    const Unit& u = p[player].units[unit];
    Surface& picture = pictures[u.id];
    if (!picture.IsCreated() && !picture.CreateBlank(UNITPICTURESIZE, UNITPICTURESIZE, 0)) {
        pictures.erase(u.id);
        return true;
    }
    if (!InBounds(u.x, u.y))
        return true;
    const MapSquare& square = map[u.x][u.y];
    ClearPicture(picture);
    if (GetStat(player, unit, STAT_STEALTH) + square.dark > 1 && player == YouToInt())
        DrawTileTo(0, 0, square.dark >= 1 ? UNITS_HIDDENDARK : UNITS_HIDDEN, imgunits, picture);
    DrawTileTo(0, 0, u.picture, IconSheet(player, unit, square), picture);
    DrawColourAndFrame(p[player].code, picture);
    DrawHealthBar(picture, HealthBarWidth(u.hp, GetStat(player, unit, STAT_LIFE)));
    DrawStatusMarks(u, picture);
    return false;
}

bool RedrawUnitPictures()
{
    debuglog << "Redrawing unit pictures.\n";
    std::vector<int32_t> live;
    for (const Player& player : p)
        for (const Unit& u : player.units)
            live.push_back(u.id);
    std::sort(live.begin(), live.end());
    std::erase_if(pictures, [&](const auto& entry) { return !std::binary_search(live.begin(), live.end(), entry.first); });
    for (size_t i = 0; i < p.size(); i++)
        for (size_t u = 0; u < p[i].units.size(); u++)
            RenderUnitPicture(static_cast<int32_t>(i), static_cast<int32_t>(u));
    return false;
}

bool FreeUnitPictures()
{
    pictures.clear();
    return false;
}

void FreeUnitPicture(const int32_t id)
{
    pictures.erase(id);
}

const Surface* UnitPicture(const int32_t id)
{
    const auto found = pictures.find(id);
    return found == pictures.end() || !found->second.IsCreated() ? nullptr : &found->second;
}

int32_t UnitPictureCount()
{
    return static_cast<int32_t>(pictures.size());
}
