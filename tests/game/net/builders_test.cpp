// Every kind's builder against hand-written bytes, and each built message within the length bounds
// its receiver checks.
#include <gtest/gtest.h>

#include <set>

#include "game/net/builders.h"
#include "game/net/kinds.h"
#include "nettest.h"

namespace {

struct Golden {
    const char* what;
    std::string built;
    std::string expected;
};

const int32_t version[4] = {1, 2, 3, 4};
const int32_t masks[4] = {10, 0, 31, 1};

std::vector<Golden> Goldens()
{
    // Ids: 258 = 01 02, 513 = 02 01, 0x3B3B = ';' ';' (a ';' inside the payload).
    return {
        {"CONNECT", BuildConnect(version, "Ann"), Bytes({'{', 1, 2, 3, 4, 'A', 'n', 'n', ';'})},
        {"CONNECT long name", BuildConnect(version, "Abcdefghijklm"),
         Bytes({'{', 1, 2, 3, 4, 'A', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', ';'})},
        {"VERSION", BuildVersion(version), Bytes({'$', 1, 2, 3, 4, ';'})},
        {"CREATEPLAYER", BuildCreatePlayer(2, 0, "Bo"), Bytes({'*', 52, 50, 'B', 'o', ';'})},
        {"CREATEPLAYER computer", BuildCreateComputerPlayer(2, 3), Bytes({'*', 52, 53, 0xFF, ';'})},
        {"DROPPLAYER", BuildDropPlayer(1), Bytes({'}', 51, ';'})},
        {"CHAT", BuildChat(1, 100, "hi"), Bytes({'a', 51, 150, 'h', 'i', ';'})},
        {"SETGS", BuildSetGs(49), Bytes({'q', 49, ';'})},
        {"STOP", BuildStop(), Bytes({'z', ';'})},
        {"MAPDATA", BuildMapData(3, 0, {0x10, 0x21, 0x95}), Bytes({'@', 3, 1, 0x10, 0x21, 0x95, ';'})},
        {"WORLDTYPE", BuildWorldType(3), Bytes({'-', 53, ';'})},
        {"WARLORDSELECTED", BuildWarlordSelected(1, 7, 513), Bytes({'w', 51, 57, 2, 1, ';'})},
        {"CREATEUNIT", BuildCreateUnit(0, 120, 258, 0, 9), Bytes({'/', 50, 170, 1, 2, 1, 10, ';'})},
        {"DEPLOYUNIT", BuildDeployUnit(1, 2, 0x3B3B, 4, 5), Bytes({'_', 51, 52, ';', ';', 5, 6, ';'})},
        {"BEGINNEXTTURN", BuildBeginNextTurn(2), Bytes({'^', 52, ';'})},
        {"NEXTTURN", BuildNextTurn(0), Bytes({'n', 50, ';'})},
        {"ADVANCEDAY", BuildAdvanceDay(), Bytes({'b', ';'})},
        {"MOVEREQUEST", BuildMoveRequest(258, -1, 9), Bytes({'f', 1, 2, 49, 59, ';'})},
        {"MOVE", BuildMove(258, 3, 4), Bytes({'#', 1, 2, 53, 54, ';'})},
        {"MOVE with experience", BuildMoveWithExperience(258, 3, 4, 999), Bytes({'#', 1, 2, 53, 54, 255, ';'})},
        {"NEXTUNIT", BuildNextUnit(513), Bytes({'.', 2, 1, ';'})},
        {"UPGRADEUNIT", BuildUpgradeUnit(258), Bytes({'!', 1, 2, ';'})},
        {"ATTACKREQUEST", BuildAttackRequest(258, 513), Bytes({'?', 1, 2, 2, 1, ';'})},
        {"ATTACK", BuildAttack(258, 513, masks), Bytes({'k', 1, 2, 2, 1, 60, 50, 81, 51, ';'})},
        {"SPELLREQUEST at unit", BuildSpellRequestAtUnit(258, 513, 0), Bytes({'i', 1, 2, 2, 1, 50, ';'})},
        {"SPELLREQUEST at square", BuildSpellRequestAtSquare(258, 7, 8, 1), Bytes({'i', 1, 2, 57, 58, 51, ';'})},
        {"CASTSPELL at unit", BuildCastSpellAtUnit(258, 513, 0, 1), Bytes({'[', 1, 2, 2, 1, 50, 51, ';'})},
        {"CASTSPELL at square", BuildCastSpellAtSquare(258, 7, 8, 1, 4), Bytes({'[', 1, 2, 57, 58, 51, 54, ';'})},
        {"RESIST", BuildResist(513, 258, 1), Bytes({'x', 2, 1, 1, 2, 51, ';'})},
        {"GAMESETTING shown", BuildGameSetting(true), Bytes({'1', 55, ';'})},
        {"GAMESETTING masked", BuildGameSetting(false), Bytes({'1', 50, ';'})},
        {"KILLUNIT", BuildKillUnit(513, 1), Bytes({'`', 2, 1, 51, ';'})},
        {"ADDEXPERIENCE", BuildAddExperience(258, 127), Bytes({'%', 1, 2, 177, ';'})},
        {"DONESHOPPING", BuildDoneShopping(), Bytes({'&', ';'})},
        {"WINNER", BuildWinner(1), Bytes({'(', 51, ';'})},
        {"SETMONEY", BuildSetMoney(150), Bytes({')', 150, ';'})},
        {"FORCESETMONEY", BuildForceSetMoney(2, -750), Bytes({'e', 52, '-', '7', '5', '0', ';'})},
    };
}

} // namespace

TEST(Builders, GoldenBytes)
{
    for (const Golden& g : Goldens())
        EXPECT_EQ(g.built, g.expected) << g.what;
}

TEST(Builders, EveryKindHasABuilderWithinItsReceiverBounds)
{
    std::set<char> kinds;
    for (const Golden& g : Goldens()) {
        ASSERT_FALSE(g.built.empty()) << g.what;
        const KindRule* const rule = FindKindRule(g.built[0]);
        ASSERT_NE(rule, nullptr) << g.what;
        const size_t length = g.built.size() - 1;  // the receiver sees the text without ';'
        EXPECT_GE(length, rule->minlength) << g.what;
        EXPECT_LE(length, rule->maxlength) << g.what;
        kinds.insert(g.built[0]);
    }
    EXPECT_EQ(kinds.size(), kindrulecount);
    EXPECT_EQ(kindrulecount, 31u);
}

TEST(Builders, FieldsThatCannotTravelSpoilTheBody)
{
    const int32_t zeropart[4] = {0, 1, 0, 0};
    const int32_t badmasks[4] = {0, 32, 0, 0};
    EXPECT_EQ(BuildConnect(zeropart, "Ann"), "");           // a zero byte would end the message
    EXPECT_EQ(BuildVersion(zeropart), "");
    EXPECT_EQ(BuildMove(256, 1, 1), "");                    // id with a zero low byte
    EXPECT_EQ(BuildAttack(258, 513, badmasks), "");
    EXPECT_EQ(BuildAddExperience(258, 128), "");            // would read back negative
    EXPECT_EQ(BuildAddExperience(258, -1), "");
    EXPECT_EQ(BuildSetMoney(0), "");
    EXPECT_EQ(BuildSetMoney(256), "");
    EXPECT_EQ(BuildMapData(3, 0, {0x10, 0x00, 0x10}), "");  // a square byte 0
    EXPECT_EQ(BuildMapData(3, 0, {0x10, 0x10}), "");        // fewer squares than the size
    EXPECT_EQ(BuildCreateUnit(0, 1, 258, -1, 0), "");       // x + 1 = 0
    EXPECT_EQ(BuildCreatePlayer(0, 0, std::string("a\0b", 3)), "");
}

TEST(Builders, LongChatLinesAreCutToOneFrame)
{
    const std::string body = BuildChat(0, 100, std::string(400, 'x'));
    EXPECT_EQ(body.size(), 254u);           // the longest body a frame holds
    EXPECT_EQ(body.back(), ';');
}
