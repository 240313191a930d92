// The tuning numbers, port and version of the shipped catalogue.
#include <algorithm>

#include "game/model/catalogue.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "shipped.h"

namespace {

enum { SMALLESTMAP = 30 };

// Squares a sight budget reaches around its start (10 a straight step, 14 a diagonal one, arriving
// with -5 or more left), on an open board.
int SquaresInSight(const int budget)
{
    int count = 0;
    for (int dx = -20; dx <= 20; dx++) {
        for (int dy = -20; dy <= 20; dy++) {
            const int diagonal = std::min(std::abs(dx), std::abs(dy));
            const int straight = std::max(std::abs(dx), std::abs(dy)) - diagonal;
            if (14 * diagonal + 10 * straight <= budget + 5)
                count++;
        }
    }
    return count;
}

} // namespace

TEST_F(Shipped, TuningNumbersThatRulesDivideByAreNeverZero)
{
    EXPECT_GE(StrictNumber(STR_EXPLOREDIVISOR), 1);     // newly seen squares / divisor
    EXPECT_GE(StrictNumber(STR_NEUTRALBUDGETRANGE), 1); // rand() % range
    EXPECT_GE(StrictNumber(STR_NEUTRALUNITCAP), 1);     // rand() % min(budget, cap)
    EXPECT_GE(StrictNumber(STR_MAPSEARCHTRIES), 1);     // progress = tries x 100 / limit
    // The map is cut into divisions x divisions blocks of mapsize / divisions squares.
    const int32_t divisions = StrictNumber(STR_MAPDIVISIONS);
    EXPECT_GE(divisions, 1);
    EXPECT_LE(divisions, int32_t(SMALLESTMAP));
    EXPECT_EQ(expdivisor, StrictNumber(STR_EXPLOREDIVISOR));
    EXPECT_EQ(expperdamage, StrictNumber(STR_EXPPERDAMAGE));
    EXPECT_EQ(spellexpfactor, StrictNumber(STR_SPELLCOSTFACTOR));
}

TEST_F(Shipped, OtherTuningNumbersAreSane)
{
    EXPECT_GE(StrictNumber(STR_EXPPERDAMAGE), 0);
    EXPECT_GE(StrictNumber(STR_SPELLCOSTFACTOR), 0);
    EXPECT_GE(StrictNumber(STR_MINEINCOME), 0);
    EXPECT_GE(StrictNumber(STR_NEUTRALBUDGET), 0);
    StrictNumber(50072);        // read at start-up
    const int32_t day = StrictNumber(STR_SIGHTDAY);
    const int32_t night = StrictNumber(STR_SIGHTNIGHT);
    EXPECT_GE(day, 0);
    EXPECT_GE(night, 0);
    // One look's exploration experience travels as one character (gain + 50) that the host reads
    // signed: a gain above 77 would arrive negative. The widest look is by day with the largest
    // warlord sight bonus.
    int32_t widest = 0;
    for (int32_t i = 0; i < warlordtypecount; i++)
        widest = std::max(widest, StrictNumber(warlordtypes[i] + STR_WARLORDSIGHTBONUS));
    EXPECT_LE(SquaresInSight(std::max(day, night) + widest) / StrictNumber(STR_EXPLOREDIVISOR), 77);
}

TEST_F(Shipped, PortAndVersion)
{
    const int32_t port = StrictNumber(STR_PORT);
    EXPECT_GE(port, 1);
    EXPECT_LE(port, 65535);
    // Each part is packed into one byte of the version number the peers compare, and travels as a
    // raw byte of the join request, where a zero byte cannot stand.
    for (uint32_t id = STR_VERSION; id < STR_VERSION + 4; id++) {
        const int32_t part = StrictNumber(id);
        EXPECT_GE(part, 1) << "string " << id;
        EXPECT_LE(part, 255) << "string " << id;
    }
}
