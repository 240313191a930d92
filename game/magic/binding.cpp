#include "game/magic/binding.h"

#include <cstring>

#include "game/magic/abilities.h"
#include "game/magic/spells.h"
#include "game/magic/targets.h"
#include "game/shell/debuglog.h"

const SpellBinding spellbindings[] = {
    { "Sparks", SpellSparks },          { "Teleport", SpellTeleport },       { "Repel", SpellRepel },
    { "Invisibility", SpellInvisibility }, { "Loot", SpellLoot },            { "Heal", SpellHeal },
    { "Exorcize", SpellExorcize },      { "Rejuvinate", SpellRejuvinate },   { "Vigilance", SpellVigilance },
    { "DoubleStrike", SpellDoubleStrike }, { "DrainLife", SpellDrainLife },  { "Curse", SpellCurse },
    { "Petrify", SpellPetrify },        { "EnergyArc", SpellEnergyArc },     { "Frantic", SpellFrantic },
    { "ManaDrain", SpellManaDrain },    { "Enervate", SpellEnervate },       { "Sluggishness", SpellSluggishness },
    { "Ice", SpellIce },                { "Forcefield", SpellForcefield },   { "Deluge", SpellDeluge },
    { "PowerDrain", SpellPowerDrain },  { "Pack", SpellPack },               { "Unpack", SpellUnpack },
    { "Earth", SpellEarth },            { "Fire", SpellFire },               { "Air", SpellAir },
    { "Water", SpellWater },            { "Selfdestruct", SpellSelfdestruct }, { "Possession", SpellPossession },
    { "Skeleton", SpellSkeleton },      { "Ultra", SpellUltra },             { "Overmaster", SpellOvermaster },
    { "Starlight", SpellStarlight },    { "Solar", SpellSolar },             { "Phasewarp", SpellPhasewarp },
    { "Void", SpellVoid },              { "Discharge", SpellDischarge },     { "Plague", SpellPlague },
    { "Recharge", SpellRecharge },      { "Fireball", SpellFireball },       { "Darkness", SpellDarkness },
    { "Raze", SpellRaze },              { "Moat", SpellMoat },               { "Illusion", SpellIllusion },
    { "Psychic", SpellPsychic },        { "Roughen", SpellRoughen },         { "Conflageration", SpellConflageration },
    { "Light", SpellLight },            { "Subdual", SpellSubdual },         { "Transfer", SpellTransfer },
    { "Vitality", SpellVitality },      { "Freezing", SpellFreezing },       { "Storm", SpellStorm },
    { "Pounce", SpellPounce },          { "VSpirit", SpellVSpirit },         { "Burst", SpellBurst },
    { "Meteor", SpellMeteor },          { "Earthquake", SpellEarthquake },   { "Will", SpellWill },
};
const int32_t spellbindingcount = static_cast<int32_t>(sizeof spellbindings / sizeof spellbindings[0]);

const AbilityBinding abilitybindings[] = {
    { "Power", AbilityPower },          { "Stun", AbilityStun },             { "Archer", AbilityArcher },
    { "Flying", AbilityFlying },        { "Daylight", AbilityDaylight },     { "Poison", AbilityPoison },
    { "Shockwave", AbilityShockwave },  { "Lifebond", AbilityLifebond },     { "Rocks", AbilityRocks },
    { "TreeShot", AbilityTreeShot },    { "Scout", AbilityScout },           { "Flaming", AbilityFlaming },
    { "Tactician", AbilityTactician },  { "Savior", AbilitySavior },         { "Damper", AbilityDamper },
    { "Haze", AbilityHaze },            { "Warrior_Prince", AbilityWarriorPrince }, { "Explosive", AbilityExplosive },
    { "Unstable", AbilityExplosive },   { "Pulse", AbilityPulse },           { "Pierce", AbilityPierce },
    { "Twigwalk", AbilityTwigwalk },    { "Immobile", AbilityImmobile },     { "Energylink", AbilityEnergylink },
    { "Stone", AbilityStone },          { "Heavy", AbilityHeavy },           { "Frozen", AbilityFrozen },
    { "Wizard", AbilityWizard },        { "Knight", AbilityKnight },         { "Cragwalk", AbilityCragwalk },
    { "Boulder", AbilityBoulder },
};
const int32_t abilitybindingcount = static_cast<int32_t>(sizeof abilitybindings / sizeof abilitybindings[0]);

bool DefaultSpell(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    return true;
}

int32_t DefaultAbility(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    return 0;
}

bool BindSpell(const char* name, SpellHandler handler)
{
    for (SpellInfo& spell : spells) {
        if (std::strcmp(spell.name, name) != 0)
            continue;
        spell.test = TargetTestForKind(spell.target);
        spell.effect = handler;
        debuglog << "Created spell \"" << name << ".\"\n";
        return false;
    }
    debuglog << "Couldn't find spell named " << name << ".\n";
    return true;
}

bool BindAbility(const char* name, AbilityHandler handler)
{
    for (AbilityInfo& ability : abilities) {
        if (std::strcmp(ability.name, name) != 0)
            continue;
        ability.handler = handler;
        debuglog << "Created ability \"" << name << ".\"\n";
        return false;
    }
    debuglog << "Couldn't find ability named " << name << ".\n";
    return true;
}

bool CreateSpells()
{
    debuglog << "Creating Spells\n";
    // The catalogue leaves the references empty; an unbound record behaves as the defaults.
    for (SpellInfo& spell : spells) {
        spell.test = DefaultSpellTarget;
        spell.effect = DefaultSpell;
    }
    for (AbilityInfo& ability : abilities)
        ability.handler = DefaultAbility;
    for (int32_t i = 0; i < spellbindingcount; i++)
        BindSpell(spellbindings[i].name, spellbindings[i].handler);
    for (int32_t i = 0; i < abilitybindingcount; i++)
        BindAbility(abilitybindings[i].name, abilitybindings[i].handler);
    return false;
}
