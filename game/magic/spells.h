// The spell effect handlers, bound to the spell records by name at start-up (binding.h), and the
// inner routines they share. Every handler has the SpellHandler shape: (caster player, caster unit,
// a, b, two words no handler reads) -> false, or true when a ward spell found no free slot. For a
// unit target (a, b) is the target's player and unit index, for a square target its x and y; spells
// on the caster alone ignore them.
//
// Handlers run on every machine inside spell resolution and change the state the same way on each;
// deaths, summoning and upgrade queueing happen on the host only. They trust their indexes (the
// target tests and spell resolution check them) except where a guard is noted.
#pragma once
#include <cstdint>

#define GORV_SPELL(name) bool name(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)

// Damage (spells_damage.cpp).
GORV_SPELL(SpellSparks);            // flash damage 7
GORV_SPELL(SpellUltra);             // flash damage 25
GORV_SPELL(SpellEnergyArc);         // flash damage 10
GORV_SPELL(SpellDrainLife);         // 4 damage, the caster heals 4
GORV_SPELL(SpellVitality);          // 5 damage, the caster heals 5 and takes 1 mana
GORV_SPELL(SpellDischarge);         // damage = the target's mana, which goes to 0
GORV_SPELL(SpellIce);               // 4 damage, -3 attack and moves for a turn
GORV_SPELL(SpellDeluge);            // 8 damage, no mana, mana gain or resistance for a turn
GORV_SPELL(SpellStorm);             // 12 damage as Deluge, 4 to the enemies around
GORV_SPELL(SpellFreezing);          // 4 damage, -3 attack and moves, the enemies around -1 move
GORV_SPELL(SpellEarthquake);        // 3 x 3 flash damage 5 in trees, rough ground or water, else 2
GORV_SPELL(SpellMeteor);            // fire on a cross, 3 x 3 flash damage 4
GORV_SPELL(SpellVSpirit);           // spends the remains, 3 x 3 flash damage 4
GORV_SPELL(SpellBurst);             // bare ground, 3 x 3 damage 5, every move-bound ward ends
GORV_SPELL(SpellPlague);            // 3 x 3 poison
GORV_SPELL(SpellSelfdestruct);      // 20 to every unit around, the caster dies

// Wards and dispel (spells_wards.cpp).
GORV_SPELL(SpellInvisibility);      // stealth +2 for 3 turns
GORV_SPELL(SpellVigilance);         // attack +2, moves +1 for 3 turns
GORV_SPELL(SpellDoubleStrike);      // actions +2 for 3 turns
GORV_SPELL(SpellCurse);             // attack -3, moves -2 for 3 turns
GORV_SPELL(SpellSluggishness);      // moves -4 for a turn
GORV_SPELL(SpellPowerDrain);        // -2/-2 on the target, +2/+2 on the caster
GORV_SPELL(SpellPetrify);           // no moves or actions for a turn
GORV_SPELL(SpellSolar);             // night: heal 4; day: attack -4
GORV_SPELL(SpellSubdual);           // 3 x 3 attack -2, the target's range -2
GORV_SPELL(SpellWill);              // every own unit: mana +1, attack and moves +1
GORV_SPELL(SpellExorcize);          // cures poison, ends every ward

// Healing, mana and control (spells_healing.cpp).
GORV_SPELL(SpellHeal);              // hp +6 up to life
GORV_SPELL(SpellRejuvinate);        // hp +12 up to life
GORV_SPELL(SpellFrantic);           // every own unit: moves +1
GORV_SPELL(SpellEnervate);          // moves +4
GORV_SPELL(SpellManaDrain);         // the target's mana to the caster
GORV_SPELL(SpellRecharge);          // mana +2 up to 10
GORV_SPELL(SpellLoot);              // spends the remains, +15 gold
GORV_SPELL(SpellOvermaster);        // the target changes sides
GORV_SPELL(SpellPossession);        // the caster takes the target's body

// Movement, transformation and summoning (spells_movement.cpp).
GORV_SPELL(SpellTeleport);          // the caster moves to the square
GORV_SPELL(SpellRepel);             // push one square away from the caster
GORV_SPELL(SpellPsychic);           // push every enemy within 3 squares
GORV_SPELL(SpellPhasewarp);         // the caster's 3 x 3 block moves to the square
GORV_SPELL(SpellPack);              // type - 1
GORV_SPELL(SpellUnpack);            // type + 1
GORV_SPELL(SpellTransfer);          // swap places, 3 x 3 flash damage 2
GORV_SPELL(SpellPounce);            // leap, then 5 ability damage to each enemy around
GORV_SPELL(SpellFireball);          // summon "Fireball"
GORV_SPELL(SpellSkeleton);          // summon "Skeleton"
GORV_SPELL(SpellAir);               // summon "Air Elemental"
GORV_SPELL(SpellWater);             // summon "Water Elemental"
GORV_SPELL(SpellEarth);             // summon "Earth Elemental"
GORV_SPELL(SpellFire);              // summon "Fire Elemental"

// Terrain, light and darkness (spells_terrain.cpp).
GORV_SPELL(SpellForcefield);        // forcefield +3
GORV_SPELL(SpellIllusion);          // a wall of three forcefield squares
GORV_SPELL(SpellRaze);              // flood to bare ground
GORV_SPELL(SpellMoat);              // a ring of water around the unit
GORV_SPELL(SpellRoughen);           // 3 x 3 rough ground
GORV_SPELL(SpellConflageration);    // 3 x 3 fire +3
GORV_SPELL(SpellDarkness);          // darkness flood
GORV_SPELL(SpellStarlight);         // night: light flood; else heal 6
GORV_SPELL(SpellLight);             // the whole map lit
GORV_SPELL(SpellVoid);              // claims the 3 x 3 block around the unit

#undef GORV_SPELL

// Pushes target (tp, tu) one square away from origin (op, ou), pushing first whatever stands in the
// way; every push costs the pushed unit 1 hit point, credited to caster (cp, cu). True when blocked
// (the target stays).
bool PushUnitAway(int32_t op, int32_t ou, int32_t tp, int32_t tu, int32_t cp, int32_t cu);
// Summons the unit type of that name for the caster's player on (x, y) (created on the host; the
// clients get it by message). A name the catalogue lacks creates nothing and touches no unit.
bool SummonUnit(int32_t cp, int32_t cu, int32_t x, int32_t y, const char* name);

int32_t TerrainAt(int32_t x, int32_t y);    // the square's terrain, -1 off the map
// The floods of the terrain spells: work on every square within an orthogonal-10 / diagonal-14 path
// of total cost at most strength + 5 from (x, y), clipped to the map.
void SpreadDarkness(int32_t x, int32_t y, int32_t strength, int32_t owner);
void SpreadStarlight(int32_t player, int32_t x, int32_t y, int32_t strength);
void SpreadVoid(int32_t player, int32_t x, int32_t y, int32_t strength, int32_t owner, int32_t set);
void RazeSquares(int32_t x, int32_t y, int32_t strength);
// The moat's walk around the centre (cx, cy), from (x, y), with its random turns drawn from seed:
// every machine passes the same seed and digs the same moat.
void DigMoat(int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t dx, int32_t dy, int32_t px, int32_t py,
             int32_t steps, int32_t turned, uint32_t seed);
