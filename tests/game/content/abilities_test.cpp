// The shipped abilities through the game's own binding: every record is bound to a handler, and the
// kind that decides when it runs is one its handler is written for and one that keeps every machine of
// a game in step.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/magic/abilities.h"
#include "game/magic/binding.h"
#include "game/model/abilityslots.h"
#include "game/model/catalogue.h"
#include "game/model/records.h"
#include "game/model/strids.h"
#include "shipped.h"

namespace {

// The kinds each handler may run in.
//   Power doubles the damage only where the highest answer is the damage; Stun and Heavy act by
//   chance, so only in the after-blow phases, which no rule runs outside an attack, and never as
//   defence (their answer 0 would also wipe out every blow). The other combat handlers are written
//   for the side and phase that give their words meaning.
//   Unit and player handlers change state every machine holds: at the turn start (7) and at a unit's
//   creation (9) every machine runs them by itself, while the turn end (8), the day end (10) and the
//   deployment (6) are the host's or the deploying player's business. Gold alone is sent again after
//   the day's end.
const std::map<AbilityHandler, std::set<int32_t>>& AllowedKinds()
{
    static const std::map<AbilityHandler, std::set<int32_t>> allowed = {
        { AbilityPower, { ABILITY_OFFENSIVE } },
        { AbilityStun, { ABILITY_AFTERATTACK, ABILITY_AFTERDEFENCE } },
        { AbilityHeavy, { ABILITY_AFTERATTACK, ABILITY_AFTERDEFENCE } },
        { AbilityArcher, { ABILITY_DEFENSIVE } },
        { AbilityStone, { ABILITY_DEFENSIVE } },
        { AbilityPoison, { ABILITY_AFTERATTACK, ABILITY_AFTERDEFENCE } },
        { AbilityFlaming, { ABILITY_AFTERATTACK, ABILITY_AFTERDEFENCE } },
        { AbilityFrozen, { ABILITY_AFTERATTACK, ABILITY_AFTERDEFENCE } },
        { AbilityEnergylink, { ABILITY_AFTERATTACK, ABILITY_AFTERDEFENCE } },
        { AbilityPierce, { ABILITY_AFTERATTACK } },
        { AbilityShockwave, { ABILITY_AFTERATTACK } },
        { AbilityPulse, { ABILITY_AFTERATTACK } },
        { AbilityLifebond, { ABILITY_AFTERATTACK } },
        { AbilityFlying, { ABILITY_MOVE } },
        { AbilityImmobile, { ABILITY_MOVE } },
        { AbilityTwigwalk, { ABILITY_MOVE } },
        { AbilityCragwalk, { ABILITY_MOVE } },
        { AbilityRocks, { ABILITY_MOVE } },
        { AbilityTreeShot, { ABILITY_MOVE } },
        { AbilityBoulder, { ABILITY_MOVE } },
        { AbilityDamper, { ABILITY_MOVE } },
        { AbilityScout, { ABILITY_MOVE } },
        { AbilityDaylight, { ABILITY_TURNSTART, ABILITY_CREATED } },
        { AbilitySavior, { ABILITY_TURNSTART, ABILITY_CREATED } },
        { AbilityKnight, { ABILITY_TURNSTART, ABILITY_CREATED } },
        { AbilityWizard, { ABILITY_TURNSTART, ABILITY_CREATED } },
        { AbilityHaze, { ABILITY_TURNSTART, ABILITY_CREATED } },
        { AbilityExplosive, { ABILITY_TURNSTART, ABILITY_CREATED } },
        { AbilityTactician, { ABILITY_TURNSTART, ABILITY_CREATED } },
        { AbilityWarriorPrince, { ABILITY_TURNSTART, ABILITY_DAYEND } },
    };
    return allowed;
}

// A kind no rule runs: the ability is only shown.
bool NeverRun(int32_t kind)
{
    const std::set<int32_t> run = { ABILITY_OFFENSIVE, ABILITY_AFTERATTACK, ABILITY_DEFENSIVE, ABILITY_AFTERDEFENCE,
                                    ABILITY_MOVE, ABILITY_DEPLOY, ABILITY_TURNSTART, ABILITY_TURNEND,
                                    ABILITY_CREATED, ABILITY_DAYEND };
    return run.count(kind) == 0;
}

} // namespace

TEST_F(Shipped, EveryAbilityBindsAndRunsWhereEveryMachineRunsIt)
{
    CreateSpells();
    // Every handler of the binding table has its kinds listed.
    for (int32_t i = 0; i < abilitybindingcount; i++)
        EXPECT_TRUE(AllowedKinds().count(abilitybindings[i].handler)) << abilitybindings[i].name;
    for (const AbilityInfo& ability : abilities) {
        SCOPED_TRACE(ability.name);
        const bool panel = std::find(panelabilitynames.begin(), panelabilitynames.end(), ability.name)
                        != panelabilitynames.end();
        if (panel) {
            EXPECT_EQ(ability.handler, DefaultAbility);
            EXPECT_TRUE(NeverRun(ability.kind)) << "kind " << ability.kind;
            continue;
        }
        const auto found = AllowedKinds().find(ability.handler);
        ASSERT_NE(found, AllowedKinds().end()) << "not bound to a handler";
        EXPECT_TRUE(found->second.count(ability.kind)) << "kind " << ability.kind;
    }
}

// An ability no unit, upgrade or warlord carries is content nobody can meet.
TEST_F(Shipped, EveryAbilityIsCarriedBySomeone)
{
    std::set<std::string> carried;
    bool ended = false;
    for (const int32_t type : RealTypes())
        for (const int32_t level : { int32_t(0), int32_t(TYPESPERLEVEL), int32_t(2 * TYPESPERLEVEL) })
            for (const std::string& name : PowerNames(RawString(static_cast<uint32_t>(type + level + STR_UNITPOWERS)), &ended))
                carried.insert(name);
    for (int32_t i = 0; i < warlordtypecount && i < MAXWARLORDTYPES; i++)
        for (const std::string& name : PowerNames(RawString(static_cast<uint32_t>(warlordtypes[i] + STR_WARLORDPOWERS)), &ended))
            carried.insert(name);
    for (const AbilityInfo& ability : abilities)
        EXPECT_TRUE(carried.count(ability.name)) << ability.name << " is carried by nobody";
}
