// The unit types of the shipped catalogue: what kind each is, the rows a warlord reserves, and the
// numbers every type needs for the rules that read them.
#include <cstring>
#include <set>
#include <string>

#include "game/model/catalogue.h"
#include "game/model/powers.h"
#include "game/model/records.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "shipped.h"

namespace {

const char flagchars[] = "~!*+'^12345678";

std::string FlagsBeforeSemicolon(const int32_t type)
{
    const std::string flags = RawString(type + STR_UNITFLAGS);
    return flags.substr(0, flags.find(';'));
}

bool IsWarlord(const int32_t type)
{
    return KindOfType(type) == KIND_WARLORD;
}

} // namespace

TEST_F(Shipped, LoadsWithoutErrorLinesAndKeepsItsCounts)
{
    EXPECT_EQ(CatalogueLoadLog().find("ERROR"), std::string::npos) << CatalogueLoadLog();
    // The catalogue keeps at most 99 of each, since the ids of entry 100 run into the next field.
    EXPECT_EQ(unittypecount, StrictNumber(STR_UNITCOUNT));
    EXPECT_EQ(spellcount, StrictNumber(STR_SPELLCOUNT));
    EXPECT_EQ(abilitycount, StrictNumber(STR_ABILITYCOUNT));
    EXPECT_GE(unittypecount, 1);
    EXPECT_FALSE(buyable.empty());
    EXPECT_GE(warlordtypecount, 1);
    // Nothing is written for types past the count: the catalogue would never read it.
    for (int32_t t = unittypecount + 1; t <= MAXCATALOGUEINDEX; t++) {
        EXPECT_FALSE(HasString(t)) << "type " << t << " lies beyond the type count";
        EXPECT_FALSE(HasString(t + STR_UNITFLAGS)) << "type " << t << " lies beyond the type count";
    }
}

TEST_F(Shipped, EveryTypeIsOfOneKnownKind)
{
    int tildes = 0;
    for (int32_t t = 1; t <= unittypecount; t++) {
        const TypeKind kind = KindOfType(t);
        EXPECT_NE(kind, KIND_UNKNOWN) << "type " << t << " (" << RawString(t) << ") is of no known kind";
        const std::string flags = FlagsBeforeSemicolon(t);
        for (const char c : flags) {
            EXPECT_NE(std::strchr(flagchars, c), nullptr) << "type " << t << ": unknown flag '" << c << "'";
        }
        if (flags.find('~') != std::string::npos)
            tildes++;
        if (kind == KIND_WARLORDROW)
            continue;
        EXPECT_NE(RawString(t + STR_UNITFLAGS).find(';'), std::string::npos) << "type " << t << ": flags lack ';'";
        // Only one list takes a type: a warlord or a recruit is never also drawn as a guard.
        const bool digits = flags.find_first_of("12345678") != std::string::npos;
        if (kind != KIND_NEUTRAL) {
            EXPECT_FALSE(digits) << "type " << t << " carries a guard's point value";
        }
        if (kind == KIND_NEUTRAL) {
            EXPECT_EQ(flags.find_first_of("*+'^"), std::string::npos) << "guard type " << t << " is summoned";
        }
    }
    EXPECT_LE(tildes, int(MAXWARLORDTYPES));
    EXPECT_EQ(tildes, warlordtypecount);
}

TEST_F(Shipped, WarlordRowsHoldOnlyTheBonusTable)
{
    for (int32_t i = 0; i < warlordtypecount; i++) {
        const int32_t w = warlordtypes[i];
        EXPECT_LE(w + 3, unittypecount) << "warlord " << w << ": its rows lie beyond the type count";
        for (int32_t j = 0; j < warlordtypecount; j++) {
            if (j != i) {
                EXPECT_FALSE(warlordtypes[j] > w && warlordtypes[j] <= w + 3) << "warlord in the rows of " << w;
            }
        }
        for (int32_t row = 1; row <= 3; row++) {
            const int32_t r = w + row;
            for (int32_t k = 0; k < NUMSTATS; k++) {
                EXPECT_TRUE(HasString(r + (k + 1) * 100)) << "warlord " << w << " row " << row << " stat " << k;
                StrictNumber(r + (k + 1) * 100);
            }
            // Everything else of the row's ids stays unused: the row is no unit type.
            for (const int32_t offset : { 0, 900, 1000, 2000, 4000, 5000, 6000, 7000, 8000, 10000, 20000 }) {
                EXPECT_FALSE(HasString(r + offset)) << "reserved id " << r + offset << " of warlord " << w << " is used";
            }
            for (int32_t k = 0; k <= NUMSTATS; k++) {
                EXPECT_FALSE(HasString(r + 10000 + (k + 1) * 100)) << "reserved id of warlord " << w;
                EXPECT_FALSE(HasString(r + 20000 + (k + 1) * 100)) << "reserved id of warlord " << w;
            }
        }
    }
}

TEST_F(Shipped, WarlordsCarryTheirParameters)
{
    for (int32_t i = 0; i < warlordtypecount; i++) {
        const int32_t w = warlordtypes[i];
        SCOPED_TRACE(RawString(w));
        // The other machines charge a player for each unit created for him, the warlord included.
        EXPECT_EQ(StrictNumber(w + STR_UNITCOST), 0);
        for (const int32_t id : { STR_WARLORDEXPBONUS, STR_WARLORDSPELLEXPBONUS, STR_WARLORDSIGHTBONUS }) {
            const int32_t value = StrictNumber(w + id);     // kept in one byte
            EXPECT_GE(value, 0);
            EXPECT_LE(value, 255);
        }
        EXPECT_GE(StrictNumber(w + STR_WARLORDGOLD), 0);
        const int32_t mana = StrictNumber(w + STR_WARLORDMANA);
        EXPECT_GE(mana, 0);
        EXPECT_LE(mana, 10);
        EXPECT_TRUE(HasString(w + 10400)) << "first paragraph of the description";
        EXPECT_TRUE(HasString(w + 10500)) << "second paragraph of the description";
        for (int32_t k = 0; k < NUMSTATS; k++) {
            EXPECT_LE(StrictNumber(w + 2 + (k + 1) * 100), StrictNumber(w + 3 + (k + 1) * 100)) << "filter of stat " << k;
        }
        int32_t spellslots[MAXSPELLS], abilityslots[MAXABILITIES];
        EXPECT_FALSE(GetUnitPowers(w + STR_WARLORDPOWERS - STR_UNITPOWERS, spellslots, abilityslots))
            << "the power list for the warlord's units lacks its ';'";
        // The selection screen explains a warlord by the ability named like it.
        std::string powername = RawString(w);
        for (char& c : powername)
            if (c == ' ')
                c = '_';
        EXPECT_NE(AbilityNamed(powername), -1) << "no ability " << powername << " explains the warlord";
    }
}

TEST_F(Shipped, RealTypesHaveWhatCreationAndUpgradesRead)
{
    std::set<int32_t> pictures;
    for (const int32_t t : RealTypes()) {
        SCOPED_TRACE("type " + std::to_string(t) + " " + RawString(t));
        const bool warlord = IsWarlord(t);
        const int levels = warlord ? 1 : 3;
        int32_t stats[NUMSTATS];
        for (int32_t k = 0; k < NUMSTATS; k++)
            stats[k] = StrictNumber(t + (k + 1) * 100);
        for (int level = 0; level < levels; level++) {
            const int32_t lt = t + level * 10000;
            EXPECT_TRUE(HasString(lt)) << "level " << level + 1 << " has no name";
            if (level > 0) {
                for (int32_t k = 0; k < NUMSTATS; k++)
                    stats[k] += StrictNumber(lt + (k + 1) * 100);
                // The upgraded flags are read as the level's own: they keep the rock rule of the base.
                EXPECT_EQ(FlagsBeforeSemicolon(lt).find('!') != std::string::npos,
                          FlagsBeforeSemicolon(t).find('!') != std::string::npos) << "level " << level + 1;
                EXPECT_EQ(FlagsBeforeSemicolon(lt).find('~'), std::string::npos);
                int32_t spellslots[MAXSPELLS], abilityslots[MAXABILITIES];
                GetUnitPowers(t, spellslots, abilityslots);
                EXPECT_FALSE(AddUnitPowers(lt, spellslots, abilityslots)) << "level " << level + 1 << " powers lack ';'";
            }
            // A unit whose life is below 1 dies at once; negative moves or actions never refill.
            EXPECT_GE(stats[STAT_LIFE], 1) << "level " << level + 1;
            for (const int32_t k : { STAT_ATTACK, STAT_MOVES, STAT_RANGE, STAT_ACTIONS, STAT_MANA, STAT_STEALTH, STAT_RESIST }) {
                EXPECT_GE(stats[k], 0) << "level " << level + 1 << " stat " << k;
            }
        }
        int32_t spellslots[MAXSPELLS], abilityslots[MAXABILITIES];
        EXPECT_FALSE(GetUnitPowers(t, spellslots, abilityslots)) << "power list lacks its ';'";
        // Every experience total is taken modulo the threshold.
        EXPECT_GE(StrictNumber(t + STR_UPGRADEEXP), 1);
        EXPECT_GE(StrictNumber(t + STR_UNITCOST), 0);
        // Levels 2 and 3 are drawn 64 and 128 cells further on, below the sheet's fixed icons (192 on).
        const int32_t picture = StrictNumber(t + STR_UNITPICTURE);
        EXPECT_GE(picture, 0);
        EXPECT_LT(picture, 64);
        EXPECT_TRUE(pictures.insert(picture).second) << "picture " << picture << " is shared";
    }
}

TEST_F(Shipped, SoundNumbersStayInsideTheirTables)
{
    // Past these the numbers would read the next table: attack names run 50011..50029, move names
    // 50032..50051, death names 50052..50071.
    const struct {
        int32_t numberid, fileid, highest;
    } tables[] = { { STR_UNITATTACKSOUND, STR_ATTACKSOUNDFILE, 18 }, { STR_UNITMOVESOUND, STR_MOVESOUNDFILE, 19 },
                   { STR_UNITHURTSOUND, STR_HURTSOUNDFILE, 19 } };
    for (const int32_t t : RealTypes()) {
        for (const auto& table : tables) {
            const int32_t n = StrictNumber(t + table.numberid);
            EXPECT_GE(n, 0) << "type " << t;
            EXPECT_LE(n, table.highest) << "type " << t;
            const std::string file = RawString(table.fileid + n);
            const bool named = file.rfind(".\\Sound\\", 0) == 0 && file.size() > 12 && file.substr(file.size() - 4) == ".wav";
            EXPECT_TRUE(named) << "type " << t << ": string " << table.fileid + n << " should name a sound, holds \"" << file << "\"";
        }
    }
}

TEST_F(Shipped, NeutralGuardsCoverEveryPointValueTheyAreDrawnAt)
{
    // A guard is drawn at rand() % min(budget, cap) + 2 points, and a mine's camp waits for a type
    // of exactly that value.
    const int32_t cap = StrictNumber(STR_NEUTRALUNITCAP);
    EXPECT_GE(cap, 1);
    EXPECT_LE(cap, 7);      // values go to 8, the highest digit a flag can carry
    std::set<int32_t> values;
    for (const NeutralPoint& point : neutralpoints)
        values.insert(point.points);
    for (int32_t points = 2; points <= cap + 1; points++) {
        EXPECT_TRUE(values.count(points)) << "no guard type of " << points << " points";
    }
    // The computer player's cost estimate runs on-move abilities on the host alone: those that change
    // the board or the mover would leave the machines apart.
    for (const NeutralPoint& point : neutralpoints) {
        for (const char* name : { "Rocks", "TreeShot", "Boulder", "Damper", "Scout" }) {
            for (int level = 0; level < 3; level++) {
                EXPECT_FALSE(TypeHasPower(point.type + level * 10000, name)) << "guard " << RawString(point.type) << " has " << name;
            }
        }
    }
}

TEST_F(Shipped, SummonedCreaturesAreFoundByTheirNames)
{
    for (const std::string& name : summonednames) {
        int found = 0;
        for (int32_t t = 1; t <= unittypecount; t++) {
            if (RawString(t) != name)
                continue;
            found++;
            EXPECT_EQ(KindOfType(t), KIND_SUMMONED) << name;
            // Purity ends every ward at the turn start, the summoned lifetime too.
            EXPECT_FALSE(TypeHasPower(t, "Haze")) << name;
        }
        EXPECT_EQ(found, 1) << name;
    }
}

TEST_F(Shipped, PackingFormsAreNeighbours)
{
    for (int32_t t = 1; t <= unittypecount; t++) {
        if (TypeHasPower(t, "Pack")) {
            EXPECT_TRUE(TypeHasPower(t - 1, "Unpack")) << "type " << t << " packs into a type that cannot set up";
        }
        if (!TypeHasPower(t, "Unpack"))
            continue;
        SCOPED_TRACE(RawString(t));
        ASSERT_LT(t, unittypecount);
        EXPECT_TRUE(TypeHasPower(t + 1, "Pack"));
        EXPECT_EQ(KindOfType(t + 1), KIND_SETUPFORM);
        // One unit, two forms: the same experience scale and value.
        EXPECT_EQ(StrictNumber(t + STR_UPGRADEEXP), StrictNumber(t + 1 + STR_UPGRADEEXP));
        EXPECT_EQ(StrictNumber(t + STR_UNITCOST), StrictNumber(t + 1 + STR_UNITCOST));
        // Setting up takes the packed form's 999999 stones away, which needs the packed form to have them.
        EXPECT_EQ(FlagsBeforeSemicolon(t).find('!'), std::string::npos);
    }
}

TEST_F(Shipped, TypesWithoutStonesCanGatherThem)
{
    // A unit that starts without stones can only attack with stones its Rocks ability gathers.
    for (const int32_t t : RealTypes()) {
        if (FlagsBeforeSemicolon(t).find('!') != std::string::npos) {
            EXPECT_TRUE(TypeHasPower(t, "Rocks")) << RawString(t);
        }
    }
}
