// The sounds of tavel.dll: every name the game plays is there, as 16-bit PCM that is heard, stays below
// full scale and starts and ends without a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "game/model/catalogue.h"
#include "game/model/strids.h"
#include "media.h"
#include "shipped.h"

namespace {

// The sounds the game plays by fixed name.
const char* const fixednames[] = {
    "GSError", "GSOK", "GSButton", "GSChat", "GSConnect", "GSEnemy", "GSExplode", "GSGold", "GSGoodSummary",
    "GSBadSummary", "GSLose", "GSVictory", "GSMap", "GSMenu", "GSNeutral", "GSNextPlayer", "GSNode",
    "GSPillar", "GSResist", "GSSword", "GSUpgrade", "GSWater", "ABPoison", "ABRocks", "ABStun", "ATBeast",
    "SPBubble", "SPFireblast", "SPHeal", "SPInvisibility", "SPManaDrain", "SPRepel", "SPVigilance",
    "AM00", "AM01", "AM02", "AM10", "AM11", "AM12", "AM20", "AM21", "AM22",
};

std::string File(const std::string& name)
{
    return ".\\Sound\\" + name + ".wav";
}

// Every name the game asks tavel.dll for: the fixed ones, each spell's, and every unit sound file.
std::set<std::string> PlayedNames()
{
    std::set<std::string> names;
    for (const char* n : fixednames)
        names.insert(File(n));
    for (const SpellInfo& s : spells)
        names.insert(File(std::string("SP") + s.name));
    for (const int32_t t : RealTypes()) {
        const int32_t number = t % 10000;
        names.insert(RawString(STR_ATTACKSOUNDFILE + StrictNumber(STR_UNITATTACKSOUND + number)));
        names.insert(RawString(STR_MOVESOUNDFILE + StrictNumber(STR_UNITMOVESOUND + number)));
        names.insert(RawString(STR_HURTSOUNDFILE + StrictNumber(STR_UNITHURTSOUND + number)));
    }
    return names;
}

} // namespace

TEST_F(Shipped, EverySoundTheGamePlaysIsThereAndHeard)
{
    const std::set<std::string> names = PlayedNames();
    EXPECT_GT(names.size(), 100u);
    for (const std::string& name : names) {
        Sound s;
        const std::string error = ReadSound(name.c_str(), s);
        ASSERT_EQ(error, "") << name;
        EXPECT_EQ(s.bits, 16) << name;
        EXPECT_TRUE(s.channels == 1 || s.channels == 2) << name;
        EXPECT_GE(s.rate, 11025) << name;
        const double seconds = (double)s.samples.size() / s.channels / std::max(s.rate, 1);
        EXPECT_GE(seconds, 0.08) << name << " is too short to hear";
        EXPECT_LE(seconds, 4.0) << name << " is too long for an effect";
        int peak = 0;
        for (const int16_t v : s.samples)
            peak = std::max(peak, std::abs((int)v));
        // Heard (above about -12 dB), yet below full scale (about -1 dB), so nothing clips.
        EXPECT_GE(peak, 8000) << name << " is too quiet";
        EXPECT_LE(peak, 29000) << name << " reaches full scale";
        // Faded in and out: no click where it starts or stops.
        ASSERT_FALSE(s.samples.empty()) << name;
        EXPECT_LE(std::abs((int)s.samples.front()), 200) << name << " starts with a click";
        EXPECT_LE(std::abs((int)s.samples.back()), 200) << name << " ends with a click";
    }
}
